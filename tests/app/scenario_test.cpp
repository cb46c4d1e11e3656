// The panel in whole-program scenarios: the port writes and the PNG picture that lorvan-sim's
// dumps give after start-up (the screens themselves are in the scripts of tests/app/scripts).
#include <fstream>

#include "box.h"

namespace lorvan::testing {
namespace {

TEST(Scenario, PortDumpShowsInitThenWholeFrames) {
  ProgramFolder folder;
  const ScenarioResult r = RunScenario(folder.path(),
                                       "start\ndump port\n"
                                       "wait 30\ndump port\n"
                                       "click chkInverted\ndump port\n"
                                       "wait 20\ndump port\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const std::vector<std::string> lines = r.OutLines();
  ASSERT_EQ(lines.size(), 6u + 3120 + 3120);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
            (std::vector<std::string>{"888 63", "890 12", "890 13", "888 192", "890 12", "890 13"}));
  // The first data byte of the first frame and the same byte inverted one frame later.
  const std::string first_data = lines[6 + 6];
  const std::string inverted = lines[6 + 3120 + 6];
  const int v = std::stoi(first_data.substr(4));
  EXPECT_EQ(inverted, "888 " + std::to_string(255 - v));
  EXPECT_EQ(lines[6], "888 184");
  EXPECT_EQ(lines[6 + 3], "888 64");
}

TEST(Scenario, PngShowsThePanelFourTimesEnlarged) {
  ProgramFolder folder;
  const std::string png = folder.path() + "/panel.png";
  const ScenarioResult r = RunScenario(folder.path(), "start\nwait 30\ndump png " + png + "\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  std::ifstream in(png, std::ios::binary);
  std::string head(24, '\0');
  in.read(head.data(), 24);
  ASSERT_TRUE(in);
  EXPECT_EQ(head.substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto be32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(head[at + i]);
    return v;
  };
  EXPECT_EQ(be32(16), 512u);
  EXPECT_EQ(be32(20), 256u);

  const ScenarioResult bad = RunScenario(folder.path(), "dump png " + folder.path() + "/no/such/folder/x.png\n");
  EXPECT_EQ(bad.exit_status, 0);
  EXPECT_NE(bad.err.find("no/such/folder/x.png: cannot write"), std::string::npos) << bad.err;
  EXPECT_EQ(RunScenario(folder.path(), "dump png\n").exit_status, 2);
  EXPECT_EQ(RunScenario(folder.path(), "dump lcd now\n").exit_status, 2);
}

}  // namespace
}  // namespace lorvan::testing
