#pragma once
// Standby and wake-up detection: asks the owner to stand by, then reports the wake-up.
#include <cstdint>
#include <functional>

#include "event/timer.h"
#include "platform/platform.h"

namespace lorvan::event {
class EventLoop;
}

namespace lorvan::power {

// SourceOfWakeUp values.
enum : int32_t {
  kWakeUpAutomatic = 0,  // the system reported an automatic resume
  kWakeUpByTime = 1,     // the detection time has passed, or the date has changed
};

// The time of day in seconds since midnight, rounded to single precision.
float TimeOfDaySeconds(const platform::LocalDateTime& t);

class clsSetShutdownAndDetectWakeUp {
 public:
  clsSetShutdownAndDetectWakeUp(platform::Platform& platform, event::EventLoop& loop)
      : platform_(platform), loop_(loop), tmrWakeUpCheck_("tmrWakeUpCheck", loop) {}

  // Raises SetStandbyMode once (after the first test), keeps the events running while it
  // waits, and raises WakeUpDetected once the machine is awake again. Returns only after
  // WakeUpDetected has been raised and handled, or after Cancel.
  void StartStandbyAndWakeUpDetection(int16_t WakeUpByTimeDetectionTime);

  // Ends a running detection without raising WakeUpDetected (the program is ending).
  void Cancel() { cancelled_ = true; }
  bool Detecting() const { return detecting_; }

  // The events, handled by the owner.
  std::function<void()> SetStandbyMode;
  std::function<void(int32_t SourceOfWakeUp)> WakeUpDetected;

 private:
  // Wakes the waiting loop when its next test is due, so that each yield of the loop ends
  // then at the latest (an idle host would otherwise wait for whatever comes next).
  void ArmNextCheck(int64_t in_ms);

  platform::Platform& platform_;
  event::EventLoop& loop_;
  event::Timer tmrWakeUpCheck_;
  bool cancelled_ = false;
  bool detecting_ = false;
};

}  // namespace lorvan::power
