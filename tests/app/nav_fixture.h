#pragma once
// A started program on the simulated machine with a music tree, for the browser tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "hosts/sim/sim_world.h"
#include "navigation/browser.h"
#include "support/program_folder.h"

namespace lorvan::testing {

// Names "<prefix>01<suffix>" to "<prefix>NN<suffix>".
inline std::vector<std::string> Numbered(const std::string& prefix, int n, const std::string& suffix) {
  std::vector<std::string> out;
  for (int i = 1; i <= n; ++i) out.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i) + suffix);
  return out;
}

class NavTest : public ::testing::Test {
 protected:
  // Makes the program folder with the music tree and runs the start-up. The refresh timer
  // is switched off so that ticks run only where a test calls for them.
  void Start(const std::vector<std::string>& music, const Settings& settings = Settings()) {
    folder_ = std::make_unique<ProgramFolder>(settings);
    folder_->AddMusic(music);
    Restart();
  }
  // A new program on the same folder (the settings file as it now stands).
  void Restart() {
    form_.reset();
    world_ = std::make_unique<sim::SimWorld>(folder_->path());
    form_ = std::make_unique<app::frmMain>(world_->platform);
    form_->Form_Load();
    form_->tmrRefresh.SetEnabled(false);
  }

  app::frmMain& f() { return *form_; }
  app::SharedState& s() { return form_->state; }
  const ProgramFolder& folder() const { return *folder_; }
  const std::vector<std::string>& Entries() const { return form_->lstFileEntries.lines; }
  int IndexOf(const std::string& line) const {
    const auto& e = Entries();
    const auto it = std::find(e.begin(), e.end(), line);
    return it == e.end() ? -1 : static_cast<int>(it - e.begin());
  }
  // Moves the cursor down until the highlighted entry is the line given.
  void WalkTo(const std::string& line) {
    for (size_t i = 0; i <= Entries().size() && s().gsSelectedEntry != line; ++i) {
      navigation::UpdateListWindow(f().browser, navigation::kCursorDown, navigation::kFolderNone, navigation::kSilent);
    }
    ASSERT_EQ(s().gsSelectedEntry, line);
  }
  // (window top, cursor row)
  std::pair<int, int> Window() const { return {form_->state.giListTop, form_->state.giListRow}; }

  // The five visible lines, the cursor and the highlighted entry agree with the window.
  void ExpectWindowShown() const {
    const auto& st = form_->state;
    const auto& e = Entries();
    const int n = static_cast<int>(e.size());
    std::vector<std::string> want;
    for (int k = 0; k < 5 && st.giListTop + k < n; ++k) want.push_back("     " + e[st.giListTop + k]);
    EXPECT_EQ(form_->lstFilePreview.lines, want);
    if (n == 0) return;
    EXPECT_EQ(form_->lstFilePreview.list_index, st.giListRow);
    EXPECT_EQ(st.giCursorRow, st.giListRow);
    EXPECT_EQ(st.gsSelectedEntry, e[st.giListTop + st.giListRow]);
    EXPECT_EQ(st.giSelectedEntryNr, st.giListTop + st.giListRow + 1);
  }

 private:
  std::unique_ptr<ProgramFolder> folder_;
  std::unique_ptr<sim::SimWorld> world_;
  std::unique_ptr<app::frmMain> form_;
};

}  // namespace lorvan::testing
