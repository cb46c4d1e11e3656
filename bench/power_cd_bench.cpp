// How fast the CD search can test the drive, and what a standby run costs in real time on the
// simulated machine (its loop is woken only when a test can succeed).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "event/event_loop.h"
#include "cd/check_cd.h"
#include "hosts/sim/sim_world.h"
#include "power/standby_detector.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder with an empty "CD" folder in it, removed afterwards.
struct Scratch {
  Scratch() {
    std::string t = (fs::temp_directory_path() / "lorvan-bench-XXXXXX").string();
    path = mkdtemp(t.data()) ? t : throw std::runtime_error("no temporary folder");
    fs::create_directory(path + "/CD");
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string path;
};

void BM_CheckCDInserted(benchmark::State& st) {
  Scratch dir;
  lorvan::sim::SimEvents events;
  lorvan::sim::SimDrives drives(events, dir.path);
  drives.cd_root = "CD/";
  drives.cd_state = st.range(0) ? lorvan::sim::CdState::kReady : lorvan::sim::CdState::kEmpty;
  for (auto _ : st) {
    benchmark::DoNotOptimize(lorvan::cd::CheckCDInserted(drives, "CD/", lorvan::platform::kDriveCdRom));
  }
  st.SetLabel(st.range(0) ? "disc ready" : "no disc");
}
BENCHMARK(BM_CheckCDInserted)->Arg(0)->Arg(1);

// A standby run resumed by the user, waiting out T seconds of virtual time.
void BM_StandbyRun(benchmark::State& st) {
  Scratch dir;
  for (auto _ : st) {
    lorvan::sim::SimWorld world(dir.path);
    lorvan::event::EventLoop loop(world.clock, world.script);
    lorvan::power::clsSetShutdownAndDetectWakeUp detector(world.platform, loop);
    detector.StartStandbyAndWakeUpDetection(static_cast<int16_t>(st.range(0)));
  }
  st.SetLabel("T = " + std::to_string(st.range(0)) + " s");
}
BENCHMARK(BM_StandbyRun)->Arg(60)->Arg(3600)->Unit(benchmark::kMicrosecond);

}  // namespace
