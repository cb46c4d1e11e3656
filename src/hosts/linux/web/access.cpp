#include "hosts/linux/web/access.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>

namespace lorvan::linuxhost::web {
namespace {

// A decimal port number 0..65535 made of digits only; -1 otherwise.
int ParsePort(const std::string& s) {
  if (s.empty() || s.size() > 5) return -1;
  int port = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? port : -1;
}

// The binary form of a numeric address (4 or 16 bytes), nullopt for anything else.
std::optional<std::string> NumericAddress(const std::string& text) {
  std::array<unsigned char, 16> buf{};
  if (inet_pton(AF_INET, text.c_str(), buf.data()) == 1) return std::string(buf.begin(), buf.begin() + 4);
  if (inet_pton(AF_INET6, text.c_str(), buf.data()) == 1) return std::string(buf.begin(), buf.end());
  return std::nullopt;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

ListenAddress ParseListenAddress(const std::string& text) {
  const auto bad = [&](const std::string& why) {
    return std::invalid_argument("--web=" + text + ": " + why +
                                 " (ADDRESS:PORT with a numeric address: 127.0.0.1:8480, 0.0.0.0:8480, [::1]:8480)");
  };
  ListenAddress l;
  std::string port;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':') throw bad("no port");
    l.address = text.substr(1, close - 1);
    port = text.substr(close + 2);
  } else {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) throw bad("no port");
    l.address = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (l.address.find(':') != std::string::npos) throw bad("an IPv6 address goes in brackets");
  }
  l.port = ParsePort(port);
  if (l.port < 0) throw bad("\"" + port + "\" is not a port number");
  const auto binary = NumericAddress(l.address);
  if (!binary) throw bad("\"" + l.address + "\" is not a numeric address");
  l.ipv6 = binary->size() == 16;
  l.wildcard = binary->find_first_not_of('\0') == std::string::npos;
  l.loopback = l.ipv6 ? *binary == std::string(15, '\0') + '\1' : (*binary)[0] == 127;
  return l;
}

std::optional<HostPort> ParseHostHeader(const std::string& value) {
  HostPort hp;
  std::string rest;
  if (!value.empty() && value.front() == '[') {
    const size_t close = value.find(']');
    if (close == std::string::npos) return std::nullopt;
    hp.host = value.substr(1, close - 1);
    if (!NumericAddress(hp.host) || hp.host.find(':') == std::string::npos) return std::nullopt;
    rest = value.substr(close + 1);
  } else {
    const size_t colon = value.find(':');
    hp.host = value.substr(0, colon);
    if (colon != std::string::npos) rest = value.substr(colon);
    const bool name_chars = std::all_of(hp.host.begin(), hp.host.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
    });
    if (hp.host.empty() || !name_chars) return std::nullopt;
  }
  if (!rest.empty()) {
    if (rest.front() != ':') return std::nullopt;
    hp.port = ParsePort(rest.substr(1));
    if (hp.port <= 0) return std::nullopt;
  }
  hp.host = Lower(hp.host);
  return hp;
}

bool HostAllowed(const ListenAddress& listen, int bound_port, const std::string& host_header) {
  const auto hp = ParseHostHeader(host_header);
  if (!hp || hp->port != bound_port) return false;
  if (hp->host == "localhost") return listen.wildcard || listen.loopback;
  const auto binary = NumericAddress(hp->host);
  if (!binary) return false;
  return listen.wildcard || binary == NumericAddress(listen.address);
}

bool SameOrigin(const std::string& origin, const std::string& host_header) {
  const std::string scheme = "http://";
  if (Lower(origin.substr(0, scheme.size())) != scheme) return false;
  const std::string rest = origin.substr(scheme.size());
  if (rest.find('/') != std::string::npos) return false;
  const auto a = ParseHostHeader(rest);
  const auto b = ParseHostHeader(host_header);
  return a && b && a->host == b->host && a->port == b->port;
}

bool TokenMatches(const std::string& given, const std::string& token) {
  unsigned diff = given.size() == token.size() ? 0u : 1u;
  for (size_t i = 0; i < given.size(); ++i) {
    diff |= static_cast<unsigned char>(given[i]) ^ static_cast<unsigned char>(token.empty() ? 0 : token[i % token.size()]);
  }
  return diff == 0;
}

std::string ReadTokenFile(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (!in || !std::getline(in, line)) throw std::runtime_error(path + ": cannot read the web page's token");
  const size_t first = line.find_first_not_of(" \t\r");
  const size_t last = line.find_last_not_of(" \t\r");
  const std::string token = first == std::string::npos ? "" : line.substr(first, last - first + 1);
  const bool plain = std::all_of(token.begin(), token.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == '~';
  });
  if (token.size() < 8 || !plain) {
    throw std::runtime_error(path + ":1: the token is at least 8 of the characters A-Z a-z 0-9 - _ . ~");
  }
  return token;
}

}  // namespace lorvan::linuxhost::web
