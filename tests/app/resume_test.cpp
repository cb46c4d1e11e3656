// The resume keys: store, resume, and the bookmark's way through the settings file.
#include "app/ini_file.h"
#include "box.h"
#include "navigation/resume.h"

namespace lorvan::testing {
namespace {

using navigation::HandleResumeData;
using Pos = std::pair<int, int>;

TEST_F(NavTest, StoreIsIgnoredWhileTheCdIsTheSource) {
  Start({"a.mp3"});
  s().glMediaSource = app::kSourceCdReady;
  s().gsAudioDir = "CD/";
  f().cmdStoreLastMp3_Click();
  EXPECT_EQ(s().gsLastResumeMp3AudioDir, "Music/");
}

TEST_F(NavTest, ResumePlaysOnlyFilesWithAThreeLetterExtension) {
  const struct {
    std::string name;
    int32_t stored_pos;
    bool plays;
  } cases[] = {
      {"song.mp3", 83000, true},  {"song.mp3", -1, false}, {"Pop", 83000, false},
      {"Album", 83000, false},    {"song.flac", 83000, false}, {"a.wav", 0, true},
  };
  std::vector<std::string> music;
  for (const auto& c : cases) music.push_back("F/" + c.name + (c.name.find('.') == std::string::npos ? "/" : ""));
  Start(music);
  for (const auto& c : cases) {
    navigation::ListFolder(f().browser, "Music/F/", navigation::kFolderNone, navigation::kSilent);
    WalkTo(c.name);
    s().glPlayState = app::kStopped;
    s().gsLastResumeMp3AudioDir = "Music/F/";
    s().giResumeListTop = s().giListTop;
    s().giResumeListRow = s().giListRow;
    s().glLastResumeMp3PlayPos = c.stored_pos;
    navigation::ListFolder(f().browser, "Music/", navigation::kFolderNone, navigation::kSilent);
    f().cmdResumeLastMp3_Click();
    EXPECT_EQ(s().gsSelectedEntry, c.name);
    EXPECT_EQ(s().glPlayState, c.plays ? app::kPlaying : app::kStopped) << c.name;
    EXPECT_EQ(s().glMp3PlayPos, c.stored_pos);
  }
}

TEST_F(NavTest, ResumeWithoutABookmarkFolderListsTheRoot) {
  Settings settings;
  settings[10] = "";
  settings[9] = "5000";
  settings[13] = "4";
  Start({"Rock/a.mp3", "b.mp3"}, settings);
  WalkTo("Rock");
  f().cmdPlay_Click();
  f().cmdResumeLastMp3_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/");
  EXPECT_EQ(s().giFolderDepth, 0);
  EXPECT_EQ(Window(), Pos(0, 0));
  EXPECT_EQ(s().glPlayState, app::kStopped);
}

TEST_F(NavTest, ResumeOfAVanishedFolderShowsAnEmptyListAndPlaysNothing) {
  Start({"a.mp3"});
  s().gsLastResumeMp3AudioDir = "Music/Gone/";
  s().glLastResumeMp3PlayPos = 1000;
  f().cmdResumeLastMp3_Click();
  EXPECT_TRUE(Entries().empty());
  EXPECT_EQ(s().glPlayState, app::kStopped);
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
