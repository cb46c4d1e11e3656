#include "cd/check_cd.h"

#include <algorithm>
#include <cctype>

namespace lorvan::cd {
namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

int32_t TestDrive(platform::Drives& drives, const std::string& drive_root, uint32_t drive_type) {
  if (drive_root.empty()) return kCdNoSuchDrive;  // names no drive at all
  // A plain substring search in the list of drive roots, as the list arrives.
  const std::string list = drives.GetLogicalDriveStringsA(kDriveListLength);
  if (Upper(list).find(Upper(drive_root)) == std::string::npos) return kCdNoSuchDrive;
  if (drives.GetDriveTypeA(drive_root) != drive_type) return kCdOtherType;
  // Entering the root is the test that a disc is in and readable. Every failure counts as
  // not readable, so the search tests again rather than taking a broken drive for a disc.
  return drives.ChDir(drive_root) == 0 ? kCdReadable : kCdNotEnterable;
}

}  // namespace

int32_t CheckCDInserted(platform::Drives& drives, const std::string& drive_root, uint32_t drive_type) {
  const std::string remembered = drives.CurDir();
  const int32_t result = TestDrive(drives, drive_root, drive_type);
  drives.ChDir(remembered);
  return result;
}

}  // namespace lorvan::cd
