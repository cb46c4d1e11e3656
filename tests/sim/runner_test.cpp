// The scenario runner's own contract: script errors, time, dumps.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

TEST(Runner, ScriptErrorsExitWithTwoAndNameTheLine) {
  ProgramFolder folder;
  const struct {
    const char* script;
    int line;
    const char* problem;
  } cases[] = {
      {"start\n\nfly away\n", 3, "unknown command"},
      {"# comment\nwait ten\n", 2, "wait takes one whole number"},
      {"wait -5\n", 1, "wait takes"},
      {"key P\nstart\n", 1, "key before start"},
      {"start\nkey Q\n", 2, "\"Q\" is no accelerator key"},
      {"start\nkey PA\n", 2, "key takes one character"},
      {"start\nclick cmdNothing\n", 2, "no control named"},
      {"start\nstart\n", 2, "start is given twice"},
      {"clock 2026-13-01T00:00:00\n", 1, "clock takes"},
      {"dump state now\n", 1, "this command takes no arguments"},
      {"dump messages all\n", 1, "no arguments"},
      // The stand-in player's lines.
      {"player eq 10 5\n", 1, "band"},
      {"player eq 3 64\n", 1, "value"},
      {"player eq 3\n", 1, "band and a value"},
      {"player preamp -1\n", 1, "value"},
      {"player eqon 2\n", 1, "0 or 1"},
      {"player window yes\n", 1, "0 or 1"},
      {"player autostart\n", 1, "0 or 1"},
      {"player version 2147483648\n", 1, "version"},
      {"player version 0x2000\n", 1, "version"},
      {"player pos -2\n", 1, "position"},
      {"player length -1\n", 1, "length"},
      {"player status\n", 1, "status"},
      {"player end now\n", 1, "no arguments"},
      {"player volume 5\n", 1, "unknown command"},
      // The drive's and the power's lines.
      {"start\ncd full\n", 2, "cd"},
      {"start\ncd\n", 2, "cd"},
      {"start\ncd ready now\n", 2, "cd"},
      {"start\npower resume later\n", 2, "power"},
      {"start\npower standby\n", 2, "power"},
      {"start\npower nap\n", 2, "power"},
  };
  for (const auto& c : cases) {
    const auto r = RunScenario(folder.path(), c.script);
    EXPECT_EQ(r.exit_status, 2) << c.script;
    EXPECT_NE(r.err.find("test.script:" + std::to_string(c.line) + ":"), std::string::npos)
        << c.script << " -> " << r.err;
    EXPECT_NE(r.err.find(c.problem), std::string::npos) << c.script << " -> " << r.err;
    EXPECT_EQ(r.out, "") << "nothing runs from a script with an error";
  }
}

TEST(Runner, EveryControlNameAndAcceleratorIsAccepted) {
  ProgramFolder folder;
  std::string script = "start\n";
  for (const char* k : {"p", "A", "s", "V", "n", "<", ">", "0", "9", "C", "R", "O", "U", "W", "F", "D", "E",
                        "H", "I", "t"}) {
    script += std::string("key ") + k + "\n";
  }
  for (const char* name : {"cmdLcdInit", "chkInverted", "cmdJump(3)", "cmdExitDevEnv"}) {
    script += std::string("click ") + name + "\n";
  }
  const auto r = RunScenario(folder.path(), script);
  EXPECT_EQ(r.exit_status, 0) << r.err;
}

TEST(Runner, DumpFilePrintsTheBytesAsTheyAre) {
  ProgramFolder folder;
  folder.Write("note.bin", std::string("a\r\nb\0c", 6));
  const auto r = RunScenario(folder.path(), "dump file note.bin\n");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.out, std::string("a\r\nb\0c", 6));
}

TEST(Runner, ChecksBoxesByClickAndKey) {
  ProgramFolder folder;
  const auto r = RunScenario(folder.path(), "start\nclick chkInverted\ndump state\nkey i\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.OutLines()[0])["chkInverted"], 1);
  EXPECT_EQ(nlohmann::json::parse(r.OutLines()[1])["chkInverted"], 0);
}

TEST(Runner, TheExecutableReadsAScriptFileOrStandardInput) {
  ProgramFolder folder;
  const std::string script = folder.Write("s.txt", "start\ndump state\n");
  const std::string cmd = std::string(LORVAN_SIM_EXE) + " " + folder.path() + " " + script + " > " +
                          folder.path() + "/out.txt 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(nlohmann::json::parse(folder.Read("out.txt"))["glScreenMode"], 1);
  const std::string bad = "echo 'bogus' | " + std::string(LORVAN_SIM_EXE) + " " + folder.path() + " 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(bad.c_str())), 2);
  const std::string nodir = std::string(LORVAN_SIM_EXE) + " /nonexistent/folder < /dev/null 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(nodir.c_str())), 2);
}

}  // namespace
}  // namespace lorvan::testing
