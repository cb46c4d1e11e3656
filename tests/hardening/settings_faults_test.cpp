// The settings rewrite when something else has taken the name of a file it writes: a stale
// temporary file, a settings file that went away. Nothing outside the program folder is written,
// the previous file stays intact and loadable, and a failure is told. (A disk that fails the
// rewrite is a scenario file.)
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
