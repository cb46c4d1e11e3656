#pragma once
// Number conversions of the system: leading-number parsing, rounding halves to even, "00".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lorvan::text {

// The leading decimal number of a text: leading blanks skipped, an optional sign, digits
// and one decimal point as far as they go; 0 when the text does not start with a number.
double LeadingNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double v);

// The rounded value when it fits the 16-bit (Integer) or 32-bit (Long) range.
std::optional<int16_t> ToInteger(double v);
std::optional<int32_t> ToLong(double v);

// Format "00": at least two digits, a negative value keeps its sign (-1 gives "-01").
std::string Format00(long long v);

}  // namespace lorvan::text
