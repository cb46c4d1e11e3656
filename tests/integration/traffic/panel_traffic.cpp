// Bytes on the panel's bus per second, per back end, on the still browser screen and while a
// track plays: ten seconds of the simulated box, its picture taken every 50 ms (as the Linux
// host's housekeeping hands it to a back end) and the core's port writes counted.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "hosts/linux/panel_backends.h"
#include "support/program_folder.h"

namespace lh = lorvan::linuxhost;

namespace {

constexpr int kSeconds = 10;
constexpr int kStepMs = 50;

struct Run {
  std::vector<std::vector<std::string>> pictures;
  int64_t port_writes = 0;       // in the measured span
  int64_t changed_levels = 0;    // of those, the ones a GPIO port must pass on (data or lines changed)
};

Run Measure(const lorvan::testing::ProgramFolder& folder, const std::string& setup) {
  std::string script = "start\n" + setup + "wait 1000\ndump port\n";
  for (int t = 0; t < kSeconds * 1000 / kStepMs; ++t) {
    script += "wait " + std::to_string(kStepMs) + "\ndump lcd\n";
  }
  script += "dump port\n";
  const auto r = lorvan::testing::RunScenario(folder.path(), script);
  Run run;
  std::istringstream in(r.out);
  std::string line;
  std::vector<std::string> picture;
  std::vector<std::pair<int, int>> writes;
  bool after_pictures = false;
  while (std::getline(in, line)) {
    if (!line.empty() && (line[0] == '#' || line[0] == '.')) {
      picture.push_back(line);
      if (picture.size() == 64) run.pictures.push_back(std::move(picture)), picture.clear();
      after_pictures = true;
    } else if (after_pictures) {
      int a = 0, v = 0;
      std::istringstream(line) >> a >> v;
      writes.emplace_back(a, v);
    }
  }
  run.port_writes = static_cast<int64_t>(writes.size());
  int last[2] = {-1, -1};
  for (const auto& [a, v] : writes) {
    int& l = last[(a - lorvan::lcd::kFirstParallelPort) == lorvan::lcd::kControlRegister];
    if (v != l) ++run.changed_levels;
    l = v;
  }
  return run;
}

struct NullI2c : lh::I2cBus {
  bool Write(const uint8_t*, size_t) override { return true; }
};
struct NullSpi : lh::SpiBus {
  bool Transfer(const uint8_t*, size_t) override { return true; }
};
struct NullLines : lh::GpioLines {
  bool Set(const std::vector<int>&) override { return true; }
};

int64_t BackEndBytes(const std::string& kind, const Run& run) {
  NullI2c i2c;
  NullSpi spi;
  NullLines lines;
  lh::I2cOledLink i2c_link(i2c);
  lh::SpiOledLink spi_link(spi, lines);
  std::unique_ptr<lh::PanelBackEnd> b;
  using Chip = lorvan::lcd::OledPanel::Chip;
  if (kind == "ssd1306-i2c") b = std::make_unique<lh::OledBackEnd>(Chip::kSsd1306, i2c_link);
  if (kind == "sh1106-i2c") b = std::make_unique<lh::OledBackEnd>(Chip::kSh1106, i2c_link);
  if (kind == "ssd1306-spi") b = std::make_unique<lh::OledBackEnd>(Chip::kSsd1306, spi_link);
  if (kind == "st7920-spi") b = std::make_unique<lh::St7920BackEnd>(spi, 200000);
  b->Init();
  const auto& first = run.pictures.front();
  b->Show([&](int x, int y) { return first[y][x] == '#'; });
  const int64_t start = b->BusBytes();
  for (const auto& p : run.pictures) b->Show([&](int x, int y) { return p[y][x] == '#'; });
  return b->BusBytes() - start;
}

}  // namespace

int main() {
  lorvan::testing::ProgramFolder folder;
  folder.AddMusic({"Rock/Queen/a.mp3", "Pop/b.mp3", "c.mp3"});
  const Run still = Measure(folder, "");
  const Run playing = Measure(folder, "key P\nwait 100\nkey P\nplayer length 300\n");
  std::printf("| panel | still browser, bytes/s | playing, bytes/s |\n|---|---|---|\n");
  std::printf("| ks0108-lpt (port writes) | %lld | %lld |\n", static_cast<long long>(still.port_writes / kSeconds),
              static_cast<long long>(playing.port_writes / kSeconds));
  std::printf("| ks0108-gpio (line changes) | %lld | %lld |\n",
              static_cast<long long>(still.changed_levels / kSeconds),
              static_cast<long long>(playing.changed_levels / kSeconds));
  for (const char* kind : {"ssd1306-i2c", "sh1106-i2c", "ssd1306-spi", "st7920-spi"}) {
    std::printf("| %s | %lld | %lld |\n", kind, static_cast<long long>(BackEndBytes(kind, still) / kSeconds),
                static_cast<long long>(BackEndBytes(kind, playing) / kSeconds));
  }
  return 0;
}
