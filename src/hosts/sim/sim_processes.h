#pragma once
// The process table of the simulated machine: started programs, activation, sent keys.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "hosts/sim/sim_events.h"
#include "platform/processes.h"

namespace lorvan::sim {

class SimProcesses : public platform::Processes {
 public:
  explicit SimProcesses(SimEvents& events) : events_(events) {}

  int32_t Shell(const std::string& command_line, int window_style) override;
  bool HasEnded(int32_t task_id) override { return ended_.count(task_id) != 0; }
  bool AppActivate(int32_t task_id) override;
  void SendKeys(const std::string& keys, bool wait) override;

  // Called for each started program with its task id; the stand-in player attaches here.
  std::function<void(const std::string& command_line, int32_t task_id)> on_start;
  // Called for keys sent while a task is active (the player closes on "%{F4}").
  std::function<void(int32_t active_task, const std::string& keys)> on_keys;
  // Whether a task still has a window that can be activated.
  std::function<bool(int32_t task_id)> has_window;

  int32_t active_task() const { return active_; }
  // The task's process is gone.
  void End(int32_t task_id) { ended_.insert(task_id); }

 private:
  SimEvents& events_;
  int32_t next_task_ = 1000;
  int32_t active_ = 0;
  std::map<int32_t, std::string> tasks_;
  std::set<int32_t> ended_;
};

}  // namespace lorvan::sim
