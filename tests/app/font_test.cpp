// Font files, the glyph table and drawing text.
#include <filesystem>

#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;

class Fonts : public LcdWindow {
 protected:
  std::string FontFile(const std::string& content) { return folder.Write("Fonts/Test.fnt", content); }
  lcd::gLCD& g = f.glcd;
  lcd::Picture black_picture() {
    lcd::Picture p;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 128; ++x) p.PSet(x, y, lcd::kBlack);
    return p;
  }
  // Row y of a picture from x0 to x1: '#' black, '.' white, '?' any other colour.
  static std::string Row(const lcd::Picture& p, int y, int x0, int x1) {
    std::string row;
    for (int x = x0; x <= x1; ++x) row += p.Point(x, y) == lcd::kBlack ? '#' : p.Point(x, y) == lcd::kWhite ? '.' : '?';
    return row;
  }
};

TEST_F(Fonts, LoadSkipsCommentsAndBlankLinesAndKeepsLeadingBlanksInTheCode) {
  g.gsFontGlyph[66] = "untouched";
  EXPECT_TRUE(g.LoadFont(FontFile("# header\r\n   # a remark\r\n    \r\n\r\n065255129\r\n 67001\r\n065008\n")));
  EXPECT_EQ(g.gsFontGlyph[65], "008");  // a later definition replaces an earlier one
  EXPECT_EQ(g.gsFontGlyph[67], "001");  // " 67" is the code, the glyph starts at character 4
  EXPECT_EQ(g.gsFontGlyph[66], "untouched");
}

TEST_F(Fonts, BadLinesEndTheLoadKeepingWhatCameBefore) {
  struct Case {
    const char* name;
    std::string bad_line;
  };
  const Case cases[] = {
      {"code 256", "256001"}, {"negative code", "-01001"}, {"not a number", "06A001"},
      {"short line", "65"},   {"code with a blank inside", "6 5001"},
  };
  for (const Case& c : cases) {
    g.gsFontGlyph.fill("");
    EXPECT_FALSE(g.LoadFont(FontFile("065255\r\n" + c.bad_line + "\r\n066255\r\n"))) << c.name;
    EXPECT_EQ(g.gsFontGlyph[65], "255") << c.name;
    EXPECT_EQ(g.gsFontGlyph[66], "") << c.name;
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
  fs::remove(path);  // a missing file leaves the table as it was
  EXPECT_FALSE(g.LoadFont(path));
  EXPECT_EQ(g.gsFontGlyph[65], "002002");
}

TEST_F(Fonts, FailedLoadsDoNotUseUpFileHandles) {
  const auto open_files = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
  };
  const std::string bad = FontFile("065001\r\n999\r\n");
  const auto before = open_files();
  for (int i = 0; i < 3000; ++i) ASSERT_FALSE(g.LoadFont(bad));
  FontFile("065001\r\n9x9\r\n");  // a new version, read again each time it changes
  for (int i = 0; i < 100; ++i) {
    FontFile(i % 2 ? "065001\r\n9x9\r\n" : "065001\r\n9y9\r\n");
    ASSERT_FALSE(g.LoadFont(bad));
  }
  EXPECT_LE(open_files(), before);
}

TEST(NumberToBinary, PadsToEightDigits) {
  const std::pair<int32_t, const char*> cases[] = {{0, "00000000"},   {5, "00000101"},   {129, "10000001"},
                                                   {255, "11111111"}, {256, "100000000"}, {999, "1111100111"}};
  for (const auto& [n, bits] : cases) EXPECT_EQ(lcd::NumberToBinary(n), bits) << n;
}

TEST_F(Fonts, CharactersOccupyTheirColumnsThenOneGap) {
  g.gsFontGlyph['a'] = "255255255";
  g.gsFontGlyph['b'] = "255255";
  lcd::Picture p = black_picture();
  EXPECT_TRUE(g.DrawText(p, "ab", 4, 10));
  // Columns 4 to 6 and 8 to 9 drawn, the gap at 7 painted, nothing after the last character.
  for (int y = 10; y < 18; ++y) EXPECT_EQ(Row(p, y, 3, 10), "####.###") << y;
  for (int y : {9, 18}) EXPECT_EQ(Row(p, y, 3, 10), "########") << y;
}

TEST_F(Fonts, ColumnValuesMapTopRowToTheHighBit) {
  struct Case {
    const char* column;
    const char* rows;  // rows 0..7, '#' foreground
  };
  const Case cases[] = {
      {"000", "........"}, {"255", "########"}, {"129", "#......#"}, {"001", ".......#"},
      {"256", "#......."},  // nine digits: only the first eight are drawn
      {"999", "#####..#"},
      {" 8 ", "....#..."},
  };
  for (const Case& c : cases) {
    g.gsFontGlyph['x'] = c.column;
    lcd::Picture p = black_picture();
    ASSERT_TRUE(g.DrawText(p, "x", 0, 0)) << c.column;
    for (int r = 0; r < 8; ++r) EXPECT_EQ(lcd::IsSetPixel(p.Point(0, r)), c.rows[r] == '#') << c.column << " row " << r;
  }
}

TEST_F(Fonts, EmptyGlyphsAndTextsAndTrailingCharacters) {
  g.gsFontGlyph['a'] = "255";
  g.gsFontGlyph['e'] = "";
  g.gsFontGlyph['t'] = "25525";  // the two trailing characters fill no column
  lcd::Picture p = black_picture();
  EXPECT_TRUE(g.DrawText(p, "", 0, 0));
  EXPECT_EQ(p, black_picture());
  // "a" at 0, gap 1; the empty glyph advances one column (2) and paints nothing; "a" at 3.
  EXPECT_TRUE(g.DrawText(p, "aea", 0, 0));
  EXPECT_EQ(Row(p, 0, 0, 4), "#.###");
  lcd::Picture q = black_picture();
  EXPECT_TRUE(g.DrawText(q, "ta", 0, 20));
  EXPECT_EQ(Row(q, 20, 0, 2), "#.#");
}

