#include "hosts/win32/win32_codes.h"

#include "platform/drives.h"

namespace lorvan::win32 {

int ShowCommandOf(int window_style) {
  // SW_HIDE 0, SW_SHOWNORMAL 1, SW_SHOWMINIMIZED 2, SW_SHOWMAXIMIZED 3,
  // SW_SHOWNOACTIVATE 4, SW_SHOWMINNOACTIVE 7.
  switch (window_style) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 3: return 3;
    case 4: return 4;
    case 6: return 7;
    default: return 1;
  }
}

int ChDirErrorOf(uint32_t windows_error) {
  switch (windows_error) {
    case 2:     // ERROR_FILE_NOT_FOUND
    case 3:     // ERROR_PATH_NOT_FOUND
    case 15:    // ERROR_INVALID_DRIVE
    case 53:    // ERROR_BAD_NETPATH
    case 67:    // ERROR_BAD_NET_NAME
    case 123:   // ERROR_INVALID_NAME
    case 161:   // ERROR_BAD_PATHNAME
    case 267:   // ERROR_DIRECTORY (a file, not a folder)
      return platform::kErrPathNotFound;
    default:    // ERROR_NOT_READY (no disc), ERROR_ACCESS_DENIED, sharing and device errors
      return platform::kErrPathFileAccess;
  }
}

}  // namespace lorvan::win32
