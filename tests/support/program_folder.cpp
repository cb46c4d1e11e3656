#include "support/program_folder.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lorvan::testing {

TempDir::TempDir() {
  std::string tmpl = (fs::temp_directory_path() / "lorvan-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Folders a test made unreadable must become readable again to be removed.
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
  const fs::path p = fs::path(path_) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << content;
  return p.string();
}

std::string TempDir::Mkdir(const std::string& relative) const {
  const fs::path p = fs::path(path_) / relative;
  fs::create_directories(p);
  std::string s = p.string();
  if (s.back() != '/') s += '/';
  return s;
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(fs::path(path_) / relative, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

Settings::Settings() : values(56, "0") {
  values[0] = "200";
  values[1] = "winamp";
  values[2] = "Music/";
  values[3] = "CD/";
  values[4] = "Help.txt";
  values[5] = "0";
  values[8] = "5";
  values[9] = "-1";
  values[10] = "Music/";
}

std::string Settings::Text(const std::vector<std::string>& comments) const {
  std::string out;
  for (const auto& c : comments) out += c + "\r\n";
  for (const auto& v : values) out += v + "\r\n";
  return out;
}

ProgramFolder::ProgramFolder(const Settings& settings) {
  Write("Lorvan.ini", settings.Text({"// test settings"}));
  Write("Help.txt",
        "' test help\r\n40\r\nP\tPlay\r\nS\tStop\r\n\r\nN\tNext\r\n\r\nH\tHelp\r\n");
  Mkdir("Music");
  Mkdir("CD");
  const fs::path data(LORVAN_DATA_DIR);
  std::error_code ec;
  for (const char* sub : {"Fonts", "Bitmaps"}) {
    if (fs::exists(data / sub)) {
      fs::copy(data / sub, fs::path(path()) / sub, fs::copy_options::recursive, ec);
    }
  }
}

void ProgramFolder::AddMusic(const std::vector<std::string>& entries) const {
  for (const auto& e : entries) {
    if (!e.empty() && e.back() == '/') {
      Mkdir("Music/" + e);
    } else {
      Write("Music/" + e, "audio");
    }
  }
}

std::vector<std::string> ScenarioResult::OutLines() const {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

nlohmann::json Table(const std::string& file, const std::string& name) {
  const std::string path = std::string(LORVAN_DATA_DIR) + "/../tests/" + file;
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  const nlohmann::json tables = nlohmann::json::parse(in);
  if (!tables.contains(name)) throw std::runtime_error(path + " has no table " + name);
  return tables.at(name);
}

}  // namespace lorvan::testing
