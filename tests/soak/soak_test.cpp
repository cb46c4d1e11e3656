// A long run in virtual time: random key strokes of the remote and random behaviour of the outside
// world, with the program's invariants checked after every event.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "app/ini_file.h"
#include "posix/posix_file_system.h"
#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

// Virtual hours of the run: LORVAN_SOAK_HOURS, 24 unless set.
double SoakHours() {
  const char* h = std::getenv("LORVAN_SOAK_HOURS");
  return h ? std::atof(h) : 24.0;
}

// A script of random events, one every 0.2 to 4 s, each followed by a check.
std::string RandomScript(uint32_t seed, double hours, int& events) {
  std::mt19937 rng(seed);
  const std::string keys = "PASVNPNNV<>0123456789CRGOUWFDEHI";
  std::ostringstream s;
  s << "start\ncheck\n";
  const int64_t end_ms = static_cast<int64_t>(hours * 3600 * 1000);
  events = 0;
  for (int64_t t = 0; t < end_ms; ++events) {
    const int64_t step = std::uniform_int_distribution<int64_t>(200, 4000)(rng);
    t += step;
    s << "wait " << step << "\n";
    const int what = std::uniform_int_distribution<int>(0, 99)(rng);
    if (what < 70) {
      s << "key " << keys[std::uniform_int_distribution<size_t>(0, keys.size() - 1)(rng)] << "\n";
    } else if (what < 78) {
      s << "player end\n";
    } else if (what < 81) {
      s << "player window 0\n";
    } else if (what < 84) {
      s << "player window 1\n";
    } else if (what < 88) {
      s << "player length " << std::uniform_int_distribution<int>(0, 400)(rng) << "\n";
    } else if (what < 92) {
      static const char* cd[] = {"cd absent", "cd other", "cd empty", "cd ready"};
      s << cd[std::uniform_int_distribution<int>(0, 3)(rng)] << "\n";
    } else if (what < 94) {
      s << "power resume " << (rng() % 2 ? "user" : "automatic") << "\n";
    } else if (what < 95) {
      s << "key X\nwait 300\nkey X\n";  // standby and back
    } else {
      s << "player status " << std::uniform_int_distribution<int>(-2, 5)(rng) << "\n";
    }
    s << "check\n";
  }
  return s.str();
}

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.AddMusic({"Rock/Queen/01 Bohemian Rhapsody.mp3", "Rock/Queen/02 Under Pressure.mp3",
                     "Rock/Queen/03 A title much longer than twenty six characters.mp3", "Rock/Intro.mp3",
                     "Rock/_dirname.talk", "Jazz/Take Five.mp3", "Jazz/So What.mp3", "Empty/", "Deep/a/b/c/d/e.mp3",
                     "Welcome.mp3", "Track.cda.mp3"});
    for (int i = 0; i < 30; ++i) folder.AddMusic({"Many/" + std::to_string(i) + ".mp3"});
    folder.Write("CD/Track01.cda", "t");
    folder.Write("CD/Track02.cda", "t");
  }

  // Every rule the program's state keeps, whatever happened before.
  static void CheckInvariants(sim::SimRunner& r, int line) {
    const app::frmMain& f = r.form;
    const app::SharedState& s = f.state;
    const int n = f.lstFileEntries.ListCount();
    SCOPED_TRACE("after script line " + std::to_string(line));
    const bool listed = n > 0 && s.glMediaSource != -1;
    const struct {
      const char* name;
      int64_t value, low, high;
    } ranges[] = {
        {"cursor row", s.giCursorRow, 0, 4},
        {"list row", s.giListRow, 0, 4},
        {"list top", s.giListTop, 0, listed ? n - 1 - s.giListRow : INT64_MAX},
        {"selected entry", s.giSelectedEntryNr, listed ? 1 : INT64_MIN, listed ? n : INT64_MAX},
        {"preview lines", f.lstFilePreview.ListCount(), 0, 5},
        {"folder depth", s.giFolderDepth, 0, app::kStackDepths},  // 21 folders entered fill the stacks
        {"screen mode", s.glScreenMode, 1, 3},
        {"equalizer band", f.miEqBand, 0, 9},
        {"help page", s.giHelpPage, 0, s.giHelpPageCount},
        {"progress", s.giPlayProgress, 0, INT64_MAX},
        {"volume", s.giVolume, 0, 255},
    };
    for (const auto& range : ranges) {
      ASSERT_TRUE(range.value >= range.low && range.value <= range.high) << range.name << " " << range.value;
    }
    ASSERT_TRUE(s.glPlayState == 0 || s.glPlayState == 1 || s.glPlayState == 3) << s.glPlayState;
    ASSERT_TRUE(s.glMediaSource == -1 || (s.glMediaSource >= 1 && s.glMediaSource <= 3)) << s.glMediaSource;
    ASSERT_TRUE(f.Running());
    // The settings file is always loadable.
    app::SharedState loaded;
    posix::PosixFileSystem files;
    ASSERT_NO_THROW(app::ReadWriteIniFile(loaded, files, r.world.program_dir + "/Lorvan.ini", 1));
  }

  ProgramFolder folder;
};

TEST_F(Soak, RandomKeysAndPlayerEventsKeepEveryInvariant) {
  const double hours = SoakHours();
  int events = 0;
  const std::string script = RandomScript(20261206, hours, events);
  // LORVAN_SOAK_SCRIPT names a file to keep the script in, to replay a finding with lorvan-sim
  // (its "check" lines are then to be removed).
  if (const char* keep = std::getenv("LORVAN_SOAK_SCRIPT")) {
    std::ofstream(keep, std::ios::binary) << script;
  }
  std::ostringstream out, err;
  sim::SimRunner runner(folder.path(), out, err);
  int checks = 0, plays = 0, standbys = 0;
  runner.commands.Add("check", {nullptr, [&](const sim::Words&) {
                                  ++checks;
                                  CheckInvariants(runner, checks);
                                  if (::testing::Test::HasFatalFailure()) std::exit(1);
                                  // The records of the outside world are drained as they go (the port keeps a bounded tail).
                                  for (const auto& m : runner.world.player.TakeMessages()) {
                                    if (m == "send 273 40045 0") ++plays;
                                  }
                                  for (const auto& e : runner.world.events.Take()) {
                                    if (e.find("SetSuspendState") != std::string::npos) ++standbys;
                                  }
                                }});
  EXPECT_EQ(runner.Run(script, "soak"), 0) << err.str();
  EXPECT_EQ(checks, events + 1);
  // The run did what a user would: it played, and went into standby and back.
  EXPECT_GT(plays, 0);
  EXPECT_GT(standbys, 0);
  std::printf("soak: %.1f virtual hours, %d events, %d checks, %d plays, %d standbys\n", hours, events, checks,
              plays, standbys);
}

}  // namespace
}  // namespace lorvan::testing
