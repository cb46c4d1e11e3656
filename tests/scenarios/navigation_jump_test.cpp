// Scenarios of the digit keys: a number ends one second after its first digit.
#include <gtest/gtest.h>

#include "hosts/sim/sim_events.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using sim::Json;

// Every `dump state` line of a run.
std::vector<Json> States(const ScenarioResult& r) {
  std::vector<Json> out;
  for (const auto& line : r.OutLines()) out.push_back(Json::parse(line));
  return out;
}

class JumpScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> music;
    for (int i = 1; i <= 15; ++i) music.push_back("Song" + std::to_string(100 + i) + ".mp3");
    folder_.AddMusic(music);
  }
  std::vector<Json> Run(const std::string& script) {
    const auto r = RunScenario(folder_.path(), "start\n" + script);
    EXPECT_EQ(r.exit_status, 0) << r.err;
    return States(r);
  }
  ProgramFolder folder_;
};

TEST_F(JumpScenario, TwoDigitsWithinASecondMakeOneNumber) {
  const auto s = Run("key 1\nwait 500\nkey 2\nwait 400\ndump state\nwait 200\ndump state\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0]["giSelectedEntryNr"], 1);  // 900 ms: still collecting
  EXPECT_EQ(s[0]["msJumpDigits"], "12");
  EXPECT_EQ(s[0]["tmrDirectJumpTime"], true);
  EXPECT_EQ(s[1]["giSelectedEntryNr"], 12);
  EXPECT_EQ(s[1]["msJumpDigits"], "");
  EXPECT_EQ(s[1]["tmrDirectJumpTime"], false);
  EXPECT_EQ(s[1]["giListTop"], 9);  // where Next would have gone
  EXPECT_EQ(s[1]["giListRow"], 2);
}

TEST_F(JumpScenario, DigitsMoreThanASecondApartAreTwoNumbers) {
  const auto s = Run("key 3\nwait 1200\nkey 2\nwait 1100\ndump state\n");
  ASSERT_EQ(s.size(), 1u);
  // From entry 3 down to the end, wrapped, and on to entry 2.
  EXPECT_EQ(s[0]["giSelectedEntryNr"], 2);
  EXPECT_EQ(s[0]["giListTop"], 0);
  EXPECT_EQ(s[0]["giListRow"], 1);
}

TEST_F(JumpScenario, LeadingZeroIsIgnoredAndBadNumbersChangeNothing) {
  const struct {
    std::string keys;
    int entry;
  } cases[] = {
      {"0 7", 7}, {"9 9", 1}, {"1 6", 1}, {"0", 1}, {"0 0", 1}, {"1 2 3 4 5 6 7 8 9 0 1 2 3", 1}, {"1 5", 15},
  };
  for (const auto& c : cases) {
    std::string script;
    for (char k : c.keys) {
      if (k != ' ') script += std::string("key ") + k + "\n";
    }
    const auto s = Run(script + "wait 1100\ndump state\n");
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0]["giSelectedEntryNr"], c.entry) << c.keys;
    EXPECT_EQ(s[0]["msJumpDigits"], "") << c.keys;
  }
}

TEST_F(JumpScenario, NumberOfTheHighlightedEntryLeavesTheCursor) {
  const auto s = Run("key N\nkey N\nkey 3\nwait 1100\ndump state\n");
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0]["giSelectedEntryNr"], 3);
  EXPECT_EQ(s[0]["giListRow"], 2);
}

TEST_F(JumpScenario, KeyNWalksTheWindow) {
  std::string script;
  for (int i = 0; i < 15; ++i) script += "key N\ndump state\n";
  const auto s = Run(script);
  ASSERT_EQ(s.size(), 15u);
  const int want[15][2] = {{0, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2},  {4, 2},  {5, 2}, {6, 2},
                           {7, 2}, {8, 2}, {9, 2}, {10, 2}, {10, 3}, {10, 4}, {0, 0}};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(s[i]["giListTop"], want[i][0]) << "step " << i + 1;
    EXPECT_EQ(s[i]["giListRow"], want[i][1]) << "step " << i + 1;
    EXPECT_EQ(s[i]["lstFilePreviewIndex"], want[i][1]);
  }
}

}  // namespace
}  // namespace lorvan::testing
