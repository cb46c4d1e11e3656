#include "lcd/ks0108_panel.h"

namespace lorvan::lcd::ks0108 {

void Controller::Latch(bool di, uint8_t bus) {
  if (di) {
    ram[page][column] = bus;
    column = static_cast<uint8_t>((column + 1) % 64);
    return;
  }
  if ((bus & 0xFE) == 0x3E) {
    display_on = bus & 1;
  } else if ((bus & 0xC0) == 0x40) {
    column = bus & 0x3F;
  } else if ((bus & 0xF8) == 0xB8) {
    page = bus & 0x07;
  } else if ((bus & 0xC0) == 0xC0) {
    start_line = bus & 0x3F;
  }
  // Other bytes are no instruction of the controller and change nothing.
}

bool Controller::Pixel(int x, int y) const {
  if (!display_on || x < 0 || x >= 64 || y < 0 || y >= 64) return false;
  const int line = (y + start_line) % 64;
  return (ram[line / 8][x] >> (line % 8)) & 1;
}

void Panel::Out(int port, int value) {
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  if (port == base_ + kDataRegister) {
    data_ = byte;
  } else if (port == base_ + kControlRegister) {
    WriteControl(byte);
  }
}

void Panel::WriteControl(uint8_t value) {
  // Connector levels: the enable, left select and instruction bits are inverted by the port.
  const bool enable = !(value & kEnableBit);
  const bool cs_left = !(value & kLeftSelectBit);
  const bool cs_right = value & kRightSelectBit;
  const bool di = !(value & kInstructionBit);
  const bool falling = enable_ && !enable;
  enable_ = enable;
  if (!falling) return;
  if (cs_left) chips_[0].Latch(di, data_);
  if (cs_right) chips_[1].Latch(di, data_);
}

bool Panel::Pixel(int x, int y) const {
  if (x < 0 || x >= kWidth) return false;
  return x < 64 ? chips_[0].Pixel(x, y) : chips_[1].Pixel(x - 64, y);
}

}  // namespace lorvan::lcd::ks0108
