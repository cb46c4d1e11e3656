// The exit key: presses counted in a 2000 ms window select shutdown, standby or service exit;
// every way out rewrites the settings before it acts, and the program ends even when closing
// the player or starting the shutdown program fails.
#include <gtest/gtest.h>

#include <sstream>

#include "sim_box.h"

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

TEST(ExitKeyCounts, PressCountsSelectTheAction) {
  const std::vector<std::string> nothing;
  const std::pair<int, std::vector<std::string>> cases[] = {
      {1, {"activate", "sendkeys", "shell", "exit"}},  // shutdown
      {2, {"power"}},                                  // standby
      {3, nothing},
      {4, nothing},
      {5, {"activate", "sendkeys", "exit"}},  // service exit
      {6, nothing},
  };
  for (const auto& [presses, events] : cases) {
    SCOPED_TRACE(presses);
    SimBox b;
    Arrange(b);
    json before, after;
    b.Probe("before", [&] { before = sim::StateJson(b.form()); });
    b.Probe("after", [&] { after = sim::StateJson(b.form()); });
    ASSERT_EQ(b.Run("start\nprobe drain\n" + Presses(presses, 300) + "probe before\nwait 8000\nprobe after\n"), 0)
        << b.err.str();
    EXPECT_EQ(before["miExitPressCount"], presses);
    EXPECT_EQ(before["tmrShutdown"], true);
    EXPECT_EQ(SimBox::Names(b.Events()), events);
    EXPECT_EQ(after["running"], presses != 1 && presses != 5);
    EXPECT_EQ(after["miExitPressCount"], 0);
    EXPECT_EQ(after["tmrShutdown"], false);
    EXPECT_EQ(b.SettingsText(), events.empty() ? UntidySettings() : RewrittenSettings());
  }
}

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

