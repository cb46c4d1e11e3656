#pragma once
// Where each control of the main window sits: one table for the Windows view. Portable, so
// that its rules (every remote-control button placed, nothing overlapping, the LCD preview
// exactly the panel's size) are tested natively.
#include <string>
#include <vector>

namespace lorvan::win32 {

enum class ControlKind { kFrame, kButton, kCheckBox, kListBox, kTextBox, kLabel, kPicture };

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  bool Overlaps(const Rect& o) const { return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom(); }
  bool Contains(const Rect& o) const { return o.x >= x && o.y >= y && o.Right() <= Right() && o.Bottom() <= Bottom(); }
};

struct ControlPlace {
  // The main window's control of this name (buttons, check boxes, list boxes, text boxes,
  // core labels), or a frame or fixed label of the view.
  std::string name;
  ControlKind kind = ControlKind::kLabel;
  // Fixed text of frames and fixed labels; the others show the core control's caption.
  std::string caption;
  Rect rect;
  // Pictures: which picture of the window is shown ("picLcd", "picPaste") and enlarged how much.
  std::string source;
  int zoom = 1;
};

struct WindowLayout {
  int client_width = 0;
  int client_height = 0;
  // In creation order: frames first, so that the controls inside them are drawn on top.
  std::vector<ControlPlace> controls;
};

WindowLayout MainWindowLayout();

}  // namespace lorvan::win32
