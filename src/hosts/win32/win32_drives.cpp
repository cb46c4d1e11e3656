#include "hosts/win32/win32_drives.h"

#include "hosts/win32/win32_api.h"
// After the Windows headers, which it needs.
#include <mmsystem.h>
#include "hosts/win32/win32_codes.h"

namespace lorvan::win32 {

std::string Win32Drives::GetLogicalDriveStringsA(uint32_t max_length) {
  std::string buffer(max_length, '\0');
  const DWORD n = ::GetLogicalDriveStringsA(max_length, buffer.data());
  // A list longer than the buffer is not copied at all.
  if (n == 0 || n > max_length) return {};
  buffer.resize(n);
  return buffer;
}

uint32_t Win32Drives::GetDriveTypeA(const std::string& root) { return ::GetDriveTypeA(root.c_str()); }

std::string Win32Drives::CurDir() {
  const DWORD n = GetCurrentDirectoryA(0, nullptr);
  std::string dir(n, '\0');
  const DWORD got = GetCurrentDirectoryA(n, dir.data());
  dir.resize(got < n ? got : 0);
  return dir;
}

int Win32Drives::ChDir(const std::string& path) {
  if (SetCurrentDirectoryA(path.c_str())) return 0;
  return ChDirErrorOf(GetLastError());
}

int32_t Win32Drives::mciSendStringA(const std::string& command) {
  return static_cast<int32_t>(::mciSendStringA(command.c_str(), nullptr, 0, nullptr));
}

}  // namespace lorvan::win32
