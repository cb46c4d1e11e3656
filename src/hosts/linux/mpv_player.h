#pragma once
// mpv in the place of the player's main window: the player's numbered requests, menu
// commands and copy-data messages translated into mpv's JSON IPC. The socket is the window:
// it exists exactly while the socket accepts connections.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hosts/linux/mpv_ipc.h"
#include "platform/window_messages.h"
#include "player/winamp_messages.h"

namespace lorvan::linuxhost {

// What mpv is to load for one playlist entry.
struct MediaSource {
  std::string url;
  std::string options;      // per-file options of loadfile ("start=#3,end=#4"), may be empty
  double offset_s = 0;      // where the entry starts inside what mpv plays
  double length_s = -1;     // the entry's length when known beforehand (a CD track)
};

// The player's equalizer scale: 0 = +20 dB, 31.5 = 0 dB, 63 = -20 dB.
double EqGainDb(int value);
// The labelled lavfi filters of the equalizer (preamplifier first, then the ten bands).
std::string EqFilterChain(const std::array<int, 10>& bands, int preamp);
extern const std::array<int, 10> kEqBandHz;

class MpvPlayer : public platform::WindowMessages {
 public:
  static constexpr const char* kWindowClass = player::kWinampClass;
  static constexpr int32_t kVersion = 0x5000;

  explicit MpvPlayer(std::string socket_path);

  platform::Hwnd FindWindowA(const std::string& class_name) override;
  int32_t SendMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  bool PostMessageA(platform::Hwnd hwnd, uint32_t msg, int32_t wparam, int32_t lparam) override;
  int32_t SendCopyData(platform::Hwnd hwnd, int32_t wparam, const platform::CopyDataStruct& data) override;

  // The process id of the mpv behind the socket, 0 when none answers.
  int32_t PlayerPid();
  // Asks mpv to quit (the player's window is closed).
  void Close();
  // Handles what mpv reported meanwhile (the end of a track); cheap, never blocks.
  void Poll();
  const std::string& socket_path() const { return ipc_.path(); }
  int fd() const { return ipc_.fd(); }

  // Maps a playlist file name to what mpv loads; the default loads the file itself.
  std::function<std::optional<MediaSource>(const std::string& path)> resolve_media;
  // The process id of the player this program started and that still runs, 0 when none:
  // the socket's peer must be that process (or its child). Empty: any process of this user.
  std::function<int32_t()> started_player_pid;
  // Diagnostics (mpv errors, lost connections); empty by default.
  std::function<void(const std::string&)> log;

  // The adapter's own memory, for the views and the tests.
  int32_t status() const { return status_; }
  const std::vector<std::string>& playlist() const { return playlist_; }
  int volume() const { return volume_; }
  const std::array<int, 10>& eq_bands() const { return eq_bands_; }
  int eq_preamp() const { return eq_preamp_; }
  bool eq_on() const { return eq_on_; }

 private:
  bool Connected();
  void Adopt();
  void OnEvent(const Json& ev);
  void HandleEnded();
  std::optional<Json> Get(const std::string& property);
  void Cmd(const Json& args);

  int32_t Request(int32_t wparam, int32_t lparam);
  void MenuCommand(int32_t id);
  void Play();
  void PlayEntry(size_t index);
  void Stop();
  void Seek(double seconds);
  void SetVolume(int value);
  void ApplyEqualizerLive(int position);
  void ApplyEqualizerChain();
  std::string AbsolutePath(const std::string& path) const;

  MpvIpc ipc_;
  bool refusal_told_ = false;  // a foreign socket at the path was reported
  platform::Hwnd hwnd_ = 0;
  platform::Hwnd next_hwnd_ = 0x20010;
  int32_t pid_ = 0;

  // The playlist and what plays.
  std::vector<std::string> playlist_;
  size_t list_pos_ = 0;
  int32_t status_ = 0;  // 0 stopped, 1 playing, 3 paused
  int64_t current_id_ = -1;     // mpv's playlist entry id of what we loaded
  MediaSource current_{};
  std::set<int64_t> ended_ids_;  // entries mpv reported ended by themselves (eof, error)
  int64_t loaded_id_ = -1;      // the last entry whose file-loaded came
  int64_t starting_id_ = -1;
  bool ended_pending_ = false;

  // Volume and equalizer memory (the equalizer screen reads it without IPC).
  int volume_ = -1;  // 0-255, -1 until set
  int panning_ = 0;
  std::array<int, 10> eq_bands_{31, 31, 31, 31, 31, 31, 31, 31, 31, 31};
  int eq_preamp_ = 31;
  bool eq_on_ = false;
  int eq_position_ = 0;  // the position the last read selected (request 127)
  bool eq_chain_dirty_ = false;

  std::string working_folder_;
  std::string working_folder_building_;
};

}  // namespace lorvan::linuxhost
