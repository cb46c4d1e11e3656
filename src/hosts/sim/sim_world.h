#pragma once
// The simulated machine: every outside thing the program talks to, deterministic and in-process.
#include <string>

#include "posix/posix_file_system.h"
#include "hosts/sim/script.h"
#include "hosts/sim/sim_clock.h"
#include "hosts/sim/sim_drives.h"
#include "hosts/sim/sim_events.h"
#include "hosts/sim/sim_player.h"
#include "hosts/sim/sim_port.h"
#include "hosts/sim/sim_power.h"
#include "hosts/sim/sim_processes.h"
#include "platform/platform.h"

namespace lorvan::sim {

class SimDialogs : public platform::Dialogs {
 public:
  explicit SimDialogs(SimEvents& events) : events_(events) {}
  void MsgBox(const std::string& text, const std::string& title) override {
    events_.Add(Json{{"event", "msgbox"}, {"title", title}, {"text", text}});
  }

 private:
  SimEvents& events_;
};

class SimAppInfo : public platform::AppInfo {
 public:
  explicit SimAppInfo(std::string app_path) : app_path_(std::move(app_path)) {}
  std::string AppPath() override { return app_path_; }
  platform::VersionInfo Version() override;

 private:
  std::string app_path_;
};

struct SimWorld {
  // program_dir: an existing folder; it is made absolute and loses a trailing separator.
  explicit SimWorld(const std::string& program_dir);

  std::string program_dir;
  // The player's program ends at once when started, without a window (`player quits 1`).
  bool player_quits = false;
  SimEvents events;
  SimClock clock;
  SimPlayer player{clock};
  SimProcesses processes{events};
  SimPort port;
  SimPower power{events};
  SimDrives drives{events, program_dir};
  posix::PosixFileSystem files{[this] { return drives.CurDir(); }};
  SimDialogs dialogs{events};
  SimAppInfo app{program_dir};
  ScriptHost script{clock};
  platform::Platform platform{player, processes, port, clock, power, drives, files, dialogs, app, script};
};

}  // namespace lorvan::sim
