#pragma once
// Character-wise handling of names: file names are UTF-8 on Linux, so scrolling and length
// tests count characters (code points). A byte that does not start a well-formed sequence
// counts as one character of its own, so any byte string is handled without loss.
#include <cstddef>
#include <string>
#include <string_view>

namespace lorvan::text {

// Bytes taken by the character that starts at s[pos] (pos < s.size()).
size_t Utf8CharBytes(std::string_view s, size_t pos);

// Number of characters in s.
size_t Utf8Length(std::string_view s);

// s from its second character on, followed by its first character.
std::string Utf8RotateLeft(std::string_view s);

// s without its last n characters (empty when it has n or fewer).
std::string Utf8DropLast(std::string_view s, size_t n);

// The n-th character from the end (1 = the last one); empty when s is shorter.
std::string_view Utf8CharFromEnd(std::string_view s, size_t n);

}  // namespace lorvan::text
