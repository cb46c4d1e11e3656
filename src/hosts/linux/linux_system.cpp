#include "hosts/linux/linux_system.h"

#include <limits.h>
#include <stdlib.h>
#include <time.h>

#include "version.h"

namespace lorvan::linuxhost {
namespace {

int64_t Ns(clockid_t id) {
  timespec ts{};
  clock_gettime(id, &ts);
  return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

}  // namespace

int64_t LinuxClock::MonotonicMs() { return Ns(CLOCK_MONOTONIC) / 1000000; }
uint32_t LinuxClock::GetTickCount() { return static_cast<uint32_t>(Ns(CLOCK_BOOTTIME) / 1000000); }
int64_t LinuxClock::QueryPerformanceCounter() { return Ns(CLOCK_MONOTONIC); }

platform::LocalDateTime LinuxClock::Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm t{};
  localtime_r(&ts.tv_sec, &t);
  return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
          static_cast<int>(ts.tv_nsec / 1000000)};
}

platform::VersionInfo LinuxAppInfo::Version() {
  return {kVersionComments, kLegalNotice, kVersionMajor, kVersionMinor, kVersionRevision};
}

std::string AbsoluteFolder(const std::string& dir) {
  char buf[PATH_MAX];
  std::string out = realpath(dir.c_str(), buf) ? std::string(buf) : dir;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

}  // namespace lorvan::linuxhost
