#pragma once
// The power calls of the simulated machine: recorded and answered as the script says.
#include <cstdint>
#include <functional>

#include "hosts/sim/sim_events.h"
#include "platform/power.h"

namespace lorvan::sim {

class SimPower : public platform::Power {
 public:
  explicit SimPower(SimEvents& events) : events_(events) {}

  int32_t ExitWindowsEx(uint32_t flags, uint32_t reserved) override;
  // Standby and hibernation return at once: accepted, the machine "resumes" in the same
  // moment (automatically or by the user, as set); refused, the call answers 0.
  int32_t SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) override;
  int32_t IsPwrHibernateAllowed() override { return hibernate_allowed ? 1 : 0; }
  int32_t SetSystemPowerState(bool suspend, bool force) override;
  bool GetVersionExA(int32_t& platform_id) override;
  // Nonzero after an automatic resume until the next user input.
  int32_t IsSystemResumeAutomatic() override { return resumed_automatically_ ? 1 : 0; }

  // A key stroke or click of the user: the machine no longer counts as resumed automatically.
  void UserInput() { resumed_automatically_ = false; }

  // How the next standby request is answered.
  bool standby_accepted = true;
  bool resume_automatic = false;
  bool hibernate_allowed = true;
  // The version record: readable or not, and its platform id (2 NT, 1 95/98/Me).
  bool version_readable = true;
  int32_t platform_id = 2;
  // Runs while the machine is suspended (tests let time pass here).
  std::function<void()> while_suspended;

 private:
  int32_t Suspend();
  SimEvents& events_;
  bool resumed_automatically_ = false;
};

}  // namespace lorvan::sim
