#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::UpdateLcd() {}
void frmMain::chkShowEq_Click() {}
void frmMain::cmdShowHelp_Click() {}
void frmMain::chkInverted_Click() {}
void frmMain::cmdLcdInit_Click() {}

}  // namespace lorvan::app
