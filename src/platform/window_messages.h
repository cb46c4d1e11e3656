#pragma once
// Window messages to the player's main window (FindWindowA, SendMessageA, PostMessageA, WM_COPYDATA).
#include <cstdint>
#include <string>

namespace lorvan::platform {

using Hwnd = int32_t;  // 0 means "no window"

// The Windows COPYDATASTRUCT: three fields, the data valid for the duration of the send.
struct CopyDataStruct {
  uint32_t dwData = 0;
  uint32_t cbData = 0;
  const void* lpData = nullptr;
};

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  // A top-level window of the class (no title given), or 0.
  virtual Hwnd FindWindowA(const std::string& class_name) = 0;
  // Sent synchronously; the answer of the window, 0 when the window does not exist.
  virtual int32_t SendMessageA(Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) = 0;
  // Queued for the window; false when the window does not exist.
  virtual bool PostMessageA(Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) = 0;
  // WM_COPYDATA (74) with lParam pointing at the record.
  virtual int32_t SendCopyData(Hwnd hwnd, int32_t wparam, const CopyDataStruct& data) = 0;
};

}  // namespace lorvan::platform