TEST(ExitOrder, EachWayOutRewritesTheSettingsFirstThenActsInItsOrder) {
  struct Case {
    const char* keys;
    std::vector<std::string> entries;
  } cases[] = {
      {"key X\n", {"rewrite", "stop", "panel shutdown", "close player", "shutdown program", "end"}},
      {"key X\nkey X\n", {"rewrite", "stop", "panel standby", "suspended", "rewrite"}},
      {"key X\nkey X\nkey X\nkey X\nkey X\n", {"rewrite", "panel service exit", "close player", "end"}},
      {"key T\n", {"rewrite", "close player", "end"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    SimBox b;
    Arrange(b);
    Timeline timeline(b);
    ASSERT_EQ(b.Run(std::string("start\n") + c.keys + "wait 10000\nprobe idle\n"), 0);
    std::vector<std::string> after_start(timeline.entries.begin() + 1, timeline.entries.end());
    EXPECT_EQ(timeline.entries.front(), "player started");
    EXPECT_EQ(after_start, c.entries);
  }
}

TEST_F(ExitKey, PressesDuringTheStandbyRunAreDropped) {
  ASSERT_EQ(box.Run("start\nkey X\nkey X\nwait 3000\nkey X\nkey X\nkey X\nprobe drain\nwait 20000\n"), 0);
  EXPECT_TRUE(box.form().Running());
  EXPECT_EQ(box.form().miExitPressCount, 0);
  EXPECT_FALSE(box.form().tmrShutdown.Enabled());
  EXPECT_TRUE(box.Events().empty());
}

TEST_F(ExitKey, LeavingDuringTheStandbyRunEndsItWithoutAWakeUp) {
  ASSERT_EQ(box.Run("start\nkey X\nkey X\nwait 3000\nprobe drain\nkey T\nwait 20000\n"), 0);
  EXPECT_EQ(ended_at, 3000);
  EXPECT_FALSE(box.form().tmrRefresh.Enabled());
  EXPECT_EQ(SimBox::Names(box.Events()), (std::vector<std::string>{"activate", "sendkeys", "exit"}));
}

TEST_F(ExitKey, DevelopmentExitEndsAtOnce) {
  // The panel keeps its last frame: nothing is written to the port on the way out.
  std::vector<std::string> port_writes{"none yet"};
  box.Probe("port", [&] { port_writes = box.world().port.TakeWrites(); });
  ASSERT_EQ(box.Run("start\nwait 100\nprobe drain\nprobe port\nclick cmdExitDevEnv\nprobe port\n"), 0);
  EXPECT_EQ(ended_at, 100);
  EXPECT_TRUE(port_writes.empty());
}

TEST_F(ExitKey, FailuresOnTheWayOutAreReportedAndTheProgramStillEnds) {
  auto no_hardstop = [](SimBox& b) { std::remove((b.folder.path() + "/Hardstop").c_str()); };
  auto player_gone = [](SimBox& b) { b.world().player.SetWindow(false); };
  auto no_activation = [](SimBox& b) { b.world().processes.has_window = [](int32_t) { return false; }; };
  auto read_only = [](SimBox& b) {
    b.world().files.fault_injection = [](const std::string& s) { return s != "rename"; };
  };
  struct Case {
    const char* name;
    int presses;
    std::function<void(SimBox&)> arrange;
    std::vector<std::string> events;
    const char* message;
  } cases[] = {
      {"no shutdown program", 1, no_hardstop, {"activate", "sendkeys", "msgbox", "exit"}, "Hardstop"},
      // Storing the bookmark asks the player for its position, and the player link starts a
      // new player for a missing window; that is the one closed on the way out.
      {"player window gone", 5, player_gone, {"shell", "activate", "sendkeys", "exit"}, ""},
      {"player window gone", 1, player_gone, {"shell", "activate", "sendkeys", "shell", "exit"}, ""},
      {"player cannot be activated", 5, no_activation, {"msgbox", "exit"}, "cannot be activated"},
      {"settings not writable", 1, read_only, {"msgbox", "activate", "sendkeys", "shell", "exit"}, "Lorvan.ini"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", presses " + std::to_string(c.presses));
    SimBox b;
    Arrange(b);
    b.Probe("arrange", [&] {
      c.arrange(b);
      b.Events();
    });
    ASSERT_EQ(b.Run("start\nprobe arrange\n" + Presses(c.presses, 100) + "wait 3000\nprobe idle\n"), 0);
    const auto events = b.Events();
    EXPECT_EQ(SimBox::Names(events), c.events);
    for (const auto& e : events) {
      if (e["event"] != "msgbox") continue;
      EXPECT_EQ(e["title"], "Lorvan");
      EXPECT_NE(e["text"].get<std::string>().find(c.message), std::string::npos) << e["text"];
    }
    EXPECT_FALSE(b.form().Running());
    if (std::string(c.name) != "settings not writable") {
      EXPECT_EQ(b.SettingsText(), RewrittenSettings());
    } else {
      EXPECT_EQ(b.SettingsText(), UntidySettings()) << "the old file stays intact";
    }
  }
}


// The value lines of a settings file.
std::vector<std::string> Values(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("//") == std::string::npos) v.push_back(line);
  }
  return v;
}

TEST(ExitFromCd, EveryWayOutWithTheCdAsSourceWritesTheMp3Bookmark) {
  for (const char* keys : {"key X\n", "key X\nkey X\n", "key X\nkey X\nkey X\nkey X\nkey X\n", "key T\n"}) {
    SCOPED_TRACE(keys);
    SimBox b;
    Arrange(b);
    b.folder.AddMusic({"Rock/a.mp3", "Rock/b.mp3"});
    b.folder.Write("CD/Track01.cda", "cd");
    json on_cd, after;
    b.Probe("on_cd", [&] { on_cd = sim::StateJson(b.form()); });
    b.Probe("after", [&] { after = sim::StateJson(b.form()); });
    // Into the Rock folder, one entry down, then over to the CD (which stores the bookmark).
    ASSERT_EQ(b.Run(std::string("cd ready\nstart\nkey P\nkey N\nkey G\nprobe on_cd\n") + keys +
                    "wait 10000\nprobe after\n"),
              0);
    const auto v = Values(b.SettingsText());
    ASSERT_EQ(v.size(), 56u);
    EXPECT_EQ(v[10], "Music/Rock/");
    EXPECT_EQ(v[12], "1") << "cursor row";
    EXPECT_EQ(v[13], "1") << "folder depth";
    if (after["running"] == true) {
      // Back from the standby the CD stays the source, with its listing and place.
      EXPECT_EQ(after["glMediaSource"], 1);
      EXPECT_EQ(after["lstFileEntries"], json::array({"Track01"}));
      for (const char* key : {"gsAudioDir", "giListTop", "giListRow", "giFolderDepth"}) {
        EXPECT_EQ(after[key], on_cd[key]) << key;
      }
    }
  }
}

}  // namespace
}  // namespace lorvan::testing
