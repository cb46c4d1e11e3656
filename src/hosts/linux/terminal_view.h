#pragma once
// The main window in a terminal (ncursesw): the LCD preview, the status fields, the transfer
// time and the controls with their captions and accelerator keys. A key stroke is the plain
// character or Alt plus the character. Message boxes are a modal overlay answered with Enter.
#include <functional>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "hosts/linux/lcd_preview.h"

namespace lorvan::linuxhost {

// Makes bytes safe to show: valid UTF-8 stays, anything else (and control characters) is "?".
std::string PrintableText(const std::string& bytes);

// The caption without its "&" marks, and the positions of the accelerator characters in it.
std::string PlainCaption(const std::string& caption, std::vector<size_t>* accelerators = nullptr);

class TerminalView {
 public:
  enum class StyleChoice { kAuto, kBraille, kHalfBlock, kAscii };

  TerminalView(app::frmMain& form, StyleChoice style, std::function<bool(int x, int y)> pixel,
               std::function<std::string()> player_status);
  ~TerminalView();

  // Takes over the terminal; false when standard input/output is not a terminal.
  bool Start();
  void Stop();
  int input_fd() const { return 0; }

  // Reads the keys that are there; each stroke goes to on_key ('\r' for Enter).
  void ReadInput(const std::function<void(char)>& on_key);
  // Draws the window (ncurses sends only what changed).
  void Draw();
  // The modal box: shown over the window until ClearMessage.
  void ShowMessage(const std::string& title, const std::string& text);
  void ClearMessage();
  // A key stroke also dismisses the note.
  void NoteKey(char key) {
    last_key_ = key;
    note_.clear();
  }
  // A line for the user in the window's last line (the panel's port is missing, ...), shown
  // until the next key stroke.
  void ShowNote(const std::string& text) { note_ = text; }
  // What the LCD is: "virtual" or the port's device.
  void SetPanelName(const std::string& name) { panel_name_ = name; }

 private:
  void DrawTooSmall(int need_cols, int need_rows);
  void DrawBox(int y, int x, int h, int w, const std::string& title);
  void DrawCaption(int y, int x, int width, const std::string& caption, bool check, int value);
  void DrawMessage();
  PreviewStyle Style() const;

  app::frmMain& form_;
  StyleChoice style_choice_;
  std::function<bool(int, int)> pixel_;
  std::function<std::string()> player_status_;
  bool started_ = false;
  bool utf8_ = false;
  char last_key_ = 0;
  std::string note_;
  std::string panel_name_;
  std::string msg_title_, msg_text_;
  bool msg_shown_ = false;
};

}  // namespace lorvan::linuxhost
