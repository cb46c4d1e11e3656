#pragma once
// The folder browser: listing, the five-line window, folder announcements.
#include <cstdint>
#include <string>

namespace lorvan::app {
class frmMain;
}

namespace lorvan::navigation {

void ListFolder(app::frmMain& f, const std::string& path, int32_t folder_move, int32_t speak);
void UpdateListWindow(app::frmMain& f, int32_t cursor_move, int32_t folder_move, int32_t speak);
void SpeakFolderName(app::frmMain& f, const std::string& folder);
int16_t IsFolder(app::frmMain& f, const std::string& path);
std::string BuildFolderTitle(app::frmMain& f, const std::string& path);

}  // namespace lorvan::navigation
