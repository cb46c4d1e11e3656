#include "event/event_loop.h"

#include <algorithm>

#include "event/timer.h"

namespace lorvan::event {

void EventLoop::Unregister(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

std::optional<int64_t> EventLoop::NextTimerDue() const {
  std::optional<int64_t> next;
  for (const Timer* t : timers_) {
    if (!t->enabled_ || t->in_handler_) continue;
    if (!next || t->due_ms_ < *next) next = t->due_ms_;
  }
  return next;
}

bool EventLoop::RunDueTimers() {
  bool ran = false;
  // One pass in due order; a timer whose handler is still running (the loop was re-entered
  // from it) does not tick again until that handler has returned.
  for (;;) {
    const int64_t now = NowMs();
    Timer* due = nullptr;
    for (Timer* t : timers_) {
      if (!t->enabled_ || t->in_handler_ || t->due_ms_ > now) continue;
      if (!due || t->due_ms_ < due->due_ms_) due = t;
    }
    if (!due) return ran;
    ran = true;
    due->due_ms_ = now + std::max<int32_t>(due->interval_, 1);
    due->in_handler_ = true;
    if (due->on_timer) due->on_timer();
    due->in_handler_ = false;
  }
}

void EventLoop::DoEvents() {
  bool ran = host_.DeliverDueEvents();
  ran = RunDueTimers() || ran;
  if (ran) return;
  host_.Idle(NextTimerDue());
  host_.DeliverDueEvents();
  RunDueTimers();
}

void EventLoop::Run(const std::function<bool()>& until) {
  while (!ended_ && !(until && until())) {
    bool ran = host_.DeliverDueEvents();
    ran = RunDueTimers() || ran;
    if (!ran && !ended_) host_.WaitForInput(NextTimerDue());
  }
}

void EventLoop::StopAllTimers() {
  ended_ = true;
  for (Timer* t : timers_) t->SetEnabled(false);
}

}  // namespace lorvan::event
