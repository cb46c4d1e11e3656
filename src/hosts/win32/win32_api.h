#pragma once
// The Windows headers as the host uses them, and small helpers shared by its files.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The file system interface has its own ReplaceFile; the Windows function is not used.
#undef ReplaceFile

#include <cstdint>
#include <string>

namespace lorvan::win32 {

// The system's text for an error code, without the trailing line break, and its number.
std::string ErrorText(DWORD error);

// Window handles are significant in their low 32 bits, also on 64-bit Windows.
inline HWND ToHwnd(int32_t h) { return reinterpret_cast<HWND>(static_cast<intptr_t>(h)); }
inline int32_t FromHwnd(HWND h) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(h)); }

// The folder of a loaded module (nullptr: the program), without a trailing backslash.
std::string ModuleFolder(HMODULE module = nullptr);

}  // namespace lorvan::win32
