// Bytes on the panel's bus per second, per back end, on the still browser screen and while a
// track plays: ten seconds of the simulated box, its picture taken every 50 ms (as the Linux
// host's housekeeping hands it to a back end) and the core's port writes counted.
#include <cstdio>
#include <string>

#include "integration/panel_rig.h"
#include "support/program_folder.h"

namespace t = lorvan::testing;

namespace {

constexpr int kSeconds = 10;
constexpr int kStepMs = 50;

struct Run {
  std::vector<t::Picture> pictures;
  int64_t port_writes = 0;     // in the measured span
  int64_t changed_levels = 0;  // of those, the ones a GPIO port must pass on (data or lines changed)
};

Run Measure(const t::ProgramFolder& folder, const std::string& setup) {
  std::string script = "start\n" + setup + "wait 1000\ndump port\n";
  for (int step = 0; step < kSeconds * 1000 / kStepMs; ++step) script += "wait " + std::to_string(kStepMs) + "\ndump lcd\n";
  const t::Dumps dumps = t::ParseDumps(t::RunScenario(folder.path(), script + "dump port\n").out);
  Run run{dumps.pictures, static_cast<int64_t>(dumps.port.size()), 0};
  int last[2] = {-1, -1};
  for (const auto& [a, v] : dumps.port) {
    int& l = last[(a - lorvan::lcd::kFirstParallelPort) == lorvan::lcd::kControlRegister];
    if (v != l) ++run.changed_levels;
    l = v;
  }
  return run;
}

int64_t BackEndBytes(const std::string& kind, const Run& run) {
  t::Rig rig(kind);
  rig.back_end->Init();
  const auto show = [&](const t::Picture& p) { rig.back_end->Show([&](int x, int y) { return p[y][x] == '#'; }); };
  show(run.pictures.front());
  const int64_t start = rig.back_end->BusBytes();
  for (const auto& p : run.pictures) show(p);
  return rig.back_end->BusBytes() - start;
}

}  // namespace

int main() {
  t::ProgramFolder folder;
  folder.AddMusic({"Rock/Queen/a.mp3", "Pop/b.mp3", "c.mp3"});
  const Run still = Measure(folder, "");
  const Run playing = Measure(folder, "key P\nwait 100\nkey P\nplayer length 300\n");
  std::printf("| panel | still browser, bytes/s | playing, bytes/s |\n|---|---|---|\n");
  std::printf("| ks0108-lpt (port writes) | %lld | %lld |\n", static_cast<long long>(still.port_writes / kSeconds),
              static_cast<long long>(playing.port_writes / kSeconds));
  std::printf("| ks0108-gpio (line changes) | %lld | %lld |\n", static_cast<long long>(still.changed_levels / kSeconds),
              static_cast<long long>(playing.changed_levels / kSeconds));
  for (const char* kind : {"ssd1306-i2c", "sh1106-i2c", "ssd1306-spi", "st7920-spi"}) {
    std::printf("| %s | %lld | %lld |\n", kind, static_cast<long long>(BackEndBytes(kind, still) / kSeconds),
                static_cast<long long>(BackEndBytes(kind, playing) / kSeconds));
  }
  return 0;
}
