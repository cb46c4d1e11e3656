#pragma once
// Modal message boxes owned by the main window.
#include "platform/dialogs.h"

namespace lorvan::win32 {

class Win32Dialogs : public platform::Dialogs {
 public:
  // The window that owns the boxes (HWND); none before the main window exists.
  void SetOwner(void* hwnd) { owner_ = hwnd; }
  void MsgBox(const std::string& text, const std::string& title) override;

 private:
  void* owner_ = nullptr;
};

}  // namespace lorvan::win32
