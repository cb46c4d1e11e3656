#include "hosts/win32/lcd_preview.h"

#include <cstddef>

namespace lorvan::win32 {

std::vector<uint32_t> PreviewPixels(const lcd::Picture& picture) {
  const auto& src = picture.Pixels();
  std::vector<uint32_t> out(src.size());
  for (std::size_t i = 0; i < src.size(); ++i) {
    const auto c = static_cast<uint32_t>(src[i]);
    const uint32_t red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
    out[i] = (red << 16) | (green << 8) | blue;
  }
  return out;
}

}  // namespace lorvan::win32
