#pragma once
// The program folder (GetModuleFileNameA) and the version resource of the executable.
#include "platform/app_info.h"

namespace lorvan::win32 {

class Win32AppInfo : public platform::AppInfo {
 public:
  std::string AppPath() override;
  // Comments, legal notice and the file version's major, minor and revision (its fourth
  // number) from the resource; the build's own values when the resource cannot be read.
  platform::VersionInfo Version() override;
};

}  // namespace lorvan::win32
