#pragma once
// Clocks: the millisecond tick counter, the high-resolution counter, the date and time of day.
#include <cstdint>

namespace lorvan::platform {

struct LocalDateTime {
  int year = 2026, month = 1, day = 1;
  int hour = 12, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic milliseconds for the event loop's timers.
  virtual int64_t MonotonicMs() = 0;
  // The system's 32-bit millisecond tick counter (it wraps).
  virtual uint32_t GetTickCount() = 0;
  virtual int64_t QueryPerformanceCounter() = 0;
  virtual int64_t QueryPerformanceFrequency() = 0;
  virtual LocalDateTime Now() = 0;
};

}  // namespace lorvan::platform
