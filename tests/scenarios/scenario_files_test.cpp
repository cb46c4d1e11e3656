// Runs every scenario file of scripts/ on a fresh program folder and checks what each dump printed.
//
// A scenario file is a lorvan-sim script with the folder it runs on and what its dumps print:
//   @music PATH         a file ("audio") or, ending in "/", a folder below Music/
//   @file PATH TEXT     a file of the program folder holding TEXT
//   @setting N VALUE    value line N (from 0) of the settings file
//   @folder NAME        the program folder is the folder NAME below the temporary one
//   @ignore LINE        output lines equal to LINE are left out (the refresh tick's queries)
//   @exit N             this run ends with exit status N (0 unless given)
//   @stderr TEXT        this run's standard error holds TEXT
//   @error TEXT         this run is refused with status 2 and TEXT for the script line above
//   @run                the lines that follow are the next run on the same folder
//   indented lines      what the dump above them printed, one line each: {JSON} a line holding
//                       at least these keys and values; "..." any number of lines; "^" what the
//                       dump before printed; <FILE> (alone) the PBM bitmap FILE of the program
//                       folder as `dump lcd` prints it, !<FILE> anything but that; else the line
//                       itself. No lines: nothing printed.
// Every other line is a script line. Besides lorvan-sim's commands there are two faults of the
// disk: "fail STEP" makes every later STEP of a file write fail (a full disk, a refused rename),
// "cut STEP N" cuts the power the N-th time from now that a file write reaches STEP; and the
// world outside the program changes its folder: "remove PATH", "mkdir PATH", "rename PATH TO"
// (a PATH that is not there is left alone), "link PATH TARGET" (a symbolic link), "fifo PATH",
// "vanish PATH" (the folder goes the moment the program lists it).
// In @music, @file and literal lines \r \n \t \\ and \xNN stand for their bytes; "<tmp>" in
// the output and in @stderr stands for the temporary folder's path.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "hosts/sim/sim_runner.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kScripts = fs::path(LORVAN_DATA_DIR) / ".." / "tests" / "scenarios" / "scripts";
// Printed after every dump, so that a dump that prints nothing is seen too.
constexpr const char* kMarker = "\x1e<end of dump>\n";

struct ScriptRun {
  std::string script;  // the file's lines, those of other runs and the directives left blank
  std::vector<std::vector<std::string>> expected;  // per dump
  std::vector<int> dump_lines;              // the dump's line in the file
  int exit_status = 0;
  int last_script_line = 0;
  std::vector<std::string> stderr_holds;
};

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    if (c == 'x' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
  }
  return out;
}

// The bitmap file as `dump lcd` prints a picture: one line per row, '#' dark, '.' clear.
std::vector<std::string> BitmapLines(const std::string& path) {
  std::ifstream in(path);
  std::string word, pixels;
  for (int header = 0; header < 3 && in >> word;) {
    if (word[0] == '#') std::getline(in, word);
    else ++header;  // P1, width, height
  }
  for (char c; in >> c;) pixels += c == '1' ? '#' : '.';
  std::vector<std::string> rows;
  for (size_t at = 0; at + 128 <= pixels.size(); at += 128) rows.push_back(pixels.substr(at, 128));
  return rows;
}

class ScenarioFile : public ::testing::TestWithParam<std::string> {
 protected:
  fs::path file() const { return kScripts / (GetParam() + ".scenario"); }

  // Whether the printed lines from `at` on match the expected lines from `want` on.
  bool Match(const std::vector<std::string>& got, size_t at, const std::vector<std::string>& exp, size_t want) {
    if (want == exp.size()) return at == got.size();
    const std::string& e = exp[want];
    if (e == "...") return Match(got, at, exp, want + 1) || (at < got.size() && Match(got, at + 1, exp, want));
    if (e == "^") return got == previous_;
    if (e.ends_with('>')) {  // the whole dump is, or with "!" is not, the bitmap
      const size_t open = e.find('<');
      return (got == BitmapLines(dir_ + "/" + e.substr(open + 1, e.size() - open - 2))) == (open == 0);
    }
    if (at == got.size()) return false;
    if (e.starts_with('{')) {
      const json w = json::parse(e), g = json::parse(got[at], nullptr, false);
      if (!g.is_object()) return false;
      for (const auto& [key, value] : w.items()) {
        if (!g.contains(key) || g[key] != value) return false;
      }
    } else if (got[at] != Unescape(e)) {
      return false;
    }
    return Match(got, at + 1, exp, want + 1);
  }

