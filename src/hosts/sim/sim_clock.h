#pragma once
// The virtual clock: nothing waits in real time.
#include <cstdint>

#include "platform/clock.h"

namespace lorvan::sim {

class SimClock : public platform::Clock {
 public:
  int64_t MonotonicMs() override { return now_ms_; }
  uint32_t GetTickCount() override { return tick_base_ + static_cast<uint32_t>(now_ms_); }
  int64_t QueryPerformanceCounter() override { return now_ms_ * 10000; }
  int64_t QueryPerformanceFrequency() override { return 10000000; }
  platform::LocalDateTime Now() override;

  void Advance(int64_t ms) { now_ms_ += ms; }
  void AdvanceTo(int64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
  }
  // The date and time of day at the current virtual moment.
  void SetDateTime(const platform::LocalDateTime& t);
  // Where the 32-bit tick counter stands at virtual time 0 (to test its wrap).
  void SetTickBase(uint32_t base) { tick_base_ = base; }

 private:
  int64_t now_ms_ = 0;
  uint32_t tick_base_ = 1000000;
  platform::LocalDateTime set_at_{};  // the date and time at virtual moment set_ms_
  int64_t set_ms_ = 0;
};

// Days since 1970-01-01 of a civil date, and back.
int64_t DaysFromCivil(int y, int m, int d);
void CivilFromDays(int64_t z, int& y, int& m, int& d);

}  // namespace lorvan::sim
