#include "lcd/glcd.h"

namespace lorvan::lcd {

void gLCD::LcdSetPortBase(int32_t base) { glLcdPortBase = base; }
void gLCD::LcdSetInverted(int32_t value) { gbLcdInverted = value != 0; }
void gLCD::LcdWriteByte(int32_t, bool, int32_t) {}
void gLCD::LcdSendInitCommands() {}
void gLCD::LcdInit() { LcdSetPortBase(888); }
void gLCD::LcdTransferPicture(const Picture&, int32_t) {}
void gLCD::LcdTransferPage(const Picture&, int32_t) {}

}  // namespace lorvan::lcd
