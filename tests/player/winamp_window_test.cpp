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
  EXPECT_THAT(Events("shell"), ElementsAre(HasSubstr(kStartEvent)));
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 104"));
}

TEST_F(PlayerLinkTest, CallEnteringDuringAStartWaitsForItInsteadOfStartingAnother) {
  PlayerGone();
  std::vector<std::string> order;
  After(100, [&] {
    order.push_back("nested enters");
    winamp.AddToPlaylistNew("a much longer name that needs a new buffer.mp3");
    order.push_back("nested done");
  });
  After(1000, [&] { world.player.SetWindow(true); });

  winamp.AddToPlaylistNew("first.mp3");
  order.push_back("outer done");

  EXPECT_THAT(Events("shell"), SizeIs(1));
  EXPECT_THAT(order, ElementsAre("nested enters", "nested done", "outer done"));
  // The nested call's longer name does not replace the waiting one.
  EXPECT_THAT(Messages(), ElementsAre("send 74 0 copydata 100 47 a much longer name that needs a new buffer.mp3",
                                      "send 74 0 copydata 100 10 first.mp3"));
  EXPECT_THAT(world.player.Playlist(), ElementsAre("a much longer name that needs a new buffer.mp3", "first.mp3"));
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

// A player that ends at once, or a command line that cannot run: each try gives up at once,
// keys and timers go on, and the outage is told once however often it is tried.
TEST_F(PlayerLinkTest, PlayerThatCannotComeUpCostsNoWaitAndIsToldOncePerOutage) {
  struct Case {
    const char* name;
    std::function<void(sim::SimWorld&)> break_player;
    const char* box;
  } cases[] = {
      {"ends at once",
       [](sim::SimWorld& w) { w.processes.on_start = [&w](const std::string&, int32_t task) { w.processes.End(task); }; },
       "Winamp ended right after starting"},
      {"cannot run",
       [](sim::SimWorld& w) {
         w.processes.on_start = [](const std::string&, int32_t) { throw platform::StartError("no Winamp.exe"); };
       },
       "Winamp cannot be started: no Winamp.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir d;
    sim::SimWorld w(d.path());
    event::EventLoop l(w.clock, w.script);
    player::clsWinampControl link(w.platform, l);
    w.player.SetWindow(false);
    c.break_player(w);
    for (int attempt = 0; attempt < 3; ++attempt) {
      const int64_t before = l.NowMs();
      EXPECT_EQ(link.GetPlayStatus(), 0);
      EXPECT_LT(l.NowMs() - before, 1000) << "virtual time waited on try " << attempt;
      l.DoEvents();
    }
    const auto events = w.events.Take();
    size_t shells = 0, boxes = 0;
    for (const auto& e : events) {
      if (e.find("\"shell\"") != std::string::npos) ++shells;
      if (e.find("msgbox") != std::string::npos) {
        ++boxes;
        EXPECT_THAT(e, HasSubstr(c.box));
      }
    }
    EXPECT_EQ(boxes, 1u);
    EXPECT_EQ(shells, 3u) << "every try starts the player anew";

    // The player comes back: it is used, and a later outage is told again.
    w.processes.on_start = [&w](const std::string& cmd, int32_t task) { w.player.OnProgramStarted(cmd, task); };
    EXPECT_EQ(link.GetPlayStatus(), 0);
    EXPECT_TRUE(link.IsWinampLoaded());
    w.player.SetWindow(false);
    c.break_player(w);
    link.GetPlayStatus();
    EXPECT_THAT(w.events.Take().back(), HasSubstr(c.box));
  }
}

}  // namespace
}  // namespace lorvan::testing
