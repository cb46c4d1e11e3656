// The port driver and the frame transfer, as seen at the port and by the panel.
#include <random>

#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

using Writes = std::vector<std::string>;

class PortDriver : public LcdWindow {
 protected:
  Writes Take() { return r.world.port.TakeWrites(); }
  lcd::gLCD& g = f.glcd;
};

TEST_F(PortDriver, InitWritesDisplayOnAndStartLineToBothHalvesAlsoFromItsButton) {
  const Writes init{"888 63", "890 12", "890 13", "888 192", "890 12", "890 13"};
  lcd::gLCD fresh(r.world.platform);
  EXPECT_EQ(fresh.glLcdPortBase, 0);
  fresh.LcdInit();
  EXPECT_EQ(fresh.glLcdPortBase, 888);
  EXPECT_EQ(Take(), init);
  f.cmdLcdInit.Click();
  EXPECT_EQ(Take(), init);
}

TEST_F(PortDriver, EachByteIsDataThenControlWithoutAndWithEnable) {
  struct Case {
    int value;
    bool command;
    int control;
    bool inverted;
    Writes expected;
  };
  const Case cases[] = {
      {184, true, 4, false, {"888 184", "890 12", "890 13"}},
      {184, true, 4, true, {"888 184", "890 12", "890 13"}},  // instructions are never inverted
      {10, false, 0, false, {"888 10", "890 0", "890 1"}},
      {100, false, 6, false, {"888 100", "890 6", "890 7"}},
      {0, false, 0, true, {"888 255", "890 0", "890 1"}},
      {255, false, 6, true, {"888 0", "890 6", "890 7"}},
  };
  for (const Case& c : cases) {
    g.LcdSetInverted(c.inverted ? 1 : 0);
    g.LcdWriteByte(c.value, c.command, c.control);
    EXPECT_EQ(Take(), c.expected) << c.value << " command " << c.command << " inverted " << c.inverted;
  }
}

TEST_F(PortDriver, InvertedCheckBoxShowsOnlyWithTheNextFrame) {
  f.chkInverted.Click();
  EXPECT_TRUE(g.gbLcdInverted);
  EXPECT_TRUE(Take().empty());
  g.LcdTransferPicture(lcd::Picture(), 0);
  EXPECT_TRUE(PanelDark(0, 0));
  EXPECT_TRUE(PanelDark(127, 63));
  f.chkInverted.Click();
  EXPECT_FALSE(g.gbLcdInverted);
  for (int v : {2, -1}) {  // any state but clear means inverted
    g.LcdSetInverted(v);
    EXPECT_TRUE(g.gbLcdInverted) << v;
  }
}

TEST_F(PortDriver, FrameIsEightPagesOfInstructionsThenColumnsInOrder) {
  lcd::Picture p;
  p.PSet(0, 0, lcd::kBlack);
  p.PSet(127, 63, lcd::kBlack);
  g.LcdTransferPicture(p, 5);
  const Writes w = Take();
  ASSERT_EQ(w.size(), 8u * 130 * 3);
  for (int page = 0; page < 8; ++page) {
    const size_t at = static_cast<size_t>(page) * 130 * 3;
    EXPECT_EQ(w[at], "888 " + std::to_string(184 + page));
    EXPECT_EQ(w[at + 3], "888 64");
    for (int x = 0; x < 128; ++x) {
      const size_t b = at + 6 + static_cast<size_t>(x) * 3;
      const std::string control = x < 64 ? "890 0" : "890 6";
      ASSERT_EQ(w[b + 1], control) << "page " << page << " column " << x;
      int expected = 0;
      if (page == 0 && x == 0) expected = 1;
      if (page == 7 && x == 127) expected = 128;
      ASSERT_EQ(w[b], "888 " + std::to_string(expected)) << "page " << page << " column " << x;
    }
  }
  EXPECT_EQ(w.back(), "890 7");
}

TEST_F(PortDriver, ColourThresholdDecidesSetPixels) {
  struct Case {
    lcd::Colour colour;
    bool set;
  };
  const Case cases[] = {
      {0x000000, true},  {0xFFFFFF, false}, {0xFF0000, false},  // pure blue is clear
      {0x0000FF, true},                                          // pure red is set
      {0x7EFFFF, true},  {0x7FFFFE, true},  {0x7FFFFF, false}, {0x800000, false}, {-1, true},
  };
  for (const Case& c : cases) EXPECT_EQ(lcd::IsSetPixel(c.colour), c.set) << std::hex << c.colour;

  // Through the panel: one column of page 0 per colour.
  lcd::Picture p;
  for (size_t i = 0; i < std::size(cases); ++i) p.PSet(static_cast<int>(i), 0, cases[i].colour);
  g.LcdTransferPicture(p, 0);
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(PanelDark(static_cast<int>(i), 0), cases[i].set) << i;
}

TEST_F(PortDriver, PanelShowsEveryPixelOfAnyPicture) {
  std::mt19937 rng(42);
  for (int round = 0; round < 3; ++round) {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) f.picLcd.PSet(x, y, rng() % 2 ? lcd::kBlack : lcd::kWhite);
    g.LcdTransferPicture(f.picLcd, 0);
    ExpectPanelShowsPicture();
  }
  // The halves meet between columns 63 and 64.
  lcd::Picture p;
  for (int y = 0; y < 64; ++y) p.PSet(63, y, lcd::kBlack);
  g.LcdTransferPicture(p, 0);
  for (int y = 0; y < 64; ++y) {
    EXPECT_TRUE(PanelDark(63, y));
    EXPECT_FALSE(PanelDark(64, y));
  }
}

TEST_F(PortDriver, SmallerPictureReadsOutsideAsSet) {
  g.LcdTransferPicture(lcd::Picture(13, 13), 0);
  EXPECT_FALSE(PanelDark(12, 12));
  EXPECT_TRUE(PanelDark(13, 0));
  EXPECT_TRUE(PanelDark(0, 13));
}

TEST(PagePause, RunsDelayLoopsPlusOneWithinTheCounterRange) {
  const std::pair<int32_t, int32_t> cases[] = {{5, 6}, {0, 1}, {-1, 0}, {-32768, 0}, {32766, 32767}, {1000000, 32768}};
  for (const auto& [loops, iterations] : cases) EXPECT_EQ(lcd::PauseIterations(loops), iterations) << loops;
}

}  // namespace
}  // namespace lorvan::testing
