// The direct jump's effect beyond its timing (which the scenarios cover).
#include "nav_fixture.h"

namespace lorvan::testing {
namespace {

void Type(app::frmMain& f, const std::string& digits) {
  for (char d : digits) f.cmdJump_Click(static_cast<int16_t>(d - '0'));
}

TEST_F(NavTest, DigitsOnOtherScreensAreCollectedThenDiscarded) {
  Start(Numbered("Song", 5, ".mp3"));
  for (int32_t screen : {app::kScreenEqualizer, app::kScreenHelp}) {
    s().glScreenMode = screen;
    Type(f(), "4");
    EXPECT_EQ(f().msJumpDigits, "4");
    EXPECT_TRUE(f().tmrDirectJumpTime.Enabled());
    f().tmrDirectJumpTime_Timer();
    EXPECT_EQ(f().msJumpDigits, "");
    EXPECT_FALSE(f().tmrDirectJumpTime.Enabled());
    EXPECT_EQ(s().giSelectedEntryNr, 1);
  }
}

TEST_F(NavTest, JumpReachesEveryEntryAlsoWhereTwoShowTheSameName) {
  // "a" and "a.cda" are both listed as "a".
  Start({"a", "a.cda", "b.mp3", "c.mp3"});
  ASSERT_EQ(std::count(Entries().begin(), Entries().end(), "a"), 2);
  for (int nr : {4, 1, 2, 3, 2}) {
    Type(f(), std::to_string(nr));
    f().tmrDirectJumpTime_Timer();
    EXPECT_EQ(s().giSelectedEntryNr, nr);
    ExpectWindowShown();
  }
}

}  // namespace
}  // namespace lorvan::testing
