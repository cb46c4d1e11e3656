// End-to-end scripts of the source toggle.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using nlohmann::json;

// The `dump state` lines of a script that runs to its end.
std::vector<json> States(const ProgramFolder& folder, const std::string& script) {
  const auto r = RunScenario(folder.path(), script);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  std::vector<json> states;
  for (const auto& line : r.OutLines()) states.push_back(json::parse(line));
  return states;
}

TEST(CdScenario, NoDiscGivesNoCdAfter15Seconds) {
  ProgramFolder folder;
  const auto s = States(folder, "cd empty\nstart\nkey G\nwait 14990\ndump state\nwait 20\ndump state\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0]["glMediaSource"], 2);
  EXPECT_EQ(s[0]["tmrCdSearchingTimeout"], true);
  EXPECT_EQ(s[1]["glMediaSource"], -1);
  EXPECT_EQ(s[1]["tmrCdSearchingTimeout"], false);
}

TEST(CdScenario, AReadyDiscIsTheSourceAndListedAtOnce) {
  ProgramFolder folder;
  folder.Write("CD/Track01.cda", "cd");
  const auto s = States(folder, "cd ready\nstart\nkey G\ndump state\n");
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0]["glMediaSource"], 1);
  EXPECT_EQ(s[0]["gsAudioDir"], "CD/");
  EXPECT_EQ(s[0]["lstFileEntries"], json::array({"Track01"}));
}

// Switching the source lists a root at depth 0, so that toggling from deep folders again and
// again never fills the position stacks.
TEST(CdScenario, TogglingFromDeepFoldersKeepsFoldersEnterable) {
  ProgramFolder folder;
  folder.AddMusic({"A/B/C/x.mp3"});
  folder.Write("CD/Track01.cda", "t");
  std::string script = "cd ready\nstart\n";
  for (int i = 0; i < 8; ++i) script += "key P\nkey P\nkey P\nkey G\nkey G\n";
  const auto s = States(folder, script + "dump state\nkey P\ndump state\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0]["giFolderDepth"], 0);
  EXPECT_EQ(s[0]["gsAudioDir"], "Music/");
  EXPECT_EQ(s[1]["gsAudioDir"], "Music/A/");
  EXPECT_EQ(s[1]["giFolderDepth"], 1);
}

}  // namespace
}  // namespace lorvan::testing
