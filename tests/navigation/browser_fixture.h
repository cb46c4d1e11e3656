#pragma once
// The navigation tests' one fixture: the browser over a real music tree on the simulated
// machine, with the player link it announces folders through.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "navigation/browser.h"
#include "support/program_folder.h"

namespace lorvan::testing {

using Pos = std::pair<int, int>;  // (window top, cursor row)

// Names "<prefix>01<suffix>" to "<prefix>NN<suffix>".
inline std::vector<std::string> Numbered(const std::string& prefix, int n, const std::string& suffix) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i) + suffix);
  return out;
}

class BrowserTest : public ::testing::Test {
 protected:
  // Makes the music tree and lists its root, as start-up does.
  void Start(const std::vector<std::string>& music) {
    folder.AddMusic(music);
    s.glMediaSource = navigation::kSourceMp3;
    s.gsMp3RootDir = s.gsAudioDir = "Music/";
    List("Music/", navigation::kFolderNone);
  }
  void List(const std::string& path, navigation::FolderMove move) {
    navigation::ListFolder(b, path, move, navigation::kSilent);
  }
  void Move(navigation::CursorMove move) {
    navigation::UpdateListWindow(b, move, navigation::kFolderNone, navigation::kSilent);
  }
  // Moves the cursor down until the highlighted entry is the line given.
  void WalkTo(const std::string& line) {
    for (size_t i = 0; i <= entries.lines.size() && s.gsSelectedEntry != line; ++i) Move(navigation::kCursorDown);
    ASSERT_EQ(s.gsSelectedEntry, line);
  }
  Pos Window() const { return {s.giListTop, s.giListRow}; }

  // The five visible lines, the cursor and the highlighted entry agree with the window.
  void ExpectWindowShown() const {
    const auto& e = entries.lines;
    const int n = static_cast<int>(e.size());
    std::vector<std::string> want;
    for (int k = 0; k < 5 && s.giListTop + k < n; ++k) want.push_back("     " + e[s.giListTop + k]);
    EXPECT_EQ(preview.lines, want);
    if (n == 0) return;
    EXPECT_EQ(preview.list_index, s.giListRow);
    EXPECT_EQ(s.giCursorRow, s.giListRow);
    EXPECT_EQ(s.gsSelectedEntry, e[s.giListTop + s.giListRow]);
    EXPECT_EQ(s.giSelectedEntryNr, s.giListTop + s.giListRow + 1);
  }

  ProgramFolder folder;
  sim::SimWorld world{folder.path()};
  event::EventLoop loop{world.clock, world.script};
  player::clsWinampControl winamp{world.platform, loop};
  navigation::BrowserState s;
  navigation::ListBox entries{"lstFileEntries"}, preview{"lstFilePreview"};
  navigation::Browser b{s, entries, preview, world.files, winamp};
};

}  // namespace lorvan::testing
