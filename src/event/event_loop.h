#pragma once
// The single-threaded event loop: window timers and the host's outside events.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/event_host.h"

namespace lorvan::event {

class Timer;

class EventLoop {
 public:
  EventLoop(platform::Clock& clock, platform::EventHost& host) : clock_(clock), host_(host) {}

  // Runs what is due now once and returns; handlers may call it again (re-entrant). When
  // nothing was due, the host idles (a real host up to 1 ms, the simulated one moves its
  // clock on) and what became due runs.
  void DoEvents();
  // The program's own loop, outside every handler: runs what is due until the loop has ended
  // (or until `until` holds); when nothing was due the host waits for input
  // (EventHost::WaitForInput), which may sleep until the next timer is due.
  void Run(const std::function<bool()>& until = {});
  // Runs the timers that are due now; true if any ran.
  bool RunDueTimers();
  // The earliest due time of an enabled timer that is not inside its own handler.
  std::optional<int64_t> NextTimerDue() const;

  int64_t NowMs() { return clock_.MonotonicMs(); }
  // Switches every timer off (the window is unloaded). From then on the loop has ended:
  // handlers still running below on the stack see it and stop waiting for the outside world.
  void StopAllTimers();
  bool Ended() const { return ended_; }

  void Register(Timer* t) { timers_.push_back(t); }
  void Unregister(Timer* t);

 private:
  platform::Clock& clock_;
  platform::EventHost& host_;
  std::vector<Timer*> timers_;
  bool ended_ = false;
};

}  // namespace lorvan::event
