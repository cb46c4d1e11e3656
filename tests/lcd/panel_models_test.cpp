// The OLED and ST7920 panel models against byte streams written from the datasheets' command
// tables: which RAM bit lights which pixel of the glass.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "lcd/oled_panel.h"
#include "lcd/st7920_panel.h"

namespace lorvan::lcd {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::pair<int, int>> Lit(const std::function<bool(int, int)>& pixel) {
  std::vector<std::pair<int, int>> lit;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x)
      if (pixel(x, y)) lit.emplace_back(x, y);
  return lit;
}

TEST(OledPanel, I2cWritesLightTheAddressedPixels) {
  using Chip = OledPanel::Chip;
  const Bytes upright = {0x00, 0xA1, 0xC8, 0xAF};
  const struct {
    const char* what;
    Chip chip;
    std::vector<Bytes> writes;
    std::vector<std::pair<int, int>> lit;
  } cases[] = {
      {"page 0 column 0 bit 0", Chip::kSsd1306, {upright, {0x00, 0xB0, 0x00, 0x10}, {0x40, 0x01}}, {{0, 0}}},
      {"page 7 column 127 bit 7", Chip::kSsd1306, {upright, {0x00, 0xB7, 0x0F, 0x17}, {0x40, 0x80}}, {{127, 63}}},
      {"column nibbles and counting up", Chip::kSsd1306,
       {upright, {0x00, 0xB2, 0x05, 0x13}, {0x40, 0x02, 0x02}}, {{53, 17}, {54, 17}}},
      {"Co bit: one command, then data", Chip::kSsd1306, {upright, {0x80, 0xB1, 0x80, 0x00, 0x40, 0x10}}, {{0, 12}}},
      {"horizontal addressing wraps into the next page", Chip::kSsd1306,
       {upright, {0x00, 0x20, 0x00, 0x21, 126, 127, 0x22, 0, 1}, {0x40, 0x01, 0x01, 0x01}},
       {{126, 0}, {127, 0}, {126, 8}}},
      {"display off shows nothing", Chip::kSsd1306, {upright, {0x00, 0xAE}, {0x40, 0xFF}}, {}},
      {"SH1106: RAM column 2 is the first on the glass", Chip::kSh1106,
       {upright, {0x00, 0xB0, 0x02, 0x10}, {0x40, 0x01}}, {{0, 0}}},
      {"SH1106: columns 0, 1 and 130 are not on the glass", Chip::kSh1106,
       {upright, {0x00, 0xB0, 0x00, 0x10}, {0x40, 0x01, 0x01}, {0x00, 0x02, 0x18}, {0x40, 0x01}}, {}},
      {"no remap: mirrored", Chip::kSsd1306, {{0x00, 0xA0, 0xC8, 0xAF, 0xB0, 0x00, 0x10}, {0x40, 0x01}}, {{127, 0}}},
  };
  for (const auto& c : cases) {
    OledPanel panel(c.chip);
    for (const auto& w : c.writes) EXPECT_TRUE(panel.WriteI2c(w.data(), w.size())) << c.what;
    EXPECT_EQ(Lit([&](int x, int y) { return panel.Pixel(x, y); }), c.lit) << c.what;
  }
}

TEST(OledPanel, InverseLightsEveryPixelAndBrokenFramingIsCaught) {
  OledPanel panel(OledPanel::Chip::kSsd1306);
  const Bytes on = {0x00, 0xA1, 0xC8, 0xAF, 0xA7};
  panel.WriteI2c(on.data(), on.size());
  EXPECT_EQ(Lit([&](int x, int y) { return panel.Pixel(x, y); }).size(), 128u * 64);
  const Bytes framing = {0x40};
  EXPECT_TRUE(panel.WriteI2c(framing.data(), framing.size()));
  const Bytes broken = {0x01, 0xAF};
  EXPECT_FALSE(panel.WriteI2c(broken.data(), broken.size())) << "a control byte with its low bits set";
}

// One byte to the ST7920 in its serial frame: sync, high nibble, low nibble.
Bytes Serial(bool data, std::initializer_list<uint8_t> bytes) {
  Bytes out;
  for (uint8_t b : bytes) {
    out.push_back(data ? 0xFA : 0xF8);
    out.push_back(b & 0xF0);
    out.push_back(static_cast<uint8_t>(b << 4));
  }
  return out;
}

TEST(St7920Panel, GraphicRamInItsTwoHalves) {
  const Bytes init = [] {
    Bytes b = Serial(false, {0x30, 0x0C, 0x34, 0x36});
    return b;
  }();
  const struct {
    const char* what;
    std::vector<Bytes> writes;
    std::vector<std::pair<int, int>> lit;
  } cases[] = {
      {"row 0 word 0: the high byte's top bit is x 0", {Serial(false, {0x80, 0x80}), Serial(true, {0x80, 0x00})}, {{0, 0}}},
      {"the low byte's bottom bit is x 15", {Serial(false, {0x85, 0x80}), Serial(true, {0x00, 0x01})}, {{15, 5}}},
      {"horizontal 8 is the lower half", {Serial(false, {0x80, 0x88}), Serial(true, {0x80, 0x00})}, {{0, 32}}},
      {"the horizontal address counts up", {Serial(false, {0x9F, 0x87}), Serial(true, {0x00, 0x01, 0x80, 0x00})},
       {{127, 31}, {0, 63}}},
      {"graphic display off", {Serial(false, {0x34, 0x80, 0x80}), Serial(true, {0xFF, 0xFF})}, {}},
      {"text data is not graphic", {Serial(false, {0x30, 0x80}), Serial(true, {'A', 'B'})}, {}},
  };
  for (const auto& c : cases) {
    St7920Panel panel;
    panel.Write(init.data(), init.size());
    for (const auto& w : c.writes) panel.Write(w.data(), w.size());
    EXPECT_EQ(Lit([&](int x, int y) { return panel.Pixel(x, y); }), c.lit) << c.what;
  }
}

}  // namespace
}  // namespace lorvan::lcd
