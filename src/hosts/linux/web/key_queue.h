#pragma once
// Key strokes handed from the web server's threads to the event loop: a bounded queue whose
// descriptor (an eventfd) becomes readable when it holds keys, so the loop's wait wakes.
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace lorvan::linuxhost::web {

class KeyQueue {
 public:
  explicit KeyQueue(size_t capacity);  // throws std::system_error when no eventfd is left
  ~KeyQueue();
  KeyQueue(const KeyQueue&) = delete;
  KeyQueue& operator=(const KeyQueue&) = delete;

  // Any thread: false (and nothing queued) when the loop has not taken the keys held already.
  bool Push(char key);
  // The loop: the descriptor its wait watches, and taking the keys in the order they came.
  int fd() const { return fd_; }
  void Drain(const std::function<void(char)>& on_key);

 private:
  const size_t capacity_;
  int fd_ = -1;
  std::mutex mutex_;
  std::deque<char> keys_;
};

}  // namespace lorvan::linuxhost::web
