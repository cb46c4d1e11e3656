// Sending only what changed: which transfers go out whole, what a changed run costs, and long
// random runs of the whole program after which the panel always shows the picture.
#include <random>
#include <sstream>
#include <stdexcept>

#include "lcd/ks0108_panel.h"
#include "lcd_fixture.h"
#include "sim_box.h"

namespace lorvan::testing {
namespace {

constexpr size_t kWholeFrameWrites = 8 * 130 * 3;

class FrameChanges : public LcdWindow {
 protected:
  size_t Transfer() {
    f.glcd.LcdTransferPicture(f.picLcd, 0);
    return r.world.port.TakeWrites().size();
  }
  void Set(int x, int y, bool dark) { f.picLcd.PSet(x, y, dark ? lcd::kBlack : lcd::kWhite); }
  // The panel shows picLcd, inverted when the driver inverts.
  void ExpectPanelShowsPicture() const {
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x)
        ASSERT_EQ(PanelDark(x, y), Dark(x, y) != f.glcd.gbLcdInverted) << "pixel (" << x << ", " << y << ")";
  }
};

TEST_F(FrameChanges, ChangedColumnsCostPageColumnAddressAndDataPerRun) {
  struct Case {
    const char* what;
    std::vector<int> columns;  // of page 0, each toggled
    size_t bytes;              // instructions and data bytes sent
  };
  const Case cases[] = {
      {"nothing", {}, 0},
      {"one column", {5}, 1 + 1 + 1},
      {"adjacent columns", {5, 6, 7}, 1 + 1 + 3},
      {"a gap of one byte is resent", {5, 7}, 1 + 1 + 3},
      {"a gap of two bytes takes a new address", {5, 8}, 1 + 2 * (1 + 1)},
      {"each half from its own address", {63, 64}, 1 + 2 * (1 + 1)},
      {"last column of the right half", {127}, 1 + 1 + 1},
  };
  Transfer();  // the whole frame after LcdInit
  for (const Case& c : cases) {
    for (int x : c.columns) Set(x, 3, !Dark(x, 3));
    EXPECT_EQ(Transfer(), 3 * c.bytes) << c.what;
    ExpectPanelShowsPicture();
  }
  // Two pages touched: a page instruction and a pause each.
  Set(0, 0, !Dark(0, 0));
  Set(0, 63, !Dark(0, 63));
  EXPECT_EQ(Transfer(), 3u * 2 * 3);
  ExpectPanelShowsPicture();
}

TEST_F(FrameChanges, WholeFrameAfterInitInversionPortAndEveryFewSeconds) {
  struct Case {
    const char* what;
    std::function<void()> before;
    bool whole;
  };
  const Case cases[] = {
      {"first after LcdInit", [] {}, true},
      {"unchanged picture", [] {}, false},
      {"initialize button", [&] { f.cmdLcdInit.Click(); }, true},
      {"inversion switched on", [&] { f.chkInverted.Click(); }, true},
      {"inversion set to what it is", [&] { f.glcd.LcdSetInverted(1); }, false},
      {"inversion switched off", [&] { f.chkInverted.Click(); }, true},
      {"another port", [&] { f.glcd.LcdSetPortBase(0x278); }, true},
      {"back to the first port", [&] { f.glcd.LcdInit(); }, true},
      {"1.8 s later", [&] { r.world.clock.Advance(1800); }, false},
      {"2 s after the last whole frame", [&] { r.world.clock.Advance(200); }, true},
      {"right after it", [&] { r.world.clock.Advance(20); }, false},
  };
  for (const Case& c : cases) {
    c.before();
    r.world.port.TakeWrites();
    EXPECT_EQ(Transfer(), c.whole ? kWholeFrameWrites : 0) << c.what;
  }
  f.glcd.whole_frames = true;
  EXPECT_EQ(Transfer(), kWholeFrameWrites) << "whole frames asked for";
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

TEST_F(FrameChanges, TransferCutShortIsFollowedByAWholeFrame) {
  sim::SimWorld& w = r.world;
  FailingPort port;
  platform::Platform platform{w.player, w.processes, port, w.clock, w.power, w.drives, w.files, w.dialogs, w.app, w.script};
  lcd::gLCD g(platform);
  g.LcdInit();
  lcd::Picture p;
  g.LcdTransferPicture(p, 0);
  for (int x = 0; x < 128; ++x) p.PSet(x, x % 64, lcd::kBlack);
  port.fail_in = 100;
  EXPECT_THROW(g.LcdTransferPicture(p, 0), std::runtime_error);
  port.writes = 0;
  g.LcdTransferPicture(p, 0);
  EXPECT_EQ(port.writes, kWholeFrameWrites);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(port.panel.Pixel(x, y), lcd::IsSetPixel(p.Point(x, y))) << x << "," << y;
}

// A random run: keys of the remote, the player's state, the initialize button and the
// inversion, with a check after every event and every 10 ms of virtual time between them, so
// after every refresh tick's transfer. A new inversion shows only from the next frame on,
// which goes out whole: until it has, there is nothing to check.
std::string RandomScript(uint32_t seed, int events) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const std::string keys = "PPPASVNNNV<>0123456789CRGOUWFDEEEHHHI";
  std::ostringstream s;
  s << "start\nprobe check\n";
  for (int e = 0; e < events; ++e) {
    for (int left = 10 + pick(600); left > 0; left -= 10) s << "wait " << std::min(left, 10) << "\nprobe check\n";
    const int what = pick(100);
    if (what < 70) {
      const char key = keys[static_cast<size_t>(pick(static_cast<int>(keys.size())))];
      s << "key " << key << "\n" << (key == 'I' ? "probe inverted\n" : "");  // I: the inversion
    } else if (what < 77) {
      s << "click chkInverted\nprobe inverted\n";
    } else if (what < 82) {
      s << "click cmdLcdInit\n";
    } else if (what < 87) {
      s << "player end\n";
    } else if (what < 91) {
      s << "player length " << pick(400) << "\n";
    } else if (what < 95) {
      s << "player status " << pick(4) << "\n";
    } else if (what < 97) {
      s << "player eq " << pick(10) << " " << pick(64) << "\n";
    } else {
      s << "key X\nwait 300\nkey X\n";  // standby and back
    }
    s << "probe check\n";
  }
  return s.str();
}

TEST(FrameChangesRandomRun, PanelEqualsPictureAfterEveryTransfer) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    SimBox box;
    box.folder.AddMusic({"Rock/Queen/01 Bohemian Rhapsody.mp3", "Rock/Queen/02 Under Pressure.mp3",
                         "Rock/Queen/03 A title much longer than twenty six characters.mp3",
                         "A folder whose name is longer than twenty six characters/Song.mp3", "Jazz/Take Five.mp3",
                         "Welcome.mp3"});
    size_t writes = 0, checks = 0;
    bool inversion_pending = false;
    box.Probe("inverted", [&] {
      writes += box.world().port.TakeWrites().size();
      inversion_pending = true;
    });
    box.Probe("check", [&] {
      if (::testing::Test::HasFatalFailure()) return;  // the first difference is enough
      const size_t sent = box.world().port.TakeWrites().size();
      writes += sent;
      if (inversion_pending && sent >= kWholeFrameWrites) inversion_pending = false;
      if (inversion_pending) return;
      ++checks;
      const app::frmMain& f = box.form();
      const auto& panel = box.world().port.panel;
      for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x)
          ASSERT_EQ(panel.Pixel(x, y), lcd::IsSetPixel(f.picLcd.Point(x, y)) != f.glcd.gbLcdInverted)
              << "seed " << seed << " check " << checks << " at " << box.now() << " ms: pixel (" << x << ", " << y
              << ")";
    });
    ASSERT_EQ(box.Run(RandomScript(seed, 400)), 0) << box.err.str();
    // The run really sent changes only most of the time: far fewer writes than whole frames.
    const double ticks = static_cast<double>(box.now()) / 20.0;
    EXPECT_LT(static_cast<double>(writes), 0.3 * ticks * kWholeFrameWrites) << "seed " << seed;
  }
}

}  // namespace
}  // namespace lorvan::testing
