#pragma once
// The drives of the simulated machine: a hard disk "/", the CD drive in one of four states,
// the current directory and MCI strings.
#include <cstdint>
#include <functional>
#include <string>

#include "hosts/sim/sim_events.h"
#include "platform/drives.h"

namespace lorvan::sim {

// absent: not among the drives; other: a drive of another type; empty: no readable disc
// (entering its root fails with the path/file access error); ready: a readable disc.
enum class CdState { kAbsent, kOther, kEmpty, kReady };

// Drive types as the system reports them.
constexpr uint32_t kDriveNoRootDir = 1;
constexpr uint32_t kDriveFixed = 3;

class SimDrives : public platform::Drives {
 public:
  SimDrives(SimEvents& events, std::string program_dir) : events_(events), cwd_(std::move(program_dir)) {}

  std::string GetLogicalDriveStringsA(uint32_t max_length) override;
  uint32_t GetDriveTypeA(const std::string& root) override;
  std::string CurDir() override { return cwd_; }
  // Relative paths are resolved against the current directory.
  int ChDir(const std::string& path) override;
  int32_t mciSendStringA(const std::string& command) override;

  // The CD drive's root: what cd_root_source answers (the runner hands it the settings
  // value), else cd_root. A ready drive's root is a real folder, e.g. "CD/" in the program
  // folder.
  std::string CdRoot() const { return cd_root_source ? cd_root_source() : cd_root; }
  std::function<std::string()> cd_root_source;
  std::string cd_root;
  CdState cd_state = CdState::kEmpty;

 private:
  SimEvents& events_;
  std::string cwd_;
};

}  // namespace lorvan::sim
