// The web page's server in this process: who may read and press (address, Host, Origin,
// token), the limits, the frames it streams and the keys it hands to the loop's queue.
#include <gtest/gtest.h>
#include <poll.h>

#include <nlohmann/json.hpp>

#include "http_client.h"
#include "process_helpers.h"
#include "hosts/linux/options.h"
#include "hosts/linux/web/web_page.h"
#include "support/program_folder.h"

namespace lorvan::linuxhost::web {
namespace {

using lorvan::testing::EventStream;
using lorvan::testing::SendHttp;

TEST(WebAccess, ListenAddresses) {
  const struct {
    std::string text;
    bool ipv6, wildcard, loopback;
    int port;
  } cases[] = {
      {"127.0.0.1:8480", false, false, true, 8480}, {"0.0.0.0:0", false, true, false, 0},
      {"192.168.1.20:80", false, false, false, 80}, {"[::1]:8480", true, false, true, 8480},
      {"[::]:8480", true, true, false, 8480},
  };
  for (const auto& c : cases) {
    const ListenAddress l = ParseListenAddress(c.text);
    EXPECT_EQ(l.port, c.port) << c.text;
    EXPECT_EQ(l.ipv6, c.ipv6) << c.text;
    EXPECT_EQ(l.wildcard, c.wildcard) << c.text;
    EXPECT_EQ(l.loopback, c.loopback) << c.text;
  }
  for (const char* bad : {"localhost:8480", "127.0.0.1", "127.0.0.1:65536", "127.0.0.1:80a", "::1:8480", "[::1]8480",
                          "300.1.1.1:80", ""}) {
    EXPECT_THROW(ParseListenAddress(bad), std::invalid_argument) << bad;
  }
  EXPECT_EQ(ParseOptions({"--web=127.0.0.1:8480", "--web-token-file=t", "box"}).web, "127.0.0.1:8480");
  EXPECT_THROW(ParseOptions({"--web=8480", "box"}), std::invalid_argument) << "checked with the other options";
  EXPECT_THROW(ParseOptions({"--web-token-file=t", "box"}), std::invalid_argument) << "a token without a page";
}

TEST(WebAccess, HostAndOriginNameThePageItself) {
  const ListenAddress loop = ParseListenAddress("127.0.0.1:8480");
  const ListenAddress every = ParseListenAddress("0.0.0.0:8480");
  const ListenAddress lan = ParseListenAddress("192.168.1.20:8480");
  const struct {
    const ListenAddress& listen;
    std::string host;
    bool allowed;
  } hosts[] = {
      {loop, "127.0.0.1:8480", true},     {loop, "localhost:8480", true},   {loop, "LOCALHOST:8480", true},
      {loop, "127.0.0.1:8481", false},    {loop, "127.0.0.1", false},       {loop, "127.0.0.2:8480", false},
      {loop, "evil.example:8480", false}, {loop, "", false},                {loop, "127.0.0.1:8480 x", false},
      {every, "192.168.1.20:8480", true}, {every, "[fe80::1]:8480", true},  {every, "box.local:8480", false},
      {lan, "192.168.1.20:8480", true},   {lan, "localhost:8480", false},   {lan, "192.168.1.21:8480", false},
  };
  for (const auto& c : hosts) EXPECT_EQ(HostAllowed(c.listen, 8480, c.host), c.allowed) << c.host;

  const struct {
    std::string origin, host;
    bool same;
  } origins[] = {
      {"http://127.0.0.1:8480", "127.0.0.1:8480", true},
      {"HTTP://LocalHost:8480", "localhost:8480", true},
      {"http://192.168.1.20", "192.168.1.20:80", true},
      {"http://[::1]:8480", "[::1]:8480", true},
      {"http://evil.example:8480", "127.0.0.1:8480", false},
      {"https://127.0.0.1:8480", "127.0.0.1:8480", false},
      {"http://127.0.0.1:8481", "127.0.0.1:8480", false},
      {"http://127.0.0.1:8480/x", "127.0.0.1:8480", false},
      {"null", "127.0.0.1:8480", false},
      {"", "127.0.0.1:8480", false},
  };
  for (const auto& c : origins) EXPECT_EQ(SameOrigin(c.origin, c.host), c.same) << c.origin << " / " << c.host;

  EXPECT_TRUE(TokenMatches("abcdefgh", "abcdefgh"));
  EXPECT_FALSE(TokenMatches("abcdefg", "abcdefgh"));
  EXPECT_FALSE(TokenMatches("abcdefghabcdefgh", "abcdefgh"));
  EXPECT_FALSE(TokenMatches("", "abcdefgh"));
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

  const struct {
    std::string in, out;
  } vectors[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xff\xfe", "//4="}};
  for (const auto& v : vectors) {
    EXPECT_EQ(Base64(reinterpret_cast<const uint8_t*>(v.in.data()), v.in.size()), v.out) << v.in;
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
  const std::string p = std::to_string(port);
  const std::string key = std::string("/key?token=") + kToken;
  const std::string json = "Content-Type: application/json";
  const struct {
    std::string what, method, target;
    std::vector<std::string> headers;
    std::string body;
    int status;
  } cases[] = {
      {"no token", "POST", "/key", {host, origin, json}, "{\"key\":\"n\"}", 403},
      {"a wrong token", "POST", "/key?token=secret-token-2", {host, origin, json}, "{\"key\":\"n\"}", 403},
      {"a page without token", "GET", "/", {host}, "", 403},
      {"a wrong token cookie", "GET", "/state", {host, "Cookie: lorvan_token=nope"}, "", 403},
      {"another site", "POST", key, {host, "Origin: http://evil.example", json}, "{\"key\":\"n\"}", 403},
      {"an opaque origin", "POST", key, {host, "Origin: null", json}, "{\"key\":\"n\"}", 403},
      {"no origin", "POST", key, {host, json}, "{\"key\":\"n\"}", 403},
      {"a cross-site fetch", "POST", key, {host, origin, json, "Sec-Fetch-Site: cross-site"}, "{\"key\":\"n\"}", 403},
      {"a rebound name", "POST", key, {"Host: evil.example:" + p, "Origin: http://evil.example:" + p, json},
       "{\"key\":\"n\"}", 403},
      {"another port", "GET", std::string("/?token=") + kToken, {"Host: 127.0.0.1:1"}, "", 403},
      {"a form", "POST", key, {host, origin, "Content-Type: text/plain"}, "{\"key\":\"n\"}", 415},
      {"a large body", "POST", key, {host, origin, json}, "{\"key\":\"n\",\"x\":\"" + std::string(400, 'x') + "\"}", 413},
      {"not JSON", "POST", key, {host, origin, json}, "key=n", 400},
      {"two keys", "POST", key, {host, origin, json}, "{\"key\":\"np\"}", 400},
      {"no key of the remote", "POST", key, {host, origin, json}, "{\"key\":\"q\"}", 400},
      {"a key read", "GET", key, {host}, "", 405},
      {"a page written", "POST", std::string("/?token=") + kToken, {host, origin, json}, "{}", 405},
      {"an unknown page", "GET", std::string("/../etc/passwd?token=") + kToken, {host}, "", 404},
  };
  for (const auto& c : cases) {
    const auto reply = SendHttp(port, c.method, c.target, c.headers, c.body);
    EXPECT_EQ(reply.status, c.status) << c.what << "\n" << reply.head << "\n" << reply.body;
    EXPECT_FALSE(reply.body.empty()) << c.what << ": the refusal says why";
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
