// The player as the outside world makes it: killed while it plays, answering nonsense,
// reporting no version, or losing its window between the lookup and the message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "hardening/hard_box.h"

namespace lorvan::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Three files; which one the listing shows first is the file system's choice.
void ThreeFiles(HardBox& b) {
  for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) b.Write(std::string("Music/") + name);
  b.Probe("idle", [] {});
}

std::string Lines(const std::string& line, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += line + "\n";
  return s;
}

std::string EntryPath(HardBox& b, int number) {
  return b.state().gsAudioDir + b.form().lstFileEntries.lines.at(number - 1);
}

int Shells(const std::vector<nlohmann::json>& events) {
  int n = 0;
  for (const auto& e : events) n += e["event"] == "shell" && e["command"] == "Winamp.exe";
  return n;
}

TEST(PlayerKilled, WhilePlayingIsStartedAgainByTheNextQueryAndTheBoxPlaysOn) {
  struct Case {
    const char* name;
    const char* script;  // after "start", "key P" and 1 s of playing
  } cases[] = {
      // The refresh tick's next query starts the player; it has forgotten the track, which
      // looks like the track's end, so the next entry plays.
      {"while playing", "player window 0\nwait 100\n"},
      {"while paused, then continued", "key A\nwait 100\nplayer window 0\nwait 100\nkey A\nwait 100\n"},
      // A slow start: the tick waits for the window while keys go on being handled.
      {"slow to come back", "player autostart 0\nplayer window 0\nwait 3000\nkey N\nwait 2000\nplayer window 1\n"
                            "wait 100\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    ThreeFiles(b);
    std::string first;
    b.Probe("first", [&] {
      first = EntryPath(b, 1);
      b.Events();
    });
    ASSERT_EQ(b.Run(std::string("start\nkey P\nwait 1000\nprobe first\n") + c.script + "wait 2000\nprobe idle\n"), 0)
        << b.err.str();
    const auto events = b.Events();
    EXPECT_EQ(Shells(events), 1) << "one new player, started once";
    sim::SimPlayer& p = b.world().player;
    EXPECT_TRUE(p.WindowPresent());
    EXPECT_EQ(p.Status(), 1);
    EXPECT_GE(p.Position(), 2000) << "it plays on";
    EXPECT_NE(p.CurrentFile(), first);
    EXPECT_EQ(p.CurrentFile(), EntryPath(b, b.state().giSelectedEntryNr));
    EXPECT_EQ(b.state().glPlayState, app::kPlaying);
    EXPECT_TRUE(b.BrowserOnPanel());
  }
}

TEST(PlayerKilled, LeavingWhileTheTickWaitsForTheNextPlayerEndsTheProgramForGood) {
  // The player is gone and does not come back; the refresh tick waits for the one it
  // started. The exit key is handled during that wait, and its way out ends the program
  // below the waiting tick.
  struct Case {
    const char* name;
    const char* before;  // after start
    int keys_at;         // when the exit key is pressed, in ms after the player went
  } cases[] = {
      {"stopped", "", 1000},
      {"playing", "key P\n", 1000},
      // The status query gives up after 30 s; the frame's first band query starts the
      // player again and waits in the middle of drawing the equalizer.
      {"equalizer", "key E\n", 35000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    ThreeFiles(b);
    b.Probe("drain", [&] { b.Events(); });
    int64_t ended_at = -1;
    auto recorded = b.form().on_unload;
    b.form().on_unload = [&] {
      ended_at = b.world().clock.MonotonicMs();
      recorded();
    };
    ASSERT_EQ(b.Run(std::string("start\n") + c.before + "wait 100\nprobe drain\nplayer autostart 0\nplayer window 0\n" +
                    "wait " + std::to_string(c.keys_at) + "\n" + Lines("key X", 5) + "wait 120000\nprobe idle\n"),
              0)
        << b.err.str();
    std::vector<std::string> after_exit;
    bool exited = false;
    for (const auto& e : b.Events()) {
      if (exited) after_exit.push_back(e.dump());
      exited = exited || e["event"] == "exit";
    }
    ASSERT_TRUE(exited);
    EXPECT_THAT(after_exit, IsEmpty()) << "nothing happens once the program has ended";
    EXPECT_TRUE(b.PanelShows(b.form().frmPictures.picServiceExitBackground)) << "the exit picture stays";
    EXPECT_FALSE(b.form().tmrRefresh.Enabled());
    EXPECT_LE(ended_at, 100 + c.keys_at + 2000 + 30000) << "the way out waits for the player once, not longer";
  }
}

// What the tick makes of the player's answers while it plays a 200 s track. None of them is
// the end of a track (status 0 and position -1), so the box plays on at the first entry.
TEST(MalformedAnswers, TheTickShowsWhatThePlayerSaysAndStaysInItsValues) {
  struct Case {
    const char* answer;  // the "player answer" arguments
    const char* elapsed;
    const char* length;
    const char* bitrate;
    int progress;
  } cases[] = {
      {"104 0 7", "00:00", "03:20", "0", 0},
      {"104 0 -1", "00:00", "03:20", "0", 0},
      {"104 0 -2147483648", "00:00", "03:20", "0", 0},
      {"104 0 0", "00:00", "03:20", "0", 0},  // stopped, but at a position: no end
      {"105 0 -1", "00:00", "03:20", "0", 0},  // no position, but playing: no end
      {"105 0 -5000", "00:-05", "03:20", "0", -2},
      {"105 0 2147483647", "35791:23", "03:20", "0", 32767},
      {"105 0 -2147483648", "-35791:-23", "03:20", "0", -32768},
      {"105 1 -1", "00:00", "00:-01", "0", 0},
      {"105 1 -2147483648", "00:00", "-35791394:-08", "0", 0},
      {"105 1 2147483647", "00:00", "35791394:07", "0", 0},
      {"126 1 -1", "00:00", "03:20", "-1", 0},
      {"126 1 2147483647", "00:00", "03:20", "2147483647", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    HardBox b;
    ThreeFiles(b);
    nlohmann::json fields;
    b.Probe("check", [&] {
      fields = {{"elapsed", b.form().txtCurMinutes.text + ":" + b.form().txtCurSeconds.text},
                {"length", b.form().txtTotalMinutes.text + ":" + b.form().txtTotalSeconds.text},
                {"bitrate", b.form().txtBitrate.text},
                {"progress", b.state().giPlayProgress},
                {"entry", b.state().giSelectedEntryNr},
                {"play state", b.state().glPlayState},
                {"panel", b.BrowserOnPanel()}};
      // The progress bar: columns 1 to the progress, never outside the box's 99 columns.
      const int bar = std::clamp<int>(b.state().giPlayProgress, 0, 99);
      for (int x = 1; x <= 100; ++x) {
        ASSERT_EQ(b.world().port.panel.Pixel(x, 53), x <= bar || x == 100) << "column " << x;
      }
    });
    ASSERT_EQ(b.Run(std::string("player length 200\nstart\nkey P\nwait 100\nplayer answer ") + c.answer +
                    "\nwait 100\nprobe check\nkey T\n"),
              0)
        << b.err.str();
    EXPECT_EQ(fields["elapsed"], c.elapsed);
    EXPECT_EQ(fields["length"], c.length);
    EXPECT_EQ(fields["bitrate"], c.bitrate);
    EXPECT_EQ(fields["progress"], c.progress);
    EXPECT_EQ(fields["entry"], 1);
    EXPECT_EQ(fields["play state"], app::kPlaying);
    EXPECT_EQ(fields["panel"], true);
    // The position goes into the bookmark as the player said it; the file loads again.
    const Loaded next = LoadProgram(b.dir());
    ASSERT_EQ(next.exit_status, 0) << next.err;
    EXPECT_EQ(next.state["glLastResumeMp3PlayPos"], b.state().glLastResumeMp3PlayPos);
  }
}

TEST(MalformedAnswers, EqualizerBandsOutsideTheirRangeAreShownOffScaleAndNeverStepPastIt) {
  HardBox b;
  ThreeFiles(b);
  // Bands 0 to 4 answer nonsense; bands 5 to 9 keep the player's 31.
  const int32_t answers[] = {64, -1, INT32_MAX, INT32_MIN, 1000};
  std::string script;
  for (int band = 0; band < 5; ++band) {
    script += "player answer 127 " + std::to_string(band) + " " + std::to_string(answers[band]) + "\n";
  }
  std::vector<std::string> writes;
  bool panel = false;
  lcd::Picture picture(lcd::kLcdWidth, lcd::kLcdHeight);
  b.Probe("drain", [&] { b.world().player.TakeMessages(); });
  b.Probe("writes", [&] {
    for (const auto& m : b.world().player.TakeMessages()) {
      if (m.size() > 4 && m.substr(m.size() - 4) == " 128") writes.push_back(m);
    }
    writes.push_back("|");
  });
  b.Probe("screen", [&] {
    panel = b.PanelShowsPicture();
    picture = b.form().picLcd;
  });
  // On each band in turn: Next (one up), then Previous (one down), then Play for the next band.
  std::string keys;
  for (int band = 0; band < 5; ++band) keys += "probe drain\nkey N\nkey V\nprobe writes\nkey P\n";
  ASSERT_EQ(b.Run(script + "start\nkey E\nwait 100\nprobe screen\n" + keys + "wait 100\nprobe idle\n"), 0)
      << b.err.str();
  EXPECT_THAT(writes, ElementsAre(
                          // 64: one up is dropped, one down gives 63.
                          "send 1024 63 128", "|",
                          // -1: one up gives 0, one down is dropped.
                          "send 1024 0 128", "|",
                          // The ends of the 32-bit range stay where they are: nothing is written.
                          "|", "|",
                          // 1000: both steps stay outside.
                          "|"));
  EXPECT_TRUE(panel);
  // A knob off the scale is not drawn, and nothing else in its column changes: band 2's
  // column shows the background.
  const lcd::Picture& background = b.form().frmPictures.picEqBackground;
  for (int y = 0; y < lcd::kLcdHeight; ++y) EXPECT_EQ(picture.Point(29, y), background.Point(29, y)) << y;
  EXPECT_TRUE(b.form().Running());
}

TEST(MalformedAnswers, NoVersionRefusesTheGatedCommandsAndTheBoxPlaysOn) {
  for (const char* version : {"0", "-1", "-2147483648", "5806"}) {
    SCOPED_TRACE(version);
    Settings s;
    s[9] = "83000";  // a bookmark to resume, at 83 s
    HardBox b(s);
    ThreeFiles(b);
    std::vector<std::string> boxes;
    int status = -1;
    b.Probe("boxes", [&] {
      for (const auto& e : b.MessageBoxes()) boxes.push_back(e["text"]);
      status = b.world().player.Status();
    });
    ASSERT_EQ(b.Run(std::string("player version ") + version +
                    "\nstart\nkey R\nwait 100\nkey U\nwait 100\nprobe boxes\nkey T\n"),
              0)
        << b.err.str();
    EXPECT_THAT(boxes, ElementsAre(HasSubstr("SetVolume"), HasSubstr("JumpToTime"), HasSubstr("SetVolume")));
    EXPECT_EQ(status, 1) << "the resumed file plays, from its start";
    EXPECT_EQ(b.state().giVolume, 0) << "a refused volume step leaves 0";
    EXPECT_EQ(LoadProgram(b.dir()).state["giVolume"], 0);
  }
}

TEST(MissingAnswers, AWindowGoneBetweenLookupAndMessageLosesThatMessageOnly) {
  struct Case {
    const char* name;
    const char* lines;  // at one moment, after start and 100 ms
    std::vector<std::string> boxes;
  } cases[] = {
      // The version request goes nowhere: the answer is 0 and the gate refuses.
      {"volume", "player vanish 1\nkey U\n", {"SetVolume is only available in Winamp v2.0 and above."}},
      // The playlist is not cleared; the file name's lookup starts the player again.
      {"play", "player vanish 1\nkey P\n", {}},
      // The file name goes nowhere: the restarted player has nothing to play, which the tick
      // takes for the end of a track, and the next entry plays.
      {"file name", "player vanish 2\nkey P\n", {}},
      // Equalizer: the band is read, then the window goes before the write.
      {"equalizer", "key E\nplayer vanish 3\nkey N\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    ThreeFiles(b);
    b.Probe("drain", [&] { b.Events(); });
    ASSERT_EQ(b.Run(std::string("start\nwait 100\nprobe drain\n") + c.lines + "wait 100\nprobe idle\n"), 0)
        << b.err.str();
    const auto events = b.Events();
    std::vector<std::string> boxes;
    for (const auto& e : events) {
      if (e["event"] == "msgbox") boxes.push_back(e["text"]);
    }
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(Shells(events), 1) << "the next lookup starts the player again";
    sim::SimPlayer& p = b.world().player;
    EXPECT_TRUE(p.WindowPresent());
    if (std::string(c.name) == "volume") {
      // The refusal came from a player that was gone: the stored volume is kept.
      EXPECT_EQ(b.state().giVolume, 200);
    }
    if (std::string(c.name) == "play" || std::string(c.name) == "file name") {
      const int entry = std::string(c.name) == "play" ? 1 : 2;
      EXPECT_EQ(b.state().giSelectedEntryNr, entry);
      EXPECT_EQ(p.Status(), 1);
      EXPECT_EQ(p.CurrentFile(), EntryPath(b, entry));
    }
    if (std::string(c.name) == "equalizer") {
      EXPECT_EQ(p.EqBand(0), 31);
    }
    EXPECT_TRUE(b.PanelShowsPicture());
    EXPECT_TRUE(b.form().Running());
  }
}

TEST(MissingAnswers, BadLinesOfThePlayerExtensionsAreScriptErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"player answer 104 0", "a request, its argument and an answer or off"},
      {"player answer 104 0 7 8", "a request, its argument and an answer or off"},
      {"player answer x 0 7", "request"},
      {"player answer 104 0x1 7", "argument"},
      {"player answer 104 0 2147483648", "answer"},
      {"player answer 104 0 of", "answer"},
      {"player vanish 0", "lookups"},
      {"player vanish", "lookups"},
  };
  for (const auto& [line, problem] : cases) {
    HardBox b;
    EXPECT_EQ(b.Run(std::string("start\n") + line + "\n"), 2) << line;
    EXPECT_THAT(b.err.str(), HasSubstr("test.script:2:")) << line;
    EXPECT_THAT(b.err.str(), HasSubstr(problem)) << line;
  }
}

}  // namespace
}  // namespace lorvan::testing
