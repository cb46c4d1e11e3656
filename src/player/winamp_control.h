#pragma once
// The player link: every message to the player goes through this class.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"

namespace lorvan::event {
class EventLoop;
}

namespace lorvan::player {

// How long a lookup waits for a player it has started, in milliseconds of the host's clock.
constexpr int64_t kPlayerWindowWaitMs = 30000;

class clsWinampControl {
 public:
  clsWinampControl(platform::Platform& platform, event::EventLoop& loop);

  // The player's window; starts the player and waits for its window when it is missing.
  // Returns 0 when the player cannot be started, when the started player ended without a
  // window, or when it opened none within kPlayerWindowWaitMs; each outage is told once.
  platform::Hwnd GetWinampHwnd();
  bool IsWinampLoaded();
  std::string GetWinampVersion();
  void PlaySong();
  void StopSong();
  void PauseSong();
  void AddToPlaylistNew(const std::string& Filename);
  void ClearPlaylist();
  void SetWorkingFolder(const std::string& Folder);
  int32_t GetPlayStatus();
  int32_t GetCurrentPos();
  int32_t GetCurrentSongLength();
  int32_t GetSamplerate();
  int32_t GetBitrate();
  int32_t JumpToTime(const int32_t& TimeMS);
  int16_t WritePlayList();
  void SetPlayListPos(const int32_t& ListPos);
  int16_t SetVolume(int16_t& VolumeLevel);
  void SetPanning(int16_t& Panning);
  int32_t GetPlayListLength();
  void ToggleEQWindow();
  void TogglePlayList();
  void PressButton(const int32_t& Button, const int32_t& ShiftState);
  void IncreaseVolume();
  void DecreaseVolume();
  void FastForward();
  void Rewind();
  void PreviousSong();
  void ShowLoadFile();
  void ShowOptions();
  void ToggleAlwaysOnTop();
  void ShowAbout();
  void SetEqualizerValue(int32_t EqBand, int32_t EqValue);
  int32_t GetEqualizerValue(int32_t EqBand);
  void SetPreAmpValue(int32_t PreAmpValue);
  int32_t GetPreAmpValue();
  void ToggleEqEnabled();
  bool GetEqEnabled();

  // Told the task id of every player this class starts, so that its owner can close that one.
  std::function<void(int32_t task_id)> on_player_started;

 private:
  // A numbered request (WM_USER) to the window; 0 when there is no window.
  int32_t Request(platform::Hwnd hwnd, int32_t wparam, int32_t lparam);
  // A menu command (WM_COMMAND) to the player's window.
  void Command(int32_t command);
  // The window when the player's version is at least `lowest`; otherwise shows `refusal`
  // and gives 0. Also 0, silently, when no window could be had.
  platform::Hwnd PassVersionGate(int32_t lowest, const char* refusal);
  // Reads an equalizer position (request 127), which also selects it for the next write;
  // `hwnd` receives the window used (0: none could be had, nothing was sent).
  int32_t ReadEqPosition(int32_t position, platform::Hwnd& hwnd);
  int32_t EqBandQuery(int32_t band, platform::Hwnd& hwnd);
  int32_t PreAmpQuery(platform::Hwnd& hwnd);
  // Waits, yielding to the event loop, until the started player's window exists or the
  // start `attempt` is over; 0 when it ends without a window.
  platform::Hwnd WaitForStartedPlayer(uint64_t attempt);
  // Shows the text in a box unless this outage (the time without a player window) was told.
  void ReportOutage(const std::string& text);

  platform::Platform& platform_;
  event::EventLoop& loop_;
  std::string msFilenameAnsi;

  // The start of the player under way, shared by every call that waits for it, so that a
  // call entering during the wait never starts a second player. Nothing about the player
  // itself is kept.
  bool start_under_way_ = false;
  int32_t start_task_ = 0;
  uint64_t start_attempt_ = 0;
  int64_t start_began_ms_ = 0;
  // A player that stays away is reported once, until its window has been seen again.
  bool outage_reported_ = false;
};

}  // namespace lorvan::player
