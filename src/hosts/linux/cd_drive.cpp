#include "hosts/linux/cd_drive.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>

namespace lorvan::linuxhost {
namespace {

class Fd {
 public:
  explicit Fd(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string ParentAndName(const std::string& path, std::string& name) {
  const std::string p = WithoutTrailingSlash(path);
  const size_t slash = p.rfind('/');
  if (slash == std::string::npos) {
    name = p;
    return "";
  }
  name = p.substr(slash + 1);
  return slash == 0 ? "/" : p.substr(0, slash);
}

}  // namespace

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string TrackFileName(int number) {
  char buf[32];
  std::snprintf(buf, sizeof(buf), "Track%02d.cda", number);
  return buf;
}

int TrackNumberOf(const std::string& file_name) {
  const std::string lower = Lower(file_name);
  if (lower.size() < 10 || lower.rfind("track", 0) != 0 || lower.substr(lower.size() - 4) != ".cda") return 0;
  const std::string digits = lower.substr(5, lower.size() - 9);
  if (digits.empty() || digits.size() > 2 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return 0;
  return std::stoi(digits);
}

// ---- The device ----

bool LinuxCdDevice::Present() {
  struct stat st {};
  return ::stat(path().c_str(), &st) == 0;
}

bool LinuxCdDevice::IsCdRom() {
  if (path() != cached_path_) {
    cached_path_ = path();
    cdrom_ = -1;
    toc_read_ms_ = -1000000;
  }
  if (cdrom_ < 0) {
    Fd fd(path());
    if (fd.get() < 0) return false;
    cdrom_ = ioctl(fd.get(), CDROM_GET_CAPABILITY, 0) >= 0 ? 1 : 0;
  }
  return cdrom_ == 1;
}

std::optional<std::vector<CdTrack>> LinuxCdDevice::ReadToc() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const int64_t now = int64_t{ts.tv_sec} * 1000 + ts.tv_nsec / 1000000;
  if (path() != cached_path_) {
    cached_path_ = path();
    cdrom_ = -1;
  } else if (now - toc_read_ms_ < 250) {
    return toc_;
  }
  toc_read_ms_ = now;
  toc_ = ReadTocNow();
  return toc_;
}

std::optional<std::vector<CdTrack>> LinuxCdDevice::ReadTocNow() {
  Fd fd(path());
  if (fd.get() < 0) return std::nullopt;
  if (ioctl(fd.get(), CDROM_DRIVE_STATUS, CDSL_CURRENT) != CDS_DISC_OK) return std::nullopt;
  cdrom_tochdr hdr{};
  if (ioctl(fd.get(), CDROMREADTOCHDR, &hdr) != 0) return std::nullopt;
  std::vector<CdTrack> tracks;
  int64_t prev_start = -1;
  int prev_number = 0;
  bool prev_audio = false;
  for (int n = hdr.cdth_trk0; n <= hdr.cdth_trk1 + 1; ++n) {
    cdrom_tocentry e{};
    e.cdte_track = static_cast<uint8_t>(n > hdr.cdth_trk1 ? CDROM_LEADOUT : n);
    e.cdte_format = CDROM_LBA;
    if (ioctl(fd.get(), CDROMREADTOCENTRY, &e) != 0) return std::nullopt;
    const int64_t start = e.cdte_addr.lba;
    if (prev_start >= 0 && prev_audio) tracks.push_back({prev_number, prev_start, start - prev_start});
    prev_start = start;
    prev_number = n;
    prev_audio = (e.cdte_ctrl & CDROM_DATA_TRACK) == 0;
  }
  return tracks;
}

bool LinuxCdDevice::Eject() {
  toc_read_ms_ = -1000000;
  Fd fd(path());
  return fd.get() >= 0 && ioctl(fd.get(), CDROMEJECT, 0) == 0;
}

bool LinuxCdDevice::CloseTray() {
  toc_read_ms_ = -1000000;
  Fd fd(path());
  return fd.get() >= 0 && ioctl(fd.get(), CDROMCLOSETRAY, 0) == 0;
}

// ---- The CD root as a folder ----

bool CdFileSystem::IsRoot(const std::string& path) const {
  const std::string root = cd_root_ ? WithoutTrailingSlash(cd_root_()) : "";
  return !root.empty() && WithoutTrailingSlash(path) == root;
}

std::optional<std::vector<CdTrack>> CdFileSystem::Toc() {
  auto toc = cd_.ReadToc();
  if (toc && toc->empty()) return std::nullopt;  // a data disc: its mounted files show instead
  return toc;
}

std::optional<CdTrack> CdFileSystem::TrackOf(const std::string& path) {
  std::string name;
  const std::string parent = ParentAndName(path, name);
  if (!IsRoot(parent)) return std::nullopt;
  const int number = TrackNumberOf(name);
  if (number == 0) return std::nullopt;
  const auto toc = Toc();
  if (!toc) return std::nullopt;
  for (const auto& t : *toc) {
    if (t.number == number) return t;
  }
  return std::nullopt;
}

std::vector<std::string> CdFileSystem::ListFolder(const std::string& folder) {
  if (IsRoot(folder)) {
    if (const auto toc = Toc()) {
      std::vector<std::string> names;
      for (const auto& t : *toc) names.push_back(TrackFileName(t.number));
      return names;
    }
  }
  return inner_.ListFolder(folder);
}

std::optional<uint32_t> CdFileSystem::GetAttr(const std::string& path) {
  if (IsRoot(path) && Toc()) return platform::kAttrDirectory | platform::kAttrReadOnly;
  if (TrackOf(path)) return platform::kAttrReadOnly;
  return inner_.GetAttr(path);
}

std::optional<platform::FileStamp> CdFileSystem::Stat(const std::string& path) {
  if (const auto t = TrackOf(path)) {
    return platform::FileStamp{0, static_cast<uint64_t>(t->number), static_cast<uint64_t>(t->length_frames) * 2352, 0};
  }
  return inner_.Stat(path);
}

std::optional<MediaSource> CdFileSystem::TrackSource(const std::string& path) {
  const auto t = TrackOf(path);
  if (!t) return std::nullopt;
  const double start = t->start_frame / 75.0;
  const double length = t->length_frames / 75.0;
  char options[96];
  std::snprintf(options, sizeof(options), "start=%.3f,end=%.3f", start, start + length);
  return MediaSource{"cdda://" + cd_.path(), options, start, length};
}

// ---- Drives ----

std::string LinuxDrives::GetLogicalDriveStringsA(uint32_t max_length) {
  std::string list = std::string("/") + '\0';
  const std::string root = cd_root_ ? cd_root_() : "";
  if (!root.empty() && root != "/" && cd_.Present()) list += root + '\0';
  if (list.size() > max_length) list.resize(max_length);
  return list;
}

uint32_t LinuxDrives::GetDriveTypeA(const std::string& root) {
  const std::string cd = cd_root_ ? WithoutTrailingSlash(cd_root_()) : "";
  if (!cd.empty() && WithoutTrailingSlash(root) == cd) {
    if (!cd_.Present()) return 1;
    return cd_.IsCdRom() ? platform::kDriveCdRom : 3;
  }
  struct stat st {};
  return ::stat(root.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 3 : 1;
}

std::string LinuxDrives::CurDir() {
  if (!virtual_cwd_.empty()) return virtual_cwd_;
  char buf[PATH_MAX];
  return getcwd(buf, sizeof(buf)) ? std::string(buf) : std::string("/");
}

int LinuxDrives::ChDir(const std::string& path) {
  const std::string cd = cd_root_ ? WithoutTrailingSlash(cd_root_()) : "";
  if (!cd.empty() && WithoutTrailingSlash(path) == cd) {
    // Entering the CD root is the test for a readable disc.
    const auto toc = cd_.ReadToc();
    if (!toc) return platform::kErrPathFileAccess;
    struct stat st {};
    if (toc->empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      if (::chdir(path.c_str()) != 0) return platform::kErrPathFileAccess;
      virtual_cwd_.clear();
      return 0;
    }
    virtual_cwd_ = cd;
    return 0;
  }
  if (::chdir(path.c_str()) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? platform::kErrPathNotFound : platform::kErrPathFileAccess;
  }
  virtual_cwd_.clear();
  return 0;
}

int32_t LinuxDrives::mciSendStringA(const std::string& command) {
  const std::string c = Lower(command);
  if (c == "set cdaudio door open") return cd_.Eject() ? 0 : 1;
  if (c == "set cdaudio door closed") return cd_.CloseTray() ? 0 : 1;
  return 1;
}

}  // namespace lorvan::linuxhost
