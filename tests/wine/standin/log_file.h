#pragma once
// A stand-in's log file that readers and other writers only ever see in whole lines: each
// line is appended in one write, under a mutex named after the file. Wine appends by finding
// the file's end and then writing there, so two processes appending at once (a second start
// of the player beside the first) would otherwise write over each other.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace standin {

// The file and the mutex stay open as long as the stand-in runs.
class LogFile {
 public:
  explicit LogFile(const std::string& path)
      : file_(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    std::string name = "lorvan-standin-log " + path;  // a backslash would name a namespace
    for (char& c : name) c = c == '\\' ? '/' : c;
    mutex_ = CreateMutexA(nullptr, FALSE, name.c_str());
  }

  // Appends the line (with its line end) in one write; true when all of it was written.
  bool Append(const std::string& line) {
    // A writer that died holding the mutex leaves it abandoned, and it is ours all the same.
    WaitForSingleObject(mutex_, INFINITE);
    DWORD written = 0;
    const bool done = WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                      written == line.size();
    ReleaseMutex(mutex_);
    return done;
  }

 private:
  HANDLE file_;
  HANDLE mutex_;
};

}  // namespace standin
