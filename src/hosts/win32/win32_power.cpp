#include "hosts/win32/win32_power.h"

#include "hosts/win32/shutdown_privilege.h"
#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {
namespace {

// A function of a system library that older or newer systems may lack: found at run time.
FARPROC Find(const char* library, const char* function) {
  HMODULE lib = GetModuleHandleA(library);
  if (!lib) lib = LoadLibraryA(library);
  return lib ? GetProcAddress(lib, function) : nullptr;
}

template <typename Fn>
Fn Function(const char* library, const char* function) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(Find(library, function)));
}

}  // namespace

int32_t Win32Power::ExitWindowsEx(uint32_t flags, uint32_t reserved) {
  // Logging off needs no privilege; shutting down and restarting do.
  if ((flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0) EnableShutdownPrivilege();
  return ::ExitWindowsEx(flags, reserved) ? 1 : 0;
}

int32_t Win32Power::SetSuspendState(bool hibernate, bool force_critical, bool disable_wake_events) {
  using Fn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
  const auto fn = Function<Fn>("powrprof.dll", "SetSuspendState");
  if (!fn) return 0;
  EnableShutdownPrivilege();
  return fn(hibernate, force_critical, disable_wake_events) ? 1 : 0;
}

int32_t Win32Power::IsPwrHibernateAllowed() {
  using Fn = BOOLEAN(WINAPI*)();
  const auto fn = Function<Fn>("powrprof.dll", "IsPwrHibernateAllowed");
  return fn && fn() ? 1 : 0;
}

int32_t Win32Power::SetSystemPowerState(bool suspend, bool force) {
  using Fn = BOOL(WINAPI*)(BOOL, BOOL);
  const auto fn = Function<Fn>("kernel32.dll", "SetSystemPowerState");
  if (!fn) return 0;
  EnableShutdownPrivilege();
  return fn(suspend, force) ? 1 : 0;
}

bool Win32Power::GetVersionExA(int32_t& platform_id) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes, the ANSI record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = ::GetVersionExA(&info);
#pragma GCC diagnostic pop
  if (!ok) return false;
  platform_id = static_cast<int32_t>(info.dwPlatformId);
  return true;
}

int32_t Win32Power::IsSystemResumeAutomatic() { return ::IsSystemResumeAutomatic() ? 1 : 0; }

}  // namespace lorvan::win32
