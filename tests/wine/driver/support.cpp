#include "support.h"

#include <tlhelp32.h>

#include <cctype>
#include <stdexcept>

namespace lorvan::winetest {

Paths& TestPaths() {
  static Paths p;
  return p;
}

std::string ReadFileText(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) data.append(buf, n);
  CloseHandle(h);
  return data;
}

void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD n = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  CloseHandle(h);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolders(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
  }
}

void CopyFileTo(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from + " to " + to);
}

void CopyTree(const std::string& from, const std::string& to) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((from + "\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return;
  MakeFolders(to);
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CopyTree(from + "\\" + name, to + "\\" + name);
    } else {
      CopyFileTo(from + "\\" + name, to + "\\" + name);
    }
  } while (FindNextFileA(find, &fd));
  FindClose(find);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      if (!cur.empty() && cur.back() == '\r') cur.pop_back();
      lines.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

std::vector<std::string> LogLines(const std::string& text) {
  return SplitLines(text.substr(0, text.rfind('\n') + 1));
}

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(20);
  }
}

SettingsValues::SettingsValues(const std::string& folder) : v(56, "0") {
  v[0] = "200";
  v[1] = "Winamp.exe";
  v[2] = folder + "\\Music\\";
  v[3] = "X:\\";
  v[4] = "Help.txt";
  v[8] = "60";
  v[9] = "-1";
  v[10] = folder + "\\Music\\";
}

ProgramFolder::ProgramFolder(const std::string& name, bool with_port_library) {
  // Each test starts on a machine without a player.
  EndProcesses("Winamp.exe");
  path_ = TestPaths().work + "\\" + name;
  MakeFolders(path_);
  MakeFolders(path_ + "\\Music");
  const std::string& bin = TestPaths().bin;
  CopyFileTo(bin + "\\Lorvan.exe", File("Lorvan.exe"));
  // The real Hardstop.exe would end the Wine session and these tests with it.
  CopyFileTo(bin + "\\standin\\Hardstop.exe", File("Hardstop.exe"));
  CopyFileTo(bin + "\\Winamp.exe", File("Winamp.exe"));
  if (with_port_library) CopyFileTo(bin + "\\inpout32.dll", File("inpout32.dll"));
  for (const char* sub : {"Fonts", "Bitmaps"}) CopyTree(TestPaths().data + "\\" + sub, File(sub));
  WriteFileText(File("Help.txt"), "' test help\r\n40\r\nP\tPlay\r\nS\tStop\r\n\r\nN\tNext\r\n\r\nH\tHelp\r\n");
  WriteSettings(SettingsValues(path_));
}

void ProgramFolder::AddMusic(const std::vector<std::string>& relative_files) const {
  for (const std::string& f : relative_files) {
    const std::string full = music() + f;
    MakeFolders(full.substr(0, full.find_last_of('\\')));
    WriteFileText(full, "audio");
  }
}

void ProgramFolder::WriteSettings(const SettingsValues& s) const {
  std::string text = "// Lorvan settings of a Wine test\r\n";
  for (size_t i = 0; i < s.v.size(); ++i) {
    if (i == 10) text += "// the resume bookmark\r\n";
    text += s.v[i] + "\r\n";
  }
  WriteFileText(File("Lorvan.ini"), text);
}

void ProgramFolder::WritePlayerConfig(const std::string& lines) const { WriteFileText(File("player.ini"), lines); }

std::vector<std::string> ProgramFolder::HardstopLog() const { return LogLines(ReadFileText(File("hardstop.log"))); }

std::vector<std::string> ProgramFolder::PlayerLog() const { return LogLines(ReadFileText(File("player.log"))); }

std::vector<std::pair<int, int>> ProgramFolder::PortWrites() const {
  const std::string raw = ReadFileText(File("port.log"));
  std::vector<std::pair<int, int>> out;
  // A last record that is still being written is left out.
  for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
    if (raw[i + 3] != 0) continue;  // a read
    const int port = static_cast<int16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
    out.emplace_back(port, static_cast<uint8_t>(raw[i + 2]));
  }
  return out;
}

namespace {

// The log line without the process id in front.
std::string Body(const std::string& line) {
  const size_t space = line.find(' ');
  return space == std::string::npos ? line : line.substr(space + 1);
}

bool HasEvent(const std::string& body, const std::string& text) {
  return !text.empty() && body.compare(0, text.size(), text) == 0 &&
         (body.size() == text.size() || text.back() == ' ' || body[text.size()] == ' ');
}

}  // namespace

std::vector<std::string> LinesWith(const std::vector<std::string>& log, const std::string& text) {
  std::vector<std::string> out;
  for (const std::string& l : log) {
    if (HasEvent(Body(l), text)) out.push_back(Body(l));
  }
  return out;
}

bool LogHas(const std::vector<std::string>& log, const std::string& text) { return !LinesWith(log, text).empty(); }

