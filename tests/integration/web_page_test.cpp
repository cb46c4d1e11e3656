// The web page in a real browser: headless Chromium loads it from a running lorvan (mpv
// without sound), draws the panel exactly as the panel shows it, and its buttons and keyboard
// press the remote's keys; requests from elsewhere or without the token press nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <regex>

#include "audio_files.h"
#include "chromium.h"
#include "hosts/linux/web/frame.h"
#include "http_client.h"
#include "process_helpers.h"
#include "support/program_folder.h"

extern char** environ;

namespace lorvan::testing {
namespace {

constexpr const char* kToken = "page-test-token";
constexpr int kWaitMs = 30000;  // a browser and a player starting on a busy machine

using Rows = std::vector<std::string>;

// The canvas as 64 rows of "#" (the panel's dark colour) and "." (its light one), with the
// frame number it shows, how many pixels are neither colour and the size it is shown at.
constexpr const char* kReadCanvas = R"JS((() => {
  const c = document.getElementById('panel');
  const d = c.getContext('2d').getImageData(0, 0, 128, 64).data;
  const rows = [];
  let other = 0;
  for (let y = 0; y < 64; y++) {
    let r = '';
    for (let x = 0; x < 128; x++) {
      const i = (y * 128 + x) * 4;
      const dark = d[i] === 28 && d[i + 1] === 40 && d[i + 2] === 24;
      if (!dark && !(d[i] === 176 && d[i + 1] === 200 && d[i + 2] === 96)) other++;
      r += dark ? '#' : '.';
    }
    rows.push(r);
  }
  const box = c.getBoundingClientRect();
  return {seq: Number(c.dataset.seq || 0), rows, other, width: box.width, height: box.height};
})())JS";

struct Canvas {
  int64_t seq = 0;
  Rows rows;
  int other = 0;
  double width = 0;
};

class WebPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
    browser_program = Chromium::Find();
    if (browser_program.empty()) GTEST_SKIP() << "chromium is not installed (tools/setup-debian.sh installs it)";
    for (const char* name : {"First.wav", "Second.wav", "Third.wav"}) {
      WriteSineWav(folder.music_root() + name, 30.0, 440);
    }
    token_file = folder.Write("web.token", std::string(kToken) + "\n");
  }
  void TearDown() override {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      int status = 0;
      if (!Eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, kWaitMs)) {
        ::kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
      }
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the box ends in order with its page\n" << Log();
    }
    KillPlayer(folder.path() + "/mpv.sock");
  }

  // The simulated machine's panel for this folder after a script's keys.
  Rows SimPanel(const std::string& keys) {
    const ScenarioResult sim = RunScenario(folder.path(), "start\nwait 100\n" + keys + "dump lcd\n");
    EXPECT_EQ(sim.exit_status, 0) << sim.err;
    return sim.OutLines();
  }

  void StartLorvan() {
    std::vector<std::string> args = {LORVAN_EXE,
                                     "--headless",
                                     "--socket=" + folder.path() + "/mpv.sock",
                                     "--web=127.0.0.1:0",
                                     "--web-token-file=" + token_file,
                                     folder.path()};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string err = folder.path() + "/stderr.txt";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    std::smatch m;
    const std::regex url("web page: http://127\\.0\\.0\\.1:(\\d+)/");
    std::string log;
    ASSERT_TRUE(Eventually([&] { return std::regex_search(log = Log(), m, url); }, kWaitMs)) << Log();
    port = std::stoi(m[1]);
  }
  std::string Log() { return folder.Read("stderr.txt"); }
  std::string Host() { return "Host: 127.0.0.1:" + std::to_string(port); }
  std::string Origin() { return "Origin: http://127.0.0.1:" + std::to_string(port); }

  nlohmann::json State() {
    const auto r = SendHttp(port, "GET", std::string("/state?token=") + kToken, {Host()});
    return r.status == 200 ? nlohmann::json::parse(r.body) : nlohmann::json();
  }
  Canvas ReadCanvas() {
    const auto j = browser->Evaluate(kReadCanvas);
    return {j["seq"], j["rows"], j["other"], j["width"]};
  }
  bool CanvasShows(const Rows& rows) {
    return Eventually([&] { return ReadCanvas().rows == rows; }, kWaitMs);
  }
  std::string Text(const std::string& id) {
    return browser->Evaluate("document.getElementById('" + id + "').textContent");
  }
  // Clicks a key's button with the mouse, where the page shows it.
  void ClickKey(char key) {
    const auto box = browser->Evaluate(std::string("(() => { const b = document.querySelector('button[data-key=\"") +
                                       key + "\"]'); b.scrollIntoView({block: 'center'});"
                                       " const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()");
    browser->Click(box[0], box[1]);
  }

  ProgramFolder folder{[] {
    Settings s;
    s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null";
    return s;
  }()};
  std::string browser_program, token_file;
  pid_t pid = -1;
  int port = 0;
  std::unique_ptr<Chromium> browser;
};

