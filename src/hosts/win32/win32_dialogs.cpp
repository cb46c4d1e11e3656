#include "hosts/win32/win32_dialogs.h"

#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {

void Win32Dialogs::MsgBox(const std::string& text, const std::string& title) {
  HWND owner = static_cast<HWND>(owner_);
  if (owner && !IsWindow(owner)) owner = nullptr;
  // One OK button, no icon; in front, since the box may have no one looking at its screen.
  MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace lorvan::win32
