#pragma once
// Modal message boxes.
#include <string>

namespace lorvan::platform {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a box with one OK button and no icon; returns once it is answered.
  virtual void MsgBox(const std::string& text, const std::string& title) = 0;
};

}  // namespace lorvan::platform
