// The exit key: presses counted in a 2000 ms window select shutdown, standby or service exit;
// every way out rewrites the settings before it acts, and the program ends even when closing
// the player or starting the shutdown program fails.
#include <gtest/gtest.h>

#include "box.h"

namespace lorvan::testing {
namespace {

using nlohmann::json;

// A settings file that a rewrite changes: the comment at its end moves to the top.
std::string UntidySettings() { return Settings().Text({"// head"}) + "// tail\r\n"; }
std::string RewrittenSettings() { return Settings().Text({"// head", "// tail"}); }

std::string Presses(int n, int apart_ms) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::string(i ? "wait " + std::to_string(apart_ms) + "\n" : "") + "key X\n";
  return s;
}

// A program folder with an untidy settings file and a shutdown program.
void Arrange(SimBox& b) {
  b.folder.Write("Lorvan.ini", UntidySettings());
  b.folder.Write("Hardstop", "#!/bin/sh\n");
  b.Probe("drain", [&b] { b.Events(); });
  b.Probe("idle", [] {});  // a last line, so that the script runs until its time
}

class ExitKey : public ::testing::Test {
 protected:
  ExitKey() {
    Arrange(box);
    // The moment the program ends, in virtual time.
    auto recorded = box.form().on_unload;
    box.form().on_unload = [this, recorded] {
      ended_at = box.now();
      recorded();
    };
  }

  SimBox box;
  int64_t ended_at = -1;
};

TEST_F(ExitKey, OnePressShutsDown500MsAfterTheWindowWithoutHandlingAnything) {
  // The second press comes 2.1 s after the first: the first is evaluated alone. The key and
  // the probe fall into the 500 ms pause and are never handled.
  int64_t probed_at = -1;
  bool running_at_probe = true;
  box.Probe("during", [&] {
    probed_at = box.now();
    running_at_probe = box.form().Running();
  });
  ASSERT_EQ(box.Run("start\nprobe drain\nkey X\nwait 2100\nkey X\nwait 200\nprobe during\n"), 0);
  EXPECT_EQ(ended_at, 2501);
  EXPECT_EQ(probed_at, 2501);
  EXPECT_FALSE(running_at_probe);
  EXPECT_EQ(SimBox::Names(box.Events()), (std::vector<std::string>{"activate", "sendkeys", "shell", "exit"}));
}

// The outside effects of one way out, in the order they happened.
class Timeline {
 public:
  explicit Timeline(SimBox& b) : box_(b) {
    // The settings file is replaced by a rename: that is the moment of the rewrite.
    box_.world().files.fault_injection = [this](const std::string& step) {
      if (step == "rename") Note("rewrite");
      return true;
    };
    auto keys = box_.world().processes.on_keys;
    box_.world().processes.on_keys = [this, keys](int32_t task, const std::string& k) {
      Note("close player");
      keys(task, k);
    };
    auto started = box_.world().processes.on_start;
    box_.world().processes.on_start = [this, started](const std::string& command, int32_t task) {
      Note(command.find("Hardstop") != std::string::npos ? "shutdown program" : "player started");
      started(command, task);
    };
    box_.world().power.while_suspended = [this] { Note("suspended"); };
    auto unload = box_.form().on_unload;
    box_.form().on_unload = [this, unload] {
      Note("end");
      unload();
    };
  }
  std::vector<std::string> entries;

 private:
  void Note(const std::string& what) {
    // The stop command reached the player since the previous entry.
    for (const auto& m : box_.world().player.TakeMessages()) {
      if (m == "send 273 40047 0") entries.push_back("stop");
    }
    // A full-screen picture of the sequence came onto the panel since the previous entry.
    const std::string picture = box_.ExitPictureShown();
    if (picture != picture_ && !picture.empty()) entries.push_back("panel " + picture);
    picture_ = picture;
    entries.push_back(what);
  }
  SimBox& box_;
  std::string picture_;
};

TEST(ExitOrder, PressCountsSelectTheWayOutWhichRewritesTheSettingsFirstThenActsInItsOrder) {
  const std::pair<int, std::vector<std::string>> cases[] = {  // presses of X; 0: the T key
      {1, {"rewrite", "stop", "panel shutdown", "close player", "shutdown program", "end"}},
      {2, {"rewrite", "stop", "panel standby", "suspended", "rewrite"}},
      {3, {}},
      {4, {}},
      {5, {"rewrite", "panel service exit", "close player", "end"}},
      {6, {}},
      {0, {"rewrite", "close player", "end"}},
  };
  for (const auto& [presses, entries] : cases) {
    SCOPED_TRACE(presses);
    SimBox b;
    Arrange(b);
    Timeline timeline(b);
    json before;
    b.Probe("before", [&] { before = sim::StateJson(b.form()); });
    ASSERT_EQ(b.Run("start\n" + (presses ? Presses(presses, 300) : "key T\n") + "probe before\nwait 10000\nprobe idle\n"),
              0);
    EXPECT_EQ(timeline.entries.front(), "player started");
    EXPECT_EQ(std::vector<std::string>(timeline.entries.begin() + 1, timeline.entries.end()), entries);
    if (presses) {
      EXPECT_EQ(before["miExitPressCount"], presses);
      EXPECT_EQ(before["tmrShutdown"], true);
    }
    const bool ends = !entries.empty() && entries.back() == "end";
    EXPECT_EQ(b.form().Running(), !ends);
    EXPECT_EQ(b.form().miExitPressCount, 0);
    EXPECT_FALSE(b.form().tmrShutdown.Enabled());
    EXPECT_EQ(b.SettingsText(), entries.empty() ? UntidySettings() : RewrittenSettings());
  }
}

// The other failures on the way out (no shutdown program, the player's window gone) are in
// the scripts of tests/scenarios/scripts.
TEST_F(ExitKey, APlayerThatCannotBeActivatedIsReportedAndTheProgramStillEnds) {
  box.Probe("arrange", [&] {
    box.world().processes.has_window = [](int32_t) { return false; };
    box.Events();
  });
  ASSERT_EQ(box.Run("start\nprobe arrange\n" + Presses(5, 100) + "wait 3000\nprobe idle\n"), 0);
  const auto events = box.Events();
  EXPECT_EQ(SimBox::Names(events), (std::vector<std::string>{"msgbox", "exit"}));
  EXPECT_EQ(events.at(0)["title"], "Lorvan");
  EXPECT_NE(events.at(0)["text"].get<std::string>().find("cannot be activated"), std::string::npos);
  EXPECT_FALSE(box.form().Running());
  EXPECT_EQ(box.SettingsText(), RewrittenSettings());
}

}  // namespace
}  // namespace lorvan::testing
