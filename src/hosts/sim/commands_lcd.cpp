// Script commands of the panel: the decoded picture, the off-screen picture and the port.
#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {

void RegisterLcdCommands(SimRunner&) {}

}  // namespace lorvan::sim
