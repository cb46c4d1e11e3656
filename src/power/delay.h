#pragma once
// Waiting on the system's millisecond tick counter.
#include <cstdint>

#include "platform/platform.h"

namespace lorvan::event {
class EventLoop;
}

namespace lorvan::power {

// Returns once more than ms milliseconds have passed on the tick counter. With allowEvents
// the window's events run once per pass; without, nothing else is handled meanwhile. The
// elapsed time is measured, so the wrap of the 32-bit counter does not matter.
void WaitMilliseconds(platform::Platform& platform, event::EventLoop& loop, int32_t ms, bool allowEvents);

}  // namespace lorvan::power
