#include "navigation/resume.h"

#include <algorithm>

#include "app/frm_main.h"
#include "navigation/browser.h"
#include "navigation/utf8_text.h"

namespace lorvan::navigation {
namespace {

// A name with a three-letter extension, such as "Song.mp3": a point as its fourth
// character from the end.
bool HasThreeLetterExtension(const std::string& name) { return Utf8CharFromEnd(name, 4) == "."; }

}  // namespace

void HandleResumeData(app::frmMain& f, int32_t mode) {
  auto& s = f.state;
  switch (mode) {
    case 1:
      s.giDepthListTop.fill(0);
      s.giDepthListRow.fill(0);
      s.giResumeDepthListTop.fill(0);
      s.giResumeDepthListRow.fill(0);
      break;
    case 2:
      s.gsLastResumeMp3AudioDir = s.gsAudioDir;
      s.giResumeListTop = s.giListTop;
      s.giResumeListRow = s.giListRow;
      s.giResumeFolderDepth = s.giFolderDepth;
      s.glLastResumeMp3PlayPos = f.goWinamp().GetCurrentPos();
      s.giResumeDepthListTop = s.giDepthListTop;
      s.giResumeDepthListRow = s.giDepthListRow;
      break;
    case 3:
      s.gsAudioDir = s.gsLastResumeMp3AudioDir;
      s.giListTop = s.giResumeListTop;
      s.giListRow = s.giResumeListRow;
      // A depth from an edited settings file must still index the stacks.
      s.giFolderDepth = std::clamp<int16_t>(s.giResumeFolderDepth, 0, app::kStackDepths);
      s.glMp3PlayPos = s.glLastResumeMp3PlayPos;
      s.giDepthListTop = s.giResumeDepthListTop;
      s.giDepthListRow = s.giResumeDepthListRow;
      break;
    default:
      break;
  }
}

}  // namespace lorvan::navigation

namespace lorvan::app {

void frmMain::cmdStoreLastMp3_Click() {
  if (state.glMediaSource == kSourceMp3) navigation::HandleResumeData(*this, 2);
}

void frmMain::cmdResumeLastMp3_Click() {
  navigation::HandleResumeData(*this, 3);
  state.glMediaSource = kSourceMp3;
  if (state.gsAudioDir.empty()) {
    // Nothing was ever stored: show the MP3 root from its first entry, play nothing.
    state.gsAudioDir = state.gsMp3RootDir;
    state.giFolderDepth = 0;
    navigation::ListFolder(*this, state.gsAudioDir, navigation::kFolderNone, navigation::kSpeak);
    return;
  }
  navigation::ListFolder(*this, state.gsAudioDir, navigation::kFolderKeep, navigation::kSpeak);
  if (state.glLastResumeMp3PlayPos != -1 && lstFileEntries.ListCount() > 0 &&
      navigation::HasThreeLetterExtension(state.gsSelectedEntry)) {
    state.glPlayState = kPlaying;
    goWinamp().ClearPlaylist();
    goWinamp().AddToPlaylistNew(navigation::SelectedEntryPath(*this));
    goWinamp().PlaySong();
    goWinamp().JumpToTime(state.glMp3PlayPos);
  }
}

}  // namespace lorvan::app
