#pragma once
// GoogleTest's hook for its port (found before its own empty one): a Notification for
// MinGW-w64's win32 thread model, which has no std::mutex. The Wine tests start no threads,
// so the wait only has to be right, not quick.
#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  void Notify() { notified_ = true; }
  void WaitForNotification() {
    while (!notified_) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
