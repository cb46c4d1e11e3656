// Hardstop.exe: the sibling program that Lorvan starts on its way out to shut Windows down.
// It shows nothing; programs that do not answer are ended rather than holding the box up.
#include "hosts/win32/shutdown_privilege.h"
#include "hosts/win32/win32_api.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  lorvan::win32::EnableShutdownPrivilege();
  const DWORD reason = SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;
  if (ExitWindowsEx(EWX_POWEROFF | EWX_FORCEIFHUNG, reason)) return 0;
  const DWORD error = GetLastError();
  return error != 0 ? static_cast<int>(error) : 1;
}
