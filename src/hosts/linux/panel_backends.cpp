#include "hosts/linux/panel_backends.h"

namespace lorvan::linuxhost {

bool I2cOledLink::Send(bool data, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> write;
  write.reserve(bytes.size() + 1);
  write.push_back(data ? 0x40 : 0x00);
  write.insert(write.end(), bytes.begin(), bytes.end());
  this->bytes += static_cast<int64_t>(write.size()) + 1;  // and the address byte
  return bus_.Write(write.data(), write.size());
}

bool SpiOledLink::Send(bool data, const std::vector<uint8_t>& bytes) {
  this->bytes += static_cast<int64_t>(bytes.size());
  return lines_.Set({data ? 1 : 0, 1}) && bus_.Transfer(bytes.data(), bytes.size());
}

void SpiOledLink::Reset() {
  // RES# low for at least 3 us, then high (SSD1306 8.9, SH1106 power on sequence): a GPIO
  // request takes longer than that.
  lines_.Set({0, 0});
  lines_.Set({0, 1});
}

bool ModelOledLink::Send(bool data, const std::vector<uint8_t>& bytes) {
  model_.Write(data, bytes.data(), bytes.size());
  if (!real_) {
    this->bytes += static_cast<int64_t>(bytes.size());
    return true;
  }
  const bool ok = real_->Send(data, bytes);
  this->bytes = real_->bytes;
  return ok;
}

bool OledBackEnd::Init() {
  link_.Reset();
  valid_ = on_ = false;
  std::vector<uint8_t> init;
  if (chip_ == lcd::OledPanel::Chip::kSsd1306) {
    // The software initialisation flow of the SSD1306 datasheet (rev 1.1, application
    // example): display off, clock, multiplex 64, offset 0, start line 0, charge pump on
    // (8Dh 14h, which must come before display on: 8.9 power on sequence), page addressing,
    // segment remap and reversed COM scan (the modules' upright mounting), alternative COM
    // pins, contrast, pre-charge for the internal pump, VCOMH, scrolling off, the RAM shown,
    // not inverted. Display on (AFh) follows the first picture.
    init = {0xAE, 0xD5, 0x80, 0xA8, 0x3F, 0xD3, 0x00, 0x40, 0x8D, 0x14, 0x20, 0x02, 0xA1,
            0xC8, 0xDA, 0x12, 0x81, 0xCF, 0xD9, 0xF1, 0xDB, 0x40, 0x2E, 0xA4, 0xA6};
  } else {
    // SH1106 datasheet (V2.3), power on sequence and command table: display off, clock,
    // multiplex 64, offset 0, start line 0, DC-DC on (ADh 8Bh) before display on, pump
    // 8.0 V, segment remap and reversed COM scan, alternative COM pins, contrast,
    // pre-charge, VCOM, the RAM shown, not inverted. Display on follows the first picture.
    init = {0xAE, 0xD5, 0x80, 0xA8, 0x3F, 0xD3, 0x00, 0x40, 0xAD, 0x8B, 0x32, 0xA1,
            0xC8, 0xDA, 0x12, 0x81, 0x80, 0xD9, 0x22, 0xDB, 0x35, 0xA4, 0xA6};
  }
  return link_.Send(false, init);
}

bool OledBackEnd::Show(const PixelSource& pixel) {
  const int offset = chip_ == lcd::OledPanel::Chip::kSh1106 ? 2 : 0;
  bool ok = true;
  for (int page = 0; page < 8; ++page) {
    std::array<uint8_t, 128> want{};
    for (int x = 0; x < 128; ++x) {
      for (int bit = 0; bit < 8; ++bit) {
        if (pixel(x, page * 8 + bit)) want[x] |= static_cast<uint8_t>(1 << bit);
      }
    }
    // Runs of changed columns; a gap shorter than re-addressing costs is sent along.
    int x = 0;
    while (x < 128) {
      if (valid_ && want[x] == shown_[page][x]) {
        ++x;
        continue;
      }
      int end = x + 1, last = x;
      while (end < 128 && end - last <= 4) {
        if (!valid_ || want[end] != shown_[page][end]) last = end;
        ++end;
      }
      const int column = x + offset;
      ok &= link_.Send(false, {static_cast<uint8_t>(0xB0 | page), static_cast<uint8_t>(column & 0x0F),
                               static_cast<uint8_t>(0x10 | column >> 4)});
      ok &= link_.Send(true, std::vector<uint8_t>(want.begin() + x, want.begin() + last + 1));
      x = last + 1;
    }
    shown_[page] = want;
  }
  valid_ = ok;
  if (ok && !on_) on_ = ok = link_.Send(false, {0xAF});
  return ok;
}

St7920BackEnd::St7920BackEnd(SpiBus& bus, uint32_t hz, std::function<void(int)> wait_us)
    : bus_(bus), hz_(hz), wait_us_(std::move(wait_us)) {}

bool St7920BackEnd::Send(const std::vector<std::pair<bool, uint8_t>>& bytes) {
  std::vector<uint8_t> wire;
  for (const auto& [data, b] : bytes) {
    wire.push_back(data ? 0xFA : 0xF8);
    wire.push_back(b & 0xF0);
    wire.push_back(static_cast<uint8_t>(b << 4));
  }
  bytes_ += static_cast<int64_t>(wire.size());
  // Slow enough, the bus itself keeps the 72 us a byte; faster, each byte is sent alone
  // and followed by the rest of its time.
  if (hz_ <= 24 * 1000000 / 72 || !wait_us_) return bus_.Transfer(wire.data(), wire.size());
  const int rest = 72 - static_cast<int>(24LL * 1000000 / hz_);
  for (size_t i = 0; i < wire.size(); i += 3) {
    if (!bus_.Transfer(wire.data() + i, 3)) return false;
    wait_us_(rest);
  }
  return true;
}

bool St7920BackEnd::Init() {
  valid_ = false;
  // ST7920 datasheet (V4.0), initialisation in the 8-bit and serial modes: function set
  // (30h) twice, display on (0Ch), clear (01h, 1.6 ms), entry mode (06h); then the extended
  // set (34h) and, in it, the graphic display on (36h).
  auto wait = [&](int us) {
    if (wait_us_) wait_us_(us);
  };
  bool ok = true;
  for (const auto& [b, us] : std::vector<std::pair<uint8_t, int>>{
           {0x30, 100}, {0x30, 37}, {0x0C, 100}, {0x01, 1600}, {0x06, 72}, {0x34, 72}, {0x36, 72}}) {
    ok &= Send({{false, b}});
    wait(us);
  }
  return ok;
}

bool St7920BackEnd::Show(const PixelSource& pixel) {
  bool ok = true;
  for (int row = 0; row < 32; ++row) {
    std::array<uint16_t, 16> want{};
    for (int h = 0; h < 16; ++h) {
      const int y = row + (h >= 8 ? 32 : 0);
      for (int bit = 0; bit < 16; ++bit) {
        if (pixel((h % 8) * 16 + bit, y)) want[h] |= static_cast<uint16_t>(0x8000 >> bit);
      }
    }
    int h = 0;
    while (h < 16) {
      if (valid_ && want[h] == shown_[row][h]) {
        ++h;
        continue;
      }
      // Re-addressing costs two words' bytes: a gap of one unchanged word is sent along.
      int end = h + 1, last = h;
      while (end < 16 && end - last <= 2) {
        if (!valid_ || want[end] != shown_[row][end]) last = end;
        ++end;
      }
      std::vector<std::pair<bool, uint8_t>> bytes{{false, static_cast<uint8_t>(0x80 | row)},
                                                  {false, static_cast<uint8_t>(0x80 | h)}};
      for (int i = h; i <= last; ++i) {
        bytes.push_back({true, static_cast<uint8_t>(want[i] >> 8)});
        bytes.push_back({true, static_cast<uint8_t>(want[i] & 0xFF)});
      }
      ok &= Send(bytes);
      h = last + 1;
    }
    shown_[row] = want;
  }
  valid_ = ok;
  return ok;
}

Ks0108GpioPort::Ks0108GpioPort(GpioLines& lines, int base_port)
    : lines_(lines), base_(base_port), levels_(kKs0108GpioPins.size(), 0) {}

void Ks0108GpioPort::Out32(int16_t port, int16_t value) {
  std::vector<int> levels = levels_;
  if (port == base_ + lcd::kDataRegister) {
    for (int bit = 0; bit < 8; ++bit) levels[bit] = (value >> bit) & 1;
  } else if (port == base_ + lcd::kControlRegister) {
    // The parallel port inverts bits 0, 1 and 3 at its connector; the lines carry the levels
    // the connector would.
    levels[8] = !(value & lcd::kEnableBit);
    levels[9] = !(value & lcd::kLeftSelectBit);
    levels[10] = (value & lcd::kRightSelectBit) != 0;
    levels[11] = !(value & lcd::kInstructionBit);
  } else {
    return;
  }
  if (levels == levels_) return;
  levels_ = levels;
  if (!lines_.Set(levels_)) failed_ = true;
}

}  // namespace lorvan::linuxhost
