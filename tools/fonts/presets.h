#pragma once
// The two fonts the program ships, as made from Debian's misc-fixed fonts (xfonts-base).
#include <string>

#include "fonts/fnt_writer.h"

namespace lorvan::fonttools {

struct FontPreset {
  std::string name;         // "normal" or "small"
  std::string source_file;  // file name in the X11 misc font folder
  std::string output_file;  // file name in data/Fonts
  FntOptions options;
};

constexpr const char* kX11MiscFolder = "/usr/share/fonts/X11/misc";

// The preset by name, or nullptr.
const FontPreset* FindPreset(const std::string& name);

}  // namespace lorvan::fonttools
