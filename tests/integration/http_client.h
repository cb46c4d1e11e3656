#pragma once
// A bare HTTP client for the web page's tests: requests written byte for byte (any Host,
// Origin or body, however wrong), answers read whole, and a stream of server-sent events.
#include <optional>
#include <string>
#include <vector>

namespace lorvan::testing {

struct HttpReply {
  int status = 0;  // 0: no answer
  std::string head;
  std::string body;
  std::string Header(const std::string& name) const;  // "" when not there
};

// The request's text with "Connection: close" added, sent to 127.0.0.1:port; the whole answer.
HttpReply SendHttp(int port, const std::string& method, const std::string& target,
                   const std::vector<std::string>& headers, const std::string& body = "");

// The data lines of server-sent events, as they come.
class EventStream {
 public:
  EventStream(int port, const std::string& target, const std::vector<std::string>& headers);
  ~EventStream();
  EventStream(const EventStream&) = delete;
  EventStream& operator=(const EventStream&) = delete;
  // The status of the answer (0 while none came within timeout_ms).
  int Status(int timeout_ms = 10000);
  // The next event's data, nullopt when none came within timeout_ms or the stream ended.
  std::optional<std::string> Next(int timeout_ms = 10000);

 private:
  int fd_ = -1;
  std::string buffer_;
  bool head_done_ = false;
  int status_ = 0;
};

}  // namespace lorvan::testing
