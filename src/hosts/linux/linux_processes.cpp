#include "hosts/linux/linux_processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "hosts/linux/command_line.h"

extern char** environ;

namespace lorvan::linuxhost {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool EndsWithExe(const std::string& s) { return s.size() > 4 && Lower(s.substr(s.size() - 4)) == ".exe"; }

std::string BaseWithoutExe(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (EndsWithExe(base)) base.resize(base.size() - 4);
  return base;
}

// Spawns argv; the process id, or an errno value negated.
pid_t Spawn(const std::vector<std::string>& argv, bool quiet) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  if (quiet) {
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
  }
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // The child starts with no blocked signals and default actions, in its own process group
  // so that Ctrl+C in the terminal reaches only this program.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigfillset(&defaults);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &fa, &attr, args.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  posix_spawnattr_destroy(&attr);
  return rc == 0 ? pid : -rc;
}

}  // namespace

LinuxProcesses::~LinuxProcesses() { Reap(); }

int32_t LinuxProcesses::Shell(const std::string& command_line, int) {
  const std::string settings_line = player_.settings_command_line ? player_.settings_command_line() : "";
  const std::string resolved = ResolveCommandLine(command_line, settings_line, player_.socket_path);
  const auto words = SplitCommandLine(resolved);
  if (!words) throw platform::StartError("the command line \"" + command_line + "\" has an unclosed quote");
  if (words->empty()) throw platform::StartError("the command line \"" + command_line + "\" names no program");
  std::vector<std::string> argv = *words;
  const bool is_player = IsPlayerCommandLine(command_line) || IsPlayerCommandLine(resolved);

  // One player per box: a running player is used, as the player itself would do.
  if (is_player && player_.running && player_.running()) {
    const int32_t pid = player_.pid ? player_.pid() : 0;
    if (pid > 0) {
      player_tasks_.insert(pid);
      return pid;
    }
  }
  // Windows names its programs ".exe"; a sibling program here has the name without it.
  struct stat st {};
  if (EndsWithExe(argv[0]) && ::stat(argv[0].c_str(), &st) != 0) {
    const std::string bare = argv[0].substr(0, argv[0].size() - 4);
    if (::stat(bare.c_str(), &st) == 0 || argv[0].find('/') == std::string::npos) argv[0] = bare;
  }
  if (dry_run_programs.count(BaseWithoutExe(argv[0]))) {
    if (log) log("not started (dry run): " + resolved);
    return next_dry_task_++;
  }
  const pid_t pid = Spawn(argv, quiet_children);
  if (pid < 0) {
    throw platform::StartError("cannot start \"" + resolved + "\": " + std::strerror(static_cast<int>(-pid)));
  }
  children_.insert(pid);
  if (is_player) player_tasks_.insert(pid);
  if (log) log("started [" + std::to_string(pid) + "] " + resolved);
  return pid;
}

void LinuxProcesses::Reap() {
  for (auto it = children_.begin(); it != children_.end();) {
    int status = 0;
    const pid_t r = waitpid(*it, &status, WNOHANG);
    if (r == *it || (r < 0 && errno == ECHILD)) {
      it = children_.erase(it);
    } else {
      ++it;
    }
  }
}

bool LinuxProcesses::AppActivate(int32_t task_id) {
  Reap();
  if (task_id <= 0) return false;
  const bool player = player_tasks_.count(task_id) != 0 || (player_.pid && player_.pid() == task_id);
  bool alive = ::kill(task_id, 0) == 0 || errno == EPERM;
  // A player task counts as long as the player's window (the socket) is there.
  if (player) alive = alive || (player_.running && player_.running());
  if (!alive) return false;
  active_ = task_id;
  return true;
}

void LinuxProcesses::SendKeys(const std::string& keys, bool) {
  if (active_ == 0) return;
  if (keys != "%{F4}") {
    if (log) log("keys \"" + keys + "\" for task " + std::to_string(active_) + " ignored");
    return;
  }
  // Alt+F4 closes the active window: the player quits, any other program is ended.
  const bool player = player_tasks_.count(active_) != 0 || (player_.pid && player_.pid() == active_);
  if (player) {
    if (player_.close) player_.close();
  } else {
    ::kill(active_, SIGTERM);
  }
  Reap();
}

int RunAndWait(const std::vector<std::string>& argv) {
  if (argv.empty()) return -1;
  const pid_t pid = Spawn(argv, false);
  if (pid < 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace lorvan::linuxhost
