// Font files, the glyph table and drawing text.
#include <filesystem>
#include <map>

#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

class Fonts : public LcdTest {
 protected:
  std::string FontFile(const std::string& content) { return folder.Write("Fonts/Test.fnt", content); }
};

// Row y of a picture from x0 to x1: '#' black, '.' white, '?' any other colour.
std::string Row(const lcd::Picture& p, int y, int x0, int x1) {
  std::string row;
  for (int x = x0; x <= x1; ++x) row += p.Point(x, y) == lcd::kBlack ? '#' : p.Point(x, y) == lcd::kWhite ? '.' : '?';
  return row;
}

TEST_F(Fonts, LoadSkipsCommentsAndBlankLinesAndKeepsLeadingBlanksInTheCode) {
  g.gsFontGlyph[66] = "untouched";
  EXPECT_TRUE(g.LoadFont(FontFile("# header\r\n   # a remark\r\n    \r\n\r\n065255129\r\n 67001\r\n065008\n")));
  EXPECT_EQ(g.gsFontGlyph[65], "008");  // a later definition replaces an earlier one
  EXPECT_EQ(g.gsFontGlyph[67], "001");  // " 67" is the code, the glyph starts at character 4
  EXPECT_EQ(g.gsFontGlyph[66], "untouched");
}

TEST_F(Fonts, BadLinesEndTheLoadKeepingWhatCameBefore) {
  const std::pair<const char*, std::string> cases[] = {
      {"code 256", "256001"}, {"negative code", "-01001"}, {"not a number", "06A001"},
      {"short line", "65"},   {"code with a blank inside", "6 5001"},
  };
  for (const auto& [name, bad_line] : cases) {
    g.gsFontGlyph.fill("");
    EXPECT_FALSE(g.LoadFont(FontFile("065255\r\n" + bad_line + "\r\n066255\r\n"))) << name;
    EXPECT_EQ(g.gsFontGlyph[65], "255") << name;
    EXPECT_EQ(g.gsFontGlyph[66], "") << name;
  }
}

TEST_F(Fonts, ReloadSeesTheFileAsItIsNow) {
  const std::string path = FontFile("065001\r\n");
  ASSERT_TRUE(g.LoadFont(path));
  EXPECT_EQ(g.gsFontGlyph[65], "001");
  FontFile("065002002\r\n");
  ASSERT_TRUE(g.LoadFont(path));
  EXPECT_EQ(g.gsFontGlyph[65], "002002");
  // The same file over a changed table writes its glyphs again.
  g.gsFontGlyph[65] = "xyz";
  ASSERT_TRUE(g.LoadFont(path));
  EXPECT_EQ(g.gsFontGlyph[65], "002002");
  std::filesystem::remove(path);  // a missing file leaves the table as it was
  EXPECT_FALSE(g.LoadFont(path));
  EXPECT_EQ(g.gsFontGlyph[65], "002002");
}

TEST(NumberToBinary, PadsToEightDigits) {
  const std::pair<int32_t, const char*> cases[] = {{0, "00000000"},   {5, "00000101"},   {129, "10000001"},
                                                   {255, "11111111"}, {256, "100000000"}, {999, "1111100111"}};
  for (const auto& [n, bits] : cases) EXPECT_EQ(lcd::NumberToBinary(n), bits) << n;
}

