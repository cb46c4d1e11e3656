#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::cmdPlay_Click() {}
void frmMain::cmdPause_Click() {}
void frmMain::cmdStop_Click() {}
void frmMain::cmdPrev_Click() {}
void frmMain::cmdNext_Click() {}
void frmMain::cmdFastBackward_Click() {}
void frmMain::cmdFastForward_Click() {}
void frmMain::OpenSelectedEntry(int32_t) {}
void frmMain::SelectNextEntry(int32_t) {}

}  // namespace lorvan::app
