#pragma once
// Pieces of the refresh tick that are worth checking on their own.
#include <cstdint>

namespace lorvan::app {

// Texts longer than this many characters scroll by one character per tick.
constexpr int kScrollThreshold = 26;

// The progress of a track runs from 0 to this value.
constexpr int32_t kProgressScale = 99;

// Progress of the playing track on the scale 0 to 99 (ScaleValue: 99 x elapsed / length
// rounded halves to even, 0 for a length of 0), stored as an Integer: saturated at the
// Integer range when the player reports a position far beyond the length (a stream
// reports length -1).
int16_t PlayProgress(int32_t elapsed_s, int32_t length_s);

}  // namespace lorvan::app
