#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::cmdExit_Click() {}
void frmMain::cmdExitDevEnv_Click() {}
void frmMain::tmrShutdown_Timer() {}
void frmMain::ChangeSystemState(int32_t) {}
void frmMain::goStandbyAndWakeUp_SetStandbyMode() {}
void frmMain::goStandbyAndWakeUp_WakeUpDetected(int32_t) {}

}  // namespace lorvan::app
