#include "lcd/picture.h"

#include <cstdlib>

namespace lorvan::lcd {

Picture::Picture(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, kWhite) {}

Colour Picture::Point(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Picture::PSet(int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Picture::Line(int x1, int y1, int x2, int y2, Colour c) {
  // Bresenham from the first point towards the second, leaving out the end point.
  const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  while (!(x1 == x2 && y1 == y2)) {
    PSet(x1, y1, c);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

void Picture::SetBackground(const Picture& bitmap) { *this = bitmap; }

void PastePicture(Picture& target, const Picture& paste, int x, int y) {
  for (int r = 1; r < paste.Height(); ++r) {
    for (int c = 1; c < paste.Width(); ++c) target.PSet(x + c, y + r, paste.Point(c, r));
  }
}

}  // namespace lorvan::lcd
