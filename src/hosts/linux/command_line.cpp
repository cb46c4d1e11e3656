#include "hosts/linux/command_line.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
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

// A word of a command line and where it stands in the line (begin, end).
struct Word {
  std::string text;
  size_t begin = 0;
  size_t end = 0;
};

std::optional<std::vector<Word>> SplitWithSpans(const std::string& line) {
  std::vector<Word> words;
  Word word;
  bool in_word = false;
  char quote = 0;
  const auto start = [&](size_t i) {
    if (!in_word) word.begin = i;
    in_word = true;
  };
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote == '\'') {
      if (c == '\'') quote = 0;
      else word.text += c;
    } else if (c == '\\' && i + 1 < line.size() && (quote == 0 || line[i + 1] == '"' || line[i + 1] == '\\')) {
      start(i);
      word.text += line[++i];
    } else if (quote == '"') {
      if (c == '"') quote = 0;
      else word.text += c;
    } else if (c == '"' || c == '\'') {
      start(i);
      quote = c;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (in_word) {
        word.end = i;
        words.push_back(word);
      }
      word = Word{};
      in_word = false;
    } else {
      start(i);
      word.text += c;
    }
  }
  if (quote != 0) return std::nullopt;
  if (in_word) {
    word.end = line.size();
    words.push_back(word);
  }
  return words;
}

// The value of an --input-ipc-server=PATH word (mpv also reads the old one-dash form).
std::optional<std::string> SocketOption(const std::string& word) {
  for (const char* prefix : {"--input-ipc-server=", "-input-ipc-server="}) {
    const std::string p = prefix;
    if (word.rfind(p, 0) == 0) return word.substr(p.size());
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> SplitCommandLine(const std::string& line) {
  const auto words = SplitWithSpans(line);
  if (!words) return std::nullopt;
  std::vector<std::string> out;
  for (const Word& w : *words) out.push_back(w.text);
  return out;
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
  return PrivateFolder() + "/" + hash + ".sock";
}

std::string PrivateFolder() {
  // A folder only this user can enter, so that nobody else can plant or reach the socket.
  const std::string mine = "/tmp/lorvan-" + std::to_string(getuid());
  ::mkdir(mine.c_str(), 0700);
  struct stat st {};
  if (::lstat(mine.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0) {
    return mine;
  }
  // The name is taken by someone else: a fresh folder of a name nobody can foresee.
  char fresh[] = "/tmp/lorvan-XXXXXX";
  if (::mkdtemp(fresh)) return fresh;
  return mine;
}

std::string DefaultPlayerCommandLine(const std::string& socket_path) {
  return "mpv --idle=yes --no-video --no-terminal --input-ipc-server=" + QuoteWord(socket_path);
}

bool IsPlayerCommandLine(const std::string& line) {
  const std::string name = ProgramName(line);
  return IsWinampName(name) || name == "mpv";
}

std::optional<std::string> NamedSocket(const std::string& line) {
  if (ProgramName(line) != "mpv") return std::nullopt;
  std::optional<std::string> named;
  const auto words = SplitWithSpans(line);
  for (const Word& w : *words) {
    if (auto value = SocketOption(w.text)) named = value;
  }
  return named;
}

std::string QuoteWord(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\r\n'\"\\") == std::string::npos) return word;
  if (word.find('\'') == std::string::npos) return "'" + word + "'";
  std::string out = "\"";
  for (const char c : word) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ResolveCommandLine(const std::string& line, const std::string& settings_player_line,
                               const std::string& socket_path) {
  std::string resolved = line;
  if (IsWinampName(ProgramName(line))) {
    resolved = IsWinampName(ProgramName(settings_player_line)) || ProgramName(settings_player_line).empty()
                   ? DefaultPlayerCommandLine(socket_path)
                   : settings_player_line;
  }
  if (ProgramName(resolved) != "mpv") return resolved;
  const std::string option = "--input-ipc-server=" + QuoteWord(socket_path);
  const auto words = SplitWithSpans(resolved);
  for (auto w = words->rbegin(); w != words->rend(); ++w) {
    const auto named = SocketOption(w->text);
    if (!named) continue;
    if (*named == socket_path) return resolved;
    return resolved.substr(0, w->begin) + option + resolved.substr(w->end);
  }
  return resolved + " " + option;
}

}  // namespace lorvan::linuxhost
