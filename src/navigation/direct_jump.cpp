#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::cmdJump_Click(int16_t) {}
void frmMain::tmrDirectJumpTime_Timer() {}

}  // namespace lorvan::app
