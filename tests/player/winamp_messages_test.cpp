// What each operation of the player link sends, and what it makes of the answers.
#include <functional>

#include "player_fixture.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using Player = player::clsWinampControl;

// An operation without arguments whose answer, if any, is not the point.
template <auto operation>
int64_t Call(Player& w) {
  (w.*operation)();
  return 0;
}

// The messages of the player's documented interface: requests go as WM_USER (1024) with the
// request's number in lParam and its argument in wParam, menu commands as WM_COMMAND (273)
// with the command's number in wParam. A version-gated operation asks the version (0) first;
// from its lowest version on it goes out, below it only the refusal box is shown.
TEST_F(PlayerLinkTest, OperationsSendTheDocumentedMessagesAndReturnTheAnswer) {
  const struct {
    const char* name;
    std::function<int64_t(Player&)> call;
    std::vector<std::string> sent;
    int64_t answer;
    int32_t lowest = 0;
    const char* refusal = "";
  } cases[] = {
      {"GetPlayStatus", [](Player& w) { return w.GetPlayStatus(); }, {"send 1024 0 104"}, 3},
      {"GetCurrentPos", [](Player& w) { return w.GetCurrentPos(); }, {"send 1024 0 105"}, 4200},
      {"GetCurrentSongLength", [](Player& w) { return w.GetCurrentSongLength(); }, {"send 1024 1 105"}, 215},
      {"GetSamplerate", [](Player& w) { return w.GetSamplerate(); }, {"send 1024 0 126"}, 44},
      {"GetBitrate", [](Player& w) { return w.GetBitrate(); }, {"send 1024 1 126"}, 192},
      {"GetEqualizerValue", [](Player& w) { return w.GetEqualizerValue(4); }, {"send 1024 4 127"}, 50},
      {"GetPreAmpValue", [](Player& w) { return w.GetPreAmpValue(); }, {"send 1024 10 127"}, 12},
      {"GetEqEnabled", [](Player& w) { return w.GetEqEnabled(); }, {"send 1024 11 127"}, 1},
      {"SetPreAmpValue", [](Player& w) { w.SetPreAmpValue(40); return 0; }, {"send 1024 10 127", "send 1024 40 128"}, 0},
      {"JumpToTime", [](Player& w) { return w.JumpToTime(61000); }, {"send 1024 0 0", "send 1024 61000 106"}, 0,
       5807, "JumpToTime is only available in Winamp v1.60 and above."},
      {"WritePlayList", [](Player& w) { return w.WritePlayList(); }, {"send 1024 0 0", "send 1024 0 120"}, 0,
       5812, "WritePlayList is only available in Winamp v1.666 and above."},
      {"GetPlayListLength", [](Player& w) { return w.GetPlayListLength(); }, {"send 1024 0 0", "send 1024 0 124"}, 3,
       8192, "GetPlayListLength is only available in Winamp v2.0 and above."},
      {"SetVolume", [](Player& w) { int16_t v = 100; return w.SetVolume(v); }, {"send 1024 0 0", "send 1024 100 122"},
       100, 8192, "SetVolume is only available in Winamp v2.0 and above."},
      {"SetPanning", [](Player& w) { int16_t v = 5; w.SetPanning(v); return 0; }, {"send 1024 0 0", "send 1024 5 123"},
       0, 8192, "SetPanning is only available in Winamp v2.0 and above."},
      {"SetPlayListPos", [](Player& w) { w.SetPlayListPos(2); return 0; }, {"send 1024 0 0", "send 1024 2 121"}, 0,
       8192, "SetPlayListPos is only available in Winamp v2.0 and above."},
      {"PreviousSong", Call<&Player::PreviousSong>, {"send 1024 0 0", "send 273 40198 0"}, 0,
       5812, "PreviousSong command is only available in Winamp v1.666 and above."},
      {"ClearPlaylist", Call<&Player::ClearPlaylist>, {"send 1024 0 101"}, 0},
      {"PlaySong", Call<&Player::PlaySong>, {"send 273 40045 0"}, 0},
      {"PauseSong", Call<&Player::PauseSong>, {"send 273 40046 0"}, 0},
      {"StopSong", Call<&Player::StopSong>, {"send 273 40047 0"}, 0},
      {"FastForward", Call<&Player::FastForward>, {"send 273 40060 0"}, 0},
      {"Rewind", Call<&Player::Rewind>, {"send 273 40061 0"}, 0},
      {"IncreaseVolume", Call<&Player::IncreaseVolume>, {"send 273 40058 0"}, 0},
      {"DecreaseVolume", Call<&Player::DecreaseVolume>, {"send 273 40059 0"}, 0},
      {"ToggleEQWindow", Call<&Player::ToggleEQWindow>, {"send 273 40036 0"}, 0},
      {"TogglePlayList", Call<&Player::TogglePlayList>, {"send 273 40040 0"}, 0},
      {"ShowLoadFile", Call<&Player::ShowLoadFile>, {"send 273 40029 0"}, 0},
      {"ShowOptions", Call<&Player::ShowOptions>, {"send 273 40012 0"}, 0},
      {"ToggleAlwaysOnTop", Call<&Player::ToggleAlwaysOnTop>, {"send 273 40019 0"}, 0},
      {"ShowAbout", Call<&Player::ShowAbout>, {"send 273 40041 0"}, 0},
  };
  sim::SimPlayer& p = world.player;
  for (const char* f : {"a.mp3", "b.mp3", "c.mp3"}) winamp.AddToPlaylistNew(f);
  p.SetStatus(3);  // paused, so that a jump is taken
  p.SetPosition(4200);
  p.SetLength(215);
  p.SetSamplerate(44);
  p.SetBitrate(192);
  p.SetEqBand(4, 50);
  p.SetPreamp(12);
  p.SetEqOn(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Messages();
    if (c.lowest != 0) {
      p.SetVersion(c.lowest - 1);
      EXPECT_EQ(c.call(winamp), 0);
      EXPECT_THAT(Messages(), ElementsAre("send 1024 0 0"));
      EXPECT_THAT(TakeEvents(), ElementsAre(Box(c.refusal)));
      p.SetVersion(c.lowest);
    }
    EXPECT_EQ(c.call(winamp), c.answer);
    EXPECT_THAT(Messages(), ElementsAreArray(c.sent));
    EXPECT_THAT(TakeEvents(), IsEmpty());
  }
  // The raw version number is compared, not the text: a negative answer reads "F.FFFFFF".
  p.SetVersion(-1);
  EXPECT_EQ(winamp.JumpToTime(0), 0);
  EXPECT_THAT(TakeEvents(), ElementsAre(Box(cases[9].refusal)));
}

