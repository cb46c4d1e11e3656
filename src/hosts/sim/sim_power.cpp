#include "hosts/sim/sim_power.h"

namespace lorvan::sim {

int32_t SimPower::ExitWindowsEx(uint32_t flags, uint32_t reserved) {
  events_.Add(Json{{"event", "power"}, {"call", "ExitWindowsEx"}, {"args", {flags, reserved}}});
  return 1;
}

int32_t SimPower::Suspend() {
  if (!standby_accepted) return 0;
  resumed_automatically_ = false;
  if (while_suspended) while_suspended();
  resumed_automatically_ = resume_automatic;
  return 1;
}

int32_t SimPower::SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) {
  events_.Add(Json{{"event", "power"},
                   {"call", "SetSuspendState"},
                   {"args", {hibernate ? 1 : 0, force_critical ? 1 : 0, disable_wake_events ? 1 : 0}}});
  return Suspend();
}

int32_t SimPower::SetSystemPowerState(bool suspend, bool force) {
  events_.Add(
      Json{{"event", "power"}, {"call", "SetSystemPowerState"}, {"args", {suspend ? 1 : 0, force ? 1 : 0}}});
  return Suspend();
}

bool SimPower::GetVersionExA(int32_t& id) {
  if (!version_readable) return false;
  id = platform_id;
  return true;
}

}  // namespace lorvan::sim
