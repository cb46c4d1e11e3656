#pragma once
// ExitWindowsEx, the suspend calls of powrprof.dll (loaded at run time), SetSystemPowerState,
// GetVersionExA and IsSystemResumeAutomatic.
#include "platform/power.h"

namespace lorvan::win32 {

class Win32Power : public platform::Power {
 public:
  int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) override;
  int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) override;
  int32_t IsPwrHibernateAllowed() override;
  int32_t SetSystemPowerState(bool suspend, bool force) override;
  bool GetVersionExA(int32_t& platform_id) override;
  int32_t IsSystemResumeAutomatic() override;
};

}  // namespace lorvan::win32
