#pragma once
// The pixels of a picture as a 32-bit top-down device-independent bitmap, for the preview.
#include <cstdint>
#include <vector>

#include "lcd/picture.h"

namespace lorvan::win32 {

// One 32-bit value per pixel, rows from the top: the bytes blue, green, red, unused in memory,
// that is 0x00RRGGBB, converted from the picture's 0xBBGGRR colours.
std::vector<uint32_t> PreviewPixels(const lcd::Picture& picture);

}  // namespace lorvan::win32
