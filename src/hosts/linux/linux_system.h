#pragma once
// The clocks and the program's own information on Linux.
#include <string>

#include "platform/app_info.h"
#include "platform/clock.h"

namespace lorvan::linuxhost {

class LinuxClock : public platform::Clock {
 public:
  int64_t MonotonicMs() override;
  // Milliseconds since boot, time asleep included, cut to 32 bits like the tick counter.
  uint32_t GetTickCount() override;
  int64_t QueryPerformanceCounter() override;  // nanoseconds
  int64_t QueryPerformanceFrequency() override { return 1000000000; }
  platform::LocalDateTime Now() override;
};

class LinuxAppInfo : public platform::AppInfo {
 public:
  explicit LinuxAppInfo(std::string program_dir) : dir_(std::move(program_dir)) {}
  std::string AppPath() override { return dir_; }
  platform::VersionInfo Version() override;

 private:
  std::string dir_;
};

// The folder made absolute, without a trailing separator.
std::string AbsoluteFolder(const std::string& dir);

}  // namespace lorvan::linuxhost
