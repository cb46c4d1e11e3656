#include "text/vb_number.h"

#include <gtest/gtest.h>

namespace lorvan::text {
namespace {

TEST(LeadingNumber, ReadsAsFarAsTheNumberGoes) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"12abc", 12}, {"abc", 0}, {"2.5", 2.5}, {"  -7", -7}, {"+3", 3}, {"", 0},
               {"1.2.3", 1.2}, {"-", 0}, {".5", 0.5}, {"007", 7}, {"C:\\x", 0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(ToInteger, RoundsHalvesToEvenAndKeepsTheRange) {
  EXPECT_EQ(ToInteger(LeadingNumber("2.5")), 2);
  EXPECT_EQ(ToInteger(LeadingNumber("3.5")), 4);
  EXPECT_EQ(ToInteger(LeadingNumber("-2.5")), -2);
  EXPECT_EQ(ToInteger(32767.4), 32767);
  EXPECT_EQ(ToInteger(-32768), -32768);
  EXPECT_FALSE(ToInteger(32767.5));  // rounds to 32768
  EXPECT_FALSE(ToInteger(-32769));
  EXPECT_EQ(ToLong(2147483647), 2147483647);
  EXPECT_FALSE(ToLong(2147483648.0));
  EXPECT_FALSE(ToLong(LeadingNumber("99999999999999999999999999")));
}

TEST(Format00, PadsToTwoDigitsAndKeepsTheSign) {
  const std::pair<int32_t, const char*> cases[] = {{5, "05"}, {0, "00"}, {123, "123"}, {-1, "-01"}, {-12, "-12"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(Format00(n), text) << n;
}

}  // namespace
}  // namespace lorvan::text
