#pragma once
// The LCD tests' one fixture: the port driver on the simulated machine's port and panel, with a
// program folder holding the shipped fonts and bitmaps, and small ways to read pictures.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hosts/sim/sim_world.h"
#include "lcd/glcd.h"
#include "lcd/picture.h"
#include "support/program_folder.h"

namespace lorvan::testing {

class LcdTest : public ::testing::Test {
 protected:
  LcdTest() {
    g.LcdInit();
    world.port.TakeWrites();
  }
  std::vector<std::string> Take() { return world.port.TakeWrites(); }
  bool PanelDark(int x, int y) const { return world.port.panel.Pixel(x, y); }
  std::string Shipped(const std::string& font) const { return folder.path() + "/Fonts/" + font; }
  // The panel shows exactly the picture, inverted when the driver inverts.
  void ExpectPanelShows(const lcd::Picture& p) const {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x)
        ASSERT_EQ(PanelDark(x, y), lcd::IsSetPixel(p.Point(x, y)) != g.gbLcdInverted) << "(" << x << ", " << y << ")";
  }

  ProgramFolder folder;
  sim::SimWorld world{folder.path()};
  lcd::gLCD g{world.platform};
};

// The dark pixels of a picture inside a rectangle (inclusive).
inline std::vector<std::pair<int, int>> DarkPixels(const lcd::Picture& p, int x0, int y0, int x1, int y1) {
  std::vector<std::pair<int, int>> v;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (lcd::IsSetPixel(p.Point(x, y))) v.emplace_back(x, y);
  return v;
}

// A full-size picture, all black.
inline lcd::Picture BlackPicture() {
  lcd::Picture p;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) p.PSet(x, y, lcd::kBlack);
  return p;
}

}  // namespace lorvan::testing
