// Whole runs of the program written as scenario scripts in tests/app/scripts: each file sets up
// a program folder, runs its script and gives the exact output (the program folder's path shown
// as $DIR, a carriage return as \r), the exit status and the diagnostics.
// LORVAN_UPDATE_SCRIPTS=1 writes what the program does now into the files instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kScripts = fs::path(LORVAN_DATA_DIR) / ".." / "tests" / "app" / "scripts";

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
  return s;
}

class Script : public ::testing::TestWithParam<std::string> {};

// A file holds comment and setup lines ("setting N VALUE", "music ENTRY", "write FILE TEXT" with
// \r \n \t escapes, "remove FILE"), then "== script" and the script, "== exit N" and the
// output, "== stderr" and the diagnostics.
TEST_P(Script, RunsAsWritten) {
  const fs::path path = kScripts / (GetParam() + ".txt");
  std::ifstream in(path);
  ProgramFolder folder;
  Settings settings;
  bool settings_given = false;
  std::string head, script, out, err, *section = &head;
  int exit_status = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string verb, name, rest;
    words >> verb >> name;
    std::getline(words, rest);
    if (verb == "==") {
      section = name == "script" ? &script : name == "stderr" ? &err : &out;
      if (section == &out) exit_status = std::stoi(rest);
      continue;
    }
    if (section != &head || line.empty() || line[0] == '#') {
      *section += line + "\n";
      continue;
    }
    const std::string value = rest.empty() ? rest : rest.substr(1);  // after the blank
    if (verb == "setting") {
      settings[std::stoi(name)] = value;
      settings_given = true;
    } else if (verb == "music") {
      folder.AddMusic({name + rest});
    } else if (verb == "write") {
      const std::string text = Replace(Replace(Replace(value, "\\r", "\r"), "\\n", "\n"), "\\t", "\t");
      folder.Write(name, text);
    } else if (verb == "remove") {
      fs::remove(fs::path(folder.path()) / name);
    } else {
      FAIL() << path << ": unknown setup line " << line;
    }
    head += line + "\n";
  }
  if (settings_given) folder.Write("Lorvan.ini", settings.Text({"// test settings"}));
  const ScenarioResult r = RunScenario(folder.path(), script);
  const std::string now_out = Replace(Replace(r.out, folder.path(), "$DIR"), "\r", "\\r");
  const std::string now_err = Replace(r.err, folder.path(), "$DIR");
  if (std::getenv("LORVAN_UPDATE_SCRIPTS")) {
    std::ofstream(path) << head << "== script\n" << script << "== exit " << r.exit_status << "\n"
                        << now_out << "== stderr\n" << now_err;
    return;
  }
  EXPECT_EQ(r.exit_status, exit_status);
  EXPECT_EQ(now_out, out);
  EXPECT_EQ(now_err, err);
}

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(kScripts)) {
    if (e.path().extension() == ".txt") names.push_back(e.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(App, Script, ::testing::ValuesIn(Names()),
                         [](const ::testing::TestParamInfo<std::string>& i) { return i.param; });

}  // namespace
}  // namespace lorvan::testing
