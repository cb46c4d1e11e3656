#include "hosts/linux/lcd_preview.h"

namespace lorvan::linuxhost {
namespace {

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

int PreviewColumns(PreviewStyle style, int width) { return style == PreviewStyle::kHalfBlock ? width : (width + 1) / 2; }
int PreviewRows(PreviewStyle style, int height) {
  return style == PreviewStyle::kHalfBlock ? (height + 1) / 2 : (height + 3) / 4;
}

std::vector<std::string> RenderPreview(const std::function<bool(int x, int y)>& dark, int width, int height,
                                       PreviewStyle style) {
  const auto at = [&](int x, int y) { return x < width && y < height && dark(x, y); };
  std::vector<std::string> lines;
  if (style == PreviewStyle::kHalfBlock) {
    for (int y = 0; y < height; y += 2) {
      std::string line;
      for (int x = 0; x < width; ++x) {
        const bool top = at(x, y), bottom = at(x, y + 1);
        if (top && bottom) AppendUtf8(line, 0x2588);  // full block
        else if (top) AppendUtf8(line, 0x2580);       // upper half
        else if (bottom) AppendUtf8(line, 0x2584);    // lower half
        else line += ' ';
      }
      lines.push_back(std::move(line));
    }
    return lines;
  }
  // Braille dot bits by position in the 2 x 4 cell: left column 1 2 3 7, right 4 5 6 8.
  static const unsigned kDot[4][2] = {{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}};
  static const char kDensity[] = " .:-=+*#";
  for (int y = 0; y < height; y += 4) {
    std::string line;
    for (int x = 0; x < width; x += 2) {
      unsigned bits = 0;
      int count = 0;
      for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 2; ++c) {
          if (at(x + c, y + r)) {
            bits |= kDot[r][c];
            ++count;
          }
        }
      }
      if (style == PreviewStyle::kBraille) {
        AppendUtf8(line, 0x2800 + bits);
      } else {
        line += kDensity[count == 0 ? 0 : count >= 7 ? 7 : count];
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace lorvan::linuxhost
