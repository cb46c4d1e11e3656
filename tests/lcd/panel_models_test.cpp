// The OLED and ST7920 panel models against byte streams written from the datasheets' command
// tables: which RAM bit lights which pixel of the glass.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lcd/oled_panel.h"
#include "lcd/st7920_panel.h"
#include "support/program_folder.h"

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

// Bytes written as hex pairs with blanks between them.
Bytes Hex(const std::string& text) {
  std::istringstream in(text);
  Bytes out;
  for (int b; in >> std::hex >> b;) out.push_back(static_cast<uint8_t>(b));
  return out;
}

// The cases of this and the ST7920's test are in tables/panel_models.json: writes in hex bytes
// (the ST7920's after "instruction" or "data", following 30 0C 34 36), and the pixels lit.
TEST(OledPanel, I2cWritesLightTheAddressedPixels) {
  for (const auto& c : testing::Table("lcd/tables/panel_models.json", "oled: what, chip, I2C writes, lit")) {
    OledPanel panel(c[1] == "SH1106" ? OledPanel::Chip::kSh1106 : OledPanel::Chip::kSsd1306);
    for (const auto& w : c[2]) {
      const Bytes bytes = Hex(w);
      EXPECT_TRUE(panel.WriteI2c(bytes.data(), bytes.size())) << c[0];
    }
    const auto lit = c[3].get<std::vector<std::pair<int, int>>>();
    EXPECT_EQ(Lit([&](int x, int y) { return panel.Pixel(x, y); }), lit) << c[0];
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

// Bytes to the ST7920 in its serial frame: sync (instruction or data), high nibble, low nibble.
Bytes Serial(const std::string& kind_and_hex) {
  const size_t blank = kind_and_hex.find(' ');
  Bytes out;
  for (uint8_t b : Hex(kind_and_hex.substr(blank + 1))) {
    out.push_back(kind_and_hex.substr(0, blank) == "data" ? 0xFA : 0xF8);
    out.push_back(b & 0xF0);
    out.push_back(static_cast<uint8_t>(b << 4));
  }
  return out;
}

TEST(St7920Panel, GraphicRamInItsTwoHalves) {
  const Bytes init = Serial("instruction 30 0C 34 36");
  for (const auto& c : testing::Table("lcd/tables/panel_models.json", "st7920: what, serial writes, lit")) {
    St7920Panel panel;
    panel.Write(init.data(), init.size());
    for (const auto& w : c[1]) {
      const Bytes bytes = Serial(w);
      panel.Write(bytes.data(), bytes.size());
    }
    const auto lit = c[2].get<std::vector<std::pair<int, int>>>();
    EXPECT_EQ(Lit([&](int x, int y) { return panel.Pixel(x, y); }), lit) << c[0];
  }
}

}  // namespace
}  // namespace lorvan::lcd
