#pragma once
// The player's version number (its answer to request 0) and the text shown for it.
#include <cstdint>
#include <string>

namespace lorvan::player {

// Lowest version numbers the gated operations accept.
constexpr int32_t kVersion160 = 0x16AF;   // 1.60
constexpr int32_t kVersion1666 = 0x16B4;  // 1.666
constexpr int32_t kVersion200 = 0x2000;   // 2.00

// The text of a version number: the known numbers by table, every other one from its
// hexadecimal digits (first digit, ".", second digit, then the fourth digit onwards).
std::string WinampVersionText(int32_t answer);

}  // namespace lorvan::player
