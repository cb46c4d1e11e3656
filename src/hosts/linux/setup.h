#pragma once
// The program folder on Linux: whether it has its settings file, the player's socket its
// settings name, and laying out a new one from the installed data (lorvan --setup).
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

constexpr const char* kSettingsFileName = "Lorvan.ini";

// The value lines of a settings file (the lines without "//"), CR LF or LF ends.
std::vector<std::string> ValueLines(const std::string& text);

// The one message for a program folder without a settings file; nullopt when it has one.
std::optional<std::string> MissingSettingsMessage(const std::string& program_dir);

// The settings' player command line (the second value line), empty when there is none.
std::string SettingsPlayerLine(const std::string& program_dir);

// The player's socket: the command line's --socket, else the one the settings' player line
// names (relative to the program folder, "~/" for the home folder, as mpv reads it), else the
// host's own. `note` says when --socket overrides another socket of the settings.
struct PlayerSocket {
  std::string path;
  std::string note;
};
PlayerSocket ChoosePlayerSocket(const std::string& command_line_socket, const std::string& program_dir);

// Where the installed data is: the fonts, the bitmaps and the help file.
struct InstalledData {
  std::string fonts;     // folder
  std::string bitmaps;   // folder
  std::string help;      // file
};
// The data beside the program (an installed program folder), else the source tree's data
// folder of the build; nullopt when neither has all of it.
std::optional<InstalledData> FindInstalledData(const std::string& program_folder, const std::string& source_data);

struct SetupRequest {
  std::string program_dir;
  std::string music;        // empty: Music/ inside the program folder
  std::string cd;           // empty: the machine's optical drive
};

// Lays out the program folder: Fonts/, Bitmaps/ and the help file from the data (files that
// are there already are kept), the music folder when it is the default one, and last a
// commented settings file with the mpv command line and the folders. A folder that has a
// settings file is left as it is. Reports to out, problems to err; the exit status.
int SetUpProgramFolder(const SetupRequest& request, const InstalledData& data, std::ostream& out, std::ostream& err);

// lorvan --setup: the data beside this program, else in the source tree it was built from.
int RunSetup(const SetupRequest& request, std::ostream& out, std::ostream& err);

// The player's command line for a new settings file: mpv idle without video, to the null
// audio output where the machine has no sound device for this user.
std::string NewPlayerCommandLine();

}  // namespace lorvan::linuxhost
