// Script commands of the player: its scripted state and `dump messages`.
#include <limits>
#include <ostream>

#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {
namespace {

// A whole number within [low, high], or a problem text.
std::optional<std::string> CheckNumber(const std::string& what, const std::string& word, int64_t low, int64_t high) {
  const auto v = ParseInteger(word);
  if (!v || *v < low || *v > high) {
    return what + " must be a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not \"" +
           word + "\"";
  }
  return std::nullopt;
}

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// A command taking one number within [low, high].
ScriptCommand OneNumber(const std::string& verb, const std::string& what, int64_t low, int64_t high,
                        std::function<void(int32_t)> apply) {
  return {[verb, what, low, high](const Words& a) -> std::optional<std::string> {
            if (a.size() != 1) return verb + " takes one number: " + what;
            return CheckNumber(what, a[0], low, high);
          },
          [apply](const Words& a) { apply(static_cast<int32_t>(*ParseInteger(a[0]))); }};
}

ScriptCommand NoArgs(const std::string& verb, std::function<void()> apply) {
  return {[verb](const Words& a) -> std::optional<std::string> {
            if (!a.empty()) return verb + " takes no arguments";
            return std::nullopt;
          },
          [apply](const Words&) { apply(); }};
}

// `player answer REQUEST WPARAM VALUE|off`: a scripted answer to one request.
ScriptCommand ScriptedAnswer(SimPlayer& p) {
  return {[](const Words& a) -> std::optional<std::string> {
            if (a.size() != 3) return "player answer takes a request, its argument and an answer or off";
            if (auto problem = CheckNumber("the request", a[0], kInt32Min, kInt32Max)) return problem;
            if (auto problem = CheckNumber("the argument", a[1], kInt32Min, kInt32Max)) return problem;
            if (a[2] == "off") return std::nullopt;
            return CheckNumber("the answer", a[2], kInt32Min, kInt32Max);
          },
          [&p](const Words& a) {
            const auto request = static_cast<int32_t>(*ParseInteger(a[0]));
            const auto wparam = static_cast<int32_t>(*ParseInteger(a[1]));
            if (a[2] == "off") {
              p.ClearAnswer(request, wparam);
            } else {
              p.SetAnswer(request, wparam, static_cast<int32_t>(*ParseInteger(a[2])));
            }
          }};
}

}  // namespace

void RegisterPlayerCommands(SimRunner& r) {
  SimPlayer& p = r.world.player;
  r.commands.Add("player version", OneNumber("player version", "the version number", kInt32Min, kInt32Max,
                                             [&p](int32_t v) { p.SetVersion(v); }));
  r.commands.Add("player status",
                 OneNumber("player status", "the status", kInt32Min, kInt32Max, [&p](int32_t v) { p.SetStatus(v); }));
  r.commands.Add("player pos", OneNumber("player pos", "the position in milliseconds", -1, kInt32Max,
                                         [&p](int32_t v) { p.SetPosition(v); }));
  r.commands.Add("player length", OneNumber("player length", "the length in seconds", 0, kInt32Max,
                                            [&p](int32_t v) { p.SetLength(v); }));
  r.commands.Add("player bitrate", OneNumber("player bitrate", "the bit rate", kInt32Min, kInt32Max,
                                             [&p](int32_t v) { p.SetBitrate(v); }));
  r.commands.Add("player samplerate", OneNumber("player samplerate", "the sample rate", kInt32Min, kInt32Max,
                                                [&p](int32_t v) { p.SetSamplerate(v); }));
  r.commands.Add("player eq", {[](const Words& a) -> std::optional<std::string> {
                                 if (a.size() != 2) return "player eq takes a band and a value";
                                 if (auto problem = CheckNumber("the band", a[0], 0, 9)) return problem;
                                 return CheckNumber("the value", a[1], 0, 63);
                               },
                               [&p](const Words& a) {
                                 p.SetEqBand(static_cast<int>(*ParseInteger(a[0])),
                                             static_cast<int32_t>(*ParseInteger(a[1])));
                               }});
  r.commands.Add("player preamp", OneNumber("player preamp", "the value", 0, 63, [&p](int32_t v) { p.SetPreamp(v); }));
  r.commands.Add("player eqon", OneNumber("player eqon", "0 or 1", 0, 1, [&p](int32_t v) { p.SetEqOn(v != 0); }));
  r.commands.Add("player end", NoArgs("player end", [&p] { p.EndTrack(); }));
  r.commands.Add("player window", OneNumber("player window", "0 or 1", 0, 1, [&p](int32_t v) { p.SetWindow(v != 0); }));
  r.commands.Add("player autostart",
                 OneNumber("player autostart", "0 or 1", 0, 1, [&p](int32_t v) { p.autostart = v != 0; }));
  // Extensions for malformed or missing answers (README, "lorvan-sim").
  r.commands.Add("player answer", ScriptedAnswer(p));
  r.commands.Add("player quits", OneNumber("player quits", "0 or 1", 0, 1,
                                           [&r](int32_t v) { r.world.player_quits = v != 0; }));
  r.commands.Add("player vanish", OneNumber("player vanish", "the number of lookups", 1, kInt32Max,
                                            [&p](int32_t n) { p.VanishAfterLookups(n); }));
  r.commands.Add("dump messages", NoArgs("dump messages", [&r] {
                   for (const auto& line : r.world.player.TakeMessages()) r.out << line << "\n";
                 }));
}

}  // namespace lorvan::sim
