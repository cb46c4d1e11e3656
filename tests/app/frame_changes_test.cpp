// Sending only what changed, in long random runs of the whole program: after every transfer
// the panel shows the picture.
#include <random>
#include <sstream>

#include "box.h"

namespace lorvan::testing {
namespace {

constexpr size_t kWholeFrameWrites = 8 * 130 * 3;

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
