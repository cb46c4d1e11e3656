// The cost of talking to the player through the link, against the simulated player.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "player/winamp_control.h"

namespace {

struct PlayerBench {
  PlayerBench() : dir(MakeDir()), world(dir), loop(world.clock, world.script), winamp(world.platform, loop) {}
  ~PlayerBench() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  static std::string MakeDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lorvan-bench-XXXXXX").string();
    return mkdtemp(tmpl.data()) ? tmpl : std::string(".");
  }
  std::string dir;
  lorvan::sim::SimWorld world;
  lorvan::event::EventLoop loop;
  lorvan::player::clsWinampControl winamp;
};

// The four queries one refresh tick makes while a track plays.
void BM_RefreshQueries(benchmark::State& state) {
  PlayerBench b;
  b.winamp.AddToPlaylistNew("/Music/a.mp3");
  b.winamp.PlaySong();
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.winamp.GetPlayStatus());
    benchmark::DoNotOptimize(b.winamp.GetCurrentPos());
    benchmark::DoNotOptimize(b.winamp.GetCurrentSongLength());
    benchmark::DoNotOptimize(b.winamp.GetBitrate());
    b.world.player.TakeMessages();
  }
}
BENCHMARK(BM_RefreshQueries);

// A gated operation: the version request, then the volume.
void BM_SetVolume(benchmark::State& state) {
  PlayerBench b;
  int16_t level = 200;
  for (auto _ : state) {
    benchmark::DoNotOptimize(b.winamp.SetVolume(level));
    b.world.player.TakeMessages();
  }
}
BENCHMARK(BM_SetVolume);

// The equalizer default key: ten read/write pairs.
void BM_EqDefault(benchmark::State& state) {
  PlayerBench b;
  for (auto _ : state) {
    for (int32_t band = 0; band <= 9; ++band) b.winamp.SetEqualizerValue(band, 29);
    b.world.player.TakeMessages();
  }
}
BENCHMARK(BM_EqDefault);

}  // namespace
