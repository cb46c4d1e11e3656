#include "hosts/win32/win32_clock.h"

#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {

Win32Clock::Win32Clock() {
  LARGE_INTEGER f;
  if (::QueryPerformanceFrequency(&f) && f.QuadPart > 0) frequency_ = f.QuadPart;
}

int64_t Win32Clock::MonotonicMs() {
  const int64_t t = QueryPerformanceCounter();
  return t / frequency_ * 1000 + t % frequency_ * 1000 / frequency_;
}

uint32_t Win32Clock::GetTickCount() { return ::GetTickCount(); }

int64_t Win32Clock::QueryPerformanceCounter() {
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return t.QuadPart;
}

int64_t Win32Clock::QueryPerformanceFrequency() { return frequency_; }

platform::LocalDateTime Win32Clock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  platform::LocalDateTime d;
  d.year = st.wYear;
  d.month = st.wMonth;
  d.day = st.wDay;
  d.hour = st.wHour;
  d.minute = st.wMinute;
  d.second = st.wSecond;
  d.millisecond = st.wMilliseconds;
  return d;
}

}  // namespace lorvan::win32
