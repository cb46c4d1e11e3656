#include "power/shutdown_modes.h"

namespace lorvan::power {
namespace {

// Flags of ExitWindowsEx.
constexpr uint32_t kEwxLogOff = 0;
constexpr uint32_t kEwxShutdown = 1;
constexpr uint32_t kEwxReboot = 2;
constexpr uint32_t kEwxForce = 4;

int32_t ResultOf(int32_t call_result) { return call_result != 0 ? kShutdownDone : kShutdownFailed; }

}  // namespace

bool IsHibernateAllowed(platform::Power& power) { return power.IsPwrHibernateAllowed() != 0; }

int32_t ExecuteShutdownMode(platform::Power& power, int32_t mode, int32_t /*hwnd*/) {
  switch (mode) {
    case kModeLogOff:
      return ResultOf(power.ExitWindowsEx(kEwxLogOff, 0));
    case kModeForcedLogOff:
      return ResultOf(power.ExitWindowsEx(kEwxLogOff | kEwxForce, 0));
    case kModeShutDown:
      return ResultOf(power.ExitWindowsEx(kEwxShutdown, 0));
    case kModeForcedShutDown:
      return ResultOf(power.ExitWindowsEx(kEwxShutdown | kEwxForce, 0));
    case kModeRestart:
      return ResultOf(power.ExitWindowsEx(kEwxReboot, 0));
    case kModeForcedRestart:
      return ResultOf(power.ExitWindowsEx(kEwxReboot | kEwxForce, 0));
    case kModeHibernate:
      if (!IsHibernateAllowed(power)) return kHibernateNotAllowed;
      return ResultOf(power.SetSuspendState(true, false, false));
    case kModeStandby: {
      int32_t platform_id = 0;
      if (!power.GetVersionExA(platform_id)) return kVersionUnreadable;
      if (platform_id == kPlatformNt) return ResultOf(power.SetSuspendState(false, false, false));
      if (platform_id == kPlatformWin9x) return ResultOf(power.SetSystemPowerState(true, false));
      return kUnknownSystemFamily;
    }
    default:
      return kShutdownFailed;
  }
}

}  // namespace lorvan::power
