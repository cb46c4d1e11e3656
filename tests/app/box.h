#pragma once
// The main window's tests' one fixture: the whole program on the simulated machine,
// in-process. Scripts run on it, and "probe NAME" lines of a script call the test's own code
// at their time; or a test loads the window and calls its handlers directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/sim/sim_runner.h"
#include "navigation/browser.h"
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

// Names "<prefix>01<suffix>" to "<prefix>NN<suffix>".
inline std::vector<std::string> Numbered(const std::string& prefix, int n, const std::string& suffix) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i) + suffix);
  return out;
}

// A loaded window with a music tree, for the tests that call the handlers directly. The
// refresh timer is switched off so that ticks run only where a test calls for them.
class NavTest : public ::testing::Test {
 protected:
  void Start(const std::vector<std::string>& music, const Settings& settings = Settings()) {
    box_ = std::make_unique<SimBox>(settings);
    box_->folder.AddMusic(music);
    Load();
  }
  void Restart() {
    box_->Restart();
    Load();
  }

  app::frmMain& f() { return box_->form(); }
  app::SharedState& s() { return f().state; }
  const ProgramFolder& folder() const { return box_->folder; }
  const std::vector<std::string>& Entries() { return f().lstFileEntries.lines; }
  int IndexOf(const std::string& line) {
    const auto it = std::find(Entries().begin(), Entries().end(), line);
    return it == Entries().end() ? -1 : static_cast<int>(it - Entries().begin());
  }
  // Moves the cursor down until the highlighted entry is the line given.
  void WalkTo(const std::string& line) {
    for (size_t i = 0; i <= Entries().size() && s().gsSelectedEntry != line; ++i) {
      navigation::UpdateListWindow(f().browser, navigation::kCursorDown, navigation::kFolderNone, navigation::kSilent);
    }
    ASSERT_EQ(s().gsSelectedEntry, line);
  }
  // (window top, cursor row)
  std::pair<int, int> Window() { return {s().giListTop, s().giListRow}; }

  // The five visible lines, the cursor and the highlighted entry agree with the window.
  void ExpectWindowShown() {
    const auto& st = s();
    const auto& e = Entries();
    const int n = static_cast<int>(e.size());
    std::vector<std::string> want;
    for (int k = 0; k < 5 && st.giListTop + k < n; ++k) want.push_back("     " + e[st.giListTop + k]);
    EXPECT_EQ(f().lstFilePreview.lines, want);
    if (n == 0) return;
    EXPECT_EQ(f().lstFilePreview.list_index, st.giListRow);
    EXPECT_EQ(st.giCursorRow, st.giListRow);
    EXPECT_EQ(st.gsSelectedEntry, e[st.giListTop + st.giListRow]);
    EXPECT_EQ(st.giSelectedEntryNr, st.giListTop + st.giListRow + 1);
  }

 private:
  void Load() {
    f().Form_Load();
    f().tmrRefresh.SetEnabled(false);
  }
  std::unique_ptr<SimBox> box_;
};

}  // namespace lorvan::testing