  std::vector<ScriptRun> Parse() {
    std::ifstream in(file());
    EXPECT_TRUE(in) << file();
    std::vector<ScriptRun> runs(1);
    Settings settings;
    std::vector<std::pair<std::string, std::string>> files;  // path (a folder ends with "/"), content
    std::string folder;
    int number = 0;
    for (std::string text; std::getline(in, text);) {
      ++number;
      for (ScriptRun& r : runs) r.script += "\n";
      ScriptRun& run = runs.back();
      const auto arg = [&](size_t n) { return text.substr(std::min(text.size(), n)); };
      if (text.empty() || text[0] == '#') continue;
      if (text.starts_with("  ")) {
        if (run.expected.empty()) ADD_FAILURE_AT(file().c_str(), number) << "expected output without a dump";
        else run.expected.back().push_back(arg(2));
      } else if (text.starts_with("@music ")) {
        const std::string path = Unescape(arg(7));
        files.emplace_back("Music/" + path, "audio");
      } else if (text.starts_with("@file ")) {
        const size_t blank = text.find(' ', 6);
        files.emplace_back(text.substr(6, blank - 6), Unescape(arg(blank + 1)));
      } else if (text.starts_with("@setting ")) {
        const size_t blank = text.find(' ', 9);
        settings[std::stoi(text.substr(9, blank - 9))] = arg(blank + 1);
      } else if (text.starts_with("@folder ")) {
        folder = arg(8);
      } else if (text.starts_with("@ignore ")) {
        ignored_.push_back(Unescape(arg(8)));
      } else if (text.starts_with("@exit ")) {
        run.exit_status = std::stoi(arg(6));
      } else if (text.starts_with("@stderr ")) {
        run.stderr_holds.push_back(arg(8));
      } else if (text.starts_with("@error ")) {
        run.exit_status = 2;
        run.stderr_holds.push_back(file().filename().string() + ":" + std::to_string(run.last_script_line) + ":");
        run.stderr_holds.push_back(arg(7));
      } else if (text == "@run") {
        runs.emplace_back();
        runs.back().script = std::string(number, '\n');
      } else if (text[0] == '@') {
        ADD_FAILURE_AT(file().c_str(), number) << "unknown directive: " << text;
      } else {
        run.script.pop_back();
        run.script += text + "\n";
        run.last_script_line = number;
        if (text.starts_with("dump ") && !text.starts_with("dump png")) {
          run.expected.emplace_back();
          run.dump_lines.push_back(number);
        }
      }
    }
    box_ = std::make_unique<ProgramFolder>(settings);
    dir_ = box_->path();
    if (!folder.empty()) {
      dir_ += "/" + folder;
      fs::create_directory(dir_);
      for (const char* entry : {"Lorvan.ini", "Help.txt", "Music", "CD", "Fonts", "Bitmaps"}) {
        fs::copy(box_->path() + "/" + entry, dir_ + "/" + entry, fs::copy_options::recursive);
      }
    }
    for (const auto& [path, content] : files) {
      const std::string full = dir_ + "/" + path;
      if (path.ends_with('/')) fs::create_directories(full);
      else box_->Write(fs::relative(full, box_->path()).string(), content);
    }
    return runs;
  }

