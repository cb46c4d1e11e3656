#include "navigation/browser.h"

#include <algorithm>

#include "text/utf8_text.h"

namespace lorvan::navigation {
namespace {

struct WindowPos {
  int top;
  int row;
  bool operator==(const WindowPos&) const = default;
};

// Where the ordinary cursor walk shows entry (0-based) of a listing of n lines: the first
// two and the last two entries on their own rows, every other one on the middle row.
WindowPos WalkPosition(int entry, int n) {
  if (n <= kWindowLines || entry < 2) return {0, entry};
  if (entry >= n - 2) return {n - kWindowLines, entry - (n - kWindowLines)};
  return {entry - 2, 2};
}

// A window restored from a bookmark or a parent's stack may no longer fit the listing (the
// folder changed meanwhile, or the settings file was edited). Such a window is moved to
// where the cursor walk shows the same entry, or the nearest one that still exists.
void FitWindowToListing(BrowserState& s, int n) {
  if (n <= 0) return;
  const int entry = std::clamp(s.giListTop + s.giListRow, 0, n - 1);
  const WindowPos want = WalkPosition(entry, n);
  if (WindowPos{s.giListTop, s.giListRow} == want) return;
  s.giListTop = static_cast<int16_t>(want.top);
  s.giListRow = static_cast<int16_t>(want.row);
}

void MoveDown(BrowserState& s, int n) {
  const int sel = s.giSelectedEntryNr;
  int16_t& top = s.giListTop;
  int16_t& row = s.giListRow;
  if (sel == n) {
    top = 0;
    row = 0;
  } else if (n < kWindowLines && row < n - 1) {
    ++row;
  } else if (n < kWindowLines && row == n - 1) {
    // The last line of a short list: stays.
  } else if (row < 2) {
    ++row;
  } else if (row == 2 && top + 4 < n - 1) {
    ++top;  // the window scrolls, the cursor stays on the middle line
  } else if (row == 2 && top + 4 == n - 1) {
    ++row;
  } else if (row == 3 && top + 4 == n - 1) {
    ++row;
  }
}

void MoveUp(BrowserState& s, int n) {
  const int sel = s.giSelectedEntryNr;
  int16_t& top = s.giListTop;
  int16_t& row = s.giListRow;
  if (sel == 1) {
    if (n >= kWindowLines) {
      top = static_cast<int16_t>(n - kWindowLines);
      row = 4;
    } else {
      row = static_cast<int16_t>(n - 1);
    }
  } else if (row > 2) {
    --row;
  } else if (row == 2 && top > 0) {
    --top;
  } else if (row == 2 && top == 0) {
    row = 1;
  } else if (row == 1 && top == 0) {
    row = 0;
  }
}

}  // namespace

std::string ListedName(const std::string& name) {
  std::string upper = name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.find(".CDA") == std::string::npos) return name;
  return text::Utf8DropLast(name, 4);
}

bool CanEnterFolder(const BrowserState& s) { return s.giFolderDepth < kStackDepths; }

void ListFolder(Browser& b, const std::string& path, FolderMove folder_move, Speak speak) {
  auto& s = b.state;
  if (folder_move == kFolderInto && !CanEnterFolder(s)) return;
  s.gsFolderTitle = s.glMediaSource == kSourceMp3 ? BuildFolderTitle(b, path) : std::string();
  b.lstFileEntries.Clear();
  std::vector<std::string> names = b.files.ListFolder(path);
  b.lstFileEntries.lines.reserve(names.size());
  for (auto& name : names) {
    if (name == kFolderAnnouncement) continue;
    if (b.lstFileEntries.ListCount() == kMaxEntries) break;
    b.lstFileEntries.AddItem(ListedName(name));
  }
  UpdateListWindow(b, kCursorNone, folder_move, speak);
}

