// The stand-in player (built as Winamp.exe): a window of class "Winamp v1.x" with a playlist
// and a play status that answers the requests on them as the real player would (others with
// 0), and writes every message it gets to player.log beside itself in whole lines (tests
// read the log while the player runs).
// Like the real player it runs once: a second start finds the first window and ends.
// A player slow to open its window: window_delay_ms=N in the section [player] of player.ini
// beside it. A player busy for a while: its own request 9999 answers after wParam ms.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "log_file.h"
#include "player/winamp_messages.h"

namespace {

using namespace lorvan::player;

std::unique_ptr<standin::LogFile> g_log;

// The player's state.
std::vector<std::string> g_playlist;
int g_current = 0;
int g_status = 0;  // 0 stopped, 1 playing, 3 paused

void Log(const char* format, ...) {
  char body[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(body, sizeof body, format, args);
  va_end(args);
  g_log->Append(std::to_string(GetCurrentProcessId()) + " " + body + "\n");
}

LRESULT Request(WPARAM w, LPARAM l) {
  const int arg = static_cast<int>(w);
  switch (static_cast<int>(l)) {
    case IPC_GETVERSION: return 8192;
    case IPC_DELETE:
      g_playlist.clear();
      g_current = 0;
      g_status = 0;
      return 0;
    case IPC_ISPLAYING: return g_status;
    case IPC_GETOUTPUTTIME:  // the song's length in seconds (1), or the position in ms (0)
      if (arg == 1) return g_playlist.empty() ? -1 : 180;
      return g_status == 0 ? -1 : 0;
    case IPC_SETPLAYLISTPOS:
      g_current = arg;
      return 0;
    case IPC_GETLISTLENGTH: return static_cast<LRESULT>(g_playlist.size());
    case IPC_GETLISTPOS: return g_current;
    case IPC_GETINFO: return arg == 0 ? 44 : arg == 1 ? 128 : 2;  // sample rate, bit rate, channels
    default: return 0;
  }
}

void Command(int id) {
  const bool has_entry = g_current >= 0 && g_current < static_cast<int>(g_playlist.size());
  switch (id) {
    case WINAMP_BUTTON_PLAY:  // a paused song continues, otherwise the current entry starts
      if (g_status == 0 && has_entry) Log("playing %s", g_playlist[g_current].c_str());
      if (has_entry) g_status = 1;
      break;
    case WINAMP_BUTTON_PAUSE: g_status = g_status == 1 ? 3 : g_status == 3 ? 1 : 0; break;
    case WINAMP_BUTTON_STOP: g_status = 0; break;
    default: break;
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_USER: {
      if (l == 9999) {
        Log("hanging %d ms", static_cast<int>(w));
        Sleep(static_cast<DWORD>(w));
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
      // The text up to its terminating 0, which cbData counts.
      const std::string text(static_cast<const char*>(cds->lpData), cds->cbData);
      Log("copydata dwData=%lu cbData=%lu text=%s", static_cast<unsigned long>(cds->dwData),
          static_cast<unsigned long>(cds->cbData), text.c_str());
      if (cds->dwData == IPC_PLAYFILE) g_playlist.push_back(text.c_str());
      return 1;
    }
    case WM_SYSCOMMAND: Log("syscommand %d", static_cast<int>(w & 0xFFF0)); break;
    case WM_CLOSE:
      Log("close");
      DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION: Log("queryendsession"); return TRUE;
    case WM_ENDSESSION: Log("endsession %d", static_cast<int>(w)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = exe;
  folder = folder.substr(0, folder.find_last_of("\\/"));
  g_log = std::make_unique<standin::LogFile>(folder + "\\player.log");
  Log("start show=%d args=%s", show, command_line);
  if (FindWindowA(kWinampClass, nullptr)) {
    Log("already-running exit");
    return 0;
  }
  Sleep(GetPrivateProfileIntA("player", "window_delay_ms", 0, (folder + "\\player.ini").c_str()));

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kWinampClass;
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, kWinampClass, "Winamp stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 275, 116, nullptr,
                              nullptr, instance, nullptr);
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
