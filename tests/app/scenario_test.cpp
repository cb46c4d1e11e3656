// The panel in whole-program scenarios: the PNG picture that lorvan-sim's dump gives after
// start-up (the port writes are in tests/scenarios/scripts/app_panel_port.scenario, the
// screens themselves in the scripts of tests/scenarios/scripts).
#include <gtest/gtest.h>

#include <fstream>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

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
}

}  // namespace
}  // namespace lorvan::testing
