#pragma once
// The key notation of the run-time's SendKeys ("%{F4}", "^c", "+(ab)", "{ENTER 2}") turned into
// a sequence of key presses and releases. Portable: virtual-key codes are plain numbers.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lorvan::win32 {

// Windows virtual-key codes used by the notation.
enum VirtualKey : uint8_t {
  kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12,
  kVkPause = 0x13, kVkCapital = 0x14, kVkEscape = 0x1B, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23,
  kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26, kVkRight = 0x27, kVkDown = 0x28, kVkSnapshot = 0x2C,
  kVkInsert = 0x2D, kVkDelete = 0x2E, kVkHelp = 0x2F, kVkF1 = 0x70, kVkNumLock = 0x90, kVkScroll = 0x91,
};

// One step of the sequence: a virtual key pressed or released, or a character that the host
// turns into keys of its keyboard layout (with Shift where the layout needs it).
struct KeyStep {
  enum Kind { kKeyDown, kKeyUp, kCharacter } kind;
  uint8_t vk = 0;   // kKeyDown, kKeyUp
  char ch = 0;      // kCharacter
  bool operator==(const KeyStep&) const = default;
};

class KeyNotationError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Parses the notation: "+" Shift, "^" Ctrl, "%" Alt for the next key or the group in
// parentheses, "~" Enter, "{NAME}" or "{NAME n}" a named key (n times), "{+}" and the like the
// character itself, any other character typed as it is. Throws KeyNotationError.
std::vector<KeyStep> ParseSendKeys(const std::string& keys);

}  // namespace lorvan::win32