std::string MissingInOrder(const std::vector<std::string>& log, const std::vector<std::string>& texts) {
  size_t at = 0;
  for (const std::string& t : texts) {
    while (at < log.size() && !HasEvent(Body(log[at]), t)) ++at;
    if (at == log.size()) return t;
    ++at;
  }
  return "";
}

bool ReadPbm(const std::string& path, int& width, int& height, std::vector<bool>& dark) {
  const std::string text = ReadFileText(path);
  size_t at = 0;
  auto skip = [&] {
    for (;;) {
      while (at < text.size() && isspace(static_cast<unsigned char>(text[at]))) ++at;
      if (at < text.size() && text[at] == '#') {
        while (at < text.size() && text[at] != '\n') ++at;
        continue;
      }
      return;
    }
  };
  auto number = [&] {
    skip();
    int n = 0;
    while (at < text.size() && isdigit(static_cast<unsigned char>(text[at]))) n = n * 10 + (text[at++] - '0');
    return n;
  };
  skip();
  if (text.compare(at, 2, "P1") != 0) return false;
  at += 2;
  width = number();
  height = number();
  dark.clear();
  while (static_cast<int>(dark.size()) < width * height) {
    skip();
    if (at >= text.size()) return false;
    dark.push_back(text[at++] == '1');
  }
  return width > 0 && height > 0;
}

int PanelReplay::Differences(const std::string& pbm_path) const {
  int w = 0, h = 0;
  std::vector<bool> dark;
  if (!ReadPbm(pbm_path, w, h, dark) || w != 128 || h != 64) return -1;
  int n = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) n += Pixel(x, y) != dark[static_cast<size_t>(y) * 128 + x] ? 1 : 0;
  }
  return n;
}

int PanelReplay::SetPixels() const {
  int n = 0;
  for (int x = 0; x < 128; ++x) {
    for (int y = 0; y < 64; ++y) n += Pixel(x, y) ? 1 : 0;
  }
  return n;
}

PanelReplay ReplayPanel(const std::vector<std::pair<int, int>>& writes, int base) {
  PanelReplay r;
  for (size_t i = 0; i < writes.size() && i < 64; ++i) r.first_writes.push_back(writes[i]);
  int data = 0, control = 0;
  int page[2] = {0, 0}, column[2] = {0, 0};
  // Where the frame being sent has got to: page p, byte n of the page (-2, -1: the two
  // instructions), or -1 when no frame is under way.
  int frame_page = -1, frame_byte = 0;
  auto frame_step = [&](bool instruction, int value, int half) {
    if (instruction && (value & 0xF8) == 0xB8) {
      const int p = value & 7;
      if (p == 0 || (frame_page == p - 1 && frame_byte == 128)) {
        frame_page = p;
        frame_byte = -2;
        return;
      }
      frame_page = -1;
      return;
    }
    if (frame_page < 0) return;
    if (frame_byte == -2 && instruction && value == 0x40) {
      frame_byte = 0;
      return;
    }
    if (frame_byte >= 0 && frame_byte < 128 && !instruction && half == (frame_byte < 64 ? 0 : 1)) {
      ++frame_byte;
      if (frame_byte == 128 && frame_page == 7) {
        ++r.full_frames;
        frame_page = -1;
      }
      return;
    }
    frame_page = -1;
  };
  for (const auto& [port, value] : writes) {
    if (port == base) {
      data = value;
      continue;
    }
    if (port != base + 2) continue;
    const bool latch = (value & 1) && !(control & 1) && (value & ~1) == (control & ~1);
    control = value;
    if (!latch) continue;
    const int selector = value & 6;
    if (value & 8) {
      // An instruction: both halves when both chip selects are on.
      if (data == 0x3F) r.display_on = true;
      if ((data & 0xF8) == 0xB8) page[0] = page[1] = data & 7;
      if ((data & 0xC0) == 0x40) column[0] = column[1] = data & 63;
      frame_step(true, data, -1);
    } else if (selector == 0 || selector == 6) {
      const int half = selector == 0 ? 0 : 1;
      r.memory[half][page[half]][column[half]] = static_cast<uint8_t>(data);
      column[half] = (column[half] + 1) % 64;
      frame_step(false, data, half);
    }
  }
  return r;
}

Process::~Process() {
  if (handle) {
    if (Running()) Kill();
    CloseHandle(handle);
  }
}

bool Process::Running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }

int Process::WaitExit(int timeout_ms) const {
  if (!handle || WaitForSingleObject(handle, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(handle, &code);
  return static_cast<int>(code);
}

void Process::Kill() {
  if (!handle) return;
  TerminateProcess(handle, 99);
  WaitForSingleObject(handle, 5000);
}

void Start(Process& p, const std::string& exe, const std::string& args, const std::string& folder) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string line = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  }
  CloseHandle(pi.hThread);
  p.handle = pi.hProcess;
  p.pid = pi.dwProcessId;
}

