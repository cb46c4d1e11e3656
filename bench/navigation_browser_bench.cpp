// Speed of the folder browser on a large folder: listing it and moving the cursor in it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/frm_main.h"
#include "hosts/sim/sim_world.h"
#include "navigation/browser.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvan;

constexpr int kEntries = 10000;

// A program folder whose MP3 root holds kEntries files, and a program on it (not started:
// the browser needs only its state).
class BigFolder {
 public:
  BigFolder() {
    std::string tmpl = (fs::temp_directory_path() / "lorvan-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    dir_ = tmpl;
    fs::create_directories(dir_ / "Music");
    for (int i = 0; i < kEntries; ++i) {
      std::ofstream(dir_ / "Music" / ("Some Artist - A Title Of Moderate Length " + std::to_string(i) + ".mp3"));
    }
    world_ = std::make_unique<sim::SimWorld>(dir_.string());
    form_ = std::make_unique<app::frmMain>(world_->platform);
    auto& s = form_->state;
    s.glMediaSource = app::kSourceMp3;
    s.glScreenMode = app::kScreenBrowser;
    s.gsMp3RootDir = "Music/";
    s.gsAudioDir = "Music/";
  }
  ~BigFolder() {
    form_.reset();
    world_.reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  app::frmMain& form() { return *form_; }

 private:
  fs::path dir_;
  std::unique_ptr<sim::SimWorld> world_;
  std::unique_ptr<app::frmMain> form_;
};

BigFolder& Folder() {
  static BigFolder folder;
  return folder;
}

void BM_ListFolder10000(benchmark::State& state) {
  auto& f = Folder().form();
  for (auto _ : state) {
    navigation::ListFolder(f.browser, "Music/", navigation::kFolderNone, navigation::kSpeak);
    benchmark::DoNotOptimize(f.lstFileEntries.lines.data());
  }
  if (f.lstFileEntries.ListCount() != kEntries) state.SkipWithError("wrong entry count");
}
BENCHMARK(BM_ListFolder10000)->Unit(benchmark::kMillisecond);

void BM_CursorMove10000(benchmark::State& state) {
  auto& f = Folder().form();
  navigation::ListFolder(f.browser, "Music/", navigation::kFolderNone, navigation::kSpeak);
  for (auto _ : state) {
    navigation::UpdateListWindow(f.browser, navigation::kCursorDown, navigation::kFolderNone, navigation::kSpeak);
    benchmark::DoNotOptimize(f.state.giSelectedEntryNr);
  }
}
BENCHMARK(BM_CursorMove10000)->Unit(benchmark::kMicrosecond);

}  // namespace
