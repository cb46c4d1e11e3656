// The player link end to end: start-up, the volume and equalizer keys, a player that goes away.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kSetVolumeBox =
    R"({"event":"msgbox","title":"Winamp Control","text":"SetVolume is only available in Winamp v2.0 and above."})";

// The output of a script that runs to its end, without the refresh tick's play-status queries
// (one every 20 ms).
std::vector<std::string> Lines(const ProgramFolder& folder, const std::string& script) {
  const auto r = RunScenario(folder.path(), script);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  std::vector<std::string> lines;
  for (auto& line : r.OutLines()) {
    if (line != "send 1024 0 104") lines.push_back(std::move(line));
  }
  return lines;
}

ProgramFolder FolderWithVolume(const std::string& volume) {
  Settings s;
  s[0] = volume;
  return ProgramFolder(s);
}

TEST(PlayerScenario, OldPlayerRefusesTheStartUpVolumeWithOneBox) {
  const auto folder = FolderWithVolume("300");
  const auto lines = Lines(folder, "player version 5000\nstart\ndump events\ndump messages\ndump state\n");
  ASSERT_EQ(lines.size(), 5u) << ::testing::PrintToString(lines);
  EXPECT_THAT(lines[0], HasSubstr(R"("event":"shell","command":"winamp","style":4)"));
  EXPECT_EQ(lines[1], kSetVolumeBox);
  EXPECT_EQ(lines[2], "send 1024 11 127");  // the equalizer box is set from the player
  EXPECT_EQ(lines[3], "send 1024 0 0");  // the version request, and nothing after it
  // The stored volume was clamped before the refusal.
  EXPECT_EQ(nlohmann::json::parse(lines[4])["giVolume"], 255);
}

TEST(PlayerScenario, VolumeUpThreeTimesFrom250StopsAt255) {
  const auto folder = FolderWithVolume("250");
  const auto lines = Lines(folder,
                           "player version 8192\nstart\ndump messages\nkey U\nkey u\nkey U\ndump messages\n"
                           "dump events\ndump state\n");
  ASSERT_EQ(lines.size(), 3u + 6u + 1u + 1u) << ::testing::PrintToString(lines);
  EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 3),
              ElementsAre("send 1024 11 127", "send 1024 0 0", "send 1024 250 122"));
  for (int press = 0; press < 3; ++press) {
    EXPECT_EQ(lines[3 + 2 * press], "send 1024 0 0");
    EXPECT_EQ(lines[4 + 2 * press], "send 1024 255 122");
  }
  EXPECT_THAT(lines[9], HasSubstr(R"("event":"shell")"));  // no box
  EXPECT_EQ(nlohmann::json::parse(lines[10])["giVolume"], 255);
}

TEST(PlayerScenario, EqDefaultKeySendsTenReadWritePairs) {
  ProgramFolder folder;
  const auto lines = Lines(folder, "player eq 4 60\nplayer preamp 12\nstart\ndump messages\nkey D\ndump messages\n");
  std::vector<std::string> expected = {"send 1024 11 127", "send 1024 0 0", "send 1024 200 122"};
  for (int band = 0; band <= 9; ++band) {
    expected.push_back("send 1024 " + std::to_string(band) + " 127");
    expected.push_back("send 1024 29 128");
  }
  EXPECT_THAT(lines, ElementsAreArray(expected));
}

TEST(PlayerScenario, StartUpShowsThePlayersEqualizerSwitchAndTheBoxSwitchesItOnlyWhenTheyDisagree) {
  ProgramFolder folder;
  const auto lines = Lines(folder,
                           "player eqon 1\nstart\ndump messages\ndump state\nkey F\ndump messages\ndump state\n"
                           "key f\ndump messages\ndump state\n");
  ASSERT_EQ(lines.size(), 4u + 1u + 3u + 1u + 3u + 1u) << ::testing::PrintToString(lines);
  // Read once for the box and once by the box's handler; nothing written.
  EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 4),
              ElementsAre("send 1024 11 127", "send 1024 11 127", "send 1024 0 0", "send 1024 200 122"));
  EXPECT_EQ(nlohmann::json::parse(lines[4])["chkEqOn"], 1);
  // The key clears the box and switches the player off; the next press switches it on again.
  EXPECT_THAT(std::vector<std::string>(lines.begin() + 5, lines.begin() + 8),
              ElementsAre("send 1024 11 127", "send 1024 11 127", "send 1024 0 128"));
  EXPECT_EQ(nlohmann::json::parse(lines[8])["chkEqOn"], 0);
  EXPECT_THAT(std::vector<std::string>(lines.begin() + 9, lines.begin() + 12),
              ElementsAre("send 1024 11 127", "send 1024 11 127", "send 1024 -1 128"));
  EXPECT_EQ(nlohmann::json::parse(lines[12])["chkEqOn"], 1);
}

