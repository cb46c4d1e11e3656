#pragma once
// Log-off, shutdown, restart, hibernate and standby behind one mode number.
#include <cstdint>

#include "platform/power.h"

namespace lorvan::power {

// Modes of ExecuteShutdownMode.
enum : int32_t {
  kModeLogOff = 1,
  kModeForcedLogOff = 2,
  kModeShutDown = 3,
  kModeForcedShutDown = 4,
  kModeRestart = 5,
  kModeForcedRestart = 6,
  kModeHibernate = 7,
  kModeStandby = 8,
};

// Results of ExecuteShutdownMode.
enum : int32_t {
  kShutdownDone = 0,             // the system call reported success
  kShutdownFailed = 1,           // the system call failed, or the mode is unknown
  kHibernateNotAllowed = 2,      // mode 7 on a system without hibernation
  kVersionUnreadable = 3,        // mode 8: the system's version could not be read
  kUnknownSystemFamily = 4,      // mode 8: neither the NT nor the 95/98/Me family
};

// Platform ids of the system's version record.
constexpr int32_t kPlatformWin9x = 1;
constexpr int32_t kPlatformNt = 2;

bool IsHibernateAllowed(platform::Power& power);

// The window handle is accepted for the callers' sake and not used. The suspend modes return
// only after the machine has resumed, or at once when the system refuses.
int32_t ExecuteShutdownMode(platform::Power& power, int32_t mode, int32_t hwnd);

}  // namespace lorvan::power
