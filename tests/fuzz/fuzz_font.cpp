// Fuzzes the font file: any input loads (fully or up to its first bad line) without a crash, a
// second load of the same file leaves the same glyph table, and drawing every code with the
// glyphs stays inside the picture.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "lcd/glcd.h"
#include "lcd/picture.h"
#include "null_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lorvan::fuzz::NullWorld world;
  const std::string path = "/box/Fonts/Normal.fnt";
  world.files.files[path] = std::string(reinterpret_cast<const char*>(data), size);
  lorvan::lcd::gLCD lcd(world.platform);
  const bool ok = lcd.LoadFont(path);
  const auto first = lcd.gsFontGlyph;
  if (lcd.LoadFont(path) != ok || lcd.gsFontGlyph != first) std::abort();
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  lorvan::lcd::Picture picture;
  lcd.DrawText(picture, all, 0, 0);
  lcd.DrawText(picture, std::string(reinterpret_cast<const char*>(data), size < 64 ? size : 64), -5, 58);
  return 0;
}
