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
