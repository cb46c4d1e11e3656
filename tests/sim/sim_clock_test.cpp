// The simulated clock: date and time across midnight and years, and the 32-bit tick counter.
#include "hosts/sim/sim_clock.h"

#include <gtest/gtest.h>

namespace lorvan::sim {
namespace {

TEST(SimClock, DateAndTimeFollowVirtualTimeAcrossMidnightAndYears) {
  SimClock c;
  EXPECT_EQ(c.Now().hour, 12);
  c.Advance(5000);
  platform::LocalDateTime t{2026, 12, 31, 23, 59, 50, 0};
  c.SetDateTime(t);
  c.Advance(10500);
  const auto n = c.Now();
  EXPECT_EQ(n.year, 2027);
  EXPECT_EQ(n.month, 1);
  EXPECT_EQ(n.day, 1);
  EXPECT_EQ(n.hour, 0);
  EXPECT_EQ(n.second, 0);
  EXPECT_EQ(n.millisecond, 500);
}

TEST(SimClock, TickCounterWrapsAt32Bits) {
  SimClock c;
  c.SetTickBase(0xFFFFFF00u);
  c.Advance(0x200);
  EXPECT_EQ(c.GetTickCount(), 0x100u);
  EXPECT_EQ(c.QueryPerformanceCounter() / (c.QueryPerformanceFrequency() / 1000), 0x200);
}

}  // namespace
}  // namespace lorvan::sim
