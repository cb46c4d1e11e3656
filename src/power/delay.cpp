#include "power/delay.h"

#include "event/event_loop.h"

namespace lorvan::power {

void WaitMilliseconds(platform::Platform& platform, event::EventLoop& loop, int32_t ms, bool allowEvents) {
  const uint32_t start = platform.clock.GetTickCount();
  for (;;) {
    if (allowEvents) {
      loop.DoEvents();
    }
    // Unsigned subtraction gives the elapsed time also across the counter's wrap.
    const int64_t elapsed = static_cast<uint32_t>(platform.clock.GetTickCount() - start);
    if (elapsed > ms) return;
    if (!allowEvents) {
      // Let time pass without handling anything: a real host pauses up to 1 ms, the
      // simulated one moves its clock on towards the end of the wait.
      platform.events.Idle(platform.clock.MonotonicMs() + (ms - elapsed) + 1);
    }
  }
}

}  // namespace lorvan::power
