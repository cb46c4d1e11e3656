// Port writes a second on the simulated machine, screen by screen, with only the changes sent
// and with whole frames (the stream of --full-frames, and of every refresh before the change),
// and the share of a core they take at 1 us a write (a parallel port on a slow bus).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace {

using namespace lorvan;

constexpr int kMeasuredSeconds = 20;

struct Screen {
  std::vector<std::string> music;
  std::string setup;   // script lines after start-up
  std::string second;  // script lines of one measured second
};

const Screen kStillBrowser{{"Short.mp3", "Other.mp3"}, "", "wait 1000\n"};
const Screen kPlayingTime{{"Short.mp3", "Other.mp3"}, "player length 300\nkey P\n", "wait 1000\n"};
const Screen kPlayingLongName{{"A title much longer than twenty six characters.mp3", "Other.mp3"},
                              "player length 300\nkey P\n", "wait 1000\n"};
// The selected band steps up and down, five steps a second.
const Screen kEqualizerBandMoving{
    {"Short.mp3"}, "key E\n", "key N\nwait 200\nkey N\nwait 200\nkey V\nwait 200\nkey V\nwait 200\nkey N\nwait 200\n"};
const Screen kHelp{{"Short.mp3"}, "key H\n", "wait 1000\n"};

void PortWrites(benchmark::State& state, const Screen& screen, bool whole_frames) {
  double writes_per_s = 0;
  for (auto _ : state) {
    testing::ProgramFolder folder;
    folder.AddMusic(screen.music);
    std::ostringstream out, err;
    sim::SimRunner runner(folder.path(), out, err);
    runner.form.glcd.whole_frames = whole_frames;
    size_t writes = 0;
    int64_t from_ms = 0;
    runner.commands.Add("measure", {nullptr, [&](const sim::Words&) {
                                      runner.world.port.TakeWrites();
                                      writes = 0;
                                      from_ms = runner.world.clock.MonotonicMs();
                                    }});
    runner.commands.Add("count", {nullptr, [&](const sim::Words&) { writes += runner.world.port.TakeWrites().size(); }});
    std::string script = "start\n" + screen.setup + "wait 3000\nmeasure\n";
    for (int s = 0; s < kMeasuredSeconds; ++s) script += screen.second + "count\n";
    if (runner.Run(script, "bench") != 0) {
      state.SkipWithError(err.str().c_str());
      return;
    }
    writes_per_s = static_cast<double>(writes) * 1000.0 / static_cast<double>(runner.world.clock.MonotonicMs() - from_ms);
  }
  state.counters["writes_per_s"] = writes_per_s;
  state.counters["core_pct_at_1us"] = writes_per_s * 1e-6 * 100;
}

#define PORT_BENCH(name, screen)                                                             \
  BENCHMARK_CAPTURE(PortWrites, name##_changes, screen, false)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(PortWrites, name##_whole_frames, screen, true)->Iterations(1)->Unit(benchmark::kMillisecond)

PORT_BENCH(still_browser, kStillBrowser);
PORT_BENCH(playing_time_counting, kPlayingTime);
PORT_BENCH(playing_scrolling_name, kPlayingLongName);
PORT_BENCH(equalizer_band_moving, kEqualizerBandMoving);
PORT_BENCH(help, kHelp);

}  // namespace
