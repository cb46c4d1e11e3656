// The browser: the listing and its order, the cursor and the five-line window, titles, and the
// resume bookmark's store and restore.
#include <set>

#include "browser_fixture.h"
#include "navigation/resume.h"

namespace lorvan::testing {
namespace {

using navigation::kCursorDown;
using navigation::kCursorUp;

// The walks are in tables/cursor.json.
TEST_F(BrowserTest, CursorWalksFollowTheWindowRules) {
  Start({});
  for (const auto& c : Table("navigation/tables/cursor.json",
                             "cursor walks from entry 1: entries, move, (window top, cursor row) after each step")) {
    SCOPED_TRACE(c.dump());
    const int n = c[0];
    const std::string dir = std::to_string(n) + c[1].get<std::string>() + "/";
    folder.AddMusic(Numbered(dir + "Song", n, ".mp3"));
    List("Music/" + dir, navigation::kFolderNone);
    ASSERT_EQ(static_cast<int>(entries.lines.size()), n);
    EXPECT_EQ(Window(), Pos(0, 0));
    ExpectWindowShown();
    for (size_t i = 0; i < c[2].size(); ++i) {
      Move(c[1] == "down" ? kCursorDown : kCursorUp);
      EXPECT_EQ(Window(), c[2][i].get<Pos>()) << "step " << i + 1;
      ExpectWindowShown();
    }
  }
}

TEST_F(BrowserTest, NoCdSourceLeavesTheWindowAlone) {
  Start(Numbered("Song", 4, ".mp3"));
  Move(kCursorDown);
  const auto before = preview.lines;
  s.glMediaSource = navigation::kSourceNoCd;
  Move(kCursorDown);
  EXPECT_EQ(Window(), Pos(0, 1));
  EXPECT_EQ(preview.lines, before);
}

TEST_F(BrowserTest, ListingShortensCdaNamesHidesOnlyTheExactAnnouncementNameAndChangesNoBytes) {
  const std::string odd = "Mot\xc3\xb6rhead \xe9\xff.mp3";  // UTF-8 and stray bytes
  Start({"Track01.cda", "My.cdaudio.mp3", "LOUD.CDA", "_dirname.talk", "_Dirname.talk", "Sub/", "a.mp3", odd});
  EXPECT_EQ(std::set<std::string>(entries.lines.begin(), entries.lines.end()),
            (std::set<std::string>{"Track01", "My.cdaudio", "LOUD", "_Dirname.talk", "Sub", "a.mp3", odd}));
}

TEST_F(BrowserTest, NamesWithBlanksAreHighlightedAsTheyAreAndFoldersAreTold) {
  Start({" lead.mp3", "trail.mp3 ", "Folder /"});
  for (const std::string name : {" lead.mp3", "trail.mp3 ", "Folder "}) {
    WalkTo(name);
    ExpectWindowShown();
    EXPECT_EQ(navigation::IsFolder(world.files, s.gsAudioDir + s.gsSelectedEntry), name == "Folder " ? 1 : 0);
  }
  const std::pair<const char*, int16_t> paths[] = {
      {"Music/Folder ", 1}, {"Music/Folder /", 1}, {"Music/ lead.mp3", 0}, {"Music/gone.mp3", -1}};
  for (const auto& [path, is_folder] : paths) EXPECT_EQ(navigation::IsFolder(world.files, path), is_folder) << path;
}

TEST_F(BrowserTest, TitlesNameTheFoldersBelowTheRoot) {
  Start({"Rock/Queen/"});
  const std::pair<std::string, std::string> cases[] = {
      {"Music/", "     "},
      {"Music/Rock/", "     Rock"},
      {"Music/Rock/Queen/", "     Rock - Queen"},
      {"Music/AC - DC/", "     AC - DC"},
      {"Music/AC - DC/Live/", "     AC - DC - Live"},
  };
  for (const auto& [path, title] : cases) EXPECT_EQ(navigation::BuildFolderTitle(b, path), title) << path;
  EXPECT_EQ(s.gsFolderTitle, "     ");
}

TEST_F(BrowserTest, AWindowThatNoLongerFitsTheListingIsMovedOntoIt) {
  Start(Numbered("Song", 10, ".mp3"));
  const struct {
    int top, row;
    Pos want;
  } cases[] = {
      {5, 4, {5, 4}},    // fits: kept
      {9, 4, {5, 4}},    // the listing shrank: the last entry
      {-3, 1, {0, 0}},   // nonsense from an edited settings file
      {0, 3, {1, 2}},    // a row the walk never shows here
      {2, 7, {5, 4}},
  };
  for (const auto& c : cases) {
    s.giListTop = static_cast<int16_t>(c.top);
    s.giListRow = static_cast<int16_t>(c.row);
    List("Music/", navigation::kFolderKeep);
    EXPECT_EQ(Window(), c.want) << c.top << "," << c.row;
    ExpectWindowShown();
  }
}

TEST_F(BrowserTest, StoreAndRestoreCopyTheWholeBrowserPositionAndClearEmptiesTheStacks) {
  Start({"A/B/x.mp3"});
  s.gsAudioDir = "Music/A/B/";
  s.giListTop = 3;
  s.giListRow = 2;
  s.giFolderDepth = 2;
  s.giDepthListTop[0] = 7;
  s.giDepthListRow[1] = 4;
  HandleResumeData(s, winamp, navigation::kResumeStore);
  EXPECT_EQ(s.gsLastResumeMp3AudioDir, "Music/A/B/");
  EXPECT_EQ(s.glLastResumeMp3PlayPos, -1);  // the player is not playing
  s.gsAudioDir = "elsewhere/";
  s.giListTop = s.giListRow = s.giFolderDepth = 0;
  s.giDepthListTop.fill(9);
  s.giDepthListRow.fill(9);
  HandleResumeData(s, winamp, navigation::kResumeRestore);
  EXPECT_EQ(s.gsAudioDir, "Music/A/B/");
  EXPECT_EQ(Window(), Pos(3, 2));
  EXPECT_EQ(s.giFolderDepth, 2);
  EXPECT_EQ(s.giDepthListTop[0], 7);
  EXPECT_EQ(s.giDepthListRow[1], 4);
  EXPECT_EQ(s.giDepthListTop[5], 0);
  EXPECT_EQ(s.glMp3PlayPos, -1);
  HandleResumeData(s, winamp, navigation::kResumeClear);
  EXPECT_EQ(s.giDepthListTop, navigation::DepthStack{});
  EXPECT_EQ(s.giResumeDepthListRow, navigation::DepthStack{});
  EXPECT_EQ(s.gsAudioDir, "Music/A/B/");  // only the stacks
  // A stored depth outside the stacks is brought inside.
  for (const auto& [stored, used] : {std::pair<int16_t, int16_t>{-4, 0}, {21, 21}, {300, 21}}) {
    s.giResumeFolderDepth = stored;
    HandleResumeData(s, winamp, navigation::kResumeRestore);
    EXPECT_EQ(s.giFolderDepth, used);
  }
}

}  // namespace
}  // namespace lorvan::testing
