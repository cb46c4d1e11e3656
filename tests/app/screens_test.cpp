// The three screens: what each draws where, and the handlers that choose them.
#include "box.h"
#include "lcd/lcd_fixture.h"

namespace lorvan::testing {
namespace {

// The window as start-up leaves it for the LCD: bitmaps loaded, program folder known, list
// rows set, the panel initialised, the browser screen of the MP3 source selected.
class Screens : public ::testing::Test {
 protected:
  Screens() {
    f.frmPictures.Load(box.world().files, box.world().program_dir);
    f.state.gsAppPath = box.world().program_dir;
    f.miListLineY = {11, 19, 27, 35, 43};
    f.state.glScreenMode = app::kScreenBrowser;
    f.state.glMediaSource = app::kSourceMp3;
    f.glcd.LcdInit();
    box.world().port.TakeWrites();
  }
  bool Dark(int x, int y) const { return lcd::IsSetPixel(f.picLcd.Point(x, y)); }
  void ExpectPanelShowsPicture() {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) ASSERT_EQ(box.world().port.panel.Pixel(x, y), Dark(x, y)) << x << ", " << y;
  }
  // picLcd's pixels in a rectangle equal those of the bitmap pasted by the rule at (x, y).
  void ExpectPasted(const lcd::Picture& bitmap, int x, int y) {
    for (int r = 1; r < bitmap.Height(); ++r)
      for (int c = 1; c < bitmap.Width(); ++c)
        ASSERT_EQ(Dark(x + c, y + r), lcd::IsSetPixel(bitmap.Point(c, r))) << "(" << x + c << ", " << y + r << ")";
  }
  // Text as the screens draw it, on a white picture, after loading the fonts in the same order.
  lcd::Picture Text(const std::string& text, int x, int y, bool small) {
    lcd::Picture p;
    f.glcd.LoadFont(f.AppFile("Fonts/Normal.fnt"));
    if (small) f.glcd.LoadFont(f.AppFile("Fonts/Small.fnt"));
    f.glcd.DrawText(p, text, x, y);
    return p;
  }
  void SetStatus(const std::string& rate) {
    for (auto [box, text] : {std::pair{&f.txtCurMinutes, "01"}, {&f.txtCurSeconds, "05"}, {&f.txtTotalMinutes, "03"},
                             {&f.txtTotalSeconds, "40"}, {&f.txtCurFileNr, "03"}, {&f.txtTotalFileNr, "12"}}) {
      box->text = text;
    }
    f.txtBitrate.text = rate;
  }