TEST_F(Fonts, TransparentAndInverseText) {
  g.gsFontGlyph['a'] = "128";
  lcd::Picture p = black_picture();
  EXPECT_TRUE(g.DrawText(p, "aa", 0, 0, /*transparent=*/true));
  EXPECT_EQ(p, black_picture());  // black on black, no background painted
  lcd::Picture q;
  EXPECT_TRUE(g.DrawText(q, "aa", 0, 0, false, /*inverse=*/true));
  EXPECT_EQ(Row(q, 0, 0, 1), ".#");  // the gap in the inverse background
  EXPECT_EQ(Row(q, 1, 0, 0), "#");
}

TEST_F(Fonts, TextOutsideThePictureIsCutOff) {
  g.gsFontGlyph['a'] = "255255";
  lcd::Picture p;
  EXPECT_TRUE(g.DrawText(p, "aaaa", 124, 58));
  EXPECT_EQ(DarkPixels(p, 0, 0, 127, 57).size(), 0u);
  EXPECT_TRUE(lcd::IsSetPixel(p.Point(127, 63)));
  EXPECT_TRUE(g.DrawText(p, "a", -1, -7));
  EXPECT_TRUE(lcd::IsSetPixel(p.Point(0, 0)));
  EXPECT_FALSE(lcd::IsSetPixel(p.Point(0, 1)));
}

TEST_F(Fonts, BadColumnStopsTheDrawingKeepingWhatWasDrawn) {
  g.gsFontGlyph['a'] = "255";
  g.gsFontGlyph['b'] = "255x01";
  lcd::Picture p;
  EXPECT_FALSE(g.DrawText(p, "aba", 0, 0));
  EXPECT_EQ(Row(p, 0, 0, 4), "#.#..");
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

TEST_F(Fonts, Utf8TextCountsCharactersForTheGap) {
  ASSERT_TRUE(g.utf8_text);  // POSIX host
  g.gsFontGlyph[233] = "255";
  g.gsFontGlyph['?'] = "129";
  lcd::Picture p = black_picture();
  EXPECT_TRUE(g.DrawText(p, "\xC3\xA9\xE2\x82\xAC", 0, 0));
  // Two characters, one gap, none after the last.
  EXPECT_EQ(Row(p, 0, 0, 3), "#.##");
  EXPECT_EQ(Row(p, 3, 0, 3), "#..#");
}

// The shipped fonts.
class ShippedFonts : public Fonts {
 protected:
  static std::vector<int> Columns(const std::string& glyph) {
    std::vector<int> v;
    for (size_t i = 0; i + 3 <= glyph.size(); i += 3) v.push_back(std::stoi(glyph.substr(i, 3)));
    return v;
  }
};

TEST_F(ShippedFonts, NormalCoversAsciiAndLatin1Proportionally) {
  ASSERT_TRUE(g.LoadFont(f.AppFile("Fonts/Normal.fnt")));
  for (int c = 32; c < 256; ++c) {
    if (c >= 127 && c < 160 && c != 128) continue;
    const std::vector<int> cols = Columns(g.gsFontGlyph[c]);
    EXPECT_FALSE(cols.empty()) << "character " << c;
    EXPECT_EQ(g.gsFontGlyph[c].size() % 3, 0u) << "character " << c;
    for (int v : cols) EXPECT_LE(v, 255) << "character " << c;
  }
  EXPECT_LT(Columns(g.gsFontGlyph['i']).size(), Columns(g.gsFontGlyph['m']).size());
  EXPECT_EQ(Columns(g.gsFontGlyph[' ']), (std::vector<int>{0, 0}));
  for (int c : {int{'A'}, int{'Z'}, int{'a'}, int{'0'}, int{'e'}, 0xE9}) {
    const std::vector<int> cols = Columns(g.gsFontGlyph[c]);
    EXPECT_NE(cols.front(), 0) << "blank columns are trimmed: " << c;
    EXPECT_NE(cols.back(), 0) << "blank columns are trimmed: " << c;
  }
}

TEST_F(ShippedFonts, SmallDrawsTheStatusCharactersInTheTopSixRows) {
  g.gsFontGlyph.fill("");
  ASSERT_TRUE(g.LoadFont(f.AppFile("Fonts/Small.fnt")));
  size_t digit_width = 0;
  for (char c : std::string("0123456789:/[]kb ")) {
    const std::vector<int> cols = Columns(g.gsFontGlyph[static_cast<unsigned char>(c)]);
    ASSERT_FALSE(cols.empty()) << c;
    for (int v : cols) EXPECT_EQ(v & 3, 0) << "character " << c << " uses rows 6 or 7";
    if (c >= '0' && c <= '9') {
      if (digit_width == 0) digit_width = cols.size();
      EXPECT_EQ(cols.size(), digit_width) << "digits share one width: " << c;
    }
  }
  // The status line fits left of the symbol cells.
  lcd::Picture p;
  ASSERT_TRUE(g.DrawText(p, "00:00/00:00 [000/000] 000kb", 0, 58));
  EXPECT_TRUE(DarkPixels(p, 100, 0, 127, 63).empty());
}

}  // namespace
}  // namespace lorvan::testing
