// An album whose files the disk keeps in no particular order plays and numbers by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "hosts/sim/sim_events.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using sim::Json;

class AlbumScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 12; ++i) tracks_.push_back((i < 10 ? "0" : "") + std::to_string(i) + " Track.mp3");
    std::vector<std::string> made = tracks_;
    std::shuffle(made.begin(), made.end(), std::mt19937(3));
    folder_.AddMusic(made);
  }
  // The output lines of the script, run after the start-up.
  std::vector<std::string> Run(const std::string& script) {
    const auto r = RunScenario(folder_.path(), "start\n" + script);
    EXPECT_EQ(r.exit_status, 0) << r.err;
    return r.OutLines();
  }
  std::vector<std::string> tracks_;
  ProgramFolder folder_;
};

TEST_F(AlbumScenario, TheEndOfTheFirstTrackPlaysTheSecond) {
  const auto out = Run("dump state\nkey P\nwait 100\nplayer end\ndump messages\nwait 100\ndump state\ndump messages\n");
  const Json first = Json::parse(out.at(0));
  EXPECT_EQ(first["lstFileEntries"], tracks_);
  EXPECT_EQ(first["gsSelectedEntry"], "01 Track.mp3");
  const auto second = std::find_if(out.begin() + 1, out.end(), [](const auto& l) { return l.rfind('{', 0) == 0; });
  ASSERT_NE(second, out.end());
  const Json advanced = Json::parse(*second);
  EXPECT_EQ(advanced["gsSelectedEntry"], "02 Track.mp3");
  EXPECT_EQ(advanced["glPlayState"], 1);
  const std::string opened = "Music/02 Track.mp3";
  EXPECT_TRUE(std::any_of(second + 1, out.end(), [&](const std::string& m) {
    return m.find(" copydata ") != std::string::npos && m.ends_with(opened);
  })) << "the player was not given " << opened;
}

TEST_F(AlbumScenario, JumpZeroSevenHighlightsTheSeventhTrack) {
  const auto out = Run("key 0\nkey 7\nwait 1100\ndump state\n");
  const Json s = Json::parse(out.at(0));
  EXPECT_EQ(s["gsSelectedEntry"], "07 Track.mp3");
  EXPECT_EQ(s["lstFilePreview"][s["lstFilePreviewIndex"].get<int>()], "     07 Track.mp3");
}

}  // namespace
}  // namespace lorvan::testing
