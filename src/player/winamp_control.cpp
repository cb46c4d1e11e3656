#include "player/winamp_control.h"

#include "app/event_loop.h"

namespace lorvan::player {

clsWinampControl::clsWinampControl(platform::Platform& platform, app::EventLoop& loop)
    : platform_(platform), loop_(loop) {}

platform::Hwnd clsWinampControl::GetWinampHwnd() { return platform_.messages.FindWindowA("Winamp v1.x"); }
bool clsWinampControl::IsWinampLoaded() { return platform_.messages.FindWindowA("Winamp v1.x") != 0; }
std::string clsWinampControl::GetWinampVersion() { return {}; }
void clsWinampControl::PlaySong() {}
void clsWinampControl::StopSong() {}
void clsWinampControl::PauseSong() {}
void clsWinampControl::AddToPlaylistNew(const std::string& Filename) { msFilenameAnsi = Filename; }
void clsWinampControl::ClearPlaylist() {}
void clsWinampControl::SetWorkingFolder(const std::string&) {}
int32_t clsWinampControl::GetPlayStatus() { return 0; }
int32_t clsWinampControl::GetCurrentPos() { return -1; }
int32_t clsWinampControl::GetCurrentSongLength() { return 0; }
int32_t clsWinampControl::GetSamplerate() { return 0; }
int32_t clsWinampControl::GetBitrate() { return 0; }
int32_t clsWinampControl::JumpToTime(const int32_t&) { return 0; }
int16_t clsWinampControl::WritePlayList() { return 0; }
void clsWinampControl::SetPlayListPos(const int32_t&) {}
int16_t clsWinampControl::SetVolume(int16_t& VolumeLevel) { return VolumeLevel; }
void clsWinampControl::SetPanning(int16_t&) {}
int32_t clsWinampControl::GetPlayListLength() { return 0; }
void clsWinampControl::ToggleEQWindow() {}
void clsWinampControl::TogglePlayList() {}
void clsWinampControl::PressButton(const int32_t&, const int32_t&) {}
void clsWinampControl::IncreaseVolume() {}
void clsWinampControl::DecreaseVolume() {}
void clsWinampControl::FastForward() {}
void clsWinampControl::Rewind() {}
void clsWinampControl::PreviousSong() {}
void clsWinampControl::ShowLoadFile() {}
void clsWinampControl::ShowOptions() {}
void clsWinampControl::ToggleAlwaysOnTop() {}
void clsWinampControl::ShowAbout() {}
void clsWinampControl::SetEqualizerValue(int32_t, int32_t) {}
int32_t clsWinampControl::GetEqualizerValue(int32_t) { return 31; }
void clsWinampControl::SetPreAmpValue(int32_t) {}
int32_t clsWinampControl::GetPreAmpValue() { return 31; }
void clsWinampControl::ToggleEqEnabled() {}
bool clsWinampControl::GetEqEnabled() { return false; }

}  // namespace lorvan::player
