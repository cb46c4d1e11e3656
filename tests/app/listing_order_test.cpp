// Folders list by name whatever order the disk keeps them in, so positions mean the same
// entries from one run to the next.
#include <random>

#include "app/ini_file.h"
#include "nav_fixture.h"
#include "navigation/resume.h"

namespace lorvan::testing {
namespace {

// The names given, made in a shuffled order.
std::vector<std::string> Shuffled(std::vector<std::string> names) {
  std::shuffle(names.begin(), names.end(), std::mt19937(7));
  return names;
}

TEST_F(NavTest, AFolderListsByNameIgnoringCaseWhateverOrderItsEntriesWereMadeIn) {
  std::vector<std::string> in_order = Numbered("", 12, " Track.mp3");
  for (const std::string name : {"Bonus Live.mp3", "bonus.mp3", "Extras", "zz top.mp3", "Äther.mp3", "Écho.mp3",
                                 "élan.mp3"}) {
    in_order.push_back(name);
  }
  std::vector<std::string> made = in_order;
  made[14] += "/";  // Extras is a folder
  made.push_back(".hidden.mp3");
  made.push_back("_dirname.talk");
  Start(Shuffled(made));
  EXPECT_EQ(Entries(), in_order);
}

TEST_F(NavTest, ABookmarkResumesOnTheSameFileAfterFilesWereAddedAtTheEndOfTheOrder) {
  std::vector<std::string> tree = Numbered("Album ", 8, "/");
  for (const auto& t : Numbered("Album 06/", 12, " Track.mp3")) tree.push_back(t);
  Start(Shuffled(tree));
  WalkTo("Album 06");
  f().cmdPlay_Click();
  WalkTo("10 Track.mp3");
  f().cmdPlay_Click();
  f().cmdStoreLastMp3_Click();
  // What the exit sequence does: bookmark and current state equal, then the file rewritten.
  navigation::HandleResumeData(s(), f().goWinamp(), navigation::kResumeRestore);
  app::ReadWriteIniFile(s(), f().platform.files, f().AppFile(app::kIniFileName), 0);

  folder().AddMusic(Shuffled({"Album 06/13 Track.mp3", "Album 06/Zugabe.mp3", "Album 09/", "Zz/"}));
  Restart();
  f().cmdResumeLastMp3_Click();
  EXPECT_EQ(s().gsSelectedEntry, "10 Track.mp3");
  EXPECT_EQ(s().glPlayState, app::kPlaying);
  ExpectWindowShown();
  f().cmdStop_Click();
  EXPECT_EQ(s().gsSelectedEntry, "Album 06");
  ExpectWindowShown();
}

}  // namespace
}  // namespace lorvan::testing
