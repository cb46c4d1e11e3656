// The web page in a real browser: headless Chromium loads it from a lorvan running headless as
// a service runs it (mpv without sound, no LCD port), draws the panel exactly as the panel
// shows it, and its buttons and keyboard press the remote's keys (the server's refusals are in
// web_server_test.cpp); SIGTERM ends the box in order.
#include <gtest/gtest.h>

#include <regex>

#include "audio_files.h"
#include "chromium.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

constexpr const char* kToken = "page-test-token";
constexpr int kWaitMs = 30000;  // a browser and a player starting on a busy machine

using Rows = std::vector<std::string>;

class WebPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
    browser_program = Chromium::Find();
    if (browser_program.empty()) GTEST_SKIP() << "chromium is not installed (tools/setup-debian.sh installs it)";
    for (const char* name : {"First.wav", "Second.wav", "Third.wav"}) {
      WriteSineWav(folder.music_root() + name, 30.0, 440);
    }
    // A help page with more lines than fit: start-up says so in a message box.
    std::string help = "34\r\n";
    for (int i = 0; i < 12; ++i) help += "K\tline\r\n";
    folder.Write("Help.txt", help);
  }
  void TearDown() override {
    if (pid > 0) {
      EXPECT_TRUE(Terminate(pid)) << "the box ends in order with its page\n" << Log();
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
    const std::string token_file = folder.Write("web.token", std::string(kToken) + "\n");
    pid = Spawn({LORVAN_EXE, "--headless", "--socket=" + folder.path() + "/mpv.sock", "--port=/nonexistent/parport7",
                 "--web=127.0.0.1:0", "--web-token-file=" + token_file, folder.path()},
                folder.path() + "/output.txt");
    ASSERT_GT(pid, 0);
    std::smatch m;
    const std::regex url("web page: http://127\\.0\\.0\\.1:(\\d+)/");
    std::string log;
    ASSERT_TRUE(Eventually([&] { return std::regex_search(log = Log(), m, url); }, kWaitMs)) << Log();
    port = std::stoi(m[1]);
  }
  std::string Log() { return folder.Read("output.txt"); }

  bool CanvasShows(const Rows& rows) {
    return Eventually([&] { return browser->Evaluate(read_canvas)["rows"] == rows; }, kWaitMs);
  }
  std::string Text(const std::string& id) {
    return browser->Evaluate("document.getElementById('" + id + "').textContent");
  }
  void ClickKey(char key) {
    browser->Evaluate(std::string("document.querySelector('button[data-key=\"") + key + "\"]').click()");
  }

  ProgramFolder folder{[] {
    Settings s;
    s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null";
    return s;
  }()};
  const std::string read_canvas = Shell("cat " LORVAN_SOURCE_DIR "/tests/integration/tables/read_canvas.js");
  std::string browser_program;
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
  EXPECT_TRUE(Eventually([&] { return Log().find("running;") != std::string::npos; }, kWaitMs)) << Log();
  EXPECT_NE(Log().find("message box \"Lorvan\""), std::string::npos) << "message boxes are logged and go on";
  EXPECT_NE(Log().find("no LCD port: /nonexistent/parport7"), std::string::npos) << "the virtual panel takes over";
  browser = std::make_unique<Chromium>(browser_program);
  browser->Open("http://127.0.0.1:" + std::to_string(port) + "/?token=" + kToken);

  // The panel, pixel for pixel as the simulated machine shows this folder, drawn from the box's
  // frames; only the panel's two colours, shown enlarged.
  EXPECT_TRUE(CanvasShows(browse)) << Log();
  EXPECT_EQ(Text("link"), "live") << "the stream is open";
  const nlohmann::json shown = browser->Evaluate(read_canvas);
  EXPECT_EQ(shown["other"], 0);
  EXPECT_GE(shown["width"], 256) << "drawn at least twice the panel's size";

  // Every key of the remote is a button; the buttons and the keyboard's accelerators press them.
  const std::string keys = browser->Evaluate("[...document.querySelectorAll('button[data-key]')].map(b => b.dataset.key).join('')");
  for (char k : std::string("pasvn<>0123456789crgouwdhxtfei\r")) EXPECT_NE(keys.find(k), std::string::npos) << k;
  ClickKey('n');
  EXPECT_TRUE(CanvasShows(after_next)) << "the cursor moved down one line";
  browser->Evaluate("document.dispatchEvent(new KeyboardEvent('keydown', {key: 'V'}))");  // Previous
  EXPECT_TRUE(CanvasShows(browse)) << "and up again";

  // Play: the time counts in the page's status line.
  ClickKey('p');
  int first = -1;
  ASSERT_TRUE(Eventually([&] { return Text("player") == "playing" && (first = ShownSeconds(Text("statusline"))) >= 0; },
                         kWaitMs))
      << Text("statusline") << " / " << Text("player") << "\n" << Log();
  EXPECT_TRUE(Eventually([&] { return ShownSeconds(Text("statusline")) >= first + 2; }, kWaitMs)) << Text("statusline");
  EXPECT_NE(Text("statusline").find("File 01 of 03"), std::string::npos) << Text("statusline");
}

}  // namespace
}  // namespace lorvan::testing
