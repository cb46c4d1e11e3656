// Bitmap files: reading plain PBM, loading the picture form's bitmaps, pasting them.
#include <filesystem>
#include <functional>

#include "lcd/pbm.h"
#include "lcd/pictures.h"
#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

TEST(PastePicture, LeavesOutRowAndColumnZeroAndCopiesWhitePixels) {
  const lcd::Picture bitmap = lcd::ParsePbm("P1\n3 3\n000\n001\n010\n", "b.pbm");
  lcd::Picture target = BlackPicture();
  lcd::PastePicture(target, bitmap, 10, 20);
  EXPECT_EQ(DarkPixels(target, 10, 20, 13, 23),
            (std::vector<std::pair<int, int>>{{10, 20}, {11, 20}, {12, 20}, {13, 20}, {10, 21}, {12, 21}, {13, 21},
                                              {10, 22}, {11, 22}, {13, 22}, {10, 23}, {11, 23}, {12, 23}, {13, 23}}));
}

TEST(PbmFiles, ReadsPlainBitmapsWithCommentsAndPackedDigits) {
  const lcd::Picture p = lcd::ParsePbm("P1\n# a comment\n3 2 # size\n101\r\n0 1 0\n", "x.pbm");
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Height(), 2);
  EXPECT_EQ(lcd::WritePbm(p), "P1\n3 2\n101\n010\n");
  EXPECT_EQ(lcd::WritePbm(lcd::ParsePbm(lcd::WritePbm(p, {"note"}), "y.pbm")), lcd::WritePbm(p));
}

TEST(PbmFiles, ErrorsNameTheFileAndTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"P4\n1 1\n1\n", "x.pbm, line 1: not a plain PBM"},
      {"P1\n2\n", "x.pbm, line 2: the file ends before its header is complete"},
      {"P1\n0 2\n", "x.pbm, line 2: the width \"0\" is not a number from 1 to 4096"},
      {"P1\n2 x\n", "x.pbm, line 2: the height \"x\" is not a number"},
      {"P1\n2 2\n10\n1\n", "x.pbm, line 4: the file ends after 3 of 4 pixels"},
      {"P1\n2 2\n10\n12\n", "x.pbm, line 4: \"2\" is no pixel (0 or 1)"},
      {"P1\n2 1\n10\n\n1\n", "x.pbm, line 5: more pixels than 2 x 1"},
  };
  for (const auto& [text, message] : cases) {
    try {
      lcd::ParsePbm(text, "x.pbm");
      ADD_FAILURE() << "no error for " << text;
    } catch (const platform::FileError& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message) << e.what();
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
