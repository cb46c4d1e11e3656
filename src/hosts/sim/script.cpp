#include "hosts/sim/script.h"

#include <sstream>

namespace lorvan::sim {

const ScriptCommand* ScriptCommands::Find(const Words& words, size_t& verb_words) const {
  if (words.size() >= 2) {
    auto it = commands_.find(words[0] + " " + words[1]);
    if (it != commands_.end()) {
      verb_words = 2;
      return &it->second;
    }
  }
  auto it = commands_.find(words[0]);
  if (it == commands_.end()) return nullptr;
  verb_words = 1;
  return &it->second;
}

std::optional<int64_t> ParseInteger(const std::string& word) {
  if (word.empty() || word.size() > 18) return std::nullopt;
  size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
  if (i == word.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return std::nullopt;
    v = v * 10 + (word[i] - '0');
  }
  return word[0] == '-' ? -v : v;
}

std::vector<ScriptLine> ParseScript(const std::string& text, const std::string& name,
                                    const ScriptCommands& commands) {
  std::vector<ScriptLine> lines;
  std::istringstream in(text);
  std::string raw;
  int line_no = 0;
  int64_t time = 0;
  bool started = false;
  auto fail = [&](const std::string& problem) {
    throw ScriptError(name + ":" + std::to_string(line_no) + ": " + problem);
  };
  while (std::getline(in, raw)) {
    ++line_no;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::istringstream ws(raw);
    Words words;
    for (std::string w; ws >> w;) words.push_back(w);
    if (words.empty() || words[0][0] == '#') continue;
    if (words[0] == "wait") {
      auto ms = words.size() == 2 ? ParseInteger(words[1]) : std::nullopt;
      if (!ms || *ms < 0) fail("wait takes one whole number of milliseconds, 0 or more");
      time += *ms;
      continue;
    }
    size_t verb_words = 0;
    const ScriptCommand* command = commands.Find(words, verb_words);
    if (!command) fail("unknown command \"" + raw + "\"");
    Words args(words.begin() + static_cast<long>(verb_words), words.end());
    if (words[0] == "start") {
      if (started) fail("start is given twice");
      started = true;
    } else if ((words[0] == "key" || words[0] == "click") && !started) {
      fail(words[0] + " before start: lines before start only set up the outside world");
    }
    if (command->check) {
      if (auto problem = command->check(args)) fail(*problem);
    }
    lines.push_back(ScriptLine{time, line_no, std::move(args), command});
  }
  return lines;
}

bool ScriptHost::DeliverDueEvents() {
  bool ran = false;
  while (next_ < lines_.size() && lines_[next_].time_ms <= clock_.MonotonicMs()) {
    const ScriptLine& line = lines_[next_++];
    ran = true;
    line.command->run(line.args);
  }
  return ran;
}

void ScriptHost::Idle(std::optional<int64_t> next_timer_due_ms) {
  // Time moves on to the next timer or script line, but by at most kMaxIdleStepMs at once, so
  // that a loop waiting for time to pass (the player's start, the standby wait) sees it pass
  // in small steps, as it would in real time, and notices its limits before later events.
  const int64_t now = clock_.MonotonicMs();
  int64_t target = now + kMaxIdleStepMs;
  if (next_timer_due_ms && *next_timer_due_ms < target) target = *next_timer_due_ms;
  if (next_ < lines_.size() && lines_[next_].time_ms < target) target = lines_[next_].time_ms;
  clock_.AdvanceTo(target > now ? target : now + 1);
}

}  // namespace lorvan::sim
