#pragma once
// The LCD module: port driver, frame transfer, fonts and text. The panel's wiring, commands
// and timing are the table in lcd/ks0108.h.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lcd/ks0108.h"
#include "lcd/picture.h"
#include "platform/platform.h"

namespace lorvan::lcd {

class gLCD {
 public:
  explicit gLCD(platform::Platform& platform);

  // Port driver.
  void LcdSetPortBase(int32_t base);
  void LcdSetInverted(int32_t value);
  // Exactly three port writes: data register, then control register without and with the
  // enable bit (the panel latches on the falling edge at the connector).
  void LcdWriteByte(int32_t value, bool isCommand, int32_t control);
  void LcdSendInitCommands();
  void LcdInit();

  // Frame transfer. A whole frame is 8 pages of (page, column 0, 128 data bytes); otherwise
  // only the pages that changed are sent, each as (page, then per run of changed columns of one
  // half: its column address and the data bytes). Every page sent is followed by the pause of
  // delay_loops + 1 counting iterations. A whole frame goes out after LcdInit, after a change
  // of inversion or port, after a transfer that did not finish, when whole_frames is set, and
  // whenever the last one is kWholeFrameEveryMs old, so a disturbed panel heals.
  void LcdTransferPicture(const Picture& picture, int32_t delay_loops);
  void LcdTransferPage(const Picture& picture, int32_t firstRow);
  // Below 2 s by a few refresh ticks, so whole frames are never more than 2 s apart.
  static constexpr int64_t kWholeFrameEveryMs = 1900;

  // Fonts and text. LoadFont writes the glyphs a font file defines into gsFontGlyph; it
  // returns false (keeping what was written before the error) when the file is missing or
  // a line is bad. The file is always read whole and closed.
  bool LoadFont(const std::string& path);
  bool DrawText(Picture& picture, std::string_view text, int32_t x, int32_t y, bool transparent = false,
                bool inverse = false);

  int32_t glLcdPortBase = 0;
  bool gbLcdInverted = false;
  std::array<std::string, 256> gsFontGlyph{};
  // Every transfer sends the whole frame (for a panel that loses what it is sent).
  bool whole_frames = false;

  // Text is UTF-8 on POSIX hosts (file names as the file system holds them) and single-byte
  // ANSI on Windows; drawing decodes it to character codes accordingly.
  bool utf8_text = false;

 private:
  // What loading one font file does to the glyph table, kept per path so that the files
  // read on every frame are parsed once per version.
  struct ParsedFont {
    platform::FileStamp stamp;
    std::array<std::optional<std::string>, 256> glyphs;
    bool ok = false;
  };
  static ParsedFont ParseFont(std::string_view bytes);

  using Frame = std::array<std::array<uint8_t, kLcdWidth>, kLcdHeight / 8>;
  // Sends the columns first..last (one half) of the current page from their column address.
  void SendRun(const std::array<uint8_t, kLcdWidth>& page, int first, int last);

  platform::Platform& platform_;
  // The display-data bytes the panel holds (before inversion), valid while panel_known_.
  Frame panel_{};
  bool panel_known_ = false;
  int64_t last_whole_ms_ = 0;
  uint64_t transfers_ = 0;  // transfers started, to notice one started within another
  std::map<std::string, ParsedFont> font_cache_;
  std::vector<int32_t> codes_;  // scratch: the character codes of the text being drawn
};

// Display-data byte of page column x: bit 0 is the top row firstRow, bit 7 the bottom one.
uint8_t PackColumn(const Picture& picture, int32_t x, int32_t firstRow);

// Iterations of the pause after a page: delay_loops + 1, none when negative, and at most
// the range of the 16-bit loop counter.
int32_t PauseIterations(int32_t delay_loops);

// The binary digits of n (0 or more), at least eight, most significant first.
std::string NumberToBinary(int32_t n);

// value scaled from 0..maximum to 0..range, rounded to the nearest integer, halves to even;
// 0 when maximum is 0.
int32_t ScaleValue(int32_t range, int32_t maximum, int32_t value);

// The transfer-time label: milliseconds as "#.###" followed by "ms" (12.346ms, .5ms, 12.ms).
std::string FormatTxTime(double milliseconds);

// The character codes (0 to 255) of a text: each byte, or with utf8 each code point, where
// one above 255 becomes "?" and a byte that starts no valid sequence stands for itself.
void CharacterCodes(std::string_view text, bool utf8, std::vector<int32_t>& codes);

}  // namespace lorvan::lcd
