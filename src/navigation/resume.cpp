#include "navigation/resume.h"

#include <algorithm>

#include "text/utf8_text.h"

namespace lorvan::navigation {

bool HasThreeLetterExtension(const std::string& name) { return text::Utf8CharFromEnd(name, 4) == "."; }

void HandleResumeData(BrowserState& s, player::clsWinampControl& player, ResumeMode mode) {
  switch (mode) {
    case kResumeClear:
      s.giDepthListTop.fill(0);
      s.giDepthListRow.fill(0);
      s.giResumeDepthListTop.fill(0);
      s.giResumeDepthListRow.fill(0);
      break;
    case kResumeStore:
      s.gsLastResumeMp3AudioDir = s.gsAudioDir;
      s.giResumeListTop = s.giListTop;
      s.giResumeListRow = s.giListRow;
      s.giResumeFolderDepth = s.giFolderDepth;
      s.glLastResumeMp3PlayPos = player.GetCurrentPos();
      s.giResumeDepthListTop = s.giDepthListTop;
      s.giResumeDepthListRow = s.giDepthListRow;
      break;
    case kResumeRestore:
      s.gsAudioDir = s.gsLastResumeMp3AudioDir;
      s.giListTop = s.giResumeListTop;
      s.giListRow = s.giResumeListRow;
      // A depth from an edited settings file must still index the stacks.
      s.giFolderDepth = std::clamp<int16_t>(s.giResumeFolderDepth, 0, kStackDepths);
      s.glMp3PlayPos = s.glLastResumeMp3PlayPos;
      s.giDepthListTop = s.giResumeDepthListTop;
      s.giDepthListRow = s.giResumeDepthListRow;
      break;
    default:
      break;
  }
}

}  // namespace lorvan::navigation
