// The help file: pages split at empty lines, key and description split at tabs, and its limits.
#include "app/help_file.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "posix/posix_file_system.h"
#include "support/program_folder.h"

namespace lorvan::app {
namespace {

class HelpFile : public ::testing::Test {
 protected:
  int16_t Read(const std::string& text, std::vector<std::string>* warnings = nullptr) {
    return ReadHelpFile(s, files, dir.Write("Help.txt", text), warnings);
  }
  lorvan::testing::TempDir dir;
  posix::PosixFileSystem files;
  SharedState s;
};

TEST_F(HelpFile, OnePageWithColumnAndLinesSplitAtTabs) {
  EXPECT_EQ(Read("' comment\r\n40\r\nP\tPlay\r\nKey\t\t\tDescription\r\nA\tb\tc\r\nNo tab here\r\n"), 1);
  EXPECT_EQ(s.giHelpColumnX, 40);
  const std::array<std::string, 2> lines[] = {{"P", "Play"}, {"Key", "Description"}, {"A", "c"}, {"No tab here", ""}};
  for (int l = 0; l < 4; ++l) EXPECT_EQ(s.gsHelpText[0][l], lines[l]) << l;
}

TEST_F(HelpFile, EveryEmptyLineEndsAPage) {
  // Two empty lines in a row leave page 1 (0-based) without lines; the final empty line makes
  // an empty last page; an empty line before the column value counts too.
  EXPECT_EQ(Read("\r\n30\r\nA\ta\r\n\r\n\r\nB\tb\r\n\r\n"), 5);
  EXPECT_EQ(s.gsHelpText[1][0][0], "A");
  EXPECT_EQ(s.gsHelpText[2][0][0], "");
  EXPECT_EQ(s.gsHelpText[3][0][0], "B");
}

TEST_F(HelpFile, SlotsNoLineFillsKeepTheirContents) {
  s.gsHelpText[0][5][0] = "earlier";
  Read("10\r\nA\ta\r\n");
  EXPECT_EQ(s.gsHelpText[0][5][0], "earlier");
}

TEST_F(HelpFile, ExcessPagesAndLinesAreIgnoredWithOneWarning) {
  std::string text = "20\r\n";
  for (int line = 0; line < 10; ++line) text += "L" + std::to_string(line) + "\tx\r\n";
  for (int page = 1; page < 14; ++page) text += "\r\nP" + std::to_string(page) + "\ty\r\n";
  std::vector<std::string> warnings;
  EXPECT_EQ(Read(text, &warnings), 11);
  EXPECT_EQ(s.gsHelpText[0][7][0], "L7");
  EXPECT_EQ(s.gsHelpText[10][0][0], "P10");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("Help.txt:10:"), std::string::npos) << warnings[0];
}

TEST_F(HelpFile, ErrorsNameTheFile) {
  EXPECT_THROW(ReadHelpFile(s, files, dir.path() + "/none.txt"), StartupError);
  try {
    Read("' c\r\n99999\r\n");
    FAIL();
  } catch (const StartupError& e) {
    EXPECT_NE(std::string(e.what()).find("Help.txt:2:"), std::string::npos);
  }
}

}  // namespace
}  // namespace lorvan::app
