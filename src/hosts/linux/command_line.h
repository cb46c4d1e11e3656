#pragma once
// Command lines of programs the box starts: splitting into words, and what the player's
// command line ("Winamp.exe") stands for on Linux.
#include <optional>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

// Splits a command line into words: blanks separate, "double" and 'single' quotes group,
// a backslash outside single quotes takes the next character as it is. nullopt when a
// quote is not closed.
std::optional<std::vector<std::string>> SplitCommandLine(const std::string& line);

// The player's socket for this user and program folder (one player per box): in the
// runtime folder, else in PrivateFolder().
std::string DefaultSocketPath(const std::string& program_dir);
// /tmp/lorvan-UID, made mode 0700 and checked to be this user's and closed to others; a
// fresh folder when that name is someone else's.
std::string PrivateFolder();

// mpv as the player, idle until told what to play, listening on the socket.
std::string DefaultPlayerCommandLine(const std::string& socket_path);

// True when the line starts the player: its program is Winamp.exe or mpv.
bool IsPlayerCommandLine(const std::string& line);

// The IPC socket an mpv command line names (--input-ipc-server=PATH; the last one, which is
// the one mpv takes), as written; nullopt for another program's line or one that names none.
std::optional<std::string> NamedSocket(const std::string& line);

// The word quoted so that SplitCommandLine reads it back unchanged.
std::string QuoteWord(const std::string& word);

// The command line to run for `line`: the player's own name ("Winamp.exe") stands for the
// settings' player command line (or the default one when that is the player's name too);
// an mpv line listens on socket_path: added where the line names no socket, put in place of
// the one it names where that is another (the command line's --socket overrides the settings).
std::string ResolveCommandLine(const std::string& line, const std::string& settings_player_line,
                               const std::string& socket_path);

}  // namespace lorvan::linuxhost
