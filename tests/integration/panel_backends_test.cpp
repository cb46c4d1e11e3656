// The panel back ends of the single-board computers: every screen, sent through a back end
// onto a bus that hands it to the controller's panel model, is the picture the core made.
// The pictures and port writes come from the scenario runner (scripts in tables/screens.json).
#include <gtest/gtest.h>

#include "hosts/linux/panel_setup.h"
#include "panel_rig.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

struct Screen {
  std::string name;
  Picture picture;
  std::vector<std::pair<int, int>> port;  // the core's port writes from the start on
};

// Every screen of the box, plain and inverted, as the core drew it.
const std::vector<Screen>& Screens() {
  static const std::vector<Screen> screens = [] {
    ProgramFolder folder;
    folder.AddMusic({"Rock/Queen/a.mp3", "Pop/b.mp3", "c.mp3"});
    const auto scripts = ReadJson(LORVAN_SOURCE_DIR "/tests/integration/tables/screens.json").at("scripts");
    std::vector<Screen> all;
    for (const bool inverted : {false, true}) {
      for (const auto& row : scripts) {
        const std::string name = row[0], script = row[1];
        const std::string full = std::string("start\n") + (inverted ? "key I\n" : "") + script + "dump lcd\ndump port\n";
        const auto r = RunScenario(folder.path(), full);
        EXPECT_EQ(r.exit_status, 0) << name << ": " << r.err;
        Dumps dumps = ParseDumps(r.out);
        EXPECT_EQ(dumps.pictures.size(), 1u) << name;
        all.push_back({name + (inverted ? " inverted" : ""), dumps.pictures.at(0), dumps.port});
      }
    }
    for (size_t i = 0; i < all.size(); ++i) {
      for (size_t j = i + 1; j < all.size(); ++j) {
        EXPECT_NE(all[i].picture, all[j].picture) << "else the tests prove less: " << all[i].name << " / " << all[j].name;
      }
    }
    return all;
  }();
  return screens;
}

linuxhost::PixelSource Pixels(const Picture& p) {
  return [&p](int x, int y) { return p[y][x] == '#'; };
}

const std::pair<const char*, uint32_t> kBackEnds[] = {
    {"ssd1306-i2c", 0}, {"sh1106-i2c", 0}, {"ssd1306-spi", 0}, {"st7920-spi", 200000}, {"st7920-spi", 2000000}};

TEST(PanelBackEnds, EveryScreenOneAfterAnotherReachesThePanelModel) {
  for (const auto& [kind, hz] : kBackEnds) {
    SCOPED_TRACE(std::string(kind) + " " + std::to_string(hz));
    Rig rig(kind, hz);
    ASSERT_TRUE(rig.back_end->Init());
    for (const auto& s : Screens()) {
      ASSERT_TRUE(rig.back_end->Show(Pixels(s.picture)));
      EXPECT_EQ(PictureOf([&](int x, int y) { return rig.Pixel(x, y); }), s.picture) << s.name;
    }
    EXPECT_EQ(rig.bad_framing, 0);
  }
}

TEST(PanelBackEnds, AStillPictureCostsNothingAndOneChangedPixelLittle) {
  const Picture& browser = Screens().front().picture;
  for (const auto& [kind, hz] : kBackEnds) {
    SCOPED_TRACE(std::string(kind) + " " + std::to_string(hz));
    Rig rig(kind, hz);
    rig.back_end->Init();
    rig.back_end->Show(Pixels(browser));
    const int64_t first = rig.back_end->BusBytes();
    rig.back_end->Show(Pixels(browser));
    EXPECT_EQ(rig.back_end->BusBytes(), first);
    Picture dot = browser;
    dot[40][77] = dot[40][77] == '#' ? '.' : '#';
    rig.back_end->Show(Pixels(dot));
    EXPECT_EQ(PictureOf([&](int x, int y) { return rig.Pixel(x, y); }), dot);
    EXPECT_LT(rig.back_end->BusBytes() - first, 24);
  }
}

TEST(PanelBackEnds, TheKs0108OnGpioLinesGetsThePortWritesOfEveryScreen) {
  for (const auto& s : Screens()) {
    Rig rig("ks0108-gpio");
    for (const auto& [address, value] : s.port) rig.gpio->Out32(static_cast<int16_t>(address), static_cast<int16_t>(value));
    EXPECT_EQ(PictureOf([&](int x, int y) { return rig.Pixel(x, y); }), s.picture) << s.name;
  }
}

TEST(PanelSetup, AMissingDeviceIsToldOnceAndTheModelStillShowsThePicture) {
  const Screen& browser = Screens().front();
  for (const char* kind : {"ssd1306-i2c", "st7920-spi", "ks0108-gpio"}) {
    linuxhost::PanelOptions o;
    o.kind = kind;
    o.bus = "/nonexistent/bus0";
    o.gpio_chip = "/nonexistent/gpiochip9";
    std::vector<std::string> log;
    linuxhost::PanelSetup panel(o, nullptr, [&](const std::string& line) { log.push_back(line); });
    for (const auto& [address, value] : browser.port) {
      panel.Port().Out32(static_cast<int16_t>(address), static_cast<int16_t>(value));
    }
    panel.Flush();
    panel.Flush();
    ASSERT_EQ(log.size(), 1u) << kind;
    EXPECT_NE(log[0].find("/nonexistent/"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("No such file"), std::string::npos) << log[0];
    EXPECT_EQ(PictureOf([&](int x, int y) { return panel.Pixel(x, y); }), browser.picture) << kind;
  }
}

}  // namespace
}  // namespace lorvan::testing
