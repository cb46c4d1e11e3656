// What each operation of the player link sends, and what it makes of the answers.
#include <functional>

#include "player_fixture.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Player = player::clsWinampControl;

struct RequestCase {
  const char* name;
  std::function<void(sim::SimPlayer&)> setup;
  std::function<int64_t(Player&)> call;
  std::vector<std::string> sent;
  int64_t answer;
};

TEST_F(PlayerLinkTest, RequestsCarryTheirNumberInLParamAndArgumentInWParam) {
  const auto none = [](sim::SimPlayer&) {};
  const RequestCase cases[] = {
      {"ClearPlaylist", none, [](Player& w) { w.ClearPlaylist(); return 0; }, {"send 1024 0 101"}, 0},
      {"GetPlayStatus", [](sim::SimPlayer& p) { p.SetStatus(3); }, [](Player& w) { return w.GetPlayStatus(); },
       {"send 1024 0 104"}, 3},
      {"GetCurrentPos", [](sim::SimPlayer& p) { p.SetPosition(4200); }, [](Player& w) { return w.GetCurrentPos(); },
       {"send 1024 0 105"}, 4200},
      {"GetCurrentSongLength", [](sim::SimPlayer& p) { p.SetLength(215); },
       [](Player& w) { return w.GetCurrentSongLength(); }, {"send 1024 1 105"}, 215},
      {"GetSamplerate", [](sim::SimPlayer& p) { p.SetSamplerate(44); }, [](Player& w) { return w.GetSamplerate(); },
       {"send 1024 0 126"}, 44},
      {"GetBitrate", [](sim::SimPlayer& p) { p.SetBitrate(192); }, [](Player& w) { return w.GetBitrate(); },
       {"send 1024 1 126"}, 192},
      {"JumpToTime", [](sim::SimPlayer& p) { p.SetStatus(3); p.SetPosition(0); },
       [](Player& w) { return w.JumpToTime(61000); }, {"send 1024 0 0", "send 1024 61000 106"}, 0},
      {"WritePlayList", none, [](Player& w) { return w.WritePlayList(); }, {"send 1024 0 0", "send 1024 0 120"}, 0},
      {"SetPlayListPos", none, [](Player& w) { w.SetPlayListPos(7); return 0; },
       {"send 1024 0 0", "send 1024 7 121"}, 0},
      {"GetPlayListLength", none, [](Player& w) { return w.GetPlayListLength(); },
       {"send 1024 0 0", "send 1024 0 124"}, 0},
      {"GetEqualizerValue", [](sim::SimPlayer& p) { p.SetEqBand(4, 50); },
       [](Player& w) { return w.GetEqualizerValue(4); }, {"send 1024 4 127"}, 50},
      {"GetPreAmpValue", [](sim::SimPlayer& p) { p.SetPreamp(12); }, [](Player& w) { return w.GetPreAmpValue(); },
       {"send 1024 10 127"}, 12},
      {"GetEqEnabled", [](sim::SimPlayer& p) { p.SetEqOn(true); }, [](Player& w) { return w.GetEqEnabled(); },
       {"send 1024 11 127"}, 1},
      {"SetPreAmpValue", none, [](Player& w) { w.SetPreAmpValue(40); return 0; },
       {"send 1024 10 127", "send 1024 40 128"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.setup(world.player);
    Messages();
    EXPECT_EQ(c.call(winamp), c.answer);
    EXPECT_THAT(Messages(), ElementsAreArray(c.sent));
  }
  EXPECT_THAT(Events("msgbox"), IsEmpty());
  EXPECT_THAT(Events("shell"), IsEmpty());
}

TEST_F(PlayerLinkTest, PlayStatusOutsideZeroToThreeBecomesTwo) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {1, 1}, {3, 3}, {4, 2}, {7, 2}, {-1, 2}, {INT32_MIN, 2}};
  for (const auto& [answer, status] : cases) {
    world.player.SetStatus(answer);
    EXPECT_EQ(winamp.GetPlayStatus(), status) << answer;
  }
}

TEST_F(PlayerLinkTest, MenuCommandsCarryTheirNumberInWParamAndZeroInLParam) {
  const std::pair<std::function<void(Player&)>, int> cases[] = {
      {[](Player& w) { w.PlaySong(); }, 40045},          {[](Player& w) { w.PauseSong(); }, 40046},
      {[](Player& w) { w.StopSong(); }, 40047},          {[](Player& w) { w.FastForward(); }, 40060},
      {[](Player& w) { w.Rewind(); }, 40061},            {[](Player& w) { w.IncreaseVolume(); }, 40058},
      {[](Player& w) { w.DecreaseVolume(); }, 40059},    {[](Player& w) { w.ToggleEQWindow(); }, 40036},
      {[](Player& w) { w.TogglePlayList(); }, 40040},    {[](Player& w) { w.ShowLoadFile(); }, 40029},
      {[](Player& w) { w.ShowOptions(); }, 40012},       {[](Player& w) { w.ToggleAlwaysOnTop(); }, 40019},
      {[](Player& w) { w.ShowAbout(); }, 40041},
  };
  for (const auto& [call, number] : cases) {
    call(winamp);
    EXPECT_THAT(Messages(), ElementsAre("send 273 " + std::to_string(number) + " 0"));
  }
  winamp.PreviousSong();
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", "send 273 40198 0"));
}

