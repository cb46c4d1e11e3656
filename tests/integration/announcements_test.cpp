// The announcement generator writes a spoken name into each folder that lacks one.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "audio_files.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

TEST(MakeAnnouncements, WritesMissingTalkFilesAndKeepsRecordedOnes) {
  if (FindProgram("espeak-ng").empty()) GTEST_SKIP() << "espeak-ng is not installed";
  TempDir dir;
  dir.Mkdir("Music/01 Rock/Queen");
  dir.Mkdir("Music/Jazz_Classics");
  dir.Write("Music/Jazz_Classics/_dirname.talk", "recorded by hand");
  const std::string cmd = std::string("bash ") + LORVAN_SOURCE_DIR + "/tools/make-announcements.sh " + dir.path() +
                          "/Music > " + dir.path() + "/out.txt 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << dir.Read("out.txt");
  EXPECT_EQ(dir.Read("out.txt"), "2 announcements written, 1 kept\n");
  const std::string talk = dir.Read("Music/01 Rock/_dirname.talk");
  EXPECT_EQ(talk.substr(0, 4), "RIFF") << "spoken as WAV";
  EXPECT_GT(talk.size(), 4000u);
  EXPECT_TRUE(Exists(dir.path() + "/Music/01 Rock/Queen/_dirname.talk"));
  EXPECT_FALSE(Exists(dir.path() + "/Music/_dirname.talk")) << "the root is never announced";
  EXPECT_EQ(dir.Read("Music/Jazz_Classics/_dirname.talk"), "recorded by hand");
}

}  // namespace
}  // namespace lorvan::testing
