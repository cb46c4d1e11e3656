#pragma once
// The whole program on the simulated machine, in-process, for tests that need to look inside
// while a script runs: "probe NAME" lines of a script call the test's own code at their time.
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {

class SimBox {
 public:
  explicit SimBox(const testing::Settings& settings = testing::Settings()) : folder(settings), runner(folder.path(), out, err) {
    runner.commands.Add("probe", {[this](const sim::Words& a) -> std::optional<std::string> {
                                    if (a.size() != 1 || !probes_.count(a[0])) return "no such probe";
                                    return std::nullopt;
                                  },
                                  [this](const sim::Words& a) { probes_[a[0]](); }});
  }

  // A script line "probe NAME" runs fn at its time.
  void Probe(const std::string& name, std::function<void()> fn) { probes_[name] = std::move(fn); }

  int Run(const std::string& script) { return runner.Run(script, "test.script"); }

  app::frmMain& form() { return runner.form; }
  sim::SimWorld& world() { return runner.world; }
  int64_t now() { return runner.world.clock.MonotonicMs(); }

  // The outside events since the previous call, parsed.
  std::vector<nlohmann::json> Events() {
    std::vector<nlohmann::json> v;
    for (const auto& line : runner.world.events.Take()) v.push_back(nlohmann::json::parse(line));
    return v;
  }
  // Only the names of those events ("shell", "activate", ...).
  static std::vector<std::string> Names(const std::vector<nlohmann::json>& events) {
    std::vector<std::string> v;
    for (const auto& e : events) v.push_back(e["event"]);
    return v;
  }

  std::string SettingsText() { return folder.Read("Lorvan.ini"); }

  // Whether the panel shows exactly the full-screen bitmap.
  bool PanelShows(const lcd::Picture& bitmap) {
    for (int y = 0; y < lcd::kLcdHeight; ++y)
      for (int x = 0; x < lcd::kLcdWidth; ++x)
        if (runner.world.port.panel.Pixel(x, y) != lcd::IsSetPixel(bitmap.Point(x, y))) return false;
    return true;
  }
  // Which full-screen picture of the exit sequence the panel shows, or "" for none of them.
  std::string ExitPictureShown() {
    const auto& p = runner.form.frmPictures;
    if (PanelShows(p.picStandbyBackground)) return "standby";
    if (PanelShows(p.picShutdownBackground)) return "shutdown";
    if (PanelShows(p.picServiceExitBackground)) return "service exit";
    return "";
  }
  // The media source symbol in the browser's bottom right corner: "mp3", "searching", "cd",
  // "no cd" or "" when none of them is there.
  std::string SourceSymbolShown() {
    const auto& p = runner.form.frmPictures;
    const std::pair<const lcd::Picture*, const char*> symbols[] = {
        {&p.picMp3, "mp3"}, {&p.picCdSearching, "searching"}, {&p.picCd, "cd"}, {&p.picCdNotAvailable, "no cd"}};
    for (const auto& [symbol, name] : symbols) {
      bool same = true;
      // The symbol is pasted without its first row and column, its corner at (101, 51).
      for (int r = 1; r < symbol->Height() && same; ++r)
        for (int c = 1; c < symbol->Width() && same; ++c)
          same = runner.world.port.panel.Pixel(101 + c, 51 + r) == lcd::IsSetPixel(symbol->Point(c, r));
      if (same) return name;
    }
    return "";
  }

  ProgramFolder folder;
  std::ostringstream out, err;
  sim::SimRunner runner;

 private:
  std::map<std::string, std::function<void()>> probes_;
};

}  // namespace lorvan::testing
