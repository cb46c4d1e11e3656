#include "hosts/linux/web/web_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <nlohmann/json.hpp>

namespace lorvan::linuxhost::web {
namespace {

constexpr const char* kTokenCookie = "lorvan_token";
// The page runs only its own script and style and talks only to its own server; no other
// site may show it in a frame (and have the user click through it).
constexpr const char* kPagePolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

struct Reply {
  unsigned status = 0;  // 0: no reply yet, the request goes on
  std::string body;
  std::string content_type = "text/plain; charset=utf-8";
  std::map<std::string, std::string> headers;
};

Reply Refuse(unsigned status, const std::string& why) {
  Reply r;
  r.status = status;
  r.body = why + "\n";
  return r;
}

// A request's own data between the calls of the access handler.
struct Request {
  std::string body;
  bool too_large = false;
};

}  // namespace

struct WebServer::Impl {
  Impl(ServerConfig c, KeyQueue& k) : config(std::move(c)), keys(k) {}

  ServerConfig config;
  KeyQueue& keys;
  int port = 0;
  MHD_Daemon* daemon = nullptr;
  std::atomic<int> streams{0};

  std::mutex mutex;
  std::condition_variable changed;
  Frame frame;
  uint64_t seq = 0;
  bool stopping = false;

  std::string Header(MHD_Connection* c, const char* name) const {
    const char* v = MHD_lookup_connection_value(c, MHD_HEADER_KIND, name);
    return v ? v : "";
  }
  Reply Check(MHD_Connection* c, const std::string& path, const std::string& method) const;
  Reply Serve(MHD_Connection* c, const std::string& path);
  Reply PressKey(const std::string& body);
  MHD_Result Send(MHD_Connection* c, const Reply& r) const;
  MHD_Result OpenStream(MHD_Connection* c);
};

namespace {

// One page's stream of frames; MHD asks it for bytes whenever the connection can take some.
struct Stream {
  WebServer::Impl* server = nullptr;
  uint64_t seq = 0;  // the frame last sent
  std::string pending;
  size_t offset = 0;
};

ssize_t ReadStream(void* cls, uint64_t, char* buf, size_t max) {
  auto& s = *static_cast<Stream*>(cls);
  if (s.offset >= s.pending.size()) {
    WebServer::Impl& server = *s.server;
    std::unique_lock<std::mutex> lock(server.mutex);
    // Each connection has a thread of its own, which may wait here for the next frame.
    const bool fresh = server.changed.wait_for(lock, std::chrono::milliseconds(server.config.heartbeat_ms),
                                               [&] { return server.stopping || server.seq != s.seq; });
    if (server.stopping) return MHD_CONTENT_READER_END_OF_STREAM;
    if (fresh) {
      const Frame frame = server.frame;
      const uint64_t seq = server.seq;
      lock.unlock();
      s.pending = (s.seq == 0 ? "retry: 1000\n" : "") + std::string("data: ") + FrameJson(frame, seq) + "\n\n";
      s.seq = seq;
    } else {
      s.pending = ": quiet\n\n";
    }
    s.offset = 0;
  }
  const size_t n = std::min(max, s.pending.size() - s.offset);
  std::memcpy(buf, s.pending.data() + s.offset, n);
  s.offset += n;
  return static_cast<ssize_t>(n);
}

void FreeStream(void* cls) {
  auto* s = static_cast<Stream*>(cls);
  --s->server->streams;
  delete s;
}

MHD_Result Answer(void* cls, MHD_Connection* c, const char* url, const char* method, const char*, const char* upload,
                  size_t* upload_size, void** request_data) {
  auto& server = *static_cast<WebServer::Impl*>(cls);
  auto* request = static_cast<Request*>(*request_data);
  if (!request) {
    // The headers are there: refuse now, or serve, or wait for the body of a key.
    request = new Request;
    *request_data = request;
    const Reply refusal = server.Check(c, url, method);
    if (refusal.status != 0) return server.Send(c, refusal);
    if (std::strcmp(method, "POST") != 0) {
      if (std::strcmp(url, "/events") == 0) return server.OpenStream(c);
      return server.Send(c, server.Serve(c, url));
    }
    return MHD_YES;
  }
  if (*upload_size != 0) {
    if (request->body.size() + *upload_size > server.config.max_body) request->too_large = true;
    else request->body.append(upload, *upload_size);
    *upload_size = 0;
    return MHD_YES;
  }
  if (request->too_large) return server.Send(c, Refuse(413, "a key request is a few bytes"));
  return server.Send(c, server.PressKey(request->body));
}

void Completed(void*, MHD_Connection*, void** request_data, MHD_RequestTerminationCode) {
  delete static_cast<Request*>(*request_data);
  *request_data = nullptr;
}

}  // namespace

Reply WebServer::Impl::Check(MHD_Connection* c, const std::string& path, const std::string& method) const {
  const std::string host = Header(c, MHD_HTTP_HEADER_HOST);
  if (!HostAllowed(config.listen, port, host)) {
    return Refuse(403, "this box's page answers at its own address only, not at \"" + host + "\"");
  }
  if (!config.token.empty()) {
    const char* given = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "token");
    const char* cookie = MHD_lookup_connection_value(c, MHD_COOKIE_KIND, kTokenCookie);
    if (!(given && TokenMatches(given, config.token)) && !(cookie && TokenMatches(cookie, config.token))) {
      return Refuse(403, "this box's page needs its token: open it as http://" + host + "/?token=...");
    }
  }
  const bool known = config.files.count(path) != 0 || path == "/controls" || path == "/state" || path == "/events";
  if (path == "/key") {
    if (method != "POST") {
      Reply r = Refuse(405, "a key is pressed by POST");
      r.headers["Allow"] = "POST";
      return r;
    }
    // Only the page itself presses keys: a browser names the page a request comes from.
    const std::string site = Header(c, "Sec-Fetch-Site");
    if (!SameOrigin(Header(c, MHD_HTTP_HEADER_ORIGIN), host) || (!site.empty() && site != "same-origin")) {
      return Refuse(403, "keys are taken from the box's own page only");
    }
    if (Header(c, MHD_HTTP_HEADER_CONTENT_TYPE).rfind("application/json", 0) != 0) {
      return Refuse(415, "a key request is JSON: {\"key\":\"n\"}");
    }
    const std::string length = Header(c, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const bool digits = std::all_of(length.begin(), length.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
    if (!length.empty() && (!digits || length.size() > 6 || std::stoul(length) > config.max_body)) {
      return Refuse(413, "a key request is a few bytes");
    }
    return {};
  }
  if (!known) return Refuse(404, "no such page here");
  if (method != "GET" && method != "HEAD") {
    Reply r = Refuse(405, "this is read with GET");
    r.headers["Allow"] = "GET, HEAD";
    return r;
  }
  return {};
}

Reply WebServer::Impl::Serve(MHD_Connection* c, const std::string& path) {
  Reply r;
  r.status = 200;
  if (path == "/controls") {
    r.body = config.controls_json;
    r.content_type = "application/json";
  } else if (path == "/state") {
    std::unique_lock<std::mutex> lock(mutex);
    const Frame f = frame;
    const uint64_t n = seq;
    lock.unlock();
    r.body = FrameJson(f, n);
    r.content_type = "application/json";
  } else {
    const PageFile& file = config.files.at(path);
    r.body = file.body;
    r.content_type = file.content_type;
    r.headers["Content-Security-Policy"] = kPagePolicy;
    r.headers["X-Frame-Options"] = "DENY";
    // The token in the page's address becomes a cookie, which the page's own requests carry
    // and no other site's do.
    const char* given = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "token");
    if (!config.token.empty() && given && TokenMatches(given, config.token)) {
      r.headers["Set-Cookie"] =
          std::string(kTokenCookie) + "=" + config.token + "; Path=/; Max-Age=31536000; HttpOnly; SameSite=Strict";
    }
  }
  return r;
}

Reply WebServer::Impl::PressKey(const std::string& body) {
  const nlohmann::json j = nlohmann::json::parse(body, nullptr, false);
  if (!j.is_object() || !j.contains("key") || !j["key"].is_string() || j["key"].get<std::string>().size() != 1) {
    return Refuse(400, "a key request is JSON: {\"key\":\"n\"}");
  }
  const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(j["key"].get<std::string>()[0])));
  if (config.keys.find(key) == std::string::npos) return Refuse(400, "that is not a key of the remote");
  if (!keys.Push(key)) return Refuse(503, "the box has not taken the keys before this one yet");
  Reply done;
  done.status = 204;
  return done;
}

