// Scenarios of what the navigation keys and the refresh tick send to the player.
#include <gtest/gtest.h>

#include <sstream>

#include "hosts/sim/sim_events.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

using sim::Json;

// The refresh tick's queries: status, position, length and bit rate.
bool IsTickQuery(const std::string& m) {
  return m == "send 1024 0 104" || m == "send 1024 0 105" || m == "send 1024 1 105" || m == "send 1024 1 126";
}

struct Dumps {
  std::vector<Json> states;
  // One block per `dump messages`, without the tick's queries.
  std::vector<std::vector<std::string>> messages;
};

// Runs the script on the folder; each dump is followed by a separator line so that empty
// message blocks count too.
Dumps RunDumps(const ProgramFolder& folder, const std::string& script) {
  folder.Write("separator", "--\n");
  std::string marked;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) {
    marked += line + "\n";
    if (line == "dump state" || line == "dump messages") marked += "dump file separator\n";
  }
  const auto r = RunScenario(folder.path(), marked);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  Dumps d;
  std::vector<std::string> block;
  for (const auto& line : r.OutLines()) {
    if (line != "--") {
      block.push_back(line);
      continue;
    }
    if (block.size() == 1 && block[0].rfind('{', 0) == 0) {
      d.states.push_back(Json::parse(block[0]));
    } else {
      std::vector<std::string> kept;
      for (const auto& m : block) {
        if (!IsTickQuery(m)) kept.push_back(m);
      }
      d.messages.push_back(kept);
    }
    block.clear();
  }
  return d;
}

std::vector<std::string> PlayFile(const std::string& path) {
  return {"send 1024 0 101", "send 74 0 copydata 100 " + std::to_string(path.size() + 1) + " " + path,
          "send 273 40045 0"};
}

std::string Selected(const Json& state) { return state["gsSelectedEntry"].get<std::string>(); }

TEST(NavigationMessages, PlayKeyOnAFileClearsCopiesAndPlays) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3", "b.mp3", "c.mp3"});
  const auto d = RunDumps(folder, "start\nkey N\ndump messages\nkey P\ndump state\ndump messages\n");
  ASSERT_EQ(d.states.size(), 1u);
  ASSERT_EQ(d.messages.size(), 2u);
  EXPECT_EQ(d.messages[1], PlayFile("Music/" + Selected(d.states[0])));
  EXPECT_EQ(d.states[0]["glPlayState"], 1);
}

TEST(NavigationMessages, NamesReachThePlayerByteForByte) {
  ProgramFolder folder;
  const std::string name = "Mot\xc3\xb6rhead \xe9 .cdaudio.mp3";  // UTF-8, a stray byte, ".cda" inside
  folder.AddMusic({name});
  const auto d = RunDumps(folder, "start\ndump messages\nkey P\ndump messages\n");
  EXPECT_EQ(d.messages[1], PlayFile("Music/" + name));
}

TEST(NavigationMessages, TrackEndAdvancesOnTheNextTickOnlyOnce) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3", "b.mp3", "c.mp3"});
  const auto d = RunDumps(folder,
                          "start\nkey P\nwait 100\ndump messages\nplayer end\nwait 30\ndump state\ndump messages\n"
                          "wait 500\ndump state\ndump messages\n");
  ASSERT_EQ(d.states.size(), 2u);
  EXPECT_EQ(d.states[0]["giSelectedEntryNr"], 2);
  EXPECT_EQ(d.messages[1], PlayFile("Music/" + Selected(d.states[0])));
  EXPECT_EQ(d.states[1]["giSelectedEntryNr"], 2);  // the new track plays: no further advance
  EXPECT_TRUE(d.messages[2].empty());
}

TEST(NavigationMessages, HelpScreenHoldsTheAdvanceBackUntilItCloses) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3", "b.mp3"});
  const auto d = RunDumps(folder,
                          "start\nkey P\nkey H\nwait 100\ndump messages\nplayer end\nwait 500\ndump state\n"
                          "dump messages\nkey H\nkey H\nkey H\nwait 30\ndump state\ndump messages\n");
  ASSERT_EQ(d.states.size(), 2u);
  EXPECT_EQ(d.states[0]["glScreenMode"], 3);
  EXPECT_EQ(d.states[0]["giSelectedEntryNr"], 1);
  EXPECT_TRUE(d.messages[1].empty());
  EXPECT_EQ(d.states[1]["glScreenMode"], 1);
  EXPECT_EQ(d.states[1]["giSelectedEntryNr"], 2);
  EXPECT_EQ(d.messages[2], PlayFile("Music/" + Selected(d.states[1])));
}

TEST(NavigationMessages, UserStopIsNoTrackEnd) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3", "b.mp3"});
  const auto d = RunDumps(folder, "start\nkey P\nwait 100\nkey S\nwait 500\ndump state\ndump messages\n");
  EXPECT_EQ(d.states[0]["giSelectedEntryNr"], 1);
  EXPECT_EQ(d.messages[0].back(), "send 273 40047 0");
}

TEST(NavigationMessages, PauseAndSeekKeysOnEveryScreen) {
  ProgramFolder folder;
  folder.AddMusic({"a.mp3"});
  const auto d = RunDumps(folder,
                          "start\nkey A\nkey P\ndump messages\nkey A\nkey A\nkey <\nkey >\nkey E\nkey <\nkey H\nkey >\n"
                          "key A\ndump messages\ndump state\n");
  EXPECT_EQ(d.messages[1],
            (std::vector<std::string>{"send 273 40046 0", "send 273 40045 0", "send 273 40061 0", "send 273 40060 0",
                                      "send 273 40061 0", "send 273 40060 0", "send 273 40046 0"}));
  EXPECT_EQ(d.states[0]["glPlayState"], 3);
}

