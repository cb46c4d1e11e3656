#pragma once
// The power calls of the simulated machine: recorded and answered as the script says.
#include <cstdint>

#include "hosts/sim/sim_events.h"
#include "platform/power.h"

namespace lorvan::sim {

class SimPower : public platform::Power {
 public:
  explicit SimPower(SimEvents& events) : events_(events) {}

  int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) override;
  int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) override;
  int32_t IsPwrHibernateAllowed() override { return hibernate_allowed ? 1 : 0; }
  int32_t SetSystemPowerState(bool suspend, bool force) override;
  bool GetVersionExA(int32_t& platform_id) override {
    platform_id = platform_id_;
    return true;
  }
  int32_t IsSystemResumeAutomatic() override { return resumed_automatically_ ? 1 : 0; }

  bool standby_accepted = true;
  bool resume_automatic = false;
  bool hibernate_allowed = true;

 private:
  SimEvents& events_;
  int32_t platform_id_ = 2;
  bool resumed_automatically_ = false;
};

}  // namespace lorvan::sim
