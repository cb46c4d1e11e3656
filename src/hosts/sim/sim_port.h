#pragma once
// The parallel port of the simulated machine: records every write.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/port_io.h"

namespace lorvan::sim {

class SimPort : public platform::PortIo {
 public:
  void Out32(int16_t port, int16_t value) override;
  // The writes since the previous take, "ADDRESS VALUE" in decimal.
  std::vector<std::string> TakeWrites();

 private:
  std::vector<std::pair<int16_t, int16_t>> writes_;
};

}  // namespace lorvan::sim
