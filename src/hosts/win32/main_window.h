#pragma once
// The main window on Windows: a real window with every control of frmMain, the LCD preview
// 1:1 and enlarged, the status fields and labels. It shows the form's controls and turns key
// strokes and clicks into the form's clicks; it holds no logic of its own.
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "hosts/win32/win32_api.h"
#include "hosts/win32/window_layout.h"

namespace lorvan::win32 {

class Win32EventHost;

class MainWindow {
 public:
  static constexpr const char* kClassName = "LorvanMainWindow";
  static constexpr const char* kPictureClassName = "LorvanPicture";
  static constexpr const char* kTitle = "Lorvan";

  MainWindow(app::frmMain& form, Win32EventHost& host);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its controls and shows it with the show command; false (with
  // the system's reason in error()) when the window cannot be made.
  bool Create(HINSTANCE instance, int show_command);
  HWND hwnd() const { return hwnd_; }
  const std::string& error() const { return error_; }

  // Called by the pump for every message: keyboard messages for the window or its controls
  // go to the window itself, and a character becomes the form's key press. True when the
  // message has been handled here.
  bool PreTranslate(MSG& msg);
  // Brings the controls up to date with the form; without force at most every 25 ms.
  void Sync(bool force);
  // A request from outside to close the program (window closed, session ending).
  void RequestClose();
  void Destroy();

 private:
  struct Child;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
  LRESULT Handle(UINT msg, WPARAM w, LPARAM l);
  void CreateChild(const ControlPlace& place, HINSTANCE instance, HFONT font, HWND tooltip);
  void OnCommand(int id);
  void KeyPressed(char key);

  app::frmMain& form_;
  Win32EventHost& host_;
  HWND hwnd_ = nullptr;
  std::string error_;
  std::vector<std::unique_ptr<Child>> children_;
  unsigned long long last_sync_ms_ = 0;
  bool closing_ = false;
};

}  // namespace lorvan::win32
