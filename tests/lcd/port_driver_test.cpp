// The port driver and the frame transfer, as seen at the port and by the panel: which
// transfers go out whole and what a changed run of columns costs.
#include <array>
#include <functional>
#include <random>
#include <stdexcept>

#include "lcd/ks0108_panel.h"
#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

using Writes = std::vector<std::string>;
constexpr size_t kWholeFrameWrites = 8 * 130 * 3;

class PortDriver : public LcdTest {
 protected:
  size_t Transfer(const lcd::Picture& p) {
    g.LcdTransferPicture(p, 0);
    return Take().size();
  }
};

TEST_F(PortDriver, InitWritesDisplayOnAndStartLineToBothHalves) {
  lcd::gLCD fresh(world.platform);
  EXPECT_EQ(fresh.glLcdPortBase, 0);
  fresh.LcdInit();
  EXPECT_EQ(fresh.glLcdPortBase, 888);
  EXPECT_EQ(Take(), (Writes{"888 63", "890 12", "890 13", "888 192", "890 12", "890 13"}));
}

TEST_F(PortDriver, EachByteIsDataThenControlWithoutAndWithEnable) {
  struct Case {
    int value;
    bool command;
    int control;
    int inverted;
    Writes expected;
  };
  const Case cases[] = {
      {184, true, 4, 0, {"888 184", "890 12", "890 13"}},
      {184, true, 4, 1, {"888 184", "890 12", "890 13"}},  // instructions are never inverted
      {10, false, 0, 0, {"888 10", "890 0", "890 1"}},
      {100, false, 6, 0, {"888 100", "890 6", "890 7"}},
      {0, false, 0, 1, {"888 255", "890 0", "890 1"}},
      {255, false, 6, 2, {"888 0", "890 6", "890 7"}},  // any state but clear means inverted
      {255, false, 6, -1, {"888 0", "890 6", "890 7"}},
  };
  for (const Case& c : cases) {
    g.LcdSetInverted(c.inverted);
    g.LcdWriteByte(c.value, c.command, c.control);
    EXPECT_EQ(Take(), c.expected) << c.value << " command " << c.command << " inverted " << c.inverted;
  }
}

TEST_F(PortDriver, FrameIsEightPagesOfInstructionsThenColumnsInOrder) {
  lcd::Picture p;
  p.PSet(0, 0, lcd::kBlack);
  p.PSet(127, 63, lcd::kBlack);
  g.LcdTransferPicture(p, 5);
  const Writes w = Take();
  ASSERT_EQ(w.size(), kWholeFrameWrites);
  for (int page = 0; page < 8; ++page) {
    const size_t at = static_cast<size_t>(page) * 130 * 3;
    EXPECT_EQ(w[at], "888 " + std::to_string(184 + page));
    EXPECT_EQ(w[at + 3], "888 64");
    for (int x = 0; x < 128; ++x) {
      const size_t b = at + 6 + static_cast<size_t>(x) * 3;
      ASSERT_EQ(w[b + 1], x < 64 ? "890 0" : "890 6") << "page " << page << " column " << x;
      const int expected = page == 0 && x == 0 ? 1 : page == 7 && x == 127 ? 128 : 0;
      ASSERT_EQ(w[b], "888 " + std::to_string(expected)) << "page " << page << " column " << x;
    }
  }
  EXPECT_EQ(w.back(), "890 7");
}

TEST_F(PortDriver, ColourThresholdDecidesSetPixels) {
  const std::pair<lcd::Colour, bool> cases[] = {
      {0x000000, true},  {0xFFFFFF, false}, {0xFF0000, false},  // pure blue is clear
      {0x0000FF, true},                                          // pure red is set
      {0x7EFFFF, true},  {0x7FFFFE, true},  {0x7FFFFF, false}, {0x800000, false}, {-1, true},
  };
  lcd::Picture p;
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(lcd::IsSetPixel(cases[i].first), cases[i].second) << std::hex << cases[i].first;
    p.PSet(static_cast<int>(i), 0, cases[i].first);
  }
  // Through the panel: one column of page 0 per colour.
  g.LcdTransferPicture(p, 0);
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(PanelDark(static_cast<int>(i), 0), cases[i].second) << i;
}

TEST_F(PortDriver, PanelShowsEveryPixelOfAnyPictureAndOutsideASmallOneAsSet) {
  std::mt19937 rng(42);
  lcd::Picture p;
  for (int round = 0; round < 3; ++round) {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) p.PSet(x, y, rng() % 2 ? lcd::kBlack : lcd::kWhite);
    g.LcdSetInverted(round == 1);
    g.LcdTransferPicture(p, 0);
    ExpectPanelShows(p);
  }
  g.LcdTransferPicture(lcd::Picture(13, 13), 0);
  EXPECT_FALSE(PanelDark(12, 12));
  EXPECT_TRUE(PanelDark(13, 0));
  EXPECT_TRUE(PanelDark(0, 13));
}

