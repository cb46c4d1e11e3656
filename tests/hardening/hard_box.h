#pragma once
// The whole program on the simulated machine inside a sandbox folder: the program folder
// ("box") and a folder beside it ("outside") that links in the music tree may point to. The
// sandbox can be photographed before and after a run, so a test sees every byte the program
// wrote anywhere around it. Trees deeper than the system's path limit are made and removed
// folder by folder.
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {

// Every entry below a folder, symbolic links not followed: relative path -> kind, mode,
// modification time and, for files, the content; for links, the target.
using TreePhoto = std::map<std::string, std::string>;
TreePhoto PhotographTree(const std::string& folder);
// Makes the folders of names one inside the other below parent, each opened from the one
// before, so that the whole path may exceed the system's limit; returns how many were made.
int MakeChain(const std::string& parent, const std::vector<std::string>& names, const std::string& file_at_bottom);

class HardBox {
 public:
  explicit HardBox(const Settings& settings = Settings());
  ~HardBox();
  HardBox(const HardBox&) = delete;
  HardBox& operator=(const HardBox&) = delete;

  // The program folder and its music root.
  const std::string& dir() const { return dir_; }
  std::string music() const { return dir_ + "/Music"; }

  // A script line "probe NAME" runs fn at its time.
  void Probe(const std::string& name, std::function<void()> fn) { probes_[name] = std::move(fn); }
  int Run(const std::string& script) { return runner.Run(script, "test.script"); }

  app::frmMain& form() { return runner.form; }
  app::SharedState& state() { return runner.form.state; }
  sim::SimWorld& world() { return runner.world; }

  // The message boxes among the outside events since the previous call.
  std::vector<nlohmann::json> MessageBoxes();
  // Writes a file below the program folder (folders on the way are made).
  void Write(const std::string& relative, const std::string& content = "audio") const {
    sandbox_.Write("box/" + relative, content);
  }
  std::string Read(const std::string& relative) const { return sandbox_.Read("box/" + relative); }

  // Moves the cursor with the Next key until the entry is highlighted; false if it is not listed.
  bool Select(const std::string& entry);

  // The panel shows the frame the program composed last, and it is the browser screen of
  // the MP3 source (its symbol above the status line).
  bool PanelShowsPicture();
  bool BrowserOnPanel();

  // The sandbox before a run; afterwards nothing in it may differ but the settings file and
  // the program folder's own entry (the rewrite creates and renames a file in it).
  void PhotographSandbox() { before_ = PhotographTree(sandbox_.path()); }
  std::vector<std::string> SandboxChanges() const;

  std::ostringstream out, err;

 private:
  TempDir sandbox_;
  std::string dir_;
  TreePhoto before_;
  std::map<std::string, std::function<void()>> probes_;

 public:
  sim::SimRunner runner;
};

}  // namespace lorvan::testing
