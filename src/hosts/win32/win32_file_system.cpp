#include "hosts/win32/win32_file_system.h"

#include <algorithm>

#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  bool Close() {
    const bool closed = ok() && CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

[[noreturn]] void Fail(const std::string& path, const std::string& what, DWORD error) {
  throw platform::FileError(path + ": cannot " + what + ": " + ErrorText(error));
}

}  // namespace

std::vector<std::string> Win32FileSystem::ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::string pattern = folder.empty() ? std::string(".") : folder;
  if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA(pattern.c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    names.push_back(name);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return names;
}

std::optional<uint32_t> Win32FileSystem::GetAttr(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
}

std::optional<platform::FileStamp> Win32FileSystem::Stat(const std::string& path) {
  Handle h(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.ok()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
  platform::FileStamp s;
  s.device = info.dwVolumeSerialNumber;
  s.inode = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  s.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  // 100-ns steps since 1601; only equality matters.
  s.modified_ns =
      static_cast<int64_t>((uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime) * 100;
  return s;
}

std::string Win32FileSystem::ReadFile(const std::string& path) {
  Handle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h.ok()) {
    const DWORD error = GetLastError();
    const DWORD attr = GetFileAttributesA(path.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) {
      throw platform::FileError(path + ": is a folder, not a file");
    }
    Fail(path, "open", error);
  }
  std::string data;
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h.get(), buf, sizeof buf, &n, nullptr)) Fail(path, "read", GetLastError());
    if (n == 0) break;
    data.append(buf, n);
  }
  return data;
}

void Win32FileSystem::ReplaceFile(const std::string& path, const std::string& content) {
  const std::string temp = path + ".new";
  auto fail = [&](const std::string& what, DWORD error) {
    DeleteFileA(temp.c_str());
    Fail(path, what, error);
  };
  {
    Handle h(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.ok()) Fail(path, "create " + temp, GetLastError());
    size_t done = 0;
    while (done < content.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1 << 20));
      DWORD n = 0;
      if (!WriteFile(h.get(), content.data() + done, chunk, &n, nullptr) || n == 0) {
        const DWORD error = GetLastError();
        h.Close();
        fail("write " + temp, error);
      }
      done += n;
    }
    if (!FlushFileBuffers(h.get())) {
      const DWORD error = GetLastError();
      h.Close();
      fail("flush " + temp, error);
    }
    if (!h.Close()) fail("close " + temp, GetLastError());
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail("replace it", GetLastError());
  }
}

void Win32FileSystem::RemoveFile(const std::string& path) {
  if (!DeleteFileA(path.c_str())) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) Fail(path, "remove it", error);
  }
}

void Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(from, "rename it to " + to, GetLastError());
  }
}

}  // namespace lorvan::win32
