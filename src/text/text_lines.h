#pragma once
// Splitting text files into lines (CR LF or LF) and writing them with CR LF.
#include <string>
#include <string_view>
#include <vector>

namespace lorvan::text {

// The lines of a file's bytes; a final line end does not start another line.
std::vector<std::string> SplitLines(std::string_view bytes);
// The lines joined, each ended by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace lorvan::text