// The rows of the table-driven tests below are in tables/link.json.
TEST_F(PlayerLinkTest, PlayStatusOutsideZeroToThreeBecomesTwo) {
  for (const auto& r : Table("player/tables/link.json", "play status outside 0 to 3 becomes 2: answer, status")) {
    world.player.SetStatus(r[0]);
    EXPECT_EQ(winamp.GetPlayStatus(), r[1]) << r;
  }
}

TEST_F(PlayerLinkTest, PressButtonAddsButtonAndShiftToTheBase) {
  for (const auto& r : Table("player/tables/link.json",
                             "press button adds button and shift to 40044, in 32 bits: button, shift, command")) {
    winamp.PressButton(r[0], r[1]);
    EXPECT_THAT(Messages(), ElementsAre("send 273 " + r[2].get<std::string>() + " 0")) << r;
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

// Volume and panning are clamped in the caller's variable, also when the player's version
// then refuses them; panning to the left is sent above 127.
TEST_F(PlayerLinkTest, SetVolumeAndSetPanningClampTheCallersVariable) {
  for (int32_t version : {8192, 5000}) {
    world.player.SetVersion(version);
    for (const auto& r : Table("player/tables/link.json", "volume and panning: what, value, sent")) {
      SCOPED_TRACE(::testing::Message() << r << ", version " << version);
      const bool volume = r[0] == "volume";
      const int16_t sent = r[2];
      int16_t value = r[1];
      if (volume) {
        EXPECT_EQ(winamp.SetVolume(value), version == 8192 ? sent : 0);
      } else {
        winamp.SetPanning(value);
      }
      EXPECT_EQ(value, sent);
      std::vector<std::string> messages{"send 1024 0 0"};
      if (version == 8192) messages.push_back("send 1024 " + std::to_string(sent) + (volume ? " 122" : " 123"));
      EXPECT_THAT(Messages(), ElementsAreArray(messages));
    }
  }
  TakeEvents();
}

TEST_F(PlayerLinkTest, EqualizerWritesReadTheirPositionFirstAndOutsideTheRangeSendNothing) {
  const std::pair<int32_t, int32_t> rejected[] = {{10, 29}, {-1, 29}, {3, 64}, {3, -1}, {INT32_MIN, 0}};
  for (const auto& [band, value] : rejected) winamp.SetEqualizerValue(band, value);
  winamp.SetPreAmpValue(64);
  winamp.SetPreAmpValue(-1);
  EXPECT_EQ(winamp.GetEqualizerValue(-1), -1);
  EXPECT_EQ(winamp.GetEqualizerValue(10), -1);
  EXPECT_THAT(TakeEvents(), IsEmpty());
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

}  // namespace
}  // namespace lorvan::testing
