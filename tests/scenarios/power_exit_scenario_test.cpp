// End-to-end scripts of the exit key and the standby, as a user of lorvan-sim writes them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "hosts/posix/posix_file_system.h"
#include "lcd/pictures.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using nlohmann::json;

std::vector<json> JsonLines(const ScenarioResult& r) {
  std::vector<json> v;
  for (const auto& l : r.OutLines()) v.push_back(json::parse(l));
  return v;
}

// A shipped bitmap of the program folder in the format of `dump lcd`.
std::string PanelText(const std::string& folder, lcd::Picture lcd::frmPictures::*bitmap) {
  hosts::PosixFileSystem files;
  lcd::frmPictures pictures;
  pictures.Load(files, folder);
  std::string text;
  for (int y = 0; y < lcd::kLcdHeight; ++y) {
    for (int x = 0; x < lcd::kLcdWidth; ++x) text += lcd::IsSetPixel((pictures.*bitmap).Point(x, y)) ? '#' : '.';
    text += '\n';
  }
  return text;
}

TEST(PowerScenario, FivePressesShowTheServiceExitPicture) {
  ProgramFolder folder;
  const auto r = RunScenario(folder.path(), "start\nkey X\nkey X\nkey X\nkey X\nkey X\nwait 2500\ndump lcd\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, PanelText(folder.path(), &lcd::frmPictures::picServiceExitBackground));
}

TEST(PowerScenario, TwoPressesShowTheStandbyPictureUntilTheWakeUp) {
  ProgramFolder folder;
  const std::string standby = PanelText(folder.path(), &lcd::frmPictures::picStandbyBackground);
  const auto r = RunScenario(folder.path(), "start\nkey X\nkey X\nwait 2100\ndump lcd\nwait 6000\ndump lcd\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  ASSERT_EQ(r.out.size(), 2 * standby.size());
  EXPECT_EQ(r.out.substr(0, standby.size()), standby);
  EXPECT_NE(r.out.substr(standby.size()), standby) << "the refresh cycle draws the browser again";
}

TEST(PowerScenario, FivePressesSaveCloseThePlayerAndEnd) {
  ProgramFolder folder;
  folder.Write("Lorvan.ini", Settings().Text({"// mine"}) + "// moved up\r\n");
  const auto r = RunScenario(folder.path(),
                             "start\ndump events\n"
                             "key X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\n"
                             "wait 1599\ndump state\nwait 2\ndump events\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1]["running"], true) << "nothing happens before the window of 2000 ms is over";
  EXPECT_EQ(lines[1]["miExitPressCount"], 5);
  EXPECT_EQ(lines[2], (json{{"event", "activate"}, {"task", 1000}}));
  EXPECT_EQ(lines[3], (json{{"event", "sendkeys"}, {"keys", "%{F4}"}}));
  EXPECT_EQ(lines[4], (json{{"event", "exit"}}));
  EXPECT_EQ(lines[5]["running"], false);
  EXPECT_EQ(folder.Read("Lorvan.ini"), Settings().Text({"// mine", "// moved up"}));
}

TEST(PowerScenario, TwoPressesStandByAndComeBackAfterT) {
  // T = 5 s: the standby starts at 2000 ms and ends by time at 7000 ms.
  ProgramFolder folder;
  const auto r = RunScenario(folder.path(),
                             "start\ndump events\nkey X\nkey X\nwait 2100\ndump events\ndump state\n"
                             "wait 4800\ndump state\nwait 200\ndump state\ndump events\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], (json{{"event", "power"}, {"call", "SetSuspendState"}, {"args", {0, 0, 0}}}));
  EXPECT_EQ(lines[2]["tmrRefresh"], false);
  EXPECT_EQ(lines[3]["tmrRefresh"], false);
  EXPECT_EQ(lines[4]["tmrRefresh"], true);
  EXPECT_EQ(lines[4]["miExitPressCount"], 0);
  EXPECT_EQ(lines[4]["running"], true);
}

TEST(PowerScenario, HowTheSystemAnswersTheStandby) {
  struct Case {
    const char* setup;
    bool back_at_2100;
    int suspend_answer_calls;
  } cases[] = {
      {"power resume automatic\n", true, 1},
      {"power resume user\n", false, 1},
      {"power standby refuse\npower resume automatic\n", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    ProgramFolder folder;
    const auto r = RunScenario(folder.path(), std::string(c.setup) +
                                                  "start\nkey X\nkey X\nwait 2100\ndump state\n"
                                                  "wait 5000\ndump state\ndump events\n");
    ASSERT_EQ(r.exit_status, 0) << r.err;
    const auto lines = JsonLines(r);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0]["tmrRefresh"], c.back_at_2100);
    EXPECT_EQ(lines[1]["tmrRefresh"], true) << "back after T at the latest";
    int suspends = 0;
    for (size_t i = 2; i < lines.size(); ++i) suspends += lines[i]["event"] == "power";
    EXPECT_EQ(suspends, c.suspend_answer_calls);
  }
}

TEST(PowerScenario, AnAutomaticResumeLastsUntilTheUserPressesAKey) {
  // After an automatic resume the second standby would end at once, unless the user's key
  // strokes in between count as input, which they do.
  ProgramFolder folder;
  const auto r = RunScenario(folder.path(),
                             "power resume automatic\nstart\nkey X\nkey X\nwait 2100\n"
                             "power resume user\nkey X\nkey X\nwait 2100\ndump state\nwait 5000\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["tmrRefresh"], false) << "the second standby waits for T";
  EXPECT_EQ(lines[1]["tmrRefresh"], true);
}

TEST(PowerScenario, AStandbyOverMidnightEndsWithTheNewDate) {
  Settings s;
  s[8] = "60";
  ProgramFolder folder(s);
  const auto r = RunScenario(folder.path(),
                             "clock 2026-05-31T23:59:50\nstart\nkey X\nkey X\n"
                             "wait 9999\ndump state\nwait 2\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["tmrRefresh"], false);
  EXPECT_EQ(lines[1]["tmrRefresh"], true) << "woken at midnight, long before start + 60 s";
}

TEST(PowerScenario, OnePressStartsTheShutdownProgram) {
  ProgramFolder folder;
  folder.Write("Hardstop", "#!/bin/sh\n");
  const auto r = RunScenario(folder.path(), "start\ndump events\nkey x\nwait 3000\ndump events\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3]["event"], "shell");
  EXPECT_EQ(lines[3]["style"], 2);
  const std::string command = lines[3]["command"];
  EXPECT_EQ(command.substr(command.size() - 9), "/Hardstop");
  EXPECT_EQ(lines[4]["event"], "exit");
}

TEST(PowerScenario, AProgramFolderWithBlanksStartsExactlyItsShutdownProgram) {
  ProgramFolder outer;
  const std::string box = outer.path() + "/my box";
  std::filesystem::create_directory(box);
  for (const char* entry : {"Lorvan.ini", "Help.txt", "Music", "CD", "Fonts", "Bitmaps"}) {
    std::error_code ec;
    std::filesystem::copy(outer.path() + "/" + entry, box + "/" + entry, std::filesystem::copy_options::recursive, ec);
  }
  outer.Write("my box/Hardstop", "#!/bin/sh\n");
  const auto r = RunScenario(box, "start\ndump events\nkey x\nwait 3000\ndump events\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto lines = JsonLines(r);
  ASSERT_EQ(lines.size(), 5u);
  const std::string command = lines[3]["command"];
  EXPECT_EQ(command.front(), '"');
  EXPECT_EQ(command.substr(command.size() - 17), "/my box/Hardstop\"");
  EXPECT_EQ(lines[4]["event"], "exit");
}

TEST(PowerScenario, BadPowerAndCdLinesAreScriptErrors) {
  ProgramFolder folder;
  for (const char* line : {"cd full", "cd", "cd ready now", "power resume later", "power standby", "power nap"}) {
    const auto r = RunScenario(folder.path(), std::string("start\n") + line + "\n");
    EXPECT_EQ(r.exit_status, 2) << line;
    EXPECT_NE(r.err.find("test.script:2:"), std::string::npos) << line << ": " << r.err;
  }
}

}  // namespace
}  // namespace lorvan::testing
