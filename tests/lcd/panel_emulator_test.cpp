// The KS0108 panel emulator: connector levels, latching and the controller's instructions.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "hosts/sim/sim_port.h"
#include "lcd/ks0108_panel.h"
#include "support/program_folder.h"

namespace lorvan::lcd::ks0108 {
namespace {

constexpr int kData = 888, kControl = 890;

// Each row runs port writes on a fresh panel and checks what it shows. "send V C" puts V on the
// data lines and pulses enable under control C (without, then with bit 0); "instr V" sends an
// instruction to both halves; "out PORT V" is one write; "shows X,Y ... = #." gives the pixels
// at the points ('#' dark); "left|right column|page|on N" the controller's state.
TEST(Ks0108Panel, ShowsWhatThePortWritesTellIt) {
  for (const auto& row : testing::Table("lcd/tables/ks0108_panel.json", "name, port base, steps")) {
    SCOPED_TRACE(row[0].get<std::string>());
    Panel p(row[1].get<int>());
    for (const std::string step : row[2]) {
      SCOPED_TRACE(step);
      std::istringstream in(step);
      std::string verb, field;
      int a = 0, b = 0;
      in >> verb;
      if (verb == "send" || verb == "instr") {
        in >> a >> b;
        const int control = verb == "instr" ? 12 : b;
        p.Out(kData, a);
        p.Out(kControl, control);
        p.Out(kControl, control + 1);
      } else if (verb == "out") {
        in >> a >> b;
        p.Out(a, b);
      } else if (verb == "shows") {
        std::string point, shown;
        while (in >> point && point != "=") {
          const int x = std::stoi(point), y = std::stoi(point.substr(point.find(',') + 1));
          shown += p.Pixel(x, y) ? '#' : '.';
        }
        in >> point;
        EXPECT_EQ(shown, point);
      } else {
        in >> field >> a;
        const auto& half = verb == "left" ? p.Left() : p.Right();
        EXPECT_EQ(field == "column" ? half.column : field == "page" ? half.page : int(half.display_on), a);
      }
    }
  }
}

}  // namespace
}  // namespace lorvan::lcd::ks0108

namespace lorvan::sim {
namespace {

TEST(SimPort, LongRunsKeepTheLatestWrites) {
  SimPort port;
  port.max_kept_writes = 4;
  for (int16_t i = 0; i < 10; ++i) port.Out32(888, i);
  const std::vector<std::string> kept = port.TakeWrites();
  ASSERT_GE(kept.size(), 4u);
  EXPECT_EQ(kept.back(), "888 9");
  EXPECT_EQ(port.DroppedWrites(), 10 - kept.size());
  EXPECT_EQ(kept.front(), "888 " + std::to_string(10 - kept.size()));
}

}  // namespace
}  // namespace lorvan::sim
