#include "event/event_loop.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "event/timer.h"
#include "hosts/sim/sim_clock.h"

namespace lorvan::event {
namespace {

// An event host whose idling jumps the clock to the next timer, as the simulated host does.
class JumpingHost : public platform::EventHost {
 public:
  explicit JumpingHost(sim::SimClock& c) : clock(c) {}
  bool DeliverDueEvents() override {
    if (!pending || clock.MonotonicMs() < pending_at) return false;
    auto f = std::move(pending);
    pending = nullptr;
    f();
    return true;
  }
  void Idle(std::optional<int64_t> next) override {
    ++idles;
    int64_t target = next ? *next : clock.MonotonicMs() + 1;
    if (target > limit) target = limit;
    if (target <= clock.MonotonicMs()) target = clock.MonotonicMs() + 1;
    clock.AdvanceTo(target);
  }
  sim::SimClock& clock;
  std::function<void()> pending;
  int64_t pending_at = 0;
  int idles = 0;
  int64_t limit = INT64_MAX;  // idling never moves the clock past this
};

class Loop : public ::testing::Test {
 protected:
  // Runs the loop until the clock reaches ms.
  void RunUntil(int64_t ms) {
    host.limit = ms;
    while (clock.MonotonicMs() < ms) loop.DoEvents();
  }
  // An enabled timer whose handler is given the timer itself.
  Timer& Arm(int32_t interval, std::function<void(Timer&)> handler) {
    Timer& t = timers.emplace_back("t", loop);
    t.SetInterval(interval);
    t.on_timer = [&t, handler] { handler(t); };
    t.SetEnabled(true);
    return t;
  }
  void Note(const std::string& what) { log.push_back(what + "@" + std::to_string(clock.MonotonicMs())); }

  sim::SimClock clock;
  JumpingHost host{clock};
  EventLoop loop{clock, host};
  std::deque<Timer> timers;
  std::vector<std::string> log;
};

TEST_F(Loop, ATimerTicksOneIntervalAfterItWasEnabled) {
  clock.Advance(30);
  Arm(100, [&](Timer&) { Note("t"); });
  RunUntil(350);
  EXPECT_EQ(log, (std::vector<std::string>{"t@130", "t@230", "t@330"}));
}

TEST_F(Loop, EnablingARunningTimerDoesNotRestartIt) {
  Timer& t = Arm(1000, [&](Timer& self) {
    Note("t");
    self.SetEnabled(false);
  });
  clock.Advance(600);
  t.SetEnabled(true);  // a second digit while the first is counting
  RunUntil(2500);
  EXPECT_EQ(log, (std::vector<std::string>{"t@1000"}));
}

TEST_F(Loop, DisablingAndEnablingInsideTheHandlerRestartsFromThere) {
  Arm(20, [&](Timer& self) {
    Note("t");
    self.SetEnabled(false);
    clock.Advance(5);  // the work of one frame
    self.SetEnabled(true);
  });
  RunUntil(80);
  EXPECT_EQ(log, (std::vector<std::string>{"t@20", "t@45", "t@70"}));
}

TEST_F(Loop, DoEventsReEntersOtherTimersButNotTheRunningOne) {
  int depth = 0, max_depth = 0;
  Arm(50, [&](Timer& self) {
    Note("slow-begin");
    max_depth = std::max(max_depth, ++depth);
    // A handler that waits by yielding, as the CD search does.
    const int64_t until = clock.MonotonicMs() + 100;
    while (clock.MonotonicMs() < until) loop.DoEvents();
    --depth;
    self.SetEnabled(false);
    Note("slow-end");
  });
  Arm(20, [&](Timer&) { Note("fast"); });
  RunUntil(160);
  EXPECT_EQ(max_depth, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"fast@20", "fast@40", "slow-begin@50", "fast@60", "fast@80",
                                           "fast@100", "fast@120", "fast@140", "fast@160", "slow-end@160"}));
}

TEST_F(Loop, OutsideEventsRunInsideAWaitingHandler) {
  bool seen = false;
  host.pending_at = 35;
  host.pending = [&] { seen = true; };
  Arm(10, [&](Timer& self) {
    self.SetEnabled(false);
    while (!seen) loop.DoEvents();
    Note("saw");
  });
  RunUntil(40);
  EXPECT_EQ(log, (std::vector<std::string>{"saw@35"}));
}

TEST_F(Loop, IdlesOnlyWhenNothingIsDue) {
  Timer& t = Arm(20, [](Timer&) {});
  loop.DoEvents();  // nothing due at 0: idles to 20 and ticks
  EXPECT_EQ(host.idles, 1);
  EXPECT_EQ(clock.MonotonicMs(), 20);
  loop.StopAllTimers();
  EXPECT_FALSE(t.Enabled());
  EXPECT_FALSE(loop.NextTimerDue());
}

TEST_F(Loop, RunWaitsForInputBetweenEventsAndEndsWithTheLoop) {
  int ticks = 0;
  Arm(20, [&](Timer&) {
    if (++ticks == 3) loop.StopAllTimers();
  });
  loop.Run();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(clock.MonotonicMs(), 60);
  EXPECT_EQ(host.idles, 3);  // the default wait for input idles to the next timer
  EXPECT_TRUE(loop.Ended());
}

}  // namespace
}  // namespace lorvan::event
