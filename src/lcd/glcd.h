#pragma once
// The LCD module: port driver, frame transfer, fonts and text.
#include <array>
#include <cstdint>
#include <string>

#include "lcd/picture.h"
#include "platform/platform.h"

namespace lorvan::lcd {

class gLCD {
 public:
  explicit gLCD(platform::Platform& platform) : platform_(platform) {}

  void LcdSetPortBase(int32_t base);
  void LcdSetInverted(int32_t value);
  void LcdWriteByte(int32_t value, bool isCommand, int32_t control);
  void LcdSendInitCommands();
  void LcdInit();
  void LcdTransferPicture(const Picture& picture, int32_t delay_loops);
  void LcdTransferPage(const Picture& picture, int32_t firstRow);

  int32_t glLcdPortBase = 0;
  bool gbLcdInverted = false;
  std::array<std::string, 256> gsFontGlyph{};

 private:
  platform::Platform& platform_;
};

}  // namespace lorvan::lcd
