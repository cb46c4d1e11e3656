// The standby run: its tests in order (automatic resume, time of day past start + T in single
// precision, a new date), the standby requested once, and the wake-up reported once.
#include <gtest/gtest.h>

#include <optional>

#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "power/shutdown_modes.h"
#include "power/standby_detector.h"
#include "support/program_folder.h"

namespace lorvan::power {
namespace {

platform::LocalDateTime At(int y, int mo, int d, int h, int mi, int s) {
  platform::LocalDateTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
  return t;
}

struct StandbyRun {
  int standby_requests = 0;
  int wake_ups = 0;
  std::optional<int32_t> source;
  int64_t woke_at_ms = -1;  // virtual time of the wake-up, counted from the start of the run
};

class Detector : public ::testing::Test {
 protected:
  testing::TempDir dir;
  sim::SimWorld world{dir.path()};
  event::EventLoop loop{world.clock, world.script};
  clsSetShutdownAndDetectWakeUp detector{world.platform, loop};

  // The machine stays suspended for standby_ms of virtual time when standby is accepted.
  StandbyRun Start(int16_t T, int64_t standby_ms = 0) {
    StandbyRun r;
    const int64_t start = world.clock.MonotonicMs();
    world.power.while_suspended = [this, standby_ms] { world.clock.Advance(standby_ms); };
    detector.SetStandbyMode = [&] {
      ++r.standby_requests;
      ExecuteShutdownMode(world.power, kModeStandby, 0);
    };
    detector.WakeUpDetected = [&](int32_t s) {
      ++r.wake_ups;
      r.source = s;
      r.woke_at_ms = world.clock.MonotonicMs() - start;
    };
    detector.StartStandbyAndWakeUpDetection(T);
    return r;
  }
};

TEST_F(Detector, AnAutomaticResumeAlreadyReportedSkipsTheStandby) {
  world.power.resume_automatic = true;
  world.power.SetSuspendState(false, false, false);  // an earlier automatic resume, no input since
  const StandbyRun r = Start(60);
  EXPECT_EQ(r.standby_requests, 0);
  EXPECT_EQ(r.source, kWakeUpAutomatic);
  EXPECT_EQ(r.woke_at_ms, 0);
}

TEST_F(Detector, EachKindOfResumeEndsTheRunOnce) {
  const platform::LocalDateTime morning = At(2026, 3, 1, 10, 0, 0);
  struct Case {
    const char* name;
    bool automatic, accepted;
    int16_t T;
    int64_t standby_ms;
    int32_t source;
    int64_t woke_at_ms;
    platform::LocalDateTime start;
  } cases[] = {
      // The time of day is past start + T only at +2 ms (see the single precision test).
      {"user resume before T: standby kept until T has passed", false, true, 60, 10000, kWakeUpByTime, 60002, morning},
      {"user resume after T: reported on the first pass after it", false, true, 60, 120000, kWakeUpByTime, 120001,
       morning},
      {"T of 0", false, true, 0, 0, kWakeUpByTime, 2, morning},
      {"refused standby: no resume at all, ends by time", true, false, 5, 99999, kWakeUpByTime, 5002, morning},
      {"user resume the next day", false, true, 60, 40000, kWakeUpByTime, 40001, At(2026, 12, 31, 23, 59, 50)},
      // start + T lies beyond midnight: only the date test can end the run, at midnight.
      {"a new date", false, true, 60, 1000, kWakeUpByTime, 10000, At(2026, 2, 28, 23, 59, 50)},
      // Last: an automatic resume stays reported until the next input (see below).
      {"automatic resume: reported on the first pass after it", true, true, 60, 30000, kWakeUpAutomatic, 30001,
       morning},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world.clock.SetDateTime(c.start);
    world.power.resume_automatic = c.automatic;
    world.power.standby_accepted = c.accepted;
    const StandbyRun r = Start(c.T, c.standby_ms);
    EXPECT_EQ(r.standby_requests, 1);
    EXPECT_EQ(r.wake_ups, 1);
    EXPECT_EQ(r.source, c.source);
    EXPECT_EQ(r.woke_at_ms, c.woke_at_ms);
  }
}

TEST_F(Detector, TheTimeTestIsInSinglePrecision) {
  // At 12:00:00 plus 5 s the limit is 43205 s; one millisecond later the time of day still
  // rounds to 43205.0 in single precision, two milliseconds later it is past the limit.
  world.clock.SetDateTime(At(2026, 1, 1, 12, 0, 0));
  EXPECT_EQ(Start(5).woke_at_ms, 5002);
  EXPECT_EQ(TimeOfDaySeconds(At(2026, 1, 1, 12, 0, 5)), 43205.0f);
  platform::LocalDateTime t = At(2026, 1, 1, 12, 0, 5);
  t.millisecond = 1;
  EXPECT_EQ(TimeOfDaySeconds(t), 43205.0f);
  t.millisecond = 2;
  EXPECT_GT(TimeOfDaySeconds(t), 43205.0f);
}

TEST_F(Detector, ACancelledRunReportsNoWakeUp) {
  world.power.while_suspended = [this] { detector.Cancel(); };
  int wake_ups = 0;
  detector.SetStandbyMode = [&] { ExecuteShutdownMode(world.power, kModeStandby, 0); };
  detector.WakeUpDetected = [&](int32_t) { ++wake_ups; };
  detector.StartStandbyAndWakeUpDetection(60);
  EXPECT_EQ(wake_ups, 0);
  EXPECT_FALSE(detector.Detecting());
  EXPECT_LT(world.clock.MonotonicMs(), 10);
  // The next run is not affected.
  world.power.while_suspended = nullptr;
  detector.StartStandbyAndWakeUpDetection(1);
  EXPECT_EQ(wake_ups, 1);
}

}  // namespace
}  // namespace lorvan::power
