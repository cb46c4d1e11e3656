// The stand-in player (built as Winamp.exe): a window of class "Winamp v1.x" that answers the
// player's requests and commands like the real player would, and writes every message it
// gets to player.log beside itself in whole lines (tests read the log while the player runs).
// Like the real player it runs once: a second start finds the first window and ends.
// Optional settings in player.ini beside it, one key=value a line:
//   version=8192  window_delay_ms=0  song_length_s=180  bitrate=128  eq_enabled=0
//   hang_request=-1  hang_ms=0   (a request that keeps the player busy before it answers)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "log_file.h"
#include "player/winamp_messages.h"

namespace {

using namespace lorvan::player;

std::string g_folder;
std::unique_ptr<standin::LogFile> g_log;
std::map<std::string, long> g_config = {
    {"version", 8192}, {"window_delay_ms", 0}, {"song_length_s", 180}, {"bitrate", 128}, {"eq_enabled", 0},
    {"hang_request", -1}, {"hang_ms", 0}};

// The player's state.
std::vector<std::string> g_playlist;
int g_current = 0;
int g_status = 0;  // 0 stopped, 1 playing, 3 paused
ULONGLONG g_started = 0;  // tick at which the position was 0
ULONGLONG g_paused_at = 0;
int g_volume = 255;
int g_panning = 0;
int g_eq[12] = {31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 0};
int g_eq_position = 0;
std::string g_working_folder;

void Log(const char* format, ...) {
  char body[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(body, sizeof body, format, args);
  va_end(args);
  g_log->Append(std::to_string(GetCurrentProcessId()) + " " + body + "\n");
}

void LoadConfig() {
  FILE* f = fopen((g_folder + "\\player.ini").c_str(), "rb");
  if (!f) return;
  char line[256];
  while (fgets(line, sizeof line, f)) {
    std::string s = line;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    const size_t eq = s.find('=');
    if (eq != std::string::npos) g_config[s.substr(0, eq)] = strtol(s.substr(eq + 1).c_str(), nullptr, 10);
  }
  fclose(f);
}

long PositionMs() {
  if (g_status == 0) return -1;
  const ULONGLONG now = g_status == 3 ? g_paused_at : GetTickCount64();
  return static_cast<long>(now - g_started);
}

// A song ends by itself after its length: the player stops.
void CheckSongEnd() {
  if (g_status == 1 && PositionMs() >= g_config["song_length_s"] * 1000) {
    g_status = 0;
    Log("song-end");
  }
}

LRESULT Request(WPARAM w, LPARAM l) {
  const long arg = static_cast<long>(static_cast<int>(w));
  CheckSongEnd();
  switch (static_cast<int>(l)) {
    case IPC_GETVERSION: return g_config["version"];
    case IPC_DELETE:
      g_playlist.clear();
      g_current = 0;
      g_status = 0;
      return 0;
    case IPC_CHDIR:
      if (arg == 0) {
        Log("working-folder %s", g_working_folder.c_str());
        g_working_folder.clear();
      } else {
        g_working_folder += static_cast<char>(arg);
      }
      return 0;
    case IPC_ISPLAYING: return g_status;
    case IPC_GETOUTPUTTIME:
      if (arg == 1) return g_status == 0 && g_playlist.empty() ? -1 : g_config["song_length_s"];
      return PositionMs();
    case IPC_JUMPTOTIME:
      if (g_status == 0) return -1;
      g_started = (g_status == 3 ? g_paused_at : GetTickCount64()) - arg;
      return 0;
    case IPC_WRITEPLAYLIST: return g_current;
    case IPC_SETPLAYLISTPOS:
      g_current = static_cast<int>(arg);
      return 0;
    case IPC_SETVOLUME:
      if (arg == -666) return g_volume;
      g_volume = static_cast<int>(arg);
      return 0;
    case IPC_SETPANNING:
      g_panning = static_cast<int>(arg);
      return 0;
    case IPC_GETLISTLENGTH: return static_cast<LRESULT>(g_playlist.size());
    case IPC_GETLISTPOS: return g_current;
    case IPC_GETINFO: return arg == 0 ? 44 : arg == 1 ? g_config["bitrate"] : 2;
    case IPC_GETEQDATA:
      if (arg < 0 || arg > 11) return 0;
      g_eq_position = static_cast<int>(arg);
      return g_eq[g_eq_position];
    case IPC_SETEQDATA:
      g_eq[g_eq_position] = static_cast<int>(arg);
      return 0;
    default: return 0;
  }
}

void Command(int id) {
  CheckSongEnd();
  switch (id) {
    case WINAMP_BUTTON_PLAY:  // play: a paused song continues, otherwise the current entry starts
      if (g_status == 3) {
        g_started += GetTickCount64() - g_paused_at;
        g_status = 1;
      } else if (!g_playlist.empty()) {
        g_started = GetTickCount64();
        g_status = 1;
        Log("playing %s", g_playlist[g_current].c_str());
      }
      break;
    case WINAMP_BUTTON_PAUSE:  // pause toggles
      if (g_status == 1) {
        g_paused_at = GetTickCount64();
        g_status = 3;
      } else if (g_status == 3) {
        g_started += GetTickCount64() - g_paused_at;
        g_status = 1;
      }
      break;
    case WINAMP_BUTTON_STOP: g_status = 0; break;
    case WINAMP_FFWD5S: if (g_status != 0) g_started -= 5000; break;
    case WINAMP_REW5S: if (g_status != 0) g_started += 5000; break;
    case WINAMP_VOLUMEUP: g_volume = g_volume + 8 > 255 ? 255 : g_volume + 8; break;
    case WINAMP_VOLUMEDOWN: g_volume = g_volume - 8 < 0 ? 0 : g_volume - 8; break;
    default: break;
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_USER: {
      if (static_cast<int>(l) == g_config["hang_request"]) {
        Log("hanging on request %d", static_cast<int>(l));
        Sleep(static_cast<DWORD>(g_config["hang_ms"]));
      }
      const LRESULT answer = Request(w, l);
      Log("user w=%d l=%d -> %ld", static_cast<int>(w), static_cast<int>(l), static_cast<long>(answer));
      return answer;
    }
    case WM_COMMAND:
      Log("command %d l=%ld", static_cast<int>(LOWORD(w)), static_cast<long>(l));
      Command(LOWORD(w));
      return 0;
    case WM_COPYDATA: {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
      std::string text;
      if (cds->lpData && cds->cbData > 0) text.assign(static_cast<const char*>(cds->lpData), cds->cbData);
      const bool terminated = !text.empty() && text.back() == '\0';
      if (terminated) text.pop_back();
      Log("copydata w=%d dwData=%lu cbData=%lu terminated=%d text=%s", static_cast<int>(w),
          static_cast<unsigned long>(cds->dwData), static_cast<unsigned long>(cds->cbData), terminated ? 1 : 0,
          text.c_str());
      if (cds->dwData == IPC_PLAYFILE) g_playlist.push_back(text);
      return 1;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      Log("%s vk=%d alt=%d", msg == WM_KEYDOWN ? "keydown" : msg == WM_KEYUP ? "keyup" : msg == WM_SYSKEYDOWN ? "syskeydown" : "syskeyup",
          static_cast<int>(w), (l & (1 << 29)) ? 1 : 0);
      break;
    case WM_SYSCOMMAND:
      Log("syscommand %d", static_cast<int>(w & 0xFFF0));
      break;
    case WM_CLOSE:
      Log("close");
      DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      Log("queryendsession");
      return TRUE;
    case WM_ENDSESSION:
      Log("endsession %d", static_cast<int>(w));
      return 0;
    case WM_DESTROY:
      Log("destroy");
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  g_folder = exe;
  g_folder = g_folder.substr(0, g_folder.find_last_of("\\/"));
  g_log = std::make_unique<standin::LogFile>(g_folder + "\\player.log");
  LoadConfig();
  Log("start show=%d args=%s", show, command_line);
  if (FindWindowA(kWinampClass, nullptr)) {
    Log("already-running exit");
    return 0;
  }
  if (g_config["eq_enabled"]) g_eq[11] = 1;
  if (g_config["window_delay_ms"] > 0) Sleep(static_cast<DWORD>(g_config["window_delay_ms"]));

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWinampClass;
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, kWinampClass, "Winamp stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 275, 116, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) {
    Log("no-window error=%lu", GetLastError());
    return 1;
  }
  ShowWindow(hwnd, show);
  Log("window");
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Log("exit");
  return 0;
}
