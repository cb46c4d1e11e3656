#pragma once
// The hidden bitmap form: every fixed LCD bitmap by name.
#include <string>
#include <utility>
#include <vector>

#include "lcd/picture.h"
#include "platform/file_system.h"

namespace lorvan::lcd {

// The bitmaps are the files Bitmaps/<name>.pbm of the program folder.
constexpr const char* kBitmapFolder = "Bitmaps";

struct frmPictures {
  Picture picBackground, picEqBackground, picHelpBackground;
  Picture picStandbyBackground, picShutdownBackground, picServiceExitBackground;
  Picture picPlayWithoutEq{13, 13}, picPlayWithEq{13, 13};
  Picture picStopWithoutEq{13, 13}, picStopWithEq{13, 13};
  Picture picPauseWithoutEq{13, 13}, picPauseWithEq{13, 13};
  Picture picMp3{13, 13}, picCd{13, 13}, picCdSearching{13, 13}, picCdNotAvailable{13, 13};
  Picture picCursor{3, 5};

  // Loads the bitmaps from the program folder; throws platform::FileError naming the file
  // (and the line, for a malformed one). A bitmap of the wrong size is an error too.
  void Load(platform::FileSystem& files, const std::string& app_path);

  // Every bitmap with its name, in a fixed order.
  std::vector<std::pair<const char*, Picture*>> All();
};

}  // namespace lorvan::lcd
