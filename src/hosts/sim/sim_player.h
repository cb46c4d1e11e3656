#pragma once
// The stand-in player: a window that answers the player's message protocol from its scripted
// state, plays a simple playlist in virtual time, and records every message it receives.
//
// Its window exists from the beginning; starting the player's command line makes it appear
// (when autostart is on); it can vanish and reappear under a new handle. A vanished player
// has stopped and forgotten its playlist; its scripted answers (version, length, bit rate,
// sample rate) and its equalizer memory stay, as a real player keeps them in its settings.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
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
  platform::Hwnd hwnd() const { return hwnd_; }
  // A program was started: the player's command line makes the window appear.
  void OnProgramStarted(const std::string& command_line, int32_t task_id);
  int32_t task_id() const { return task_id_; }

  // The messages since the previous take, in the `dump messages` format.
  std::vector<std::string> TakeMessages();

  // Scripted state, set directly at the current virtual moment.
  void SetVersion(int32_t version) { version_ = version; }
  void SetStatus(int32_t status);
  void SetPosition(int32_t ms);
  void SetLength(int32_t seconds);
  void SetBitrate(int32_t kbps) { bitrate_ = kbps; }
  void SetSamplerate(int32_t rate) { samplerate_ = rate; }
  void SetEqBand(int band, int32_t value) { eq_bands_.at(static_cast<size_t>(band)) = value; }
  void SetPreamp(int32_t value) { preamp_ = value; }
  void SetEqOn(bool on) { eq_on_ = on; }
  // The current track ends by itself: stopped, position -1.
  void EndTrack();
  // A malformed player: from now on the request (lParam of WM_USER) with this argument
  // (wParam) is answered with value instead of the player's own answer; the request still
  // does what it does. ClearAnswer gives the answer back to the player.
  void SetAnswer(int32_t request, int32_t wparam, int32_t value) { answers_[{request, wparam}] = value; }
  void ClearAnswer(int32_t request, int32_t wparam) { answers_.erase({request, wparam}); }
  // The window disappears right after the lookups-th lookup from now that finds it, so the
  // message that follows that lookup goes nowhere (1: the next lookup).
  void VanishAfterLookups(int32_t lookups) { vanish_after_lookups_ = lookups; }

  // What the player is doing now.
  int32_t Status();
  int32_t Position();
  int32_t EqBand(int band) const { return eq_bands_.at(static_cast<size_t>(band)); }
  int32_t Preamp() const { return preamp_; }
  bool EqOn() const { return eq_on_; }
  int32_t Volume() const { return volume_; }
  int32_t Panning() const { return panning_; }
  const std::vector<std::string>& Playlist() const { return playlist_; }
  const std::string& CurrentFile() const { return current_file_; }
  const std::string& WorkingFolder() const { return working_folder_; }

  bool autostart = true;

 private:
  bool Receives(platform::Hwnd hwnd) const { return hwnd != 0 && hwnd == hwnd_; }
  void Record(const char* kind, uint32_t msg, int32_t wparam, int32_t lparam);
  int32_t OnRequest(int32_t wparam, int32_t lparam);
  void OnCommand(int32_t command);
  // Brings the playing position up to the current virtual time; a track that reaches its
  // length ends.
  void Settle();
  // Moves the position of a loaded track (playing or paused).
  void MoveTo(int64_t ms);

  SimClock& clock_;
  platform::Hwnd hwnd_ = 0x10010;
  platform::Hwnd next_hwnd_ = 0x10020;
  int32_t task_id_ = 0;
  std::vector<std::string> messages_;
  std::map<std::pair<int32_t, int32_t>, int32_t> answers_;  // (request, wparam) -> answer
  int32_t vanish_after_lookups_ = 0;                        // 0: the window stays

  int32_t version_ = 8192;
  int32_t status_ = 0;
  int32_t position_ = -1;        // at position_since_ms_
  int64_t position_since_ms_ = 0;
  int32_t length_s_ = 0;
  int32_t bitrate_ = 0;
  int32_t samplerate_ = 0;
  std::array<int32_t, 10> eq_bands_{31, 31, 31, 31, 31, 31, 31, 31, 31, 31};
  int32_t preamp_ = 31;
  bool eq_on_ = false;
  int32_t eq_selected_ = -1;  // the position the most recent request 127 read
  int32_t volume_ = 255;
  int32_t panning_ = 0;
  std::vector<std::string> playlist_;
  int32_t list_pos_ = 0;
  std::string current_file_;
  std::string folder_chars_;
  std::string working_folder_;
};

}  // namespace lorvan::sim
