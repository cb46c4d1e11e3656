#include "event/timer.h"

#include "event/event_loop.h"

namespace lorvan::event {

Timer::Timer(std::string timer_name, EventLoop& loop) : name(std::move(timer_name)), loop_(loop) {
  loop_.Register(this);
}

Timer::~Timer() { loop_.Unregister(this); }

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) due_ms_ = loop_.NowMs() + interval_;
}

}  // namespace lorvan::event
