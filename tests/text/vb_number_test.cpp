#include "text/vb_number.h"

#include <gtest/gtest.h>

#include "support/program_folder.h"

namespace lorvan::text {
namespace {

// The rows of the table-driven tests are in tables/vb_number.json.
TEST(LeadingNumber, ReadsAsFarAsTheNumberGoes) {
  for (const auto& r : testing::Table("text/tables/vb_number.json", "leading number: text, value")) {
    EXPECT_DOUBLE_EQ(LeadingNumber(r[0].get<std::string>()), r[1].get<double>()) << r[0];
  }
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
  for (const auto& r : testing::Table("text/tables/vb_number.json", "two digits, with the sign: number, text")) {
    EXPECT_EQ(Format00(r[0]), r[1].get<std::string>()) << r[0];
  }
}

}  // namespace
}  // namespace lorvan::text
