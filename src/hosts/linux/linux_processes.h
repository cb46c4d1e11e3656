#pragma once
// Starting programs (the task id is the process id), activating a task and sending it keys:
// Alt+F4 to the player asks mpv to quit, to any other task ends it. A player this program
// starts does not outlive it.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace lorvan::linuxhost {

struct PlayerHooks {
  std::function<std::string()> settings_command_line;  // the settings' player command line
  std::string socket_path;
  std::function<bool()> running;       // the player's socket accepts connections
  std::function<int32_t()> pid;        // the running player's process id
  std::function<void()> close;         // asks the player to quit
};

class LinuxProcesses : public platform::Processes {
 public:
  explicit LinuxProcesses(PlayerHooks player) : player_(std::move(player)) {}
  ~LinuxProcesses() override;

  int32_t Shell(const std::string& command_line, int window_style) override;
  // A process this program started and has collected.
  bool HasEnded(int32_t task_id) override;
  bool AppActivate(int32_t task_id) override;
  void SendKeys(const std::string& keys, bool wait) override;

  // Collects ended children (no zombies are left behind).
  void Reap();
  // At the program's end: the players it started that still run are asked to quit, then
  // given grace_ms before they are terminated, and collected.
  void EndStartedPlayers(int grace_ms);
  // The players this program started that still run.
  std::vector<int32_t> RunningPlayers();

  // Children's standard output and error go to /dev/null (the terminal window owns the tty).
  bool quiet_children = false;
  // Programs that are only logged, not run (by their name without folder and ".exe"),
  // for example "Hardstop" when the box must not really switch off.
  std::set<std::string> dry_run_programs;
  std::function<void(const std::string&)> log;

 private:
  PlayerHooks player_;
  std::set<int32_t> children_;
  std::set<int32_t> spawned_;  // every process started, running or not
  std::set<int32_t> player_tasks_;
  int32_t active_ = 0;
  int32_t next_dry_task_ = 900000000;
};

// Runs a program and waits for it; its exit status, or -1 when it could not run.
int RunAndWait(const std::vector<std::string>& argv);

}  // namespace lorvan::linuxhost
