#include "hosts/sim/sim_drives.h"

#include <sys/stat.h>

namespace lorvan::sim {
namespace {

constexpr const char* kHardDiskRoot = "/";

}  // namespace

std::string SimDrives::GetLogicalDriveStringsA(uint32_t max_length) {
  std::string list = std::string(kHardDiskRoot) + '\0';
  const std::string cd = CdRoot();
  if (cd_state != CdState::kAbsent && !cd.empty()) list += cd + '\0';
  if (list.size() > max_length) list.resize(max_length);
  return list;
}

uint32_t SimDrives::GetDriveTypeA(const std::string& root) {
  const std::string cd = CdRoot();
  if (!cd.empty() && root == cd && cd_state != CdState::kAbsent) {
    return cd_state == CdState::kOther ? kDriveFixed : platform::kDriveCdRom;
  }
  return root == kHardDiskRoot ? kDriveFixed : kDriveNoRootDir;
}

int SimDrives::ChDir(const std::string& path) {
  const std::string cd = CdRoot();
  if (!cd.empty() && path == cd) {
    // Only a ready disc can be entered; a drive of another type behaves like a disk.
    if (cd_state == CdState::kEmpty) return platform::kErrPathFileAccess;
    if (cd_state == CdState::kAbsent) return platform::kErrPathNotFound;
  }
  if (path.empty()) return platform::kErrPathNotFound;
  std::string target = path;
  if (target[0] != '/') target = cwd_ + "/" + target;
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return platform::kErrPathNotFound;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  cwd_ = target;
  return 0;
}

int32_t SimDrives::mciSendStringA(const std::string& command) {
  events_.Add(Json{{"event", "mci"}, {"command", command}});
  return 0;
}

}  // namespace lorvan::sim
