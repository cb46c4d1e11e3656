// lorvan-web-measure: what one connected web page costs the box, and how long a key pressed on
// the page takes to show on the page's panel. It runs the real program (mpv without sound) in
// a scratch program folder and a headless Chromium on its page, and prints a table.
//   lorvan-web-measure [SECONDS_PER_WINDOW] [PRESSES]        (default 20 and 40)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <thread>

#include "integration/audio_files.h"
#include "integration/chromium.h"
#include "integration/http_client.h"
#include "integration/process_helpers.h"


namespace t = lorvan::testing;
namespace fs = std::filesystem;

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// CPU seconds a process has used, all its threads (user and system).
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string f;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; fields >> f; ++i) {
    if (i == 14) utime = std::stoull(f);
    if (i == 15) {
      stime = std::stoull(f);
      break;
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The share of one core a process uses over a window of real time.
double CoreShare(pid_t pid, int seconds) {
  const double cpu0 = CpuSeconds(pid);
  const int64_t t0 = NowMs();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  return (CpuSeconds(pid) - cpu0) / (static_cast<double>(NowMs() - t0) / 1000.0);
}

class Box {
 public:
  Box(const std::string& dir, bool web) : dir_(dir) {
    std::vector<std::string> args = {LORVAN_EXE, "--headless", "--socket=" + dir + "/mpv.sock", dir};
    if (web) args.insert(args.begin() + 2, "--web=127.0.0.1:0");
    pid_ = t::Spawn(args, dir + "/stderr.txt", {});
    if (pid_ < 0) throw std::runtime_error("no lorvan");
    std::smatch m;
    if (!t::Eventually([&] { return Log().find("running;") != std::string::npos; }, 60000)) {
      throw std::runtime_error("lorvan did not come up: " + Log());
    }
    const std::string log = Log();
    if (web && std::regex_search(log, m, std::regex("web page: http://127\\.0\\.0\\.1:(\\d+)/"))) port_ = std::stoi(m[1]);
  }
  ~Box() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    t::KillPlayer(dir_ + "/mpv.sock");
  }
  std::string Log() const {
    std::ifstream in(dir_ + "/stderr.txt");
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  void Press(char key) {
    const std::string p = std::to_string(port_);
    const std::string body = std::string("{\"key\":\"") + key + "\"}";
    t::SendHttp(port_, "POST", "/key", {"Host: 127.0.0.1:" + p, "Origin: http://127.0.0.1:" + p,
                                         "Content-Type: application/json"}, body);
  }
  std::string Player() {
    const std::string p = std::to_string(port_);
    const auto r = t::SendHttp(port_, "GET", "/state", {"Host: 127.0.0.1:" + p});
    return r.status == 200 ? nlohmann::json::parse(r.body)["player"].get<std::string>() : "";
  }
  pid_t pid() const { return pid_; }
  int port() const { return port_; }

 private:
  std::string dir_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// Counts the frames the page draws, from now on.
constexpr const char* kCountFrames =
    "window.frames_drawn = 0; document.addEventListener('lorvan-frame', () => window.frames_drawn++); true";

// Clicks a key's button and resolves with the milliseconds until the page draws a changed panel.
constexpr const char* kTimeKey = R"JS(((key) => new Promise((resolve) => {
  const canvas = document.getElementById('panel');
  const pixels = () => canvas.getContext('2d').getImageData(0, 0, 128, 64).data.join();
  const before = pixels();
  const shown = () => {
    if (pixels() === before) return;
    document.removeEventListener('lorvan-frame', shown);
    resolve(performance.now() - t0);
  };
  document.addEventListener('lorvan-frame', shown);
  const t0 = performance.now();
  document.querySelector(`button[data-key="${key}"]`).click();
}))(KEY))JS";

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5))];
}

