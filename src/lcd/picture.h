#pragma once
// A picture in memory: the off-screen LCD picture and the bitmaps pasted into it.
#include <cstdint>
#include <vector>

namespace lorvan::lcd {

constexpr int kLcdWidth = 128;
constexpr int kLcdHeight = 64;

using Colour = int32_t;  // 0xBBGGRR
constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

class Picture {
 public:
  Picture(int width = kLcdWidth, int height = kLcdHeight);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel's colour, or -1 outside the picture.
  Colour Point(int x, int y) const;
  // Pixels outside the picture are not set.
  void PSet(int x, int y, Colour c);
  // A straight line from the first point towards the second; the end point is not drawn.
  void Line(int x1, int y1, int x2, int y2, Colour c = kBlack);
  // The whole picture becomes a copy of the bitmap (size included).
  void SetBackground(const Picture& bitmap);
  const std::vector<Colour>& Pixels() const { return pixels_; }

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

}  // namespace lorvan::lcd
