#pragma once
// The state the subsystems share, owned by the main window and handed by reference.
#include <array>
#include <cstdint>
#include <string>

#include "navigation/browser_state.h"

namespace lorvan::app {

using navigation::DepthStack;
using navigation::kStackDepths;
constexpr int kHelpPages = 11;
constexpr int kHelpLines = 8;

using HelpText = std::array<std::array<std::array<std::string, 2>, kHelpLines>, kHelpPages>;

// Media source, play state and screen mode values.
using navigation::MediaSource;
using enum navigation::MediaSource;
enum PlayState : int32_t { kStopped = 0, kPlaying = 1, kPaused = 3 };
enum ScreenMode : int32_t { kScreenBrowser = 1, kScreenEqualizer = 2, kScreenHelp = 3 };

// The browser's part (place, window, bookmark) is navigation::BrowserState; the rest is
// the window's and the settings'.
struct SharedState : navigation::BrowserState {
  // Public members of the main window.
  std::string gsAppPath;

  // Module-level state.
  int32_t glPlayState = 0;
  int32_t glScreenMode = 0;
  int16_t giVolume = 0;
  std::string gsWinampPath;
  std::string gsCdRootDir;
  std::string gsHelpFileName;
  int32_t glLcdDelayLoops = 0;
  int32_t glReserved1 = 0;
  int32_t glReserved2 = 0;
  int16_t giWakeUpDetectionTime = 0;
  int16_t giHelpPageCount = 0;
  int16_t giHelpPage = 0;
  int16_t giHelpColumnX = 0;
  HelpText gsHelpText{};

  int16_t giPlayProgress = 0;
  int32_t glWinampTaskId = 0;
};

}  // namespace lorvan::app
