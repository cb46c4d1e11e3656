#pragma once
// Standby and wake-up detection: asks the owner to stand by, then reports the wake-up.
#include <cstdint>
#include <functional>

#include "platform/platform.h"

namespace lorvan::app {
class EventLoop;
}

namespace lorvan::power {

class clsSetShutdownAndDetectWakeUp {
 public:
  clsSetShutdownAndDetectWakeUp(platform::Platform& platform, app::EventLoop& loop)
      : platform_(platform), loop_(loop) {}

  // Returns only after WakeUpDetected has been raised and handled.
  void StartStandbyAndWakeUpDetection(int16_t WakeUpByTimeDetectionTime);

  // The events, handled by the owner.
  std::function<void()> SetStandbyMode;
  std::function<void(int32_t SourceOfWakeUp)> WakeUpDetected;

 private:
  platform::Platform& platform_;
  app::EventLoop& loop_;
};

}  // namespace lorvan::power
