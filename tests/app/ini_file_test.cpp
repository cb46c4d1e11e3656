// The settings file: reading its 56 values by position and rewriting it with its comments first.
#include "app/ini_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/errors.h"
#include "text/text_lines.h"
#include "posix/posix_file_system.h"
#include "support/program_folder.h"

namespace lorvan::app {
namespace {

using lorvan::testing::Settings;
using lorvan::testing::TempDir;
using ::testing::HasSubstr;

class IniFile : public ::testing::Test {
 protected:
  SharedState Read(const std::string& text) {
    const std::string path = dir.Write("Lorvan.ini", text);
    SharedState s;
    ReadWriteIniFile(s, files, path, 1);
    return s;
  }
  static std::string ErrorOf(const std::function<void()>& run) {
    try {
      run();
    } catch (const StartupError& e) {
      return e.what();
    }
    return "no error";
  }
  TempDir dir;
  posix::PosixFileSystem files;
};

TEST_F(IniFile, ReadsEveryPositionIntoItsVariable) {
  Settings v;
  for (int i = 0; i < 56; ++i) v[i] = std::to_string(i + 100);
  v[1] = "mpv --idle";
  v[2] = "/music/";
  v[3] = "D:\\";
  v[4] = "Help.txt";
  v[10] = "/music/Rock/";
  const SharedState s = Read(v.Text());
  EXPECT_EQ((std::vector<std::string>{s.gsWinampPath, s.gsMp3RootDir, s.gsCdRootDir, s.gsHelpFileName,
                                      s.gsLastResumeMp3AudioDir}),
            (std::vector<std::string>{"mpv --idle", "/music/", "D:\\", "Help.txt", "/music/Rock/"}));
  // Each number is its position plus 100.
  const std::pair<int64_t, int> numbers[] = {
      {s.giVolume, 100},           {s.glLcdDelayLoops, 105},         {s.glReserved1, 106},
      {s.glReserved2, 107},        {s.giWakeUpDetectionTime, 108},   {s.glLastResumeMp3PlayPos, 109},
      {s.giResumeListTop, 111},    {s.giResumeListRow, 112},         {s.giResumeFolderDepth, 113},
      {s.giResumeDepthListTop[0], 114}, {s.giResumeDepthListTop[20], 134}, {s.giResumeDepthListRow[0], 135},
      {s.giResumeDepthListRow[20], 155}};
  for (const auto& [got, want] : numbers) EXPECT_EQ(got, want);
  // The current state is not touched by reading.
  EXPECT_EQ(s.gsAudioDir, "");
  EXPECT_EQ(s.giListTop, 0);
}

TEST_F(IniFile, CommentsAnywhereAreSkippedEmptyLinesTakeAPositionAndLfEndsLikeCrLf) {
  const std::string text =
      "// head\n7\r\n  // indented comment\nplayer\r\n/music/ //with a trailing comment\r\n"
      "\nCD\r\n";
  const SharedState s = Read(text);
  EXPECT_EQ(s.giVolume, 7);
  EXPECT_EQ(s.gsWinampPath, "player");
  EXPECT_EQ(s.gsMp3RootDir, "");  // the empty line is position 2
  EXPECT_EQ(s.gsCdRootDir, "CD");
}

TEST_F(IniFile, AShortFileLoadsWhatItHasAndLeavesTheRest) {
  SharedState before;
  Settings v;
  v.values.resize(13);
  const SharedState s = Read(v.Text());
  EXPECT_EQ(s.giVolume, 200);
  EXPECT_EQ(s.giResumeListRow, 0);
  EXPECT_EQ(s.giResumeFolderDepth, before.giResumeFolderDepth);
}

TEST_F(IniFile, StackLinesSkipTheCommentTestAndLinesAfterThemAreIgnored) {
  Settings v;
  v[14] = "// taken as zero";
  v[15] = "9";
  v.values.push_back("extra");
  v.values.push_back("77777777777");
  const SharedState s = Read(v.Text());
  EXPECT_EQ(s.giResumeDepthListTop[0], 0);
  EXPECT_EQ(s.giResumeDepthListTop[1], 9);
}

TEST_F(IniFile, ErrorsNameTheFileTheLineAndTheProblem) {
  Settings l;
  l[5] = "3000000000";
  EXPECT_THAT(ErrorOf([&] { Read(l.Text()); }), HasSubstr(":6: the number \"3000000000\" is outside the 32-bit"));
  Settings s;
  s.values.resize(14 + 30);
  EXPECT_THAT(ErrorOf([&] { Read(s.Text()); }), HasSubstr("ends after 30 of the 42 stack lines"));
}

TEST_F(IniFile, RewriteKeepsCommentsFirstThenExactly56Values) {
  std::string text = "// first\r\n1\r\nx // dropped comment\r\n// second\r\n\r\n";
  const std::string path = dir.Write("Lorvan.ini", text);
  SharedState s;
  s.giVolume = -5;
  s.gsWinampPath = "mpv";
  s.gsAudioDir = "/music/Pop/";
  s.giListTop = 4;
  s.giListRow = 2;
  s.giFolderDepth = 1;
  s.giResumeDepthListTop[0] = 3;
  s.giResumeDepthListRow[20] = -1;
  s.gsLastResumeMp3AudioDir = "not written";
  ReadWriteIniFile(s, files, path, 0);
  const std::string bytes = dir.Read("Lorvan.ini");
  const auto lines = text::SplitLines(bytes);
  ASSERT_EQ(lines.size(), 2u + 56u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4),
            (std::vector<std::string>{"// first", "// second", "-5", "mpv"}));
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 12, lines.begin() + 17),
            (std::vector<std::string>{"/music/Pop/", "4", "2", "1", "3"}));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "-1\r\n");
  EXPECT_EQ(bytes.find("\n"), bytes.find("\r\n") + 1);
}

TEST_F(IniFile, RewriteCarriesMoreThanAHundredComments) {
  std::vector<std::string> comments;
  for (int i = 0; i < 150; ++i) comments.push_back("// note " + std::to_string(i));
  const std::string path = dir.Write("Lorvan.ini", Settings().Text(comments));
  SharedState s;
  ReadWriteIniFile(s, files, path, 0);
  const auto lines = text::SplitLines(dir.Read("Lorvan.ini"));
  ASSERT_EQ(lines.size(), 150u + 56u);
  EXPECT_EQ(lines[149], "// note 149");
}

TEST_F(IniFile, OtherModesDoNothing) {
  const std::string path = dir.Write("Lorvan.ini", "5\r\n");
  SharedState s;
  ReadWriteIniFile(s, files, path, 2);
  EXPECT_EQ(s.giVolume, 0);
  EXPECT_EQ(dir.Read("Lorvan.ini"), "5\r\n");
}

}  // namespace
}  // namespace lorvan::app
