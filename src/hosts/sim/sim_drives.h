#pragma once
// The drives of the simulated machine: a hard disk, the CD drive in one of four states, the
// current directory and MCI strings.
#include <cstdint>
#include <string>

#include "hosts/sim/sim_events.h"
#include "platform/drives.h"

namespace lorvan::sim {

enum class CdState { kAbsent, kOther, kEmpty, kReady };

class SimDrives : public platform::Drives {
 public:
  SimDrives(SimEvents& events, std::string program_dir) : events_(events), cwd_(std::move(program_dir)) {}

  std::string GetLogicalDriveStringsA(uint32_t max_length) override;
  uint32_t GetDriveTypeA(const std::string& root) override;
  std::string CurDir() override { return cwd_; }
  int ChDir(const std::string& path) override;
  int32_t mciSendStringA(const std::string& command) override;

  // The CD drive's root folder (from the settings) and its state.
  std::string cd_root;
  CdState cd_state = CdState::kEmpty;

 private:
  SimEvents& events_;
  std::string cwd_;
};

}  // namespace lorvan::sim
