#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::tmrRefresh_Timer() { UpdateLcd(); }

}  // namespace lorvan::app
