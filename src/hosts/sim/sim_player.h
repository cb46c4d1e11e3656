#pragma once
// The stand-in player: a window that answers the player's message protocol and records
// every message it receives.
#include <cstdint>
#include <string>
#include <vector>

#include "hosts/sim/sim_clock.h"
#include "platform/window_messages.h"

namespace lorvan::sim {

class SimPlayer : public platform::WindowMessages {
 public:
  explicit SimPlayer(SimClock& clock) : clock_(clock) {}

  platform::Hwnd FindWindowA(const std::string& class_name) override;
  int32_t SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  bool PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  int32_t SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) override;

  // The window appears (under a new handle) or disappears.
  void SetWindow(bool present);
  bool WindowPresent() const { return hwnd_ != 0; }
  // A program was started: the player's command line makes the window appear.
  void OnProgramStarted(const std::string& command_line, int32_t task_id);
  int32_t task_id() const { return task_id_; }

  // The messages since the previous take, in the `dump messages` format.
  std::vector<std::string> TakeMessages();

  bool autostart = true;

 private:
  SimClock& clock_;
  platform::Hwnd hwnd_ = 0x10010;
  platform::Hwnd next_hwnd_ = 0x10020;
  int32_t task_id_ = 0;
  std::vector<std::string> messages_;
};

}  // namespace lorvan::sim
