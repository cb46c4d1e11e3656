#pragma once
// The command line of the lorvan program.
#include <optional>
#include <string>
#include <vector>

#include "hosts/linux/panel_options.h"

namespace lorvan::linuxhost {

struct Options {
  std::string program_dir;
  bool headless = false;
  std::string ppdev;            // --port=/dev/parportN
  int raw_io_base = 0;          // --port-io[=ADDRESS], 0 when not used
  bool full_frames = false;     // --full-frames: every refresh sends the whole frame
  std::vector<std::string> inputs;  // --input=DEVICE or auto
  bool grab = false;
  std::string keymap_file;
  std::string cdrom;
  std::string power;            // "systemd" or "log"; empty: systemd when headless
  std::string preview = "auto";
  std::string socket;
  std::string log_file;
  bool print_socket = false;
  bool setup = false;           // --setup: lay out PROGRAM_DIR and end
  std::string setup_music;      // --music=FOLDER of --setup
  std::string setup_cd;         // --cd=FOLDER of --setup
  std::string web;              // --web=ADDRESS:PORT: the web page's listening address
  std::string web_token_file;   // --web-token-file=FILE: the token every request carries
  bool help = false;
  std::string options_file;     // --options=FILE: more options, one a line
  PanelOptions panel;           // --panel=KIND and its bus, address, lines and clock
};

// The --help text, made from the options' definitions.
std::string Usage();

// The options of argv (without argv[0]) and of the options file it names; throws
// std::invalid_argument naming the bad one (and the file and line for the file's).
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace lorvan::linuxhost
