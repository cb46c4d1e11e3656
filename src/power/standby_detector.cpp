#include "power/standby_detector.h"

namespace lorvan::power {

void clsSetShutdownAndDetectWakeUp::StartStandbyAndWakeUpDetection(int16_t) {}

}  // namespace lorvan::power
