#pragma once
// The file system of a POSIX host. Relative paths are taken from a base folder of the host's
// choosing (the process's current folder, or the simulated one). Folders list in the order
// an NTFS volume gives (ntfs_name_order.h).
#include <functional>
#include <string>

#include "platform/file_system.h"

namespace lorvan::posix {

class PosixFileSystem : public platform::FileSystem {
 public:
  // base_dir() gives the folder relative paths start from; empty means the process's own.
  explicit PosixFileSystem(std::function<std::string()> base_dir = {}) : base_dir_(std::move(base_dir)) {}

  char PathSeparator() const override { return '/'; }
  std::vector<std::string> ListFolder(const std::string& folder) override;
  std::optional<uint32_t> GetAttr(const std::string& path) override;
  std::optional<platform::FileStamp> Stat(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;
  void ReplaceFile(const std::string& path, const std::string& content) override;
  void RemoveFile(const std::string& path) override;
  void RenameFile(const std::string& from, const std::string& to) override;

  // The path as the operating system is to see it.
  std::string Resolve(const std::string& path) const;

  // Test hook: called after each step of ReplaceFile ("open", "write", "sync", "rename",
  // "folder sync"), before RemoveFile ("remove") and RenameFile ("rename");
  // returning false makes that step fail as a full disk or a crash would.
  std::function<bool(const std::string& step)> fault_injection;
  // Test hook: called with the folder (as the operating system is to see it) before
  // ListFolder opens it; returning false makes the folder unreadable, as one without read
  // permission is to anyone but root.
  std::function<bool(const std::string& folder)> folder_fault_injection;

 private:
  // Flushes the folder that holds the file, so that a rename or removal survives a power cut.
  void SyncFolderOf(const std::string& real);
  std::function<std::string()> base_dir_;
};

}  // namespace lorvan::posix
