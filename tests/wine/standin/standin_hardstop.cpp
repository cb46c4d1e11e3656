// The stand-in of Hardstop.exe for the program's tests (built as standin\Hardstop.exe): it
// only records its start in hardstop.log beside itself, so that a test of the exit key can
// see the shutdown being started without the Wine session ending under it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "log_file.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int show) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder = exe;
  folder = folder.substr(0, folder.find_last_of("\\/"));
  standin::LogFile log(folder + "\\hardstop.log");
  return log.Append("started show=" + std::to_string(show) + " args=" + command_line + "\n") ? 0 : 1;
}