// Opens the box's page in the browser and measures the box's share of a core and the frames
// the page draws a second, over window seconds.
std::pair<double, double> WithPage(const Box& box, t::Chromium& browser, int window) {
  browser.Open("http://127.0.0.1:" + std::to_string(box.port()) + "/");
  t::Eventually([&] { return browser.Evaluate("Number(document.getElementById('panel').dataset.seq || 0)") > 0; },
                60000);
  browser.Evaluate(kCountFrames);
  const double page = CoreShare(box.pid(), window);
  return {page, browser.Evaluate("window.frames_drawn").get<double>() / window};
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each line as it is measured
  const int window = argc > 1 ? std::atoi(argv[1]) : 20;
  const int presses = argc > 2 ? std::atoi(argv[2]) : 40;
  const std::string browser_program = t::Chromium::Find();
  if (browser_program.empty() || t::FindProgram("mpv").empty()) {
    std::cerr << "lorvan-web-measure: needs chromium and mpv (tools/setup-debian.sh installs them)\n";
    return 2;
  }
  char scratch[] = "/tmp/lorvan-web-measure-XXXXXX";
  const std::string dir = mkdtemp(scratch);
  // Short names do not scroll: the panel changes only when a key or the player changes it. In
  // the other folder the one track's name scrolls: a new picture every refresh.
  const std::string quiet = dir + "/quiet", scrolling = dir + "/scrolling";
  for (const std::string& d : {quiet, scrolling}) t::Shell(std::string(LORVAN_EXE) + " --setup " + d + " >/dev/null");
  for (const char* name : {"First.wav", "Second.wav", "Third.wav", "Fourth.wav"}) {
    t::WriteSineWav(quiet + "/Music/" + name, 600, 440, 8000, 0.2);
  }
  t::WriteSineWav(scrolling + "/Music/A Very Long Title That Scrolls Along The Line.wav", 600, 440, 8000, 0.2);
  std::printf("| measurement | figure |\n|---|---|\n");
  try {
    {
      Box plain(quiet, false);
      std::this_thread::sleep_for(std::chrono::seconds(2));
      std::printf("| lorvan without --web, stopped, browsing | %.2f %% of a core |\n", 100 * CoreShare(plain.pid(), window));
    }
    {
      Box box(quiet, true);
      std::this_thread::sleep_for(std::chrono::seconds(2));
      const double idle = CoreShare(box.pid(), window);
      std::printf("| --web, no page, stopped | %.2f %% of a core |\n", 100 * idle);
      t::Chromium browser(browser_program, 120000);
      const auto [page, frames] = WithPage(box, browser, window);
      std::printf("| --web, one page, stopped | %.2f %% of a core (%+.2f), %.1f frames/s |\n", 100 * page,
                  100 * (page - idle), frames);

      // Key to changed panel: Next and Previous in turn, each timed on the page.
      std::vector<double> ms;
      for (int i = 0; i < presses; ++i) {
        std::string js = kTimeKey;
        js.replace(js.find("KEY"), 3, i % 2 == 0 ? "'n'" : "'v'");
        ms.push_back(browser.Evaluate(js).get<double>());
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + 37 * (i % 5)));
      }
      std::printf("| key on the page to changed panel on the page, %d presses | median %.0f ms, 90%% %.0f ms, max %.0f ms |\n",
                  presses, Percentile(ms, 0.5), Percentile(ms, 0.9), *std::max_element(ms.begin(), ms.end()));
    }
    {
      // Playing the track whose name scrolls.
      Box box(scrolling, true);
      box.Press('p');
      t::Eventually([&] { return box.Player() == "playing"; }, 30000);
      std::this_thread::sleep_for(std::chrono::seconds(2));
      const double idle = CoreShare(box.pid(), window);
      t::Chromium browser(browser_program, 120000);
      const auto [page, frames] = WithPage(box, browser, window);
      std::printf("| --web, playing a scrolling title, no page | %.2f %% of a core |\n", 100 * idle);
      std::printf("| --web, playing a scrolling title, one page | %.2f %% of a core (%+.2f), %.1f frames/s |\n",
                  100 * page, 100 * (page - idle), frames);
    }
  } catch (const std::exception& e) {
    std::cerr << "lorvan-web-measure: " << e.what() << "\n";
    fs::remove_all(dir);
    return 1;
  }
  fs::remove_all(dir);
  return 0;
}
