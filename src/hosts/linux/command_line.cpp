#include "hosts/linux/command_line.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace lorvan::linuxhost {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string ProgramName(const std::string& line) {
  const auto words = SplitCommandLine(line);
  if (!words || words->empty()) return {};
  const std::string& w = words->front();
  const size_t slash = w.find_last_of('/');
  return Lower(slash == std::string::npos ? w : w.substr(slash + 1));
}

bool IsWinampName(const std::string& name) { return name == "winamp.exe" || name == "winamp"; }

}  // namespace

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
      else word += c;
    } else if (c == '\\' && i + 1 < line.size() && (quote == 0 || line[i + 1] == '"' || line[i + 1] == '\\')) {
      word += line[++i];
      in_word = true;
    } else if (quote == '"') {
      if (c == '"') quote = 0;
      else word += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
      in_word = true;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (quote != 0) return std::nullopt;
  if (in_word) words.push_back(word);
  return words;
}

std::string DefaultSocketPath(const std::string& program_dir) {
  char buf[PATH_MAX];
  const std::string dir = realpath(program_dir.c_str(), buf) ? std::string(buf) : program_dir;
  uint64_t h = 1469598103934665603ull;  // FNV-1a of the folder's full path
  for (unsigned char c : dir) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char hash[20];
  std::snprintf(hash, sizeof(hash), "%012llx", static_cast<unsigned long long>(h & 0xFFFFFFFFFFFFull));
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && access(runtime, W_OK) == 0) return std::string(runtime) + "/lorvan-" + hash + ".sock";
  return "/tmp/lorvan-" + std::to_string(getuid()) + "-" + hash + ".sock";
}

std::string DefaultPlayerCommandLine(const std::string& socket_path) {
  return "mpv --idle=yes --no-video --no-terminal --input-ipc-server=" + socket_path;
}

bool IsPlayerCommandLine(const std::string& line) {
  const std::string name = ProgramName(line);
  return IsWinampName(name) || name == "mpv";
}

std::string ResolveCommandLine(const std::string& line, const std::string& settings_player_line,
                               const std::string& socket_path) {
  std::string resolved = line;
  if (IsWinampName(ProgramName(line))) {
    resolved = IsWinampName(ProgramName(settings_player_line)) || ProgramName(settings_player_line).empty()
                   ? DefaultPlayerCommandLine(socket_path)
                   : settings_player_line;
  }
  if (ProgramName(resolved) == "mpv" && resolved.find("--input-ipc-server") == std::string::npos) {
    resolved += " --input-ipc-server=" + socket_path;
  }
  return resolved;
}

}  // namespace lorvan::linuxhost
