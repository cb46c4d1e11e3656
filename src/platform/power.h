#pragma once
// The operating system's power calls.
#include <cstdint>

namespace lorvan::platform {

class Power {
 public:
  virtual ~Power() = default;
  virtual int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) = 0;
  // Returns after the machine has resumed, or at once when the system refuses (0).
  virtual int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) = 0;
  virtual int32_t IsPwrHibernateAllowed() = 0;
  virtual int32_t SetSystemPowerState(bool suspend, bool force) = 0;
  // Fills the platform id of the version record (2 = NT family, 1 = 95/98/Me); false on failure.
  virtual bool GetVersionExA(int32_t& platform_id) = 0;
  virtual int32_t IsSystemResumeAutomatic() = 0;
};

}  // namespace lorvan::platform
