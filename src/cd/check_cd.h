#pragma once
// The test for a readable disc: the drive exists, has the expected type and its root can be
// entered.
#include <cstdint>
#include <string>

#include "platform/drives.h"

namespace lorvan::cd {

// Results of CheckCDInserted.
enum : int32_t {
  kCdReadable = 0,      // the drive is there, of the type, and its root can be entered
  kCdNotEnterable = 1,  // entering the root failed (no disc, unreadable disc, ...)
  kCdNoSuchDrive = 2,   // the root is not among the logical drives
  kCdOtherType = 3,     // the drive has another type
};

// The length of the buffer the drive list is read into.
constexpr uint32_t kDriveListLength = 255;

// Leaves the current directory as it found it.
int32_t CheckCDInserted(platform::Drives& drives, const std::string& drive_root, uint32_t drive_type);

}  // namespace lorvan::cd
