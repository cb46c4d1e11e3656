// The stand-in port library (built as inpout32.dll): Out32 as the real library exports it.
// Every port write is recorded in port.log beside the library, four bytes per write: the
// port (16 bits, little-endian), the value's low byte, and 0. The records are appended when
// the buffer is full and when the library is unloaded, so the log is whole once the program
// using it has ended.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace {

HANDLE g_file = INVALID_HANDLE_VALUE;
unsigned char g_buffer[1 << 16];
DWORD g_used = 0;

void Flush() {
  DWORD written = 0;
  if (g_used > 0) WriteFile(g_file, g_buffer, g_used, &written, nullptr);
  g_used = 0;
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
  if (g_used + 4 > sizeof g_buffer) Flush();
  g_buffer[g_used++] = static_cast<unsigned char>(port & 0xFF);
  g_buffer[g_used++] = static_cast<unsigned char>((port >> 8) & 0xFF);
  g_buffer[g_used++] = static_cast<unsigned char>(data & 0xFF);
  g_buffer[g_used++] = 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH];
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string log = path;
    log = log.substr(0, log.find_last_of("\\/")) + "\\port.log";
    g_file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  } else if (reason == DLL_PROCESS_DETACH && g_file != INVALID_HANDLE_VALUE) {
    Flush();
    CloseHandle(g_file);
  }
  return TRUE;
}
