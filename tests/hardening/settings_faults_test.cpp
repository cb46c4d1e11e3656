// The settings rewrite when the disk fails it: a folder that refuses the new file, a full
// disk, a process killed between writing and renaming, a stale temporary file, a settings file
// that went away. The previous file stays intact and loadable, and the failure is told.
#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "hardening/hard_box.h"

namespace lorvan::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The settings file as the test writes it: the comment at its end moves to the top on a
// rewrite, so any rewrite shows.
Settings Values() {
  Settings s;
  s[0] = "145";
  return s;
}
std::string Untidy() { return Values().Text({"// head"}) + "// tail\r\n"; }

void Arrange(HardBox& b) {
  b.Write("Lorvan.ini", Untidy());
  b.Write("Music/a.mp3");
  b.Write("Music/b.mp3");
  b.Write("Hardstop", "#!/bin/sh\n");
  b.Probe("idle", [] {});
}

// The ways out of normal operation, by their keys; standby comes back and rewrites twice.
struct WayOut {
  const char* name;
  const char* keys;
  int rewrites;
  bool ends;
};
const WayOut kWaysOut[] = {
    {"shutdown", "key X\n", 1, true},
    {"standby and wake-up", "key X\nkey X\n", 2, false},
    {"service exit", "key X\nkey X\nkey X\nkey X\nkey X\n", 1, true},
    {"development exit", "key T\n", 1, true},
};

TEST(SettingsRewrite, AFailingStepOnEveryWayOutKeepsTheOldFileLoadableAndIsTold) {
  // "open": the folder refuses the new file (read-only); "write" and "sync": the disk is
  // full; "rename": the replacement is refused.
  for (const char* step : {"open", "write", "sync", "rename"}) {
    for (const WayOut& way : kWaysOut) {
      SCOPED_TRACE(std::string(way.name) + ", failing step " + step);
      HardBox b;
      Arrange(b);
      b.Probe("fail", [&b, step] {
        b.world().files.fault_injection = [step](const std::string& s) { return s != step; };
        b.Events();
      });
      ASSERT_EQ(b.Run(std::string("start\nkey N\nwait 100\nprobe fail\n") + way.keys + "wait 9000\nprobe idle\n"), 0)
          << b.err.str();
      EXPECT_EQ(b.SettingsText(), Untidy());
      EXPECT_FALSE(b.Exists("Lorvan.ini.new")) << "no temporary file is left behind";
      const auto boxes = b.MessageBoxes();
      ASSERT_EQ(boxes.size(), static_cast<size_t>(way.rewrites));
      for (const auto& box : boxes) {
        EXPECT_EQ(box["title"], "Lorvan");
        EXPECT_THAT(box["text"].get<std::string>(), HasSubstr("The settings could not be saved"));
        EXPECT_THAT(box["text"].get<std::string>(), HasSubstr("Lorvan.ini"));
      }
      EXPECT_EQ(b.form().Running(), !way.ends);
      if (!way.ends) {
        EXPECT_TRUE(b.BrowserOnPanel()) << "the box works on after the wake-up";
      }

      const Loaded next = LoadProgram(b.dir());
      ASSERT_EQ(next.exit_status, 0) << next.err;
      EXPECT_EQ(next.state["giVolume"], 145);
    }
  }
}

// Thrown by the file system hook: the process dies at that point, nothing after it runs.
struct Killed : std::runtime_error {
  Killed() : std::runtime_error("killed") {}
};

TEST(SettingsRewrite, KilledBetweenWritingAndRenamingLeavesTheOldFileAndTheNextExitCleansUp) {
  HardBox b;
  Arrange(b);
  b.Probe("kill", [&b] {
    b.world().files.fault_injection = [](const std::string& s) {
      if (s == "rename") throw Killed();
      return true;
    };
  });
  EXPECT_EQ(b.Run("start\nwait 100\nkey U\nprobe kill\nkey T\n"), 1);
  EXPECT_EQ(b.SettingsText(), Untidy());
  // The complete new file waits under the temporary name; it is never read.
  EXPECT_THAT(b.Read("Lorvan.ini.new"), HasSubstr("\r\n150\r\n"));

  const Loaded next = LoadProgram(b.dir());
  ASSERT_EQ(next.exit_status, 0) << next.err;
  EXPECT_EQ(next.state["giVolume"], 145);

  // The next way out writes over the leftover and replaces the file.
  const ScenarioResult r = RunScenario(b.dir(), "start\nkey W\nkey T\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_FALSE(b.Exists("Lorvan.ini.new"));
  EXPECT_EQ(LoadProgram(b.dir()).state["giVolume"], 140);
}

TEST(SettingsRewrite, WhatTakesTheNameOfAFileItWritesIsNeverFollowedOutOfTheProgramFolder) {
  namespace fs = std::filesystem;
  struct Case {
    const char* name;
    bool while_running;  // else before the start
    std::function<void(HardBox&)> plant;
    bool saved;
    std::vector<std::string> changes;  // around the program, the settings file aside
  } cases[] = {
      // A link in place of the temporary file points outside the program folder: the new file
      // takes the name over and is renamed.
      {"link to a file outside", false,
       [](HardBox& b) { fs::create_symlink(b.outside() + "/victim.txt", b.dir() + "/Lorvan.ini.new"); }, true,
       {"gone: box/Lorvan.ini.new"}},
      {"link to nowhere outside", false,
       [](HardBox& b) { fs::create_symlink(b.outside() + "/new.txt", b.dir() + "/Lorvan.ini.new"); }, true,
       {"gone: box/Lorvan.ini.new"}},
      // A named pipe in its place: opening it to write would wait for a reader for ever.
      {"named pipe", false, [](HardBox& b) { ASSERT_EQ(mkfifo((b.dir() + "/Lorvan.ini.new").c_str(), 0644), 0); },
       true, {"gone: box/Lorvan.ini.new"}},
      // A folder in its place cannot be replaced: the rewrite fails and says so.
      {"folder", false, [](HardBox& b) { b.Write("Lorvan.ini.new/x", "x"); }, false, {}},
      // The settings file deleted while running: the way out writes a complete new one.
      {"settings deleted", true, [](HardBox& b) { fs::remove(b.dir() + "/Lorvan.ini"); }, true, {}},
      // A folder took its name: nothing can be written, and that is told.
      {"settings replaced by a folder", true,
       [](HardBox& b) {
         fs::remove(b.dir() + "/Lorvan.ini");
         b.Write("Lorvan.ini/x", "x");
       },
       false, {"new: box/Lorvan.ini/x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    Arrange(b);
    if (!c.while_running) c.plant(b);
    b.PhotographSandbox();
    b.Probe("plant", [&] {
      if (c.while_running) c.plant(b);
    });
    ASSERT_EQ(b.Run("start\nwait 100\nkey U\nprobe plant\nwait 100\nkey T\n"), 0) << b.err.str();
    EXPECT_EQ(b.SandboxChanges(), c.changes);
    const auto boxes = b.MessageBoxes();
    ASSERT_EQ(boxes.size(), c.saved ? 0u : 1u);
    if (c.saved) {
      EXPECT_FALSE(fs::is_symlink(b.dir() + "/Lorvan.ini"));
      EXPECT_EQ(LoadProgram(b.dir()).state["giVolume"], 150);
    } else {
      EXPECT_THAT(boxes[0]["text"].get<std::string>(), HasSubstr("Lorvan.ini"));
    }
    if (!c.saved && !c.while_running) {
      EXPECT_EQ(b.SettingsText(), Untidy());
    }
    EXPECT_FALSE(b.form().Running());
  }
}

}  // namespace
}  // namespace lorvan::testing
