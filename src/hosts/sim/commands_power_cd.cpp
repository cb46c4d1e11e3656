// Script commands of the CD drive and the power calls.
#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {
namespace {

// A checker for a command taking exactly one of the given words.
std::function<std::optional<std::string>(const Words&)> OneOf(const std::string& verb,
                                                                std::vector<std::string> choices) {
  return [verb, choices](const Words& a) -> std::optional<std::string> {
    std::string list;
    for (const auto& c : choices) list += (list.empty() ? "" : "|") + c;
    if (a.size() != 1) return verb + " takes one of " + list;
    for (const auto& c : choices)
      if (a[0] == c) return std::nullopt;
    return verb + " takes one of " + list + ", not \"" + a[0] + "\"";
  };
}

// Key strokes and clicks are the user's input: wrap the core's commands so the machine no
// longer counts as resumed automatically once the user has pressed something.
void MarkUserInput(SimRunner& r, const std::string& verb) {
  size_t verb_words = 0;
  const ScriptCommand* existing = r.commands.Find({verb}, verb_words);
  if (!existing) return;
  ScriptCommand wrapped = *existing;
  wrapped.run = [&r, run = existing->run](const Words& a) {
    r.world.power.UserInput();
    run(a);
  };
  r.commands.Add(verb, wrapped);
}

}  // namespace

void RegisterPowerCdCommands(SimRunner& r) {
  // The CD drive's root is the settings value of the running program.
  r.world.drives.cd_root_source = [&r] { return r.form.state.gsCdRootDir; };

  r.commands.Add("cd", {OneOf("cd", {"absent", "other", "empty", "ready"}), [&r](const Words& a) {
                          const std::string& s = a[0];
                          r.world.drives.cd_state = s == "absent"  ? CdState::kAbsent
                                                    : s == "other" ? CdState::kOther
                                                    : s == "empty" ? CdState::kEmpty
                                                                   : CdState::kReady;
                        }});
  r.commands.Add("power resume", {OneOf("power resume", {"automatic", "user"}), [&r](const Words& a) {
                                    r.world.power.resume_automatic = a[0] == "automatic";
                                  }});
  r.commands.Add("power standby", {OneOf("power standby", {"accept", "refuse"}), [&r](const Words& a) {
                                     r.world.power.standby_accepted = a[0] == "accept";
                                   }});
  MarkUserInput(r, "key");
  MarkUserInput(r, "click");
}

}  // namespace lorvan::sim
