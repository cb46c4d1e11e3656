#pragma once
// Starting programs, activating their windows and sending them key strokes.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace lorvan::platform {

// Window styles of the run-time's Shell call.
enum WindowStyle : int {
  kHide = 0,
  kNormalFocus = 1,
  kMinimizedFocus = 2,
  kMaximizedFocus = 3,
  kNormalNoFocus = 4,
  kMinimizedNoFocus = 6,
};

// Raised when a program cannot be started; the message names the command line.
class StartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line and returns its task id; throws StartError when it cannot run.
  virtual int32_t Shell(const std::string& command_line, int window_style) = 0;
  // Whether the task started by Shell has ended (its process is gone); false while it runs
  // and for a task id this host does not know.
  virtual bool HasEnded(int32_t task_id) = 0;
  // Brings the main window of the task to the front; false when there is none.
  virtual bool AppActivate(int32_t task_id) = 0;
  // Sends a key combination in SendKeys notation ("%{F4}") to the active window.
  virtual void SendKeys(const std::string& keys, bool wait) = 0;
};

}  // namespace lorvan::platform
