// Script commands of the CD drive and the power calls.
#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {

void RegisterPowerCdCommands(SimRunner&) {}

}  // namespace lorvan::sim
