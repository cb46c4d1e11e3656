#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::cmdVolumeUp_Click() {}
void frmMain::cmdVolumeDown_Click() {}
void frmMain::chkEqOn_Click() {}
void frmMain::cmdEqDefault_Click() {}

}  // namespace lorvan::app
