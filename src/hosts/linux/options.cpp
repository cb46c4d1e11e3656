#include "hosts/linux/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "hosts/linux/web/access.h"

namespace lorvan::linuxhost {

namespace {

// What the parser fills besides Options: values checked after parsing.
struct Raw {
  std::string port_io;
  std::string panel, panel_bus, panel_address, panel_gpio, panel_pins, panel_clock;
};

const CLI::Validator kNotEmpty(
    [](std::string& value) { return value.empty() ? std::string("needs a value") : std::string(); }, "", "not empty");

std::unique_ptr<CLI::App> MakeParser(Options& o, Raw& raw) {
  auto app = std::make_unique<CLI::App>(
      "The music box's control program: PROGRAM_DIR holds Lorvan.ini, the help file, Fonts/.\n"
      "  lorvan --setup PROGRAM_DIR [--music=FOLDER] [--cd=FOLDER] lays out a program folder.",
      "lorvan");
  app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app->allow_extras();
  app->set_help_flag("-h,--help", "this text");
  app->add_option("PROGRAM_DIR", o.program_dir, "the program folder");
  app->add_flag("--headless", o.headless, "no terminal window (a service); message boxes go to standard error");
  app->add_option("--port", o.ppdev, "the LCD through ppdev (/dev/parport0)")->check(kNotEmpty);
  app->add_option("--port-io", raw.port_io,
                  "the LCD through raw port I/O as root (default 0x378); the preview shows the panel either "
                  "way; without a port (or when it cannot be opened) it is the only one")
      ->option_text("[=ADDRESS]");
  app->add_option("--input", o.inputs, "a remote's input device (evdev) or auto, may be repeated")
      ->check(kNotEmpty)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
      ->allow_extra_args(false);  // one device an --input; the program folder stays one
  app->add_flag("--grab", o.grab, "keys of the input devices reach only this program");
  app->add_option("--keymap", o.keymap_file, "lines \"KEY_NAME C\": a key code's name and its character")
      ->check(kNotEmpty);
  app->add_option("--cdrom", o.cdrom, "the optical drive (default /dev/cdrom, else /dev/sr0)")->check(kNotEmpty);
  app->add_option("--power", o.power,
                  "really suspend and switch off (systemd), or only log it (default: systemd with --headless, "
                  "log in a terminal)")
      ->check(CLI::IsMember({"systemd", "log"}));
  app->add_option("--preview", o.preview, "how the terminal shows the LCD")
      ->check(CLI::IsMember({"auto", "braille", "halfblock", "ascii"}));
  app->add_option("--socket", o.socket,
                  "the player's IPC socket (default: the one the settings' player line names, else one per user "
                  "and folder)")
      ->check(kNotEmpty);
  app->add_option("--log", o.log_file, "diagnostics to FILE (headless: standard error)")->check(kNotEmpty);
  app->add_option("--web", o.web,
                  "serve the web page (the live panel and the remote's keys) at ADDRESS:PORT, e.g. "
                  "127.0.0.1:8480 or 0.0.0.0:8480 (every network); port 0 picks a free one; the log names "
                  "the page's address")
      ->check(CLI::Validator(
          [](std::string& value) {
            try {
              web::ParseListenAddress(value);
              return std::string();
            } catch (const std::exception& e) {
              return std::string(e.what());
            }
          },
          "ADDRESS:PORT", "listen address"));
  app->add_option("--web-token-file", o.web_token_file, "the page asks for ?token=T, T being FILE's first line")
      ->check(kNotEmpty);
  app->add_flag("--full-frames", o.full_frames, "send the whole frame on every refresh, not only what changed");
  app->add_flag("--print-socket", o.print_socket, "print the player's socket path for PROGRAM_DIR and end");
  app->add_flag("--setup", o.setup,
                "lay out PROGRAM_DIR from the installed data: fonts, bitmaps, help file and a settings file with "
                "mpv as the player; a folder that has a settings file is left as it is");
  app->add_option("--music", o.setup_music, "with --setup: the music folder (default: PROGRAM_DIR/Music)")
      ->check(kNotEmpty);
  app->add_option("--cd", o.setup_cd, "with --setup: the CD drive's root (default: the optical drive)")
      ->check(kNotEmpty);
  app->add_option("--options", o.options_file,
                  "more options from FILE, one a line (NAME=VALUE or NAME, # comments), before the command line's")
      ->check(kNotEmpty);
  app->add_option("--panel", raw.panel,
                  "ks0108-lpt (the parallel port, default), ks0108-gpio, ssd1306-i2c, sh1106-i2c, ssd1306-spi, "
                  "st7920-spi");
  app->add_option("--panel-bus", raw.panel_bus, "the I2C or SPI device (default /dev/i2c-1, /dev/spidev0.0)");
  app->add_option("--panel-address", raw.panel_address, "the I2C address (default 0x3c)");
  app->add_option("--panel-gpio", raw.panel_gpio, "the GPIO chip of the panel's lines (default gpiochip0)");
  app->add_option("--panel-pins", raw.panel_pins,
                  "its line numbers: ks0108-gpio D0-D7,E,CS1,CS2,DI; ssd1306-spi DC,RES (defaults: docs/panels.md)");
  app->add_option("--panel-clock", raw.panel_clock, "the SPI clock (default 8000000, st7920 200000)");
  return app;
}

// Parses args into o; throws std::invalid_argument naming the bad one.
void Parse(std::vector<std::string> args, Options& o) {
  Raw raw;
  auto app = MakeParser(o, raw);
  // A bare --port-io takes no value, so that a program folder after it stays one.
  for (auto& a : args) {
    if (a == "--port-io") a = "--port-io=0x378";
  }
  std::reverse(args.begin(), args.end());
  try {
    app->parse(args);
  } catch (const CLI::CallForHelp&) {
    o.help = true;
    return;
  } catch (const CLI::ParseError& e) {
    throw std::invalid_argument(e.what());
  }
  for (const std::string& extra : app->remaining()) {
    if (!extra.empty() && extra[0] == '-') throw std::invalid_argument("unknown option " + extra);
    throw std::invalid_argument("one program folder only (" + o.program_dir + ", " + extra + ")");
  }
  if (app->count("--port-io") > 0) {
    size_t used = 0;
    try {
      o.raw_io_base = std::stoi(raw.port_io, &used, 0);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != raw.port_io.size() || o.raw_io_base <= 0 || o.raw_io_base > 0xFFFD) {
      throw std::invalid_argument("--port-io: \"" + raw.port_io + "\" is not a port address");
    }
  }
  const std::pair<const char*, const std::string*> panel[] = {
      {"--panel", &raw.panel},           {"--panel-bus", &raw.panel_bus},   {"--panel-address", &raw.panel_address},
      {"--panel-gpio", &raw.panel_gpio}, {"--panel-pins", &raw.panel_pins}, {"--panel-clock", &raw.panel_clock}};
  for (const auto& [name, value] : panel) {
    if (app->count(name) > 0) ParsePanelOption(name, *value, o.panel);
  }
}

// The options file's lines as command-line arguments; a bad line throws naming file and line.
std::vector<std::string> OptionsFileArgs(const std::string& file) {
  std::ifstream in(file);
  if (!in) throw std::invalid_argument(file + ": cannot read the options file");
  std::vector<std::string> args;
  std::string line;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    line = line.substr(first, line.find_last_not_of(" \t") + 1 - first);
    std::string arg = line.rfind("--", 0) == 0 ? line : "--" + line;
    const size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      // "name = value" as well as "name=value".
      const std::string name = arg.substr(0, arg.find_last_not_of(" \t", eq - 1) + 1);
      const size_t v = arg.find_first_not_of(" \t", eq + 1);
      arg = name + "=" + (v == std::string::npos ? "" : arg.substr(v));
    }
    Options scratch;
    try {
      if (arg.rfind("--options", 0) == 0) throw std::invalid_argument("an options file names no other");
      Parse({arg, "dir"}, scratch);
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument(file + ":" + std::to_string(line_no) + ": " + e.what());
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace

std::string Usage() {
  Options o;
  Raw raw;
  return MakeParser(o, raw)->help();
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  Parse(args, o);
  if (!o.help && !o.options_file.empty()) {
    // The file's options first, so that the command line's win.
    std::vector<std::string> all = OptionsFileArgs(o.options_file);
    all.insert(all.end(), args.begin(), args.end());
    o = Options();
    Parse(all, o);
  }
  if (!o.help && o.program_dir.empty()) throw std::invalid_argument("the program folder is missing");
  if (!o.setup && (!o.setup_music.empty() || !o.setup_cd.empty())) {
    throw std::invalid_argument("--music and --cd go with --setup");
  }
  if (!o.web_token_file.empty() && o.web.empty()) throw std::invalid_argument("--web-token-file goes with --web");
  if (!o.ppdev.empty() && o.raw_io_base != 0) throw std::invalid_argument("--port and --port-io exclude each other");
  if ((!o.ppdev.empty() || o.raw_io_base != 0) && o.panel.kind != "ks0108-lpt") {
    throw std::invalid_argument("--port and --port-io go with --panel=ks0108-lpt");
  }
  if (o.power.empty()) o.power = o.headless ? "systemd" : "log";
  return o;
}

}  // namespace lorvan::linuxhost
