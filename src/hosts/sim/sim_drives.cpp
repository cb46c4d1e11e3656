#include "hosts/sim/sim_drives.h"

#include <sys/stat.h>

namespace lorvan::sim {

std::string SimDrives::GetLogicalDriveStringsA(uint32_t max_length) {
  std::string list = std::string("/") + '\0';
  if (cd_state != CdState::kAbsent && !cd_root.empty()) list += cd_root + '\0';
  if (list.size() > max_length) list.resize(max_length);
  return list;
}

uint32_t SimDrives::GetDriveTypeA(const std::string& root) {
  if (!cd_root.empty() && root == cd_root) {
    if (cd_state == CdState::kAbsent) return 1;
    return cd_state == CdState::kOther ? 3 : platform::kDriveCdRom;
  }
  return 3;
}

int SimDrives::ChDir(const std::string& path) {
  if (!cd_root.empty() && path == cd_root && cd_state == CdState::kEmpty) return platform::kErrPathFileAccess;
  std::string target = path;
  if (!target.empty() && target[0] != '/') target = cwd_ + "/" + target;
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return platform::kErrPathNotFound;
  cwd_ = target;
  return 0;
}

int32_t SimDrives::mciSendStringA(const std::string& command) {
  events_.Add(Json{{"event", "mci"}, {"command", command}});
  return 0;
}

}  // namespace lorvan::sim
