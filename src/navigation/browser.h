#pragma once
// The folder browser: listing, the five-line window, folder announcements.
#include <cstdint>
#include <string>

namespace lorvan::app {
class frmMain;
}

namespace lorvan::navigation {

// Cursor moves, folder moves and the speak flag of UpdateListWindow and ListFolder.
enum : int32_t { kCursorNone = 0, kCursorUp = 1, kCursorDown = 2 };
enum : int32_t { kFolderNone = 0, kFolderBack = 1, kFolderInto = 2, kFolderKeep = 3 };
constexpr int32_t kSpeak = -1;
constexpr int32_t kSilent = 0;

// Visible lines of the browser window, and the blanks in front of each preview line.
constexpr int kWindowLines = 5;
constexpr const char* kLineIndent = "     ";
// Entry numbers and window positions are 16-bit: a listing holds at most this many lines.
constexpr int kMaxEntries = 32767;
// A recording of the folder's name inside the folder; never listed.
constexpr const char* kFolderAnnouncement = "_dirname.talk";

// Lists the folder (a path ending with the separator) into lstFileEntries, then places the
// window with UpdateListWindow. Entering one level more than the stacks hold is refused;
// entries beyond kMaxEntries are left out.
void ListFolder(app::frmMain& f, const std::string& path, int32_t folder_move, int32_t speak);
// Moves the cursor and the window, rebuilds the five visible lines and the highlighted entry.
void UpdateListWindow(app::frmMain& f, int32_t cursor_move, int32_t folder_move, int32_t speak);
// Plays the folder's announcement (folder path without trailing separator) if it has one.
void SpeakFolderName(app::frmMain& f, const std::string& folder);
// 1 folder, 0 file, -1 the path cannot be examined.
int16_t IsFolder(app::frmMain& f, const std::string& path);
// Five blanks and the folder's path below the MP3 root, folder names joined by " - ".
std::string BuildFolderTitle(app::frmMain& f, const std::string& path);

// The listing line of a folder entry: names holding ".cda" (any case) lose their last four
// characters, so CD tracks show without extension.
std::string ListedName(const std::string& name);
// The path of the highlighted entry as the file system knows it: the CD root, the track and
// ".cda" for a CD; for the MP3 tree the entry's real name, also where the listing shortened it.
std::string SelectedEntryPath(app::frmMain& f);
// Whether the stacks have room for one more folder level.
bool CanEnterFolder(const app::frmMain& f);

}  // namespace lorvan::navigation