void EndProcesses(const char* exe_name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32First(snap, &e); more; more = Process32Next(snap, &e)) {
    if (lstrcmpiA(e.szExeFile, exe_name) != 0) continue;
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e.th32ProcessID);
    if (!h) continue;
    TerminateProcess(h, 99);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
  CloseHandle(snap);
}

int CountProcesses(const char* exe_name) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32 e{};
  e.dwSize = sizeof e;
  int n = 0;
  for (BOOL more = Process32First(snap, &e); more; more = Process32Next(snap, &e)) {
    if (lstrcmpiA(e.szExeFile, exe_name) == 0) ++n;
  }
  CloseHandle(snap);
  return n;
}

namespace {

struct Search {
  DWORD pid;
  const char* cls;
  HWND found = nullptr;
  int count = 0;
};

BOOL CALLBACK FindTop(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[256] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if ((s->pid == 0 || pid == s->pid) && (!s->cls || lstrcmpA(cls, s->cls) == 0)) {
    ++s->count;
    if (!s->found) s->found = hwnd;
  }
  return TRUE;
}

struct ChildSearch {
  std::string text;
  const char* cls;
  HWND found = nullptr;
  std::vector<std::string>* all = nullptr;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ChildSearch*>(param);
  const std::string t = WindowText(hwnd);
  if (s->all) {
    s->all->push_back(t);
    return TRUE;
  }
  char cls[256] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (t == s->text && (!s->cls || lstrcmpiA(cls, s->cls) == 0)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD pid, const char* class_name) {
  Search s{pid, class_name};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitProcessWindow(DWORD pid, const char* class_name, int timeout_ms) {
  HWND h = nullptr;
  WaitFor([&] { return (h = FindProcessWindow(pid, class_name)) != nullptr; }, timeout_ms);
  return h;
}

int CountWindows(const char* class_name) {
  Search s{0, class_name};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.count;
}

HWND FindControl(HWND parent, const std::string& text, const char* class_name) {
  ChildSearch s{text, class_name};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string WindowText(HWND hwnd) {
  char buf[1024] = {};
  const LRESULT n = SendMessageA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::string> AllControlTexts(HWND parent) {
  std::vector<std::string> all;
  ChildSearch s{"", nullptr, nullptr, &all};
  EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&s));
  return all;
}

std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    char buf[1024] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    lines.emplace_back(buf);
  }
  return lines;
}

HWND FindMessageBox(DWORD pid) { return FindProcessWindow(pid, "#32770"); }

std::string MessageBoxText(HWND box) {
  // The message is the box's static text with the most characters (the icon has none).
  std::vector<std::string> texts = AllControlTexts(box);
  std::string best;
  for (const std::string& t : texts) {
    if (t.size() > best.size()) best = t;
  }
  return best;
}

Lorvan::Lorvan(const ProgramFolder& folder) { Start(process_, folder.File("Lorvan.exe"), "", folder.path()); }

Lorvan::~Lorvan() {
  if (process_.Running()) process_.Kill();
  EndProcesses("Winamp.exe");
}

bool Lorvan::WaitWindow(int timeout_ms) {
  // The window is shown once all its controls are there.
  WaitFor(
      [&] {
        hwnd_ = FindProcessWindow(process_.pid, "LorvanMainWindow");
        return hwnd_ != nullptr && IsWindowVisible(hwnd_);
      },
      timeout_ms);
  return hwnd_ != nullptr && IsWindowVisible(hwnd_);
}

void Lorvan::Press(char key, bool alt, KeyWay way) {
  const SHORT scan = VkKeyScanA(key);
  const WORD vk = LOBYTE(scan);
  const bool shift = (HIBYTE(scan) & 1) != 0;
  switch (way) {
    case KeyWay::kKeyboard: {
      SetForegroundWindow(hwnd_);
      std::vector<INPUT> in;
      auto add = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(k, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
      };
      if (alt) add(VK_MENU, false);
      if (shift) add(VK_SHIFT, false);
      add(vk, false);
      add(vk, true);
      if (shift) add(VK_SHIFT, true);
      if (alt) add(VK_MENU, true);
      SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
      break;
    }
    case KeyWay::kPostedKeys: {
      const LPARAM sc = static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
      const LPARAM ctx = alt ? (LPARAM{1} << 29) : 0;
      PostMessageA(hwnd_, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | sc | ctx);
      PostMessageA(hwnd_, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | sc | ctx | (LPARAM{3} << 30));
      break;
    }
    case KeyWay::kPostedChars:
      PostMessageA(hwnd_, alt ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(key), alt ? (LPARAM{1} << 29) | 1 : 1);
      break;
  }
}

}  // namespace lorvan::winetest
