// The browser's keys in the main window: Play enters folders and plays, Stop goes up with the
// positions restored, Next and Previous, the automatic advance, the keys on the other screens,
// and the direct jump's effect beyond its timing (which the scenarios cover).
#include "box.h"

namespace lorvan::testing {
namespace {

using navigation::kCursorDown;
using navigation::kSilent;
using navigation::UpdateListWindow;
using Pos = std::pair<int, int>;

void Type(app::frmMain& f, const std::string& digits) {
  for (char d : digits) f.cmdJump_Click(static_cast<int16_t>(d - '0'));
}

TEST_F(NavTest, EmptyFolderShowsNothingAndKeepsTheLastSelection) {
  Start({"Empty/", "Song.mp3"});
  WalkTo("Empty");
  const int16_t nr = s().giSelectedEntryNr;
  f().cmdPlay_Click();  // enters the empty folder
  EXPECT_EQ(s().gsAudioDir, "Music/Empty/");
  EXPECT_TRUE(Entries().empty());
  EXPECT_TRUE(f().lstFilePreview.lines.empty());
  EXPECT_EQ(f().lstFilePreview.list_index, -1);
  EXPECT_EQ(s().gsSelectedEntry, "Empty");
  EXPECT_EQ(s().giSelectedEntryNr, nr);
  // Cursor moves change nothing: the stale number must not walk the window off the listing.
  f().cmdNext_Click();
  EXPECT_EQ(s().giListRow, 0);
  f().cmdPrev_Click();
  EXPECT_EQ(s().giListRow, 0);
  EXPECT_EQ(s().giListTop, 0);
  f().cmdPlay_Click();  // the stale name is no entry here: nothing happens
  EXPECT_TRUE(f().lstFilePreview.lines.empty());
  EXPECT_EQ(s().glPlayState, app::kStopped);
  EXPECT_EQ(s().giFolderDepth, 1);
}

TEST_F(NavTest, CdTracksAreOpenedWithTheirExtensionAndStopNeverChangesTheFolder) {
  Settings settings;
  settings[3] = "Drives/CD/";  // a CD root with a folder above it
  Start({"Rock/a.mp3"}, settings);
  folder().Write("Drives/CD/Track01.cda", "cd");
  s().glMediaSource = app::kSourceCdReady;
  s().gsAudioDir = s().gsCdRootDir;
  navigation::ListFolder(f().browser, s().gsAudioDir, navigation::kFolderNone, navigation::kSpeak);
  EXPECT_EQ(s().gsFolderTitle, "");
  EXPECT_EQ(s().gsSelectedEntry, "Track01");
  EXPECT_EQ(navigation::SelectedEntryPath(f().browser), "Drives/CD/Track01.cda");
  f().cmdPlay_Click();
  EXPECT_EQ(s().glPlayState, app::kPlaying);
  f().cmdStop_Click();
  EXPECT_EQ(s().glPlayState, app::kStopped);
  EXPECT_EQ(s().gsAudioDir, "Drives/CD/");
}

TEST_F(NavTest, PlayEntersAFolderWhoseNameEndsInABlank) {
  Start({"a.mp3", "Folder /"});
  WalkTo("Folder ");
  f().cmdPlay_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/Folder /");
}

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

TEST_F(NavTest, GoingUpWithNothingSavedStartsAtTheTop) {
  Start({"Rock/a.mp3", "Rock/b.mp3", "Pop/"});
  s().gsAudioDir = "Music/Rock/";  // below the root at depth 0, as an edited bookmark can be
  s().giFolderDepth = 0;
  navigation::ListFolder(f().browser, s().gsAudioDir, navigation::kFolderKeep, kSilent);
  f().cmdStop_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/");
  EXPECT_EQ(s().giFolderDepth, 0);
  EXPECT_EQ(Window(), Pos(0, 0));
}

TEST_F(NavTest, HelpScreenIgnoresTheNavigationKeysAndTheAdvance) {
  Start({"Rock/a.mp3", "b.mp3", "c.mp3"});
  s().glScreenMode = app::kScreenHelp;
  s().glPlayState = app::kPlaying;
  for (auto key : {&app::frmMain::cmdPlay_Click, &app::frmMain::cmdStop_Click, &app::frmMain::cmdPrev_Click,
                   &app::frmMain::cmdNext_Click}) {
    (f().*key)();
    EXPECT_EQ(Window(), Pos(0, 0));
    EXPECT_EQ(s().gsAudioDir, "Music/");
    EXPECT_EQ(s().glPlayState, app::kPlaying);
    EXPECT_EQ(f().miEqBand, 0);
  }
  f().SelectNextEntry(app::kAutomaticAdvance);  // nor the advance
  EXPECT_EQ(Window(), Pos(0, 0));
}

TEST_F(NavTest, EqualizerScreenStepsTheBandWithWrapAround) {
  Start({"a.mp3", "b.mp3"});
  s().glScreenMode = app::kScreenEqualizer;
  const struct {
    void (app::frmMain::*key)();
    int16_t from, to;
  } cases[] = {
      {&app::frmMain::cmdPlay_Click, 0, 1},
      {&app::frmMain::cmdPlay_Click, 9, 0},
      {&app::frmMain::cmdStop_Click, 5, 4},
      {&app::frmMain::cmdStop_Click, 0, 9},
  };
  for (const auto& c : cases) {
    f().miEqBand = c.from;
    (f().*c.key)();
    EXPECT_EQ(f().miEqBand, c.to);
  }
  // Next and Previous change the band's value, not the cursor; the advance runs on.
  f().cmdNext_Click();
  f().cmdPrev_Click();
  EXPECT_EQ(Window(), Pos(0, 0));
  EXPECT_EQ(s().glPlayState, app::kStopped);
  s().glPlayState = app::kPlaying;
  f().SelectNextEntry(app::kAutomaticAdvance);
  EXPECT_EQ(s().giSelectedEntryNr, 2);
}

TEST_F(NavTest, StopGoesUpOneLevelAtATimeAndStopsAtTheRoot) {
  Start({"Rock/Queen/a.mp3"});
  f().cmdPlay_Click();
  f().cmdPlay_Click();
  f().cmdPlay_Click();
  EXPECT_EQ(s().glPlayState, app::kPlaying);
  EXPECT_EQ(s().gsAudioDir, "Music/Rock/Queen/");
  const char* expected[] = {"Music/Rock/", "Music/", "Music/", "Music/"};
  for (const char* dir : expected) {
    f().cmdStop_Click();
    EXPECT_EQ(s().glPlayState, app::kStopped);
    EXPECT_EQ(s().gsAudioDir, dir);
  }
  EXPECT_EQ(s().giFolderDepth, 0);
}

TEST_F(NavTest, PreviousWhilePlayingOntoAFolderEntersIt) {
  Start({"Sub/x.mp3", "Sub/y.mp3", "b.mp3"});
  WalkTo("b.mp3");
  f().cmdPlay_Click();
  ASSERT_EQ(s().glPlayState, app::kPlaying);
  f().cmdPrev_Click();  // two entries: the other one is the folder
  EXPECT_EQ(s().gsAudioDir, "Music/Sub/");
  EXPECT_EQ(Window(), Pos(0, 0));
  EXPECT_EQ(s().giFolderDepth, 1);
  EXPECT_EQ(s().glPlayState, app::kPlaying);
}

TEST_F(NavTest, AutomaticAdvanceIntoAFolderStartsNothingThenStepsOnAndWraps) {
  Start({"Sub/x.mp3", "Sub/y.mp3", "a.mp3", "b.mp3"});
  const int n = static_cast<int>(Entries().size());
  WalkTo(Entries()[(IndexOf("Sub") + n - 1) % n]);  // the entry before the folder, wrapping
  s().glPlayState = app::kPlaying;
  f().SelectNextEntry(app::kAutomaticAdvance);
  EXPECT_EQ(s().gsAudioDir, "Music/Sub/");
  EXPECT_EQ(s().giSelectedEntryNr, 1);
  f().SelectNextEntry(app::kAutomaticAdvance);
  EXPECT_EQ(s().giSelectedEntryNr, 2);
  EXPECT_EQ(s().glPlayState, app::kPlaying);
  f().SelectNextEntry(app::kAutomaticAdvance);  // from the last entry to the first
  EXPECT_EQ(s().giSelectedEntryNr, 1);
  EXPECT_EQ(s().gsSelectedEntry, Entries().front());
}

TEST_F(NavTest, DigitsOnOtherScreensAreCollectedThenDiscarded) {
  Start(Numbered("Song", 5, ".mp3"));
  for (int32_t screen : {app::kScreenEqualizer, app::kScreenHelp}) {
    s().glScreenMode = screen;
    Type(f(), "4");
    EXPECT_EQ(f().msJumpDigits, "4");
    EXPECT_TRUE(f().tmrDirectJumpTime.Enabled());
    f().tmrDirectJumpTime_Timer();
    EXPECT_EQ(f().msJumpDigits, "");
    EXPECT_FALSE(f().tmrDirectJumpTime.Enabled());
    EXPECT_EQ(s().giSelectedEntryNr, 1);
  }
}

TEST_F(NavTest, JumpReachesEveryEntryAlsoWhereTwoShowTheSameName) {
  // "a" and "a.cda" are both listed as "a".
  Start({"a", "a.cda", "b.mp3", "c.mp3"});
  ASSERT_EQ(std::count(Entries().begin(), Entries().end(), "a"), 2);
  for (int nr : {4, 1, 2, 3, 2}) {
    Type(f(), std::to_string(nr));
    f().tmrDirectJumpTime_Timer();
    EXPECT_EQ(s().giSelectedEntryNr, nr);
    ExpectWindowShown();
  }
}

}  // namespace
}  // namespace lorvan::testing