TEST_F(PortDriver, ChangedColumnsCostPageColumnAddressAndDataPerRun) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> pixels;  // each toggled
    size_t bytes;                             // instructions and data bytes sent
  };
  const Case cases[] = {
      {"nothing", {}, 0},
      {"one column", {{5, 3}}, 1 + 1 + 1},
      {"adjacent columns", {{5, 3}, {6, 3}, {7, 3}}, 1 + 1 + 3},
      {"a gap of one byte is resent", {{5, 3}, {7, 3}}, 1 + 1 + 3},
      {"a gap of two bytes takes a new address", {{5, 3}, {8, 3}}, 1 + 2 * (1 + 1)},
      {"each half from its own address", {{63, 3}, {64, 3}}, 1 + 2 * (1 + 1)},
      {"last column of the right half", {{127, 3}}, 1 + 1 + 1},
      {"two pages: a page instruction each", {{0, 0}, {0, 63}}, 2 * 3},
  };
  lcd::Picture p;
  Transfer(p);  // the whole frame after LcdInit
  for (const Case& c : cases) {
    for (auto [x, y] : c.pixels) p.PSet(x, y, lcd::IsSetPixel(p.Point(x, y)) ? lcd::kWhite : lcd::kBlack);
    EXPECT_EQ(Transfer(p), 3 * c.bytes) << c.what;
    ExpectPanelShows(p);
  }
}

TEST_F(PortDriver, WholeFrameAfterInitInversionPortAndEveryFewSeconds) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"first after LcdInit", [] {}},
      {"initialize", [&] { g.LcdInit(); }},
      {"inversion switched on", [&] { g.LcdSetInverted(1); }},
      {"inversion switched off", [&] { g.LcdSetInverted(0); }},
      {"another port", [&] { g.LcdSetPortBase(0x278); }},
      {"back to the first port", [&] { g.LcdInit(); }},
      {"2 s after the last whole frame", [&] { world.clock.Advance(200); }},  // 1.8 s passed below
  };
  const std::pair<const char*, std::function<void()>> partial[] = {
      {"unchanged picture", [] {}},
      {"inversion set to what it is", [&] { g.LcdSetInverted(g.gbLcdInverted ? 1 : 0); }},
      {"1.8 s later", [&] { world.clock.Advance(1800); }},
  };
  const lcd::Picture p;
  for (const auto& [what, before] : cases) {
    before();
    Take();
    EXPECT_EQ(Transfer(p), kWholeFrameWrites) << what;
    for (const auto& [unchanged, step] : partial) {
      step();
      EXPECT_EQ(Transfer(p), 0u) << unchanged << " after " << what;
    }
  }
  g.whole_frames = true;
  EXPECT_EQ(Transfer(p), kWholeFrameWrites) << "whole frames asked for";
}

// A port on which one write fails, for a transfer that stops half way.
class FailingPort : public platform::PortIo {
 public:
  void Out32(int16_t port, int16_t value) override {
    if (fail_in > 0 && --fail_in == 0) throw std::runtime_error("port write failed");
    ++writes;
    panel.Out(port, value);
  }
  lcd::ks0108::Panel panel;
  int fail_in = 0;
  size_t writes = 0;
};

TEST_F(PortDriver, TransferCutShortIsFollowedByAWholeFrame) {
  sim::SimWorld& w = world;
  FailingPort port;
  platform::Platform platform{w.player, w.processes, port, w.clock, w.power, w.drives, w.files, w.dialogs, w.app, w.script};
  lcd::gLCD lcd(platform);
  lcd.LcdInit();
  lcd::Picture p;
  lcd.LcdTransferPicture(p, 0);
  for (int x = 0; x < 128; ++x) p.PSet(x, x % 64, lcd::kBlack);
  port.fail_in = 100;
  EXPECT_THROW(lcd.LcdTransferPicture(p, 0), std::runtime_error);
  port.writes = 0;
  lcd.LcdTransferPicture(p, 0);
  EXPECT_EQ(port.writes, kWholeFrameWrites);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(port.panel.Pixel(x, y), lcd::IsSetPixel(p.Point(x, y))) << x << "," << y;
}

TEST(LcdNumbers, PagePauseScaleAndTransferTime) {
  const std::pair<int32_t, int32_t> pauses[] = {{5, 6}, {0, 1}, {-1, 0}, {-32768, 0}, {32766, 32767}, {1000000, 32768}};
  for (const auto& [loops, iterations] : pauses) EXPECT_EQ(lcd::PauseIterations(loops), iterations) << loops;
  // Halves round to even.
  const std::array<int32_t, 4> scales[] = {
      {52, 63, 31, 26},  {52, 63, 0, 0},   {52, 63, 63, 52}, {54, 255, 128, 27}, {54, 255, 255, 54},
      {1, 2, 1, 0},      {3, 2, 1, 2},     {5, 2, 1, 2},     {100, 0, 5, 0},     {100, 198, 1, 1},
      {100, 122, 61, 50}, {-10, 4, 1, -2}, {100000, 100000, 100000, 100000},
  };
  for (const auto& [range, maximum, value, expected] : scales) {
    EXPECT_EQ(lcd::ScaleValue(range, maximum, value), expected) << range << " " << maximum << " " << value;
  }
  // Three decimals without trailing zeros.
  const std::pair<double, const char*> times[] = {
      {12.3456, "12.346ms"}, {0.5, ".5ms"},   {12.0, "12.ms"},  {0.0, ".ms"},
      {0.0004, ".ms"},       {1.2, "1.2ms"},  {0.0125, ".013ms"}, {1234.5678, "1234.568ms"},
  };
  for (const auto& [ms, label] : times) EXPECT_EQ(lcd::FormatTxTime(ms), label) << ms;
}

}  // namespace
}  // namespace lorvan::testing
