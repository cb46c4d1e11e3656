// The shipped LCD bitmaps, pixel for pixel, and how bitmap files are read.
#include "lcd/pbm.h"
#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

using Bitmaps = LcdWindow;

TEST_F(Bitmaps, SymbolsAndCursorMatchTheirPixelTables) {
  const std::string play = "r2: 2-3; r3: 2-5; r4: 2-7; r5: 2-9; r6: 2-10; r7: 2-9; r8: 2-7; r9: 2-5; r10: 2-3";
  const struct {
    const lcd::Picture& bitmap;
    const char* name;
    std::string table;
  } cases[] = {
      {f.frmPictures.picCursor, "picCursor", "r0: 0; r1: 0-1; r2: 0-2; r3: 0-1; r4: 0"},
      {f.frmPictures.picPlayWithoutEq, "picPlayWithoutEq", play},
      {f.frmPictures.picPlayWithEq, "picPlayWithEq", play + "; r8: 11; r9: 9, 11; r10: 7, 9, 11; r11: 7, 9, 11"},
      {f.frmPictures.picStopWithoutEq, "picStopWithoutEq", "r2-r10: 2-10"},
      {f.frmPictures.picStopWithEq, "picStopWithEq",
       "r2-r6: 2-10; r7: 2-9; r8: 2-7, 11; r9: 2-5, 9, 11; r10: 2-5, 7, 9, 11; r11: 7, 9, 11"},
      {f.frmPictures.picPauseWithoutEq, "picPauseWithoutEq", "r2-r10: 2-4, 8-10"},
      {f.frmPictures.picPauseWithEq, "picPauseWithEq",
       "r2-r6: 2-4, 8-10; r7: 2-4; r8: 2-4, 11; r9: 2-4, 9, 11; r10: 2-4, 7, 9, 11; r11: 7, 9, 11"},
      {f.frmPictures.picMp3, "picMp3",
       "r1: 3-9; r2: 2, 10; r3: 1, 11; r4: 1-2, 10-11; r5: 1, 3-9, 11; r6-r9: 1, 11; r10: 2, 10; r11: 3-9"},
      {f.frmPictures.picCd, "picCd",
       "r1: 4-8; r2: 3, 9; r3: 2, 5-7, 10; r4: 1, 4, 8, 11; r5: 1, 3, 6, 9, 11; r6: 1, 3, 5, 7, 9, 11; "
       "r7: 1, 3, 6, 9, 11; r8: 1, 4, 8, 11; r9: 2, 5-7, 10; r10: 3, 9; r11: 4-8"},
      {f.frmPictures.picCdSearching, "picCdSearching",
       "r1: 4-8; r2: 3, 9; r3: 2, 5-7, 10; r4: 1, 4, 8, 11; r5: 1, 8, 11; r6: 1, 7, 11; r7: 1, 6, 11; "
       "r8: 1, 11; r9: 2, 6, 10; r10: 3, 9; r11: 4-8"},
      {f.frmPictures.picCdNotAvailable, "picCdNotAvailable",
       "r0: 0, 12; r1: 0-1, 4-8, 11-12; r2: 1-3, 9-11; r3: 2-3, 5-7, 9-10; r4: 1, 3-4, 8-9, 11; "
       "r5: 1, 3-9, 11; r6: 1, 3, 5-7, 9, 11; r7: 1, 3-9, 11; r8: 1, 3-4, 8-9, 11; r9: 2-3, 5-7, 9-10; "
       "r10: 1-3, 9-11; r11: 0-1, 4-8, 11-12; r12: 0, 12"},
  };
  for (const auto& c : cases) {
    const lcd::Picture expected = PictureFromTable(c.bitmap.Width(), c.bitmap.Height(), c.table);
    EXPECT_EQ(lcd::WritePbm(c.bitmap), lcd::WritePbm(expected)) << c.name;
  }
}

TEST_F(Bitmaps, BackgroundsDrawTheScreenFrames) {
  EXPECT_EQ(lcd::WritePbm(f.frmPictures.picBackground),
            lcd::WritePbm(PictureFromTable(
                128, 64, "r8: 0-127; r50: 0-127; r51-r55: 0, 100, 114; r56: 0-100, 114; r57-r63: 100, 114")));
  EXPECT_TRUE(DarkPixels(f.frmPictures.picHelpBackground, 0, 0, 127, 63).empty());
  // Above the labels the equalizer background is exactly its frame and centre line.
  lcd::Picture eq_frame = PictureFromTable(128, 64, "r0: 120-127; r1-r55: 120, 127; r26: 0-118; r56: 120-127");
  EXPECT_EQ(DarkPixels(f.frmPictures.picEqBackground, 0, 0, 127, 57), DarkPixels(eq_frame, 0, 0, 127, 57));
  // Labels sit under their band columns, the loudspeaker under the volume bar.
  const lcd::Picture& eq = f.frmPictures.picEqBackground;
  for (int band = 0; band < 10; ++band) {
    EXPECT_FALSE(DarkPixels(eq, 12 * band, 58, 12 * band + 10, 63).empty()) << "label of band " << band;
    for (int y = 58; y < 64; ++y) EXPECT_FALSE(lcd::IsSetPixel(eq.Point(12 * band + 11, y))) << "gap after " << band;
  }
  EXPECT_FALSE(DarkPixels(eq, 122, 58, 125, 63).empty());
  EXPECT_TRUE(DarkPixels(eq, 119, 58, 121, 63).empty());
  EXPECT_TRUE(DarkPixels(eq, 126, 58, 127, 63).empty());
}

