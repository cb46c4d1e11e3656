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

TEST(ResolveCommandLine, ThePlayersNameStandsForTheSettingsLineWhichListensOnTheSocket) {
  const std::string sock = "/run/user/1/lorvan-x.sock";
  const struct {
    std::string line, settings, socket, resolved;
  } cases[] = {
      {"Winamp.exe", "mpv --idle=yes --input-ipc-server=/s", "/s", "mpv --idle=yes --input-ipc-server=/s"},
      {"Winamp.exe", "mpv --input-ipc-server=/s --no-video", sock, "mpv --input-ipc-server=" + sock + " --no-video"},
      {"WINAMP.EXE", "Winamp.exe", sock, DefaultPlayerCommandLine(sock)},
      {"mpv --idle=yes", "", sock, "mpv --idle=yes --input-ipc-server=" + sock},
      {"mpv '--input-ipc-server=/a b' -v", "", "/it's here", "mpv --input-ipc-server=\"/it's here\" -v"},
      {"mpv --idle=yes", "", "/my box/p.sock", "mpv --idle=yes --input-ipc-server='/my box/p.sock'"},
      {"/opt/lorvan/Hardstop", "mpv", sock, "/opt/lorvan/Hardstop"},
  };
  for (const auto& c : cases) {
    const std::string resolved = ResolveCommandLine(c.line, c.settings, c.socket);
    EXPECT_EQ(resolved, c.resolved) << c.line << " / " << c.settings;
    if (IsPlayerCommandLine(resolved)) {
      EXPECT_EQ(NamedSocket(resolved), c.socket) << resolved;
    }
  }
  EXPECT_TRUE(IsPlayerCommandLine("/usr/bin/mpv --idle=yes"));
  EXPECT_TRUE(IsPlayerCommandLine("Winamp.exe"));
  EXPECT_FALSE(IsPlayerCommandLine("/opt/lorvan/Hardstop.exe"));
  EXPECT_FALSE(NamedSocket("vlc --input-ipc-server=/s")) << "only mpv's line names its socket";
  EXPECT_EQ(NamedSocket("mpv -input-ipc-server=/old"), "/old");
}

TEST(DefaultSocketPath, OnePerProgramFolder) {
  EXPECT_EQ(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/opt/lorvan"));
  EXPECT_NE(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/home/box/lorvan"));
  EXPECT_LT(DefaultSocketPath("/opt/lorvan").size(), 100u) << "fits a socket address";
}

}  // namespace
}  // namespace lorvan::linuxhost
