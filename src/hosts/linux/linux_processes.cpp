#include "hosts/linux/linux_processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
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

// Starts a player: like Spawn, and the child is also sent SIGTERM when this program ends
// in any way (even killed), so that no player is left behind without its controller.
pid_t SpawnTied(const std::vector<std::string>& argv, bool quiet) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // The exec's failure comes back through a pipe that a successful exec closes.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return -errno;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) {
    const int err = errno;
    close(report[0]);
    close(report[1]);
    return -err;
  }
  if (pid == 0) {
    // Only async-signal-safe calls from here to the exec.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // the parent is already gone
    setpgid(0, 0);
    sigset_t none;
    sigemptyset(&none);
    for (int sig = 1; sig < NSIG; ++sig) signal(sig, SIG_DFL);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null_in = open("/dev/null", O_RDONLY);
    if (null_in >= 0) dup2(null_in, 0);
    if (quiet) {
      const int null_out = open("/dev/null", O_WRONLY);
      if (null_out >= 0) {
        dup2(null_out, 1);
        dup2(null_out, 2);
      }
    }
    execvp(args[0], args.data());
    const int err = errno;
    ssize_t ignored = write(report[1], &err, sizeof(err));
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int err = 0;
  ssize_t n;
  do {
    n = read(report[0], &err, sizeof(err));
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  if (n == static_cast<ssize_t>(sizeof(err))) {
    waitpid(pid, nullptr, 0);
    return -err;
  }
  return pid;
}

bool Ended(pid_t pid) {
  const pid_t r = waitpid(pid, nullptr, WNOHANG);
  return r == pid || (r < 0 && errno == ECHILD);
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
  if (is_player) {
    // A player started earlier whose window never came (or went) is stuck: one player per
    // box, so it goes before the new one takes the socket.
    for (const int32_t old : RunningPlayers()) {
      if (log) log("ending the player [" + std::to_string(old) + "] that does not answer");
      ::kill(old, SIGKILL);
      waitpid(old, nullptr, 0);
      children_.erase(old);
    }
  }
  const pid_t pid = is_player ? SpawnTied(argv, quiet_children) : Spawn(argv, quiet_children);
  if (pid < 0) {
    throw platform::StartError("cannot start \"" + resolved + "\": " + std::strerror(static_cast<int>(-pid)));
  }
  children_.insert(pid);
  spawned_.insert(pid);
  if (is_player) player_tasks_.insert(pid);
  if (log) log("started [" + std::to_string(pid) + "] " + resolved);
  return pid;
}

bool LinuxProcesses::HasEnded(int32_t task_id) {
  if (spawned_.count(task_id) == 0) return false;
  Reap();
  return children_.count(task_id) == 0;
}

void LinuxProcesses::Reap() {
  for (auto it = children_.begin(); it != children_.end();) {
    if (Ended(*it)) {
      it = children_.erase(it);
    } else {
      ++it;
    }
  }
}

std::vector<int32_t> LinuxProcesses::RunningPlayers() {
  Reap();
  std::vector<int32_t> out;
  for (const int32_t pid : children_) {
    if (player_tasks_.count(pid)) out.push_back(pid);
  }
  return out;
}

void LinuxProcesses::EndStartedPlayers(int grace_ms) {
  if (RunningPlayers().empty()) return;
  if (player_.running && player_.running() && player_.close) player_.close();
  // Each step waits in slices of 10 ms for the players to be gone: quit, then SIGTERM,
  // then SIGKILL.
  const auto wait_gone = [&](int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
      if (RunningPlayers().empty()) return true;
      poll(nullptr, 0, 10);
    }
    return RunningPlayers().empty();
  };
  if (wait_gone(grace_ms)) return;
  for (const int32_t pid : RunningPlayers()) {
    if (log) log("the player [" + std::to_string(pid) + "] did not quit; terminated");
    ::kill(pid, SIGTERM);
  }
  if (wait_gone(grace_ms)) return;
  for (const int32_t pid : RunningPlayers()) {
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    children_.erase(pid);
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
