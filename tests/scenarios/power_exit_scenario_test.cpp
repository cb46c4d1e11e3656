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

// The output split at the panel dumps: JSON lines and whole panel pictures.
std::vector<std::string> Chunks(const std::string& out) {
  std::vector<std::string> chunks;
  size_t at = 0;
  while (at < out.size()) {
    const bool panel = out[at] == '#' || out[at] == '.';
    size_t len = panel ? (lcd::kLcdWidth + 1) * lcd::kLcdHeight : out.find('\n', at) + 1 - at;
    chunks.push_back(out.substr(at, len));
    at += len;
  }
  return chunks;
}

TEST(PowerScenario, FivePressesSaveShowTheServiceExitCloseThePlayerAndEnd) {
  ProgramFolder folder;
  folder.Write("Lorvan.ini", Settings().Text({"// mine"}) + "// moved up\r\n");
  const auto r = RunScenario(folder.path(),
                             "start\ndump events\n"
                             "key X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\nwait 100\nkey X\n"
                             "wait 1599\ndump state\nwait 2\ndump events\ndump state\ndump lcd\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto c = Chunks(r.out);
  ASSERT_EQ(c.size(), 7u);
  EXPECT_EQ(json::parse(c[1])["running"], true) << "nothing happens before the window of 2000 ms is over";
  EXPECT_EQ(json::parse(c[1])["miExitPressCount"], 5);
  EXPECT_EQ(c[2], "{\"event\":\"activate\",\"task\":1000}\n");
  EXPECT_EQ(c[3], "{\"event\":\"sendkeys\",\"keys\":\"%{F4}\"}\n");
  EXPECT_EQ(c[4], "{\"event\":\"exit\"}\n");
  EXPECT_EQ(json::parse(c[5])["running"], false);
  EXPECT_EQ(c[6], PanelText(folder.path(), &lcd::frmPictures::picServiceExitBackground));
  EXPECT_EQ(folder.Read("Lorvan.ini"), Settings().Text({"// mine", "// moved up"}));
}

TEST(PowerScenario, TwoPressesStandByAndComeBackAfterT) {
  // T = 5 s: the standby starts at 2000 ms and ends by time at 7000 ms.
  ProgramFolder folder;
  const std::string standby = PanelText(folder.path(), &lcd::frmPictures::picStandbyBackground);
  const auto r = RunScenario(folder.path(),
                             "start\ndump events\nkey X\nkey X\nwait 2100\ndump events\ndump state\ndump lcd\n"
                             "wait 4800\ndump state\nwait 200\ndump state\ndump lcd\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto c = Chunks(r.out);
  ASSERT_EQ(c.size(), 7u);
  EXPECT_EQ(c[1], "{\"event\":\"power\",\"call\":\"SetSuspendState\",\"args\":[0,0,0]}\n");
  EXPECT_EQ(json::parse(c[2])["tmrRefresh"], false);
  EXPECT_EQ(c[3], standby);
  EXPECT_EQ(json::parse(c[4])["tmrRefresh"], false);
  EXPECT_EQ(json::parse(c[5])["tmrRefresh"], true);
  EXPECT_EQ(json::parse(c[5])["miExitPressCount"], 0);
  EXPECT_NE(c[6], standby) << "the refresh cycle draws the browser again";
}

TEST(PowerScenario, HowTheSystemAnswersTheStandby) {
  struct Case {
    const char* setup;
    bool back_at_2100;
  } cases[] = {
      {"power resume automatic\n", true},
      {"power resume user\n", false},
      {"power standby refuse\npower resume automatic\n", false},
      // Key strokes are user input: the automatic resume of the first standby does not
      // end the second one.
      {"power resume automatic\nstart\nkey X\nkey X\nwait 2100\npower resume user\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setup);
    ProgramFolder folder;
    std::string script = c.setup;
    if (script.find("start") == std::string::npos) script += "start\n";
    const auto r = RunScenario(folder.path(), script + "key X\nkey X\nwait 2100\ndump state\nwait 5000\ndump state\n");
    ASSERT_EQ(r.exit_status, 0) << r.err;
    ASSERT_EQ(r.OutLines().size(), 2u);
    EXPECT_EQ(json::parse(r.OutLines()[0])["tmrRefresh"], c.back_at_2100);
    EXPECT_EQ(json::parse(r.OutLines()[1])["tmrRefresh"], true) << "back after T at the latest";
  }
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
  const auto lines = r.OutLines();
  ASSERT_EQ(lines.size(), 5u);
  const json shell = json::parse(lines[3]);
  const std::string command = shell["command"];
  EXPECT_EQ(command.front(), '"');
  EXPECT_EQ(command.substr(command.size() - 17), "/my box/Hardstop\"");
  EXPECT_EQ(shell["style"], 2);
  EXPECT_EQ(lines[4], "{\"event\":\"exit\"}");
}

}  // namespace
}  // namespace lorvan::testing
