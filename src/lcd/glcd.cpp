#include "lcd/glcd.h"

namespace lorvan::lcd {

gLCD::gLCD(platform::Platform& platform)
    : utf8_text(platform.files.PathSeparator() == '/'), platform_(platform) {}

// A new port or inversion makes what the panel holds unknown: the next frame goes out whole.
void gLCD::LcdSetPortBase(int32_t base) {
  if (base != glLcdPortBase) panel_known_ = false;
  glLcdPortBase = base;
}

void gLCD::LcdSetInverted(int32_t value) {
  if ((value != 0) != gbLcdInverted) panel_known_ = false;
  gbLcdInverted = value != 0;
}

void gLCD::LcdWriteByte(int32_t value, bool isCommand, int32_t control) {
  const auto data_port = static_cast<int16_t>(glLcdPortBase + kDataRegister);
  const auto control_port = static_cast<int16_t>(glLcdPortBase + kControlRegister);
  platform::PortIo& port = platform_.port;
  if (isCommand) {
    port.Out32(data_port, static_cast<int16_t>(value));
    port.Out32(control_port, static_cast<int16_t>(control + kInstructionBit));
    port.Out32(control_port, static_cast<int16_t>(control + kInstructionBit + kEnableBit));
  } else {
    port.Out32(data_port, static_cast<int16_t>(gbLcdInverted ? 255 - value : value));
    port.Out32(control_port, static_cast<int16_t>(control));
    port.Out32(control_port, static_cast<int16_t>(control + kEnableBit));
  }
}

void gLCD::LcdSendInitCommands() {
  LcdWriteByte(kDisplayOn, true, kControlBoth);
  LcdWriteByte(kStartLine0, true, kControlBoth);
}

void gLCD::LcdInit() {
  panel_known_ = false;
  LcdSetPortBase(kFirstParallelPort);
  LcdSendInitCommands();
}

}  // namespace lorvan::lcd
