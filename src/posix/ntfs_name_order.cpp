#include "posix/ntfs_name_order.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

namespace lorvan::posix {
namespace {

// Runs of lower-case letters and what is added to reach their capitals: every code in
// first..last, or with step 2 every second one from first on. These are the values of the
// upper-case table that NTFS writes to every volume, for the letters of European scripts;
// anything not listed (ß, µ, the dotless i, polytonic Greek, ...) is its own capital there too.
struct CaseRun {
  char16_t first, last;
  int16_t add;
  uint8_t step;
};
constexpr CaseRun kCaseRuns[] = {
    {0x00E0, 0x00F6, -32, 1},   {0x00F8, 0x00FE, -32, 1},   // Latin-1 (not the division sign)
    {0x00FF, 0x00FF, 0x79, 1},                               // ÿ to Ÿ
    {0x0101, 0x012F, -1, 2},    {0x0133, 0x0137, -1, 2},    // Latin Extended-A: pairs
    {0x013A, 0x0148, -1, 2},    {0x014B, 0x0177, -1, 2},    {0x017A, 0x017E, -1, 2},
    {0x01C6, 0x01C6, -2, 1},    {0x01C9, 0x01C9, -2, 1},    {0x01CC, 0x01CC, -2, 1},  // dž lj nj
    {0x01CE, 0x01DC, -1, 2},    {0x01DD, 0x01DD, -79, 1},   {0x01DF, 0x01EF, -1, 2},
    {0x01F3, 0x01F3, -2, 1},    {0x01F5, 0x01F5, -1, 1},    {0x01F9, 0x021F, -1, 2},  // ș ț
    {0x0223, 0x0233, -1, 2},
    {0x03AC, 0x03AC, -38, 1},   {0x03AD, 0x03AF, -37, 1},   // Greek, with tonos
    {0x03B1, 0x03C1, -32, 1},   {0x03C2, 0x03C2, -31, 1},   // final sigma to Σ
    {0x03C3, 0x03CB, -32, 1},   {0x03CC, 0x03CC, -64, 1},   {0x03CD, 0x03CE, -63, 1},
    {0x0430, 0x044F, -32, 1},   {0x0450, 0x045F, -80, 1},   // Cyrillic
    {0x0461, 0x0481, -1, 2},    {0x048B, 0x04BF, -1, 2},    {0x04C2, 0x04CE, -1, 2},
    {0x04CF, 0x04CF, -15, 1},   {0x04D1, 0x0513, -1, 2},
    {0x1E01, 0x1E95, -1, 2},    {0x1EA1, 0x1EF9, -1, 2},    // Latin Extended Additional
    {0xFF41, 0xFF5A, -32, 1},                                // fullwidth Latin
};

// Upcase stops at the first run beyond the code, so the runs must be in order.
constexpr bool RunsInOrder() {
  for (size_t i = 1; i < std::size(kCaseRuns); ++i) {
    if (kCaseRuns[i].first <= kCaseRuns[i - 1].last) return false;
  }
  return true;
}
static_assert(RunsInOrder());

char16_t Upcase(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  for (const CaseRun& r : kCaseRuns) {
    if (c < r.first) break;
    if (c <= r.last && (c - r.first) % r.step == 0) return static_cast<char16_t>(c + r.add);
  }
  return c;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The code point of the well-formed UTF-8 sequence at s[pos] and its length, or length 0 when
// none starts there (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, cut
// short).
std::pair<char32_t, size_t> DecodeUtf8(std::string_view s, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[pos + i]); };
  const unsigned char b0 = byte(0);
  if (b0 < 0x80) return {b0, 1};
  size_t len;
  char32_t cp;
  unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return {0, 0};
  }
  if (s.size() - pos < len || byte(1) < lo || byte(1) > hi) return {0, 0};
  for (size_t i = 1; i < len; ++i) {
    if (!IsContinuation(byte(i))) return {0, 0};
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  return {cp, len};
}

// Appends the name's collation key to keys.
void AppendCollationKey(std::string_view name, std::string& keys) {
  // At most two bytes of key from every byte of name: a stray byte gives two, a sequence of
  // two to four bytes at most as many as it has.
  const size_t start = keys.size();
  keys.resize(start + 2 * name.size());
  char* out = keys.data() + start;
  const auto unit = [&out](char32_t u) {
    if (u < 0x80) {
      *out++ = static_cast<char>(u);
    } else if (u < 0x800) {
      *out++ = static_cast<char>(0xC0 | (u >> 6));
      *out++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
      *out++ = static_cast<char>(0xE0 | (u >> 12));
      *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (u & 0x3F));
    }
  };
  for (size_t pos = 0; pos < name.size();) {
    const unsigned char b = static_cast<unsigned char>(name[pos]);
    if (b < 0x80) {  // the common case, kept short
      *out++ = static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b);
      ++pos;
      continue;
    }
    auto [cp, len] = DecodeUtf8(name, pos);
    if (len == 0) {
      cp = static_cast<unsigned char>(name[pos]);
      len = 1;
    }
    pos += len;
    if (cp >= 0x10000) {
      // A surrogate pair, which the table leaves as it is: such characters sort between
      // U+D7FF and U+E000, where their code units fall.
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(Upcase(static_cast<char16_t>(cp)));
    }
  }
  keys.resize(static_cast<size_t>(out - keys.data()));
}

}  // namespace

std::string NtfsCollationKey(std::string_view name) {
  std::string key;
  AppendCollationKey(name, key);
  return key;
}

bool NtfsNameLess(std::string_view a, std::string_view b) {
  const std::string ka = NtfsCollationKey(a), kb = NtfsCollationKey(b);
  if (ka != kb) return ka < kb;
  return a < b;
}

void SortInNtfsOrder(std::vector<std::string>& names) {
  // The keys one after another in one buffer, and positions sorted by them: a large folder
  // is sorted without a second copy of every name.
  std::string keys;
  std::vector<size_t> ends(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    AppendCollationKey(names[i], keys);
    ends[i] = keys.size();
  }
  const auto key = [&](uint32_t i) {
    const size_t start = i == 0 ? 0 : ends[i - 1];
    return std::string_view(keys).substr(start, ends[i] - start);
  };
  std::vector<uint32_t> order(names.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const int c = key(a).compare(key(b));
    return c != 0 ? c < 0 : names[a] < names[b];
  });
  // Entry j takes the name at order[j], moved round each cycle of the permutation.
  for (uint32_t i = 0; i < order.size(); ++i) {
    if (order[i] == i) continue;
    std::string first = std::move(names[i]);
    uint32_t j = i;
    while (order[j] != i) {
      const uint32_t from = order[j];
      names[j] = std::move(names[from]);
      order[j] = j;
      j = from;
    }
    names[j] = std::move(first);
    order[j] = j;
  }
}

}  // namespace lorvan::posix
