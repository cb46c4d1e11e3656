#pragma once
// The main window's tests' one fixture: the whole program on the simulated machine,
// in-process. Scripts run on it, and "probe NAME" lines of a script call the test's own code
// at their time; or a test calls the window's handlers directly.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {

class SimBox {
 public:
  explicit SimBox(const Settings& settings = Settings()) : folder(settings) { Restart(); }

  // A new program on the same folder (the settings file as it now stands).
  void Restart() {
    runner_ = std::make_unique<sim::SimRunner>(folder.path(), out, err);
    runner_->commands.Add("probe", {[this](const sim::Words& a) -> std::optional<std::string> {
                                      if (a.size() != 1 || !probes_.count(a[0])) return "no such probe";
                                      return std::nullopt;
                                    },
                                    [this](const sim::Words& a) { probes_[a[0]](); }});
  }
  // A script line "probe NAME" runs fn at its time.
  void Probe(const std::string& name, std::function<void()> fn) { probes_[name] = std::move(fn); }
  int Run(const std::string& script) { return runner_->Run(script, "test.script"); }

  app::frmMain& form() { return runner_->form; }
  sim::SimWorld& world() { return runner_->world; }
  int64_t now() { return world().clock.MonotonicMs(); }

  // The outside events since the previous call, parsed.
  std::vector<nlohmann::json> Events() {
    std::vector<nlohmann::json> v;
    for (const auto& line : world().events.Take()) v.push_back(nlohmann::json::parse(line));
    return v;
  }
  // Only the names of those events ("shell", "activate", ...).
  static std::vector<std::string> Names(const std::vector<nlohmann::json>& events) {
    std::vector<std::string> v;
    for (const auto& e : events) v.push_back(e["event"]);
    return v;
  }
  std::string SettingsText() { return folder.Read("Lorvan.ini"); }

  // Which full-screen picture of the exit sequence the panel shows, or "" for none of them.
  std::string ExitPictureShown() {
    const auto& p = form().frmPictures;
    const std::pair<const lcd::Picture*, const char*> pictures[] = {
        {&p.picStandbyBackground, "standby"}, {&p.picShutdownBackground, "shutdown"},
        {&p.picServiceExitBackground, "service exit"}};
    for (const auto& [picture, name] : pictures) {
      bool same = true;
      for (int y = 0; y < lcd::kLcdHeight && same; ++y)
        for (int x = 0; x < lcd::kLcdWidth && same; ++x)
          same = world().port.panel.Pixel(x, y) == lcd::IsSetPixel(picture->Point(x, y));
      if (same) return name;
    }
    return "";
  }

  ProgramFolder folder;
  std::ostringstream out, err;

 private:
  std::unique_ptr<sim::SimRunner> runner_;
  std::map<std::string, std::function<void()>> probes_;
};

}  // namespace lorvan::testing
