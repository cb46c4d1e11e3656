#include "hosts/win32/win32_event_host.h"

#include <algorithm>

#include "hosts/win32/main_window.h"
#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {

void Win32EventHost::RaiseDeferred() {
  if (!deferred_) return;
  std::exception_ptr e = deferred_;
  deferred_ = nullptr;
  std::rethrow_exception(e);
}

bool Win32EventHost::DeliverDueEvents() {
  bool any = false;
  MSG msg;
  for (int n = 0; n < kMaxMessagesPerPass && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
    any = true;
    if (msg.message == WM_QUIT) {
      // Someone asked this thread to end: handled like a request to close the window.
      if (view_) view_->RequestClose();
      RaiseDeferred();
      continue;
    }
    if (view_ && view_->PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    RaiseDeferred();
  }
  if (view_) view_->Sync(/*force=*/false);
  RaiseDeferred();
  return any;
}

void Win32EventHost::Idle(std::optional<int64_t> next_timer_due_ms) {
  int64_t wait = 1;
  if (next_timer_due_ms) wait = std::clamp<int64_t>(*next_timer_due_ms - clock_.MonotonicMs(), 0, 1);
  if (wait <= 0) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

}  // namespace lorvan::win32
