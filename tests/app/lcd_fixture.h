#pragma once
// Helpers of the LCD tests: a main window on the simulated machine with the shipped bitmaps
// and fonts, and small ways to read pictures and the panel.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {

// The window as start-up leaves it for the LCD: bitmaps loaded, program folder known, list
// rows set, the panel initialised, the browser screen of the MP3 source selected.
class LcdWindow : public ::testing::Test {
 protected:
  LcdWindow() {
    f.frmPictures.Load(r.world.files, r.world.program_dir);
    f.state.gsAppPath = r.world.program_dir;
    f.miListLineY = {11, 19, 27, 35, 43};
    f.state.glScreenMode = app::kScreenBrowser;
    f.state.glMediaSource = app::kSourceMp3;
    f.glcd.LcdInit();
    r.world.port.TakeWrites();
  }

  bool Dark(int x, int y) const { return lcd::IsSetPixel(f.picLcd.Point(x, y)); }
  bool PanelDark(int x, int y) const { return r.world.port.panel.Pixel(x, y); }

  // The panel shows exactly what picLcd holds.
  void ExpectPanelShowsPicture() const {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) ASSERT_EQ(PanelDark(x, y), Dark(x, y)) << "pixel (" << x << ", " << y << ")";
  }

  ProgramFolder folder;
  std::ostringstream out, err;
  sim::SimRunner r{folder.path(), out, err};
  app::frmMain& f = r.form;
};

// The dark pixels of a picture inside a rectangle (inclusive), as "x,y" texts.
inline std::vector<std::pair<int, int>> DarkPixels(const lcd::Picture& p, int x0, int y0, int x1, int y1) {
  std::vector<std::pair<int, int>> v;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (lcd::IsSetPixel(p.Point(x, y))) v.emplace_back(x, y);
  return v;
}

// Rows and column ranges in the notation of the pixel tables: "r2-r6: 2-4, 8-10; r7: 2-4".
lcd::Picture PictureFromTable(int width, int height, const std::string& table);

}  // namespace lorvan::testing
