// The volume keys, the equalizer on/off box and the equalizer default key.
#include <algorithm>
#include <limits>

#include "app/frm_main.h"

namespace lorvan::app {
namespace {

constexpr int32_t kVolumeStep = 5;
constexpr int32_t kEqDefaultValue = 29;

// giVolume plus a step, held inside the 16-bit range (SetVolume then clamps it to 0..255).
int16_t SteppedVolume(int16_t volume, int32_t step) {
  return static_cast<int16_t>(std::clamp<int32_t>(volume + step, std::numeric_limits<int16_t>::min(),
                                                   std::numeric_limits<int16_t>::max()));
}

}  // namespace

// The volume the player answers to a step becomes the stored one: the clamped level, or 0
// when an old player refuses it. A player that could not be reached at all (it did not come
// back within the link's limit) leaves the stored volume as it was, so it is not lost.
static void StoreSteppedVolume(frmMain& f, int32_t step) {
  int16_t level = SteppedVolume(f.state.giVolume, step);
  const int16_t result = f.goWinamp().SetVolume(level);
  if (result == 0 && !f.goWinamp().IsWinampLoaded()) return;
  f.state.giVolume = result;
}

void frmMain::cmdVolumeUp_Click() { StoreSteppedVolume(*this, kVolumeStep); }

void frmMain::cmdVolumeDown_Click() { StoreSteppedVolume(*this, -kVolumeStep); }

void frmMain::chkEqOn_Click() {
  // Only a box that disagrees with the player switches it, so setting the box to the
  // player's state (as start-up does) changes nothing.
  const int player_value = goWinamp().GetEqEnabled() ? 1 : 0;
  if (player_value != chkEqOn.value) goWinamp().ToggleEqEnabled();
}

void frmMain::cmdEqDefault_Click() {
  for (int32_t band = 0; band <= 9; ++band) goWinamp().SetEqualizerValue(band, kEqDefaultValue);
}

}  // namespace lorvan::app
