#include "posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "posix/ntfs_name_order.h"

namespace lorvan::posix {
namespace {

std::string Errno() { return std::strerror(errno); }

std::string BaseName(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const size_t slash = p.rfind('/');
  return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

std::string PosixFileSystem::Resolve(const std::string& path) const {
  if (path.empty() || path[0] == '/' || !base_dir_) return path;
  std::string base = base_dir_();
  if (base.empty()) return path;
  if (base.back() != '/') base += '/';
  return base + path;
}

std::vector<std::string> PosixFileSystem::ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  const std::string dir = Resolve(folder.empty() ? "." : folder);
  if (folder_fault_injection && !folder_fault_injection(dir)) return names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    // Names starting with a point are the hidden entries of a POSIX system.
    if (e->d_name[0] == '.') continue;
    names.emplace_back(e->d_name);
  }
  closedir(d);
  // The box's own disks are NTFS, whose folders list by name; this file system's order
  // (a hash on ext4) would shuffle albums and make entry numbers meaningless.
  SortInNtfsOrder(names);
  return names;
}

std::optional<uint32_t> PosixFileSystem::GetAttr(const std::string& path) {
  struct stat st {};
  if (::stat(Resolve(path).c_str(), &st) != 0) return std::nullopt;
  uint32_t attr = 0;
  if (S_ISDIR(st.st_mode)) attr |= platform::kAttrDirectory;
  const std::string name = BaseName(path);
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") attr |= platform::kAttrHidden;
  if (access(Resolve(path).c_str(), W_OK) != 0) attr |= platform::kAttrReadOnly;
  return attr;
}

std::optional<platform::FileStamp> PosixFileSystem::Stat(const std::string& path) {
  struct stat st {};
  if (::stat(Resolve(path).c_str(), &st) != 0) return std::nullopt;
  platform::FileStamp s;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = static_cast<uint64_t>(st.st_size);
  s.modified_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

std::string PosixFileSystem::ReadFile(const std::string& path) {
  const std::string real = Resolve(path);
  // Opened without waiting: a named pipe that took the file's name would otherwise hold the
  // program until something writes into it. Only a plain file is read.
  const int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw platform::FileError(path + ": cannot open: " + Errno());
  struct stat st {};
  if (fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw platform::FileError(path + (S_ISDIR(st.st_mode) ? ": is a folder, not a file" : ": is not a plain file"));
  }
  std::string data;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const std::string why = Errno();
      ::close(fd);
      throw platform::FileError(path + ": cannot read: " + why);
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

void PosixFileSystem::ReplaceFile(const std::string& path, const std::string& content) {
  const std::string real = Resolve(path);
  const std::string temp = real + ".new";
  auto step_ok = [this](const char* step) { return !fault_injection || fault_injection(step); };
  auto fail = [&](const std::string& what, int fd) {
    const std::string why = errno != 0 ? Errno() : "injected fault";
    if (fd >= 0) ::close(fd);
    ::unlink(temp.c_str());
    throw platform::FileError(path + ": cannot " + what + ": " + why);
  };
  // A temporary file left by a rewrite that never got to its rename is removed, and the new
  // one is made afresh: never written through a link that took its name, which could point
  // anywhere outside the program folder.
  ::unlink(temp.c_str());
  errno = 0;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0 || !step_ok("open")) fail("create " + temp, fd);
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("write", fd);
    done += static_cast<size_t>(n);
  }
  errno = 0;
  if (!step_ok("write")) fail("write", fd);
  if (::fsync(fd) != 0 || !step_ok("sync")) fail("flush", fd);
  if (::close(fd) != 0) fail("close", -1);
  errno = 0;
  if (!step_ok("rename") || ::rename(temp.c_str(), real.c_str()) != 0) fail("replace", -1);
  SyncFolderOf(real);
}

void PosixFileSystem::SyncFolderOf(const std::string& real) {
  // The rename is on the disk only once the folder is: a power cut before that may bring
  // back the old name. The new file is in place already, so a failure here is not reported.
  const size_t slash = real.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : real.substr(0, slash);
  if (fault_injection && !fault_injection("folder sync")) return;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void PosixFileSystem::RemoveFile(const std::string& path) {
  const std::string real = Resolve(path);
  errno = 0;
  if (fault_injection && !fault_injection("remove")) throw platform::FileError(path + ": cannot remove it: injected fault");
  if (::unlink(real.c_str()) != 0 && errno != ENOENT) {
    throw platform::FileError(path + ": cannot remove it: " + Errno());
  }
  SyncFolderOf(real);
}

void PosixFileSystem::RenameFile(const std::string& from, const std::string& to) {
  const std::string real_from = Resolve(from), real_to = Resolve(to);
  errno = 0;
  if (fault_injection && !fault_injection("rename")) {
    throw platform::FileError(from + ": cannot rename it to " + to + ": injected fault");
  }
  if (::rename(real_from.c_str(), real_to.c_str()) != 0) {
    throw platform::FileError(from + ": cannot rename it to " + to + ": " + Errno());
  }
  SyncFolderOf(real_to);
}

}  // namespace lorvan::posix
