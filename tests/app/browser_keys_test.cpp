// Play enters folders and Stop leaves them with the window of every level restored (the other
// keys of the browser are in the scripts of tests/app/scripts).
#include "box.h"

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

}  // namespace
}  // namespace lorvan::testing
