#include "navigation/browser.h"

#include "app/frm_main.h"

namespace lorvan::navigation {

void ListFolder(app::frmMain&, const std::string&, int32_t, int32_t) {}
void UpdateListWindow(app::frmMain&, int32_t, int32_t, int32_t) {}
void SpeakFolderName(app::frmMain&, const std::string&) {}
int16_t IsFolder(app::frmMain&, const std::string&) { return -1; }
std::string BuildFolderTitle(app::frmMain&, const std::string&) { return {}; }

}  // namespace lorvan::navigation
