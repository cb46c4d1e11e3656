#include "hosts/sim/sim_player.h"

#include <algorithm>
#include <limits>

#include "player/winamp_messages.h"

namespace lorvan::sim {
namespace {

using namespace player;

constexpr int32_t kSeekStepMs = 5000;

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

platform::Hwnd SimPlayer::FindWindowA(const std::string& class_name) {
  if (class_name != kWinampClass) return 0;
  const platform::Hwnd found = hwnd_;
  if (found != 0 && vanish_after_lookups_ > 0 && --vanish_after_lookups_ == 0) SetWindow(false);
  return found;
}

void SimPlayer::Record(const char* kind, uint32_t msg, int32_t wparam, int32_t lparam) {
  messages_.push_back(std::string(kind) + " " + std::to_string(msg) + " " + std::to_string(wparam) + " " +
                      std::to_string(lparam));
}

int32_t SimPlayer::SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (!Receives(hwnd)) return 0;
  Record("send", msg, wparam, lparam);
  if (msg == kWmUser) {
    const int32_t answer = OnRequest(wparam, lparam);
    const auto scripted = answers_.find({lparam, wparam});
    return scripted == answers_.end() ? answer : scripted->second;
  }
  if (msg == kWmCommand) OnCommand(wparam);
  return 0;
}

bool SimPlayer::PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) {
  if (!Receives(hwnd)) return false;
  Record("post", msg, wparam, lparam);
  // Posted messages are taken from the queue in order; nothing else runs in between here.
  if (msg == kWmUser) OnRequest(wparam, lparam);
  if (msg == kWmCommand) OnCommand(wparam);
  return true;
}

int32_t SimPlayer::SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) {
  if (!Receives(hwnd)) return 0;
  std::string text;
  if (data.lpData != nullptr && data.cbData > 0) text.assign(static_cast<const char*>(data.lpData), data.cbData - 1);
  messages_.push_back("send " + std::to_string(kWmCopyData) + " " + std::to_string(wparam) + " copydata " + std::to_string(data.dwData) + " " +
                      std::to_string(data.cbData) + " " + text);
  if (data.dwData == IPC_PLAYFILE) playlist_.push_back(text);
  return 0;
}

int32_t SimPlayer::OnRequest(int32_t wparam, int32_t lparam) {
  Settle();
  switch (lparam) {
    case IPC_GETVERSION:
      return version_;
    case IPC_DELETE:
      playlist_.clear();
      list_pos_ = 0;
      return 0;
    case IPC_CHDIR:
      // The working folder arrives one character a message, ended by 0.
      if (wparam == 0) {
        working_folder_ = folder_chars_;
        folder_chars_.clear();
      } else {
        folder_chars_ += static_cast<char>(wparam & 0xFF);
      }
      return 0;
    case IPC_ISPLAYING:
      return status_;
    case IPC_GETOUTPUTTIME:
      if (wparam == 0) return position_;
      if (wparam == 1) return length_s_;
      if (wparam == 2) return ToInt32(int64_t{length_s_} * 1000);
      return -1;
    case IPC_JUMPTOTIME:
      if (status_ != 1 && status_ != 3) return -1;
      MoveTo(wparam);
      return 0;
    case IPC_WRITEPLAYLIST:
    case IPC_GETLISTPOS:
      return list_pos_;
    case IPC_SETPLAYLISTPOS:
      list_pos_ = wparam;
      return 0;
    case IPC_SETVOLUME:
      if (wparam == -666) return volume_;
      volume_ = wparam;
      return 0;
    case IPC_SETPANNING:
      panning_ = wparam;
      return 0;
    case IPC_GETLISTLENGTH:
      return static_cast<int32_t>(playlist_.size());
    case IPC_GETINFO:
      if (wparam == 0) return samplerate_;
      if (wparam == 1) return bitrate_;
      if (wparam == 2) return 2;
      return 0;
    case IPC_GETEQDATA:
      eq_selected_ = wparam;
      if (wparam >= 0 && wparam <= 9) return eq_bands_[static_cast<size_t>(wparam)];
      if (wparam == 10) return preamp_;
      if (wparam == 11) return eq_on_ ? 1 : 0;
      return 0;
    case IPC_SETEQDATA:
      // A write goes to the position the most recent read selected.
      if (eq_selected_ >= 0 && eq_selected_ <= 9) eq_bands_[static_cast<size_t>(eq_selected_)] = wparam;
      if (eq_selected_ == 10) preamp_ = wparam;
      if (eq_selected_ == 11) eq_on_ = wparam != 0;
      return 0;
    default:
      return 0;
  }
}

void SimPlayer::OnCommand(int32_t command) {
  Settle();
  const int64_t now = clock_.MonotonicMs();
  switch (command) {
    case WINAMP_BUTTON_PLAY:  // play: continue from pause, otherwise the playlist's first file from the start
      if (status_ == 3 && position_ >= 0) {
        status_ = 1;
        position_since_ms_ = now;
      } else if (!playlist_.empty()) {
        list_pos_ = 0;
        current_file_ = playlist_.front();
        status_ = 1;
        position_ = 0;
        position_since_ms_ = now;
      }
      break;
    case WINAMP_BUTTON_PAUSE:  // pause
      if (status_ == 1) status_ = 3;
      break;
    case WINAMP_BUTTON_STOP:  // stop
      status_ = 0;
      position_ = -1;
      break;
    case WINAMP_FFWD5S:  // forward 5 s
      MoveTo(int64_t{position_} + kSeekStepMs);
      break;
    case WINAMP_REW5S:  // back 5 s
      MoveTo(std::max<int64_t>(0, int64_t{position_} - kSeekStepMs));
      break;
    default:
      break;
  }
  Settle();
}

void SimPlayer::MoveTo(int64_t ms) {
  if ((status_ != 1 && status_ != 3) || position_ < 0) return;
  position_ = ToInt32(std::max<int64_t>(0, ms));
  position_since_ms_ = clock_.MonotonicMs();
  Settle();
}

void SimPlayer::Settle() {
  const int64_t now = clock_.MonotonicMs();
  if (status_ == 1 && position_ >= 0) {
    const int64_t pos = int64_t{position_} + (now - position_since_ms_);
    if (length_s_ > 0 && pos >= int64_t{length_s_} * 1000) {
      status_ = 0;
      position_ = -1;
    } else {
      position_ = ToInt32(pos);
    }
  }
  position_since_ms_ = now;
}

void SimPlayer::SetStatus(int32_t status) {
  Settle();
  status_ = status;
}

void SimPlayer::SetPosition(int32_t ms) {
  Settle();
  position_ = ms;
  Settle();
}

void SimPlayer::SetLength(int32_t seconds) {
  Settle();
  length_s_ = seconds;
  Settle();
}

void SimPlayer::EndTrack() {
  Settle();
  status_ = 0;
  position_ = -1;
}

int32_t SimPlayer::Status() {
  Settle();
  return status_;
}

int32_t SimPlayer::Position() {
  Settle();
  return position_;
}

void SimPlayer::SetWindow(bool present) {
  if (present && hwnd_ == 0) hwnd_ = next_hwnd_++;
  if (!present && hwnd_ != 0) {
    // The player has closed: nothing plays, the playlist and any half-sent text are gone.
    hwnd_ = 0;
    status_ = 0;
    position_ = -1;
    playlist_.clear();
    list_pos_ = 0;
    current_file_.clear();
    folder_chars_.clear();
    eq_selected_ = -1;
  }
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
