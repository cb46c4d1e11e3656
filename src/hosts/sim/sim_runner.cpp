#include "hosts/sim/sim_runner.h"

#include <ostream>

#include "app/errors.h"

namespace lorvan::sim {

SimRunner::SimRunner(const std::string& program_dir, std::ostream& o, std::ostream& e)
    : world(program_dir), form(world.platform), out(o), err(e) {
  form.on_unload = [this] { world.events.Add(Json{{"event", "exit"}}); };
  RegisterCoreCommands(*this);
  RegisterPlayerCommands(*this);
  RegisterLcdCommands(*this);
  RegisterPowerCdCommands(*this);
}

int SimRunner::Run(const std::string& script_text, const std::string& script_name) {
  try {
    world.script.SetScript(ParseScript(script_text, script_name, commands));
  } catch (const ScriptError& e) {
    err << "lorvan-sim: " << e.what() << "\n";
    return 2;
  }
  try {
    while (!world.script.Done()) form.loop.DoEvents();
  } catch (const PowerLost&) {
    out.flush();
    return kCrashStatus;
  } catch (const app::StartupError& e) {
    out.flush();
    err << "lorvan-sim: start-up failed: " << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    out.flush();
    err << "lorvan-sim: the program failed: " << e.what() << "\n";
    return 1;
  }
  out.flush();
  return 0;
}

}  // namespace lorvan::sim
