// lorvan [OPTIONS] PROGRAM_DIR: the music box on Linux.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/errors.h"
#include "app/frm_main.h"
#include "hosts/linux/cd_drive.h"
#include "hosts/linux/command_line.h"
#include "hosts/linux/evdev_input.h"
#include "hosts/linux/linux_host.h"
#include "hosts/linux/linux_power.h"
#include "hosts/linux/linux_processes.h"
#include "hosts/linux/linux_system.h"
#include "hosts/linux/mpv_player.h"
#include "hosts/linux/options.h"
#include "hosts/linux/panel_setup.h"
#include "hosts/linux/ports.h"
#include "hosts/linux/setup.h"
#include "hosts/linux/web/web_page.h"
#include "posix/posix_file_system.h"

namespace lh = lorvan::linuxhost;

namespace {

// The program was asked to end before its start-up had finished.
struct EndedDuringStartUp {};

std::string DefaultCdrom() {
  struct stat st {};
  return ::stat("/dev/cdrom", &st) == 0 ? "/dev/cdrom" : "/dev/sr0";
}

int Run(const lh::Options& opt) {
  const std::string dir = lh::AbsoluteFolder(opt.program_dir);
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    std::cerr << "lorvan: " << opt.program_dir << ": no such program folder (lorvan --setup " << opt.program_dir
              << " lays one out)\n";
    return 2;
  }
  const lh::PlayerSocket player_socket = lh::ChoosePlayerSocket(opt.socket, dir);
  const std::string& socket = player_socket.path;
  if (opt.print_socket) {
    std::cout << socket << "\n";
    return 0;
  }
  if (const auto missing = lh::MissingSettingsMessage(dir)) {
    std::cerr << "lorvan: " << *missing << "\n";
    return 2;
  }
  // Relative folders of the settings are taken from the program folder.
  if (chdir(dir.c_str()) != 0) {
    std::cerr << "lorvan: cannot enter " << dir << "\n";
    return 2;
  }

  // Diagnostics: standard error when headless, else a file if asked for, else the view's last line.
  std::unique_ptr<std::ofstream> log_file;
  if (!opt.log_file.empty()) log_file = std::make_unique<std::ofstream>(opt.log_file, std::ios::app);
  std::string last_note;
  auto log = [&](const std::string& line) {
    if (log_file) (*log_file << "lorvan: " << line << std::endl);
    else if (opt.headless) std::cerr << "lorvan: " << line << std::endl;
    last_note = line;
  };
  if (!player_socket.note.empty()) log(player_socket.note);

