// Bitmap fonts and text: the glyph table, font files and drawing text into a picture.
#include <optional>

#include "text/text_lines.h"
#include "lcd/glcd.h"

namespace lorvan::lcd {
namespace {

// A number of a font file: blanks around an optional sign and decimal digits.
std::optional<int32_t> FieldNumber(std::string_view s) {
  size_t i = 0, end = s.size();
  while (i < end && s[i] == ' ') ++i;
  while (end > i && s[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == end) return std::nullopt;
  int32_t v = 0;
  for (; i < end; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return negative ? -v : v;
}

bool IsBlankLine(std::string_view line, char& first) {
  const size_t at = line.find_first_not_of(' ');
  if (at == std::string_view::npos) return true;
  first = line[at];
  return false;
}

// The eight pixel rows of a column value, top row in bit 7: the first eight of its binary
// digits, so a value above 255 loses its low digits.
int32_t TopEightBits(int32_t v) {
  while (v > 255) v >>= 1;
  return v;
}

}  // namespace

gLCD::ParsedFont gLCD::ParseFont(std::string_view bytes) {
  ParsedFont font;
  for (const std::string& line : text::SplitLines(bytes)) {
    char first = 0;
    if (IsBlankLine(line, first) || first == '#') continue;
    if (line.size() < 3) return font;
    const std::optional<int32_t> code = FieldNumber(std::string_view(line).substr(0, 3));
    if (!code || *code < 0 || *code > 255) return font;
    font.glyphs[*code] = line.substr(3);
  }
  font.ok = true;
  return font;
}

bool gLCD::LoadFont(const std::string& path) {
  const std::optional<platform::FileStamp> stamp = platform_.files.Stat(path);
  auto cached = font_cache_.find(path);
  if (!stamp || cached == font_cache_.end() || !(cached->second.stamp == *stamp)) {
    if (cached != font_cache_.end()) font_cache_.erase(cached);
    std::string bytes;
    try {
      bytes = platform_.files.ReadFile(path);  // opens, reads and closes the file
    } catch (const platform::FileError&) {
      return false;
    }
    ParsedFont parsed = ParseFont(bytes);
    if (stamp) parsed.stamp = *stamp;
    cached = font_cache_.emplace(path, std::move(parsed)).first;
  }
  const ParsedFont& font = cached->second;
  for (size_t code = 0; code < font.glyphs.size(); ++code) {
    if (font.glyphs[code]) gsFontGlyph[code] = *font.glyphs[code];
  }
  const bool ok = font.ok;
  // A file that cannot be identified is not kept: the next load reads it again.
  if (!stamp) font_cache_.erase(cached);
  return ok;
}

std::string NumberToBinary(int32_t n) {
  std::string digits;
  for (uint32_t v = n > 0 ? static_cast<uint32_t>(n) : 0; v != 0; v >>= 1) digits.insert(digits.begin(), static_cast<char>('0' + (v & 1)));
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  return digits;
}

void CharacterCodes(std::string_view text, bool utf8, std::vector<int32_t>& codes) {
  codes.clear();
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const auto continuation = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
  for (size_t i = 0; i < text.size();) {
    const uint8_t b0 = byte(i);
    if (!utf8 || b0 < 0x80) {
      codes.push_back(b0);
      ++i;
      continue;
    }
    size_t len = 0;
    uint32_t cp = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF && continuation(i + 1)) {
      len = 2;
      cp = (b0 & 0x1Fu) << 6 | (byte(i + 1) & 0x3Fu);
    } else if (b0 >= 0xE0 && b0 <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
      const uint8_t b1 = byte(i + 1);
      const bool valid = (b0 != 0xE0 || b1 >= 0xA0) && (b0 != 0xED || b1 <= 0x9F);
      if (valid) {
        len = 3;
        cp = (b0 & 0x0Fu) << 12 | (b1 & 0x3Fu) << 6 | (byte(i + 2) & 0x3Fu);
      }
    } else if (b0 >= 0xF0 && b0 <= 0xF4 && continuation(i + 1) && continuation(i + 2) && continuation(i + 3)) {
      const uint8_t b1 = byte(i + 1);
      if ((b0 != 0xF0 || b1 >= 0x90) && (b0 != 0xF4 || b1 <= 0x8F)) {
        len = 4;
        cp = 0x10000;  // any code point of four bytes is above 255
      }
    }
    if (len == 0) {
      codes.push_back(b0);  // not UTF-8: the byte stands for itself
      ++i;
    } else {
      codes.push_back(cp > 255 ? '?' : static_cast<int32_t>(cp));
      i += len;
    }
  }
}

bool gLCD::DrawText(Picture& picture, std::string_view text, int32_t x, int32_t y, bool transparent, bool inverse) {
  const Colour fore = inverse ? kWhite : kBlack;
  const Colour back = inverse ? kBlack : kWhite;
  CharacterCodes(text, utf8_text, codes_);
  const size_t count = codes_.size();
  int32_t cx = x;
  for (size_t i = 0; i < count; ++i) {
    const std::string& glyph = gsFontGlyph[static_cast<size_t>(codes_[i])];
    const size_t columns = glyph.size() / 3;
    for (size_t c = 0; c < columns; ++c) {
      const std::optional<int32_t> n = FieldNumber(std::string_view(glyph).substr(3 * c, 3));
      if (!n || *n < 0) return false;  // not a column value: stop, keeping what was drawn
      const int32_t bits = TopEightBits(*n);
      for (int r = 0; r < 8; ++r) {
        if (bits & (128 >> r)) {
          picture.PSet(cx, y + r, fore);
        } else if (!transparent) {
          picture.PSet(cx, y + r, back);
        }
      }
      ++cx;
      // The gap column after every glyph column; the next column paints over it, so after
      // the last one it stays as the gap before the next character.
      if (i + 1 < count && !transparent) {
        for (int r = 0; r < 8; ++r) picture.PSet(cx, y + r, back);
      }
    }
    ++cx;
  }
  return true;
}

}  // namespace lorvan::lcd
