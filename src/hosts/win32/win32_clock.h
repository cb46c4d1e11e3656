#pragma once
// GetTickCount, the performance counter and the local time.
#include "platform/clock.h"

namespace lorvan::win32 {

class Win32Clock : public platform::Clock {
 public:
  Win32Clock();
  int64_t MonotonicMs() override;
  uint32_t GetTickCount() override;
  int64_t QueryPerformanceCounter() override;
  int64_t QueryPerformanceFrequency() override;
  platform::LocalDateTime Now() override;

 private:
  int64_t frequency_ = 1;
};

}  // namespace lorvan::win32
