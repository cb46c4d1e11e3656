#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::cmdSourceToggle_Click() {}
void frmMain::cmdCdOpenClose_Click() {}
void frmMain::tmrCdSearchingTimeout_Timer() {}

}  // namespace lorvan::app
