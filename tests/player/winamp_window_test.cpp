// Finding the player's window, starting the player when it is missing, and the wait for it.
#include "player_fixture.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr const char* kStartEvent = R"({"event":"shell","command":"Winamp.exe","style":1,"task":)";

TEST_F(PlayerLinkTest, RunningPlayerIsUsedWithoutStartingAnotherAndIsWinampLoadedOnlyLooks) {
  const platform::Hwnd h = world.player.hwnd();
  EXPECT_TRUE(winamp.IsWinampLoaded());
  EXPECT_EQ(winamp.GetWinampHwnd(), h);
  winamp.PlaySong();
  EXPECT_EQ(loop.NowMs(), 0);
  world.player.SetWindow(false);
  EXPECT_FALSE(winamp.IsWinampLoaded());
  EXPECT_THAT(Events("shell"), IsEmpty());
}

TEST_F(PlayerLinkTest, MissingPlayerIsStartedAndFoundUnderItsNewHandle) {
  const platform::Hwnd old = world.player.hwnd();
  world.player.SetWindow(false);
  winamp.PlaySong();  // lost: the playlist went with the old player
  const auto shells = Events("shell");
  ASSERT_THAT(shells, SizeIs(1));
  EXPECT_THAT(shells[0], HasSubstr(kStartEvent));
  EXPECT_NE(world.player.hwnd(), 0);
  EXPECT_NE(world.player.hwnd(), old);
  EXPECT_THAT(Messages(), ElementsAre("send 273 40045 0"));

  // Gone again: the next operation starts it again and talks to the third window.
  const platform::Hwnd second = world.player.hwnd();
  world.player.SetWindow(false);
  EXPECT_EQ(winamp.GetWinampVersion(), "2.00");
  EXPECT_THAT(Events("shell"), SizeIs(2));
  EXPECT_NE(world.player.hwnd(), second);
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0"));
}

TEST_F(PlayerLinkTest, LookupWaitsForASlowPlayerWhileTheProgramRuns) {
  PlayerGone();
  int ticks = 0;
  event::Timer refresh("tmrRefresh", loop);
  refresh.SetInterval(20);
  refresh.on_timer = [&] { ++ticks; };
  refresh.SetEnabled(true);
  After(2500, [&] { world.player.SetWindow(true); });

  EXPECT_EQ(winamp.GetPlayStatus(), 0);
  EXPECT_EQ(loop.NowMs(), 2500);
  EXPECT_GE(ticks, 100);  // the program went on running while it waited
  EXPECT_THAT(Events("shell"), SizeIs(1));
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 104"));
}

TEST_F(PlayerLinkTest, CallEnteringDuringAStartWaitsForItInsteadOfStartingAnother) {
  PlayerGone();
  std::vector<std::string> order;
  After(100, [&] {
    order.push_back("nested enters");
    winamp.ClearPlaylist();
    order.push_back("nested done");
  });
  After(1000, [&] { world.player.SetWindow(true); });

  winamp.AddToPlaylistNew("first.mp3");
  order.push_back("outer done");

  EXPECT_THAT(Events("shell"), SizeIs(1));
  EXPECT_THAT(order, ElementsAre("nested enters", "nested done", "outer done"));
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 101", "send 74 0 copydata 100 10 first.mp3"));
  EXPECT_THAT(world.player.Playlist(), ElementsAre("first.mp3"));
}

TEST_F(PlayerLinkTest, NestedFileNameDoesNotReplaceTheWaitingOne) {
  PlayerGone();
  After(10, [&] { winamp.AddToPlaylistNew("a much longer name that needs a new buffer.mp3"); });
  After(50, [&] { world.player.SetWindow(true); });
  std::string name = "x.mp3";
  winamp.AddToPlaylistNew(name);
  EXPECT_THAT(world.player.Playlist(), ElementsAre("a much longer name that needs a new buffer.mp3", "x.mp3"));
}

TEST_F(PlayerLinkTest, StartThatNeverOpensAWindowGivesUpAfter30SecondsAndSaysSoOnce) {
  PlayerGone();
  int16_t level = 100;
  EXPECT_EQ(winamp.SetVolume(level), 0);
  EXPECT_EQ(loop.NowMs(), player::kPlayerWindowWaitMs);
  const auto events = TakeEvents();
  ASSERT_THAT(events, SizeIs(2));
  EXPECT_THAT(events[0], HasSubstr(kStartEvent));
  EXPECT_THAT(events[1], HasSubstr(R"({"event":"msgbox","title":"Winamp Control","text":"Winamp did not open)"));
  EXPECT_THAT(Messages(), IsEmpty());

  // The next operation tries again, and succeeds once the player comes up.
  world.player.autostart = true;
  EXPECT_EQ(winamp.SetVolume(level), 100);
  EXPECT_THAT(Events("shell"), SizeIs(1));
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", "send 1024 100 122"));
}

TEST_F(PlayerLinkTest, GivingUpWithCallsWaitingInsideEachOtherReportsOnce) {
  PlayerGone();
  int nested_calls = 0;
  int32_t nested_answer = -5;
  After(20, [&] {
    ++nested_calls;
    nested_answer = winamp.GetEqualizerValue(2);
  });

  winamp.SetEqualizerValue(2, 40);

  EXPECT_EQ(nested_answer, 0);
  EXPECT_EQ(nested_calls, 1);
  EXPECT_EQ(loop.NowMs(), player::kPlayerWindowWaitMs);
  EXPECT_THAT(Events("shell"), SizeIs(1));
  EXPECT_THAT(Events("msgbox"), SizeIs(1));
  EXPECT_THAT(Messages(), IsEmpty());
}

TEST_F(PlayerLinkTest, FailingStartReachesTheCaller) {
  world.player.SetWindow(false);
  world.processes.on_start = [](const std::string&, int32_t) { throw platform::StartError("no Winamp.exe"); };
  EXPECT_THROW(winamp.PlaySong(), platform::StartError);
  // Nothing is left waiting: the next call starts again.
  EXPECT_THROW(winamp.PlaySong(), platform::StartError);
}

}  // namespace
}  // namespace lorvan::testing
