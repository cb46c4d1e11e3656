#include "hosts/sim/sim_processes.h"

namespace lorvan::sim {

int32_t SimProcesses::Shell(const std::string& command_line, int window_style) {
  if (command_line.find_first_not_of(' ') == std::string::npos) {
    throw platform::StartError("the command line \"" + command_line + "\" names no program");
  }
  const int32_t task = next_task_++;
  tasks_[task] = command_line;
  events_.Add(Json{{"event", "shell"}, {"command", command_line}, {"style", window_style}, {"task", task}});
  if (on_start) on_start(command_line, task);
  return task;
}

bool SimProcesses::AppActivate(int32_t task_id) {
  events_.Add(Json{{"event", "activate"}, {"task", task_id}});
  const bool ok = tasks_.count(task_id) != 0 && (!has_window || has_window(task_id));
  if (ok) active_ = task_id;
  return ok;
}

void SimProcesses::SendKeys(const std::string& keys, bool) {
  events_.Add(Json{{"event", "sendkeys"}, {"keys", keys}});
  if (on_keys) on_keys(active_, keys);
}

}  // namespace lorvan::sim
