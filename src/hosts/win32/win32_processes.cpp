#include "hosts/win32/win32_processes.h"

#include <vector>

#include "hosts/win32/send_keys_notation.h"
#include "hosts/win32/win32_api.h"
#include "hosts/win32/win32_codes.h"

namespace lorvan::win32 {
namespace {

struct WindowSearch {
  DWORD pid = 0;
  HWND visible = nullptr;
  HWND any = nullptr;
};

BOOL CALLBACK FindTaskWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || GetWindow(hwnd, GW_OWNER) != nullptr) return TRUE;
  if (!s->any) s->any = hwnd;
  if (IsWindowVisible(hwnd)) {
    s->visible = hwnd;
    return FALSE;
  }
  return TRUE;
}

bool OwnWindow(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid == GetCurrentProcessId();
}

// The key steps as keyboard events: characters become their keys in the keyboard layout.
struct KeyEvent {
  WORD vk;
  bool up;
};

std::vector<KeyEvent> ToKeyEvents(const std::vector<KeyStep>& steps) {
  std::vector<KeyEvent> out;
  for (const KeyStep& s : steps) {
    if (s.kind == KeyStep::kKeyDown || s.kind == KeyStep::kKeyUp) {
      out.push_back({s.vk, s.kind == KeyStep::kKeyUp});
      continue;
    }
    const SHORT scan = VkKeyScanA(s.ch);
    if (scan == -1) continue;  // the layout has no key for this character
    const WORD vk = LOBYTE(scan);
    const BYTE shift = HIBYTE(scan);
    const WORD mods[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int i = 0; i < 3; ++i) {
      if (shift & (1 << i)) out.push_back({mods[i], false});
    }
    out.push_back({vk, false});
    out.push_back({vk, true});
    for (int i = 2; i >= 0; --i) {
      if (shift & (1 << i)) out.push_back({mods[i], true});
    }
  }
  return out;
}

void SendAsInput(const std::vector<KeyEvent>& events) {
  std::vector<INPUT> inputs;
  for (const KeyEvent& e : events) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = e.vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(e.vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = e.up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Posts the events as the keyboard messages the window would receive: with Alt held (and
// Ctrl not), as system keys carrying the Alt context bit.
void PostAsMessages(HWND target, const std::vector<KeyEvent>& events) {
  bool alt = false, ctrl = false;
  for (const KeyEvent& e : events) {
    if (e.vk == VK_MENU) alt = !e.up;
    if (e.vk == VK_CONTROL) ctrl = !e.up;
    const bool system = (alt || (e.vk == VK_MENU && e.up)) && !ctrl;
    const UINT msg = e.up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
    LPARAM l = 1 | (static_cast<LPARAM>(MapVirtualKeyA(e.vk, MAPVK_VK_TO_VSC)) << 16);
    if (alt && !ctrl) l |= LPARAM{1} << 29;
    if (e.up) l |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    PostMessageA(target, msg, e.vk, l);
  }
}

// Waits until the window has gone, or has answered after having had time for the keys;
// at most two seconds.
void WaitUntilProcessed(HWND target) {
  const ULONGLONG start = GetTickCount64();
  while (GetTickCount64() - start < 2000) {
    if (!IsWindow(target)) return;
    DWORD_PTR r = 0;
    const bool answered = SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &r) != 0;
    if (answered && GetTickCount64() - start >= 100) return;
    Sleep(10);
  }
}

}  // namespace

int32_t Win32Processes::Shell(const std::string& command_line, int window_style) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(ShowCommandOf(window_style));
  PROCESS_INFORMATION pi{};
  std::string line = command_line;  // CreateProcessA may write into the command line
  if (line.find_first_not_of(" \t") == std::string::npos ||
      !CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    const DWORD error = line.find_first_not_of(" \t") == std::string::npos ? ERROR_FILE_NOT_FOUND : GetLastError();
    throw platform::StartError("cannot run \"" + command_line + "\": " + ErrorText(error));
  }
  CloseHandle(pi.hThread);
  // The handle is kept so that the task's end can be seen and its id is not given to another.
  started_[static_cast<int32_t>(pi.dwProcessId)] = pi.hProcess;
  return static_cast<int32_t>(pi.dwProcessId);
}

Win32Processes::~Win32Processes() {
  for (auto& [task, handle] : started_) CloseHandle(handle);
}

bool Win32Processes::HasEnded(int32_t task_id) {
  const auto it = started_.find(task_id);
  return it != started_.end() && WaitForSingleObject(it->second, 0) == WAIT_OBJECT_0;
}

bool Win32Processes::AppActivate(int32_t task_id) {
  WindowSearch s;
  s.pid = static_cast<DWORD>(task_id);
  EnumWindows(FindTaskWindow, reinterpret_cast<LPARAM>(&s));
  HWND target = s.visible ? s.visible : s.any;
  if (!target) return false;
  // A program may take the foreground only from the thread that has it: join its input.
  const DWORD me = GetCurrentThreadId();
  const HWND fg = GetForegroundWindow();
  const DWORD fg_thread = fg ? GetWindowThreadProcessId(fg, nullptr) : 0;
  const bool joined = fg_thread != 0 && fg_thread != me && AttachThreadInput(me, fg_thread, TRUE);
  SetForegroundWindow(target);
  BringWindowToTop(target);
  if (joined) AttachThreadInput(me, fg_thread, FALSE);
  activated_ = target;
  return true;
}

void Win32Processes::SendKeys(const std::string& keys, bool wait) {
  HWND target = static_cast<HWND>(activated_);
  if (!target || !IsWindow(target)) target = GetForegroundWindow();
  // Keys meant for another program never reach this one's own window (Alt+F4 would close it).
  if (!target || OwnWindow(target)) return;
  const std::vector<KeyEvent> events = ToKeyEvents(ParseSendKeys(keys));
  if (GetForegroundWindow() == target) {
    SendAsInput(events);
  } else {
    PostAsMessages(target, events);
  }
  if (wait) WaitUntilProcessed(target);
  // Alt+F4 asks the window to close. Keyboard input can miss a window that lost the
  // foreground in between; a window still there then gets the close request itself.
  if (keys == "%{F4}" && IsWindow(target)) {
    PostMessageA(target, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (wait) WaitUntilProcessed(target);
  }
}

}  // namespace lorvan::win32
