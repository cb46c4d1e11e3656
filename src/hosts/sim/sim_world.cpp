#include "hosts/sim/sim_world.h"

#include <climits>
#include <cstdlib>

#include "version.h"

namespace lorvan::sim {
namespace {

std::string AbsoluteFolder(const std::string& dir) {
  char buf[PATH_MAX];
  std::string out = realpath(dir.c_str(), buf) ? std::string(buf) : dir;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

}  // namespace

std::string JsonLine(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

platform::VersionInfo SimAppInfo::Version() {
  return {kVersionComments, kLegalNotice, kVersionMajor, kVersionMinor, kVersionRevision};
}

SimWorld::SimWorld(const std::string& dir) : program_dir(AbsoluteFolder(dir)) {
  processes.on_start = [this](const std::string& command, int32_t task) {
    if (!player_quits) {
      player.OnProgramStarted(command, task);
    } else if (command.find("Hardstop") == std::string::npos) {
      processes.End(task);
    }
  };
  // Only the running player's task has a window (an earlier player's task has ended, other
  // programs show none); Alt+F4 to it closes the player.
  processes.has_window = [this](int32_t task) { return task == player.task_id() && player.WindowPresent(); };
  processes.on_keys = [this](int32_t active_task, const std::string& keys) {
    if (keys == "%{F4}" && active_task != 0 && active_task == player.task_id()) player.SetWindow(false);
  };
}

}  // namespace lorvan::sim
