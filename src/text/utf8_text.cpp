#include "text/utf8_text.h"

#include <vector>

namespace lorvan::text {
namespace {

bool InRange(unsigned char b, unsigned char lo, unsigned char hi) { return b >= lo && b <= hi; }

// Start offsets of every character of s.
std::vector<size_t> CharStarts(std::string_view s) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); i += Utf8CharBytes(s, i)) starts.push_back(i);
  return starts;
}

}  // namespace

size_t Utf8CharBytes(std::string_view s, size_t pos) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) return 1;
  size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (InRange(b0, 0xC2, 0xDF)) {
    len = 2;
  } else if (InRange(b0, 0xE0, 0xEF)) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (InRange(b0, 0xF0, 0xF4)) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  if (pos + len > s.size()) return 1;
  if (!InRange(static_cast<unsigned char>(s[pos + 1]), lo, hi)) return 1;
  for (size_t k = 2; k < len; ++k) {
    if (!InRange(static_cast<unsigned char>(s[pos + k]), 0x80, 0xBF)) return 1;
  }
  return len;
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); i += Utf8CharBytes(s, i)) ++n;
  return n;
}

std::string Utf8RotateLeft(std::string_view s) {
  if (s.empty()) return {};
  const size_t first = Utf8CharBytes(s, 0);
  std::string out(s.substr(first));
  out.append(s.substr(0, first));
  return out;
}

std::string Utf8DropLast(std::string_view s, size_t n) {
  const auto starts = CharStarts(s);
  if (n >= starts.size()) return {};
  return std::string(s.substr(0, starts[starts.size() - n]));
}

std::string_view Utf8CharFromEnd(std::string_view s, size_t n) {
  const auto starts = CharStarts(s);
  if (n == 0 || n > starts.size()) return {};
  const size_t begin = starts[starts.size() - n];
  const size_t end = n == 1 ? s.size() : starts[starts.size() - n + 1];
  return s.substr(begin, end - begin);
}

}  // namespace lorvan::text
