// The volume keys of the main window: steps and range (a player that refuses them is in the
// scripts of tests/scenarios/scripts).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "hosts/sim/sim_world.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class VolumeEqTest : public ::testing::Test {
 protected:
  TempDir dir;
  sim::SimWorld world{dir.path()};
  app::frmMain form{world.platform};

  std::vector<std::string> Messages() { return world.player.TakeMessages(); }
};

TEST_F(VolumeEqTest, VolumeStepsByFiveAndStaysInRange) {
  struct Case {
    int16_t start;
    char key;
    int16_t after;
  };
  // Steps keep the offset of the start value (3 goes to 8, not 5) up to the top.
  const Case cases[] = {{253, 'U', 255}, {255, 'U', 255}, {250, 'U', 255}, {100, 'U', 105}, {3, 'U', 8},
                        {248, 'U', 253}, {3, 'W', 0},     {0, 'W', 0},     {100, 'W', 95},  {-40, 'U', 0},
                        {300, 'W', 255}, {32767, 'U', 255}, {-32768, 'W', 0}};
  for (const auto& c : cases) {
    form.state.giVolume = c.start;
    form.KeyPress(c.key);
    EXPECT_EQ(form.state.giVolume, c.after) << c.start << " " << c.key;
    EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", "send 1024 " + std::to_string(c.after) + " 122"));
  }
  EXPECT_THAT(world.events.Take(), IsEmpty());
}

}  // namespace
}  // namespace lorvan::testing
