#pragma once
// A 128 x 64 graphic LCD of two KS0108 controllers wired to a PC parallel port, emulated
// from the port writes: the simulated machine's panel, the Linux host's virtual panel and the
// tests' view of what the driver sent. It decodes by the wiring table of lcd/ks0108.h.
#include <array>
#include <cstdint>

#include "lcd/ks0108.h"

namespace lorvan::lcd::ks0108 {

// One KS0108 controller: 64 x 64 pixels in eight pages of 64 column bytes.
class Controller {
 public:
  // One bus cycle latched on the falling edge of the enable line: an instruction when di is
  // low, display data when it is high. Reading (the R/W line high) is not wired.
  void Latch(bool di, uint8_t bus);

  // A visible pixel (x, y in 0..63): display memory shifted by the start line, dark when
  // set, and all clear while the display is off.
  bool Pixel(int x, int y) const;

  bool display_on = false;
  uint8_t start_line = 0;
  uint8_t page = 0;
  uint8_t column = 0;  // the Y address, counting up after each data byte and wrapping at 64
  std::array<std::array<uint8_t, 64>, 8> ram{};
};

// The panel on the port, wired as lcd/ks0108.h describes.
class Panel {
 public:
  static constexpr int kWidth = 128;
  static constexpr int kHeight = 64;

  explicit Panel(int base_port = kFirstParallelPort) : base_(base_port) {}

  // A write of the low byte of value to an I/O port; only the panel's two registers matter.
  void Out(int port, int value);

  // The picture the panel shows: x 0..127, y 0..63; true is a dark pixel.
  bool Pixel(int x, int y) const;

  const Controller& Left() const { return chips_[0]; }
  const Controller& Right() const { return chips_[1]; }
  int BasePort() const { return base_; }

 private:
  void WriteControl(uint8_t value);

  int base_;
  uint8_t data_ = 0;
  bool enable_ = false;  // the level of the enable line; low until the program raises it
  std::array<Controller, 2> chips_{};
};

}  // namespace lorvan::lcd::ks0108
