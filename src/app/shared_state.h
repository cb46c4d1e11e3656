#pragma once
// The state the subsystems share, owned by the main window and handed by reference.
#include <array>
#include <cstdint>
#include <string>

namespace lorvan::app {

constexpr int kStackDepths = 21;  // the per-depth stacks hold depths 0 to 20
constexpr int kHelpPages = 11;
constexpr int kHelpLines = 8;

using DepthStack = std::array<int16_t, kStackDepths>;
using HelpText = std::array<std::array<std::array<std::string, 2>, kHelpLines>, kHelpPages>;

// Media source, play state and screen mode values.
enum : int32_t { kSourceNoCd = -1, kSourceCdReady = 1, kSourceCdSearching = 2, kSourceMp3 = 3 };
enum : int32_t { kStopped = 0, kPlaying = 1, kPaused = 3 };
enum : int32_t { kScreenBrowser = 1, kScreenEqualizer = 2, kScreenHelp = 3 };

struct SharedState {
  // Public members of the main window.
  std::string gsAppPath;
  std::string gsAudioDir;
  int32_t glMp3PlayPos = 0;
  std::string gsLastResumeMp3AudioDir;
  int32_t glLastResumeMp3PlayPos = 0;

  // Module-level state.
  int32_t glMediaSource = 0;
  int32_t glPlayState = 0;
  int32_t glScreenMode = 0;
  int16_t giVolume = 0;
  std::string gsWinampPath;
  std::string gsMp3RootDir;
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

  int16_t giListTop = 0;
  int16_t giListRow = 0;
  int16_t giFolderDepth = 0;
  DepthStack giDepthListTop{};
  DepthStack giDepthListRow{};
  int16_t giResumeListTop = 0;
  int16_t giResumeListRow = 0;
  int16_t giResumeFolderDepth = 0;
  DepthStack giResumeDepthListTop{};
  DepthStack giResumeDepthListRow{};

  int16_t giCursorRow = 0;
  int16_t giSelectedEntryNr = 0;
  std::string gsSelectedEntry;
  std::string gsFolderTitle;
  int16_t giPlayProgress = 0;
  int32_t glWinampTaskId = 0;
};

}  // namespace lorvan::app
