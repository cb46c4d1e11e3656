#include "text/utf8_text.h"

#include <gtest/gtest.h>

namespace lorvan::text {
namespace {

struct LengthCase {
  std::string text;
  size_t chars;
};

TEST(Utf8Text, CountsCharactersAndTreatsBadBytesAsOneEach) {
  const LengthCase cases[] = {
      {"", 0},
      {"abc", 3},
      {"Mot\xc3\xb6rhead", 9},                  // two-byte o umlaut
      {"\xe2\x82\xac" "5", 2},                  // euro sign, three bytes
      {"\xf0\x9f\x8e\xb5", 1},                  // musical note, four bytes
      {"\xe9t\xe9", 3},                         // Latin-1 bytes, not UTF-8
      {"\xc3", 1},                              // sequence cut short at the end
      {"\xc3(", 2},                             // bad continuation byte
      {"\xc0\xaf", 2},                          // overlong form
      {"\xed\xa0\x80", 3},                      // surrogate
      {"\xf4\x90\x80\x80", 4},                  // above U+10FFFF
      {"\x80\xbf", 2},                          // stray continuation bytes
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8Length(c.text), c.chars) << c.text;
}

TEST(Utf8Text, RotationMovesWholeCharactersAndComesBackAfterLengthSteps) {
  const std::string texts[] = {"abc", "\xc3\xa4x\xe2\x82\xac", "\xf0\x9f\x8e\xb5 la", "\xe9\xc3", "x"};
  for (const auto& t : texts) {
    std::string s = t;
    for (size_t i = 0; i < Utf8Length(t); ++i) {
      s = Utf8RotateLeft(s);
      EXPECT_EQ(Utf8Length(s), Utf8Length(t)) << t;
      if (i + 1 < Utf8Length(t)) {
        EXPECT_NE(s, t);
      }
    }
    EXPECT_EQ(s, t);
  }
  EXPECT_EQ(Utf8RotateLeft("\xc3\xa4x\xe2\x82\xac"), "x\xe2\x82\xac\xc3\xa4");
  EXPECT_EQ(Utf8RotateLeft(""), "");
}

TEST(Utf8Text, DropsAndPicksCharactersFromTheEnd) {
  EXPECT_EQ(Utf8DropLast("Track01.cda", 4), "Track01");
  EXPECT_EQ(Utf8DropLast("Lied.c\xc3\xa4" "da", 4), "Lied.");
  EXPECT_EQ(Utf8DropLast(".cda", 4), "");
  EXPECT_EQ(Utf8DropLast("ab", 4), "");
  EXPECT_EQ(Utf8CharFromEnd("Song.mp3", 4), ".");
  EXPECT_EQ(Utf8CharFromEnd("a.\xc3\xa4pe", 4), ".");
  EXPECT_EQ(Utf8CharFromEnd("Pop", 4), "");
  EXPECT_EQ(Utf8CharFromEnd("x\xe2\x82\xac", 1), "\xe2\x82\xac");
}

}  // namespace
}  // namespace lorvan::text