  lh::KeyMap keymap = lh::DefaultKeyMap();
  if (!opt.keymap_file.empty()) {
    std::ifstream in(opt.keymap_file);
    if (!in) {
      std::cerr << "lorvan: " << opt.keymap_file << ": cannot read the key map\n";
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    lh::ApplyKeymapText(keymap, text.str(), opt.keymap_file);
  }
  std::string web_token;
  if (!opt.web_token_file.empty()) {
    try {
      web_token = lh::web::ReadTokenFile(opt.web_token_file);
    } catch (const std::runtime_error& e) {
      std::cerr << "lorvan: " << e.what() << "\n";
      return 2;
    }
  }

  // The port: ppdev or raw I/O with the panel's timing kept, and always the virtual panel
  // beside it, which the preview shows. A port that cannot be opened leaves the virtual one.
  // Another panel (--panel) takes the virtual panel's picture to its own controller.
  std::unique_ptr<lorvan::platform::PortIo> real_port;
  std::string panel_name = "virtual";
  std::string port_note;
  try {
    if (!opt.ppdev.empty()) {
      real_port = std::make_unique<lh::PpdevPort>(opt.ppdev);
      panel_name = opt.ppdev;
    }
    if (opt.raw_io_base != 0) {
      real_port = std::make_unique<lh::RawPort>(opt.raw_io_base);
      panel_name = "I/O " + std::to_string(opt.raw_io_base);
    }
  } catch (const lh::PortError& e) {
    port_note = std::string("no LCD port: ") + e.what() + "; the panel is the virtual one of the preview";
    log(port_note);
  }
  lh::PanelSetup panel(opt.panel, real_port.get(), log);
  if (opt.panel.kind != "ks0108-lpt") {
    panel_name = panel.Name();
    port_note = panel.Note();
  }
  lorvan::platform::PortIo& port = panel.Port();

  lh::LinuxClock clock;
  lh::MpvPlayer player(socket);
  player.log = log;
  lorvan::posix::PosixFileSystem posix_files;
  lorvan::app::frmMain* form_ptr = nullptr;
  auto cd_root = [&]() { return form_ptr ? form_ptr->state.gsCdRootDir : std::string(); };
  // The drive: as given, or the settings' CD root when that names a device, or the usual one.
  const std::string default_cdrom = DefaultCdrom();
  lh::LinuxCdDevice cd([&]() -> std::string {
    if (!opt.cdrom.empty()) return opt.cdrom;
    const std::string root = lh::WithoutTrailingSlash(cd_root());
    return root.rfind("/dev/", 0) == 0 ? root : default_cdrom;
  });
  lh::CdFileSystem files(posix_files, cd, cd_root);
  lh::LinuxDrives drives(cd, cd_root);
  player.resolve_media = [&](const std::string& path) { return files.TrackSource(path); };

  lh::LinuxPower power(opt.power == "systemd" ? lh::LinuxPower::Runner(lh::RunAndWait) : lh::LinuxPower::Runner(),
                       log);
  lh::LinuxProcesses processes(lh::PlayerHooks{
      [&] { return form_ptr ? form_ptr->state.gsWinampPath : std::string(); }, socket,
      [&] { return player.FindWindowA(lh::MpvPlayer::kWindowClass) != 0; }, [&] { return player.PlayerPid(); },
      [&] { player.Close(); }});
  processes.log = log;
  player.started_player_pid = [&] {
    const auto running = processes.RunningPlayers();
    return running.empty() ? 0 : running.back();
  };
  processes.quiet_children = !opt.headless;
  if (opt.power == "log") processes.dry_run_programs = {"Hardstop"};

  lh::EvdevInput evdev(keymap, log);
  bool rescan = false;
  for (const auto& in : opt.inputs) {
    if (in == "auto") rescan = true;
    else evdev.Open(in, opt.grab);
  }
  if (rescan) evdev.OpenAll(opt.grab);

  lh::LinuxAppInfo app(dir);

  std::unique_ptr<lh::TerminalView> view;
  std::unique_ptr<lorvan::app::frmMain> form;
  const auto style = opt.preview == "braille"     ? lh::TerminalView::StyleChoice::kBraille
                     : opt.preview == "halfblock" ? lh::TerminalView::StyleChoice::kHalfBlock
                     : opt.preview == "ascii"     ? lh::TerminalView::StyleChoice::kAscii
                                                  : lh::TerminalView::StyleChoice::kAuto;
  lh::LinuxEventHost host(clock, nullptr, &evdev);
  lh::LinuxDialogs dialogs(nullptr, host, log);
  lorvan::platform::Platform platform{player, processes, port, clock, power, drives, files, dialogs, app, host};
  form = std::make_unique<lorvan::app::frmMain>(platform);
  form_ptr = form.get();

  // The picture the panel shows, decoded from the port writes, and the player's state.
  const auto panel_pixel = [&](int x, int y) { return panel.Pixel(x, y); };
  const auto player_state = [&]() -> std::string {
    if (player.fd() < 0) return "no window";
    switch (player.status()) {
      case 1: return "playing";
      case 3: return "paused";
      default: return "stopped";
    }
  };
  if (!opt.headless) {
    view = std::make_unique<lh::TerminalView>(*form, style, panel_pixel, player_state);
    if (!view->Start()) {
      std::cerr << "lorvan: standard input and output are not a terminal; run with --headless\n";
      return 2;
    }
    view->SetPanelName(panel_name);
    if (!port_note.empty()) view->ShowNote(port_note);
  }
  // The host and the dialogs see the view from here on.
  host.SetView(view.get());
  dialogs.SetView(view.get());
  host.rescan_inputs = rescan;
  host.grab_inputs = opt.grab;
  form->glcd.whole_frames = opt.full_frames;

  // The web page: its keys join the others' queue, its frames go out before each wait. The box
  // runs on without it when it cannot listen.
  std::unique_ptr<lh::web::WebPage> web;
  if (!opt.web.empty()) {
    try {
      const lh::web::WebPage::Sources sources{panel.VirtualPanel().panel(), [&] { return panel.VirtualPanel().writes(); }, player_state};
      web = std::make_unique<lh::web::WebPage>(lh::web::ParseListenAddress(opt.web), web_token, *form, sources);
      for (const std::string& url : web->Urls()) log("web page: " + url);
      if (view) view->ShowNote("web page: " + web->Urls().front());
      host.key_sources.push_back({web->fd(), [&](const auto& on_key) { web->TakeKeys(on_key); }});
      host.before_wait = [&] { web->Publish(); };
    } catch (const std::exception& e) {
      log(std::string("no web page: ") + e.what());
      if (view) view->ShowNote(std::string("no web page: ") + e.what());
    }
  }

  bool loaded = false;
  host.on_key = [&](char key) {
    if (web) web->NoteKey(key);
    form->KeyPress(key);
  };
  host.on_housekeeping = [&] {
    processes.Reap();
    panel.Flush();
    if (view) view->Draw();
  };
  host.on_quit = [&] {
    if (!loaded) throw EndedDuringStartUp{};
    log("asked to end: the settings are written and the player closed");
    // The development exit: settings and bookmark saved, the player closed, the window unloaded.
    form->ChangeSystemState(lorvan::app::kDevelopmentExit);
    if (form->Running()) form->Unload();
    player.Close();
  };

  int status = 0;
  try {
    form->Form_Load();
    loaded = true;
    if (opt.headless) log("running; program folder " + dir + ", player socket " + socket);
    // Between events the host sleeps until the next one is due; loops inside handlers (a
    // search, a standby wait) call DoEvents and wait 1 ms at most.
    form->loop.Run();
  } catch (const EndedDuringStartUp&) {
    if (view) view->Stop();
    std::cerr << "lorvan: ended during start-up\n";
    status = 1;
  } catch (const lorvan::app::StartupError& e) {
    if (view) view->Stop();
    std::cerr << "lorvan: start-up failed: " << e.what() << "\n";
    status = 1;
  }
  panel.Flush();  // the last picture (shutdown, service exit) reaches the panel too
  if (view) view->Stop();
  // The exit closed the player by its task; one that is still there (or a start that never
  // answered) does not outlive the program.
  processes.EndStartedPlayers(2000);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  lh::Options opt;
  try {
    opt = lh::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << "lorvan: " << e.what() << "\n" << lh::Usage();
    return 2;
  }
  if (opt.help) {
    std::cout << lh::Usage();
    return 0;
  }
  if (opt.setup) return lh::RunSetup({opt.program_dir, opt.setup_music, opt.setup_cd}, std::cout, std::cerr);
  try {
    return Run(opt);
  } catch (const std::exception& e) {
    std::cerr << "lorvan: " << e.what() << "\n";
    return 1;
  }
}
