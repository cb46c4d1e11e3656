#pragma once
// Everything the core sees of the world, one reference per group.
#include "platform/app_info.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/event_host.h"
#include "platform/file_system.h"
#include "platform/port_io.h"
#include "platform/power.h"
#include "platform/processes.h"
#include "platform/window_messages.h"

namespace lorvan::platform {

struct Platform {
  WindowMessages& messages;
  Processes& processes;
  PortIo& port;
  Clock& clock;
  Power& power;
  Drives& drives;
  FileSystem& files;
  Dialogs& dialogs;
  AppInfo& app;
  EventHost& events;
};

}  // namespace lorvan::platform
