#include "http_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>

namespace lorvan::testing {
namespace {

int Connect(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void SendAll(int fd, const std::string& text) {
  for (size_t sent = 0; sent < text.size();) {
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<size_t>(n);
  }
}

std::string RequestText(const std::string& method, const std::string& target, const std::vector<std::string>& headers,
                        const std::string& body, const char* version) {
  std::string text = method + " " + target + " " + version + "\r\n";
  for (const std::string& h : headers) text += h + "\r\n";
  if (!body.empty()) text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return text + "Connection: close\r\n\r\n" + body;
}

int StatusOf(const std::string& head) {
  const size_t sp = head.find(' ');
  return sp == std::string::npos ? 0 : std::atoi(head.c_str() + sp + 1);
}

}  // namespace

std::string HttpReply::Header(const std::string& name) const {
  std::string lower_head = head, lower_name = name + ":";
  for (char& c : lower_head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : lower_name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower_head.find("\r\n" + lower_name);
  if (at == std::string::npos) return "";
  const size_t start = head.find_first_not_of(' ', at + 2 + lower_name.size());
  return head.substr(start, head.find("\r\n", start) - start);
}

HttpReply SendHttp(int port, const std::string& method, const std::string& target,
                   const std::vector<std::string>& headers, const std::string& body) {
  HttpReply reply;
  const int fd = Connect(port);
  if (fd < 0) return reply;
  SendAll(fd, RequestText(method, target, headers, body, "HTTP/1.1"));
  std::string all;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  char buf[4096];
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0) continue;
    const ssize_t n = recv(fd, buf, sizeof(buf), 0);
    if (n <= 0) break;
    all.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  const size_t split = all.find("\r\n\r\n");
  reply.head = all.substr(0, split);
  reply.body = split == std::string::npos ? "" : all.substr(split + 4);
  reply.status = StatusOf(reply.head);
  return reply;
}

EventStream::EventStream(int port, const std::string& target, const std::vector<std::string>& headers)
    : fd_(Connect(port)) {
  // HTTP/1.0: the stream comes unchunked and ends when the connection does.
  if (fd_ >= 0) SendAll(fd_, RequestText("GET", target, headers, "", "HTTP/1.0"));
}

EventStream::~EventStream() {
  if (fd_ >= 0) close(fd_);
}

bool EventStream::Fill(int timeout_ms) {
  if (fd_ < 0) return false;
  pollfd p{fd_, POLLIN, 0};
  if (poll(&p, 1, timeout_ms) <= 0) return false;
  char buf[8192];
  const ssize_t n = recv(fd_, buf, sizeof(buf), 0);
  if (n <= 0) {
    close(fd_);
    fd_ = -1;
    return false;
  }
  buffer_.append(buf, static_cast<size_t>(n));
  if (!head_done_) {
    const size_t split = buffer_.find("\r\n\r\n");
    if (split != std::string::npos) {
      status_ = StatusOf(buffer_);
      buffer_.erase(0, split + 4);
      head_done_ = true;
    }
  }
  return true;
}

int EventStream::Status(int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!head_done_ && fd_ >= 0 && std::chrono::steady_clock::now() < end) Fill(100);
  return status_;
}

std::optional<std::string> EventStream::Next(int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (head_done_) {
      // An event ends with a blank line; comments (": ...") carry no data.
      size_t stop;
      while ((stop = buffer_.find("\n\n")) != std::string::npos) {
        const std::string event = buffer_.substr(0, stop);
        buffer_.erase(0, stop + 2);
        const size_t data = event.find("data: ");
        if (data != std::string::npos) return event.substr(data + 6);
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0 || fd_ < 0) return std::nullopt;
    Fill(static_cast<int>(std::min<long>(left.count(), 200)));
  }
}

}  // namespace lorvan::testing
