// The refresh tick: scrolling, status fields, progress and the end-of-track advance.
// (The scrolling of long names and titles is in tests/scenarios/scripts/app_scrolling.scenario.)
#include "app/refresh_cycle.h"

#include <gtest/gtest.h>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

// The rows are in tables/refresh.json.
TEST(PlayProgress, ScalesToNinetyNineRoundingHalvesToEven) {
  for (const auto& r : Table("app/tables/refresh.json",
                             "play progress, scaled to 99, halves to even: elapsed s, length s, progress")) {
    EXPECT_EQ(app::PlayProgress(r[0], r[1]), r[2]) << r;
  }
}

}  // namespace
}  // namespace lorvan::testing