TEST(NavigationMessages, DigitsWhilePlayingOpenTheEntry) {
  ProgramFolder folder;
  std::vector<std::string> music;
  for (int i = 10; i <= 24; ++i) music.push_back("t" + std::to_string(i) + ".mp3");
  folder.AddMusic(music);
  const auto d = RunDumps(folder, "start\nkey P\nwait 100\ndump messages\nkey 1\nwait 300\nkey 2\nwait 900\n"
                                  "dump state\ndump messages\n");
  EXPECT_EQ(d.states[0]["giSelectedEntryNr"], 12);
  EXPECT_EQ(d.messages[1], PlayFile("Music/" + Selected(d.states[0])));
}

TEST(NavigationMessages, FolderAnnouncementsPlayWhereTheCursorLands) {
  ProgramFolder folder;
  folder.AddMusic({"Rock/_dirname.talk", "Rock/Queen/_dirname.talk", "Rock/Queen/x.mp3"});
  const auto d = RunDumps(folder,
                          "start\ndump messages\nkey P\ndump messages\nkey P\ndump messages\nkey S\ndump messages\n"
                          "key S\ndump messages\nkey N\ndump messages\nkey 1\nwait 1100\ndump messages\n");
  const auto rock = PlayFile("Music/Rock/_dirname.talk");
  const auto queen = PlayFile("Music/Rock/Queen/_dirname.talk");
  ASSERT_EQ(d.messages.size(), 7u);
  // Start-up lists the root with the cursor on Rock, before it sets up equalizer and volume.
  ASSERT_GE(d.messages[0].size(), 3u);
  EXPECT_EQ(std::vector<std::string>(d.messages[0].begin(), d.messages[0].begin() + 3), rock);
  EXPECT_EQ(d.messages[1], queen);                             // into Rock: the cursor on Queen
  EXPECT_TRUE(d.messages[2].empty());                          // into Queen: a file
  auto stop_then = [](std::vector<std::string> talk) {
    talk.insert(talk.begin(), "send 273 40047 0");
    return talk;
  };
  EXPECT_EQ(d.messages[3], stop_then(queen));                  // back up: on Queen again
  EXPECT_EQ(d.messages[4], stop_then(rock));
  EXPECT_EQ(d.messages[5], rock);                              // one entry: the cursor stays
  EXPECT_EQ(d.messages[6], rock);                              // the jump announces once
}

TEST(NavigationMessages, ResumeListsTheStoredFolderAndJumpsToThePosition) {
  ProgramFolder folder;
  folder.AddMusic({"Rock/a.mp3", "Rock/b.mp3", "Rock/c.mp3", "Rock/d.mp3", "Rock/e.mp3"});
  const auto d = RunDumps(folder,
                          "start\nkey P\nkey N\nkey N\nkey N\nkey P\nwait 1000\nplayer pos 83000\nkey C\ndump state\n"
                          "key S\nkey S\nkey N\nwait 100\ndump messages\nkey R\ndump state\ndump messages\n");
  ASSERT_EQ(d.states.size(), 2u);
  EXPECT_EQ(d.states[0]["glLastResumeMp3PlayPos"], 83000);
  EXPECT_EQ(d.states[0]["gsLastResumeMp3AudioDir"], "Music/Rock/");
  EXPECT_EQ(d.states[0]["giSelectedEntryNr"], 4);
  const Json& resumed = d.states[1];
  EXPECT_EQ(resumed["gsAudioDir"], "Music/Rock/");
  EXPECT_EQ(resumed["gsSelectedEntry"], d.states[0]["gsSelectedEntry"]);
  EXPECT_EQ(resumed["giListRow"], 3);
  EXPECT_EQ(resumed["giFolderDepth"], 1);
  EXPECT_EQ(resumed["glPlayState"], 1);
  auto want = PlayFile("Music/Rock/" + Selected(resumed));
  want.push_back("send 1024 0 0");  // the version gate of the jump
  want.push_back("send 1024 83000 106");
  EXPECT_EQ(d.messages[1], want);
}

struct TickCase {
  int32_t length_s, pos_ms;
  std::string total_min, total_sec, cur_min, cur_sec;
  int progress;
};

TEST(NavigationMessages, TickShowsTheTrackTimesAndProgress) {
  const TickCase cases[] = {
      {122, 61000, "02", "02", "01", "01", 50},  // 49.5
      {198, 1000, "03", "18", "00", "01", 0},    // 0.5
      {120, 30000, "02", "00", "00", "30", 25},  // 24.75
      {0, 125400, "00", "00", "02", "05", 0},    // no length
  };
  ProgramFolder folder;
  folder.AddMusic({"a.mp3"});
  for (const auto& c : cases) {
    const auto d = RunDumps(folder, "player bitrate 192\nstart\nkey P\nplayer length " + std::to_string(c.length_s) +
                                        "\nplayer pos " + std::to_string(c.pos_ms) + "\nwait 30\ndump state\n" +
                                        "key A\nwait 5000\ndump state\n");
    ASSERT_EQ(d.states.size(), 2u);
    for (const Json& s : d.states) {
      EXPECT_EQ(s["txtTotalMinutes"], c.total_min);
      EXPECT_EQ(s["txtTotalSeconds"], c.total_sec);
      EXPECT_EQ(s["txtCurMinutes"], c.cur_min);
      EXPECT_EQ(s["txtCurSeconds"], c.cur_sec);
      EXPECT_EQ(s["giPlayProgress"], c.progress) << c.pos_ms << "/" << c.length_s;
    }
    EXPECT_EQ(d.states[0]["txtBitrate"], "192");
    EXPECT_EQ(d.states[1]["txtBitrate"], "");  // paused: times frozen, no bit rate
  }
}

}  // namespace
}  // namespace lorvan::testing
