#pragma once
// The CD tray, opened and closed by MCI command strings whose result nothing checks.
#include "platform/drives.h"

namespace lorvan::cd {

void CdDoorOpen(platform::Drives& drives);
void CdDoorClose(platform::Drives& drives);

}  // namespace lorvan::cd
