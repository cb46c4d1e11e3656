// The scenario runner as an executable: it reads a script file or standard input and exits
// with 2 for a bad script, folder or command line. What the runner does with a script is in
// the scenario files.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

TEST(Runner, TheExecutableReadsAScriptFileOrStandardInput) {
  ProgramFolder folder;
  const std::string script = folder.Write("s.txt", "start\ndump state\n");
  const std::string cmd = std::string(LORVAN_SIM_EXE) + " " + folder.path() + " " + script + " > " +
                          folder.path() + "/out.txt 2>/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  EXPECT_EQ(nlohmann::json::parse(folder.Read("out.txt"))["glScreenMode"], 1);
  const std::string piped = "echo start | " + std::string(LORVAN_SIM_EXE) + " " + folder.path();
  EXPECT_EQ(std::system(piped.c_str()), 0) << "the script from standard input";
  const std::string bad = "echo 'bogus' | " + std::string(LORVAN_SIM_EXE) + " " + folder.path() + " 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(bad.c_str())), 2);
  const std::string nodir = std::string(LORVAN_SIM_EXE) + " /nonexistent/folder < /dev/null 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(nodir.c_str())), 2);
  const std::string extra = std::string(LORVAN_SIM_EXE) + " " + folder.path() + " " + script + " more 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(extra.c_str())), 2) << "a word after the script is refused";
}

}  // namespace
}  // namespace lorvan::testing
