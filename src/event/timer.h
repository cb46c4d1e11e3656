#pragma once
// A timer of the window: ticks on the event loop.
#include <cstdint>
#include <functional>
#include <string>

namespace lorvan::event {

class EventLoop;

// It ticks one interval after it was enabled or after its previous tick began; enabling a
// running timer does not restart it.
class Timer {
 public:
  Timer(std::string name, EventLoop& loop);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  void SetInterval(int32_t ms) { interval_ = ms; }
  int32_t Interval() const { return interval_; }

  std::string name;
  std::function<void()> on_timer;

 private:
  friend class EventLoop;
  EventLoop& loop_;
  int32_t interval_ = 0;
  bool enabled_ = false;
  bool in_handler_ = false;
  int64_t due_ms_ = 0;
};

}  // namespace lorvan::event
