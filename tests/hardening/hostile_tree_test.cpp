// Music trees made to hurt: ten thousand entries in one folder, names of 255 bytes and paths
// beyond the system's limit, a root that cannot be read (names that are no UTF-8, symbolic-link
// loops and folders that vanish are scenario files). The box neither
// crashes nor hangs, lists what can be listed, keeps the panel drawn, writes nothing but its
// settings file, and that file loads again after the way out.
#include <fcntl.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "hardening/hard_box.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;

using ::testing::IsEmpty;

// After the way out: nothing around the program changed but its settings file, and the
// program starts from that file again.
void ExpectCleanWayOut(HardBox& b) {
  EXPECT_FALSE(b.form().Running());
  EXPECT_THAT(b.SandboxChanges(), IsEmpty());
  const ScenarioResult next = RunScenario(b.dir(), "start\n");
  EXPECT_EQ(next.exit_status, 0) << next.err;
}

// The shared state can always be dumped as JSON, whatever bytes the names hold.
bool StateDumps(HardBox& b) {
  return nlohmann::json::accept(sim::JsonLine(sim::StateJson(b.form())));
}

TEST(HostileTree, TenThousandEntriesInOneFolder) {
  HardBox b;
  b.Write("Music/Big/first.mp3");
  const int fd = open((b.music() + "/Big").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  // Names of one file: making ten thousand files would cost seconds, and only names are listed.
  for (int i = 1; i < 10000; ++i) {
    ASSERT_EQ(linkat(fd, "first.mp3", fd, ("t" + std::to_string(i) + ".mp3").c_str(), 0), 0);
  }
  close(fd);
  b.PhotographSandbox();
  nlohmann::json entered, last, jumped;
  b.Probe("entered", [&] { entered = sim::StateJson(b.form()); });
  b.Probe("last", [&] { last = sim::StateJson(b.form()); });
  b.Probe("jumped", [&] {
    jumped = sim::StateJson(b.form());
    EXPECT_TRUE(b.BrowserOnPanel());
  });
  std::string playing;
  b.Probe("playing", [&] { playing = b.world().player.CurrentFile(); });
  ASSERT_EQ(b.Run("start\nkey P\nwait 100\nprobe entered\nkey V\nwait 100\nprobe last\n"
                  "key 9\nkey 9\nkey 9\nkey 9\nwait 1100\nprobe jumped\nkey P\nwait 100\nprobe playing\nkey T\n"),
            0)
      << b.err.str();
  EXPECT_EQ(entered["lstFileEntries"].size(), 10000u);
  EXPECT_EQ(entered["txtTotalFileNr"], "10000");
  EXPECT_EQ(last["giSelectedEntryNr"], 10000);
  EXPECT_EQ(last["giListTop"], 9995);
  EXPECT_EQ(last["giListRow"], 4);
  EXPECT_EQ(jumped["giSelectedEntryNr"], 9999);
  EXPECT_EQ(jumped["gsSelectedEntry"], entered["lstFileEntries"][9998]);
  EXPECT_EQ(playing, b.state().gsAudioDir + jumped["gsSelectedEntry"].get<std::string>());
  ExpectCleanWayOut(b);

  // The bookmark brings the cursor back to entry 9999.
  const ScenarioResult r = RunScenario(b.dir(), "start\nkey R\nwait 100\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.OutLines().at(0))["giSelectedEntryNr"], 9999);
}

TEST(HostileTree, NamesOf255BytesAndPathsBeyondTheSystemsLimit) {
  HardBox b;
  const std::string file = std::string(251, 'a') + ".mp3";
  std::string utf8;
  for (int i = 0; i < 125; ++i) utf8 += "\xC3\xA9";  // é
  utf8 += "x.mp3";
  const std::string folder(255, 'F');
  const std::string deep(255, 'D');
  ASSERT_EQ(file.size(), 255u);
  ASSERT_EQ(utf8.size(), 255u);
  b.Write("Music/" + file);
  b.Write("Music/" + utf8);
  b.Write("Music/" + folder + "/" + file);
  // Sixteen levels of 255-byte folders: the deepest ones lie beyond the path limit.
  ASSERT_EQ(MakeChain(b.music(), std::vector<std::string>(16, deep), "song.mp3"), 16);
  b.PhotographSandbox();

  std::vector<std::string> played;
  std::vector<int> depths;
  b.Probe("play", [&] {
    for (const auto& name : {file, utf8}) {
      ASSERT_TRUE(b.Select(name));
      b.form().KeyPress('P');
      played.push_back(b.world().player.CurrentFile());
      b.form().KeyPress('S');
    }
    ASSERT_TRUE(b.Select(folder));
    b.form().KeyPress('P');
    ASSERT_TRUE(b.Select(file));
    b.form().KeyPress('P');
    played.push_back(b.world().player.CurrentFile());
    b.form().KeyPress('S');
    ASSERT_EQ(b.state().gsAudioDir, "Music/");
  });
  b.Probe("descend", [&] {
    ASSERT_TRUE(b.Select(deep));
    for (int i = 0; i < 20; ++i) {
      b.form().KeyPress('P');
      depths.push_back(b.state().giFolderDepth);
    }
    EXPECT_TRUE(StateDumps(b));
  });
  b.Probe("panel", [&] { EXPECT_TRUE(b.BrowserOnPanel()); });
  ASSERT_EQ(b.Run("start\nwait 100\nprobe play\nprobe descend\nwait 200\nprobe panel\nkey T\n"), 0)
      << b.err.str();
  EXPECT_EQ(played, (std::vector<std::string>{"Music/" + file, "Music/" + utf8, "Music/" + folder + "/" + file}));
  // Entering stops where the path would pass the limit; the folder there is still listed.
  const int reached = depths.back();
  EXPECT_GE(reached, 12);
  EXPECT_LT(reached, 16);
  for (size_t i = 0; i < depths.size(); ++i) EXPECT_EQ(depths[i], std::min<int>(static_cast<int>(i) + 1, reached));
  EXPECT_EQ(b.form().lstFileEntries.lines, std::vector<std::string>{deep});
  ExpectCleanWayOut(b);

  // The bookmark, a folder path of some 4000 bytes, lists that folder again.
  const ScenarioResult r = RunScenario(b.dir(), "start\nkey R\nwait 100\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto state = nlohmann::json::parse(r.OutLines().at(0));
  EXPECT_EQ(state["giFolderDepth"], reached);
  EXPECT_EQ(state["lstFileEntries"], nlohmann::json::array({deep}));
}

TEST(HostileTree, AMusicRootThatCannotBeReadStartsWithAnEmptyBrowser) {
  // A music root that cannot be read: the start-up completes with an empty browser.
  HardBox root;
  root.Write("Music/a.mp3");
  root.world().files.folder_fault_injection = [](const std::string& folder) {
    return folder.find("/Music") == std::string::npos;
  };
  root.PhotographSandbox();
  root.Probe("panel", [&] { EXPECT_TRUE(root.BrowserOnPanel()); });
  ASSERT_EQ(root.Run("start\nwait 100\nkey P\nkey N\nkey S\nwait 100\nprobe panel\nkey T\n"), 0) << root.err.str();
  EXPECT_EQ(root.form().lstFileEntries.ListCount(), 0);
  ExpectCleanWayOut(root);
}

}  // namespace
}  // namespace lorvan::testing
