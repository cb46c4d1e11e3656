// WaitMilliseconds measures elapsed ticks, so it ends on time wherever the counter stands.
#include <gtest/gtest.h>

#include "event/timer.h"
#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "power/delay.h"
#include "support/program_folder.h"

namespace lorvan::power {
namespace {

struct Machine {
  testing::TempDir dir;
  sim::SimWorld world{dir.path()};
  event::EventLoop loop{world.clock, world.script};
};

TEST(WaitMilliseconds, EndsJustAfterTheTimeWhereverTheCounterStandsAndHandlesEventsOnlyWhenAllowed) {
  // Before the signed and the unsigned wrap, right at them, and far from both.
  for (uint32_t base : {0u, 1000000u, 0x7FFFFF00u, 0x7FFFFFFFu, 0xFFFFFF00u, 0xFFFFFFFFu}) {
    for (bool events : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "base " << base << (events ? " with events" : " without events"));
      Machine m;
      m.world.clock.SetTickBase(base);
      m.world.clock.Advance(7);
      event::Timer t("tmrTest", m.loop);
      int ticks = 0;
      t.on_timer = [&] { ++ticks; };
      t.SetInterval(100);
      t.SetEnabled(true);
      WaitMilliseconds(m.world.platform, m.loop, 500, events);
      // Without events the wait ends at the first millisecond past the time and no tick runs;
      // with events, at the first yield past it (the simulated idle steps up to 10 ms), and
      // every tick that fell due while waiting ran.
      const int64_t ended = m.world.clock.MonotonicMs() - 7;
      if (events) {
        EXPECT_TRUE(ended > 500 && ended <= 510) << "ended " << ended;
        EXPECT_EQ(ticks, ended / 100);
      } else {
        EXPECT_EQ(ended, 501);
        EXPECT_EQ(ticks, 0);
      }
    }
  }
}

}  // namespace
}  // namespace lorvan::power
