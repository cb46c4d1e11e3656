// Music trees made to hurt: ten thousand entries in one folder, names of 255 bytes and paths
// beyond the system's limit, folders that vanish or cannot be read (names that are no UTF-8
// and symbolic-link loops are scenario files). The box neither
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

using ::testing::HasSubstr;
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

// Removes a folder of the music tree the moment the program is about to list it.
void VanishWhenListed(HardBox& b, const std::string& name) {
  b.world().files.folder_fault_injection = [&b, name](const std::string& folder) {
    if (folder.find("/Music/" + name) != std::string::npos) RemoveTree(b.music() + "/" + name);
    return true;
  };
}

TEST(HostileTree, FoldersThatVanishBetweenListingAndOpening) {
  HardBox b;
  for (const char* f : {"Gone/a.mp3", "Flaky/b.mp3", "Here/c.mp3", "Here/d.mp3", "x.mp3"}) {
    b.Write(std::string("Music/") + f);
  }
  b.PhotographSandbox();
  std::vector<std::string> steps;
  const auto note = [&](const std::string& what) {
    std::string names;
    for (const auto& n : b.form().lstFileEntries.lines) names += n + ",";
    steps.push_back(what + ": " + b.state().gsAudioDir + " " + std::to_string(b.state().giFolderDepth) + " [" + names +
                    "]");
  };
  b.Probe("gone", [&] {
    ASSERT_TRUE(b.Select("Gone"));
    RemoveTree(b.music() + "/Gone");
    b.form().KeyPress('P');  // listed, but gone: nothing happens
    EXPECT_EQ(b.state().gsSelectedEntry, "Gone");
    EXPECT_EQ(b.state().gsAudioDir, "Music/");
    EXPECT_EQ(b.form().lstFileEntries.ListCount(), 4);
  });
  b.Probe("flaky", [&] {
    ASSERT_TRUE(b.Select("Flaky"));
    VanishWhenListed(b, "Flaky");
    b.form().KeyPress('P');  // it was a folder when looked at, and gone when listed
    b.world().files.folder_fault_injection = nullptr;
    note("entered the vanished folder");
    for (char k : {'N', 'V', 'P'}) b.form().KeyPress(k);
    note("keys in it");
  });
  b.Probe("panel", [&] { EXPECT_TRUE(b.BrowserOnPanel()); });
  b.Probe("up", [&] {
    b.form().KeyPress('S');
    note("back up");
  });
  b.Probe("here", [&] {
    ASSERT_TRUE(b.Select("Here"));
    b.form().KeyPress('P');
    RemoveTree(b.music() + "/Here");
    b.world().player.TakeMessages();
    b.form().KeyPress('N');
    b.form().KeyPress('P');  // the file went with its folder: nothing is played
    EXPECT_THAT(b.world().player.TakeMessages(), IsEmpty());
    note("inside a folder that went");
  });
  ASSERT_EQ(b.Run("start\nwait 100\nprobe gone\nprobe flaky\nwait 100\nprobe panel\nprobe up\nprobe here\n"
                  "wait 100\nprobe panel\nkey T\n"),
            0)
      << b.err.str();
  EXPECT_EQ(steps[0], "entered the vanished folder: Music/Flaky/ 1 []");
  EXPECT_EQ(steps[1], "keys in it: Music/Flaky/ 1 []");
  EXPECT_THAT(steps[2], HasSubstr("back up: Music/ 0 ["));
  EXPECT_THAT(steps[2], ::testing::Not(HasSubstr("Flaky")));
  EXPECT_THAT(steps[2], ::testing::Not(HasSubstr("Gone")));
  EXPECT_THAT(steps[3], HasSubstr("inside a folder that went: Music/Here/ 1 ["));

  // Only what the test removed is missing around the program.
  for (const auto& change : b.SandboxChanges()) {
    const bool removed = change.rfind("gone: box/Music/", 0) == 0 &&
                         (change.find("/Gone") != std::string::npos || change.find("/Flaky") != std::string::npos ||
                          change.find("/Here") != std::string::npos);
    EXPECT_TRUE(removed || change == "changed: box/Music") << change;
  }
  // The bookmark names the vanished folder: the next start resumes into an empty listing.
  const ScenarioResult r = RunScenario(b.dir(), "start\nkey R\nwait 100\ndump state\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const auto state = nlohmann::json::parse(r.OutLines().at(0));
  EXPECT_EQ(state["gsAudioDir"], "Music/Here/");
  EXPECT_EQ(state["lstFileEntries"], nlohmann::json::array());
  EXPECT_EQ(state["glPlayState"], 0);
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
