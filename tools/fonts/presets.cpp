#include "fonts/presets.h"

#include <array>

namespace lorvan::fonttools {
namespace {

FontPreset Normal() {
  FontPreset p;
  p.name = "normal";
  p.source_file = "5x8.pcf.gz";
  p.output_file = "Normal.fnt";
  p.options.codes = ParseCodeList("32-126,128-255");
  p.options.blank_width = 2;
  // The source's full stop is a small cross reaching below the line; a 2 x 2 dot on the line
  // reads better in file names.
  p.options.overrides = {{'.', "006006"}};
  p.options.header = {
      "Lorvan normal font: folder title, browser lines and help pages.",
      "Made by tools/fonts (lorvan-fontconv --preset normal) from 5x8.pcf.gz of xfonts-base",
      "(misc-fixed, public domain). Codes 128-159 hold the Windows-1252 characters.",
      "Each line: the character code in three digits, then one three-digit value per pixel",
      "column, the top row worth 128 and the bottom row 1.",
  };
  return p;
}

FontPreset Small() {
  FontPreset p;
  p.name = "small";
  p.source_file = "4x6.pcf.gz";
  p.output_file = "Small.fnt";
  p.options.codes = ParseCodeList("32,45,47-58,91,93,98,107");
  p.options.blank_width = 2;
  p.options.tabular_digits = true;
  p.options.header = {
      "Lorvan small font: the status line. Glyphs use the top six rows only, so text drawn",
      "at the panel's row 58 is whole.",
      "Made by tools/fonts (lorvan-fontconv --preset small) from 4x6.pcf.gz of xfonts-base",
      "(misc-fixed, public domain).",
  };
  return p;
}

}  // namespace

const FontPreset* FindPreset(const std::string& name) {
  static const std::array<FontPreset, 2> presets = {Normal(), Small()};
  for (const auto& p : presets)
    if (p.name == name) return &p;
  return nullptr;
}

}  // namespace lorvan::fonttools
