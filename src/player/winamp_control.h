#pragma once
// The player link: every message to the player goes through this class.
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace lorvan::app {
class EventLoop;
}

namespace lorvan::player {

class clsWinampControl {
 public:
  clsWinampControl(platform::Platform& platform, app::EventLoop& loop);

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

 private:
  platform::Platform& platform_;
  app::EventLoop& loop_;
  std::string msFilenameAnsi;
};

}  // namespace lorvan::player