MHD_Result WebServer::Impl::Send(MHD_Connection* c, const Reply& r) const {
  MHD_Response* response =
      MHD_create_response_from_buffer(r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
  if (!response) return MHD_NO;
  if (!r.body.empty()) MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.content_type.c_str());
  MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
  for (const auto& [name, value] : r.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
  const MHD_Result result = MHD_queue_response(c, r.status, response);
  MHD_destroy_response(response);
  return result;
}

MHD_Result WebServer::Impl::OpenStream(MHD_Connection* c) {
  if (++streams > config.max_streams) {
    --streams;
    return Send(c, Refuse(503, "too many pages are open on this box"));
  }
  auto* stream = new Stream;
  stream->server = this;
  MHD_Response* response = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, 4096, &ReadStream, stream, &FreeStream);
  if (!response) {
    FreeStream(stream);
    return MHD_NO;
  }
  MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/event-stream");
  MHD_add_response_header(response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
  MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
  const MHD_Result result = MHD_queue_response(c, 200, response);
  MHD_destroy_response(response);
  return result;
}

WebServer::WebServer(ServerConfig config, KeyQueue& keys) : impl_(std::make_unique<Impl>(std::move(config), keys)) {
  const ListenAddress& l = impl_->config.listen;
  const std::string where = (l.ipv6 ? "[" + l.address + "]" : l.address) + ":" + std::to_string(l.port);
  const auto fail = [&](const std::string& what) { return WebError("cannot listen on " + where + ": " + what); };

  sockaddr_storage addr{};
  socklen_t addr_len = 0;
  if (l.ipv6) {
    auto& a = reinterpret_cast<sockaddr_in6&>(addr);
    a.sin6_family = AF_INET6;
    a.sin6_port = htons(static_cast<uint16_t>(l.port));
    inet_pton(AF_INET6, l.address.c_str(), &a.sin6_addr);
    addr_len = sizeof(a);
  } else {
    auto& a = reinterpret_cast<sockaddr_in&>(addr);
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(l.port));
    inet_pton(AF_INET, l.address.c_str(), &a.sin_addr);
    addr_len = sizeof(a);
  }
  const int fd = socket(addr.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw fail(std::strerror(errno));
  const int on = 1, off = 0;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  // [::] takes IPv4 clients too.
  if (l.ipv6) setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, l.wildcard ? &off : &on, sizeof(on));
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), addr_len) != 0 || listen(fd, 16) != 0) {
    const int err = errno;
    close(fd);
    throw fail(std::strerror(err));
  }
  addr_len = sizeof(addr);
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &addr_len);
  impl_->port = ntohs(l.ipv6 ? reinterpret_cast<sockaddr_in6&>(addr).sin6_port : reinterpret_cast<sockaddr_in&>(addr).sin_port);

  const ServerConfig& c = impl_->config;
  impl_->daemon = MHD_start_daemon(
      MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_POLL | (l.ipv6 ? MHD_USE_IPv6 : 0), 0,
      nullptr, nullptr, &Answer, impl_.get(), MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_CONNECTION_LIMIT,
      c.max_connections, MHD_OPTION_PER_IP_CONNECTION_LIMIT, c.max_connections_per_address,
      MHD_OPTION_CONNECTION_MEMORY_LIMIT, size_t{16384}, MHD_OPTION_CONNECTION_TIMEOUT, c.idle_timeout_s,
      MHD_OPTION_THREAD_STACK_SIZE, size_t{512 * 1024}, MHD_OPTION_NOTIFY_COMPLETED, &Completed, nullptr,
      MHD_OPTION_END);
  if (!impl_->daemon) {
    close(fd);
    throw fail("the HTTP server did not start");
  }
}

WebServer::~WebServer() {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->changed.notify_all();
  MHD_stop_daemon(impl_->daemon);
}

int WebServer::port() const { return impl_->port; }

int WebServer::streams() const { return impl_->streams.load(); }

void WebServer::Publish(const Frame& frame) {
  {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (impl_->seq != 0 && frame == impl_->frame) return;
    impl_->frame = frame;
    ++impl_->seq;
  }
  impl_->changed.notify_all();
}

}  // namespace lorvan::linuxhost::web
