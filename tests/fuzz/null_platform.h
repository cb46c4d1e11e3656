#pragma once
// A platform whose outside world does nothing, around an in-memory file system.
#include "memory_file_system.h"
#include "platform/platform.h"

namespace lorvan::fuzz {

struct NullWorld : platform::WindowMessages, platform::Processes, platform::PortIo, platform::Clock,
                   platform::Power, platform::Drives, platform::Dialogs, platform::AppInfo,
                   platform::EventHost {
  platform::Hwnd FindWindowA(const std::string&) override { return 0; }
  int32_t SendMessageA(platform::Hwnd, uint32_t, int32_t, int32_t) override { return 0; }
  bool PostMessageA(platform::Hwnd, uint32_t, int32_t, int32_t) override { return false; }
  int32_t SendCopyData(platform::Hwnd, int32_t, const platform::CopyDataStruct&) override { return 0; }
  int32_t Shell(const std::string&, int) override { return 1; }
  bool HasEnded(int32_t) override { return false; }
  bool AppActivate(int32_t) override { return false; }
  void SendKeys(const std::string&, bool) override {}
  void Out32(int16_t, int16_t) override {}
  int64_t MonotonicMs() override { return 0; }
  uint32_t GetTickCount() override { return 0; }
  int64_t QueryPerformanceCounter() override { return 0; }
  int64_t QueryPerformanceFrequency() override { return 1000; }
  platform::LocalDateTime Now() override { return {}; }
  int32_t ExitWindowsEx(uint32_t, uint32_t) override { return 0; }
  int32_t SetSuspendState(bool, bool, bool) override { return 0; }
  int32_t IsPwrHibernateAllowed() override { return 0; }
  int32_t SetSystemPowerState(bool, bool) override { return 0; }
  bool GetVersionExA(int32_t&) override { return false; }
  int32_t IsSystemResumeAutomatic() override { return 0; }
  std::string GetLogicalDriveStringsA(uint32_t) override { return {}; }
  uint32_t GetDriveTypeA(const std::string&) override { return 0; }
  std::string CurDir() override { return "/"; }
  int ChDir(const std::string&) override { return 76; }
  int32_t mciSendStringA(const std::string&) override { return 0; }
  void MsgBox(const std::string&, const std::string&) override {}
  std::string AppPath() override { return "/box"; }
  platform::VersionInfo Version() override { return {}; }
  bool DeliverDueEvents() override { return false; }
  void Idle(std::optional<int64_t>) override {}

  MemoryFileSystem files;
  platform::Platform platform{*this, *this, *this, *this, *this, *this, files, *this, *this, *this};
};

}  // namespace lorvan::fuzz
