#pragma once
// Programs started with a window style (CreateProcess), activated by task id, sent key strokes.
#include <map>

#include "platform/processes.h"

namespace lorvan::win32 {

class Win32Processes : public platform::Processes {
 public:
  Win32Processes() = default;
  ~Win32Processes() override;
  Win32Processes(const Win32Processes&) = delete;
  Win32Processes& operator=(const Win32Processes&) = delete;
  // The task id is the process id.
  int32_t Shell(const std::string& command_line, int window_style) override;
  // Finds the task's top-level window and brings it to the front.
  // A program this one started whose process has ended.
  bool HasEnded(int32_t task_id) override;
  bool AppActivate(int32_t task_id) override;
  // Sends the keys to the window that AppActivate brought to the front (if it is still there),
  // else to the foreground window; never to this program's own windows.
  void SendKeys(const std::string& keys, bool wait) override;

 private:
  void* activated_ = nullptr;  // the window last activated (HWND)
  std::map<int32_t, void*> started_;  // process handles (HANDLE) of the started programs
};

}  // namespace lorvan::win32
