// The Linux shutdown program asks systemd to power off: here a stand-in systemctl on the
// search path records what it was asked.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

std::string HardstopPath() {
  const std::string sim = LORVAN_SIM_EXE;
  return sim.substr(0, sim.rfind('/')) + "/Hardstop";
}

int RunWithPath(const std::string& path_dir, const std::string& out) {
  const std::string cmd = "PATH='" + path_dir + "' '" + HardstopPath() + "' 2>'" + out + "'";
  return WEXITSTATUS(std::system(cmd.c_str()));
}

TEST(Hardstop, PowersOffThroughSystemctlAndSaysSoWhenItIsMissing) {
  struct stat st {};
  if (::stat(HardstopPath().c_str(), &st) != 0) GTEST_SKIP() << "Hardstop is not built";
  TempDir dir;
  const std::string fake = dir.Write("bin/systemctl", "#!/bin/sh\necho \"$@\" > \"${0%/*}/../asked\"\n");
  ::chmod(fake.c_str(), 0755);
  EXPECT_EQ(RunWithPath(dir.path() + "/bin", dir.path() + "/err"), 0);
  EXPECT_EQ(dir.Read("asked"), "poweroff\n");
  dir.Mkdir("empty");
  EXPECT_EQ(RunWithPath(dir.path() + "/empty", dir.path() + "/err"), 1);
  EXPECT_NE(dir.Read("err").find("systemctl poweroff"), std::string::npos) << dir.Read("err");
}

}  // namespace
}  // namespace lorvan::testing
