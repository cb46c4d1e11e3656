// Start-up of the main window on the simulated machine.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

nlohmann::json StateAfterStart(const ProgramFolder& folder) {
  const auto r = RunScenario(folder.path(), "start\ndump state\n");
  EXPECT_EQ(r.exit_status, 0) << r.err;
  return nlohmann::json::parse(r.OutLines().at(0));
}

TEST(StartUp, ReachesTheInitialStateWithTheSettingsValues) {
  Settings s;
  s[0] = "123";
  s[5] = "7";
  s[6] = "-42";
  s[8] = "90";
  s[9] = "83000";
  s[10] = "Music/Pop/";
  ProgramFolder folder(s);
  const auto j = StateAfterStart(folder);
  EXPECT_EQ(j["glMediaSource"], 3);
  EXPECT_EQ(j["glScreenMode"], 1);
  EXPECT_EQ(j["glPlayState"], 0);
  EXPECT_EQ(j["giVolume"], 123);
  EXPECT_EQ(j["glLcdDelayLoops"], 7);
  EXPECT_EQ(j["glReserved1"], -42);
  EXPECT_EQ(j["giWakeUpDetectionTime"], 90);
  EXPECT_EQ(j["glLastResumeMp3PlayPos"], 83000);
  EXPECT_EQ(j["gsLastResumeMp3AudioDir"], "Music/Pop/");
  EXPECT_EQ(j["gsAudioDir"], "Music/");  // the bookmark is not applied at start-up
  EXPECT_EQ(j["gsAppPath"], folder.path());
  EXPECT_EQ(j["giHelpPageCount"], 3);
  EXPECT_EQ(j["giHelpColumnX"], 40);
  EXPECT_EQ(j["miEqBand"], 0);
  EXPECT_EQ(j["lblAppInfo"], "Lorvan - MP3 Home Player Control - R1.04");
  EXPECT_EQ(j["tmrRefresh"], true);
  EXPECT_EQ(j["tmrDirectJumpTime"], false);
  EXPECT_EQ(j["tmrShutdown"], false);
  EXPECT_EQ(j["tmrCdSearchingTimeout"], false);
  EXPECT_EQ(j["running"], true);
}

TEST(StartUp, StartsThePlayerFromTheSettingsWithoutFocus) {
  Settings s;
  s[1] = "my player --idle";
  ProgramFolder folder(s);
  const auto r = RunScenario(folder.path(), "start\ndump events\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto shell = nlohmann::json::parse(r.OutLines().at(0));
  EXPECT_EQ(shell["event"], "shell");
  EXPECT_EQ(shell["command"], "my player --idle");
  EXPECT_EQ(shell["style"], 4);
  EXPECT_EQ(nlohmann::json::parse(r.OutLines().back())["glWinampTaskId"], shell["task"]);
}

TEST(StartUp, ErrorsEndTheStartUpWithAMessageNamingFileAndLine) {
  struct Case {
    const char* name;
    int position;
    const char* value;
    const char* expected;
  } cases[] = {
      {"volume too large", 0, "32768", "Lorvan.ini:2: the number \"32768\" is outside the 16-bit"},
      {"missing help file", 4, "NoHelp.txt", "NoHelp.txt: cannot open"},
      {"empty player command", 1, "", "cannot start the player"},
  };
  for (const auto& c : cases) {
    Settings s;
    s[c.position] = c.value;
    ProgramFolder folder(s);
    const auto r = RunScenario(folder.path(), "start\ndump state\n");
    EXPECT_EQ(r.exit_status, 1) << c.name;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.name;
  }
}

TEST(StartUp, AMissingSettingsFileIsAStartUpError) {
  ProgramFolder folder;
  std::remove((folder.path() + "/Lorvan.ini").c_str());
  const auto r = RunScenario(folder.path(), "start\n");
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_NE(r.err.find("Lorvan.ini: cannot open"), std::string::npos) << r.err;
}

TEST(StartUp, AnOverlongHelpFileWarnsOnceAndStillStarts) {
  ProgramFolder folder;
  std::string help = "20\r\n";
  for (int page = 0; page < 13; ++page) help += "K\tpage " + std::to_string(page) + "\r\n\r\n";
  folder.Write("Help.txt", help);
  const auto r = RunScenario(folder.path(), "start\ndump events\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  int boxes = 0;
  for (const auto& line : r.OutLines()) {
    const auto j = nlohmann::json::parse(line);
    if (j.contains("event") && j["event"] == "msgbox") {
      ++boxes;
      EXPECT_NE(j["text"].get<std::string>().find("more than 11 pages"), std::string::npos);
    }
  }
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(nlohmann::json::parse(r.OutLines().back())["giHelpPageCount"], 11);
}

}  // namespace
}  // namespace lorvan::testing

namespace lorvan::testing {
namespace {

// A key pressed while start-up waits for a slow player waits too, and is handled once the
// window has loaded, not half-way through it.
TEST(StartUp, KeysDuringTheWaitForThePlayerAreHandledAfterLoading) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3", "b.mp3", "c.mp3"});
  const auto r = RunScenario(folder.path(),
                             "player window 0\nplayer autostart 0\nstart\nwait 1000\nkey N\ndump state\n"
                             "wait 1000\nplayer window 1\nwait 50\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto during = nlohmann::json::parse(r.OutLines().at(0));
  EXPECT_EQ(during["glScreenMode"], 0) << "still loading";
  EXPECT_TRUE(during["lstFileEntries"].empty());
  const auto after = nlohmann::json::parse(r.OutLines().at(1));
  EXPECT_EQ(after["glScreenMode"], 1);
  EXPECT_EQ(after["giSelectedEntryNr"], 2) << "the held Next key moved the cursor after loading";
}

}  // namespace
}  // namespace lorvan::testing
