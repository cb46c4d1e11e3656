#pragma once
// The state the browser and the resume bookmark read and write: the place in the folder tree,
// the five-line window and the bookmark. Part of the main window's shared state.
#include <array>
#include <cstdint>
#include <string>

namespace lorvan::navigation {

constexpr int kStackDepths = 21;  // the per-depth stacks hold depths 0 to 20

using DepthStack = std::array<int16_t, kStackDepths>;

// Values of glMediaSource.
enum MediaSource : int32_t { kSourceNoCd = -1, kSourceCdReady = 1, kSourceCdSearching = 2, kSourceMp3 = 3 };

struct BrowserState {
  std::string gsAudioDir;
  int32_t glMp3PlayPos = 0;
  std::string gsLastResumeMp3AudioDir;
  int32_t glLastResumeMp3PlayPos = 0;

  int32_t glMediaSource = 0;
  std::string gsMp3RootDir;

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
};

}  // namespace lorvan::navigation
