#pragma once
// Messages to the player's window over FindWindowA, SendMessageA, PostMessageA and WM_COPYDATA.
#include "platform/window_messages.h"

namespace lorvan::win32 {

class Win32WindowMessages : public platform::WindowMessages {
 public:
  platform::Hwnd FindWindowA(const std::string& class_name) override;
  int32_t SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  bool PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  int32_t SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) override;

  // How long a sent message may wait for a player that does not answer; then the answer is 0,
  // as for a window that has gone, and the box stays operable.
  static constexpr unsigned kSendTimeoutMs = 5000;
};

}  // namespace lorvan::win32