TEST_F(WebPageTest, TheBrowserShowsThePanelAndPressesTheRemotesKeys) {
  const Rows browse = SimPanel("");
  const Rows after_next = SimPanel("key N\nwait 100\n");
  ASSERT_EQ(browse.size(), 64u);
  ASSERT_NE(browse, after_next);
  StartLorvan();
  browser = std::make_unique<Chromium>(browser_program);
  browser->Open("http://127.0.0.1:" + std::to_string(port) + "/?token=" + kToken);

  // The panel, pixel for pixel: as the simulated machine shows this folder, and as the box's
  // own frame of the same number holds it; only the panel's two colours, shown enlarged.
  EXPECT_TRUE(CanvasShows(browse)) << Log();
  EXPECT_EQ(Text("link"), "live") << "the stream is open";
  EXPECT_TRUE(Eventually([&] {
    const Canvas c = ReadCanvas();
    const nlohmann::json s = State();
    if (s.is_null() || s["seq"] != c.seq) return false;
    std::array<uint8_t, linuxhost::web::kPanelBytes> bits{};
    linuxhost::web::PackPanel([&](int x, int y) { return c.rows[y][x] == '#'; }, bits);
    return linuxhost::web::Base64(bits.data(), bits.size()) == s["panel"];
  }, kWaitMs)) << "the drawn panel is the box's frame";
  const Canvas shown = ReadCanvas();
  EXPECT_EQ(shown.other, 0);
  EXPECT_GE(shown.width, 256) << "drawn at least twice the panel's size";

  // Every key of the remote is a button.
  const std::string keys = browser->Evaluate("[...document.querySelectorAll('button[data-key]')].map(b => b.dataset.key).join('')");
  for (char k : std::string("pasvn<>0123456789crgouwdhxtfei\r")) EXPECT_NE(keys.find(k), std::string::npos) << k;

  ClickKey('n');
  EXPECT_TRUE(CanvasShows(after_next)) << "the cursor moved down one line";
  browser->Type('V');  // the keyboard's accelerator of Previous
  EXPECT_TRUE(CanvasShows(browse)) << "and up again";

  // Refused: a page of another site, a rebound name, no token. Then one key of the page's own:
  // it is the only key the window took.
  ASSERT_TRUE(Eventually([&] { return State()["key"] == "v"; }, kWaitMs));
  const int64_t keys_before = State()["keys"];
  const std::string body = "{\"key\":\"n\"}", json = "Content-Type: application/json";
  const std::string key = std::string("/key?token=") + kToken;
  const std::string p = std::to_string(port);
  EXPECT_EQ(SendHttp(port, "POST", key, {Host(), "Origin: http://evil.example", json}, body).status, 403);
  EXPECT_EQ(SendHttp(port, "POST", key, {"Host: evil.example:" + p, "Origin: http://evil.example:" + p, json}, body).status,
            403);
  EXPECT_EQ(SendHttp(port, "POST", "/key", {Host(), Origin(), json}, body).status, 403);
  EXPECT_EQ(SendHttp(port, "GET", "/", {Host()}).status, 403);
  EXPECT_EQ(SendHttp(port, "POST", key, {Host(), Origin(), json}, "{\"key\":\"\\r\"}").status, 204);
  ASSERT_TRUE(Eventually([&] { return State()["key"] == "Enter"; }, kWaitMs));
  EXPECT_EQ(State()["keys"], keys_before + 1);
  EXPECT_EQ(ReadCanvas().rows, browse) << "the cursor stayed";

  // Play: the time counts in the page's status line.
  ClickKey('p');
  const std::regex time("(\\d+):(\\d+) Min\\.Sec\\.");
  const auto seconds = [&] {
    std::smatch m;
    const std::string line = Text("statusline");
    return std::regex_search(line, m, time) ? std::stoi(m[1]) * 60 + std::stoi(m[2]) : -1;
  };
  int first = -1;
  ASSERT_TRUE(Eventually([&] { return Text("player") == "playing" && (first = seconds()) >= 0; }, kWaitMs))
      << Text("statusline") << " / " << Text("player") << "\n" << Log();
  EXPECT_TRUE(Eventually([&] { return seconds() >= first + 2; }, kWaitMs)) << Text("statusline");
  EXPECT_NE(Text("statusline").find("File 01 of 03"), std::string::npos) << Text("statusline");
}

}  // namespace
}  // namespace lorvan::testing
