#pragma once
// lorvan-sim: the whole program on the simulated machine, driven by a script.
#include <iosfwd>
#include <string>

#include "app/frm_main.h"
#include "hosts/sim/script.h"
#include "hosts/sim/sim_world.h"

namespace lorvan::sim {

// Thrown by the `crash` command: the machine lost its power. No handler catches it (it is no
// std::exception), so nothing more runs and nothing more is written.
struct PowerLost {};

// The exit status of a run that ended by a power cut, as a process killed by SIGKILL.
constexpr int kCrashStatus = 137;

class SimRunner {
 public:
  SimRunner(const std::string& program_dir, std::ostream& out, std::ostream& err);

  // Runs a script; the result is the exit status (0 ran to its end, 1 the program failed,
  // 2 a script error, 137 the machine lost its power).
  int Run(const std::string& script_text, const std::string& script_name);

  SimWorld world;
  app::frmMain form;
  ScriptCommands commands;
  std::ostream& out;
  std::ostream& err;
  bool started = false;
};

// Each subsystem's script commands.
void RegisterCoreCommands(SimRunner& r);
void RegisterPlayerCommands(SimRunner& r);
void RegisterLcdCommands(SimRunner& r);
void RegisterPowerCdCommands(SimRunner& r);

// `dump state`: the shared state, the window's members and controls as one JSON object.
Json StateJson(app::frmMain& form);

}  // namespace lorvan::sim