  SimBox box;
  app::frmMain& f = box.form();
};

TEST_F(Screens, CursorFollowsTheRowAndStaysAwayWhenOutOfRange) {
  for (int16_t row = 0; row < 5; ++row) {
    f.state.giCursorRow = row;
    f.UpdateLcd();
    EXPECT_EQ(DarkPixels(f.picLcd, 0, 9, 3, 49).size(), 4u) << row;
    EXPECT_TRUE(Dark(1, 12 + 8 * row)) << row;
    EXPECT_TRUE(Dark(2, 13 + 8 * row)) << row;
  }
  f.state.giCursorRow = 5;
  f.UpdateLcd();
  EXPECT_TRUE(DarkPixels(f.picLcd, 0, 9, 3, 49).empty());
}

TEST_F(Screens, ProgressBarStaysInsideItsFrame) {
  f.state.giPlayProgress = 0;
  f.UpdateLcd();
  EXPECT_TRUE(DarkPixels(f.picLcd, 1, 51, 99, 55).empty());
  // 99 fills columns 1 to 99 of rows 51 to 55; a position past the end of the track gives
  // more than 99, and the symbol cells stay clean.
  for (int16_t progress : {99, 140}) {
    f.state.giPlayProgress = progress;
    f.UpdateLcd();
    EXPECT_EQ(DarkPixels(f.picLcd, 1, 51, 99, 55).size(), 99u * 5) << progress;
    for (int y = 51; y < 64; ++y) EXPECT_FALSE(Dark(101, y)) << y;
  }
}

TEST_F(Screens, PlayStateSymbolFollowsStateAndEqualizer) {
  const lcd::frmPictures& p = f.frmPictures;
  const struct {
    int32_t play_state;
    int eq_on;
    const lcd::Picture& symbol;
  } cases[] = {
      {1, 0, p.picPlayWithoutEq},  {1, 1, p.picPlayWithEq},   {0, 0, p.picStopWithoutEq},
      {0, 1, p.picStopWithEq},     {3, 0, p.picPauseWithoutEq}, {3, 1, p.picPauseWithEq},
  };
  for (const auto& c : cases) {
    f.state.glPlayState = c.play_state;
    f.chkEqOn.value = c.eq_on;
    f.UpdateLcd();
    ExpectPasted(c.symbol, 115, 51);
  }
}

TEST_F(Screens, StatusLineJoinsTheFieldsInTheSmallFont) {
  const struct {
    const char* rate;
    const char* line;
  } cases[] = {{"128", "01:05/03:40 [03/12] 128kb"}, {"", "01:05/03:40 [03/12] "}};
  for (const auto& c : cases) {
    SetStatus(c.rate);
    f.UpdateLcd();
    EXPECT_EQ(DarkPixels(f.picLcd, 0, 58, 99, 63), DarkPixels(Text(c.line, 0, 58, true), 0, 58, 99, 63)) << c.line;
  }
  // The normal font comes back for the next frame's lines.
  f.lstFilePreview.lines = {"0123"};
  f.UpdateLcd();
  EXPECT_EQ(DarkPixels(f.picLcd, 4, 10, 127, 17), DarkPixels(Text("0123", 4, 10, false), 4, 10, 127, 17));
}

TEST_F(Screens, VolumeBarEnds) {
  f.state.glScreenMode = app::kScreenEqualizer;
  const struct {
    int16_t volume;
    int top;
  } cases[] = {{0, 55}, {255, 1}, {128, 28}, {-5, 56}};
  for (const auto& c : cases) {
    f.state.giVolume = c.volume;
    f.UpdateLcd();
    EXPECT_TRUE(DarkPixels(f.picLcd, 121, 1, 126, c.top - 1).empty()) << c.volume;
    EXPECT_EQ(DarkPixels(f.picLcd, 121, c.top, 126, 55).size(), 6u * static_cast<size_t>(56 - c.top)) << c.volume;
  }
}

TEST_F(Screens, HelpPageOutsideTheStoredPagesShowsTheEmptyBackground) {
  f.state.glScreenMode = app::kScreenHelp;
  f.state.gsHelpText[0][0] = {"Play", "x"};
  for (int16_t page : {0, 12, -3}) {
    f.state.giHelpPage = page;
    f.UpdateLcd();
    EXPECT_TRUE(DarkPixels(f.picLcd, 0, 0, 127, 63).empty()) << page;
  }
}

TEST_F(Screens, UnknownModeSendsThePictureAsItIs) {
  f.UpdateLcd();
  const lcd::Picture before = f.picLcd;
  f.state.glScreenMode = 7;
  f.UpdateLcd();
  EXPECT_EQ(f.picLcd, before);
  ExpectPanelShowsPicture();
}

TEST_F(Screens, FrameSwitchesTheRefreshOffAndOnAndShowsTheTime) {
  f.tmrRefresh.SetInterval(20);
  f.tmrRefresh.SetEnabled(true);
  box.world().clock.Advance(15);
  f.UpdateLcd();
  EXPECT_TRUE(f.tmrRefresh.Enabled());
  EXPECT_EQ(f.lblTxTime.caption, ".ms");  // the simulated clock stands still while a frame is made
  // The next tick is one interval after the frame, not after the earlier enable.
  EXPECT_EQ(f.loop.NextTimerDue(), box.world().clock.MonotonicMs() + 20);
  EXPECT_EQ(box.world().port.TakeWrites().size(), 3120u);
}

}  // namespace
}  // namespace lorvan::testing
