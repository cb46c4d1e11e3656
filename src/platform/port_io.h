#pragma once
// Byte output to an I/O port (Out32 of the port library).
#include <cstdint>

namespace lorvan::platform {

class PortIo {
 public:
  virtual ~PortIo() = default;
  // Writes the low byte of value to the port; fire and forget.
  virtual void Out32(int16_t port, int16_t value) = 0;
};

}  // namespace lorvan::platform
