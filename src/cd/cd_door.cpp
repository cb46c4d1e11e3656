#include "cd/cd_door.h"

namespace lorvan::cd {

void CdDoorOpen(platform::Drives& drives) { drives.mciSendStringA("set cdaudio door open"); }

void CdDoorClose(platform::Drives& drives) { drives.mciSendStringA("set cdaudio door closed"); }

}  // namespace lorvan::cd
