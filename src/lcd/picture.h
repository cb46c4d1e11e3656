#pragma once
// A picture in memory: the off-screen LCD picture and the bitmaps pasted into it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lorvan::lcd {

constexpr int kLcdWidth = 128;
constexpr int kLcdHeight = 64;

using Colour = int32_t;  // 0xBBGGRR
constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

// A pixel counts as set (dark on the panel) when its colour, as a signed number, is below
// 0x7FFFFF; a failed read (-1) counts as set.
constexpr bool IsSetPixel(Colour c) { return c < 0x7FFFFF; }

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
  // The pixels of row y (0 <= y < Height()), left to right.
  const Colour* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  bool operator==(const Picture&) const = default;

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// Copies the bitmap paste into target with its top-left corner at (x, y), white pixels
// included; the bitmap's row 0 and column 0 are left out.
void PastePicture(Picture& target, const Picture& paste, int x, int y);

}  // namespace lorvan::lcd
