// Script commands of the player: its scripted state and `dump messages`.
#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {

void RegisterPlayerCommands(SimRunner&) {}

}  // namespace lorvan::sim
