#pragma once
// Headless Chromium driven through its DevTools protocol over a pipe (--remote-debugging-pipe:
// JSON messages ended by a NUL byte on descriptors 3 and 4), for the web page's tests and
// measurements. Every wait has a deadline; the browser and its profile go with the object.
#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace lorvan::testing {

class Chromium {
 public:
  // The browser program, empty when none is installed.
  static std::string Find();

  // Starts the browser with a fresh profile and opens one empty tab; throws std::runtime_error.
  explicit Chromium(const std::string& program, int timeout_ms = 60000);
  ~Chromium();
  Chromium(const Chromium&) = delete;
  Chromium& operator=(const Chromium&) = delete;

  // Loads a page in the tab and waits until its load event.
  void Open(const std::string& url);
  // The value of a JavaScript expression in the tab (promises awaited); throws on an exception.
  nlohmann::json Evaluate(const std::string& expression);

 private:
  // A protocol command, in the tab when session is its session; its result. Throws with the
  // error when it fails.
  nlohmann::json Call(const std::string& method, const nlohmann::json& params, const std::string& session);
  // Waits for the next message, false at the deadline.
  bool Receive(nlohmann::json& message, int64_t deadline_ms);

  int timeout_ms_;
  pid_t pid_ = -1;
  int to_browser_ = -1;
  int from_browser_ = -1;
  std::string profile_;
  std::string buffer_;
  std::string session_;
  int next_id_ = 1;
  bool loaded_ = false;
};

}  // namespace lorvan::testing
