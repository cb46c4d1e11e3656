#pragma once
// The resume bookmark: copies between the current browser state and its bookmark.
#include <cstdint>
#include <string>

#include "navigation/browser_state.h"
#include "player/winamp_control.h"

namespace lorvan::navigation {

// Modes of HandleResumeData.
enum ResumeMode : int32_t {
  kResumeClear = 1,    // dimension the stacks: every saved window position 0
  kResumeStore = 2,    // the current place and the player's position become the bookmark
  kResumeRestore = 3,  // the bookmark becomes the current place
};

// Other mode values do nothing.
void HandleResumeData(BrowserState& s, player::clsWinampControl& player, ResumeMode mode);

// A name with a three-letter extension, such as "Song.mp3": a point as its fourth
// character from the end.
bool HasThreeLetterExtension(const std::string& name);

}  // namespace lorvan::navigation
