// The resume bookmark's way through the settings file and a restart (the resume key's other
// cases are in the scripts of tests/app/scripts).
#include "app/ini_file.h"
#include "box.h"
#include "navigation/resume.h"

namespace lorvan::testing {
namespace {

using navigation::HandleResumeData;
using Pos = std::pair<int, int>;

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
  HandleResumeData(s(), f().goWinamp(), navigation::kResumeRestore);
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
