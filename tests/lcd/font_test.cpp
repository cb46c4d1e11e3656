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

// The rows of the table-driven tests are in tables/fonts.json.
TEST_F(Fonts, BadLinesEndTheLoadKeepingWhatCameBefore) {
  for (const auto& r : Table("lcd/tables/fonts.json", "bad line after a good one: what, line")) {
    g.gsFontGlyph.fill("");
    EXPECT_FALSE(g.LoadFont(FontFile("065255\r\n" + r[1].get<std::string>() + "\r\n066255\r\n"))) << r[0];
    EXPECT_EQ(g.gsFontGlyph[65], "255") << r[0];
    EXPECT_EQ(g.gsFontGlyph[66], "") << r[0];
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
  for (const auto& r : Table("lcd/tables/fonts.json", "number to binary, at least eight digits: number, bits")) {
    EXPECT_EQ(lcd::NumberToBinary(r[0]), r[1]) << r[0];
  }
}

// The cases are in tables/fonts.json: a glyph's key is its character (one, in UTF-8), the
// rows are y, x0, x1 and '#' black, '.' white; on_black, transparent and inverse are false unless given.
TEST_F(Fonts, DrawTextPaintsColumnsAndGapsInsideThePicture) {
  ASSERT_TRUE(g.utf8_text);  // POSIX host
  for (const auto& c : Table("lcd/tables/fonts.json", "draw text")) {
    SCOPED_TRACE(c["name"].get<std::string>());
    g.gsFontGlyph.fill("");
    for (const auto& [character, glyph] : c["glyphs"].items()) {
      std::vector<int32_t> code;
      lcd::CharacterCodes(character, true, code);
      g.gsFontGlyph[code.at(0)] = glyph;
    }
    lcd::Picture p = c.value("on_black", false) ? BlackPicture() : lcd::Picture();
    const bool ok = g.DrawText(p, c["text"].get<std::string>(), c["x"], c["y"], c.value("transparent", false),
                               c.value("inverse", false));
    EXPECT_EQ(ok, c["ok"].get<bool>());
    for (const auto& r : c["rows"]) EXPECT_EQ(Row(p, r[0], r[1], r[2]), r[3]) << "row " << r[0];
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
