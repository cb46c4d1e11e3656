#pragma once
// Plain PBM ("P1") bitmaps: the text format the LCD bitmaps ship in.
#include <string>
#include <string_view>
#include <vector>

#include "lcd/picture.h"

namespace lorvan::lcd {

// Reads a plain PBM: "P1", width, height, then one digit per pixel row by row, 1 black and
// 0 white; "#" starts a comment that runs to the end of its line. Throws platform::FileError
// with a message naming the file (name) and the line of the problem.
Picture ParsePbm(std::string_view bytes, const std::string& name);

// Writes a picture as plain PBM, set pixels as 1, comment lines first, one pixel row a line.
std::string WritePbm(const Picture& picture, const std::vector<std::string>& comments = {});

}  // namespace lorvan::lcd
