#include "http_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>

namespace lorvan::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A connection to 127.0.0.1:port with the request sent on it; -1 when none.
int Connect(int port, const std::string& method, const std::string& target, const std::vector<std::string>& headers,
            const std::string& body, const char* version) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
    close(fd);
    return -1;
  }
  std::string text = method + " " + target + " " + version + "\r\n";
  for (const std::string& h : headers) text += h + "\r\n";
  if (!body.empty()) text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  text += "Connection: close\r\n\r\n" + body;
  for (size_t sent = 0; sent < text.size();) {
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  return fd;
}

// Appends what comes within timeout_ms; closes the connection (fd -1) when it ends.
void Read(int& fd, std::string& into, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0) return;
  char buf[8192];
  const ssize_t n = recv(fd, buf, sizeof(buf), 0);
  if (n > 0) {
    into.append(buf, static_cast<size_t>(n));
  } else {
    close(fd);
    fd = -1;
  }
}

int StatusOf(const std::string& head) {
  const size_t sp = head.find(' ');
  return sp == std::string::npos ? 0 : std::atoi(head.c_str() + sp + 1);
}

}  // namespace

std::string HttpReply::Header(const std::string& name) const {
  std::string lower_head = head, lower_name = name + ":";
  for (std::string* s : {&lower_head, &lower_name}) {
    std::transform(s->begin(), s->end(), s->begin(), [](unsigned char c) { return std::tolower(c); });
  }
  const size_t at = lower_head.find("\r\n" + lower_name);
  if (at == std::string::npos) return "";
  const size_t start = head.find_first_not_of(' ', at + 2 + lower_name.size());
  return head.substr(start, head.find("\r\n", start) - start);
}

HttpReply SendHttp(int port, const std::string& method, const std::string& target,
                   const std::vector<std::string>& headers, const std::string& body) {
  HttpReply reply;
  int fd = Connect(port, method, target, headers, body, "HTTP/1.1");
  std::string all;
  for (const auto end = Clock::now() + std::chrono::seconds(30); fd >= 0 && Clock::now() < end;) Read(fd, all, 1000);
  if (fd >= 0) close(fd);
  const size_t split = all.find("\r\n\r\n");
  reply.head = all.substr(0, split);
  reply.body = split == std::string::npos ? "" : all.substr(split + 4);
  reply.status = StatusOf(reply.head);
  return reply;
}

// HTTP/1.0: the stream comes unchunked and ends when the connection does.
EventStream::EventStream(int port, const std::string& target, const std::vector<std::string>& headers)
    : fd_(Connect(port, "GET", target, headers, "", "HTTP/1.0")) {}

EventStream::~EventStream() {
  if (fd_ >= 0) close(fd_);
}

int EventStream::Status(int timeout_ms) {
  for (const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms); !head_done_;) {
    const size_t split = buffer_.find("\r\n\r\n");
    if (split != std::string::npos) {
      status_ = StatusOf(buffer_);
      buffer_.erase(0, split + 4);
      head_done_ = true;
    } else if (fd_ < 0 || Clock::now() >= end) {
      break;
    } else {
      Read(fd_, buffer_, 100);
    }
  }
  return status_;
}

std::optional<std::string> EventStream::Next(int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  if (Status(timeout_ms) == 0) return std::nullopt;
  for (;;) {
    // An event ends with a blank line; comments (": ...") carry no data.
    for (size_t stop; (stop = buffer_.find("\n\n")) != std::string::npos;) {
      const std::string event = buffer_.substr(0, stop);
      buffer_.erase(0, stop + 2);
      const size_t data = event.find("data: ");
      if (data != std::string::npos) return event.substr(data + 6);
    }
    if (fd_ < 0 || Clock::now() >= end) return std::nullopt;
    Read(fd_, buffer_, 200);
  }
}

}  // namespace lorvan::testing
