#pragma once
// The program's own folder and version information.
#include <string>

namespace lorvan::platform {

struct VersionInfo {
  std::string comments;
  std::string legal_notice;
  int major = 0, minor = 0, revision = 0;
};

class AppInfo {
 public:
  virtual ~AppInfo() = default;
  // The program folder, without a trailing separator.
  virtual std::string AppPath() = 0;
  virtual VersionInfo Version() = 0;
};

}  // namespace lorvan::platform
