// The listing, titles, entering and leaving folders with the positions restored.
#include <set>

#include "nav_fixture.h"

namespace lorvan::testing {
namespace {

using navigation::BuildFolderTitle;
using navigation::IsFolder;
using navigation::kCursorDown;
using navigation::kSilent;
using navigation::UpdateListWindow;
using Pos = std::pair<int, int>;

std::set<std::string> AsSet(const std::vector<std::string>& v) { return {v.begin(), v.end()}; }

TEST_F(NavTest, ListingShortensCdaNamesHidesOnlyTheExactAnnouncementNameAndChangesNoBytes) {
  const std::string odd = "Mot\xc3\xb6rhead \xe9\xff.mp3";  // UTF-8 and stray bytes
  Start({"Track01.cda", "My.cdaudio.mp3", "LOUD.CDA", "_dirname.talk", "_Dirname.talk", "Sub/", "a.mp3", odd});
  EXPECT_EQ(AsSet(Entries()),
            (std::set<std::string>{"Track01", "My.cdaudio", "LOUD", "_Dirname.talk", "Sub", "a.mp3", odd}));
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

TEST_F(NavTest, NamesWithBlanksAreHighlightedAsTheyAre) {
  Start({" lead.mp3", "trail.mp3 ", "Folder /"});
  for (const std::string name : {" lead.mp3", "trail.mp3 ", "Folder "}) {
    WalkTo(name);
    ExpectWindowShown();
    EXPECT_EQ(IsFolder(f().platform.files, s().gsAudioDir + s().gsSelectedEntry), name == "Folder " ? 1 : 0);
  }
  f().cmdPlay_Click();
  EXPECT_EQ(s().gsAudioDir, "Music/Folder /");
}

TEST_F(NavTest, IsFolderTellsFoldersFilesAndMissingPaths) {
  Start({"Rock/", "a.mp3"});
  EXPECT_EQ(IsFolder(f().platform.files, "Music/Rock"), 1);
  EXPECT_EQ(IsFolder(f().platform.files, "Music/Rock/"), 1);
  EXPECT_EQ(IsFolder(f().platform.files, "Music/a.mp3"), 0);
  EXPECT_EQ(IsFolder(f().platform.files, "Music/gone.mp3"), -1);
}

TEST_F(NavTest, TitlesNameTheFoldersBelowTheRoot) {
  Start({"Rock/Queen/"});
  const struct {
    std::string path, title;
  } cases[] = {
      {"Music/", "     "},
      {"Music/Rock/", "     Rock"},
      {"Music/Rock/Queen/", "     Rock - Queen"},
      {"Music/AC - DC/", "     AC - DC"},
      {"Music/AC - DC/Live/", "     AC - DC - Live"},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildFolderTitle(f().browser, c.path), c.title) << c.path;
  EXPECT_EQ(s().gsFolderTitle, "     ");
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

TEST_F(NavTest, EnteringBeyondTheStacksIsRefusedAndNothingChanges) {
  // 22 nested folders: the stacks hold 21 levels below the root.
  std::string path;
  for (int i = 1; i <= 22; ++i) path += "L" + std::to_string(i) + "/";
  Start({path + "deep.mp3"});
  for (int i = 1; i <= 21; ++i) {
    f().cmdPlay_Click();
    ASSERT_EQ(s().giFolderDepth, i);
  }
  EXPECT_EQ(s().gsSelectedEntry, "L22");
  const auto dir = s().gsAudioDir;
  const auto tops = s().giDepthListTop;
  f().cmdPlay_Click();
  EXPECT_EQ(s().gsAudioDir, dir);
  EXPECT_EQ(s().giFolderDepth, 21);
  EXPECT_EQ(s().giDepthListTop, tops);
  EXPECT_EQ(Entries(), std::vector<std::string>{"L22"});
  navigation::ListFolder(f().browser, dir + "L22/", navigation::kFolderInto, kSilent);
  EXPECT_EQ(Entries(), std::vector<std::string>{"L22"});
  EXPECT_EQ(s().giFolderDepth, 21);
  for (int i = 20; i >= 0; --i) {
    f().cmdStop_Click();
    ASSERT_EQ(s().giFolderDepth, i);
  }
  EXPECT_EQ(s().gsAudioDir, "Music/");
}

TEST_F(NavTest, AWindowThatNoLongerFitsTheListingIsMovedOntoIt) {
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
    s().giListTop = static_cast<int16_t>(c.top);
    s().giListRow = static_cast<int16_t>(c.row);
    navigation::ListFolder(f().browser, "Music/", navigation::kFolderKeep, kSilent);
    EXPECT_EQ(Window(), c.want) << c.top << "," << c.row;
    ExpectWindowShown();
  }
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

}  // namespace
}  // namespace lorvan::testing
