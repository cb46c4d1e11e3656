#pragma once
// The help text file: pages of two-column lines for the help screen.
#include <cstdint>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "platform/file_system.h"

namespace lorvan::app {

// Reads the file into gsHelpText and giHelpColumnX and returns the page count (at most 11).
// Pages and lines beyond the storage are ignored and described in warnings. Throws
// StartupError naming the file (and line) when it cannot be read or a number is too large.
int16_t ReadHelpFile(SharedState& s, platform::FileSystem& files, const std::string& path,
                     std::vector<std::string>* warnings = nullptr);

}  // namespace lorvan::app
