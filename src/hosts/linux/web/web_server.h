#pragma once
// The web page's HTTP server (libmicrohttpd, a thread per connection): the page's files, the
// controls, the current frame, a stream of frames (server-sent events) and the keys, which go
// into a queue the event loop takes them from. Only the loop's Publish touches the frame it
// serves, under a mutex, so nothing here ever waits for the loop or makes it wait.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "hosts/linux/web/access.h"
#include "hosts/linux/web/frame.h"
#include "hosts/linux/web/key_queue.h"

namespace lorvan::linuxhost::web {

class WebError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PageFile {
  std::string content_type;
  std::string body;
};

struct ServerConfig {
  ListenAddress listen;
  std::string token;                       // empty: requests need none
  std::map<std::string, PageFile> files;   // by path: "/" is the page
  std::string controls_json;               // GET /controls
  std::string keys;                        // the key strokes POST /key may press
  unsigned max_connections = 32;
  unsigned max_connections_per_address = 16;
  int max_streams = 8;                     // pages open at once
  size_t max_body = 256;                   // bytes of a key request
  unsigned idle_timeout_s = 30;
  int heartbeat_ms = 15000;                // a comment on a quiet stream, so a closed page is noticed
};

class WebServer {
 public:
  // Listens and serves on threads of its own; throws WebError naming the address and cause.
  WebServer(ServerConfig config, KeyQueue& keys);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  int port() const;
  // The event loop: a new frame for every page (the same one again sends nothing).
  void Publish(const Frame& frame);
  // Pages connected to the stream now.
  int streams() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace lorvan::linuxhost::web
