// The port driver and the frame transfer, as seen at the port and by the panel: which
// transfers go out whole and what a changed run of columns costs.
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

// The rows of this test and of the changed columns' are in tables/port.json.
TEST_F(PortDriver, EachByteIsDataThenControlWithoutAndWithEnable) {
  for (const auto& r : Table("lcd/tables/port.json", "one byte: value, command, control, inverted, writes")) {
    g.LcdSetInverted(r[3]);
    g.LcdWriteByte(r[0], r[1].get<bool>(), r[2]);
    EXPECT_EQ(Take(), r[4].get<Writes>()) << r;
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

// Pure blue is clear, pure red is set (the colours are BGR).
TEST_F(PortDriver, ColourThresholdDecidesSetPixels) {
  const auto cases = Table("lcd/tables/numbers.json", "colour threshold: colour (hex BGR), set");
  lcd::Picture p;
  for (size_t i = 0; i < cases.size(); ++i) {
    const lcd::Colour colour = std::stoi(cases[i][0].get<std::string>(), nullptr, 16);
    EXPECT_EQ(lcd::IsSetPixel(colour), cases[i][1]) << cases[i];
    p.PSet(static_cast<int>(i), 0, colour);
  }
  // Through the panel: one column of page 0 per colour.
  g.LcdTransferPicture(p, 0);
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(PanelDark(static_cast<int>(i), 0), cases[i][1]) << i;
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

// A run of changed columns costs a page instruction, a column address and its data bytes.
TEST_F(PortDriver, ChangedColumnsCostPageColumnAddressAndDataPerRun) {
  lcd::Picture p;
  Transfer(p);  // the whole frame after LcdInit
  for (const auto& r : Table("lcd/tables/port.json", "changed columns: what, pixels toggled, bytes sent")) {
    for (const auto& xy : r[1]) {
      const int x = xy[0], y = xy[1];
      p.PSet(x, y, lcd::IsSetPixel(p.Point(x, y)) ? lcd::kWhite : lcd::kBlack);
    }
    EXPECT_EQ(Transfer(p), 3 * r[2].get<size_t>()) << r[0];
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

// The rows are in tables/numbers.json.
TEST(LcdNumbers, PagePauseScaleAndTransferTime) {
  for (const auto& r : Table("lcd/tables/numbers.json", "pause iterations: loops, iterations")) {
    EXPECT_EQ(lcd::PauseIterations(r[0]), r[1]) << r;
  }
  for (const auto& r : Table("lcd/tables/numbers.json", "scale, halves to even: range, maximum, value, scaled")) {
    EXPECT_EQ(lcd::ScaleValue(r[0], r[1], r[2]), r[3]) << r;
  }
  for (const auto& r : Table("lcd/tables/numbers.json", "transfer time, no trailing zeros: ms, label")) {
    EXPECT_EQ(lcd::FormatTxTime(r[0]), r[1]) << r;
  }
}

}  // namespace
}  // namespace lorvan::testing
