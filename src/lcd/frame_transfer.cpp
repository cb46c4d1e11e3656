// Frame transfer: the off-screen picture packed into display-data bytes, page by page.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "lcd/glcd.h"

namespace lorvan::lcd {

uint8_t PackColumn(const Picture& picture, int32_t x, int32_t firstRow) {
  uint8_t b = 0;
  for (int r = 0; r < 8; ++r) {
    if (IsSetPixel(picture.Point(x, firstRow + r))) b |= static_cast<uint8_t>(1u << r);
  }
  return b;
}

namespace {

// The 128 bytes of one page. Inside the picture the rows are read directly, which lets the
// compiler pack a whole row of columns at once; elsewhere pixel reads fail and count as set.
std::array<uint8_t, kLcdWidth> PackPage(const Picture& picture, int32_t firstRow) {
  std::array<uint8_t, kLcdWidth> bytes{};
  if (picture.Width() < kLcdWidth || firstRow < 0 || firstRow + 8 > picture.Height()) {
    for (int x = 0; x < kLcdWidth; ++x) bytes[x] = PackColumn(picture, x, firstRow);
    return bytes;
  }
  for (int r = 0; r < 8; ++r) {
    const Colour* row = picture.Row(firstRow + r);
    const auto bit = static_cast<uint8_t>(1u << r);
    for (int x = 0; x < kLcdWidth; ++x) bytes[x] |= IsSetPixel(row[x]) ? bit : 0;
  }
  return bytes;
}

}  // namespace

int32_t PauseIterations(int32_t delay_loops) {
  if (delay_loops < 0) return 0;
  return std::min<int32_t>(delay_loops, 32767) + 1;
}

void gLCD::LcdTransferPage(const Picture& picture, int32_t firstRow) {
  const std::array<uint8_t, kLcdWidth> bytes = PackPage(picture, firstRow);
  for (int x = 0; x < kLcdWidth; ++x) LcdWriteByte(bytes[x], false, x < 64 ? kControlLeft : kControlRight);
}

namespace {

// The empty counting loop after a page, whose only effect is the time it takes; the volatile
// counter keeps the compiler from removing it.
void PagePause(int32_t iterations) {
  volatile int32_t i = 0;
  while (i < iterations) i = i + 1;
}

// Equal bytes between two changed ones that are resent rather than skipped: skipping them
// costs a column address, one instruction of three port writes, as much as one data byte.
constexpr int kMergeGap = 1;

}  // namespace

void gLCD::SendRun(const std::array<uint8_t, kLcdWidth>& page, int first, int last) {
  const int32_t control = first < 64 ? kControlLeft : kControlRight;
  LcdWriteByte(kSetColumn0 + first % 64, true, control);
  for (int x = first; x <= last; ++x) LcdWriteByte(page[x], false, control);
}

void gLCD::LcdTransferPicture(const Picture& picture, int32_t delay_loops) {
  const int32_t pause = PauseIterations(delay_loops);
  Frame frame;
  for (int p = 0; p < 8; ++p) frame[p] = PackPage(picture, 8 * p);

  const int64_t now = platform_.clock.MonotonicMs();
  const bool whole = whole_frames || !panel_known_ || now - last_whole_ms_ >= kWholeFrameEveryMs;
  // Until this transfer ends, the panel holds something between the old and the new frame; a
  // port write that throws, or a transfer started from within this one, leaves it unknown.
  panel_known_ = false;
  const uint64_t serial = ++transfers_;

  for (int p = 0; p < 8; ++p) {
    const std::array<uint8_t, kLcdWidth>& bytes = frame[p];
    std::array<uint8_t, kLcdWidth>& held = panel_[p];
    bool page_sent = false;
    if (whole) {
      LcdWriteByte(kSetPage0 + p, true, kControlBoth);
      LcdWriteByte(kSetColumn0, true, kControlBoth);
      for (int x = 0; x < kLcdWidth; ++x) LcdWriteByte(bytes[x], false, x < 64 ? kControlLeft : kControlRight);
      page_sent = true;
    } else {
      // Runs of changed columns within one half, each from its own column address.
      for (int half = 0; half < 2; ++half) {
        const int end = 64 * (half + 1);
        for (int x = 64 * half; x < end;) {
          if (bytes[x] == held[x]) {
            ++x;
            continue;
          }
          int last = x;
          for (int y = x + 1; y < end && y - last <= kMergeGap + 1; ++y) {
            if (bytes[y] != held[y]) last = y;
          }
          if (!page_sent) LcdWriteByte(kSetPage0 + p, true, kControlBoth);
          page_sent = true;
          SendRun(bytes, x, last);
          x = last + 1;
        }
      }
    }
    held = bytes;
    if (page_sent) PagePause(pause);
  }

  if (whole) last_whole_ms_ = now;
  if (transfers_ == serial) panel_known_ = true;
}

std::string FormatTxTime(double milliseconds) {
  if (!std::isfinite(milliseconds)) milliseconds = 0;
  // Thousandths, halves away from zero; the tiny factor lets decimal halves that the binary
  // value holds just below .5 round as they read.
  const long long thousandths = std::llround(milliseconds * 1000.0 * (1.0 + 8 * DBL_EPSILON));
  const long long whole = std::llabs(thousandths) / 1000;
  long long frac = std::llabs(thousandths) % 1000;
  std::string s = thousandths < 0 ? "-" : "";
  if (whole != 0) s += std::to_string(whole);
  s += '.';
  if (frac != 0) {
    std::string digits = std::to_string(frac);
    digits.insert(0, 3 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    s += digits;
  }
  return s + "ms";
}

int32_t ScaleValue(int32_t range, int32_t maximum, int32_t value) {
  if (maximum == 0) return 0;
  // The product is taken in 64 bits, so large values cannot overflow it.
  const double scaled = static_cast<double>(static_cast<int64_t>(range) * value) / maximum;
  const double r = std::nearbyint(scaled);  // the default rounding mode rounds halves to even
  return static_cast<int32_t>(std::clamp(r, -2147483648.0, 2147483647.0));
}

}  // namespace lorvan::lcd