TEST_F(Fonts, DrawTextPaintsColumnsAndGapsInsideThePicture) {
  struct Case {
    const char* name;
    std::map<int, std::string> glyphs;
    std::string text;
    int x, y;
    bool on_black, transparent, inverse, ok;
    std::vector<std::tuple<int, int, int, std::string>> rows;  // y, x0, x1, '#' black '.' white
  };
  const Case cases[] = {
      {"columns, then one gap, nothing after the last", {{'a', "255255255"}, {'b', "255255"}}, "ab", 4, 10,
       true, false, false, true, {{10, 3, 10, "####.###"}, {17, 3, 10, "####.###"}, {9, 3, 10, "########"},
       {18, 3, 10, "########"}}},
      // 000, 255, 129, 001, 256 (only eight digits drawn), 999 and " 8 ": the top row is the high bit.
      {"column values", {{'x', "000255129001256999 8 "}}, "x", 0, 0, true, false, false, true,
       {{0, 0, 6, ".##.##."}, {1, 0, 6, ".#...#."}, {4, 0, 6, ".#...##"}, {5, 0, 6, ".#....."},
        {7, 0, 6, ".###.#."}}},
      {"an empty text draws nothing", {}, "", 0, 0, true, false, false, true, {{0, 0, 3, "####"}}},
      {"an empty glyph advances one column", {{'a', "255"}, {'e', ""}}, "aea", 0, 0, true, false, false, true,
       {{0, 0, 4, "#.###"}}},
      {"trailing characters of a glyph fill no column", {{'t', "25525"}, {'a', "255"}}, "ta", 0, 20, true, false,
       false, true, {{20, 0, 2, "#.#"}}},
      {"transparent text paints no background", {{'a', "128"}}, "aa", 0, 0, true, true, false, true,
       {{0, 0, 3, "####"}, {1, 0, 3, "####"}}},
      {"inverse text", {{'a', "128"}}, "aa", 0, 0, false, false, true, true, {{0, 0, 1, ".#"}, {1, 0, 0, "#"}}},
      {"cut off at the bottom right", {{'a', "255255"}}, "aaaa", 124, 58, false, false, false, true,
       {{57, 120, 127, "........"}, {63, 124, 127, "##.#"}}},
      {"cut off at the top left", {{'a', "255255"}}, "a", -1, -7, false, false, false, true, {{0, 0, 1, "#."},
       {1, 0, 1, ".."}}},
      {"a bad column stops the drawing", {{'a', "255"}, {'b', "255x01"}}, "aba", 0, 0, false, false, false, false,
       {{0, 0, 4, "#.#.."}}},
      // UTF-8 text: two characters (é and € drawn as '?'), one gap between them.
      {"characters, not bytes", {{233, "255"}, {'?', "129"}}, "\xC3\xA9\xE2\x82\xAC", 0, 0, true, false, false,
       true, {{0, 0, 3, "#.##"}, {3, 0, 3, "#..#"}}},
  };
  ASSERT_TRUE(g.utf8_text);  // POSIX host
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g.gsFontGlyph.fill("");
    for (const auto& [code, glyph] : c.glyphs) g.gsFontGlyph[code] = glyph;
    lcd::Picture p = c.on_black ? BlackPicture() : lcd::Picture();
    EXPECT_EQ(g.DrawText(p, c.text, c.x, c.y, c.transparent, c.inverse), c.ok);
    for (const auto& [y, x0, x1, row] : c.rows) EXPECT_EQ(Row(p, y, x0, x1), row) << "row " << y;
  }
}

TEST(CharacterCodes, DecodesUtf8OrTakesBytes) {
  struct Case {
    std::string text;
    bool utf8;
    std::vector<int32_t> codes;
  };
  const Case cases[] = {
      {"Ab", true, {65, 98}},
      {"\xC3\xA9t\xC3\xA9", true, {233, 't', 233}},   // é
      {"\xE2\x82\xAC", true, {'?'}},                  // € is above 255
      {"\xF0\x9F\x8E\xB5!", true, {'?', '!'}},        // a four-byte character
      {"\xE9t\xE9", true, {233, 't', 233}},           // Latin-1 bytes stand for themselves
      {"\xC3", true, {0xC3}},                         // a cut sequence
      {"\xC0\x80", true, {0xC0, 0x80}},               // an overlong form is no character
      {"\xED\xA0\x80", true, {0xED, 0xA0, 0x80}},     // a surrogate is no character
      {"\xC3\xA9", false, {0xC3, 0xA9}},              // single-byte text
  };
  std::vector<int32_t> codes;
  for (const Case& c : cases) {
    lcd::CharacterCodes(c.text, c.utf8, codes);
    EXPECT_EQ(codes, c.codes) << c.text;
  }
}

TEST_F(Fonts, ShippedFontsLoadAndTheStatusLineFitsLeftOfTheSymbols) {
  ASSERT_TRUE(g.LoadFont(Shipped("Normal.fnt")));
  for (int c = 32; c < 256; ++c) {
    if (c < 127 || c >= 160) EXPECT_FALSE(g.gsFontGlyph[c].empty()) << "character " << c;
  }
  g.gsFontGlyph.fill("");
  ASSERT_TRUE(g.LoadFont(Shipped("Small.fnt")));
  lcd::Picture p;
  ASSERT_TRUE(g.DrawText(p, "00:00/00:00 [000/000] 000kb", 0, 56));
  EXPECT_TRUE(DarkPixels(p, 100, 0, 127, 63).empty());
  EXPECT_TRUE(DarkPixels(p, 0, 62, 99, 63).empty()) << "the small font uses the top six rows";
}

}  // namespace
}  // namespace lorvan::testing
