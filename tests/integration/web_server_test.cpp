// The web page's server in this process: who may read and press (address, Host, Origin,
// token), the limits, the frames it streams and the keys it hands to the loop's queue.
#include <gtest/gtest.h>
#include <poll.h>

#include <nlohmann/json.hpp>

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

TEST(WebAccess, TokenFiles) {
  lorvan::testing::TempDir dir;
  EXPECT_EQ(ReadTokenFile(dir.Write("a", "  Zx9-_.~token \r\nsecond line\r\n")), "Zx9-_.~token");
  for (const char* bad : {"short\n", "with space inside\n", "quote\"quote\n", "\n"}) {
    try {
      ReadTokenFile(dir.Write("b", bad));
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(dir.path() + "/b:1: ", 0), 0u) << e.what();
    }
  }
  EXPECT_THROW(ReadTokenFile(dir.path() + "/none"), std::runtime_error);
}

TEST(WebFrame, PanelBytesAndBase64) {
  std::array<uint8_t, kPanelBytes> panel{};
  PackPanel([](int x, int y) { return (x == 0 && y == 0) || (x == 9 && y == 1) || (x == 127 && y == 63); }, panel);
  EXPECT_EQ(panel[0], 0x80) << "the leftmost pixel is the highest bit";
  EXPECT_EQ(panel[17], 0x40) << "row 1, pixel 9";
  EXPECT_EQ(panel[1023], 0x01);
  EXPECT_EQ(std::count(panel.begin(), panel.end(), 0), 1021);
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
  lorvan::testing::HttpReply Press(const std::string& body, std::vector<std::string> extra = {}) {
    std::vector<std::string> h = {host, origin, "Content-Type: application/json"};
    h.insert(h.end(), extra.begin(), extra.end());
    return SendHttp(port, "POST", std::string("/key?token=") + kToken, h, body);
  }

  KeyQueue keys{2};
  std::unique_ptr<WebServer> server;
  int port = 0;
  std::string host, origin;
};

TEST_F(WebServerTest, BadRequestsAreRefusedAndPressNothing) {
  const std::map<std::string, std::string> names = {{"$HOST", host}, {"$ORIGIN", origin},
      {"$JSON", "Content-Type: application/json"}, {"$PORT", std::to_string(port)}, {"$TOKEN", kToken}};
  const auto fill = [&](const std::string& text) { return lorvan::testing::Substitute(text, names); };
  for (const auto& row : Tables().at("refused_requests")) {
    std::vector<std::string> headers;
    for (const auto& h : row["headers"]) headers.push_back(fill(h));
    const auto reply = SendHttp(port, row["method"], fill(row["target"]), headers, row["body"]);
    EXPECT_EQ(reply.status, row["status"]) << row["what"] << "\n" << reply.head << "\n" << reply.body;
    EXPECT_FALSE(reply.body.empty()) << row["what"] << ": the refusal says why";
  }
  EXPECT_FALSE(KeysWaiting()) << "no refused request pressed a key";
}

TEST_F(WebServerTest, KeysGoToTheQueueInOrderUntilItIsFull) {
  EXPECT_EQ(Press("{\"key\":\"N\"}").status, 204) << "a capital is the same key";
  EXPECT_TRUE(KeysWaiting()) << "the loop's wait wakes";
  EXPECT_EQ(Press("{\"key\":\"\\r\"}", {"Sec-Fetch-Site: same-origin"}).status, 204);
  EXPECT_EQ(Press("{\"key\":\"p\"}").status, 503) << "the loop has not taken the two before";
  EXPECT_EQ(TakenKeys(), "n\r");
  EXPECT_FALSE(KeysWaiting());
  EXPECT_EQ(Press("{\"key\":\"p\"}").status, 204);
  EXPECT_EQ(TakenKeys(), "p");
}

TEST_F(WebServerTest, ThePageWithItsTokenSetsTheCookieItsOwnRequestsCarry) {
  const auto page = SendHttp(port, "GET", std::string("/?token=") + kToken, {host});
  ASSERT_EQ(page.status, 200) << page.head;
  EXPECT_NE(page.body.find("<canvas"), std::string::npos);
  EXPECT_NE(page.Header("Content-Security-Policy").find("frame-ancestors 'none'"), std::string::npos) << page.head;
  const std::string cookie = page.Header("Set-Cookie");
  EXPECT_EQ(cookie.rfind(std::string("lorvan_token=") + kToken + ";", 0), 0u) << page.head;
  EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  const std::string with_cookie = std::string("Cookie: lorvan_token=") + kToken;
  for (const char* path : {"/page.js", "/page.css", "/controls", "/state"}) {
    const auto r = SendHttp(port, "GET", path, {host, with_cookie});
    EXPECT_EQ(r.status, 200) << path;
    EXPECT_FALSE(r.body.empty()) << path;
  }
  EXPECT_EQ(nlohmann::json::parse(SendHttp(port, "GET", "/controls", {host, with_cookie}).body)[1]["caption"], "&Next");
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
