// The stand-in port library (built as inpout32.dll): Out32 as the real library exports it.
// Every port write is appended to port.log beside the library in one write of four bytes:
// the port (16 bits, little-endian), the value's low byte, and 0.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace {

HANDLE g_file = INVALID_HANDLE_VALUE;

}  // namespace

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
  const unsigned char record[4] = {static_cast<unsigned char>(port & 0xFF), static_cast<unsigned char>((port >> 8) & 0xFF),
                                   static_cast<unsigned char>(data & 0xFF), 0};
  DWORD written = 0;
  WriteFile(g_file, record, sizeof record, &written, nullptr);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH];
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string log = path;
    log = log.substr(0, log.find_last_of("\\/")) + "\\port.log";
    g_file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return TRUE;
}
