// End-to-end scripts of the source toggle.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using nlohmann::json;

json LastState(const ScenarioResult& r) { return json::parse(r.OutLines().back()); }

TEST(CdScenario, NoDiscGivesNoCdAfter15Seconds) {
  ProgramFolder folder;
  const auto r = RunScenario(folder.path(), "cd empty\nstart\nkey G\nwait 14990\ndump state\nwait 20\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  ASSERT_EQ(r.OutLines().size(), 2u);
  EXPECT_EQ(json::parse(r.OutLines()[0])["glMediaSource"], 2);
  EXPECT_EQ(json::parse(r.OutLines()[0])["tmrCdSearchingTimeout"], true);
  EXPECT_EQ(LastState(r)["glMediaSource"], -1);
  EXPECT_EQ(LastState(r)["tmrCdSearchingTimeout"], false);
}

TEST(CdScenario, AReadyDiscIsTheSourceAndListedAtOnce) {
  ProgramFolder folder;
  folder.Write("CD/Track01.cda", "cd");
  const auto r = RunScenario(folder.path(), "cd ready\nstart\nkey G\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(LastState(r)["glMediaSource"], 1);
  EXPECT_EQ(LastState(r)["gsAudioDir"], "CD/");
  EXPECT_EQ(LastState(r)["lstFileEntries"], json::array({"Track01"}));
}

}  // namespace
}  // namespace lorvan::testing

namespace lorvan::testing {
namespace {

// Switching the source lists a root at depth 0, so that toggling from deep folders again and
// again never fills the position stacks.
TEST(CdScenario, TogglingFromDeepFoldersKeepsFoldersEnterable) {
  ProgramFolder folder;
  folder.AddMusic({"A/B/C/x.mp3"});
  folder.Write("CD/Track01.cda", "t");
  std::string script = "cd ready\nstart\n";
  for (int i = 0; i < 8; ++i) script += "key P\nkey P\nkey P\nkey G\nkey G\n";
  script += "dump state\nkey P\ndump state\n";
  const auto r = RunScenario(folder.path(), script);
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto at_root = nlohmann::json::parse(r.OutLines().at(0));
  EXPECT_EQ(at_root["giFolderDepth"], 0);
  EXPECT_EQ(at_root["gsAudioDir"], "Music/");
  const auto entered = nlohmann::json::parse(r.OutLines().at(1));
  EXPECT_EQ(entered["gsAudioDir"], "Music/A/");
  EXPECT_EQ(entered["giFolderDepth"], 1);
}

}  // namespace
}  // namespace lorvan::testing
