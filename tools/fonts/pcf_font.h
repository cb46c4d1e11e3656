#pragma once
// A reader for X11 PCF bitmap fonts (optionally gzip-compressed), as Debian's xfonts-base
// ships them, reduced to what the font tools need: each glyph's ink as rows of pixels.
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace lorvan::fonttools {

class FontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Glyph {
  int left = 0;     // x of the bitmap's first column relative to the origin
  int ascent = 0;   // rows above the baseline
  int descent = 0;  // rows below the baseline
  int width = 0;    // columns of the bitmap
  int advance = 0;  // the character's cell width
  std::vector<std::vector<bool>> rows;  // ascent + descent rows of width pixels, top first

  bool Ink(int x, int row) const { return row >= 0 && row < static_cast<int>(rows.size()) && x >= 0 && x < width && rows[row][x]; }
};

class PcfFont {
 public:
  // Reads a .pcf or .pcf.gz file; throws FontError naming the file and the problem.
  static PcfFont Load(const std::string& path);
  // Parses the bytes of an uncompressed PCF file; name is used in error messages.
  static PcfFont Parse(const std::string& bytes, const std::string& name);

  int font_ascent = 0;
  int font_descent = 0;
  // Glyphs by code point (the encoding table of the file).
  std::map<uint32_t, Glyph> glyphs;

  const Glyph* Find(uint32_t code_point) const {
    auto it = glyphs.find(code_point);
    return it == glyphs.end() ? nullptr : &it->second;
  }
};

// The whole content of a file, gunzipped when it is gzip-compressed; throws FontError.
std::string ReadMaybeGzip(const std::string& path);

}  // namespace lorvan::fonttools
