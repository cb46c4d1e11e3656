// Script commands of the core: start-up, key strokes, clicks, the clock and the state dumps.
#include <cstdio>
#include <ostream>
#include <set>

#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {
namespace {

std::optional<std::string> NoArgs(const Words& a) {
  if (!a.empty()) return "this command takes no arguments";
  return std::nullopt;
}

std::optional<std::string> CheckKey(const Words& a) {
  static const std::string kKeys = "PASVN<>0123456789CRGOUWFDEHIXT";
  if (a.size() != 1 || a[0].size() != 1) return "key takes one character";
  const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(a[0][0])));
  if (kKeys.find(c) == std::string::npos) return "\"" + a[0] + "\" is no accelerator key of the main window";
  return std::nullopt;
}

std::optional<platform::LocalDateTime> ParseDateTime(const std::string& s) {
  platform::LocalDateTime t;
  char tail = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute,
                  &t.second, &tail) != 6) {
    return std::nullopt;
  }
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

}  // namespace

void RegisterCoreCommands(SimRunner& r) {
  r.commands.Add("start", {NoArgs, [&r](const Words&) {
                             r.started = true;
                             r.form.Form_Load();
                           }});
  r.commands.Add("crash", {NoArgs, [](const Words&) { throw PowerLost{}; }});
  r.commands.Add("key", {CheckKey, [&r](const Words& a) { r.form.KeyPress(a[0][0]); }});
  r.commands.Add("click", {[&r](const Words& a) -> std::optional<std::string> {
                             if (a.size() != 1) return "click takes one control name";
                             for (auto* b : r.form.Buttons())
                               if (b->name == a[0]) return std::nullopt;
                             for (auto* c : r.form.CheckBoxes())
                               if (c->name == a[0]) return std::nullopt;
                             return "no control named \"" + a[0] + "\"";
                           },
                           [&r](const Words& a) { r.form.ClickByName(a[0]); }});
  r.commands.Add("clock", {[](const Words& a) -> std::optional<std::string> {
                             if (a.size() != 1 || !ParseDateTime(a[0])) return "clock takes YYYY-MM-DDTHH:MM:SS";
                             return std::nullopt;
                           },
                           [&r](const Words& a) { r.world.clock.SetDateTime(*ParseDateTime(a[0])); }});
  r.commands.Add("dump state", {NoArgs, [&r](const Words&) { r.out << JsonLine(StateJson(r.form)) << "\n"; }});
  r.commands.Add("dump events", {NoArgs, [&r](const Words&) {
                                   for (const auto& line : r.world.events.Take()) r.out << line << "\n";
                                 }});
  r.commands.Add("dump file", {[](const Words& a) -> std::optional<std::string> {
                                 if (a.size() != 1) return "dump file takes one file name";
                                 return std::nullopt;
                               },
                               [&r](const Words& a) {
                                 try {
                                   r.out << r.world.files.ReadFile(r.world.program_dir + "/" + a[0]);
                                 } catch (const platform::FileError& e) {
                                   r.err << "lorvan-sim: dump file: " << e.what() << "\n";
                                 }
                               }});
}

}  // namespace lorvan::sim
