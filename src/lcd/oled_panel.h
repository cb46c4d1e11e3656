#pragma once
// A 128 x 64 OLED module of an SSD1306 or SH1106 controller, emulated from the command and
// data bytes it receives: the tests' and the preview's view of what a back end sent. The glass
// is taken as mounted the usual way, upright with the segments remapped (A1h) and the COM
// scan reversed (C8h), as the modules' makers' init sequences set them.
#include <array>
#include <cstddef>
#include <cstdint>

namespace lorvan::lcd {

class OledPanel {
 public:
  enum class Chip { kSsd1306, kSh1106 };
  static constexpr int kWidth = 128;
  static constexpr int kHeight = 64;

  explicit OledPanel(Chip chip);

  // Bytes with the D/C line low (commands) or high (display data), as on the SPI bus.
  void Write(bool data, const uint8_t* bytes, size_t n);
  // One I2C write to the module's address: control bytes (Co bit 7, D/C bit 6) and the bytes
  // they announce. False when the write breaks the framing (a control byte missing).
  bool WriteI2c(const uint8_t* bytes, size_t n);

  // The picture the glass shows: x 0..127, y 0..63; true is a lit pixel.
  bool Pixel(int x, int y) const;

  Chip chip() const { return chip_; }
  int RamColumns() const { return chip_ == Chip::kSh1106 ? 132 : 128; }
  // The RAM column of the glass's first visible column (SH1106: 132 columns, 128 wired).
  int ColumnOffset() const { return chip_ == Chip::kSh1106 ? 2 : 0; }
  bool display_on = false;

 private:
  void Command(uint8_t b);
  void Execute();
  void Data(uint8_t b);

  Chip chip_;
  std::array<std::array<uint8_t, 132>, 8> ram_{};
  // A command with arguments: its byte and the arguments still to come.
  uint8_t pending_ = 0;
  int args_left_ = 0;
  std::array<uint8_t, 8> args_{};
  int args_n_ = 0;

  int column_ = 0, page_ = 0;
  int addressing_ = 2;  // SSD1306: 0 horizontal, 1 vertical, 2 page (the reset state)
  int column_start_ = 0, column_end_ = 127, page_start_ = 0, page_end_ = 7;
  int start_line_ = 0, display_offset_ = 0;
  bool inverse_ = false, all_on_ = false, remap_ = false, com_reversed_ = false;
};

}  // namespace lorvan::lcd
