#pragma once
// The host's side of the event loop: outside events (key strokes, script lines) and idling.
#include <cstdint>
#include <optional>

namespace lorvan::platform {

class EventHost {
 public:
  virtual ~EventHost() = default;
  // Runs the outside events that are due now (they may re-enter the loop); true if any ran.
  virtual bool DeliverDueEvents() = 0;
  // Nothing was due. A real host waits for input for at most 1 ms (never past the next
  // timer); the simulated host moves its virtual clock on to the next event.
  virtual void Idle(std::optional<int64_t> next_timer_due_ms) = 0;
  // Nothing was due in the program's own loop (EventLoop::Run), outside every handler: a
  // host may sleep until input arrives or the next timer is due. By default it idles.
  virtual void WaitForInput(std::optional<int64_t> next_timer_due_ms) { Idle(next_timer_due_ms); }
};

}  // namespace lorvan::platform
