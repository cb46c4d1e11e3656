#pragma once
// The player's message interface: the window class, the message numbers, the numbered
// requests and the menu commands. The one list of them, read by the player link, the
// simulated player, the mpv adapter and the Windows stand-in player. Plain C++ with no
// other include, so that a Windows program can include it beside <windows.h> (whose WM_USER
// and WM_COMMAND macros these names leave alone).
#include <cstdint>

namespace lorvan::player {

// The class name of the player's main window.
constexpr const char* kWinampClass = "Winamp v1.x";

// Window message numbers.
constexpr uint32_t kWmUser = 1024;     // WM_USER: a numbered request, the number in lParam
constexpr uint32_t kWmCommand = 273;   // WM_COMMAND: a menu command in wParam
constexpr uint32_t kWmCopyData = 74;   // WM_COPYDATA: a record for the player (dwData below)

// Numbered requests (lParam of WM_USER); IPC_PLAYFILE is also the dwData of the copy-data
// record that appends a file to the playlist.
enum IpcRequest : int32_t {
  IPC_GETVERSION = 0,
  IPC_PLAYFILE = 100,
  IPC_DELETE = 101,
  IPC_STARTPLAY = 102,
  IPC_CHDIR = 103,
  IPC_ISPLAYING = 104,
  IPC_GETOUTPUTTIME = 105,
  IPC_JUMPTOTIME = 106,
  IPC_WRITEPLAYLIST = 120,
  IPC_SETPLAYLISTPOS = 121,
  IPC_SETVOLUME = 122,
  IPC_SETPANNING = 123,
  IPC_GETLISTLENGTH = 124,
  IPC_GETLISTPOS = 125,
  IPC_GETINFO = 126,
  IPC_GETEQDATA = 127,
  IPC_SETEQDATA = 128,
};

// Menu commands (wParam of WM_COMMAND).
enum MenuCommand : int32_t {
  WINAMP_OPTIONS_PREFS = 40012,
  WINAMP_OPTIONS_AOT = 40019,
  WINAMP_FILE_PLAY = 40029,
  WINAMP_OPTIONS_EQ = 40036,
  WINAMP_OPTIONS_PLEDIT = 40040,
  WINAMP_HELP_ABOUT = 40041,
  WINAMP_BUTTON_BASE = 40044,  // the first of the five buttons: previous entry
  WINAMP_BUTTON_PLAY = 40045,
  WINAMP_BUTTON_PAUSE = 40046,
  WINAMP_BUTTON_STOP = 40047,
  WINAMP_BUTTON_NEXT = 40048,
  WINAMP_VOLUMEUP = 40058,
  WINAMP_VOLUMEDOWN = 40059,
  WINAMP_FFWD5S = 40060,
  WINAMP_REW5S = 40061,
  WINAMP_PREV = 40198,
};

// Equalizer positions of requests 127 and 128: bands 0 to 9, then these; values 0 to 63.
constexpr int32_t kEqPreAmp = 10;
constexpr int32_t kEqSwitch = 11;
constexpr int32_t kEqValueMax = 63;

}  // namespace lorvan::player
