#include "lcd/pictures.h"

#include "lcd/pbm.h"

namespace lorvan::lcd {

std::vector<std::pair<const char*, Picture*>> frmPictures::All() {
  return {{"picBackground", &picBackground},
          {"picEqBackground", &picEqBackground},
          {"picHelpBackground", &picHelpBackground},
          {"picStandbyBackground", &picStandbyBackground},
          {"picShutdownBackground", &picShutdownBackground},
          {"picServiceExitBackground", &picServiceExitBackground},
          {"picPlayWithoutEq", &picPlayWithoutEq},
          {"picPlayWithEq", &picPlayWithEq},
          {"picStopWithoutEq", &picStopWithoutEq},
          {"picStopWithEq", &picStopWithEq},
          {"picPauseWithoutEq", &picPauseWithoutEq},
          {"picPauseWithEq", &picPauseWithEq},
          {"picMp3", &picMp3},
          {"picCd", &picCd},
          {"picCdSearching", &picCdSearching},
          {"picCdNotAvailable", &picCdNotAvailable},
          {"picCursor", &picCursor}};
}

void frmPictures::Load(platform::FileSystem& files, const std::string& app_path) {
  const std::string folder = app_path + files.PathSeparator() + kBitmapFolder + files.PathSeparator();
  for (auto [name, picture] : All()) {
    const std::string path = folder + name + ".pbm";
    Picture loaded = ParsePbm(files.ReadFile(path), path);
    if (loaded.Width() != picture->Width() || loaded.Height() != picture->Height()) {
      throw platform::FileError(path + ": the bitmap is " + std::to_string(loaded.Width()) + " x " +
                                std::to_string(loaded.Height()) + " pixels, it must be " +
                                std::to_string(picture->Width()) + " x " + std::to_string(picture->Height()));
    }
    *picture = std::move(loaded);
  }
}

}  // namespace lorvan::lcd
