// The stand-in player: playback in virtual time, the equalizer memory and its window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "hosts/sim/sim_player.h"

namespace lorvan::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A stand-in player on its own clock, and the ways the link talks to it.
struct Stand {
  SimClock clock;
  SimPlayer player{clock};

  int32_t Ask(int32_t wparam, int32_t lparam) { return player.SendMessageA(player.hwnd(), 1024, wparam, lparam); }
  void Menu(int32_t command) { player.SendMessageA(player.hwnd(), 273, command, 0); }
  void Add(const std::string& file) {
    player.SendCopyData(player.hwnd(), 0, platform::CopyDataStruct{100, static_cast<uint32_t>(file.size() + 1), file.c_str()});
  }
  void PlayFile(const std::string& file) {
    Ask(0, 101);
    Add(file);
    Menu(40045);
  }
};

class SimPlayerTest : public ::testing::Test, protected Stand {};

// Runs the steps of scripts/sim_player.txt (its header says what each does), one fresh player
// per "==" section.
TEST(SimPlayerScript, AnswersAsTheScriptExpects) {
  std::ifstream in(LORVAN_DATA_DIR "/../tests/player/scripts/sim_player.txt");
  ASSERT_TRUE(in);
  std::unique_ptr<Stand> t;
  std::string section;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(::testing::Message() << "sim_player.txt:" << number << " (" << section << ")");
    std::istringstream words(line);
    std::string step, arg;
    words >> step;
    const auto number_after = [&] {
      int64_t v = 0;
      words >> v;
      return v;
    };
    if (step == "==") {
      section = line.substr(3);
      t = std::make_unique<Stand>();
      continue;
    }
    ASSERT_TRUE(t) << "a step before the first section";
    SimPlayer& p = t->player;
    if (step == "play" || step == "add") {
      words >> arg;
      step == "play" ? t->PlayFile(arg) : t->Add(arg);
    } else if (step == "other-record") {
      p.SendCopyData(p.hwnd(), 0, platform::CopyDataStruct{99, 2, "x"});
    } else if (step == "ask") {
      const int32_t w = static_cast<int32_t>(number_after()), l = static_cast<int32_t>(number_after());
      const int32_t answer = t->Ask(w, l);
      if (words >> arg) {
        EXPECT_EQ(answer, number_after());
      }
    } else if (step == "menu") {
      t->Menu(static_cast<int32_t>(number_after()));
    } else if (step == "advance") {
      t->clock.Advance(number_after());
    } else if (step == "length") {
      p.SetLength(static_cast<int32_t>(number_after()));
    } else if (step == "position") {
      p.SetPosition(static_cast<int32_t>(number_after()));
    } else if (step == "status") {
      p.SetStatus(static_cast<int32_t>(number_after()));
    } else if (step == "end") {
      p.EndTrack();
    } else if (step == "is") {
      words >> arg;
      const int band = arg == "band" ? static_cast<int>(number_after()) : 0;
      std::string equals, value;
      words >> equals >> value;
      const std::map<std::string, std::function<std::string()>> held = {
          {"position", [&] { return std::to_string(p.Position()); }},
          {"status", [&] { return std::to_string(p.Status()); }},
          {"preamp", [&] { return std::to_string(p.Preamp()); }},
          {"eqon", [&] { return std::to_string(p.EqOn() ? 1 : 0); }},
          {"file", [&] { return p.CurrentFile(); }},
          {"band", [&] { return std::to_string(p.EqBand(band)); }}};
      ASSERT_TRUE(held.count(arg)) << "unknown: " << line;
      EXPECT_EQ(held.at(arg)(), value);
    } else {
      ADD_FAILURE() << "unknown step: " << line;
    }
  }
  EXPECT_TRUE(t) << "no section";
}

TEST_F(SimPlayerTest, VanishedWindowReceivesNothingAndComesBackStopped) {
  PlayFile("a.mp3");
  const platform::Hwnd old = player.hwnd();
  player.TakeMessages();
  EXPECT_EQ(player.FindWindowA("Other"), 0);
  EXPECT_EQ(player.FindWindowA("Winamp v1.x"), old);
  player.SetWindow(false);
  EXPECT_EQ(player.FindWindowA("Winamp v1.x"), 0);
  EXPECT_EQ(player.SendMessageA(old, 1024, 0, 0), 0);
  EXPECT_FALSE(player.PostMessageA(old, 1024, 65, 103));
  EXPECT_EQ(player.SendMessageA(0, 1024, 0, 0), 0);
  EXPECT_THAT(player.TakeMessages(), IsEmpty());

  player.OnProgramStarted("C:\\Tools\\Hardstop.exe", 7);
  EXPECT_FALSE(player.WindowPresent());
  player.autostart = false;
  player.OnProgramStarted("Winamp.exe", 8);
  EXPECT_FALSE(player.WindowPresent());
  player.autostart = true;
  player.OnProgramStarted("Winamp.exe", 9);
  EXPECT_EQ(player.task_id(), 9);
  ASSERT_TRUE(player.WindowPresent());
  EXPECT_NE(player.hwnd(), old);
  EXPECT_EQ(player.SendMessageA(old, 1024, 0, 0), 0);
  EXPECT_EQ(Ask(0, 104), 0);
  EXPECT_EQ(Ask(0, 124), 0);
  EXPECT_THAT(player.TakeMessages(), ElementsAre("send 1024 0 104", "send 1024 0 124"));
}

}  // namespace
}  // namespace lorvan::sim
