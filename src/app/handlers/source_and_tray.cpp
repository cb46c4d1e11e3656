// The CD tray key, the switch between the MP3 tree and the CD, and the search for a disc.
#include "app/frm_main.h"
#include "cd/cd_door.h"
#include "cd/check_cd.h"
#include "navigation/browser.h"
#include "navigation/resume.h"

namespace lorvan::app {

void frmMain::cmdCdOpenClose_Click() {
  // The flag remembers what the program did last, not where the tray really is.
  if (mbCdTrayOpen) {
    cd::CdDoorClose(platform.drives);
    mbCdTrayOpen = false;
  } else {
    cd::CdDoorOpen(platform.drives);
    mbCdTrayOpen = true;
  }
}

void frmMain::cmdSourceToggle_Click() {
  // Ends a search that runs in an outer call of this handler.
  tmrCdSearchingTimeout.SetEnabled(false);
  if (state.glScreenMode != kScreenBrowser) return;

  switch (state.glMediaSource) {
    case kSourceCdReady:
    case kSourceCdSearching:
    case kSourceNoCd:
      state.glMediaSource = kSourceMp3;
      state.gsAudioDir = state.gsMp3RootDir;
      cmdStop_Click();
      break;

    case kSourceMp3:
      navigation::HandleResumeData(state, goWinamp(), navigation::kResumeStore);
      state.glMediaSource = kSourceCdSearching;
      state.gsAudioDir = state.gsCdRootDir;
      tmrCdSearchingTimeout.SetEnabled(true);
      cmdStop_Click();
      while (tmrCdSearchingTimeout.Enabled()) {
        // The resume key chose the MP3 tree meanwhile and has listed it already.
        if (state.glMediaSource == kSourceMp3) return;
        if (cd::CheckCDInserted(platform.drives, state.gsCdRootDir, platform::kDriveCdRom) == cd::kCdReadable) {
          state.glMediaSource = kSourceCdReady;
          tmrCdSearchingTimeout.SetEnabled(false);  // the search is over
          break;
        }
        state.glMediaSource = kSourceCdSearching;
        lstFilePreview.Clear();
        loop.DoEvents();
      }
      if (state.glMediaSource == kSourceCdSearching) state.glMediaSource = kSourceNoCd;
      break;

    default:
      break;
  }

  if (state.glMediaSource != kSourceNoCd) {
    // A root is listed: the depth starts again at 0, or toggling from deep folders would make
    // it creep up until no folder could be entered any more.
    state.giFolderDepth = 0;
    navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderNone, navigation::kSpeak);
  }
}

void frmMain::tmrCdSearchingTimeout_Timer() { tmrCdSearchingTimeout.SetEnabled(false); }

}  // namespace lorvan::app
