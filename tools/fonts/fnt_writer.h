#pragma once
// Turns a PCF bitmap font into the program's font-file format: one line per character, the
// three-digit character code followed by three-digit column values (top row = 128).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fonts/pcf_font.h"

namespace lorvan::fonttools {

struct FntOptions {
  // Character codes of the file (the program's single-byte code page).
  std::vector<int> codes;
  // Codes 128 to 159 take the Windows-1252 characters; elsewhere code = code point.
  bool cp1252 = true;
  // Columns of a character without ink (blank, no-break space); 0 leaves it empty.
  int blank_width = 2;
  // The digits 0-9 share one set of columns, so numbers keep their width as they change.
  bool tabular_digits = false;
  // Glyph texts that replace the converted ones, by code (designs that read better on the panel).
  std::map<int, std::string> overrides;
  // Comment lines written at the top of the file.
  std::vector<std::string> header;
};

struct FntResult {
  std::string text;                   // the file, CR LF line ends
  std::vector<std::string> warnings;  // missing characters, ink cut off below row 8
};

// The code point that a single-byte code stands for.
uint32_t CodePointOf(int code, bool cp1252);

// Parses "32-126,160-255" into codes; throws FontError on bad input.
std::vector<int> ParseCodeList(const std::string& list);

FntResult MakeFnt(const PcfFont& font, const FntOptions& options);

}  // namespace lorvan::fonttools
