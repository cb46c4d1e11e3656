#pragma once
// Drives, the current directory and MCI command strings.
#include <cstdint>
#include <string>

namespace lorvan::platform {

constexpr uint32_t kDriveCdRom = 5;

// Run-time error numbers of a failed change of directory.
constexpr int kErrPathFileAccess = 75;
constexpr int kErrPathNotFound = 76;

class Drives {
 public:
  virtual ~Drives() = default;
  // The roots of the logical drives, each followed by a zero byte, at most max_length bytes.
  virtual std::string GetLogicalDriveStringsA(uint32_t max_length) = 0;
  virtual uint32_t GetDriveTypeA(const std::string& root) = 0;
  virtual std::string CurDir() = 0;
  // 0 on success, otherwise the run-time error number (75, 76, ...).
  virtual int ChDir(const std::string& path) = 0;
  // mciSendStringA with no return buffer and no callback window.
  virtual int32_t mciSendStringA(const std::string& command) = 0;
};

}  // namespace lorvan::platform
