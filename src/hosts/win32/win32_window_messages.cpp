#include "hosts/win32/win32_window_messages.h"

#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {
namespace {

// A 32-bit argument as the 32-bit program sent it: -1 keeps all its bits set.
WPARAM W(int32_t v) { return static_cast<WPARAM>(static_cast<INT_PTR>(v)); }
LPARAM L(int32_t v) { return static_cast<LPARAM>(static_cast<INT_PTR>(v)); }

int32_t Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(hwnd, msg, w, l, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                           Win32WindowMessages::kSendTimeoutMs, &answer)) {
    return 0;
  }
  return static_cast<int32_t>(answer);
}

}  // namespace

platform::Hwnd Win32WindowMessages::FindWindowA(const std::string& class_name) {
  return FromHwnd(::FindWindowA(class_name.c_str(), nullptr));
}

int32_t Win32WindowMessages::SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0 || !IsWindow(ToHwnd(hwnd))) return 0;
  return Send(ToHwnd(hwnd), msg, W(wparam), L(lparam));
}

bool Win32WindowMessages::PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0) return false;
  return ::PostMessageA(ToHwnd(hwnd), msg, W(wparam), L(lparam)) != 0;
}

int32_t Win32WindowMessages::SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) {
  if (hwnd == 0 || !IsWindow(ToHwnd(hwnd))) return 0;
  COPYDATASTRUCT cds{};
  cds.dwData = data.dwData;
  cds.cbData = data.cbData;
  cds.lpData = const_cast<void*>(data.lpData);
  return Send(ToHwnd(hwnd), WM_COPYDATA, W(wparam), reinterpret_cast<LPARAM>(&cds));
}

}  // namespace lorvan::win32
