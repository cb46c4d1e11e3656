#pragma once
// GetLogicalDriveStringsA, GetDriveTypeA, the current directory and mciSendStringA.
#include "platform/drives.h"

namespace lorvan::win32 {

class Win32Drives : public platform::Drives {
 public:
  std::string GetLogicalDriveStringsA(uint32_t max_length) override;
  uint32_t GetDriveTypeA(const std::string& root) override;
  std::string CurDir() override;
  int ChDir(const std::string& path) override;
  int32_t mciSendStringA(const std::string& command) override;
};

}  // namespace lorvan::win32
