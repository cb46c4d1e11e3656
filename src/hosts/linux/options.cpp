#include "hosts/linux/options.h"

#include <stdexcept>

namespace lorvan::linuxhost {

const char* const kUsage =
    "usage: lorvan [OPTIONS] PROGRAM_DIR\n"
    "       lorvan --setup PROGRAM_DIR [--music=FOLDER] [--cd=FOLDER]\n"
    "The music box's control program: PROGRAM_DIR holds Lorvan.ini, the help file, Fonts/.\n"
    "  --headless             no terminal window (a service); message boxes go to standard error\n"
    "  --port=DEVICE          the LCD through ppdev (/dev/parport0)\n"
    "  --port-io[=ADDRESS]    the LCD through raw port I/O as root (default 0x378)\n"
    "                         the preview shows the panel either way; without a port (or\n"
    "                         when it cannot be opened) it is the only one\n"
    "  --full-frames          send the whole frame on every refresh, not only what changed\n"
    "  --input=DEVICE|auto    a remote's input device (evdev), may be repeated\n"
    "  --grab                 keys of the input devices reach only this program\n"
    "  --keymap=FILE          lines \"KEY_NAME C\": a key code's name and its character\n"
    "  --cdrom=DEVICE         the optical drive (default /dev/cdrom, else /dev/sr0)\n"
    "  --power=systemd|log    really suspend and switch off, or only log it\n"
    "                         (default: systemd with --headless, log in a terminal)\n"
    "  --preview=auto|braille|halfblock|ascii   how the terminal shows the LCD\n"
    "  --socket=PATH          the player's IPC socket (default: the one the settings' player\n"
    "                         line names, else one per user and folder)\n"
    "  --log=FILE             diagnostics to FILE (headless: standard error)\n"
    "  --print-socket         print the player's socket path for PROGRAM_DIR and end\n"
    "  --setup                lay out PROGRAM_DIR from the installed data: fonts, bitmaps,\n"
    "                         help file and a settings file with mpv as the player; a\n"
    "                         folder that has a settings file is left as it is\n"
    "  --music=FOLDER         with --setup: the music folder (default: PROGRAM_DIR/Music)\n"
    "  --cd=FOLDER            with --setup: the CD drive's root (default: the optical drive)\n";

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  for (const std::string& a : args) {
    const size_t eq = a.find('=');
    const std::string name = a.substr(0, eq);
    const bool has_value = eq != std::string::npos;
    const std::string value = has_value ? a.substr(eq + 1) : "";
    auto need = [&]() -> const std::string& {
      if (!has_value || value.empty()) throw std::invalid_argument(name + " needs a value (" + name + "=...)");
      return value;
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (name == "--port") {
      o.ppdev = need();
    } else if (name == "--port-io") {
      o.raw_io_base = 0x378;
      if (has_value) {
        size_t used = 0;
        try {
          o.raw_io_base = std::stoi(value, &used, 0);
        } catch (const std::exception&) {
          used = 0;
        }
        if (used != value.size() || o.raw_io_base <= 0 || o.raw_io_base > 0xFFFD) {
          throw std::invalid_argument("--port-io: \"" + value + "\" is not a port address");
        }
      }
    } else if (name == "--input") {
      o.inputs.push_back(need());
    } else if (a == "--full-frames") {
      o.full_frames = true;
    } else if (a == "--grab") {
      o.grab = true;
    } else if (name == "--keymap") {
      o.keymap_file = need();
    } else if (name == "--cdrom") {
      o.cdrom = need();
    } else if (name == "--power") {
      o.power = need();
      if (o.power != "systemd" && o.power != "log") throw std::invalid_argument("--power is systemd or log");
    } else if (name == "--preview") {
      o.preview = need();
      if (o.preview != "auto" && o.preview != "braille" && o.preview != "halfblock" && o.preview != "ascii") {
        throw std::invalid_argument("--preview is auto, braille, halfblock or ascii");
      }
    } else if (name == "--socket") {
      o.socket = need();
    } else if (name == "--log") {
      o.log_file = need();
    } else if (a == "--print-socket") {
      o.print_socket = true;
    } else if (a == "--setup") {
      o.setup = true;
    } else if (name == "--music") {
      o.setup_music = need();
    } else if (name == "--cd") {
      o.setup_cd = need();
    } else if (!a.empty() && a[0] == '-') {
      throw std::invalid_argument("unknown option " + a);
    } else if (o.program_dir.empty()) {
      o.program_dir = a;
    } else {
      throw std::invalid_argument("one program folder only (" + o.program_dir + ", " + a + ")");
    }
  }
  if (!o.help && o.program_dir.empty()) throw std::invalid_argument("the program folder is missing");
  if (!o.setup && (!o.setup_music.empty() || !o.setup_cd.empty())) {
    throw std::invalid_argument("--music and --cd go with --setup");
  }
  if (!o.ppdev.empty() && o.raw_io_base != 0) throw std::invalid_argument("--port and --port-io exclude each other");
  if (o.power.empty()) o.power = o.headless ? "systemd" : "log";
  return o;
}

}  // namespace lorvan::linuxhost
