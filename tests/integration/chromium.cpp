#include "chromium.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "audio_files.h"
#include "process_helpers.h"

namespace lorvan::testing {
namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

std::string Chromium::Find() {
  // The program itself rather than Debian's launcher script, which reads settings of its own.
  if (access("/usr/lib/chromium/chromium", X_OK) == 0) return "/usr/lib/chromium/chromium";
  return FindProgram("chromium");
}

Chromium::Chromium(const std::string& program, int timeout_ms) : timeout_ms_(timeout_ms) {
  char dir[] = "/tmp/lorvan-chromium-XXXXXX";
  if (!mkdtemp(dir)) throw std::runtime_error("no profile folder for the browser");
  profile_ = dir;
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the browser");
  std::vector<std::string> args = {
      program, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--no-default-browser-check", "--disable-background-networking", "--disable-component-update",
      "--disable-sync", "--disable-dev-shm-usage", "--mute-audio", "--window-size=1000,1400",
      "--user-data-dir=" + profile_, "--remote-debugging-pipe", "about:blank"};
  pid_ = Spawn(args, profile_ + "/browser.log", {{in[0], 3}, {out[1], 4}});
  close(in[0]);
  close(out[1]);
  to_browser_ = in[1];
  from_browser_ = out[0];
  if (pid_ < 0) throw std::runtime_error(program + " did not start");
  // One tab of our own, attached with its own session.
  const nlohmann::json target = Call("Target.createTarget", {{"url", "about:blank"}}, "");
  const nlohmann::json attached =
      Call("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}}, "");
  session_ = attached["sessionId"];
  Call("Page.enable", nlohmann::json::object(), session_);
  Call("Runtime.enable", nlohmann::json::object(), session_);
}

Chromium::~Chromium() {
  if (pid_ > 0) Terminate(pid_, 10000);
  if (to_browser_ >= 0) close(to_browser_);
  if (from_browser_ >= 0) close(from_browser_);
  std::error_code ec;
  if (!profile_.empty()) std::filesystem::remove_all(profile_, ec);
}

bool Chromium::Receive(nlohmann::json& message, int64_t deadline_ms) {
  for (;;) {
    const size_t end = buffer_.find('\0');
    if (end != std::string::npos) {
      message = nlohmann::json::parse(buffer_.substr(0, end), nullptr, false);
      buffer_.erase(0, end + 1);
      return true;
    }
    const int64_t left = deadline_ms - NowMs();
    if (left <= 0) return false;
    pollfd p{from_browser_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(std::min<int64_t>(left, 1000))) <= 0) continue;
    char buf[65536];
    const ssize_t n = read(from_browser_, buf, sizeof(buf));
    if (n <= 0) throw std::runtime_error("the browser ended (its log: " + profile_ + "/browser.log)");
    buffer_.append(buf, static_cast<size_t>(n));
  }
}

nlohmann::json Chromium::Call(const std::string& method, const nlohmann::json& params, const std::string& session) {
  const int id = next_id_++;
  nlohmann::json msg = {{"id", id}, {"method", method}, {"params", params}};
  if (!session.empty()) msg["sessionId"] = session;
  const std::string text = msg.dump() + std::string(1, '\0');
  for (size_t sent = 0; sent < text.size();) {
    const ssize_t n = write(to_browser_, text.data() + sent, text.size() - sent);
    if (n <= 0) throw std::runtime_error("the browser does not listen");
    sent += static_cast<size_t>(n);
  }
  const int64_t deadline = NowMs() + timeout_ms_;
  nlohmann::json reply;
  while (Receive(reply, deadline)) {
    if (reply.value("method", "") == "Page.loadEventFired") loaded_ = true;
    if (!reply.contains("id") || reply["id"] != id) continue;
    if (reply.contains("error")) throw std::runtime_error(method + ": " + reply["error"].dump());
    return reply.value("result", nlohmann::json::object());
  }
  throw std::runtime_error(method + ": no answer within " + std::to_string(timeout_ms_) + " ms");
}

void Chromium::Open(const std::string& url) {
  loaded_ = false;
  const nlohmann::json nav = Call("Page.navigate", {{"url", url}}, session_);
  if (nav.contains("errorText")) throw std::runtime_error(url + ": " + nav["errorText"].get<std::string>());
  const int64_t deadline = NowMs() + timeout_ms_;
  nlohmann::json message;
  while (!loaded_ && Receive(message, deadline)) {
    if (message.value("method", "") == "Page.loadEventFired") loaded_ = true;
  }
  if (!loaded_) throw std::runtime_error(url + ": not loaded within " + std::to_string(timeout_ms_) + " ms");
}

nlohmann::json Chromium::Evaluate(const std::string& expression) {
  const nlohmann::json r =
      Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}, session_);
  if (r.contains("exceptionDetails")) throw std::runtime_error(expression + ": " + r["exceptionDetails"].dump());
  return r["result"].value("value", nlohmann::json());
}

}  // namespace lorvan::testing