  // Runs the script with a marker after every dump; the result is the exit status.
  int RunScript(const ScriptRun& run, std::string& out, std::string& err) {
    std::ostringstream o, e;
    sim::SimRunner runner(dir_, o, e);
    for (const char* verb : {"dump state", "dump lcd", "dump picture", "dump messages", "dump events", "dump port",
                             "dump file"}) {
      size_t words = 0;
      const sim::ScriptCommand dump = *runner.commands.Find(sim::Words{"dump", verb + 5, "x"}, words);
      runner.commands.Add(verb, {dump.check, [dump, &o](const sim::Words& a) {
                                   dump.run(a);
                                   o << kMarker;
                                 }});
    }
    const auto step = [](const sim::Words& a, size_t end) {
      std::string s = a.at(0);
      for (size_t i = 1; i < end; ++i) s += " " + a[i];
      return s;
    };
    runner.commands.Add("fail", {nullptr, [&runner, step](const sim::Words& a) {
                                   runner.world.files.fault_injection = [s = step(a, a.size())](const std::string& at) {
                                     return at != s;
                                   };
                                 }});
    runner.commands.Add("cut", {nullptr, [&runner, step](const sim::Words& a) {
                                  auto seen = std::make_shared<int>(0);
                                  runner.world.files.fault_injection = [s = step(a, a.size() - 1), n = std::stoi(a.back()),
                                                                        seen](const std::string& at) {
                                    if (at == s && ++*seen == n) throw sim::PowerLost();
                                    return true;
                                  };
                                }});
    const auto at = [this](const sim::Words& a, size_t i) { return fs::path(dir_) / a.at(i); };
    runner.commands.Add("remove", {nullptr, [at](const sim::Words& a) { fs::remove_all(at(a, 0)); }});
    runner.commands.Add("mkdir", {nullptr, [at](const sim::Words& a) { fs::create_directories(at(a, 0)); }});
    runner.commands.Add("rename", {nullptr, [at](const sim::Words& a) {
                                     std::error_code ec;
                                     fs::rename(at(a, 0), at(a, 1), ec);
                                   }});
    runner.commands.Add("link", {nullptr, [at](const sim::Words& a) { fs::create_symlink(a.at(1), at(a, 0)); }});
    runner.commands.Add("fifo", {nullptr, [at](const sim::Words& a) { mkfifo(at(a, 0).c_str(), 0644); }});
    runner.commands.Add("vanish", {nullptr, [&runner, at](const sim::Words& a) {
                                     runner.world.files.folder_fault_injection = [path = at(a, 0)](const std::string& f) {
                                       if (f.find(path.filename().string()) != std::string::npos) fs::remove_all(path);
                                       return true;
                                     };
                                   }});
    const int status = runner.Run(run.script, file().filename().string());
    out = o.str();
    err = e.str();
    for (std::string* text : {&out, &err}) {
      for (size_t at; (at = text->find(box_->path())) != std::string::npos;) text->replace(at, box_->path().size(), "<tmp>");
    }
    return status;
  }

  // The run's output, one list of lines per dump.
  std::vector<std::vector<std::string>> Blocks(const std::string& text) {
    std::vector<std::vector<std::string>> blocks;
    for (size_t at = 0, end; (end = text.find(kMarker, at)) != std::string::npos; at = end + std::strlen(kMarker)) {
      std::istringstream in(text.substr(at, end - at));
      blocks.emplace_back();
      for (std::string line; std::getline(in, line);) {
        if (std::find(ignored_.begin(), ignored_.end(), line) == ignored_.end()) blocks.back().push_back(line);
      }
    }
    return blocks;
  }

  std::unique_ptr<ProgramFolder> box_;
  std::string dir_;
  std::vector<std::string> ignored_;
  std::vector<std::string> previous_;
};

TEST_P(ScenarioFile, DumpsPrintWhatTheFileExpects) {
  for (const ScriptRun& run : Parse()) {
    std::string out, err;
    const int status = RunScript(run, out, err);
    const int line = run.last_script_line;
    if (status != run.exit_status) {
      ADD_FAILURE_AT(file().c_str(), line) << "exit status " << status << ", not " << run.exit_status << "\n" << err;
    }
    if (run.stderr_holds.empty() && !err.empty()) ADD_FAILURE_AT(file().c_str(), line) << "diagnostics:\n" << err;
    for (const auto& text : run.stderr_holds) {
      if (err.find(text) == std::string::npos) ADD_FAILURE_AT(file().c_str(), line) << "no \"" << text << "\" in:\n" << err;
    }
    if (status == 2 && !out.empty()) ADD_FAILURE_AT(file().c_str(), line) << "a refused script printed " << out;
    const auto blocks = Blocks(out);
    for (size_t i = 0; i < run.expected.size(); ++i) {
      const std::vector<std::string> got = i < blocks.size() ? blocks[i] : std::vector<std::string>{};
      if (!Match(got, 0, run.expected[i], 0)) {
        std::string printed;
        for (const auto& line : got) printed += "  " + line + "\n";
        ADD_FAILURE_AT(file().c_str(), run.dump_lines[i]) << "this dump printed:\n" << printed;
      }
      previous_ = got;
    }
  }
}

std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(kScripts)) {
    if (e.path().extension() == ".scenario") names.push_back(e.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScenarioFile, ::testing::ValuesIn(ScenarioNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace lorvan::testing
