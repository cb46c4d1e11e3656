#pragma once
// The folder browser: listing, the five-line window, folder announcements.
#include <cstdint>
#include <string>

#include "navigation/browser_state.h"
#include "navigation/list_box.h"
#include "platform/file_system.h"
#include "player/winamp_control.h"

namespace lorvan::navigation {

// Cursor moves, folder moves and the speak flag of UpdateListWindow and ListFolder.
enum CursorMove : int32_t { kCursorNone = 0, kCursorUp = 1, kCursorDown = 2 };
enum FolderMove : int32_t { kFolderNone = 0, kFolderBack = 1, kFolderInto = 2, kFolderKeep = 3 };
enum Speak : int32_t { kSilent = 0, kSpeak = -1 };

// What the browser works on: the state it reads and writes, the two lists it fills, the
// folders it lists and the player that speaks a folder's announcement.
struct Browser {
  BrowserState& state;
  ListBox& lstFileEntries;
  ListBox& lstFilePreview;
  platform::FileSystem& files;
  player::clsWinampControl& player;

  char Sep() const { return files.PathSeparator(); }
};

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
void ListFolder(Browser& b, const std::string& path, FolderMove folder_move, Speak speak);
// Moves the cursor and the window, rebuilds the five visible lines and the highlighted entry.
void UpdateListWindow(Browser& b, CursorMove cursor_move, FolderMove folder_move, Speak speak);
// Plays the folder's announcement (folder path without trailing separator) if it has one.
void SpeakFolderName(Browser& b, const std::string& folder);
// 1 folder, 0 file, -1 the path cannot be examined.
int16_t IsFolder(platform::FileSystem& files, const std::string& path);
// Five blanks and the folder's path below the MP3 root, folder names joined by " - ".
std::string BuildFolderTitle(const Browser& b, const std::string& path);

// The listing line of a folder entry: names holding ".cda" (any case) lose their last four
// characters, so CD tracks show without extension.
std::string ListedName(const std::string& name);
// The path of the highlighted entry as the file system knows it: the CD root, the track and
// ".cda" for a CD; for the MP3 tree the entry's real name, also where the listing shortened it.
std::string SelectedEntryPath(Browser& b);
// Whether the stacks have room for one more folder level.
bool CanEnterFolder(const BrowserState& s);

}  // namespace lorvan::navigation
