#pragma once
// The positional settings file: read into the shared state, or rewritten from it.
#include <cstdint>
#include <string>

#include "app/shared_state.h"
#include "platform/file_system.h"

namespace lorvan::app {

constexpr const char* kIniFileName = "Lorvan.ini";
constexpr int kIniValueLines = 56;

// Modes of ReadWriteIniFile.
enum IniMode : int32_t { kIniWrite = 0, kIniRead = 1 };

// Mode 1 reads the file into the state (throws StartupError naming the file and line);
// mode 0 rewrites it from the state: every comment line first, then the 56 value lines, the
// old file kept intact when anything fails (throws platform::FileError, also for a value that
// holds a line break and so cannot be written as one line); other modes do nothing.
void ReadWriteIniFile(SharedState& s, platform::FileSystem& files, const std::string& path, int32_t mode);

}  // namespace lorvan::app