TEST_F(PlayerLinkTest, PressButtonAddsButtonAndShiftToTheBase) {
  const std::tuple<int32_t, int32_t, std::string> cases[] = {
      {1, 0, "40045"}, {2, 0, "40046"}, {3, 0, "40047"}, {0, 0, "40044"},
      {1, 100, "40145"}, {-40044, 0, "0"}, {INT32_MAX, 1, "-2147443604"},  // wraps in 32 bits
  };
  for (const auto& [button, shift, command] : cases) {
    winamp.PressButton(button, shift);
    EXPECT_THAT(Messages(), ElementsAre("send 273 " + command + " 0")) << button << " " << shift;
  }
}

TEST_F(PlayerLinkTest, AddToPlaylistNewSendsTheNameWithItsZeroByte) {
  winamp.AddToPlaylistNew("Air.mp3!");
  winamp.AddToPlaylistNew("/Music/Caf\xE9 Del Mar.mp3");
  winamp.AddToPlaylistNew("");
  EXPECT_THAT(Messages(), ElementsAre("send 74 0 copydata 100 9 Air.mp3!",
                                      "send 74 0 copydata 100 24 /Music/Caf\xE9 Del Mar.mp3",
                                      "send 74 0 copydata 100 1 "));
  EXPECT_THAT(world.player.Playlist(), ElementsAre("Air.mp3!", "/Music/Caf\xE9 Del Mar.mp3", ""));
}

TEST_F(PlayerLinkTest, SetWorkingFolderPostsOneMessagePerByteThenZero) {
  winamp.SetWorkingFolder("C:\xE9");
  EXPECT_THAT(Messages(), ElementsAre("post 1024 67 103", "post 1024 58 103", "post 1024 233 103", "post 1024 0 103"));
  EXPECT_EQ(world.player.WorkingFolder(), "C:\xE9");
  winamp.SetWorkingFolder("");
  EXPECT_THAT(Messages(), ElementsAre("post 1024 0 103"));
}

struct ClampCase {
  int16_t in;
  int16_t sent;
};

TEST_F(PlayerLinkTest, SetVolumeClampsTheCallersVariable) {
  const ClampCase cases[] = {{300, 255}, {256, 255}, {255, 255}, {128, 128}, {0, 0}, {-4, 0}, {-32768, 0}};
  for (const auto& c : cases) {
    int16_t level = c.in;
    EXPECT_EQ(winamp.SetVolume(level), c.sent) << c.in;
    EXPECT_EQ(level, c.sent) << c.in;
    EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", "send 1024 " + std::to_string(c.sent) + " 122"));
  }
  EXPECT_EQ(world.player.Volume(), 0);
  // Clamping happens before a refusing gate.
  world.player.SetVersion(5000);
  int16_t level = 300;
  EXPECT_EQ(winamp.SetVolume(level), 0);
  EXPECT_EQ(level, 255);
}

TEST_F(PlayerLinkTest, SetPanningClampsThenMovesTheLeftAbove127) {
  const ClampCase cases[] = {{-1, 254}, {-127, 128}, {-128, 128}, {-200, 128}, {0, 0},
                             {1, 1},    {127, 127},  {200, 127},  {32767, 127}};
  for (const auto& c : cases) {
    int16_t panning = c.in;
    winamp.SetPanning(panning);
    EXPECT_EQ(panning, c.sent) << c.in;
    EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", "send 1024 " + std::to_string(c.sent) + " 123"));
  }
  // Clamping happens before a refusing gate.
  world.player.SetVersion(5000);
  int16_t panning = -1;
  winamp.SetPanning(panning);
  EXPECT_EQ(panning, 254);
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0"));
}

TEST_F(PlayerLinkTest, EqualizerWritesOutsideTheRangeSendNothing) {
  const std::pair<int32_t, int32_t> rejected[] = {{10, 29}, {-1, 29}, {3, 64}, {3, -1}, {INT32_MIN, 0}};
  for (const auto& [band, value] : rejected) winamp.SetEqualizerValue(band, value);
  winamp.SetPreAmpValue(64);
  winamp.SetPreAmpValue(-1);
  EXPECT_EQ(winamp.GetEqualizerValue(-1), -1);
  EXPECT_EQ(winamp.GetEqualizerValue(10), -1);
  EXPECT_THAT(Messages(), IsEmpty());
  EXPECT_THAT(TakeEvents(), IsEmpty());
}

