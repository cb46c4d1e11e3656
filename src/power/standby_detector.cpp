#include "power/standby_detector.h"

#include <tuple>

#include "app/event_loop.h"

namespace lorvan::power {
namespace {

bool DateIsLater(const platform::LocalDateTime& now, const platform::LocalDateTime& start) {
  return std::tie(now.year, now.month, now.day) > std::tie(start.year, start.month, start.day);
}

}  // namespace

float TimeOfDaySeconds(const platform::LocalDateTime& t) {
  const double seconds = (t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0;
  return static_cast<float>(seconds);
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
    loop_.DoEvents();
    if (cancelled_) break;
    if (!standby_requested) {
      // The owner's handler suspends the machine; it returns once the machine is back.
      if (SetStandbyMode) SetStandbyMode();
      standby_requested = true;
      if (cancelled_) break;
    }
  }

  detecting_ = false;
  if (cancelled_) return;
  if (WakeUpDetected) WakeUpDetected(source);
}

}  // namespace lorvan::power
