// The web page's server in this process: who may read and press (address, Host, Origin,
// token), the limits, the frames it streams and the keys it hands to the loop's queue.
#include <gtest/gtest.h>
#include <poll.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "hosts/linux/web/web_page.h"
#include "http_client.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace lorvan::linuxhost::web {
namespace {

using lorvan::testing::EventStream;
using lorvan::testing::SendHttp;

const nlohmann::json& Tables() {
  static const nlohmann::json tables = lorvan::testing::ReadJson(LORVAN_SOURCE_DIR "/tests/integration/tables/web_access.json");
  return tables;
}

TEST(WebAccess, AddressesHostsOriginsAndTokensFromTheTables) {
  for (const auto& row : Tables().at("listen")) {
    SCOPED_TRACE(row.dump());
    if (row.contains("error")) {
      EXPECT_THROW(ParseListenAddress(row["text"]), std::invalid_argument);
      continue;
    }
    const ListenAddress l = ParseListenAddress(row["text"]);
    EXPECT_EQ(l.port, row["port"]);
    EXPECT_EQ(l.ipv6, row["ipv6"]);
    EXPECT_EQ(l.wildcard, row["wildcard"]);
    EXPECT_EQ(l.loopback, row["loopback"]);
  }
  for (const auto& row : Tables().at("host_allowed")) {
    EXPECT_EQ(HostAllowed(ParseListenAddress(row["listen"]), 8480, row["host"]), row["allowed"]) << row.dump();
  }
  for (const auto& row : Tables().at("same_origin")) EXPECT_EQ(SameOrigin(row["origin"], row["host"]), row["same"]) << row;
  for (const auto& row : Tables().at("token_matches")) EXPECT_EQ(TokenMatches(row["given"], row["token"]), row["match"]) << row;
}

// A token file's first line, trimmed; a bad one is refused naming the file and line.
TEST(WebAccess, TokenFiles) {
  lorvan::testing::TempDir dir;
  for (const auto& row : Tables().at("token_files")) {
    try {
      EXPECT_EQ(ReadTokenFile(dir.Write("t", row["text"])), row.value("token", "(refused)")) << row;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(dir.path() + "/t:1: ", 0), 0u) << e.what();
      EXPECT_FALSE(row.contains("token")) << row;
    }
  }
  EXPECT_THROW(ReadTokenFile(dir.path() + "/none"), std::runtime_error);
}

