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

TEST_F(Screens, BrowserDrawsTitleAndLinesAndKeepsTheCellBorderClear) {
  f.state.gsFolderTitle = "Rock";
  f.lstFilePreview.lines = {"Queen", "01 Intro.mp3"};
  f.state.giPlayProgress = 99;
  f.UpdateLcd();
  // Column 101 and row 51 of the symbol cells keep the background.
  for (int y = 51; y < 64; ++y) EXPECT_FALSE(Dark(101, y)) << y;
  for (int x = 101; x < 114; ++x) EXPECT_FALSE(Dark(x, 51)) << x;
  // Title and lines in the normal font.
  EXPECT_EQ(DarkPixels(f.picLcd, 4, 0, 127, 7), DarkPixels(Text("Rock", 4, 0, false), 4, 0, 127, 7));
  EXPECT_EQ(DarkPixels(f.picLcd, 4, 10, 127, 17), DarkPixels(Text("Queen", 4, 10, false), 4, 10, 127, 17));
  EXPECT_EQ(DarkPixels(f.picLcd, 4, 18, 127, 25), DarkPixels(Text("01 Intro.mp3", 4, 18, false), 4, 18, 127, 25));
  EXPECT_TRUE(DarkPixels(f.picLcd, 3, 26, 127, 49).empty());  // absent lines draw nothing
  ExpectPanelShowsPicture();
}

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

TEST_F(Screens, EqualizerFramesTheSelectedBand) {
  f.state.glScreenMode = app::kScreenEqualizer;
  for (int16_t band : {0, 9}) {
    f.miEqBand = band;
    f.UpdateLcd();
    const int p = 12 * band;
    for (int x = p; x <= p + 10; ++x) {
      EXPECT_TRUE(Dark(x, 0)) << x;
      EXPECT_TRUE(Dark(x, 56)) << x;
    }
    for (int y = 0; y <= 56; ++y) {
      EXPECT_TRUE(Dark(p, y)) << y;
      EXPECT_TRUE(Dark(p + 10, y)) << y;
    }
    EXPECT_FALSE(Dark(p + 11, 0));
    EXPECT_FALSE(Dark(p + 11, 56));
  }
  ExpectPanelShowsPicture();
}

TEST_F(Screens, KnobsFollowThePlayersBandValues) {
  f.state.glScreenMode = app::kScreenEqualizer;
  const int values[10] = {0, 63, 31, 16, 1, 62, 47, 32, 30, 8};
  for (int i = 0; i < 10; ++i) box.world().player.SetEqBand(i, values[i]);
  f.UpdateLcd();
  for (int i = 0; i < 10; ++i) {
    const int k = lcd::ScaleValue(52, 63, values[i]) + 2;
    const int b = 12 * i;
    EXPECT_TRUE(Dark(b + 1, k) && Dark(b + 9, k)) << "band " << i << " row " << k;
    EXPECT_TRUE(Dark(b + 2, k - 1) && Dark(b + 8, k + 1)) << "band " << i;
    for (int y : {k - 1, k + 1}) EXPECT_EQ(Dark(b + 9, y), y == 26) << "band " << i << " tapers";
    // Nothing else of the knob column between the frame rows, apart from the centre line.
    for (int y = 1; y <= 55; ++y) {
      if (y < k - 1 || y > k + 1) {
        EXPECT_EQ(Dark(b + 5, y), y == 26) << "band " << i << " row " << y;
      }
    }
  }
  EXPECT_TRUE(Dark(1, 2));
  EXPECT_TRUE(Dark(13, 54));
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

TEST_F(Screens, HelpPageLinesAndColumns) {
  f.state.glScreenMode = app::kScreenHelp;
  f.state.giHelpPage = 2;
  f.state.giHelpColumnX = 40;
  f.state.gsHelpText[1][0] = {"Play", "Play it"};
  f.state.gsHelpText[1][7] = {"\xC3\x84rger", "\xC3\x89t\xC3\xA9"};
  f.state.gsHelpText[0][0] = {"Other", "page"};
  f.UpdateLcd();
  EXPECT_EQ(DarkPixels(f.picLcd, 0, 0, 39, 7), DarkPixels(Text("Play", 0, 0, false), 0, 0, 39, 7));
  EXPECT_EQ(DarkPixels(f.picLcd, 40, 0, 127, 7), DarkPixels(Text("Play it", 40, 0, false), 40, 0, 127, 7));
  // The eighth line starts at row 63: only its top row is on the screen (accents reach it).
  lcd::Picture expected = Text("\xC3\x84rger", 0, 63, false);
  f.glcd.DrawText(expected, "\xC3\x89t\xC3\xA9", 40, 63);
  EXPECT_EQ(DarkPixels(f.picLcd, 0, 56, 127, 63), DarkPixels(expected, 0, 56, 127, 63));
  EXPECT_FALSE(DarkPixels(f.picLcd, 0, 63, 127, 63).empty());
  ExpectPanelShowsPicture();
}

TEST_F(Screens, HelpKeyTextIsOverwrittenByItsDescription) {
  f.state.glScreenMode = app::kScreenHelp;
  f.state.giHelpPage = 1;
  f.state.giHelpColumnX = 10;
  f.state.gsHelpText[0][0] = {"WWWWWWWW", ""};
  f.UpdateLcd();
  const auto long_key = DarkPixels(f.picLcd, 10, 0, 127, 7);
  f.state.gsHelpText[0][0] = {"WWWWWWWW", "."};
  f.UpdateLcd();
  lcd::Picture expected = Text("WWWWWWWW", 0, 0, false);
  f.glcd.DrawText(expected, ".", 10, 0);
  EXPECT_EQ(DarkPixels(f.picLcd, 0, 0, 127, 7), DarkPixels(expected, 0, 0, 127, 7));
  EXPECT_NE(DarkPixels(f.picLcd, 10, 0, 127, 7), long_key);
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
