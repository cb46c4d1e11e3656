#include "hosts/sim/sim_clock.h"

namespace lorvan::sim {

int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

void SimClock::SetDateTime(const platform::LocalDateTime& t) {
  set_at_ = t;
  set_ms_ = now_ms_;
}

platform::LocalDateTime SimClock::Now() {
  const int64_t base_ms = DaysFromCivil(set_at_.year, set_at_.month, set_at_.day) * 86400000 +
                          ((set_at_.hour * 60 + set_at_.minute) * 60 + set_at_.second) * 1000LL +
                          set_at_.millisecond;
  const int64_t t = base_ms + (now_ms_ - set_ms_);
  int64_t days = t / 86400000;
  int64_t in_day = t % 86400000;
  if (in_day < 0) {
    in_day += 86400000;
    --days;
  }
  platform::LocalDateTime r;
  CivilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(in_day / 3600000);
  r.minute = static_cast<int>(in_day / 60000 % 60);
  r.second = static_cast<int>(in_day / 1000 % 60);
  r.millisecond = static_cast<int>(in_day % 1000);
  return r;
}

}  // namespace lorvan::sim