TEST(PlayerScenario, PlayerThatWentAwayIsStartedAgainByTheNextKey) {
  ProgramFolder folder;
  const auto lines = Lines(folder,
                           "start\nwait 100\ndump events\ndump messages\nplayer window 0\nkey W\n"
                           "dump events\ndump messages\ndump state\n");
  ASSERT_EQ(lines.size(), 1u + 3u + 1u + 2u + 1u) << ::testing::PrintToString(lines);
  EXPECT_THAT(lines[4], HasSubstr(R"("event":"shell","command":"Winamp.exe","style":1)"));
  EXPECT_EQ(lines[5], "send 1024 0 0");
  EXPECT_EQ(lines[6], "send 1024 195 122");
  EXPECT_EQ(nlohmann::json::parse(lines[7])["giVolume"], 195);
}

TEST(PlayerScenario, PlayerThatNeverComesBackIsReportedAndTheNextQueryStartsItAgain) {
  ProgramFolder folder;
  const auto lines = Lines(folder,
                           "start\ndump events\ndump messages\nplayer autostart 0\nplayer window 0\nkey U\n"
                           "wait 30000\nplayer autostart 1\nwait 1000\ndump events\ndump messages\nkey U\n"
                           "dump events\ndump messages\n");
  ASSERT_EQ(lines.size(), 1u + 3u + 3u + 2u) << ::testing::PrintToString(lines);
  EXPECT_THAT(lines[4], HasSubstr(R"("event":"shell","command":"Winamp.exe","style":1)"));
  EXPECT_THAT(lines[5], HasSubstr(R"({"event":"msgbox","title":"Winamp Control","text":"Winamp did not open)"));
  // The refresh tick's next status query starts the player again; this time it comes up.
  EXPECT_THAT(lines[6], HasSubstr(R"("event":"shell","command":"Winamp.exe","style":1)"));
  // The press that could not reach the player kept the stored volume (200); the next one
  // steps from there.
  EXPECT_EQ(lines[7], "send 1024 0 0");
  EXPECT_EQ(lines[8], "send 1024 205 122");
}

TEST(PlayerScenario, APlayerThatStaysAwayIsStartedEvery30SecondsButReportedOnce) {
  ProgramFolder folder;
  const auto lines = Lines(folder,
                           "start\nplayer autostart 0\nplayer window 0\nwait 95000\ndump events\n"
                           "player window 1\nwait 100\nplayer window 0\nwait 31000\ndump events\n");
  int shells = 0, boxes = 0;
  for (const auto& line : lines) {
    if (line.find(R"("event":"shell")") != std::string::npos) ++shells;
    if (line.find(R"("event":"msgbox")") != std::string::npos) ++boxes;
  }
  // Starts at 0, 30, 60 and 90 s during the first outage, one more in the second; one box each.
  EXPECT_EQ(shells, 1 + 4 + 2) << ::testing::PrintToString(lines);
  EXPECT_EQ(boxes, 2) << ::testing::PrintToString(lines);
}

TEST(PlayerScenario, StartUpWaitsForASlowPlayerAndGivesUpAfter30Seconds) {
  ProgramFolder folder;
  const auto slow =
      Lines(folder, "player window 0\nplayer autostart 0\nstart\nwait 12000\nplayer window 1\nwait 1\ndump state\n");
  ASSERT_EQ(slow.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(slow[0])["glMediaSource"], 3);

  const auto never = RunScenario(folder.path(), "player window 0\nplayer autostart 0\nstart\n");
  EXPECT_EQ(never.exit_status, 1);
  EXPECT_THAT(never.err, HasSubstr("winamp"));
}

}  // namespace
}  // namespace lorvan::testing
