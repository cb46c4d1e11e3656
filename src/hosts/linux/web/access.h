#pragma once
// Who may use the web page: the address it listens on, the Host and Origin a request must
// name (so a page of another site, DNS rebinding included, cannot press keys), and the token.
#include <optional>
#include <stdexcept>
#include <string>

namespace lorvan::linuxhost::web {

// --web=ADDRESS:PORT: a numeric IPv4 address, or an IPv6 one in brackets ([::1]:8480).
struct ListenAddress {
  std::string address;  // without brackets
  int port = 0;         // 0: a free one
  bool ipv6 = false;
  bool wildcard = false;  // 0.0.0.0 or ::, every network of the machine
  bool loopback = false;  // 127.0.0.0/8 or ::1
};

// Throws std::invalid_argument with a message naming the value.
ListenAddress ParseListenAddress(const std::string& text);

// "host" or "host:port" of a Host header ("[v6]:port" with brackets); nullopt when malformed.
struct HostPort {
  std::string host;  // lower case, without brackets
  int port = 80;
};
std::optional<HostPort> ParseHostHeader(const std::string& value);

// The Host header names where the page listens: its own address (or "localhost" on a loopback
// one), or, on a wildcard address, any numeric address of the machine; always the bound port.
// A name other than localhost is refused: it is how a rebound DNS name reaches the box.
bool HostAllowed(const ListenAddress& listen, int bound_port, const std::string& host_header);

// The Origin header is the page's own: http:// and the same host and port as the Host header.
bool SameOrigin(const std::string& origin, const std::string& host_header);

// Equal strings, compared in a time that does not depend on where they differ.
bool TokenMatches(const std::string& given, const std::string& token);

// The token of a token file: its first line without surrounding blanks, at least 8 of the
// characters A-Z a-z 0-9 - _ . ~ (they need no escaping in an address or a cookie). Throws
// std::runtime_error naming the file.
std::string ReadTokenFile(const std::string& path);

}  // namespace lorvan::linuxhost::web
