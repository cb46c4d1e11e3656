#include "player/winamp_control.h"

#include <algorithm>
#include <limits>

#include "event/event_loop.h"
#include "player/winamp_messages.h"
#include "player/winamp_version.h"

namespace lorvan::player {
namespace {

constexpr const char* kWinampCommandLine = "Winamp.exe";
constexpr const char* kMsgBoxTitle = "Winamp Control";

}  // namespace

clsWinampControl::clsWinampControl(platform::Platform& platform, event::EventLoop& loop)
    : platform_(platform), loop_(loop) {}

platform::Hwnd clsWinampControl::GetWinampHwnd() {
  if (const platform::Hwnd h = platform_.messages.FindWindowA(kWinampClass)) {
    outage_reported_ = false;
    return h;
  }
  // A program that has ended starts no player; a handler finishing below its end gets no window.
  if (loop_.Ended()) return 0;
  if (!start_under_way_) {
    int32_t task = 0;
    try {
      task = platform_.processes.Shell(kWinampCommandLine, platform::kNormalFocus);
    } catch (const platform::StartError& e) {
      // A command line that cannot run: told once an outage, and tried again next time.
      ReportOutage(std::string("Winamp cannot be started: ") + e.what() + ". The next command will try again.");
      return 0;
    }
    if (on_player_started) on_player_started(task);
    start_under_way_ = true;
    start_task_ = task;
    ++start_attempt_;
    start_began_ms_ = loop_.NowMs();
  }
  return WaitForStartedPlayer(start_attempt_);
}

void clsWinampControl::ReportOutage(const std::string& text) {
  if (outage_reported_) return;
  outage_reported_ = true;
  platform_.dialogs.MsgBox(text, kMsgBoxTitle);
}

platform::Hwnd clsWinampControl::WaitForStartedPlayer(uint64_t attempt) {
  for (;;) {
    // A player whose window is there at once is used without yielding.
    if (const platform::Hwnd h = platform_.messages.FindWindowA(kWinampClass)) {
      if (start_attempt_ == attempt) start_under_way_ = false;
      outage_reported_ = false;
      return h;
    }
    // The start ended while a nested call waited: it either gave up (and said so) or its
    // window came and went again; either way this call's message goes nowhere.
    if (!start_under_way_ || start_attempt_ != attempt) return 0;
    // The started player ended without a window: nothing more will come, so no waiting.
    if (platform_.processes.HasEnded(start_task_)) {
      start_under_way_ = false;
      ReportOutage(std::string("Winamp ended right after starting \"") + kWinampCommandLine +
                   "\" without opening its window. The next command will start it again.");
      return 0;
    }
    if (loop_.NowMs() - start_began_ms_ >= kPlayerWindowWaitMs) {
      start_under_way_ = false;
      // The refresh tick tries again at once; one box tells of the whole outage.
      ReportOutage(std::string("Winamp did not open its window within 30 seconds after starting \"") +
                   kWinampCommandLine + "\". The next command will start it again.");
      return 0;
    }
    // Clicks and timers run meanwhile and may enter this class; they wait for the same start.
    loop_.DoEvents();
    // One of them ended the program: nobody waits for the player any more.
    if (loop_.Ended()) {
      if (start_attempt_ == attempt) start_under_way_ = false;
      return 0;
    }
  }
}

bool clsWinampControl::IsWinampLoaded() { return platform_.messages.FindWindowA(kWinampClass) != 0; }

int32_t clsWinampControl::Request(platform::Hwnd hwnd, int32_t wparam, int32_t lparam) {
  if (hwnd == 0) return 0;
  return platform_.messages.SendMessageA(hwnd, kWmUser, wparam, lparam);
}

void clsWinampControl::Command(int32_t command) {
  if (const platform::Hwnd h = GetWinampHwnd()) platform_.messages.SendMessageA(h, kWmCommand, command, 0);
}

platform::Hwnd clsWinampControl::PassVersionGate(int32_t lowest, const char* refusal) {
  const platform::Hwnd h = GetWinampHwnd();
  if (h == 0) return 0;
  if (Request(h, 0, IPC_GETVERSION) >= lowest) return h;
  platform_.dialogs.MsgBox(refusal, kMsgBoxTitle);
  return 0;
}

std::string clsWinampControl::GetWinampVersion() {
  return WinampVersionText(Request(GetWinampHwnd(), 0, IPC_GETVERSION));
}

void clsWinampControl::PlaySong() { Command(WINAMP_BUTTON_PLAY); }
void clsWinampControl::StopSong() { Command(WINAMP_BUTTON_STOP); }
void clsWinampControl::PauseSong() { Command(WINAMP_BUTTON_PAUSE); }

void clsWinampControl::AddToPlaylistNew(const std::string& Filename) {
  // The name is taken now and the record filled only after the lookup: a call entering
  // while the lookup waits for a starting player may replace the stored copy.
  std::string name = Filename;
  const platform::Hwnd h = GetWinampHwnd();
  msFilenameAnsi = std::move(name);
  platform::CopyDataStruct record;
  record.dwData = IPC_PLAYFILE;
  record.cbData = static_cast<uint32_t>(msFilenameAnsi.size() + 1);
  record.lpData = msFilenameAnsi.c_str();
  if (h != 0) platform_.messages.SendCopyData(h, 0, record);
}

void clsWinampControl::ClearPlaylist() { Request(GetWinampHwnd(), 0, IPC_DELETE); }

void clsWinampControl::SetWorkingFolder(const std::string& Folder) {
  const std::string folder = Folder;
  const platform::Hwnd h = GetWinampHwnd();
  if (h == 0) return;
  for (const char c : folder) platform_.messages.PostMessageA(h, kWmUser, static_cast<unsigned char>(c), IPC_CHDIR);
  platform_.messages.PostMessageA(h, kWmUser, 0, IPC_CHDIR);
}

int32_t clsWinampControl::GetPlayStatus() {
  const int32_t answer = Request(GetWinampHwnd(), 0, IPC_ISPLAYING);
  return (answer < 0 || answer > 3) ? 2 : answer;
}

int32_t clsWinampControl::GetCurrentPos() { return Request(GetWinampHwnd(), 0, IPC_GETOUTPUTTIME); }
int32_t clsWinampControl::GetCurrentSongLength() { return Request(GetWinampHwnd(), 1, IPC_GETOUTPUTTIME); }
int32_t clsWinampControl::GetSamplerate() { return Request(GetWinampHwnd(), 0, IPC_GETINFO); }
int32_t clsWinampControl::GetBitrate() { return Request(GetWinampHwnd(), 1, IPC_GETINFO); }

int32_t clsWinampControl::JumpToTime(const int32_t& TimeMS) {
  const int32_t time = TimeMS;
  const platform::Hwnd h = PassVersionGate(kVersion160, "JumpToTime is only available in Winamp v1.60 and above.");
  return Request(h, time, IPC_JUMPTOTIME);
}

int16_t clsWinampControl::WritePlayList() {
  const platform::Hwnd h =
      PassVersionGate(kVersion1666, "WritePlayList is only available in Winamp v1.666 and above.");
  // An answer beyond the 16-bit range is held at its end rather than wrapped.
  const int32_t answer = Request(h, 0, IPC_WRITEPLAYLIST);
  return static_cast<int16_t>(std::clamp<int32_t>(answer, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

void clsWinampControl::SetPlayListPos(const int32_t& ListPos) {
  const int32_t pos = ListPos;
  const platform::Hwnd h = PassVersionGate(kVersion200, "SetPlayListPos is only available in Winamp v2.0 and above.");
  Request(h, pos, IPC_SETPLAYLISTPOS);
}

int16_t clsWinampControl::SetVolume(int16_t& VolumeLevel) {
  if (VolumeLevel > 255) VolumeLevel = 255;
  if (VolumeLevel < 0) VolumeLevel = 0;
  const int16_t level = VolumeLevel;
  const platform::Hwnd h = PassVersionGate(kVersion200, "SetVolume is only available in Winamp v2.0 and above.");
  if (h == 0) return 0;
  Request(h, level, IPC_SETVOLUME);
  return level;
}

void clsWinampControl::SetPanning(int16_t& Panning) {
  if (Panning < -127) Panning = -127;
  if (Panning > 127) Panning = 127;
  // The player takes 0..127 for the centre and the right, 128..254 for the left.
  if (Panning < 0) Panning = static_cast<int16_t>(Panning + 255);
  const int16_t panning = Panning;
  const platform::Hwnd h = PassVersionGate(kVersion200, "SetPanning is only available in Winamp v2.0 and above.");
  Request(h, panning, IPC_SETPANNING);
}

int32_t clsWinampControl::GetPlayListLength() {
  const platform::Hwnd h =
      PassVersionGate(kVersion200, "GetPlayListLength is only available in Winamp v2.0 and above.");
  return Request(h, 0, IPC_GETLISTLENGTH);
}

void clsWinampControl::ToggleEQWindow() { Command(WINAMP_OPTIONS_EQ); }
void clsWinampControl::TogglePlayList() { Command(WINAMP_OPTIONS_PLEDIT); }

void clsWinampControl::PressButton(const int32_t& Button, const int32_t& ShiftState) {
  // 32-bit arithmetic that wraps instead of overflowing.
  const uint32_t command =
      static_cast<uint32_t>(WINAMP_BUTTON_BASE) + static_cast<uint32_t>(Button) + static_cast<uint32_t>(ShiftState);
  Command(static_cast<int32_t>(command));
}

void clsWinampControl::IncreaseVolume() { Command(WINAMP_VOLUMEUP); }
void clsWinampControl::DecreaseVolume() { Command(WINAMP_VOLUMEDOWN); }
void clsWinampControl::FastForward() { Command(WINAMP_FFWD5S); }
void clsWinampControl::Rewind() { Command(WINAMP_REW5S); }

void clsWinampControl::PreviousSong() {
  const platform::Hwnd h =
      PassVersionGate(kVersion1666, "PreviousSong command is only available in Winamp v1.666 and above.");
  if (h != 0) platform_.messages.SendMessageA(h, kWmCommand, WINAMP_PREV, 0);
}

void clsWinampControl::ShowLoadFile() { Command(WINAMP_FILE_PLAY); }
void clsWinampControl::ShowOptions() { Command(WINAMP_OPTIONS_PREFS); }
void clsWinampControl::ToggleAlwaysOnTop() { Command(WINAMP_OPTIONS_AOT); }
void clsWinampControl::ShowAbout() { Command(WINAMP_HELP_ABOUT); }

int32_t clsWinampControl::ReadEqPosition(int32_t position, platform::Hwnd& hwnd) {
  hwnd = GetWinampHwnd();
  return Request(hwnd, position, IPC_GETEQDATA);
}

int32_t clsWinampControl::EqBandQuery(int32_t band, platform::Hwnd& hwnd) {
  hwnd = 0;
  if (band < 0 || band > 9) return -1;
  return ReadEqPosition(band, hwnd);
}

int32_t clsWinampControl::PreAmpQuery(platform::Hwnd& hwnd) { return ReadEqPosition(kEqPreAmp, hwnd); }

void clsWinampControl::SetEqualizerValue(int32_t EqBand, int32_t EqValue) {
  if (EqBand < 0 || EqBand > 9 || EqValue < 0 || EqValue > kEqValueMax) return;
  // The read selects the position that the write (request 128) goes to.
  platform::Hwnd h = 0;
  EqBandQuery(EqBand, h);
  if (h == 0) return;
  h = GetWinampHwnd();
  Request(h, EqValue, IPC_SETEQDATA);
}

int32_t clsWinampControl::GetEqualizerValue(int32_t EqBand) {
  platform::Hwnd h = 0;
  return EqBandQuery(EqBand, h);
}

void clsWinampControl::SetPreAmpValue(int32_t PreAmpValue) {
  if (PreAmpValue < 0 || PreAmpValue > kEqValueMax) return;
  platform::Hwnd h = 0;
  PreAmpQuery(h);
  if (h == 0) return;
  h = GetWinampHwnd();
  Request(h, PreAmpValue, IPC_SETEQDATA);
}

int32_t clsWinampControl::GetPreAmpValue() {
  platform::Hwnd h = 0;
  return PreAmpQuery(h);
}

void clsWinampControl::ToggleEqEnabled() {
  platform::Hwnd h = 0;
  const bool on = ReadEqPosition(kEqSwitch, h) != 0;
  if (h == 0) return;
  h = GetWinampHwnd();
  Request(h, on ? 0 : -1, IPC_SETEQDATA);
}

bool clsWinampControl::GetEqEnabled() {
  platform::Hwnd h = 0;
  return ReadEqPosition(kEqSwitch, h) != 0;
}

}  // namespace lorvan::player
