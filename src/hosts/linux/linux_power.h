#pragma once
// The machine's power on Linux through systemd: suspend for standby, hibernate, power off,
// reboot, and ending the login session for log-off.
#include <functional>
#include <string>
#include <vector>

#include "platform/power.h"

namespace lorvan::linuxhost {

class LinuxPower : public platform::Power {
 public:
  // run: starts a command and waits for it, giving its exit status (RunAndWait); a dry
  // power only logs what it would run and answers success.
  using Runner = std::function<int(const std::vector<std::string>& argv)>;
  LinuxPower(Runner run, std::function<void(const std::string&)> log) : run_(std::move(run)), log_(std::move(log)) {}

  int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) override;
  // systemctl returns once the machine is back (or at once when it refuses).
  int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) override;
  int32_t IsPwrHibernateAllowed() override;
  int32_t SetSystemPowerState(bool suspend, bool force) override;
  // Linux answers as the NT family, so standby goes through SetSuspendState.
  bool GetVersionExA(int32_t& platform_id) override {
    platform_id = 2;
    return true;
  }
  // A resume is never reported as automatic; the wake-up is told by the time.
  int32_t IsSystemResumeAutomatic() override { return 0; }

  std::string sys_power_state_file = "/sys/power/state";

 private:
  int32_t Run(const std::vector<std::string>& argv);
  Runner run_;
  std::function<void(const std::string&)> log_;
};

}  // namespace lorvan::linuxhost
