#include "process_helpers.h"

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "hosts/linux/mpv_ipc.h"

namespace lorvan::testing {

std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

bool Eventually(const std::function<bool()>& cond, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < end) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return cond();
}

pid_t PlayerPid(const std::string& socket) {
  linuxhost::MpvIpc ipc(socket);
  if (!ipc.Connect()) return 0;
  const auto reply = ipc.Command(linuxhost::Json::array({"get_property", "pid"}));
  if (reply && reply->contains("data") && (*reply)["data"].is_number_integer()) return (*reply)["data"].get<pid_t>();
  return 0;
}

void KillPlayer(const std::string& socket) {
  if (const pid_t pid = PlayerPid(socket)) ::kill(pid, SIGKILL);
}

}  // namespace lorvan::testing
