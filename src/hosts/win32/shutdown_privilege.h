#pragma once
// The shutdown privilege, which ExitWindowsEx needs for shutting down or restarting.
namespace lorvan::win32 {

// Enables the privilege in this process's token; false when it cannot be enabled.
bool EnableShutdownPrivilege();

}  // namespace lorvan::win32
