#include "text/vb_number.h"

#include <cmath>
#include <cstdio>

namespace lorvan::text {

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  double value = 0;
  double scale = 0;  // 0 before the decimal point, then 0.1, 0.01, ...
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        value += (c - '0') * scale;
        scale /= 10;
      }
    } else if (c == '.' && scale == 0) {
      scale = 0.1;
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

double RoundHalfEven(double v) { return std::nearbyint(v); }  // default rounding mode is to even

std::optional<int16_t> ToInteger(double v) {
  const double r = RoundHalfEven(v);
  if (!(r >= -32768.0 && r <= 32767.0)) return std::nullopt;
  return static_cast<int16_t>(r);
}

std::optional<int32_t> ToLong(double v) {
  const double r = RoundHalfEven(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::string Format00(long long v) {
  char buf[32];
  if (v < 0) {
    std::snprintf(buf, sizeof buf, "-%02lld", -v);
  } else {
    std::snprintf(buf, sizeof buf, "%02lld", v);
  }
  return buf;
}

}  // namespace lorvan::text
