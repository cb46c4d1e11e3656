#include "fonts/fnt_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <sstream>

namespace lorvan::fonttools {
namespace {

constexpr int kRows = 8;

// Windows-1252 characters of codes 128 to 159; 0 where the code page defines none.
constexpr std::array<uint32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

struct Columns {
  std::array<int, 64> value{};  // indexed by cell column + 16
  std::optional<std::pair<int, int>> ink;  // first and last cell column with ink
};

Columns Rasterise(const PcfFont& font, const Glyph& g, int code, std::vector<std::string>& warnings) {
  Columns c;
  bool cut = false;
  for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
    const int row = font.font_ascent - g.ascent + r;
    for (int x = 0; x < g.width; ++x) {
      if (!g.rows[r][x]) continue;
      const int col = g.left + x;
      if (row < 0 || row >= kRows || col < -16 || col >= 48) {
        cut = true;
        continue;
      }
      c.value[col + 16] |= 128 >> row;
      if (!c.ink) {
        c.ink = {col, col};
      } else {
        c.ink->first = std::min(c.ink->first, col);
        c.ink->second = std::max(c.ink->second, col);
      }
    }
  }
  if (cut) warnings.push_back("character " + std::to_string(code) + ": ink outside the 8-row cell was cut off");
  return c;
}

std::string Three(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%03d", v);
  return buf;
}

}  // namespace

uint32_t CodePointOf(int code, bool cp1252) {
  if (cp1252 && code >= 128 && code < 160) return kCp1252High[code - 128];
  return static_cast<uint32_t>(code);
}

std::vector<int> ParseCodeList(const std::string& list) {
  std::vector<int> codes;
  std::stringstream ss(list);
  for (std::string part; std::getline(ss, part, ',');) {
    int a = 0, b = 0;
    char tail = 0;
    if (std::sscanf(part.c_str(), "%d-%d%c", &a, &b, &tail) == 2) {
    } else if (std::sscanf(part.c_str(), "%d%c", &a, &tail) == 1) {
      b = a;
    } else {
      throw FontError("bad code range \"" + part + "\"");
    }
    if (a < 0 || b > 255 || a > b) throw FontError("code range \"" + part + "\" is outside 0-255");
    for (int c = a; c <= b; ++c) codes.push_back(c);
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

FntResult MakeFnt(const PcfFont& font, const FntOptions& options) {
  FntResult out;
  std::vector<std::pair<int, Columns>> chars;
  std::optional<std::pair<int, int>> digit_span;
  for (int code : options.codes) {
    const uint32_t cp = CodePointOf(code, options.cp1252);
    const Glyph* g = cp ? font.Find(cp) : nullptr;
    if (!g) {
      if (cp == 0) continue;  // the code page defines no character here
      out.warnings.push_back("character " + std::to_string(code) + ": not in the source font");
      continue;
    }
    Columns c = Rasterise(font, *g, code, out.warnings);
    if (options.tabular_digits && code >= '0' && code <= '9' && c.ink) {
      if (!digit_span) {
        digit_span = c.ink;
      } else {
        digit_span->first = std::min(digit_span->first, c.ink->first);
        digit_span->second = std::max(digit_span->second, c.ink->second);
      }
    }
    chars.emplace_back(code, c);
  }

  for (const auto& line : options.header) out.text += "# " + line + "\r\n";
  for (const auto& [code, c] : chars) {
    std::string glyph;
    std::optional<std::pair<int, int>> span = c.ink;
    if (options.tabular_digits && code >= '0' && code <= '9' && digit_span) span = digit_span;
    if (auto o = options.overrides.find(code); o != options.overrides.end()) {
      glyph = o->second;
    } else if (span) {
      for (int col = span->first; col <= span->second; ++col) glyph += Three(c.value[col + 16]);
    } else {
      for (int i = 0; i < options.blank_width; ++i) glyph += "000";
    }
    out.text += Three(code) + glyph + "\r\n";
  }
  return out;
}

}  // namespace lorvan::fonttools
