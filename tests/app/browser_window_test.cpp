// The browser in the main window where a script cannot reach: the window of every level
// restored on the way up, and the bookmark's way through the settings file and a restart (the
// browser's keys are in the scripts of tests/app/scripts).
#include "app/ini_file.h"
#include "box.h"
#include "navigation/resume.h"

namespace lorvan::testing {
namespace {

using navigation::kCursorDown;
using navigation::kSilent;
using navigation::UpdateListWindow;
using Pos = std::pair<int, int>;

TEST_F(NavTest, LeavingAFolderRestoresTheWindowOfEveryLevel) {
  // Twelve folders at the root, each with eight folders.
  std::vector<std::string> tree;
  for (const auto& a : Numbered("A", 12, "/")) {
    for (const auto& b : Numbered("B", 8, "/")) tree.push_back(a + b);
  }
  Start(tree);
  for (int i = 0; i < 6; ++i) UpdateListWindow(f().browser, kCursorDown, navigation::kFolderNone, kSilent);  // entry 7
  const std::string first = s().gsSelectedEntry;
  EXPECT_EQ(Window(), Pos(4, 2));
  f().cmdPlay_Click();
  EXPECT_EQ(s().giFolderDepth, 1);
  EXPECT_EQ(Window(), Pos(0, 0));
  UpdateListWindow(f().browser, navigation::kCursorUp, navigation::kFolderNone, kSilent);  // the last of eight
  const std::string second = s().gsSelectedEntry;
  EXPECT_EQ(Window(), Pos(3, 4));
  f().cmdPlay_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/" + first + "/" + second + "/");
  EXPECT_EQ(s().giFolderDepth, 2);
  EXPECT_EQ(s().giDepthListTop[0], 4);
  EXPECT_EQ(s().giDepthListRow[0], 2);
  EXPECT_EQ(s().giDepthListTop[1], 3);
  EXPECT_EQ(s().giDepthListRow[1], 4);

  f().cmdStop_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/" + first + "/");
  EXPECT_EQ(Window(), Pos(3, 4));
  EXPECT_EQ(s().gsSelectedEntry, second);
  EXPECT_EQ(s().gsFolderTitle, "     " + first);
  ExpectWindowShown();
  f().cmdStop_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/");
  EXPECT_EQ(Window(), Pos(4, 2));
  EXPECT_EQ(s().giSelectedEntryNr, 7);
  EXPECT_EQ(s().gsSelectedEntry, first);
  EXPECT_EQ(s().giFolderDepth, 0);
  f().cmdStop_Click();  // at the root: stays
  EXPECT_EQ(s().gsAudioDir, "Music/");
  EXPECT_EQ(Window(), Pos(4, 2));
}

TEST_F(NavTest, BookmarkSurvivesARestartAndResumeReturnsThroughTheParents) {
  std::vector<std::string> tree = Numbered("R/r", 7, ".mp3");
  for (const auto& x : Numbered("R/Sub/x", 6, ".mp3")) tree.push_back(x);
  for (const auto& d : Numbered("D", 9, "/")) tree.push_back(d);
  Start(tree);
  WalkTo("R");
  const Pos root = Window();
  f().cmdPlay_Click();
  WalkTo("Sub");
  const Pos parent = Window();
  f().cmdPlay_Click();
  WalkTo("x05.mp3");
  const Pos inner = Window();
  f().cmdStoreLastMp3_Click();
  // What the exit sequence does: bookmark and current state equal, then the file rewritten.
  navigation::HandleResumeData(s(), f().goWinamp(), navigation::kResumeRestore);
  app::ReadWriteIniFile(s(), f().platform.files, f().AppFile(app::kIniFileName), 0);

  Restart();
  EXPECT_EQ(s().gsAudioDir, "Music/");  // the bookmark waits for the Resume key
  EXPECT_EQ(s().gsLastResumeMp3AudioDir, "Music/R/Sub/");
  s().glMediaSource = app::kSourceCdReady;  // a resume also leaves the CD
  f().cmdResumeLastMp3_Click();
  EXPECT_EQ(s().glMediaSource, app::kSourceMp3);
  EXPECT_EQ(s().gsAudioDir, "Music/R/Sub/");
  EXPECT_EQ(s().gsSelectedEntry, "x05.mp3");
  EXPECT_EQ(Window(), inner);
  EXPECT_EQ(s().giFolderDepth, 2);
  EXPECT_EQ(s().gsFolderTitle, "     R - Sub");
  EXPECT_EQ(s().glPlayState, app::kStopped);  // nothing was playing when stored
  ExpectWindowShown();
  f().cmdStop_Click();
  EXPECT_EQ(s().gsSelectedEntry, "Sub");
  EXPECT_EQ(Window(), parent);
  f().cmdStop_Click();
  EXPECT_EQ(s().gsSelectedEntry, "R");
  EXPECT_EQ(Window(), root);
}

}  // namespace
}  // namespace lorvan::testing
