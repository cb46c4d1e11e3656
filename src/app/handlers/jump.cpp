// The digit keys: a number typed within one second of its first digit moves the cursor to
// that entry of the current folder.
#include "app/frm_main.h"
#include "navigation/browser.h"
#include "text/vb_number.h"

namespace lorvan::app {

void frmMain::cmdJump_Click(int16_t Index) {
  msJumpDigits += static_cast<char>('0' + Index);
  // A running timer keeps running: the number ends one second after its first digit.
  if (!tmrDirectJumpTime.Enabled()) tmrDirectJumpTime.SetEnabled(true);
}

void frmMain::tmrDirectJumpTime_Timer() {
  tmrDirectJumpTime.SetEnabled(false);
  const double number = text::LeadingNumber(msJumpDigits);
  const int count = lstFileEntries.ListCount();
  if (number != 0 && number <= count && state.glScreenMode == kScreenBrowser) {
    const int target = static_cast<int>(number);
    // Silent steps down, wrapping at the end, as the Next key would go; one round through
    // the listing at most.
    for (int step = 0; step <= count && state.giSelectedEntryNr != target; ++step) {
      navigation::UpdateListWindow(browser, navigation::kCursorDown, navigation::kFolderNone, navigation::kSilent);
    }
    navigation::SpeakFolderName(browser, state.gsAudioDir + state.gsSelectedEntry);
    if (state.glPlayState == kPlaying) OpenSelectedEntry(kKeyPress);
  }
  msJumpDigits.clear();
}

}  // namespace lorvan::app
