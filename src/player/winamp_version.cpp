#include "player/winamp_version.h"

#include <array>
#include <utility>

namespace lorvan::player {
namespace {

// Numbers whose text does not follow the hexadecimal rule.
constexpr std::array<std::pair<int32_t, const char*>, 8> kKnownVersions{{
    {0x1551, "1.55"},
    {0x16A0, "1.6b"},
    {0x16AF, "1.60"},
    {0x16B0, "1.61"},
    {0x16B1, "1.62"},
    {0x16B3, "1.64"},
    {0x16B4, "1.666"},
    {0x16B5, "1.69"},
}};

// Upper-case hexadecimal without leading zeros; a negative number gives its 32-bit
// two's-complement form.
std::string Hex(int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  uint32_t v = static_cast<uint32_t>(value);
  std::string out;
  do {
    out.insert(out.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return out;
}

}  // namespace

std::string WinampVersionText(int32_t answer) {
  for (const auto& [number, text] : kKnownVersions) {
    if (number == answer) return text;
  }
  const std::string h = Hex(answer);
  std::string out(1, h[0]);
  out += '.';
  if (h.size() > 1) out += h[1];
  if (h.size() > 3) out += h.substr(3);
  return out;
}

}  // namespace lorvan::player
