#pragma once
// The event host of the Windows program: one pass of the message pump per delivery, and a
// wait for messages of at most 1 ms (never past the next timer) when nothing was due.
#include <exception>

#include "platform/clock.h"
#include "platform/event_host.h"

namespace lorvan::win32 {

class MainWindow;

class Win32EventHost : public platform::EventHost {
 public:
  explicit Win32EventHost(platform::Clock& clock) : clock_(clock) {}
  void SetView(MainWindow* view) { view_ = view; }

  bool DeliverDueEvents() override;
  void Idle(std::optional<int64_t> next_timer_due_ms) override;

  // An error raised by a handler inside the window procedure: kept, and raised again by the
  // pump once the window procedure has returned, so that it never crosses the system's code.
  void Defer(std::exception_ptr error) {
    if (!deferred_) deferred_ = error;
  }

  // The most messages one pass takes from the queue, so that a flood of them cannot hold
  // the timers up.
  static constexpr int kMaxMessagesPerPass = 100;

 private:
  void RaiseDeferred();
  platform::Clock& clock_;
  MainWindow* view_ = nullptr;
  std::exception_ptr deferred_;
};

}  // namespace lorvan::win32
