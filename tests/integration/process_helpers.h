#pragma once
// Running the lorvan program and its player from the integration tests.
#include <sys/types.h>

#include <functional>
#include <string>

namespace lorvan::testing {

// The standard output of a shell command (with "2>&1" in it, its errors too).
std::string Shell(const std::string& command);

// Waits until cond holds, checking every 50 ms; false when it still does not after timeout_ms.
bool Eventually(const std::function<bool()>& cond, int timeout_ms = 10000);

// The process id of the mpv on a socket, 0 when none answers there.
pid_t PlayerPid(const std::string& socket);

// Ends the mpv of a test's socket (if one is still there), by its process id.
void KillPlayer(const std::string& socket);

}  // namespace lorvan::testing
