// A folder with more entries than the 16-bit positions can number.
#include <gtest/gtest.h>

#include "event/event_loop.h"
#include "hosts/sim/sim_world.h"
#include "navigation/browser.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

// A file system whose every folder holds 40,000 files, without writing them to disk.
class HugeFolders : public platform::FileSystem {
 public:
  char PathSeparator() const override { return '/'; }
  std::vector<std::string> ListFolder(const std::string&) override {
    std::vector<std::string> names;
    for (int i = 0; i < 40000; ++i) names.push_back("t" + std::to_string(i) + ".mp3");
    return names;
  }
  std::optional<uint32_t> GetAttr(const std::string&) override { return 0u; }
  std::optional<platform::FileStamp> Stat(const std::string&) override { return std::nullopt; }
  std::string ReadFile(const std::string& path) override { throw platform::FileError(path); }
  void ReplaceFile(const std::string& path, const std::string&) override { throw platform::FileError(path); }
  void RemoveFile(const std::string& path) override { throw platform::FileError(path); }
  void RenameFile(const std::string& from, const std::string&) override { throw platform::FileError(from); }
};

TEST(HugeFolder, ListsAsManyEntriesAsThePositionsCanNumber) {
  TempDir dir;
  sim::SimWorld world(dir.path());
  HugeFolders files;
  platform::Platform p = world.platform;
  platform::Platform with_huge{p.messages, p.processes, p.port,   p.clock, p.power,
                               p.drives,   files,       p.dialogs, p.app,  p.events};
  event::EventLoop loop(world.clock, world.script);
  player::clsWinampControl winamp(with_huge, loop);
  navigation::BrowserState state;
  navigation::ListBox entries("lstFileEntries"), preview("lstFilePreview");
  navigation::Browser b{state, entries, preview, files, winamp};
  state.glMediaSource = navigation::kSourceMp3;
  state.gsMp3RootDir = state.gsAudioDir = "Music/";
  navigation::ListFolder(b, "Music/", navigation::kFolderNone, navigation::kSilent);
  ASSERT_EQ(entries.ListCount(), navigation::kMaxEntries);
  navigation::UpdateListWindow(b, navigation::kCursorUp, navigation::kFolderNone, navigation::kSilent);
  EXPECT_EQ(state.giSelectedEntryNr, 32767);
  EXPECT_EQ(state.giListTop, 32762);
  EXPECT_EQ(state.gsSelectedEntry, "t32766.mp3");
  navigation::UpdateListWindow(b, navigation::kCursorDown, navigation::kFolderNone, navigation::kSilent);
  EXPECT_EQ(state.giSelectedEntryNr, 1);
}

}  // namespace
}  // namespace lorvan::testing
