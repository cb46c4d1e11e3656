#pragma once
// Folder enumeration, attributes and whole-file text I/O.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lorvan::platform {

// Attribute bits as the file system reports them.
enum FileAttribute : uint32_t {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrDirectory = 16,
};

// Raised when a file cannot be read or written; the message names the file and the cause.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What identifies one version of a file: used to cache parsed files.
struct FileStamp {
  uint64_t device = 0, inode = 0, size = 0;
  int64_t modified_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The host's path separator: '\\' on Windows, '/' elsewhere.
  virtual char PathSeparator() const = 0;
  // Names of the folder's entries in the file system's order, folders and files alike,
  // without hidden and system entries and without "." and ".."; empty when unreadable.
  virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;
  // The path's attribute bits, or nullopt when they cannot be read.
  virtual std::optional<uint32_t> GetAttr(const std::string& path) = 0;
  virtual std::optional<FileStamp> Stat(const std::string& path) = 0;
  // The whole file as bytes; throws FileError, also for a folder or anything else that is
  // no plain file.
  virtual std::string ReadFile(const std::string& path) = 0;
  // Replaces the file with content so that a failure at any point leaves the old file as it
  // was (temporary file in the same folder, flushed, renamed over); throws FileError.
  virtual void ReplaceFile(const std::string& path, const std::string& content) = 0;
  // Removes the file; a file that is not there is no error. Throws FileError.
  virtual void RemoveFile(const std::string& path) = 0;
  // Gives the file a new name in the same folder, replacing a file of that name; throws
  // FileError.
  virtual void RenameFile(const std::string& from, const std::string& to) = 0;
};

}  // namespace lorvan::platform
