#include "hosts/sim/sim_port.h"

namespace lorvan::sim {

void SimPort::Out32(int16_t port, int16_t value) { writes_.emplace_back(port, value); }

std::vector<std::string> SimPort::TakeWrites() {
  std::vector<std::string> out;
  out.reserve(writes_.size());
  for (auto [p, v] : writes_) out.push_back(std::to_string(p) + " " + std::to_string(v));
  writes_.clear();
  return out;
}

}  // namespace lorvan::sim
