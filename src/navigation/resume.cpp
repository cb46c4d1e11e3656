#include "navigation/resume.h"

#include "app/frm_main.h"

namespace lorvan::navigation {

void HandleResumeData(app::frmMain&, int32_t) {}

}  // namespace lorvan::navigation

namespace lorvan::app {

void frmMain::cmdStoreLastMp3_Click() {}
void frmMain::cmdResumeLastMp3_Click() {}

}  // namespace lorvan::app
