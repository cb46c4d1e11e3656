#include "support.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "hosts/win32/main_window.h"

namespace lorvan::winetest {

namespace fs = std::filesystem;

Paths& TestPaths() {
  static Paths p = [] {
    const auto folder = [](const char* variable) {
      const char* value = std::getenv(variable);
      if (!value) throw std::runtime_error(std::string(variable) + " names no folder");
      return std::string(value);
    };
    return Paths{folder("LORVAN_WINE_BIN"), folder("LORVAN_WINE_DATA"), folder("LORVAN_WINE_WORK")};
  }();
  return p;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileText(const std::string& path, const std::string& text) {
  if (!(std::ofstream(path, std::ios::binary) << text)) throw std::runtime_error("cannot write " + path);
}

std::string Folder(const std::string& name) {
  const std::string f = TestPaths().work + "\\" + name;
  fs::create_directories(f);
  return f;
}

std::vector<std::string> ReadLog(const std::string& path) {
  const std::string text = ReadFileText(path);
  std::istringstream whole_lines(text.substr(0, text.rfind('\n') + 1));
  std::vector<std::string> lines;
  for (std::string line; std::getline(whole_lines, line);) lines.push_back(line);
  return lines;
}

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

std::string MissingInOrder(const std::vector<std::string>& log, const std::vector<std::string>& events) {
  size_t at = 0;
  for (const std::string& e : events) {
    for (; at < log.size(); ++at) {
      const std::string body = log[at].substr(log[at].find(' ') + 1);
      if (body.compare(0, e.size(), e) == 0 && (body.size() == e.size() || body[e.size()] == ' ')) break;
    }
    if (at == log.size()) return e;
    ++at;
  }
  return "";
}

Process::~Process() {
  Kill();
  CloseHandle(handle);
}

int Process::WaitExit(int timeout_ms) const {
  if (WaitForSingleObject(handle, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(handle, &code);
  return static_cast<int>(code);
}

void Process::Kill() {
  if (WaitForSingleObject(handle, 0) != WAIT_TIMEOUT) return;  // ended already
  TerminateProcess(handle, 99);
  WaitForSingleObject(handle, 5000);
}

Process::Process(const std::string& exe, const std::string& folder) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  }
  CloseHandle(pi.hThread);
  handle = pi.hProcess;
  pid = pi.dwProcessId;
}

int CountProcesses(const char* exe_name, bool end_them) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  int n = 0;
  for (BOOL more = Process32First(snap, &e); more; more = Process32Next(snap, &e)) {
    if (lstrcmpiA(e.szExeFile, exe_name) != 0) continue;
    ++n;
    HANDLE h = end_them ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e.th32ProcessID) : nullptr;
    if (!h) continue;
    TerminateProcess(h, 99);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
  CloseHandle(snap);
  return n;
}

HWND WaitProcessWindow(DWORD pid, const char* class_name, int timeout_ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, class_name, nullptr)) != nullptr;) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner == pid && IsWindowVisible(w)) found = w;
        }
        return found != nullptr;
      },
      timeout_ms);
  return found;
}

std::string WindowText(HWND hwnd) {
  char buf[1024] = {};
  const LRESULT n = SendMessageA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::pair<HWND, std::string>> Controls(HWND parent) {
  std::vector<std::pair<HWND, std::string>> all;
  for (HWND c = nullptr; (c = FindWindowExA(parent, c, nullptr, nullptr)) != nullptr;) all.emplace_back(c, WindowText(c));
  return all;
}

HWND FindControl(HWND parent, const std::string& text) {
  for (const auto& [hwnd, t] : Controls(parent)) {
    if (t == text) return hwnd;
  }
  return nullptr;
}

ProgramFolder::ProgramFolder(const std::string& name) : path(Folder(name)) {
  CountProcesses("Winamp.exe", /*end_them=*/true);
  fs::create_directories(Music());
  const std::string& bin = TestPaths().bin;
  for (const char* file : {"Lorvan.exe", "Winamp.exe", "inpout32.dll"}) fs::copy_file(bin + "\\" + file, File(file));
  // The real Hardstop.exe would end the Wine session and these tests with it.
  fs::copy_file(bin + "\\standin\\Hardstop.exe", File("Hardstop.exe"));
  for (const char* sub : {"Fonts", "Bitmaps"}) fs::copy(TestPaths().data + "\\" + sub, File(sub));
  WriteFileText(File("Help.txt"), "' test help\r\n40\r\nP\tPlay\r\nS\tStop\r\n\r\nN\tNext\r\n\r\nH\tHelp\r\n");
  WriteSettings("Winamp.exe");
}

void ProgramFolder::AddMusic(const std::vector<std::string>& files) const {
  for (const std::string& f : files) WriteFileText(Music() + f, "audio");
}

void ProgramFolder::WriteSettings(const std::string& player) const {
  std::vector<std::string> v(56, "0");
  v[0] = "200";  // the volume
  v[1] = player;
  v[2] = v[10] = Music();
  v[3] = "X:\\";
  v[4] = "Help.txt";
  v[8] = "60";
  v[9] = "-1";
  std::string text;
  for (const std::string& line : v) text += line + "\n";
  WriteFileText(File("Lorvan.ini"), text);
}

bool ProgramFolder::WaitPlayer() const {
  return WaitFor([&] { return LogHas(PlayerLog(), "window"); }, 20000);
}

bool Lorvan::WaitWindow() {
  hwnd = WaitProcessWindow(process.pid, win32::MainWindow::kClassName, 15000);
  return hwnd != nullptr;
}

void Lorvan::Press(char key, bool alt, KeyWay way) {
  const SHORT scan = VkKeyScanA(key);
  const WORD vk = LOBYTE(scan);
  if (way == KeyWay::kKeyboard) {
    SetForegroundWindow(hwnd);
    std::vector<WORD> keys = {vk};
    if (HIBYTE(scan) & 1) keys.insert(keys.begin(), VK_SHIFT);
    if (alt) keys.insert(keys.begin(), VK_MENU);
    std::vector<INPUT> in(keys.size() * 2);  // the keys down in order, then up in reverse
    for (size_t i = 0; i < keys.size(); ++i) {
      for (INPUT* k : {&in[i], &in[in.size() - 1 - i]}) {
        k->type = INPUT_KEYBOARD;
        k->ki.wVk = keys[i];
        k->ki.wScan = static_cast<WORD>(MapVirtualKeyA(keys[i], MAPVK_VK_TO_VSC));
      }
      in[in.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  } else {
    PostMessageA(hwnd, alt ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(key), alt ? (LPARAM{1} << 29) | 1 : 1);
  }
}

}  // namespace lorvan::winetest
