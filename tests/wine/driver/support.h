#pragma once
// What the Wine tests need around the programs: files and folders, the stand-ins' logs,
// processes and their windows, and Lorvan.exe on a test program folder driven by key strokes.
// The Windows headers as the host uses them.
#include "hosts/win32/win32_api.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>


namespace lorvan::winetest {

// Where the built programs and the shipped data are, and where tests make their folders: the
// Windows paths in the environment variables LORVAN_WINE_BIN, LORVAN_WINE_DATA and
// LORVAN_WINE_WORK.
struct Paths {
  std::string bin;   // Lorvan.exe, Winamp.exe (stand-in), inpout32.dll (stand-in), standin\Hardstop.exe
  std::string data;  // the repository's data folder (Fonts, Bitmaps)
  std::string work;  // an empty folder for the tests' folders
};
Paths& TestPaths();

// The file's bytes; "" when it cannot be read.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
// A new folder of this name in the work folder; its path.
std::string Folder(const std::string& name);
// The whole lines of a log another process may be writing: a last line without its line end
// is left out until it is complete.
std::vector<std::string> ReadLog(const std::string& path);

// Polls the condition every 20 ms until it holds or the time is up; true when it held.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 10000);

// The first of the events that is not in the stand-in player's log in this order (other
// lines between them allowed); "" when all are there. A line has the event when, after the
// process id in front, it starts with the event's text followed by the line's end or a
// space ("exit" is not "already-running exit"; "user w=200 l=122" is "user w=200 l=122 -> 0").
std::string MissingInOrder(const std::vector<std::string>& log, const std::vector<std::string>& events);
inline bool LogHas(const std::vector<std::string>& log, const std::string& event) {
  return MissingInOrder(log, {event}).empty();
}

// A program the test started in a folder; ended with the test if it still runs.
struct Process {
  Process(const std::string& exe, const std::string& folder);
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();
  // The exit code once ended within the time, else -1.
  int WaitExit(int timeout_ms) const;
  void Kill();

  HANDLE handle = nullptr;
  DWORD pid = 0;
};
// How many processes of this name run (-1 when they cannot be listed); end_them ends them.
int CountProcesses(const char* exe_name, bool end_them = false);

// The process's visible top-level window of the class once it is there; null when it did
// not come in time.
HWND WaitProcessWindow(DWORD pid, const char* class_name, int timeout_ms = 10000);
std::string WindowText(HWND hwnd);
// The child windows (one level down) and their texts.
std::vector<std::pair<HWND, std::string>> Controls(HWND parent);
// A child control with exactly this text (a caption with its "&"); null when there is none.
HWND FindControl(HWND parent, const std::string& text);

// A program folder: Lorvan.exe, the stand-ins, settings, help file, fonts, bitmaps and an
// empty music root. Each test makes its own, on a machine without a player.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& name);
  std::string File(const std::string& relative) const { return path + "\\" + relative; }
  std::string Music() const { return path + "\\Music\\"; }
  void AddMusic(const std::vector<std::string>& files) const;
  // Lorvan.ini with this player command line, LF line ends; its other values make a working
  // program folder.
  void WriteSettings(const std::string& player) const;
  std::vector<std::string> PlayerLog() const { return ReadLog(File("player.log")); }
  // Waits for the stand-in player's window; false when it did not open.
  bool WaitPlayer() const;

  const std::string path;
};

// Lorvan.exe running on a program folder.
struct Lorvan {
  explicit Lorvan(const ProgramFolder& folder) : process(folder.File("Lorvan.exe"), folder.path) {}
  // Waits for the main window, which is shown once all its controls are there; false when it
  // did not come.
  bool WaitWindow();
  HWND Control(const std::string& caption) const { return FindControl(hwnd, caption); }

  enum class KeyWay {
    kKeyboard,     // SendInput to the window in front, as the remote's receiver types
    kPostedChars,  // WM_CHAR / WM_SYSCHAR (Alt) posted to the window
  };
  void Press(char key, bool alt, KeyWay way = KeyWay::kKeyboard);

  Process process;
  HWND hwnd = nullptr;
};

}  // namespace lorvan::winetest
