#include "lcd/oled_panel.h"

namespace lorvan::lcd {

OledPanel::OledPanel(Chip chip) : chip_(chip) { column_end_ = RamColumns() - 1; }

void OledPanel::Write(bool data, const uint8_t* bytes, size_t n) {
  for (size_t i = 0; i < n; ++i) data ? Data(bytes[i]) : Command(bytes[i]);
}

bool OledPanel::WriteI2c(const uint8_t* bytes, size_t n) {
  size_t i = 0;
  while (i < n) {
    const uint8_t control = bytes[i++];
    if (control & 0x3F) return false;
    const bool data = control & 0x40;
    if (control & 0x80) {
      // Co set: one byte, then another control byte.
      if (i == n) return false;
      Write(data, bytes + i, 1);
      ++i;
    } else {
      Write(data, bytes + i, n - i);
      return true;
    }
  }
  return true;
}

void OledPanel::Data(uint8_t b) {
  if (args_left_ > 0) return;  // data in the middle of a command is lost
  if (page_ < 8 && column_ < RamColumns()) ram_[page_][column_] = b;
  if (chip_ == Chip::kSsd1306 && addressing_ == 0) {
    if (++column_ > column_end_) {
      column_ = column_start_;
      page_ = page_ >= page_end_ ? page_start_ : page_ + 1;
    }
  } else if (chip_ == Chip::kSsd1306 && addressing_ == 1) {
    if (++page_ > page_end_) {
      page_ = page_start_;
      column_ = column_ >= column_end_ ? column_start_ : column_ + 1;
    }
  } else {
    // Page addressing: the column counts up within the page and wraps.
    column_ = (column_ + 1) % RamColumns();
  }
}

void OledPanel::Command(uint8_t b) {
  if (args_left_ > 0) {
    args_[args_n_++] = b;
    if (--args_left_ == 0) Execute();
    return;
  }
  pending_ = b;
  args_n_ = 0;
  int args = 0;
  switch (b) {
    case 0x81: case 0xA8: case 0xD3: case 0xD5: case 0xD9: case 0xDA: case 0xDB: args = 1; break;
    default: break;
  }
  if (chip_ == Chip::kSsd1306) {
    switch (b) {
      case 0x20: case 0x8D: args = 1; break;
      case 0x21: case 0x22: case 0xA3: args = 2; break;
      case 0x29: case 0x2A: args = 5; break;
      case 0x26: case 0x27: args = 6; break;
      default: break;
    }
  } else if (b == 0xAD) {
    args = 1;  // SH1106 DC-DC control
  }
  args_left_ = args;
  if (args == 0) Execute();
}

void OledPanel::Execute() {
  const uint8_t b = pending_;
  if (b <= 0x0F) {
    column_ = (column_ & 0xF0) | b;
  } else if (b <= 0x1F) {
    column_ = (column_ & 0x0F) | ((b & 0x0F) << 4);
  } else if (chip_ == Chip::kSsd1306 && b == 0x20) {
    addressing_ = args_[0] & 3;
  } else if (chip_ == Chip::kSsd1306 && b == 0x21) {
    column_start_ = column_ = args_[0] & 0x7F;
    column_end_ = args_[1] & 0x7F;
  } else if (chip_ == Chip::kSsd1306 && b == 0x22) {
    page_start_ = page_ = args_[0] & 7;
    page_end_ = args_[1] & 7;
  } else if (b >= 0x40 && b <= 0x7F) {
    start_line_ = b & 0x3F;
  } else if (b == 0xA0 || b == 0xA1) {
    remap_ = b & 1;
  } else if (b == 0xA4 || b == 0xA5) {
    all_on_ = b & 1;
  } else if (b == 0xA6 || b == 0xA7) {
    inverse_ = b & 1;
  } else if (b == 0xAE || b == 0xAF) {
    display_on = b & 1;
  } else if (b >= 0xB0 && b <= 0xB7) {
    page_ = b & 7;
  } else if (b == 0xC0 || b == 0xC8) {
    com_reversed_ = b & 8;
  } else if (b == 0xD3) {
    display_offset_ = args_[0] & 0x3F;
  }
  // The rest (contrast, clocks, charge pump, scrolling off, ...) does not change the picture.
}

bool OledPanel::Pixel(int x, int y) const {
  if (!display_on || x < 0 || x >= kWidth || y < 0 || y >= kHeight) return false;
  if (all_on_) return true;
  // Without the remap the picture comes out mirrored, without the reversed scan upside down.
  const int column = remap_ ? x + ColumnOffset() : RamColumns() - 1 - ColumnOffset() - x;
  const int row = ((com_reversed_ ? y : kHeight - 1 - y) + start_line_ + display_offset_) % kHeight;
  const bool lit = (ram_[row / 8][column] >> (row % 8)) & 1;
  return lit != inverse_;
}

}  // namespace lorvan::lcd
