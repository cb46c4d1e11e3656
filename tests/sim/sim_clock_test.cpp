// The simulated clock's 32-bit tick counter (its dates across midnight and a new year are
// walked by the standby detector's table).
#include "hosts/sim/sim_clock.h"

#include <gtest/gtest.h>

namespace lorvan::sim {
namespace {

TEST(SimClock, TickCounterWrapsAt32Bits) {
  SimClock c;
  c.SetTickBase(0xFFFFFF00u);
  c.Advance(0x200);
  EXPECT_EQ(c.GetTickCount(), 0x100u);
  EXPECT_EQ(c.QueryPerformanceCounter() / (c.QueryPerformanceFrequency() / 1000), 0x200);
}

}  // namespace
}  // namespace lorvan::sim
