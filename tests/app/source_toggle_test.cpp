// The tray key and the switch of the media source: the search for a disc and every way it ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_box.h"

namespace lorvan::testing {
namespace {

using nlohmann::json;

class Toggle : public ::testing::Test {
 protected:
  Toggle() { box.Probe("drain", [this] { box.Events(); }); }
  SimBox box;
};

TEST_F(Toggle, TrayKeyAlternatesWhateverTheDrive) {
  std::vector<bool> flags;
  box.Probe("flag", [&] { flags.push_back(box.form().mbCdTrayOpen); });
  ASSERT_EQ(box.Run("cd absent\nstart\nprobe drain\nprobe flag\nkey O\nprobe flag\nkey o\nprobe flag\nclick "
                    "cmdCdOpenClose\nprobe flag\n"),
            0);
  EXPECT_EQ(flags, (std::vector<bool>{false, true, false, true}));
  const std::vector<json> expected = {{{"event", "mci"}, {"command", "set cdaudio door open"}},
                                      {{"event", "mci"}, {"command", "set cdaudio door closed"}},
                                      {{"event", "mci"}, {"command", "set cdaudio door open"}}};
  EXPECT_EQ(box.Events(), expected);
}

TEST(ToggleSearch, EachWayTheSearchEnds) {
  using Note = std::tuple<int, std::string, bool>;  // source, folder, search timer running
  const char* no_disc = "key G\nwait 14999\nprobe note\nwait 2\nprobe note\n";
  const std::vector<Note> no_cd_after_15_s = {{2, "CD/", true}, {-1, "CD/", false}};
  struct Case {
    const char* name;
    const char* drive;
    const char* script;  // after "start"
    std::vector<Note> notes;
  } cases[] = {
      {"an empty drive", "empty", no_disc, no_cd_after_15_s},
      {"no drive", "absent", no_disc, no_cd_after_15_s},
      {"a drive of another type", "other", no_disc, no_cd_after_15_s},
      {"a disc comes in", "empty", "key G\nwait 3000\nprobe note\ncd ready\nwait 1\nprobe note\n",
       {{2, "CD/", true}, {1, "CD/", false}}},
      {"a second toggle", "empty", "key G\nwait 1000\nkey G\nprobe note\nwait 20000\nprobe note\n",
       {{3, "Music/", false}, {3, "Music/", false}}},
      {"a toggle after no disc", "empty", "key G\nwait 15100\nkey G\nprobe note\n", {{3, "Music/", false}}},
      {"a toggle on another screen", "empty", "key G\nwait 1000\nprobe equalizer\nkey G\nwait 1\nprobe note\n",
       {{-1, "CD/", false}}},
      {"a toggle on another screen with a disc", "ready", "probe equalizer\nkey G\nprobe note\n",
       {{3, "Music/", false}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimBox b;
    std::vector<Note> notes;
    b.Probe("note", [&] {
      const auto& s = b.form().state;
      notes.emplace_back(s.glMediaSource, s.gsAudioDir, b.form().tmrCdSearchingTimeout.Enabled());
      if (s.glMediaSource == app::kSourceCdSearching) {
        EXPECT_TRUE(b.form().lstFilePreview.lines.empty()) << "the preview is cleared while searching";
      }
    });
    b.Probe("fill", [&] { b.form().lstFilePreview.lines = {"a", "b"}; });
    b.Probe("equalizer", [&] { b.form().state.glScreenMode = app::kScreenEqualizer; });
    ASSERT_EQ(b.Run(std::string("cd ") + c.drive + "\nstart\nprobe fill\n" + c.script), 0);
    EXPECT_EQ(notes, c.notes);
  }
}

TEST_F(Toggle, ThePanelShowsTheSourceState) {
  std::vector<std::string> shown;
  box.Probe("symbol", [&] { shown.push_back(box.SourceSymbolShown()); });
  ASSERT_EQ(box.Run("cd empty\nstart\nwait 100\nprobe symbol\nkey G\nwait 1000\nprobe symbol\n"
                    "wait 15000\nprobe symbol\ncd ready\nkey G\nwait 100\nprobe symbol\nkey G\nwait 100\nprobe symbol\n"),
            0);
  EXPECT_EQ(shown, (std::vector<std::string>{"mp3", "searching", "no cd", "mp3", "cd"}));
}

TEST(ToggleListing, WhatTheBrowserListsAlongTheWay) {
  // The MP3 root holds only "Rock"; the bookmark is stored when the search starts, inside Rock.
  struct Case {
    const char* name;
    const char* script;  // after "start", "key P" (into Rock) and "key G"
    const char* drive;
    int source;
    std::string folder;
    std::vector<std::string> listing;
  } cases[] = {
      {"a ready disc: the CD root at once", "", "ready", 1, "CD/", {"Track01", "Track02"}},
      {"no disc: the old listing stays", "wait 15100\n", "empty", -1, "CD/", {"a.mp3", "b.mp3"}},
      {"back from the CD: the MP3 root, not the bookmark", "key G\n", "ready", 3, "Music/", {"Rock"}},
      // The search timer is left to run out by itself.
      {"the resume key during the search: the bookmark", "wait 500\nkey R\nwait 100\n", "empty", 3, "Music/Rock/",
       {"a.mp3", "b.mp3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimBox b;
    b.folder.AddMusic({"Rock/a.mp3", "Rock/b.mp3"});
    b.folder.Write("CD/Track01.cda", "cd");
    b.folder.Write("CD/Track02.cda", "cd");
    json seen;
    bool stop_sent = false;
    b.Probe("drain", [&] { b.world().player.TakeMessages(); });
    b.Probe("note", [&] {
      seen = sim::StateJson(b.form());
      for (const auto& m : b.world().player.TakeMessages()) stop_sent = stop_sent || m == "send 273 40047 0";
    });
    ASSERT_EQ(b.Run(std::string("cd ") + c.drive + "\nstart\nkey P\nprobe drain\nkey G\n" + c.script + "probe note\n"), 0);
    EXPECT_EQ(seen["glMediaSource"], c.source);
    EXPECT_EQ(seen["gsAudioDir"], c.folder);
    std::vector<std::string> listing = seen["lstFileEntries"];
    std::sort(listing.begin(), listing.end());
    EXPECT_EQ(listing, c.listing);
    EXPECT_EQ(seen["glPlayState"], 0);
    EXPECT_TRUE(stop_sent) << "playback stopped as the Stop key does";
    EXPECT_EQ(seen["gsLastResumeMp3AudioDir"], "Music/Rock/") << "stored when the search began";
    EXPECT_EQ(seen["tmrCdSearchingTimeout"], std::string(c.name).find("resume key") != std::string::npos);
  }
}

}  // namespace
}  // namespace lorvan::testing
