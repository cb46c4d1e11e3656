#pragma once
// The LCD picture as text: every one of the 128 x 64 pixels shows, as braille dots (2 x 4
// pixels a character), as half blocks (1 x 2), or in plain ASCII where the terminal has no
// UTF-8 (2 x 4 pixels a character, as dense as the pixels are).
#include <functional>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

enum class PreviewStyle { kBraille, kHalfBlock, kAscii };

// Characters across and lines down for a picture of width x height pixels.
int PreviewColumns(PreviewStyle style, int width);
int PreviewRows(PreviewStyle style, int height);

// One UTF-8 (or ASCII) line per text row; dark(x, y) tells a set pixel.
std::vector<std::string> RenderPreview(const std::function<bool(int x, int y)>& dark, int width, int height,
                                       PreviewStyle style);

}  // namespace lorvan::linuxhost
