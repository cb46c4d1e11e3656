#pragma once
// Numbers that the Windows host translates between the run-time's conventions and the
// Windows API's. Portable: the Windows values are written out, so they are tested natively.
#include <cstdint>

namespace lorvan::win32 {

// The show command (SW_...) for a window style of the run-time's Shell call (0 hide,
// 1 normal with focus, 2 minimized with focus, 3 maximized, 4 normal without focus,
// 6 minimized without focus); an unknown style shows the window normally.
int ShowCommandOf(int window_style);

// The run-time error number of a failed change of directory for a Windows error code:
// 76 (path not found) when the path does not exist, 75 (path/file access error) when it
// exists but cannot be entered, a drive without a readable disc included.
int ChDirErrorOf(uint32_t windows_error);

}  // namespace lorvan::win32
