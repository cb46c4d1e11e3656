#include "panel_rig.h"

#include <sstream>

namespace lorvan::testing {

Dumps ParseDumps(const std::string& out) {
  Dumps dumps;
  std::istringstream in(out);
  Picture picture;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && (line[0] == '#' || line[0] == '.')) {
      picture.push_back(line);
      if (picture.size() == 64) dumps.pictures.push_back(std::move(picture)), picture.clear();
    } else if (!dumps.pictures.empty()) {
      int address = 0, value = 0;
      std::istringstream(line) >> address >> value;
      dumps.port.emplace_back(address, value);
    }
  }
  return dumps;
}

Picture PictureOf(const std::function<bool(int, int)>& pixel) {
  Picture rows(64, std::string(128, '.'));
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      if (pixel(x, y)) rows[y][x] = '#';
    }
  }
  return rows;
}

Rig::Rig(const std::string& kind, uint32_t st7920_hz) {
  using Chip = lcd::OledPanel::Chip;
  if (kind == "st7920-spi") {
    back_end = std::make_unique<linuxhost::St7920BackEnd>(*this, st7920_hz, [](int) {});
  } else if (kind == "ks0108-gpio") {
    ks0108_ = std::make_unique<lcd::ks0108::Panel>(lcd::kFirstParallelPort);
    gpio = std::make_unique<linuxhost::Ks0108GpioPort>(*this, lcd::kFirstParallelPort);
  } else {
    const Chip chip = kind == "sh1106-i2c" ? Chip::kSh1106 : Chip::kSsd1306;
    oled_ = std::make_unique<lcd::OledPanel>(chip);
    if (kind == "ssd1306-spi") {
      link_ = std::make_unique<linuxhost::SpiOledLink>(*this, *this);
    } else {
      link_ = std::make_unique<linuxhost::I2cOledLink>(*this);
    }
    back_end = std::make_unique<linuxhost::OledBackEnd>(chip, *link_);
  }
}

bool Rig::Write(const uint8_t* bytes, size_t n) {
  bad_framing += !oled_->WriteI2c(bytes, n);
  return true;
}

bool Rig::Transfer(const uint8_t* bytes, size_t n) {
  if (oled_) {
    oled_->Write(levels_.at(0), bytes, n);  // the SPI OLED's first line is D/C
  } else {
    st7920_.Write(bytes, n);
  }
  return true;
}

bool Rig::Set(const std::vector<int>& values) {
  levels_ = values;
  if (ks0108_) {
    // The lines' levels back into the port writes that would put them on the connector.
    int data = 0;
    for (int bit = 0; bit < 8; ++bit) data |= values[bit] << bit;
    const int control = (values[8] ? 0 : lcd::kEnableBit) | (values[9] ? 0 : lcd::kLeftSelectBit) |
                        (values[10] ? lcd::kRightSelectBit : 0) | (values[11] ? 0 : lcd::kInstructionBit);
    ks0108_->Out(lcd::kFirstParallelPort + lcd::kDataRegister, data);
    ks0108_->Out(lcd::kFirstParallelPort + lcd::kControlRegister, control);
  }
  return true;
}

bool Rig::Pixel(int x, int y) const {
  if (ks0108_) return ks0108_->Pixel(x, y);
  return oled_ ? oled_->Pixel(x, y) : st7920_.Pixel(x, y);
}

}  // namespace lorvan::testing
