// The cursor and the five-line window: walks in both directions, wrap-around, empty folders.
#include "nav_fixture.h"

namespace lorvan::testing {
namespace {

using navigation::kCursorDown;
using navigation::kCursorUp;
using navigation::kSilent;
using navigation::UpdateListWindow;
using Pos = std::pair<int, int>;

struct WalkCase {
  int entries;
  navigation::CursorMove move;
  std::vector<Pos> steps;  // (window top, cursor row) after each step from entry 1
};

void PrintTo(const WalkCase& c, std::ostream* os) {
  *os << c.entries << (c.move == kCursorDown ? " entries down" : " entries up");
}

class CursorWalk : public NavTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(CursorWalk, FollowsTheWindowRules) {
  const WalkCase& c = GetParam();
  Start(Numbered("Song", c.entries, ".mp3"));
  ASSERT_EQ(static_cast<int>(Entries().size()), c.entries);
  EXPECT_EQ(Window(), Pos(0, 0));
  ExpectWindowShown();
  for (size_t i = 0; i < c.steps.size(); ++i) {
    UpdateListWindow(f().browser, c.move, navigation::kFolderNone, kSilent);
    EXPECT_EQ(Window(), c.steps[i]) << "step " << i + 1;
    ExpectWindowShown();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Browser, CursorWalk,
    ::testing::Values(
        WalkCase{1, kCursorDown, {{0, 0}, {0, 0}}},
        WalkCase{1, kCursorUp, {{0, 0}, {0, 0}}},
        WalkCase{3, kCursorDown, {{0, 1}, {0, 2}, {0, 0}}},
        WalkCase{3, kCursorUp, {{0, 2}, {0, 1}, {0, 0}}},
        WalkCase{5, kCursorDown, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 0}}},
        WalkCase{5, kCursorUp, {{0, 4}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}},
        WalkCase{6, kCursorDown, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {1, 4}, {0, 0}}},
        WalkCase{10, kCursorDown,
                 {{0, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {5, 3}, {5, 4}, {0, 0}}},
        WalkCase{10, kCursorUp,
                 {{5, 4}, {5, 3}, {5, 2}, {4, 2}, {3, 2}, {2, 2}, {1, 2}, {0, 2}, {0, 1}, {0, 0}}}),
    [](const ::testing::TestParamInfo<WalkCase>& i) {
      return std::to_string(i.param.entries) + (i.param.move == kCursorDown ? "EntriesDown" : "EntriesUp");
    });

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

TEST_F(NavTest, NoCdSourceLeavesTheWindowAlone) {
  Start(Numbered("Song", 4, ".mp3"));
  UpdateListWindow(f().browser, kCursorDown, navigation::kFolderNone, kSilent);
  const auto before = f().lstFilePreview.lines;
  s().glMediaSource = app::kSourceNoCd;
  UpdateListWindow(f().browser, kCursorDown, navigation::kFolderNone, kSilent);
  EXPECT_EQ(Window(), Pos(0, 1));
  EXPECT_EQ(f().lstFilePreview.lines, before);
}

}  // namespace
}  // namespace lorvan::testing
