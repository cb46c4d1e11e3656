// The player version answer as text: the known numbers by their table, others digit by digit.
#include <gtest/gtest.h>

#include "player/winamp_version.h"

namespace lorvan::player {
namespace {

TEST(WinampVersionText, KnownNumbersUseTheirTableText) {
  const std::pair<int32_t, const char*> cases[] = {
      {5457, "1.55"}, {5792, "1.6b"}, {5807, "1.60"}, {5808, "1.61"},
      {5809, "1.62"}, {5811, "1.64"}, {5812, "1.666"}, {5813, "1.69"},
  };
  for (const auto& [answer, text] : cases) EXPECT_EQ(WinampVersionText(answer), text) << answer;
}

TEST(WinampVersionText, OtherNumbersSkipTheThirdHexDigit) {
  const std::pair<int32_t, const char*> cases[] = {
      {0x2000, "2.00"},
      {0x2091, "2.01"},       // 2.91 would keep the third digit
      {0x5066, "5.06"},
      {0x16B2, "1.62"},       // not in the table: 1, 6, skip B, 2
      {0x12345, "1.245"},     // everything from the fourth digit on is kept
      {0xABC, "A.B"},
      {0x1F, "1.F"},
      {7, "7."},
      {0, "0."},              // what a vanished window's answer gives
      {-1, "F.FFFFFF"},       // two's complement, eight digits
      {INT32_MIN, "8.000000"},
  };
  for (const auto& [answer, text] : cases) EXPECT_EQ(WinampVersionText(answer), text) << answer;
}

}  // namespace
}  // namespace lorvan::player
