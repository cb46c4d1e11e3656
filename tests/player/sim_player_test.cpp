// The stand-in player: playback in virtual time, the equalizer memory and its window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "hosts/sim/sim_player.h"

namespace lorvan::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SimPlayerTest : public ::testing::Test {
 protected:
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

TEST_F(SimPlayerTest, AnswersToItsClassAndPlaysNothingWithAnEmptyPlaylist) {
  EXPECT_NE(player.FindWindowA("Winamp v1.x"), 0);
  EXPECT_EQ(player.FindWindowA("Other"), 0);
  Menu(40045);
  EXPECT_EQ(Ask(0, 104), 0);
  EXPECT_EQ(Ask(0, 105), -1);
}

TEST_F(SimPlayerTest, PlayCountsUpPauseFreezesStopResets) {
  player.SetLength(200);
  PlayFile("/m/a.mp3");
  EXPECT_EQ(player.CurrentFile(), "/m/a.mp3");
  EXPECT_EQ(Ask(0, 104), 1);
  EXPECT_EQ(Ask(0, 105), 0);
  clock.Advance(1500);
  EXPECT_EQ(Ask(0, 105), 1500);
  Menu(40046);
  clock.Advance(10000);
  EXPECT_EQ(Ask(0, 104), 3);
  EXPECT_EQ(Ask(0, 105), 1500);
  Menu(40046);  // pausing again keeps it paused
  EXPECT_EQ(Ask(0, 104), 3);
  Menu(40045);  // play continues
  clock.Advance(500);
  EXPECT_EQ(Ask(0, 105), 2000);
  EXPECT_EQ(Ask(0, 104), 1);
  Menu(40047);
  EXPECT_EQ(Ask(0, 104), 0);
  EXPECT_EQ(Ask(0, 105), -1);
  Menu(40045);  // play after stop starts the first file again
  EXPECT_EQ(Ask(0, 105), 0);
}

TEST_F(SimPlayerTest, TrackEndsByItselfAtItsLengthAndWithoutALengthPlaysOn) {
  player.SetLength(3);
  PlayFile("a.mp3");
  clock.Advance(2999);
  EXPECT_EQ(Ask(0, 104), 1);
  clock.Advance(1);
  EXPECT_EQ(Ask(0, 104), 0);
  EXPECT_EQ(Ask(0, 105), -1);
  player.SetLength(0);
  PlayFile("b.mp3");
  clock.Advance(3600000);
  EXPECT_EQ(Ask(0, 104), 1);
  EXPECT_EQ(Ask(0, 105), 3600000);
}

TEST_F(SimPlayerTest, SeekingAndJumping) {
  player.SetLength(60);
  EXPECT_EQ(Ask(10000, 106), -1);  // nothing loaded: nothing to jump in
  PlayFile("a.mp3");
  EXPECT_EQ(Ask(30000, 106), 0);
  EXPECT_EQ(Ask(0, 105), 30000);
  Menu(40060);
  EXPECT_EQ(Ask(0, 105), 35000);
  Menu(40061);
  Menu(40061);
  EXPECT_EQ(Ask(0, 105), 25000);
  Ask(2000, 106);
  Menu(40061);
  EXPECT_EQ(Ask(0, 105), 0);
  Ask(58000, 106);
  Menu(40060);  // past the end while playing: the track is over
  EXPECT_EQ(Ask(0, 104), 0);
  Menu(40060);  // stopped: seeking does nothing
  EXPECT_EQ(Ask(0, 105), -1);
}

TEST_F(SimPlayerTest, ScriptedStateTakesEffectAtOnce) {
  PlayFile("a.mp3");
  clock.Advance(1000);
  player.SetPosition(90000);
  clock.Advance(250);
  EXPECT_EQ(player.Position(), 90250);
  player.SetLength(90);  // already past the new length
  EXPECT_EQ(player.Status(), 0);
  player.SetStatus(7);
  EXPECT_EQ(Ask(0, 104), 7);
  PlayFile("b.mp3");
  player.EndTrack();
  EXPECT_EQ(Ask(0, 104), 0);
  EXPECT_EQ(Ask(0, 105), -1);
}

TEST_F(SimPlayerTest, EqualizerWriteGoesToThePositionLastRead) {
  Ask(5, 128);  // nothing read yet: the write goes nowhere
  EXPECT_EQ(player.EqBand(5), 31);
  Ask(2, 127);
  Ask(40, 128);
  Ask(41, 128);
  EXPECT_EQ(player.EqBand(2), 41);
  Ask(10, 127);
  Ask(7, 128);
  EXPECT_EQ(player.Preamp(), 7);
  Ask(11, 127);
  Ask(-1, 128);
  EXPECT_TRUE(player.EqOn());
  EXPECT_EQ(Ask(11, 127), 1);
  Ask(0, 128);
  EXPECT_FALSE(player.EqOn());
  Ask(12, 127);
  Ask(9, 128);
  for (int band = 0; band <= 9; ++band) EXPECT_EQ(player.EqBand(band), band == 2 ? 41 : 31);
}

TEST_F(SimPlayerTest, PlaylistRequests) {
  Add("a");
  Add("b");
  EXPECT_EQ(Ask(0, 124), 2);
  Ask(1, 121);
  EXPECT_EQ(Ask(0, 120), 1);
  Ask(0, 101);
  EXPECT_EQ(Ask(0, 124), 0);
  // A copy-data record of another kind adds nothing.
  player.SendCopyData(player.hwnd(), 0, platform::CopyDataStruct{99, 2, "x"});
  EXPECT_EQ(Ask(0, 124), 0);
}

TEST_F(SimPlayerTest, VanishedWindowReceivesNothingAndComesBackStopped) {
  PlayFile("a.mp3");
  const platform::Hwnd old = player.hwnd();
  player.TakeMessages();
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
