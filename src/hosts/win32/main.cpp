// Lorvan.exe: the box on Windows. The main window over Win32, the player found by its window
// class, the LCD through inpout32.dll, the real power, drive and MCI calls.
#include <exception>

#include "app/errors.h"
#include "app/frm_main.h"
#include "hosts/win32/main_window.h"
#include "hosts/win32/win32_api.h"
// After the Windows headers, which it needs.
#include <mmsystem.h>
#include "hosts/win32/win32_app_info.h"
#include "hosts/win32/win32_clock.h"
#include "hosts/win32/win32_dialogs.h"
#include "hosts/win32/win32_drives.h"
#include "hosts/win32/win32_event_host.h"
#include "hosts/win32/win32_file_system.h"
#include "hosts/win32/win32_port_io.h"
#include "hosts/win32/win32_power.h"
#include "hosts/win32/win32_processes.h"
#include "hosts/win32/win32_window_messages.h"

namespace {

using namespace lorvan;

constexpr const char* kBoxTitle = "Lorvan";

// Start-up, then the event loop until the window is unloaded; the process's exit code.
int Run(app::frmMain& form, win32::Win32PortIo& port, win32::Win32Dialogs& dialogs) {
  if (!port.Load()) {
    dialogs.MsgBox("Lorvan cannot start.\r\n\r\n" + port.error(), kBoxTitle);
    form.Unload();
    return 1;
  }
  try {
    form.Form_Load();
  } catch (const std::exception& e) {
    // A close request during start-up has already ended the program.
    if (!form.Running()) return 0;
    dialogs.MsgBox(std::string("Lorvan cannot start:\r\n\r\n") + e.what(), kBoxTitle);
    form.Unload();
    return 1;
  }
  try {
    while (form.Running()) form.loop.DoEvents();
  } catch (const std::exception& e) {
    dialogs.MsgBox(std::string("Lorvan stopped because of an error:\r\n\r\n") + e.what(), kBoxTitle);
    form.Unload();
    return 1;
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  // A drive without a disc is an answer for the program, not a question for a person.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Millisecond waits and timers need the system timer at its finest step.
  timeBeginPeriod(1);

  win32::Win32WindowMessages messages;
  win32::Win32Processes processes;
  win32::Win32PortIo port;
  win32::Win32Clock clock;
  win32::Win32Power power;
  win32::Win32Drives drives;
  win32::Win32FileSystem files;
  win32::Win32Dialogs dialogs;
  win32::Win32AppInfo app_info;
  win32::Win32EventHost events(clock);
  platform::Platform platform{messages, processes, port, clock, power, drives, files, dialogs, app_info, events};

  int exit_code = 1;
  {
    app::frmMain form(platform);
    win32::MainWindow view(form, events);
    if (!view.Create(instance, show_command)) {
      dialogs.MsgBox("Lorvan cannot start: " + view.error(), kBoxTitle);
    } else {
      dialogs.SetOwner(view.hwnd());
      events.SetView(&view);
      form.on_unload = [&view] { view.Destroy(); };
      exit_code = Run(form, port, dialogs);
      events.SetView(nullptr);
      form.on_unload = nullptr;
    }
  }
  timeEndPeriod(1);
  return exit_code;
}
