#include "hardening/hard_box.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace lorvan::testing {
namespace {

std::string ReadAt(int dirfd, const char* name) {
  const int fd = openat(dirfd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return "<unreadable>";
  std::string data;
  char buf[8192];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) data.append(buf, static_cast<size_t>(n));
  close(fd);
  return data;
}

// The names in a folder opened as fd (which the listing takes over and closes).
std::vector<std::string> NamesIn(int fd) {
  std::vector<std::string> names;
  DIR* d = fdopendir(fd);
  if (!d) {
    close(fd);
    return names;
  }
  while (dirent* e = readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  return names;
}

void PhotographAt(int dirfd, const std::string& name, const std::string& rel, TreePhoto& photo) {
  struct stat st {};
  if (fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    photo[rel] = "<gone>";
    return;
  }
  const std::string common = " mode " + std::to_string(st.st_mode) + " mtime " + std::to_string(st.st_mtim.tv_sec) +
                             "." + std::to_string(st.st_mtim.tv_nsec);
  if (S_ISLNK(st.st_mode)) {
    char target[PATH_MAX + 1];
    const ssize_t n = readlinkat(dirfd, name.c_str(), target, PATH_MAX);
    photo[rel] = "link -> " + std::string(target, n > 0 ? static_cast<size_t>(n) : 0);
  } else if (S_ISREG(st.st_mode)) {
    photo[rel] = "file" + common + " content " + ReadAt(dirfd, name.c_str());
  } else if (S_ISDIR(st.st_mode)) {
    photo[rel] = "folder" + common;
    const int fd = openat(dirfd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
      photo[rel] += " <unreadable>";
      return;
    }
    for (const auto& n : NamesIn(dup(fd))) PhotographAt(fd, n, rel + "/" + n, photo);
    close(fd);
  } else {
    photo[rel] = "other" + common;
  }
}

void RemoveAt(int dirfd, const std::string& name) {
  struct stat st {};
  if (fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    fchmodat(dirfd, name.c_str(), 0700, 0);
    const int fd = openat(dirfd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      for (const auto& n : NamesIn(dup(fd))) RemoveAt(fd, n);
      close(fd);
    }
    unlinkat(dirfd, name.c_str(), AT_REMOVEDIR);
  } else {
    unlinkat(dirfd, name.c_str(), 0);
  }
}

// Lays out a program folder "box" in the sandbox: settings, help file, the shipped fonts and
// bitmaps and an empty music root.
std::string LayOut(const TempDir& sandbox, const Settings& settings) {
  sandbox.Write("box/Lorvan.ini", settings.Text({"// hardening settings"}));
  sandbox.Write("box/Help.txt", "' help\r\n40\r\nP\tPlay\r\nS\tStop\r\n\r\nN\tNext\r\n\r\nH\tHelp\r\n");
  sandbox.Mkdir("box/Music");
  sandbox.Mkdir("box/CD");
  const fs::path data(LORVAN_DATA_DIR);
  for (const char* sub : {"Fonts", "Bitmaps"}) {
    fs::copy(data / sub, fs::path(sandbox.path()) / "box" / sub, fs::copy_options::recursive);
  }
  return sandbox.path() + "/box";
}

// Removes a folder with everything in it, however deep, also folders without permissions.
void RemoveTree(const std::string& folder) {
  const fs::path p(folder);
  const int fd = open(p.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  RemoveAt(fd, p.filename().string());
  close(fd);
}

}  // namespace

TreePhoto PhotographTree(const std::string& folder) {
  TreePhoto photo;
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + folder);
  for (const auto& n : NamesIn(dup(fd))) PhotographAt(fd, n, n, photo);
  close(fd);
  return photo;
}

int MakeChain(const std::string& parent, const std::vector<std::string>& names, const std::string& file_at_bottom) {
  int fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int made = 0;
  for (const auto& name : names) {
    if (fd < 0 || mkdirat(fd, name.c_str(), 0755) != 0) break;
    const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
    ++made;
  }
  if (fd >= 0) {
    if (!file_at_bottom.empty()) {
      const int f = openat(fd, file_at_bottom.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      if (f >= 0) close(f);
    }
    close(fd);
  }
  return made;
}

HardBox::HardBox(const Settings& settings)
    : dir_(LayOut(sandbox_, settings)), runner(dir_, out, err) {
  runner.commands.Add("probe", {[this](const sim::Words& a) -> std::optional<std::string> {
                                  if (a.size() != 1 || !probes_.count(a[0])) return "no such probe";
                                  return std::nullopt;
                                },
                                [this](const sim::Words& a) { probes_[a[0]](); }});
}

HardBox::~HardBox() {
  // Trees beyond the path limit defeat a removal by path names.
  RemoveTree(sandbox_.path() + "/box");
}

std::vector<nlohmann::json> HardBox::MessageBoxes() {
  std::vector<nlohmann::json> v;
  for (const auto& line : runner.world.events.Take()) {
    auto e = nlohmann::json::parse(line);
    if (e["event"] == "msgbox") v.push_back(std::move(e));
  }
  return v;
}

bool HardBox::Select(const std::string& entry) {
  const int n = form().lstFileEntries.ListCount();
  for (int i = 0; i <= n && state().gsSelectedEntry != entry; ++i) form().KeyPress('N');
  return n > 0 && state().gsSelectedEntry == entry;
}

bool HardBox::PanelShowsPicture() {
  for (int y = 0; y < lcd::kLcdHeight; ++y) {
    for (int x = 0; x < lcd::kLcdWidth; ++x) {
      if (runner.world.port.panel.Pixel(x, y) != lcd::IsSetPixel(runner.form.picLcd.Point(x, y))) return false;
    }
  }
  return true;
}

bool HardBox::BrowserOnPanel() {
  if (!PanelShowsPicture() || state().glScreenMode != app::kScreenBrowser) return false;
  // The MP3 symbol is pasted without its first row and column, its corner at (101, 51); a
  // long status line may write over its rows from 58 on.
  const lcd::Picture& symbol = form().frmPictures.picMp3;
  for (int r = 1; r < symbol.Height() && 51 + r < 58; ++r) {
    for (int c = 1; c < symbol.Width(); ++c) {
      if (runner.world.port.panel.Pixel(101 + c, 51 + r) != lcd::IsSetPixel(symbol.Point(c, r))) return false;
    }
  }
  return true;
}

std::vector<std::string> HardBox::SandboxChanges() const {
  const TreePhoto after = PhotographTree(sandbox_.path());
  std::vector<std::string> changes;
  const auto allowed = [](const std::string& rel) { return rel == "box" || rel == "box/Lorvan.ini"; };
  for (const auto& [rel, what] : after) {
    if (allowed(rel)) continue;
    const auto it = before_.find(rel);
    if (it == before_.end()) {
      changes.push_back("new: " + rel);
    } else if (it->second != what) {
      changes.push_back("changed: " + rel);
    }
  }
  for (const auto& [rel, what] : before_) {
    if (!allowed(rel) && !after.count(rel)) changes.push_back("gone: " + rel);
  }
  return changes;
}

}  // namespace lorvan::testing
