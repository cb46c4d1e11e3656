// The resume keys: store the MP3 place and position as the bookmark, and go back to it.
#include "app/frm_main.h"
#include "navigation/browser.h"
#include "navigation/resume.h"

namespace lorvan::app {

void frmMain::cmdStoreLastMp3_Click() {
  if (state.glMediaSource != kSourceMp3) return;
  navigation::HandleResumeData(state, goWinamp(), navigation::kResumeStore);
  WriteResumeJournal();
}

void frmMain::cmdResumeLastMp3_Click() {
  navigation::HandleResumeData(state, goWinamp(), navigation::kResumeRestore);
  state.glMediaSource = kSourceMp3;
  if (state.gsAudioDir.empty()) {
    // Nothing was ever stored: show the MP3 root from its first entry, play nothing.
    state.gsAudioDir = state.gsMp3RootDir;
    state.giFolderDepth = 0;
    navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderNone, navigation::kSpeak);
    return;
  }
  navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderKeep, navigation::kSpeak);
  if (state.glLastResumeMp3PlayPos != -1 && lstFileEntries.ListCount() > 0 &&
      navigation::HasThreeLetterExtension(state.gsSelectedEntry)) {
    state.glPlayState = kPlaying;
    goWinamp().ClearPlaylist();
    goWinamp().AddToPlaylistNew(navigation::SelectedEntryPath(browser));
    goWinamp().PlaySong();
    goWinamp().JumpToTime(state.glMp3PlayPos);
    WriteResumeJournal();
  }
}

}  // namespace lorvan::app
