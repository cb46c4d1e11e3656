#pragma once
// Scenario scripts: a timeline of commands in virtual time, and the event host that delivers
// them to the program's event loop when the virtual clock reaches them.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "hosts/sim/sim_clock.h"
#include "platform/event_host.h"

namespace lorvan::sim {

using Words = std::vector<std::string>;

// One command of the script language. check() runs when the script is read and returns a
// problem text for bad arguments; run() executes the line at its time.
struct ScriptCommand {
  std::function<std::optional<std::string>(const Words& args)> check;
  std::function<void(const Words& args)> run;
};

class ScriptCommands {
 public:
  // verb is one word ("start") or two ("dump state"); two-word verbs are matched first.
  void Add(const std::string& verb, ScriptCommand command) { commands_[verb] = std::move(command); }
  // The command of a line and the number of words its verb takes.
  const ScriptCommand* Find(const Words& words, size_t& verb_words) const;

 private:
  std::map<std::string, ScriptCommand> commands_;
};

struct ScriptLine {
  int64_t time_ms = 0;
  int line_no = 0;
  Words args;
  const ScriptCommand* command = nullptr;
};

// Thrown for a script that cannot be run; the message names the line.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a whole script; throws ScriptError.
std::vector<ScriptLine> ParseScript(const std::string& text, const std::string& name, const ScriptCommands& commands);

// Parses a whole non-negative or signed decimal number; nullopt when the word is not one.
std::optional<int64_t> ParseInteger(const std::string& word);

class ScriptHost : public platform::EventHost {
 public:
  static constexpr int64_t kMaxIdleStepMs = 10;

  explicit ScriptHost(SimClock& clock) : clock_(clock) {}
  void SetScript(std::vector<ScriptLine> lines) {
    lines_ = std::move(lines);
    next_ = 0;
  }
  bool DeliverDueEvents() override;
  void Idle(std::optional<int64_t> next_timer_due_ms) override;
  bool Done() const { return next_ >= lines_.size(); }

 private:
  SimClock& clock_;
  std::vector<ScriptLine> lines_;
  size_t next_ = 0;
};

}  // namespace lorvan::sim
