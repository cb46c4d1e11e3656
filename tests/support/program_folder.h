#pragma once
// Test program folders: a real temporary folder with settings, help file, fonts, bitmaps
// and a music tree, and a way to run a scenario script on it.
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace lorvan::testing {

// A temporary folder that is removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the folder (folders on the way are made); returns its full path.
  std::string Write(const std::string& relative, const std::string& content) const;
  // Makes a folder below the folder; returns its full path with a trailing separator.
  std::string Mkdir(const std::string& relative) const;
  std::string Read(const std::string& relative) const;

 private:
  std::string path_;
};

// The 56 value lines of a settings file, by position; defaults make a working program folder.
struct Settings {
  std::vector<std::string> values;
  Settings();
  std::string& operator[](int position) { return values.at(position); }
  // The file text: optional comment lines first, then the values, CR LF line ends.
  std::string Text(const std::vector<std::string>& comments = {}) const;
};

// A program folder: settings, help file (three pages), the shipped fonts and bitmaps (when
// the data folder has them) and an MP3 root "Music/" below the folder.
class ProgramFolder : public TempDir {
 public:
  explicit ProgramFolder(const Settings& settings = Settings());
  // Files and folders of the music tree, e.g. {"Rock/Queen/a.mp3", "Pop/"}.
  void AddMusic(const std::vector<std::string>& entries) const;
  std::string music_root() const { return path() + "/Music/"; }
};

struct ScenarioResult {
  int exit_status = 0;
  std::string out;
  std::string err;
  std::vector<std::string> OutLines() const;
};

// Runs lorvan-sim's scenario runner in-process on the folder.
ScenarioResult RunScenario(const std::string& program_dir, const std::string& script);

// The rows of table NAME in the JSON file tests/FILE, for a table-driven test; a missing file
// or table throws, so that the test fails instead of running no rows.
nlohmann::json Table(const std::string& file, const std::string& name);

}  // namespace lorvan::testing
