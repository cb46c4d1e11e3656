// The KS0108 panel emulator: connector levels, latching and the controller's instructions.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "hosts/sim/sim_port.h"
#include "lcd/ks0108_panel.h"

namespace lorvan::lcd::ks0108 {
namespace {

constexpr int kData = 888, kControl = 890;

// One byte the way the program sends it: data, then control without and with bit 0.
void Send(Panel& p, int value, int control) {
  p.Out(kData, value);
  p.Out(kControl, control);
  p.Out(kControl, control + 1);
}
void Instruction(Panel& p, int value) { Send(p, value, 12); }
// The pixels at the points given: '#' dark, '.' clear.
std::string Pixels(const Panel& p, std::initializer_list<std::pair<int, int>> points) {
  std::string out;
  for (const auto& [x, y] : points) out += p.Pixel(x, y) ? '#' : '.';
  return out;
}

TEST(Ks0108Panel, DisplayIsOffAndClearAtPowerOn) {
  Panel p;
  Send(p, 255, 0);  // data into the left half while the display is off
  EXPECT_EQ(Pixels(p, {{0, 0}, {63, 0}, {64, 0}, {127, 0}}), "....");
  Instruction(p, 63);
  EXPECT_EQ(Pixels(p, {{0, 0}, {0, 7}}), "##");
  Instruction(p, 62);  // display off hides the memory again
  EXPECT_FALSE(p.Pixel(0, 0));
}

TEST(Ks0108Panel, ChipSelectsFollowTheInvertedControlBits) {
  Panel p;
  Instruction(p, 63);  // control 12: both halves
  Send(p, 1, 0);       // control 0: left only
  Send(p, 2, 6);       // control 6: right only
  EXPECT_EQ(Pixels(p, {{0, 0}, {64, 0}, {64, 1}, {0, 1}}), "#.#.");
  // Control 2 raises neither chip select: nothing is written.
  Send(p, 255, 2);
  EXPECT_EQ(Pixels(p, {{1, 0}, {65, 0}}), "..");
}

TEST(Ks0108Panel, LatchesOnlyOnTheFallingEdgeOfEnable) {
  Panel p;
  Instruction(p, 63);
  p.Out(kData, 255);
  p.Out(kControl, 1);  // enable already low: no edge
  p.Out(kControl, 1);
  EXPECT_FALSE(p.Pixel(0, 0));
  p.Out(kControl, 0);  // rising edge: nothing yet
  EXPECT_FALSE(p.Pixel(0, 0));
  p.Out(kData, 0x81);  // the data lines at the falling edge count
  p.Out(kControl, 1);
  EXPECT_EQ(Pixels(p, {{0, 0}, {0, 1}, {0, 7}}), "#.#");
}

TEST(Ks0108Panel, PageColumnAndAutoIncrement) {
  Panel p;
  Instruction(p, 63);
  Instruction(p, 184 + 7);
  Instruction(p, 64 + 62);
  Send(p, 0x80, 0);  // column 62
  Send(p, 0x80, 0);  // column 63
  Send(p, 0x80, 0);  // wraps to column 0 of the same page
  // Columns 62, 63 and 0 of the left half; the right half kept its own addresses.
  EXPECT_EQ(Pixels(p, {{62, 63}, {63, 63}, {0, 63}, {1, 63}, {64, 63}}), "###..");
  EXPECT_EQ(p.Left().column, 1);
  EXPECT_EQ(p.Right().column, 62);
}

TEST(Ks0108Panel, StartLineScrollsTheDisplay) {
  Panel p;
  Instruction(p, 63);
  Send(p, 1, 0);  // memory line 0 of column 0
  Instruction(p, 192 + 1);
  EXPECT_EQ(Pixels(p, {{0, 0}, {0, 63}}), ".#");  // line 0 now shows at the bottom
  Instruction(p, 192);
  EXPECT_TRUE(p.Pixel(0, 0));
}

TEST(Ks0108Panel, IgnoresOtherPortsAndUnknownInstructions) {
  Panel p;
  Instruction(p, 63);
  p.Out(889, 0);  // the status register is no part of the panel
  p.Out(0, 255);
  p.Out(2, 12);
  p.Out(2, 13);
  Instruction(p, 0x10);
  EXPECT_EQ(p.Left().page, 0);
  EXPECT_EQ(p.Left().column, 0);
  EXPECT_TRUE(p.Left().display_on);
  Panel other(0x278);
  other.Out(0x278, 63);
  other.Out(0x278 + 2, 12);
  other.Out(0x278 + 2, 13);
  EXPECT_TRUE(other.Left().display_on);
}

}  // namespace
}  // namespace lorvan::lcd::ks0108

namespace lorvan::sim {
namespace {

TEST(SimPort, LongRunsKeepTheLatestWrites) {
  SimPort port;
  port.max_kept_writes = 4;
  for (int16_t i = 0; i < 10; ++i) port.Out32(888, i);
  const std::vector<std::string> kept = port.TakeWrites();
  ASSERT_GE(kept.size(), 4u);
  EXPECT_EQ(kept.back(), "888 9");
  EXPECT_EQ(port.DroppedWrites(), 10 - kept.size());
  EXPECT_EQ(kept.front(), "888 " + std::to_string(10 - kept.size()));
}

}  // namespace
}  // namespace lorvan::sim
