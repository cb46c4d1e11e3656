#pragma once
// The main window's portable controls: a host view shows them, the core holds their logic.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lorvan::app {

class EventLoop;

// The accelerator of a caption: the character after the first "&" that is not "&&".
char AcceleratorOf(const std::string& caption);

class Button {
 public:
  Button(std::string name, std::string caption) : name(std::move(name)), caption(std::move(caption)) {}
  void Click() {
    if (on_click) on_click();
  }
  char Accelerator() const { return AcceleratorOf(caption); }

  std::string name;
  std::string caption;
  std::function<void()> on_click;
};

// Value 0 clear, 1 ticked, 2 grey; the click handler runs whenever the value changes.
class CheckBox {
 public:
  CheckBox(std::string name, std::string caption) : name(std::move(name)), caption(std::move(caption)) {}
  void SetValue(int v) {
    if (v == value) return;
    value = v;
    if (on_click) on_click();
  }
  // A user's click toggles between clear and ticked.
  void Click() { SetValue(value == 0 ? 1 : 0); }
  char Accelerator() const { return AcceleratorOf(caption); }

  std::string name;
  std::string caption;
  int value = 0;
  std::function<void()> on_click;
};

// An unsorted list box: lines and the current index (-1 when none).
class ListBox {
 public:
  explicit ListBox(std::string name) : name(std::move(name)) {}
  void AddItem(std::string line) { lines.push_back(std::move(line)); }
  void Clear() {
    lines.clear();
    list_index = -1;
  }
  int ListCount() const { return static_cast<int>(lines.size()); }

  std::string name;
  std::vector<std::string> lines;
  int list_index = -1;
};

struct TextBox {
  std::string name;
  std::string text;
};

struct Label {
  std::string name;
  std::string caption;
};

// A timer of the window. It ticks one interval after it was enabled or after its previous
// tick began; enabling a running timer does not restart it.
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

}  // namespace lorvan::app
