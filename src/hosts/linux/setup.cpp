#include "hosts/linux/setup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "hosts/linux/command_line.h"

namespace fs = std::filesystem;

namespace lorvan::linuxhost {
namespace {

constexpr int kValueLines = 56;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// A folder of the settings as the program reads it: absolute (a relative one is taken from
// the current folder of the command, "~/" from the home folder, which the shell leaves after
// "--music="), no doubled separator (a "//" would make the line a comment), ending with "/".
// Throws for what cannot be one line.
std::string SettingsFolder(const std::string& given, const std::string& option) {
  if (given.find_first_of("\r\n") != std::string::npos) {
    throw std::invalid_argument(option + ": a folder name with a line break cannot be kept in the settings");
  }
  std::string path = given;
  const char* home = std::getenv("HOME");
  if (path.rfind("~/", 0) == 0 && home && *home) path = Joined(home, path.substr(2));
  if (path.front() != '/') path = Joined(fs::current_path().string(), path);
  std::string out;
  for (const char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  if (out.back() != '/') out += '/';
  return out;
}

bool HasSoundDevice() {
  if (DIR* d = ::opendir("/dev/snd")) {
    bool found = false;
    while (const dirent* e = ::readdir(d)) {
      const std::string name = e->d_name;
      if (name.rfind("pcmC", 0) == 0 && name.back() == 'p') found = true;
    }
    ::closedir(d);
    if (found) return true;
  }
  const char* pulse = std::getenv("PULSE_SERVER");
  if (pulse && *pulse) return true;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) {
    for (const char* socket : {"/pulse/native", "/pipewire-0"}) {
      struct stat st {};
      if (::stat((std::string(runtime) + socket).c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return true;
    }
  }
  return false;
}

std::string DefaultCdRoot() { return Exists("/dev/cdrom") ? "/dev/cdrom/" : "/dev/sr0/"; }

std::string SettingsText(const std::string& player, const std::string& music, const std::string& cd,
                         const std::string& help) {
  std::vector<std::string> lines = {
      "// Lorvan settings, laid out by \"lorvan --setup\". Values are read by their order among the",
      "// lines without \"//\"; every line holding \"//\" is a comment. A rewrite keeps the lines that",
      "// start with \"//\" (moved to the top) and writes the 56 values below them.",
      "//  0 volume 0-255              1 player command line        2 MP3 root folder (ends with /)",
      "//  3 CD drive root folder      4 help file name             5 LCD delay loops per page",
      "//  6 reserved                  7 reserved                   8 wake-up detection time (s)",
      "//  9 resume: play position ms (-1: no playback)            10 resume: folder",
      "// 11 resume: window top       12 resume: cursor row        13 resume: folder depth",
      "// then 21 lines: window top per depth, then 21 lines: cursor row per depth",
      "// The player is mpv: lorvan adds its own IPC socket to a line that names none (lorvan",
      "// --print-socket PROGRAM_DIR shows it); a line with --input-ipc-server=PATH listens there.",
  };
  if (player.find("--ao=null") != std::string::npos) {
    lines.push_back("// No sound device was found when this file was laid out: the player plays to --ao=null.");
  }
  const std::vector<std::string> head = {"200", player, music, cd, help, "0", "0", "0", "60", "-1", music};
  lines.insert(lines.end(), head.begin(), head.end());
  for (int i = static_cast<int>(head.size()); i < kValueLines; ++i) lines.push_back("0");
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

// Copies the regular files of a data folder that the program folder does not have yet;
// how many were copied. Throws naming the file that fails.
int CopyMissingFiles(const std::string& from, const std::string& to) {
  fs::create_directories(to);
  int copied = 0;
  for (const auto& entry : fs::directory_iterator(from)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = fs::path(to) / entry.path().filename();
    std::error_code ec;
    if (fs::exists(target, ec)) continue;
    if (!fs::copy_file(entry.path(), target, ec) || ec) {
      throw fs::filesystem_error("cannot copy", entry.path(), target, ec);
    }
    ++copied;
  }
  return copied;
}

}  // namespace

std::vector<std::string> ValueLines(const std::string& text) {
  std::vector<std::string> values;
  std::stringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("//") == std::string::npos) values.push_back(line);
  }
  return values;
}

std::optional<std::string> MissingSettingsMessage(const std::string& program_dir) {
  if (Exists(Joined(program_dir, kSettingsFileName))) return std::nullopt;
  return program_dir + " has no settings file " + kSettingsFileName + "; lay out a program folder there with: lorvan --setup " +
         program_dir + " [--music=FOLDER] [--cd=FOLDER]";
}

std::string SettingsPlayerLine(const std::string& program_dir) {
  std::ifstream in(Joined(program_dir, kSettingsFileName), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const auto values = ValueLines(text.str());
  return values.size() > 1 ? values[1] : std::string();
}

PlayerSocket ChoosePlayerSocket(const std::string& command_line_socket, const std::string& program_dir) {
  std::optional<std::string> named = NamedSocket(SettingsPlayerLine(program_dir));
  if (named && !named->empty()) {
    const char* home = std::getenv("HOME");
    if (named->rfind("~/", 0) == 0 && home && *home) *named = Joined(home, named->substr(2));
    else if (named->front() != '/') *named = Joined(program_dir, *named);
  } else {
    named.reset();
  }
  if (!command_line_socket.empty()) {
    PlayerSocket chosen{command_line_socket, ""};
    if (named && *named != command_line_socket) {
      chosen.note = "the player listens on --socket=" + command_line_socket + ", not on " + *named +
                    " of the settings' player line";
    }
    return chosen;
  }
  if (named) return {*named, ""};
  return {DefaultSocketPath(program_dir), ""};
}

std::optional<InstalledData> FindInstalledData(const std::string& program_folder, const std::string& source_data) {
  const std::vector<InstalledData> candidates = {
      {Joined(program_folder, "Fonts"), Joined(program_folder, "Bitmaps"), Joined(program_folder, "Help.txt")},
      {Joined(source_data, "Fonts"), Joined(source_data, "Bitmaps"), Joined(source_data, "sample/Help.txt")},
  };
  for (const InstalledData& d : candidates) {
    if (IsFile(Joined(d.fonts, "Normal.fnt")) && IsFile(Joined(d.bitmaps, "picBackground.pbm")) && IsFile(d.help)) {
      return d;
    }
  }
  return std::nullopt;
}

std::string NewPlayerCommandLine() {
  const std::string line = "mpv --idle=yes --no-video --no-terminal";
  return HasSoundDevice() ? line : line + " --ao=null";
}

int SetUpProgramFolder(const SetupRequest& request, const InstalledData& data, std::ostream& out, std::ostream& err) {
  const std::string& dir = request.program_dir;
  const std::string settings = Joined(dir, kSettingsFileName);
  if (Exists(settings)) {
    err << "lorvan: " << settings << " exists; --setup changes nothing in " << dir << "\n";
    return 1;
  }
  try {
    const std::string music = request.music.empty() ? "Music/" : SettingsFolder(request.music, "--music");
    const std::string cd = request.cd.empty() ? DefaultCdRoot() : SettingsFolder(request.cd, "--cd");
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!IsFolder(dir)) {
      err << "lorvan: cannot make the program folder " << dir << (ec ? ": " + ec.message() : "") << "\n";
      return 1;
    }
    const int fonts = CopyMissingFiles(data.fonts, Joined(dir, "Fonts"));
    const int bitmaps = CopyMissingFiles(data.bitmaps, Joined(dir, "Bitmaps"));
    const std::string help_name = fs::path(data.help).filename().string();
    const fs::path help_target = Joined(dir, help_name);
    const bool help_copied = !fs::exists(help_target, ec);
    if (help_copied) fs::copy_file(data.help, help_target);
    if (request.music.empty()) fs::create_directories(Joined(dir, "Music"));

    // The settings file comes last: a folder that has it is complete.
    const std::string player = NewPlayerCommandLine();
    const std::string text = SettingsText(player, music, cd, help_name);
    const int fd = ::open(settings.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      err << "lorvan: cannot write " << settings << ": " << std::strerror(errno) << "\n";
      return 1;
    }
    const bool written =
        ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
      err << "lorvan: cannot write " << settings << "\n";
      ::unlink(settings.c_str());
      return 1;
    }

    out << "lorvan: program folder " << dir << " laid out:\n"
        << "  " << kSettingsFileName << ": player \"" << player << "\", music " << music << ", CD " << cd << "\n"
        << "  " << help_name << (help_copied ? "" : " (kept)") << ", Fonts/ (" << fonts << " new), Bitmaps/ (" << bitmaps
        << " new)\n";
    if (request.music.empty()) out << "  Music/: put the music files and folders there\n";
    else if (!IsFolder(music)) out << "  " << music << " is not there yet\n";
    out << "start it with: lorvan " << dir << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << "lorvan: --setup " << dir << ": " << e.what() << "\n";
    return 1;
  }
}

int RunSetup(const SetupRequest& request, std::ostream& out, std::ostream& err) {
  SetupRequest absolute = request;
  std::string dir = fs::absolute(request.program_dir).lexically_normal().string();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  absolute.program_dir = dir;
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const auto data = FindInstalledData(ec ? std::string() : self.parent_path().string(), LORVAN_SOURCE_DATA_DIR);
  if (!data) {
    err << "lorvan: --setup finds no installed data (Fonts/, Bitmaps/, Help.txt) beside " << self.string()
        << " nor in " << LORVAN_SOURCE_DATA_DIR << "\n";
    return 1;
  }
  return SetUpProgramFolder(absolute, *data, out, err);
}

}  // namespace lorvan::linuxhost