void UpdateListWindow(Browser& b, CursorMove cursor_move, FolderMove folder_move, Speak speak) {
  auto& s = b.state;
  if (s.glMediaSource == kSourceNoCd) return;
  if (folder_move == kFolderInto && !CanEnterFolder(s)) return;

  if (cursor_move == kCursorNone && folder_move == kFolderNone) {
    s.giListTop = 0;
    s.giListRow = 0;
  }
  if (folder_move == kFolderInto) {
    if (s.giFolderDepth < 0) s.giFolderDepth = 0;
    s.giDepthListTop[s.giFolderDepth] = s.giListTop;
    s.giDepthListRow[s.giFolderDepth] = s.giListRow;
    ++s.giFolderDepth;
    s.giListTop = 0;
    s.giListRow = 0;
  } else if (folder_move == kFolderBack) {
    if (s.giFolderDepth <= 0) {
      // Nothing was saved for a level above the first one: start at the top.
      s.giFolderDepth = 0;
      s.giListTop = 0;
      s.giListRow = 0;
    } else {
      s.giFolderDepth = static_cast<int16_t>(std::min<int>(s.giFolderDepth, kStackDepths) - 1);
      s.giListTop = s.giDepthListTop[s.giFolderDepth];
      s.giListRow = s.giDepthListRow[s.giFolderDepth];
    }
  }

  const int n = b.lstFileEntries.ListCount();
  FitWindowToListing(s, n);
  // In an empty folder the number of the last highlighted entry is stale: cursor moves
  // change nothing there.
  if (n > 0 && cursor_move == kCursorDown) MoveDown(s, n);
  if (n > 0 && cursor_move == kCursorUp) MoveUp(s, n);

  b.lstFilePreview.Clear();
  for (int k = 0; k < kWindowLines && k < n && s.giListTop + k < n; ++k) {
    b.lstFilePreview.AddItem(kLineIndent + b.lstFileEntries.lines[s.giListTop + k]);
  }
  if (n > 0 && s.giListRow >= 0 && s.giListRow < b.lstFilePreview.ListCount()) {
    b.lstFilePreview.list_index = s.giListRow;
    s.giCursorRow = s.giListRow;
    // The highlighted entry is the listing's line itself, blanks and all, so its number is
    // its position and its path matches the file.
    const int index = s.giListTop + s.giListRow;
    s.gsSelectedEntry = b.lstFileEntries.lines[index];
    s.giSelectedEntryNr = static_cast<int16_t>(index + 1);
    if (speak == kSpeak) SpeakFolderName(b, s.gsAudioDir + s.gsSelectedEntry);
  }
}

void SpeakFolderName(Browser& b, const std::string& folder) {
  if (b.state.glMediaSource != kSourceMp3) return;
  const std::string talk = folder + b.Sep() + kFolderAnnouncement;
  const auto attr = b.files.GetAttr(talk);
  if (!attr || (*attr & platform::kAttrDirectory)) return;
  auto& player = b.player;
  player.ClearPlaylist();
  player.AddToPlaylistNew(talk);
  player.PlaySong();
}

int16_t IsFolder(platform::FileSystem& files, const std::string& path) {
  const auto attr = files.GetAttr(path);
  if (!attr) return -1;
  return (*attr & platform::kAttrDirectory) ? 1 : 0;
}

std::string BuildFolderTitle(const Browser& b, const std::string& path) {
  const std::string& root = b.state.gsMp3RootDir;
  const std::string below = path.size() > root.size() ? path.substr(root.size()) : std::string();
  std::string s;
  for (char c : below) {
    if (c == b.Sep()) {
      s += " - ";
    } else {
      s += c;
    }
  }
  if (s.find(" - ") != std::string::npos) s.resize(s.size() - 3);
  return kLineIndent + s;
}

std::string SelectedEntryPath(Browser& b) {
  const auto& s = b.state;
  if (s.glMediaSource != kSourceMp3) return s.gsAudioDir + s.gsSelectedEntry + ".cda";
  const std::string path = s.gsAudioDir + s.gsSelectedEntry;
  if (b.files.GetAttr(path)) return path;
  // The listing shortened a name that holds ".cda": open the entry it came from.
  for (const auto& name : b.files.ListFolder(s.gsAudioDir)) {
    if (name != kFolderAnnouncement && name != s.gsSelectedEntry && ListedName(name) == s.gsSelectedEntry) {
      return s.gsAudioDir + name;
    }
  }
  return path;
}

}  // namespace lorvan::navigation
