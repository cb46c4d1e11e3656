#pragma once
// Programs started with a window style (CreateProcess), activated by task id, sent key strokes.
#include "platform/processes.h"

namespace lorvan::win32 {

class Win32Processes : public platform::Processes {
 public:
  // The task id is the process id.
  int32_t Shell(const std::string& command_line, int window_style) override;
  // Finds the task's top-level window and brings it to the front.
  bool AppActivate(int32_t task_id) override;
  // Sends the keys to the window that AppActivate brought to the front (if it is still there),
  // else to the foreground window; never to this program's own windows.
  void SendKeys(const std::string& keys, bool wait) override;

 private:
  void* activated_ = nullptr;  // the window last activated (HWND)
};

}  // namespace lorvan::win32
