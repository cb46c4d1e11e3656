#include "hosts/linux/web/key_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace lorvan::linuxhost::web {

KeyQueue::KeyQueue(size_t capacity) : capacity_(capacity), fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

KeyQueue::~KeyQueue() { close(fd_); }

bool KeyQueue::Push(char key) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (keys_.size() >= capacity_) return false;
    keys_.push_back(key);
  }
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof(one));
  return true;
}

void KeyQueue::Drain(const std::function<void(char)>& on_key) {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = read(fd_, &count, sizeof(count));
  std::deque<char> keys;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    keys.swap(keys_);
  }
  for (char k : keys) on_key(k);
}

}  // namespace lorvan::linuxhost::web
