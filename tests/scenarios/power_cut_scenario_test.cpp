// A power cut while a track plays: the next run resumes it close to where it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <regex>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using ::testing::HasSubstr;

// The value lines of a settings file, comments left out.
std::vector<std::string> ValueLines(const std::string& text) {
  std::vector<std::string> values;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("//") == std::string::npos) values.push_back(line);
  }
  return values;
}

TEST(PowerCutScenario, ATrackPlayedFor95SecondsResumesFromItsLastHalfMinute) {
  ProgramFolder folder;
  folder.AddMusic({"Album/a.mp3", "Album/b.mp3", "Other/c.mp3"});
  // Into the folder, the second file, and the power goes after 95 s of playback.
  const auto cut = RunScenario(folder.path(), "start\nkey P\nkey N\nkey P\nwait 95000\ncrash\ndump state\n");
  ASSERT_EQ(cut.exit_status, 137) << cut.err;
  EXPECT_EQ(cut.out, "") << "nothing runs after the cut";

  // The journal is taken over at start-up (and gone until the resumed track writes it anew).
  const auto next = RunScenario(folder.path(), "start\nwait 100\ndump state\ndump file Lorvan.resume\n"
                                               "dump messages\nkey R\nwait 100\ndump messages\ndump events\n");
  ASSERT_EQ(next.exit_status, 0) << next.err;
  const auto lines = next.OutLines();
  ASSERT_GE(lines.size(), 2u);
  const auto started = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(started["glPlayState"], 0) << "start-up does not play";
  EXPECT_EQ(started["gsLastResumeMp3AudioDir"], "Music/Album/");

  std::string played;
  int64_t jumped = -1;
  const std::regex jump("send 1024 (-?[0-9]+) 106");
  for (const auto& line : lines) {
    if (line.find("copydata") != std::string::npos) played = line;
    std::smatch m;
    if (std::regex_match(line, m, jump)) jumped = std::stoll(m[1]);
  }
  EXPECT_THAT(played, HasSubstr("Music/Album/b.mp3"));
  EXPECT_GE(jumped, 60000);
  EXPECT_LE(jumped, 95000);
  EXPECT_THAT(next.out, ::testing::Not(HasSubstr("msgbox")));

  // The settings file holds that bookmark, and the journal was taken over.
  const auto values = ValueLines(folder.Read("Lorvan.ini"));
  ASSERT_EQ(values.size(), 56u);
  EXPECT_EQ(values[9], std::to_string(jumped));
  EXPECT_EQ(values[10], "Music/Album/");
  EXPECT_EQ(values[12], "1") << "the cursor on the second file";
  EXPECT_THAT(next.err, HasSubstr("Lorvan.resume: cannot open"));
}

TEST(PowerCutScenario, AnOrderlyExitLeavesNoJournal) {
  ProgramFolder folder;
  folder.AddMusic({"Album/a.mp3"});
  const auto r = RunScenario(folder.path(), "start\nkey P\nkey P\nwait 40000\nkey T\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(folder.path() + "/Lorvan.resume"));
  const auto values = ValueLines(folder.Read("Lorvan.ini"));
  ASSERT_EQ(values.size(), 56u);
  EXPECT_GE(std::stoi(values[9]), 40000);
}

}  // namespace
}  // namespace lorvan::testing
