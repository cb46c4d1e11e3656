// The scenario runner in-process: the whole program on the simulated machine. Kept apart from
// the program folders, so that tests of a core folder do not link the main window.
#include <sstream>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {

ScenarioResult RunScenario(const std::string& program_dir, const std::string& script) {
  std::ostringstream out, err;
  sim::SimRunner runner(program_dir, out, err);
  ScenarioResult r;
  r.exit_status = runner.Run(script, "test.script");
  r.out = out.str();
  r.err = err.str();
  return r;
}

}  // namespace lorvan::testing
