// The panel back ends of the single-board computers: every screen, sent through a back end
// onto a recording bus and decoded there by the controller's panel model, is the picture
// the core made. The pictures and port writes come from the scenario runner.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hosts/linux/panel_backends.h"
#include "hosts/linux/panel_setup.h"
#include "lcd/ks0108_panel.h"
#include "support/program_folder.h"

namespace lorvan::linuxhost {
namespace {

using testing::ProgramFolder;

struct Screen {
  std::string name;
  std::vector<std::string> picture;       // 64 rows of '#' and '.'
  std::vector<std::pair<int, int>> port;  // the core's port writes from the start on
};

// A screen as the core drew it: the script's panel picture and every port write before it.
Screen Run(const ProgramFolder& folder, const std::string& name, const std::string& script) {
  const auto r = testing::RunScenario(folder.path(), script + "dump lcd\ndump port\n");
  EXPECT_EQ(r.exit_status, 0) << name << ": " << r.err;
  Screen s{name, {}, {}};
  std::istringstream in(r.out);
  std::string line;
  while (std::getline(in, line)) {
    if (s.picture.size() < 64) {
      s.picture.push_back(line);
      continue;
    }
    int address = 0, value = 0;
    std::istringstream(line) >> address >> value;
    s.port.emplace_back(address, value);
  }
  EXPECT_EQ(s.picture.size(), 64u) << name;
  return s;
}

// Every screen of the box, plain and inverted.
const std::vector<Screen>& Screens() {
  static const std::vector<Screen> screens = [] {
    ProgramFolder folder;
    folder.AddMusic({"Rock/Queen/a.mp3", "Pop/b.mp3", "c.mp3"});
    const std::pair<const char*, const char*> scripts[] = {
        {"browser", "wait 500\n"},
        {"playing", "key P\nwait 100\nkey P\nwait 2500\n"},
        {"equalizer", "key E\nwait 500\n"},
        {"help", "key H\nwait 500\n"},
        {"CD", "cd ready\nkey G\nwait 3000\n"},
        {"shutdown", "key X\nwait 2100\n"},
        {"standby", "power standby accept\nkey X\nkey X\nwait 2100\n"},
        {"service exit", "key X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\nwait 1700\n"},
    };
    std::vector<Screen> all;
    for (const bool inverted : {false, true}) {
      for (const auto& [name, script] : scripts) {
        all.push_back(Run(folder, std::string(name) + (inverted ? " inverted" : ""),
                          std::string("start\n") + (inverted ? "key I\n" : "") + script));
      }
    }
    return all;
  }();
  return screens;
}

PixelSource Pixels(const Screen& s) {
  return [&s](int x, int y) { return s.picture[y][x] == '#'; };
}

std::vector<std::string> Picture(const std::function<bool(int, int)>& pixel) {
  std::vector<std::string> rows(64, std::string(128, '.'));
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x)
      if (pixel(x, y)) rows[y][x] = '#';
  return rows;
}

// The recording buses: what went over them, decoded by the rig's panel model.
struct RecordingI2c : I2cBus {
  std::function<void(const uint8_t*, size_t)> on_write;
  bool Write(const uint8_t* bytes, size_t n) override {
    on_write(bytes, n);
    return true;
  }
};
struct RecordingSpi : SpiBus {
  std::function<void(const uint8_t*, size_t)> on_transfer;
  bool Transfer(const uint8_t* bytes, size_t n) override {
    on_transfer(bytes, n);
    return true;
  }
};
struct RecordingLines : GpioLines {
  std::vector<int> levels;
  std::function<void()> on_set;
  bool Set(const std::vector<int>& values) override {
    levels = values;
    if (on_set) on_set();
    return true;
  }
};

// A back end on recording buses with the panel model of its controller.
struct Rig {
  RecordingI2c i2c;
  RecordingSpi spi;
  RecordingLines lines;
  std::unique_ptr<OledLink> link;
  std::unique_ptr<PanelBackEnd> back_end;
  std::unique_ptr<lcd::OledPanel> oled;
  lcd::St7920Panel st7920;
  std::function<bool(int, int)> pixel;
  int bad_framing = 0;
};

std::unique_ptr<Rig> Oled(lcd::OledPanel::Chip chip, bool spi) {
  auto r = std::make_unique<Rig>();
  r->oled = std::make_unique<lcd::OledPanel>(chip);
  auto* model = r->oled.get();
  auto* rig = r.get();
  if (spi) {
    r->spi.on_transfer = [model, rig](const uint8_t* b, size_t n) { model->Write(rig->lines.levels.at(0), b, n); };
    r->link = std::make_unique<SpiOledLink>(r->spi, r->lines);
  } else {
    r->i2c.on_write = [model, rig](const uint8_t* b, size_t n) { rig->bad_framing += !model->WriteI2c(b, n); };
    r->link = std::make_unique<I2cOledLink>(r->i2c);
  }
  r->back_end = std::make_unique<OledBackEnd>(chip, *r->link);
  r->pixel = [model](int x, int y) { return model->Pixel(x, y); };
  return r;
}

std::unique_ptr<Rig> St7920(uint32_t hz) {
  auto r = std::make_unique<Rig>();
  auto* model = &r->st7920;
  r->spi.on_transfer = [model](const uint8_t* b, size_t n) { model->Write(b, n); };
  r->back_end = std::make_unique<St7920BackEnd>(r->spi, hz, [](int) {});
  r->pixel = [model](int x, int y) { return model->Pixel(x, y); };
  return r;
}

const struct {
  const char* name;
  std::function<std::unique_ptr<Rig>()> make;
} kBackEnds[] = {
    {"ssd1306-i2c", [] { return Oled(lcd::OledPanel::Chip::kSsd1306, false); }},
    {"sh1106-i2c", [] { return Oled(lcd::OledPanel::Chip::kSh1106, false); }},
    {"ssd1306-spi", [] { return Oled(lcd::OledPanel::Chip::kSsd1306, true); }},
    {"st7920-spi", [] { return St7920(200000); }},
    {"st7920-spi fast clock", [] { return St7920(2000000); }},
};

TEST(PanelBackEnds, EveryScreenOneAfterAnotherReachesThePanelModel) {
  const auto& screens = Screens();
  for (const auto& b : kBackEnds) {
    auto rig = b.make();
    ASSERT_TRUE(rig->back_end->Init()) << b.name;
    for (const auto& s : screens) {
      ASSERT_TRUE(rig->back_end->Show(Pixels(s))) << b.name;
      EXPECT_EQ(Picture(rig->pixel), s.picture) << b.name << ", " << s.name;
    }
    EXPECT_EQ(rig->bad_framing, 0) << b.name;
  }
}

TEST(PanelBackEnds, AStillPictureCostsNothingAndOneChangedPixelLittle) {
  const Screen& browser = Screens().front();
  for (const auto& b : kBackEnds) {
    auto rig = b.make();
    rig->back_end->Init();
    rig->back_end->Show(Pixels(browser));
    const int64_t first = rig->back_end->BusBytes();
    rig->back_end->Show(Pixels(browser));
    EXPECT_EQ(rig->back_end->BusBytes(), first) << b.name;
    Screen dot = browser;
    dot.picture[40][77] = dot.picture[40][77] == '#' ? '.' : '#';
    rig->back_end->Show(Pixels(dot));
    EXPECT_EQ(Picture(rig->pixel), dot.picture) << b.name;
    EXPECT_LT(rig->back_end->BusBytes() - first, 24) << b.name;
  }
}

TEST(PanelBackEnds, TheKs0108OnGpioLinesGetsThePortWritesOfEveryScreen) {
  for (const auto& s : Screens()) {
    RecordingLines lines;
    lcd::ks0108::Panel panel(lcd::kFirstParallelPort);
    // The lines' levels back into the port writes that would put them on the connector.
    lines.on_set = [&] {
      const auto& l = lines.levels;
      int data = 0;
      for (int bit = 0; bit < 8; ++bit) data |= l[bit] << bit;
      const int control = (l[8] ? 0 : lcd::kEnableBit) | (l[9] ? 0 : lcd::kLeftSelectBit) |
                          (l[10] ? lcd::kRightSelectBit : 0) | (l[11] ? 0 : lcd::kInstructionBit);
      panel.Out(lcd::kFirstParallelPort + lcd::kDataRegister, data);
      panel.Out(lcd::kFirstParallelPort + lcd::kControlRegister, control);
    };
    Ks0108GpioPort port(lines, lcd::kFirstParallelPort);
    for (const auto& [address, value] : s.port) port.Out32(static_cast<int16_t>(address), static_cast<int16_t>(value));
    EXPECT_EQ(Picture([&](int x, int y) { return panel.Pixel(x, y); }), s.picture) << s.name;
  }
}

TEST(PanelBackEnds, TheScreensDifferFromEachOther) {
  // Else the table above would prove less than it says.
  const auto& screens = Screens();
  for (size_t i = 0; i < screens.size(); ++i)
    for (size_t j = i + 1; j < screens.size(); ++j)
      EXPECT_NE(screens[i].picture, screens[j].picture) << screens[i].name << " / " << screens[j].name;
}

TEST(PanelSetup, AMissingDeviceIsToldOnceAndTheModelStillShowsThePicture) {
  const Screen& browser = Screens().front();
  for (const char* kind : {"ssd1306-i2c", "st7920-spi", "ks0108-gpio"}) {
    PanelOptions o;
    o.kind = kind;
    o.bus = "/nonexistent/bus0";
    o.gpio_chip = "/nonexistent/gpiochip9";
    std::vector<std::string> log;
    PanelSetup panel(o, nullptr, [&](const std::string& line) { log.push_back(line); });
    for (const auto& [address, value] : browser.port) {
      panel.Port().Out32(static_cast<int16_t>(address), static_cast<int16_t>(value));
    }
    panel.Flush();
    panel.Flush();
    ASSERT_EQ(log.size(), 1u) << kind;
    EXPECT_NE(log[0].find("/nonexistent/"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("No such file"), std::string::npos) << log[0];
    EXPECT_EQ(Picture([&](int x, int y) { return panel.Pixel(x, y); }), browser.picture) << kind;
  }
}

}  // namespace
}  // namespace lorvan::linuxhost