// The panel's bytes as the page reads them (their pixel order is checked by the page's
// drawing in web_page_test.cpp) and the rest of a frame.
TEST(WebFrame, Base64AndTheFrameJson) {
  for (const auto& row : Tables().at("base64")) {
    std::vector<uint8_t> bytes;
    const std::string hex = row["hex"];
    for (size_t i = 0; i < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    EXPECT_EQ(Base64(bytes.data(), bytes.size()), row["base64"]) << hex;
  }
  Frame f;
  f.info = "Caf\xe9";  // not UTF-8
  f.key = '\r';
  const auto j = nlohmann::json::parse(FrameJson(f, 7));
  EXPECT_EQ(j["seq"], 7);
  EXPECT_EQ(j["key"], "Enter");
  EXPECT_EQ(j["panel"].get<std::string>().size(), 1368u);
  EXPECT_EQ(j["info"].get<std::string>().substr(0, 3), "Caf");
}

class WebServerTest : public ::testing::Test {
 protected:
  static constexpr const char* kToken = "secret-token-1";
  void SetUp() override {
    ServerConfig c;
    c.listen = ParseListenAddress("127.0.0.1:0");
    c.token = kToken;
    c.files = LoadPageFiles(std::string(LORVAN_SOURCE_DIR) + "/data/Web");
    c.controls_json = ControlsJson({{"&Play", 'p', false}, {"&Next", 'n', false}, {"Enter", '\r', false}});
    c.keys = "pn\r";
    c.max_streams = 2;
    c.heartbeat_ms = 200;
    server = std::make_unique<WebServer>(c, keys);
    port = server->port();
    host = "Host: 127.0.0.1:" + std::to_string(port);
    origin = "Origin: http://127.0.0.1:" + std::to_string(port);
  }
  bool KeysWaiting() {
    pollfd p{keys.fd(), POLLIN, 0};
    return poll(&p, 1, 0) == 1;
  }
  std::string TakenKeys() {
    std::string taken;
    keys.Drain([&](char k) { taken += k; });
    return taken;
  }

  KeyQueue keys{2};
  std::unique_ptr<WebServer> server;
  int port = 0;
  std::string host, origin;
};

// The requests in order: each reply's status, a body on each that has one (a refusal says why),
// what its head and body match, and the keys the loop's queue holds afterwards.
TEST_F(WebServerTest, RequestsFromTheTableAndTheKeysTheyPress) {
  const std::map<std::string, std::string> names = {{"$HOST", host}, {"$ORIGIN", origin},
      {"$JSON", "Content-Type: application/json"}, {"$PORT", std::to_string(port)}, {"$TOKEN", kToken},
      {"$COOKIE", std::string("Cookie: lorvan_token=") + kToken}};
  const auto fill = [&](const std::string& text) { return lorvan::testing::Substitute(text, names); };
  for (const auto& row : Tables().at("requests")) {
    SCOPED_TRACE(row["what"].get<std::string>());
    std::vector<std::string> headers;
    for (const auto& h : row["headers"]) headers.push_back(fill(h));
    const auto reply = SendHttp(port, row["method"], fill(row["target"]), headers, row["body"]);
    EXPECT_EQ(reply.status, row["status"]) << reply.head << "\n" << reply.body;
    EXPECT_EQ(reply.body.empty(), reply.status == 204) << reply.body;
    for (const auto& m : row.value("matches", nlohmann::json::array())) {
      EXPECT_TRUE(std::regex_search(reply.head + reply.body, std::regex(fill(m)))) << m << "\n" << reply.head;
    }
    if (row.contains("waiting")) EXPECT_EQ(KeysWaiting(), row["waiting"]);
    if (row.contains("taken")) EXPECT_EQ(TakenKeys(), row["taken"]);
  }
  EXPECT_FALSE(KeysWaiting());
}

TEST_F(WebServerTest, StreamsEachNewFrameOnceAndLimitsThePages) {
  const std::string target = std::string("/events?token=") + kToken;
  Frame f;
  f.time = "00:01";
  server->Publish(f);
  EventStream first(port, target, {host});
  ASSERT_EQ(first.Status(), 200);
  auto event = first.Next();
  ASSERT_TRUE(event);
  EXPECT_EQ(nlohmann::json::parse(*event)["time"], "00:01") << "the current frame comes at once";
  const int seq = nlohmann::json::parse(*event)["seq"];

  server->Publish(f);  // the same again sends nothing
  f.panel[4] = 0x81;
  f.time = "00:02";
  server->Publish(f);
  event = first.Next();
  ASSERT_TRUE(event);
  const auto j = nlohmann::json::parse(*event);
  EXPECT_EQ(j["seq"], seq + 1);
  EXPECT_EQ(j["time"], "00:02");
  EXPECT_EQ(j["panel"].get<std::string>().substr(4, 4), "AIEA") << "bytes 3-5: 00 81 00";

  {
    EventStream second(port, target, {host});
    ASSERT_EQ(second.Status(), 200);
    EXPECT_EQ(server->streams(), 2);
    EventStream third(port, target, {host});
    EXPECT_EQ(third.Status(), 503) << "two pages at most in this test";
  }
  // A closed page is noticed at its next write (a frame or the quiet stream's comment).
  EXPECT_TRUE(lorvan::testing::Eventually([&] { return server->streams() == 1; }));
  EventStream again(port, target, {host});
  EXPECT_EQ(again.Status(), 200);
  EXPECT_TRUE(again.Next());
}

}  // namespace
}  // namespace lorvan::linuxhost::web
