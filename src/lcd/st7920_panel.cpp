#include "lcd/st7920_panel.h"

namespace lorvan::lcd {

void St7920Panel::Write(const uint8_t* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = bytes[i];
    if (serial_step_ == 0) {
      // Sync: five ones, RW (reading is not wired: ignored), RS, a zero.
      if ((b & 0xF9) == 0xF8) {
        serial_data_ = b & 2;
        serial_step_ = 1;
      }
    } else if (serial_step_ == 1) {
      serial_high_ = b & 0xF0;
      serial_step_ = 2;
    } else {
      Byte(serial_data_, static_cast<uint8_t>(serial_high_ | (b >> 4)));
      serial_step_ = 0;
    }
  }
}

void St7920Panel::Byte(bool data, uint8_t b) {
  if (data) {
    if (!gdram_selected_) return;  // text into the character RAM
    if (!low_byte_) {
      high_byte_ = b;
      low_byte_ = true;
      return;
    }
    gdram_[vertical_][horizontal_] = static_cast<uint16_t>(high_byte_ << 8 | b);
    low_byte_ = false;
    horizontal_ = (horizontal_ + 1) % 16;
    return;
  }
  if ((b & 0xE0) == 0x20) {
    // Function set: RE chooses the instruction set; G (extended only) the graphic display.
    extended = b & 4;
    vertical_next_ = true;
    if (extended) graphic_on = b & 2;
    return;
  }
  if (extended) {
    if (b & 0x80) {
      if (vertical_next_) {
        vertical_ = b & 0x1F;
      } else {
        horizontal_ = b & 0x0F;
        gdram_selected_ = true;
        low_byte_ = false;
      }
      vertical_next_ = !vertical_next_;
    }
    return;
  }
  if (b & 0x80) {
    gdram_selected_ = false;  // a character RAM address
    vertical_next_ = true;
  } else if ((b & 0xF8) == 0x08) {
    display_on = b & 4;
  } else if (b == 0x01) {
    gdram_selected_ = false;  // clear: the character RAM only
  }
}

bool St7920Panel::Pixel(int x, int y) const {
  if (!display_on || !graphic_on || x < 0 || x >= kWidth || y < 0 || y >= kHeight) return false;
  const uint16_t word = gdram_[y % 32][x / 16 + (y >= 32 ? 8 : 0)];
  return (word >> (15 - x % 16)) & 1;
}

}  // namespace lorvan::lcd
