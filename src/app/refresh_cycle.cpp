// The refresh tick: scrolling of long lines, the status fields, the player's position and
// the end-of-track advance, then the LCD.
#include "app/refresh_cycle.h"

#include <algorithm>
#include <cstdint>

#include "app/frm_main.h"
#include "text/vb_number.h"
#include "lcd/glcd.h"
#include "text/utf8_text.h"

namespace lorvan::app {

int16_t PlayProgress(int32_t elapsed_s, int32_t length_s) {
  const int32_t v = lcd::ScaleValue(kProgressScale, length_s, elapsed_s);
  return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

void frmMain::tmrRefresh_Timer() {
  // The highlighted line scrolls when the entry name is long; the line holds five blanks in
  // front, which travel through the text as a gap.
  if (text::Utf8Length(state.gsSelectedEntry) > kScrollThreshold) {
    const int i = lstFilePreview.list_index;
    if (i >= 0 && i < lstFilePreview.ListCount()) {
      lstFilePreview.lines[i] = text::Utf8RotateLeft(lstFilePreview.lines[i]);
    }
  }
  if (text::Utf8Length(state.gsFolderTitle) > kScrollThreshold) {
    state.gsFolderTitle = text::Utf8RotateLeft(state.gsFolderTitle);
  }

  txtCurFileNr.text = text::Format00(state.giSelectedEntryNr);
  txtTotalFileNr.text = text::Format00(lstFileEntries.ListCount());

  // The player's position; it counts as 0 unless the program believes it is playing.
  int32_t position_ms = 0;
  if (state.glPlayState == kStopped) {
    txtTotalMinutes.text = "00";
    txtTotalSeconds.text = "00";
    txtCurMinutes.text = "00";
    txtCurSeconds.text = "00";
    txtBitrate.text.clear();
    state.giPlayProgress = 0;
  } else if (state.glPlayState == kPlaying) {
    const int32_t length_s = goWinamp().GetCurrentSongLength();
    txtTotalMinutes.text = text::Format00(length_s / 60);
    txtTotalSeconds.text = text::Format00(length_s % 60);
    position_ms = goWinamp().GetCurrentPos();
    const int32_t elapsed_s = position_ms / 1000;
    txtCurMinutes.text = text::Format00(elapsed_s / 60);
    txtCurSeconds.text = text::Format00(elapsed_s % 60);
    txtBitrate.text = std::to_string(goWinamp().GetBitrate());
    state.giPlayProgress = PlayProgress(elapsed_s, length_s);
  } else if (state.glPlayState == kPaused) {
    txtBitrate.text.clear();
  }

  // The player stopped by itself while the program had it playing: the track has ended.
  const int32_t status = goWinamp().GetPlayStatus();
  // A query that waited for a starting player let other handlers run, and one of them may
  // have ended the program: its last picture stays on the panel and no tick follows.
  if (!Running()) return;
  if (status == 0 && position_ms == -1) SelectNextEntry(kAutomaticAdvance);
  if (state.glPlayState == kPlaying) ResumeJournalTick();

  UpdateLcd();
}

}  // namespace lorvan::app
