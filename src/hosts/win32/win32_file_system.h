#pragma once
// Folder enumeration, attributes and whole-file reading and replacing over the ANSI file API.
#include "platform/file_system.h"

namespace lorvan::win32 {

class Win32FileSystem : public platform::FileSystem {
 public:
  char PathSeparator() const override { return '\\'; }
  std::vector<std::string> ListFolder(const std::string& folder) override;
  std::optional<uint32_t> GetAttr(const std::string& path) override;
  std::optional<platform::FileStamp> Stat(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;
  // A temporary file beside the target, written, flushed to the disk and moved over the target.
  void ReplaceFile(const std::string& path, const std::string& content) override;
  void RemoveFile(const std::string& path) override;
  void RenameFile(const std::string& from, const std::string& to) override;
};

}  // namespace lorvan::win32
