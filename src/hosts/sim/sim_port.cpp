#include "hosts/sim/sim_port.h"

namespace lorvan::sim {

void SimPort::Out32(int16_t port, int16_t value) {
  panel.Out(port, value);
  if (writes_.size() >= 2 * max_kept_writes) {
    const size_t drop = writes_.size() - max_kept_writes;
    writes_.erase(writes_.begin(), writes_.begin() + static_cast<std::ptrdiff_t>(drop));
    dropped_ += drop;
  }
  writes_.emplace_back(port, value);
}

std::vector<std::string> SimPort::TakeWrites() {
  std::vector<std::string> out;
  out.reserve(writes_.size());
  for (auto [p, v] : writes_) out.push_back(std::to_string(p) + " " + std::to_string(v));
  writes_.clear();
  last_dropped_ = dropped_;
  dropped_ = 0;
  return out;
}

}  // namespace lorvan::sim
