// The transport keys on each screen, Stop going up, the automatic advance.
#include "nav_fixture.h"

namespace lorvan::testing {
namespace {

using Pos = std::pair<int, int>;

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

}  // namespace
}  // namespace lorvan::testing
