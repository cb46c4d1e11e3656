#pragma once
// What the Wine tests need around the program: files and folders, a test program folder,
// Lorvan.exe started on it, its window and controls, key strokes as a remote sends them,
// and the stand-ins' logs.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The file system interface has its own ReplaceFile; the Windows function is not used.
#undef ReplaceFile

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lorvan::winetest {

// Where the built programs and the shipped data are, and where tests make their folders.
struct Paths {
  std::string bin;   // Lorvan.exe, Hardstop.exe, Winamp.exe (stand-in), inpout32.dll (stand-in)
  std::string data;  // the repository's data folder (Fonts, Bitmaps when present)
  std::string work;  // an empty folder for the test program folders
};
Paths& TestPaths();

// Files.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
void MakeFolders(const std::string& path);
void CopyFileTo(const std::string& from, const std::string& to);
void CopyTree(const std::string& from, const std::string& to);
std::vector<std::string> SplitLines(const std::string& text);  // CR LF or LF
// The whole lines of a log another process may be writing: a last line without its line end
// is left out until it is complete.
std::vector<std::string> LogLines(const std::string& text);

// Polls the condition every 20 ms until it holds or the time is up; true when it held.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms);

// The 56 value lines of a settings file; the defaults make a working program folder.
struct SettingsValues {
  std::vector<std::string> v;
  explicit SettingsValues(const std::string& folder);
};

// A program folder: Lorvan.exe, the stand-ins, settings, help file, fonts and bitmaps, and
// a music tree. Each test makes its own.
class ProgramFolder {
 public:
  ProgramFolder(const std::string& name, bool with_port_library = true);
  const std::string& path() const { return path_; }
  std::string File(const std::string& relative) const { return path_ + "\\" + relative; }
  std::string music() const { return path_ + "\\Music\\"; }
  void AddMusic(const std::vector<std::string>& relative_files) const;
  // Writes Lorvan.ini: a comment line, values 0 to 9, a comment line, the rest.
  void WriteSettings(const SettingsValues& s) const;
  void WritePlayerConfig(const std::string& lines) const;
  std::string SettingsText() const { return ReadFileText(File("Lorvan.ini")); }
  std::vector<std::string> PlayerLog() const;
  // What the stand-in Hardstop.exe recorded of its starts.
  std::vector<std::string> HardstopLog() const;
  // The port writes of the stand-in port library: (port, value) pairs.
  std::vector<std::pair<int, int>> PortWrites() const;

 private:
  std::string path_;
};

// Lines of the player log with the event, without the process id in front. A line has the
// event when it starts with its text followed by the line's end or a space ("exit" is not
// "already-running exit"; "user w=200 l=122" is "user w=200 l=122 -> 0").
std::vector<std::string> LinesWith(const std::vector<std::string>& log, const std::string& text);
bool LogHas(const std::vector<std::string>& log, const std::string& text);
// The lines in the log in this order (other lines between them allowed); "" when found,
// else the first one missing.
std::string MissingInOrder(const std::vector<std::string>& log, const std::vector<std::string>& texts);

// The panel as the port writes drive it: KS0108 halves, page and column addresses.
struct PanelReplay {
  std::vector<std::pair<int, int>> first_writes;  // the first writes, port and value
  int full_frames = 0;                            // whole frames: 8 pages of 128 columns in order
  bool display_on = false;
  uint8_t memory[2][8][64] = {};                  // [half][page][column]
  bool Pixel(int x, int y) const { return (memory[x / 64][y / 8][x % 64] >> (y % 8)) & 1; }
  int SetPixels() const;
  // Pixels in which the panel differs from a 128 x 64 plain PBM bitmap; -1 when unreadable.
  int Differences(const std::string& pbm_path) const;
};
PanelReplay ReplayPanel(const std::vector<std::pair<int, int>>& writes, int base = 888);

// The stand-in player started by the test (not by Lorvan).
struct Process {
  HANDLE handle = nullptr;
  DWORD pid = 0;
  ~Process();
  bool Running() const;
  // The exit code once ended within the time, else -1.
  int WaitExit(int timeout_ms) const;
  void Kill();
};
void Start(Process& p, const std::string& exe, const std::string& args, const std::string& folder);
// Ends every process of this name (stand-in players left by a test that failed half-way).
void EndProcesses(const char* exe_name);
// How many processes of this name run; -1 when the processes cannot be listed.
int CountProcesses(const char* exe_name);

// Top-level windows.
HWND FindProcessWindow(DWORD pid, const char* class_name);
HWND WaitProcessWindow(DWORD pid, const char* class_name, int timeout_ms);
int CountWindows(const char* class_name);
// A child control of the window with exactly this text (the caption with its "&").
HWND FindControl(HWND parent, const std::string& text, const char* class_name = nullptr);
std::string WindowText(HWND hwnd);
std::vector<std::string> AllControlTexts(HWND parent);
std::vector<std::string> ListBoxLines(HWND list);
// A message box of the process (class "#32770") and the text of its message.
HWND FindMessageBox(DWORD pid);
std::string MessageBoxText(HWND box);

// Lorvan.exe running on a program folder.
class Lorvan {
 public:
  explicit Lorvan(const ProgramFolder& folder);
  ~Lorvan();
  // Waits for the main window; false when it did not come.
  bool WaitWindow(int timeout_ms = 15000);
  HWND hwnd() const { return hwnd_; }
  Process& process() { return process_; }
  HWND Control(const std::string& caption) const { return FindControl(hwnd_, caption); }

  enum class KeyWay {
    kKeyboard,      // SendInput to the window in front, as the remote's receiver types
    kPostedKeys,    // WM_KEYDOWN / WM_SYSKEYDOWN (Alt) posted to the window
    kPostedChars,   // WM_CHAR / WM_SYSCHAR posted to the window
  };
  void Press(char key, bool alt, KeyWay way = KeyWay::kKeyboard);

 private:
  Process process_;
  HWND hwnd_ = nullptr;
};

}  // namespace lorvan::winetest
