#include "app/controls.h"

#include "app/event_loop.h"

namespace lorvan::app {

char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

Timer::Timer(std::string timer_name, EventLoop& loop) : name(std::move(timer_name)), loop_(loop) {
  loop_.Register(this);
}

Timer::~Timer() { loop_.Unregister(this); }

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) due_ms_ = loop_.NowMs() + interval_;
}

}  // namespace lorvan::app
