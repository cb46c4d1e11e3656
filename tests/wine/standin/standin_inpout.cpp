// The stand-in port library (built as inpout32.dll): Out32 and Inp32 as the real library
// exports them. Every port write is recorded in port.log beside the library, four bytes per
// write: the port (16 bits, little-endian), the value's low byte, and 0 (1 for a read).
// Records are buffered and appended at least every 100 ms and when the library is unloaded;
// each write holds whole records only (a reader drops a last record still being written).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

CRITICAL_SECTION g_lock;
HANDLE g_file = INVALID_HANDLE_VALUE;
unsigned char g_buffer[1 << 16];
size_t g_used = 0;
ULONGLONG g_last_flush = 0;

void FlushLocked() {
  if (g_used > 0 && g_file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(g_file, g_buffer, static_cast<DWORD>(g_used), &written, nullptr);
  }
  g_used = 0;
  g_last_flush = GetTickCount64();
}

void Record(short port, short value, unsigned char kind) {
  EnterCriticalSection(&g_lock);
  if (g_used + 4 > sizeof g_buffer) FlushLocked();
  g_buffer[g_used++] = static_cast<unsigned char>(port & 0xFF);
  g_buffer[g_used++] = static_cast<unsigned char>((port >> 8) & 0xFF);
  g_buffer[g_used++] = static_cast<unsigned char>(value & 0xFF);
  g_buffer[g_used++] = kind;
  if (GetTickCount64() - g_last_flush >= 100) FlushLocked();
  LeaveCriticalSection(&g_lock);
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) { Record(port, data, 0); }

extern "C" __declspec(dllexport) short __stdcall Inp32(short port) {
  Record(port, 0, 1);
  return 0xFF;  // nothing drives the lines
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeCriticalSection(&g_lock);
    char path[MAX_PATH];
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string log = path;
    log = log.substr(0, log.find_last_of("\\/")) + "\\port.log";
    g_file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    g_last_flush = GetTickCount64();
  } else if (reason == DLL_PROCESS_DETACH) {
    EnterCriticalSection(&g_lock);
    FlushLocked();
    if (g_file != INVALID_HANDLE_VALUE) CloseHandle(g_file);
    g_file = INVALID_HANDLE_VALUE;
    LeaveCriticalSection(&g_lock);
  }
  return TRUE;
}
