#pragma once
// The parallel port of the simulated machine: records every write and drives the KS0108
// panel that hangs on it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "lcd/ks0108_panel.h"
#include "platform/port_io.h"

namespace lorvan::sim {

class SimPort : public platform::PortIo {
 public:
  void Out32(int16_t port, int16_t value) override;
  // The writes since the previous take, "ADDRESS VALUE" in decimal.
  std::vector<std::string> TakeWrites();
  // How many writes the previous take had to leave out because too many came between.
  size_t DroppedWrites() const { return last_dropped_; }

  lcd::ks0108::Panel panel;
  // At least this many of the latest writes are kept between two takes; a long run without a
  // take drops older ones, so memory stays bounded.
  size_t max_kept_writes = size_t{4} << 20;

 private:
  std::vector<std::pair<int16_t, int16_t>> writes_;
  size_t dropped_ = 0;  // since the previous take
  size_t last_dropped_ = 0;
};

}  // namespace lorvan::sim
