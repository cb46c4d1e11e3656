#include "process_helpers.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "hosts/linux/mpv_ipc.h"

extern char** environ;

namespace lorvan::testing {

std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

nlohmann::json ReadJson(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  return nlohmann::json::parse(in);
}

std::string Substitute(std::string text, const std::map<std::string, std::string>& names) {
  for (const auto& [name, value] : names) {
    for (size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), value);
  }
  return text;
}

bool Eventually(const std::function<bool()>& cond, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < end) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return cond();
}

nlohmann::json MpvProperty(const std::string& socket, const std::string& name) {
  linuxhost::MpvIpc ipc(socket);
  if (!ipc.Connect()) return nullptr;
  const auto reply = ipc.Command(linuxhost::Json::array({"get_property", name}));
  return reply && reply->contains("data") ? (*reply)["data"] : nlohmann::json(nullptr);
}

pid_t PlayerPid(const std::string& socket) {
  const auto pid = MpvProperty(socket, "pid");
  return pid.is_number_integer() ? pid.get<pid_t>() : 0;
}

void KillPlayer(const std::string& socket) {
  if (const pid_t pid = PlayerPid(socket)) ::kill(pid, SIGKILL);
}

pid_t Spawn(std::vector<std::string> args, const std::string& log_file, const std::vector<std::pair<int, int>>& fds) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, log_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&fa, 1, 2);
  for (const auto& [from, to] : fds) posix_spawn_file_actions_adddup2(&fa, from, to);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&fa);
  return pid;
}

bool Terminate(pid_t pid, int timeout_ms) {
  ::kill(pid, SIGTERM);
  int status = 0;
  if (!Eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, timeout_ms)) {
    ::kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int ShownSeconds(const std::string& text) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex("(\\d+):(\\d+) Min\\.Sec\\."))) return -1;
  return std::stoi(m[1]) * 60 + std::stoi(m[2]);
}

Terminal::Terminal(const std::string& command, int cols, int rows) {
  static int sessions = 0;
  session_ = "lorvan-test-" + std::to_string(getpid()) + "-" + std::to_string(++sessions);
  Shell("tmux new-session -d -s " + session_ + " -x " + std::to_string(cols) + " -y " + std::to_string(rows) + " '" +
        command + "; echo EXIT=$?; sleep 60'");
}

Terminal::~Terminal() { Shell("tmux kill-session -t " + session_ + " 2>/dev/null"); }

std::string Terminal::Screen() const { return Shell("tmux capture-pane -p -t " + session_); }

bool Terminal::Shows(const std::string& text, int timeout_ms) const {
  return Eventually([&] { return Screen().find(text) != std::string::npos; }, timeout_ms);
}

void Terminal::Keys(const std::string& keys) const { Shell("tmux send-keys -t " + session_ + " " + keys); }

void Terminal::Resize(int cols, int rows) const {
  Shell("tmux resize-window -t " + session_ + " -x " + std::to_string(cols) + " -y " + std::to_string(rows));
}

}  // namespace lorvan::testing
