#include "hosts/sim/sim_player.h"

namespace lorvan::sim {

platform::Hwnd SimPlayer::FindWindowA(const std::string& class_name) {
  return class_name == "Winamp v1.x" ? hwnd_ : 0;
}

int32_t SimPlayer::SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0 || hwnd != hwnd_) return 0;
  messages_.push_back("send " + std::to_string(msg) + " " + std::to_string(wparam) + " " + std::to_string(lparam));
  return 0;
}

bool SimPlayer::PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (hwnd == 0 || hwnd != hwnd_) return false;
  messages_.push_back("post " + std::to_string(msg) + " " + std::to_string(wparam) + " " + std::to_string(lparam));
  return true;
}

int32_t SimPlayer::SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) {
  if (hwnd == 0 || hwnd != hwnd_) return 0;
  std::string text(static_cast<const char*>(data.lpData), data.cbData > 0 ? data.cbData - 1 : 0);
  messages_.push_back("send 74 " + std::to_string(wparam) + " copydata " + std::to_string(data.dwData) + " " +
                      std::to_string(data.cbData) + " " + text);
  return 0;
}

void SimPlayer::SetWindow(bool present) {
  if (present && hwnd_ == 0) hwnd_ = next_hwnd_++;
  if (!present) hwnd_ = 0;
}

void SimPlayer::OnProgramStarted(const std::string& command_line, int32_t task_id) {
  if (command_line.find("Hardstop") != std::string::npos) return;
  task_id_ = task_id;
  if (autostart) SetWindow(true);
}

std::vector<std::string> SimPlayer::TakeMessages() {
  auto out = std::move(messages_);
  messages_.clear();
  return out;
}

}  // namespace lorvan::sim
