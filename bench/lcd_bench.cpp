// Speed of the LCD: one frame to the port, and one browser-screen refresh with a full folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/frm_main.h"
#include "hosts/sim/sim_world.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvan;

// A port whose writes go nowhere, as fast as a port can be.
class NullPort : public platform::PortIo {
 public:
  void Out32(int16_t, int16_t) override {}
};

// A program folder with the shipped fonts and bitmaps, removed at the end.
class BenchFolder {
 public:
  BenchFolder() {
    std::string tmpl = (fs::temp_directory_path() / "lorvan-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
    path = tmpl;
    const fs::path data = fs::path(__FILE__).parent_path().parent_path() / "data";
    fs::copy(data / "Fonts", fs::path(path) / "Fonts", fs::copy_options::recursive);
    fs::copy(data / "Bitmaps", fs::path(path) / "Bitmaps", fs::copy_options::recursive);
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::string path;
};

// The simulated machine with the null port in place of the recording one.
struct BenchMachine {
  BenchFolder folder;
  sim::SimWorld world{folder.path};
  NullPort port;
  platform::Platform platform{world.player, world.processes, port,         world.clock, world.power,
                              world.drives, world.files,     world.dialogs, world.app,   world.script};
};

void BM_FrameTransfer(benchmark::State& state) {
  BenchMachine m;
  lcd::gLCD glcd(m.platform);
  glcd.LcdInit();
  lcd::Picture picture;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x)
      if ((x * 7 + y * 3) % 5 == 0) picture.PSet(x, y, lcd::kBlack);
  for (auto _ : state) {
    glcd.LcdTransferPicture(picture, 5);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1040);
}
BENCHMARK(BM_FrameTransfer);

void BM_UpdateLcdBrowser(benchmark::State& state) {
  BenchMachine m;
  app::frmMain f(m.platform);
  f.frmPictures.Load(m.world.files, m.world.program_dir);
  f.state.gsAppPath = m.world.program_dir;
  f.state.glScreenMode = app::kScreenBrowser;
  f.state.glMediaSource = app::kSourceMp3;
  f.state.glPlayState = app::kPlaying;
  f.state.glLcdDelayLoops = 5;
  f.chkEqOn.value = 1;
  f.miListLineY = {11, 19, 27, 35, 43};
  f.state.giCursorRow = 2;
  f.state.giPlayProgress = 57;
  f.state.gsFolderTitle = "Music/Rock/Queen/Greatest";
  f.lstFilePreview.lines = {"01 Bohemian Rhapsody.mp3", "02 Another One Bites T", "03 Killer Queen.mp3",
                            "04 Fat Bottomed Girls.m", "05 Bicycle Race.mp3"};
  f.txtCurMinutes.text = "01";
  f.txtCurSeconds.text = "05";
  f.txtTotalMinutes.text = "03";
  f.txtTotalSeconds.text = "40";
  f.txtCurFileNr.text = "03";
  f.txtTotalFileNr.text = "12";
  f.txtBitrate.text = "128";
  f.glcd.LcdInit();
  for (auto _ : state) {
    f.UpdateLcd();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_UpdateLcdBrowser);

}  // namespace
