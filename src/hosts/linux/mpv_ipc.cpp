#include "hosts/linux/mpv_ipc.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lorvan::linuxhost {
namespace {

int64_t NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t{ts.tv_sec} * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

std::string EncodeJsonBytes(const Json& j) {
  if (j.is_array()) {
    std::string out = "[";
    for (size_t i = 0; i < j.size(); ++i) {
      if (i) out += ',';
      out += EncodeJsonBytes(j[i]);
    }
    return out + "]";
  }
  if (j.is_object()) {
    std::string out = "{";
    bool first = true;
    for (auto it = j.begin(); it != j.end(); ++it) {
      if (!first) out += ',';
      first = false;
      out += EncodeJsonBytes(Json(it.key())) + ":" + EncodeJsonBytes(it.value());
    }
    return out + "}";
  }
  if (!j.is_string()) return j.dump();
  // File names are bytes: everything but quotes, backslashes and control characters goes
  // through unchanged, so a name that is not valid UTF-8 reaches mpv as it is on disk.
  std::string out = "\"";
  for (unsigned char c : j.get_ref<const std::string&>()) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char esc[8];
      std::snprintf(esc, sizeof(esc), "\\u%04x", c);
      out += esc;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool MpvIpc::Connect() {
  if (fd_ >= 0) return Alive();
  if (path_.size() >= sizeof(sockaddr_un::sun_path)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path_.data(), path_.size());
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    ::close(fd);
    return false;
  }
  if (check_peer) {
    if (auto refusal = check_peer(fd)) {
      ::close(fd);
      if (on_refused) on_refused(*refusal);
      return false;
    }
  }
  fd_ = fd;
  in_.clear();
  return true;
}

std::optional<std::string> ForeignPeer(int fd, int32_t started_pid) {
  ucred cred{};
  socklen_t len = sizeof(cred);
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) {
    return std::string("its peer cannot be told: ") + std::strerror(errno);
  }
  if (cred.uid != ::geteuid()) {
    return "it is served by user " + std::to_string(cred.uid) + ", not by this one (" + std::to_string(::geteuid()) + ")";
  }
  if (started_pid <= 0) return std::nullopt;
  // The player started may be a wrapper that runs mpv: its children count as the player.
  for (pid_t pid = cred.pid, hops = 0; pid > 1 && hops < 16; ++hops) {
    if (pid == started_pid) return std::nullopt;
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!f) break;
    char line[512] = {};
    const size_t n = std::fread(line, 1, sizeof(line) - 1, f);
    std::fclose(f);
    const char* close_paren = std::strrchr(line, ')');
    if (n == 0 || !close_paren) break;
    int parent = 0;
    if (std::sscanf(close_paren + 1, " %*c %d", &parent) != 1) break;
    pid = parent;
  }
  return "it is served by process " + std::to_string(cred.pid) + ", not by the player started (" +
         std::to_string(started_pid) + ")";
}

void MpvIpc::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  in_.clear();
}

bool MpvIpc::Alive() {
  if (fd_ < 0) return false;
  if (!ReadSome(0)) {
    Close();
    return false;
  }
  std::optional<Json> none;
  HandleLines(0, none);
  return true;
}

bool MpvIpc::Pump(int timeout_ms) {
  if (fd_ < 0) return false;
  if (!ReadSome(timeout_ms)) {
    Close();
    return false;
  }
  std::optional<Json> none;
  HandleLines(0, none);
  return true;
}

bool MpvIpc::WriteLine(const std::string& line) {
  size_t done = 0;
  const int64_t deadline = NowMs() + 2000;
  while (done < line.size()) {
    const ssize_t n = ::send(fd_, line.data() + done, line.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && NowMs() < deadline) {
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, 10);
      continue;
    }
    return false;
  }
  return true;
}

bool MpvIpc::ReadSome(int timeout_ms) {
  pollfd p{fd_, POLLIN, 0};
  const int r = ::poll(&p, 1, timeout_ms);
  if (r < 0) return errno == EINTR;
  if (r == 0) return true;
  if (p.revents & (POLLERR | POLLNVAL)) return false;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::recv(fd_, buf, sizeof(buf), 0);
    if (n > 0) {
      in_.append(buf, static_cast<size_t>(n));
      continue;
    }
    if (n == 0) return false;  // mpv closed the connection
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK;
  }
}

void MpvIpc::HandleLines(int64_t want, std::optional<Json>& reply) {
  size_t start = 0;
  for (;;) {
    const size_t nl = in_.find('\n', start);
    if (nl == std::string::npos) break;
    Json j = Json::parse(in_.begin() + static_cast<std::ptrdiff_t>(start), in_.begin() + static_cast<std::ptrdiff_t>(nl),
                         nullptr, false);
    start = nl + 1;
    if (!j.is_object()) continue;
    if (j.contains("event")) {
      if (on_event) on_event(j);
    } else if (want != 0 && j.value("request_id", int64_t{0}) == want) {
      reply = std::move(j);
    }
  }
  in_.erase(0, start);
}

bool MpvIpc::Send(const Json& args) {
  if (fd_ < 0 && !Connect()) return false;
  const std::string line =
      "{\"command\":" + EncodeJsonBytes(args) + ",\"request_id\":" + std::to_string(next_id_++) + "}\n";
  if (!WriteLine(line)) {
    Close();
    return false;
  }
  return true;
}

std::optional<Json> MpvIpc::Command(const Json& args, int timeout_ms) {
  if (fd_ < 0) return std::nullopt;
  const int64_t id = next_id_;
  if (!Send(args)) return std::nullopt;
  std::optional<Json> reply;
  const int64_t deadline = NowMs() + timeout_ms;
  std::optional<Json> none;
  HandleLines(id, reply);
  while (!reply) {
    const int64_t left = deadline - NowMs();
    if (left <= 0) return std::nullopt;
    if (!ReadSome(static_cast<int>(left))) {
      Close();
      return std::nullopt;
    }
    HandleLines(id, reply);
    if (fd_ < 0) return std::nullopt;  // an event handler closed the connection
  }
  return reply;
}

}  // namespace lorvan::linuxhost
