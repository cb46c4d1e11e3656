#pragma once
// A 128 x 64 graphic LCD of an ST7920 controller in its serial mode, emulated from the bytes
// on its SPI lines: the tests' and the preview's view of what a back end sent. Each byte to the
// controller travels as three: a sync byte (F8h instruction, FAh data) and the byte's high
// and low nibbles, each in the upper half of a byte. The graphic RAM is 256 x 32: row y of
// the upper half of the glass is RAM row y, columns 0-127; of the lower half RAM row y - 32,
// columns 128-255. The character RAM's text is not modelled: a graphic back end writes none.
#include <array>
#include <cstddef>
#include <cstdint>

namespace lorvan::lcd {

class St7920Panel {
 public:
  static constexpr int kWidth = 128;
  static constexpr int kHeight = 64;

  // Bytes as they pass on the serial data line while the chip select is high.
  void Write(const uint8_t* bytes, size_t n);
  // One byte to the controller after decoding: an instruction or display data.
  void Byte(bool data, uint8_t b);

  bool Pixel(int x, int y) const;

  bool display_on = false;
  bool graphic_on = false;
  bool extended = false;  // the extended instruction set (RE = 1)

 private:
  std::array<std::array<uint16_t, 16>, 32> gdram_{};
  int serial_step_ = 0;  // 0: a sync byte is due, 1: the high nibble, 2: the low nibble
  bool serial_data_ = false;
  uint8_t serial_high_ = 0;
  // Graphic RAM address: the vertical part comes first, then the horizontal one.
  bool gdram_selected_ = false;
  bool vertical_next_ = true;
  int vertical_ = 0, horizontal_ = 0;
  bool low_byte_ = false;
  uint8_t high_byte_ = 0;
};

}  // namespace lorvan::lcd