TEST_F(PlayerLinkTest, EqualizerWritesReadTheirPositionFirst) {
  winamp.SetEqualizerValue(3, 29);
  winamp.SetEqualizerValue(0, 0);
  winamp.SetEqualizerValue(9, 63);
  EXPECT_THAT(Messages(), ElementsAre("send 1024 3 127", "send 1024 29 128", "send 1024 0 127", "send 1024 0 128",
                                      "send 1024 9 127", "send 1024 63 128"));
}

TEST_F(PlayerLinkTest, ToggleEqEnabledWritesTheOppositeOfWhatItRead) {
  winamp.ToggleEqEnabled();
  EXPECT_THAT(Messages(), ElementsAre("send 1024 11 127", "send 1024 -1 128"));
  EXPECT_TRUE(world.player.EqOn());
  winamp.ToggleEqEnabled();
  EXPECT_THAT(Messages(), ElementsAre("send 1024 11 127", "send 1024 0 128"));
  EXPECT_FALSE(world.player.EqOn());
}

TEST_F(PlayerLinkTest, NothingIsCachedBetweenOperations) {
  winamp.GetPlayStatus();
  winamp.GetPlayStatus();
  world.player.SetVersion(5000);
  EXPECT_EQ(winamp.GetWinampVersion(), "1.38");
  world.player.SetVersion(5812);
  EXPECT_EQ(winamp.GetWinampVersion(), "1.666");
  EXPECT_THAT(Messages(), ElementsAre("send 1024 0 104", "send 1024 0 104", "send 1024 0 0", "send 1024 0 0"));
}

// One gated operation, its lowest accepted version number and its refusal text.
struct GateCase {
  const char* text;
  int32_t lowest;
  std::function<int64_t(Player&)> call;
  std::string own_message;
};

TEST_F(PlayerLinkTest, VersionGateAcceptsFromItsThresholdAndRefusesBelow) {
  const GateCase cases[] = {
      {"JumpToTime is only available in Winamp v1.60 and above.", 5807,
       [](Player& w) { return w.JumpToTime(1000); }, "send 1024 1000 106"},
      {"WritePlayList is only available in Winamp v1.666 and above.", 5812,
       [](Player& w) { return w.WritePlayList(); }, "send 1024 0 120"},
      {"PreviousSong command is only available in Winamp v1.666 and above.", 5812,
       [](Player& w) { w.PreviousSong(); return 0; }, "send 273 40198 0"},
      {"SetPlayListPos is only available in Winamp v2.0 and above.", 8192,
       [](Player& w) { w.SetPlayListPos(2); return 0; }, "send 1024 2 121"},
      {"SetVolume is only available in Winamp v2.0 and above.", 8192,
       [](Player& w) { int16_t v = 100; return w.SetVolume(v); }, "send 1024 100 122"},
      {"SetPanning is only available in Winamp v2.0 and above.", 8192,
       [](Player& w) { int16_t p = 5; w.SetPanning(p); return 0; }, "send 1024 5 123"},
      {"GetPlayListLength is only available in Winamp v2.0 and above.", 8192,
       [](Player& w) { return w.GetPlayListLength(); }, "send 1024 0 124"},
  };
  // A paused track lets the jump be taken; the playlist gives the length query an answer.
  for (const char* f : {"a.mp3", "b.mp3", "c.mp3"}) winamp.AddToPlaylistNew(f);
  world.player.SetStatus(3);
  world.player.SetPosition(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Messages();
    TakeEvents();
    world.player.SetVersion(c.lowest - 1);
    EXPECT_EQ(c.call(winamp), 0);
    EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0"));
    EXPECT_THAT(TakeEvents(), ElementsAre(Box(c.text)));

    world.player.SetVersion(c.lowest);
    c.call(winamp);
    EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0", c.own_message));
    EXPECT_THAT(TakeEvents(), IsEmpty());
  }
  world.player.SetVersion(8192);
  EXPECT_EQ(winamp.GetPlayListLength(), 3);
  int16_t v = 100;
  EXPECT_EQ(winamp.SetVolume(v), 100);
  // The raw number is compared, not the text: a negative answer reads "F.FFFFFF".
  world.player.SetVersion(-1);
  EXPECT_EQ(winamp.JumpToTime(0), 0);
  EXPECT_THAT(TakeEvents(), ElementsAre(Box(cases[0].text)));
}

}  // namespace
}  // namespace lorvan::testing
