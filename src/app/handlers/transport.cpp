// The transport keys: navigate and play on the browser screen, select and change an
// equalizer band on the equalizer screen, nothing on the help screen (pause and seek always).
#include <algorithm>
#include <limits>

#include "app/frm_main.h"
#include "navigation/browser.h"

namespace lorvan::app {
namespace {

constexpr int16_t kLastEqBand = 9;

// The folder above dir (which ends with the separator): the text up to and including the
// separator before the last folder name; empty when there is none.
std::string ParentFolder(const std::string& dir, char sep) {
  std::string s = dir;
  if (!s.empty() && s.back() == sep) s.pop_back();
  const size_t cut = s.rfind(sep);
  return cut == std::string::npos ? std::string() : s.substr(0, cut + 1);
}

// A band value as the player answered it, one step up or down. The player may answer
// anything; at the ends of the 32-bit range the value stays where it is instead of
// overflowing, and SetEqualizerValue drops it as outside 0 to 63.
int32_t StepBandValue(int32_t value, int32_t step) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} + step, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Whether the browser (not the equalizer) takes a navigation key of this trigger.
bool BrowserTakesKey(int32_t screen, int32_t trigger) {
  return screen == kScreenBrowser || (trigger == kAutomaticAdvance && screen == kScreenEqualizer);
}

}  // namespace

void frmMain::OpenSelectedEntry(EntryTrigger trigger) {
  if (BrowserTakesKey(state.glScreenMode, trigger)) {
    // An empty folder has nothing highlighted (its selected name is a stale one).
    if (lstFileEntries.ListCount() == 0) return;
    const std::string path = navigation::SelectedEntryPath(browser);
    switch (navigation::IsFolder(platform.files, path)) {
      case 1:
        if (!navigation::CanEnterFolder(state)) return;  // the stacks are full: stay here
        state.gsAudioDir = path + Sep();
        navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderInto, navigation::kSpeak);
        break;
      case 0:
        state.glPlayState = kPlaying;
        goWinamp().ClearPlaylist();
        goWinamp().AddToPlaylistNew(path);
        goWinamp().PlaySong();
        if (trigger == kAutomaticAdvance) {
          ResumeJournalDue();
        } else {
          WriteResumeJournal();
        }
        break;
      default:
        break;
    }
  } else if (trigger == kKeyPress && state.glScreenMode == kScreenEqualizer) {
    miEqBand = miEqBand < kLastEqBand ? static_cast<int16_t>(miEqBand + 1) : int16_t{0};
  }
}

void frmMain::SelectNextEntry(EntryTrigger trigger) {
  if (BrowserTakesKey(state.glScreenMode, trigger)) {
    navigation::UpdateListWindow(browser, navigation::kCursorDown, navigation::kFolderNone, navigation::kSpeak);
    if (state.glPlayState == kPlaying) OpenSelectedEntry(trigger);
  } else if (trigger == kKeyPress && state.glScreenMode == kScreenEqualizer) {
    goWinamp().SetEqualizerValue(miEqBand, StepBandValue(goWinamp().GetEqualizerValue(miEqBand), 1));
  }
}

void frmMain::cmdPlay_Click() { OpenSelectedEntry(kKeyPress); }

void frmMain::cmdNext_Click() { SelectNextEntry(kKeyPress); }

void frmMain::cmdPrev_Click() {
  if (state.glScreenMode == kScreenBrowser) {
    navigation::UpdateListWindow(browser, navigation::kCursorUp, navigation::kFolderNone, navigation::kSpeak);
    if (state.glPlayState == kPlaying) OpenSelectedEntry(kKeyPress);
  } else if (state.glScreenMode == kScreenEqualizer) {
    goWinamp().SetEqualizerValue(miEqBand, StepBandValue(goWinamp().GetEqualizerValue(miEqBand), -1));
  }
}

void frmMain::cmdStop_Click() {
  if (state.glScreenMode == kScreenBrowser) {
    const bool was_playing = state.glPlayState != kStopped;
    goWinamp().StopSong();
    state.glPlayState = kStopped;
    if (state.glMediaSource == kSourceMp3 && state.gsAudioDir != state.gsMp3RootDir) {
      const std::string parent = ParentFolder(state.gsAudioDir, Sep());
      if (!parent.empty()) {  // else no folder above this one
        state.gsAudioDir = parent;
        navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderBack, navigation::kSpeak);
      }
    }
    if (was_playing) WriteResumeJournal();
  } else if (state.glScreenMode == kScreenEqualizer) {
    miEqBand = miEqBand > 0 ? static_cast<int16_t>(miEqBand - 1) : kLastEqBand;
  }
}

void frmMain::cmdPause_Click() {
  if (state.glPlayState == kPlaying) {
    state.glPlayState = kPaused;
    goWinamp().PauseSong();
    WriteResumeJournal();
  } else if (state.glPlayState == kPaused) {
    state.glPlayState = kPlaying;
    goWinamp().PlaySong();
    WriteResumeJournal();
  }
}

void frmMain::cmdFastBackward_Click() { goWinamp().Rewind(); }

void frmMain::cmdFastForward_Click() { goWinamp().FastForward(); }

}  // namespace lorvan::app