TEST_F(Bitmaps, FullScreenPicturesShareTheLogoAboveTheirCaptions) {
  const lcd::frmPictures& p = f.frmPictures;
  const lcd::Picture* screens[] = {&p.picStandbyBackground, &p.picShutdownBackground, &p.picServiceExitBackground};
  for (const lcd::Picture* s : screens) {
    EXPECT_EQ(DarkPixels(*s, 0, 0, 127, 39), DarkPixels(p.picStandbyBackground, 0, 0, 127, 39));
    EXPECT_TRUE(DarkPixels(*s, 0, 0, 127, 2).empty());
    EXPECT_FALSE(DarkPixels(*s, 0, 3, 127, 3).empty());
    EXPECT_FALSE(DarkPixels(*s, 0, 39, 127, 39).empty());
    EXPECT_TRUE(DarkPixels(*s, 0, 40, 127, 48).empty());
    EXPECT_FALSE(DarkPixels(*s, 0, 49, 127, 49).empty());
    EXPECT_TRUE(DarkPixels(*s, 0, 62, 127, 63).empty());
  }
  EXPECT_NE(DarkPixels(p.picStandbyBackground, 0, 49, 127, 61), DarkPixels(p.picShutdownBackground, 0, 49, 127, 61));
  EXPECT_NE(DarkPixels(p.picShutdownBackground, 0, 49, 127, 61),
            DarkPixels(p.picServiceExitBackground, 0, 49, 127, 61));
}

TEST_F(Bitmaps, PasteLeavesOutRowAndColumnZero) {
  lcd::Picture target;
  lcd::PastePicture(target, f.frmPictures.picCdNotAvailable, 101, 51);
  lcd::Picture expected = f.frmPictures.picCdNotAvailable;
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {12, 0}, {0, 1}, {0, 11}, {0, 12}}) {
    expected.PSet(x, y, lcd::kWhite);
  }
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x) EXPECT_EQ(target.Point(101 + x, 51 + y), expected.Point(x, y)) << x << "," << y;
  // White pixels of the bitmap are copied too.
  lcd::Picture black;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) black.PSet(x, y, lcd::kBlack);
  lcd::PastePicture(black, f.frmPictures.picCursor, 0, 11);
  EXPECT_EQ(black.Point(2, 12), lcd::kWhite);
  EXPECT_EQ(black.Point(0, 12), lcd::kBlack);
}

TEST(PbmFiles, ReadsPlainBitmapsWithCommentsAndPackedDigits) {
  const lcd::Picture p = lcd::ParsePbm("P1\n# a comment\n3 2 # size\n101\r\n0 1 0\n", "x.pbm");
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Height(), 2);
  EXPECT_EQ(lcd::WritePbm(p), "P1\n3 2\n101\n010\n");
  EXPECT_EQ(lcd::WritePbm(lcd::ParsePbm(lcd::WritePbm(p, {"note"}), "y.pbm")), lcd::WritePbm(p));
}

TEST(PbmFiles, ErrorsNameTheFileAndTheLine) {
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {"P4\n1 1\n1\n", "x.pbm, line 1: not a plain PBM"},
      {"P1\n2\n", "x.pbm, line 2: the file ends before its header is complete"},
      {"P1\n0 2\n", "x.pbm, line 2: the width \"0\" is not a number from 1 to 4096"},
      {"P1\n2 x\n", "x.pbm, line 2: the height \"x\" is not a number"},
      {"P1\n2 2\n10\n1\n", "x.pbm, line 4: the file ends after 3 of 4 pixels"},
      {"P1\n2 2\n10\n12\n", "x.pbm, line 4: \"2\" is no pixel (0 or 1)"},
      {"P1\n2 1\n10\n\n1\n", "x.pbm, line 5: more pixels than 2 x 1"},
  };
  for (const Case& c : cases) {
    try {
      lcd::ParsePbm(c.text, "x.pbm");
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const platform::FileError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message) << e.what();
    }
  }
}

TEST(PictureLoad, MissingWrongSizedOrMalformedBitmapsNameTheFile) {
  struct Case {
    const char* name;
    std::function<void(ProgramFolder&)> damage;
    std::string message_part;
  };
  const Case cases[] = {
      {"missing", [](ProgramFolder& pf) { std::filesystem::remove(pf.path() + "/Bitmaps/picMp3.pbm"); },
       "/Bitmaps/picMp3.pbm: cannot open"},
      {"wrong size", [](ProgramFolder& pf) { pf.Write("Bitmaps/picCursor.pbm", "P1 3 4 000 000 000 000"); },
       "/Bitmaps/picCursor.pbm: the bitmap is 3 x 4 pixels, it must be 3 x 5"},
      {"malformed", [](ProgramFolder& pf) { pf.Write("Bitmaps/picCd.pbm", "P1\n13 13\n\n\n01x\n"); },
       "/Bitmaps/picCd.pbm, line 5: \"x\" is no pixel"},
  };
  for (const Case& c : cases) {
    ProgramFolder pf;
    c.damage(pf);
    sim::SimWorld world(pf.path());
    lcd::frmPictures pictures;
    try {
      pictures.Load(world.files, world.program_dir);
      ADD_FAILURE() << c.name;
    } catch (const platform::FileError& e) {
      EXPECT_NE(std::string(e.what()).find(world.program_dir + c.message_part), std::string::npos)
          << c.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace lorvan::testing
