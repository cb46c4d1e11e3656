#pragma once
// The --panel options of the lorvan program: which panel the box has and on which bus.
#include <cstdint>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

struct PanelOptions {
  std::string kind = "ks0108-lpt";
  std::string bus;            // /dev/i2c-N, /dev/spidevB.C; empty: the kind's usual one
  int address = 0x3C;         // I2C address
  std::string gpio_chip = "gpiochip0";
  std::vector<unsigned> pins;  // line offsets; empty: the usual wiring of docs/panels.md
  uint32_t clock_hz = 0;       // SPI clock; 0: the kind's usual one
};

extern const char* const kPanelKinds[6];

// One --panel... option (name without the value) into o; false when it is none of them.
// Throws std::invalid_argument for a bad value.
bool ParsePanelOption(const std::string& name, const std::string& value, PanelOptions& o);

}  // namespace lorvan::linuxhost
