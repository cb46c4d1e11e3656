#pragma once
// An in-memory file system for the fuzz targets: no disk, no state between runs.
#include <map>
#include <string>

#include "platform/file_system.h"

namespace lorvan::fuzz {

class MemoryFileSystem : public platform::FileSystem {
 public:
  char PathSeparator() const override { return '/'; }
  std::vector<std::string> ListFolder(const std::string&) override { return {}; }
  std::optional<uint32_t> GetAttr(const std::string& path) override {
    if (!files.count(path)) return std::nullopt;
    return 0;
  }
  std::optional<platform::FileStamp> Stat(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    platform::FileStamp s;
    s.size = it->second.size();
    return s;
  }
  std::string ReadFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end()) throw platform::FileError(path + ": cannot open: no such file");
    return it->second;
  }
  void ReplaceFile(const std::string& path, const std::string& content) override { files[path] = content; }
  void RemoveFile(const std::string& path) override { files.erase(path); }
  void RenameFile(const std::string& from, const std::string& to) override {
    files[to] = ReadFile(from);
    files.erase(from);
  }

  std::map<std::string, std::string> files;
};

}  // namespace lorvan::fuzz
