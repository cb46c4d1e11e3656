#include "hosts/sim/sim_processes.h"

#include <sys/stat.h>

namespace lorvan::sim {
namespace {

// The program a command line names: its first word, or the quoted text at its start.
std::string ProgramOf(const std::string& command_line) {
  const size_t begin = command_line.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  if (command_line[begin] == '"') {
    const size_t end = command_line.find('"', begin + 1);
    return command_line.substr(begin + 1, end == std::string::npos ? std::string::npos : end - begin - 1);
  }
  const size_t end = command_line.find(' ', begin);
  return command_line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

int32_t SimProcesses::Shell(const std::string& command_line, int window_style) {
  const std::string program = ProgramOf(command_line);
  if (program.empty()) {
    throw platform::StartError("the command line \"" + command_line + "\" names no program");
  }
  // A program named by its full path must be there (the shutdown program in the program
  // folder); a bare name stands for an installed program, which the machine always has.
  if (program[0] == '/' && !IsFile(program)) {
    throw platform::StartError("\"" + program + "\" does not exist");
  }
  const int32_t task = next_task_++;
  tasks_[task] = command_line;
  events_.Add(Json{{"event", "shell"}, {"command", command_line}, {"style", window_style}, {"task", task}});
  if (on_start) on_start(command_line, task);
  return task;
}

bool SimProcesses::AppActivate(int32_t task_id) {
  // Only a running task with a window can be brought to the front.
  if (tasks_.count(task_id) == 0 || (has_window && !has_window(task_id))) return false;
  active_ = task_id;
  events_.Add(Json{{"event", "activate"}, {"task", task_id}});
  return true;
}

void SimProcesses::SendKeys(const std::string& keys, bool) {
  events_.Add(Json{{"event", "sendkeys"}, {"keys", keys}});
  if (on_keys) on_keys(active_, keys);
}

}  // namespace lorvan::sim
