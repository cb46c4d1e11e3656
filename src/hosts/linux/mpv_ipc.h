#pragma once
// One client connection to mpv's JSON IPC socket: commands with their replies, and the
// events mpv broadcasts, read without blocking between commands.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace lorvan::linuxhost {

using Json = nlohmann::json;

// A JSON text of j in which strings keep their bytes (no UTF-8 check or replacement).
std::string EncodeJsonBytes(const Json& j);

class MpvIpc {
 public:
  explicit MpvIpc(std::string socket_path) : path_(std::move(socket_path)) {}
  ~MpvIpc() { Close(); }
  MpvIpc(const MpvIpc&) = delete;
  MpvIpc& operator=(const MpvIpc&) = delete;

  const std::string& path() const { return path_; }
  // Connects when not connected; true while a connection is open and mpv has not closed it.
  bool Connect();
  // True while the connection is open; reads what mpv sent meanwhile (events) on the way.
  bool Alive();
  void Close();
  int fd() const { return fd_; }

  // Sends a command and waits for its reply, at most timeout_ms. The reply object
  // ({"error":..., "data":...}), or nullopt when the connection broke or mpv did not answer.
  std::optional<Json> Command(const Json& args, int timeout_ms = 2000);
  // Sends a command without waiting for its reply (the reply is skipped when it comes).
  bool Send(const Json& args);
  // Waits up to timeout_ms for input and handles the events that arrive; false when the
  // connection broke.
  bool Pump(int timeout_ms);

  // Asked right after connecting with the connection's socket: a reason to refuse the peer
  // (then the connection is closed and Connect fails), or nullopt to talk to it.
  std::function<std::optional<std::string>(int fd)> check_peer;
  // Told the reason each time check_peer refuses a peer.
  std::function<void(const std::string&)> on_refused;

  // Every event object mpv sends ({"event": ...}).
  std::function<void(const Json&)> on_event;

 private:
  bool WriteLine(const std::string& line);
  // Reads what is available (waiting at most timeout_ms for the first bytes); false on EOF/error.
  bool ReadSome(int timeout_ms);
  // Handles every complete line in the buffer; stores the reply with request_id `want`.
  void HandleLines(int64_t want, std::optional<Json>& reply);

  std::string path_;
  int fd_ = -1;
  int64_t next_id_ = 1;
  std::string in_;
};

// Why the peer of a connected socket is not the player: another user, or (started_pid > 0)
// a process that is neither the player started nor one of its children; nullopt when it is.
std::optional<std::string> ForeignPeer(int fd, int32_t started_pid);

}  // namespace lorvan::linuxhost
