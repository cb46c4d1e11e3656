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

void frmMain::cmdVolumeUp_Click() {
  int16_t level = SteppedVolume(state.giVolume, kVolumeStep);
  state.giVolume = goWinamp().SetVolume(level);
}

void frmMain::cmdVolumeDown_Click() {
  int16_t level = SteppedVolume(state.giVolume, -kVolumeStep);
  state.giVolume = goWinamp().SetVolume(level);
}

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
