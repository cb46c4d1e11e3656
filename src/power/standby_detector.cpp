#include "power/standby_detector.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include <climits>

#include "event/event_loop.h"

namespace lorvan::power {
namespace {

constexpr int64_t kDayMs = 86400000;

int64_t TimeOfDayMs(const platform::LocalDateTime& t) {
  return ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

bool DateIsLater(const platform::LocalDateTime& now, const platform::LocalDateTime& start) {
  return std::tie(now.year, now.month, now.day) > std::tie(start.year, start.month, start.day);
}

}  // namespace

float TimeOfDaySeconds(const platform::LocalDateTime& t) {
  const double seconds = (t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0;
  return static_cast<float>(seconds);
}

void clsSetShutdownAndDetectWakeUp::ArmNextCheck(int64_t in_ms) {
  tmrWakeUpCheck_.SetEnabled(false);
  tmrWakeUpCheck_.SetInterval(static_cast<int32_t>(std::clamp<int64_t>(in_ms, 1, INT32_MAX)));
  tmrWakeUpCheck_.SetEnabled(true);
}

void clsSetShutdownAndDetectWakeUp::StartStandbyAndWakeUpDetection(int16_t WakeUpByTimeDetectionTime) {
  const platform::LocalDateTime started = platform_.clock.Now();
  const float start_time = TimeOfDaySeconds(started);
  // The limit is computed and rounded in single precision, as the time of day itself.
  const float limit = static_cast<float>(WakeUpByTimeDetectionTime) + start_time;
  int32_t source = kWakeUpAutomatic;
  bool standby_requested = false;
  cancelled_ = false;
  detecting_ = true;

  for (;;) {
    if (platform_.power.IsSystemResumeAutomatic() != 0) break;
    const platform::LocalDateTime now = platform_.clock.Now();
    if (TimeOfDaySeconds(now) > limit || DateIsLater(now, started)) {
      source = kWakeUpByTime;
      break;
    }
    if (!standby_requested) {
      ArmNextCheck(1);
    } else {
      // The next moment a test can succeed: past start + T, or the next midnight.
      const int64_t tod_ms = TimeOfDayMs(now);
      const double until_limit_ms = std::ceil((static_cast<double>(limit) * 1000.0 - tod_ms)) + 1;
      ArmNextCheck(std::min<int64_t>(static_cast<int64_t>(std::max(until_limit_ms, 1.0)), kDayMs - tod_ms));
    }
    loop_.DoEvents();
    if (cancelled_) break;
    if (!standby_requested) {
      // The owner's handler suspends the machine; it returns once the machine is back.
      if (SetStandbyMode) SetStandbyMode();
      standby_requested = true;
      if (cancelled_) break;
    }
  }

  tmrWakeUpCheck_.SetEnabled(false);
  detecting_ = false;
  if (cancelled_) return;
  if (WakeUpDetected) WakeUpDetected(source);
}

}  // namespace lorvan::power
