// Command lines of the programs the box starts.
#include <gtest/gtest.h>

#include "hosts/linux/command_line.h"

namespace lorvan::linuxhost {
namespace {

TEST(SplitCommandLine, QuotesAndEscapes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(*SplitCommandLine("mpv  --idle=yes\t--no-video"), (V{"mpv", "--idle=yes", "--no-video"}));
  EXPECT_EQ(*SplitCommandLine("\"/opt/my box/mpv\" '--title=a b' x\\ y"), (V{"/opt/my box/mpv", "--title=a b", "x y"}));
  EXPECT_EQ(*SplitCommandLine("a \"say \\\"hi\\\"\" ''"), (V{"a", "say \"hi\"", ""}));
  EXPECT_EQ(*SplitCommandLine("   "), V{});
  EXPECT_FALSE(SplitCommandLine("mpv \"open"));
}

TEST(ResolveCommandLine, ThePlayersNameStandsForTheSettingsLine) {
  const std::string sock = "/run/user/1/lorvan-x.sock";
  EXPECT_EQ(ResolveCommandLine("Winamp.exe", "mpv --idle=yes --input-ipc-server=/s", sock), "mpv --idle=yes --input-ipc-server=/s");
  EXPECT_EQ(ResolveCommandLine("WINAMP.EXE", "Winamp.exe", sock), DefaultPlayerCommandLine(sock));
  EXPECT_EQ(ResolveCommandLine("mpv --idle=yes", "", sock), "mpv --idle=yes --input-ipc-server=" + sock);
  EXPECT_EQ(ResolveCommandLine("/opt/lorvan/Hardstop", "mpv", sock), "/opt/lorvan/Hardstop");
  EXPECT_TRUE(IsPlayerCommandLine("/usr/bin/mpv --idle=yes"));
  EXPECT_TRUE(IsPlayerCommandLine("Winamp.exe"));
  EXPECT_FALSE(IsPlayerCommandLine("/opt/lorvan/Hardstop.exe"));
}

TEST(DefaultSocketPath, OnePerProgramFolder) {
  EXPECT_EQ(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/opt/lorvan"));
  EXPECT_NE(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/home/box/lorvan"));
  EXPECT_LT(DefaultSocketPath("/opt/lorvan").size(), 100u) << "fits a socket address";
}

}  // namespace
}  // namespace lorvan::linuxhost
