#pragma once
// The main window's portable controls: a host view shows them, the core holds their logic.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "event/timer.h"
#include "navigation/list_box.h"

namespace lorvan::app {

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

// The listing and the preview the browser fills.
using navigation::ListBox;

struct TextBox {
  std::string name;
  std::string text;
};

struct Label {
  std::string name;
  std::string caption;
};

// The timers of the window tick on the event loop.
using event::Timer;

}  // namespace lorvan::app
