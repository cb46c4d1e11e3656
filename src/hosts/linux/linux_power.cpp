#include "hosts/linux/linux_power.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace lorvan::linuxhost {

int32_t LinuxPower::Run(const std::vector<std::string>& argv) {
  std::string line;
  for (const auto& a : argv) line += (line.empty() ? "" : " ") + a;
  if (log_) log_("power: " + line);
  const int status = run_ ? run_(argv) : 0;
  if (status != 0 && log_) log_("power: " + line + " failed (status " + std::to_string(status) + ")");
  return status == 0 ? 1 : 0;
}

int32_t LinuxPower::ExitWindowsEx(uint32_t flags, uint32_t) {
  const bool force = (flags & 4) != 0;
  switch (flags & 3) {
    case 0: {  // log off: end this login session (or all of the user's)
      const char* session = std::getenv("XDG_SESSION_ID");
      if (session && *session) return Run({"loginctl", "terminate-session", session});
      const char* user = std::getenv("USER");
      return Run({"loginctl", "terminate-user", user && *user ? user : "root"});
    }
    case 1:
      return force ? Run({"systemctl", "poweroff", "--ignore-inhibitors"}) : Run({"systemctl", "poweroff"});
    case 2:
      return force ? Run({"systemctl", "reboot", "--ignore-inhibitors"}) : Run({"systemctl", "reboot"});
    default:
      return 0;
  }
}

int32_t LinuxPower::SetSuspendState(bool hibernate, bool, bool) {
  return Run({"systemctl", hibernate ? "hibernate" : "suspend"});
}

int32_t LinuxPower::IsPwrHibernateAllowed() {
  std::ifstream in(sys_power_state_file);
  std::string word;
  while (in >> word) {
    if (word == "disk") return 1;
  }
  return 0;
}

int32_t LinuxPower::SetSystemPowerState(bool suspend, bool) {
  return suspend ? Run({"systemctl", "suspend"}) : Run({"systemctl", "hibernate"});
}

}  // namespace lorvan::linuxhost
