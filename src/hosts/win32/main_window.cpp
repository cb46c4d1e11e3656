#include "hosts/win32/main_window.h"

#include <commctrl.h>

#include "hosts/win32/lcd_preview.h"
#include "hosts/win32/win32_event_host.h"

namespace lorvan::win32 {

// One control of the window and what it shows now.
struct MainWindow::Child {
  ControlPlace place;
  HWND hwnd = nullptr;
  int id = 0;
  app::Button* button = nullptr;
  app::CheckBox* check = nullptr;
  app::ListBox* list = nullptr;
  app::TextBox* text = nullptr;
  app::Label* label = nullptr;
  const lcd::Picture* picture = nullptr;
  std::string shown_text;
  int shown_value = -1;
  std::vector<std::string> shown_lines;
  int shown_index = -2;
  std::vector<lcd::Colour> shown_pixels;
};

namespace {

constexpr int kFirstControlId = 100;

app::TextBox* TextBoxByName(app::frmMain& f, const std::string& name) {
  for (app::TextBox* t : {&f.txtCurFileNr, &f.txtTotalFileNr, &f.txtCurMinutes, &f.txtCurSeconds, &f.txtTotalMinutes,
                          &f.txtTotalSeconds, &f.txtBitrate}) {
    if (t->name == name) return t;
  }
  return nullptr;
}

app::Label* LabelByName(app::frmMain& f, const std::string& name) {
  for (app::Label* l : {&f.lblAppInfo, &f.lblGeneralInfo, &f.lblTxTime}) {
    if (l->name == name) return l;
  }
  return nullptr;
}

void SetText(HWND hwnd, std::string& shown, const std::string& wanted) {
  if (shown == wanted) return;
  shown = wanted;
  SetWindowTextA(hwnd, wanted.c_str());
}

bool RegisterClasses(HINSTANCE instance, WNDPROC main_proc, WNDPROC picture_proc) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, MainWindow::kClassName, &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = main_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = MainWindow::kClassName;
    if (!RegisterClassA(&wc)) return false;
  }
  if (!GetClassInfoA(instance, MainWindow::kPictureClassName, &wc)) {
    wc = WNDCLASSA{};
    wc.lpfnWndProc = picture_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = MainWindow::kPictureClassName;
    if (!RegisterClassA(&wc)) return false;
  }
  return true;
}

}  // namespace

MainWindow::MainWindow(app::frmMain& form, Win32EventHost& host) : form_(form), host_(host) {}

MainWindow::~MainWindow() { Destroy(); }

bool MainWindow::Create(HINSTANCE instance, int show_command) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterClasses(instance, WindowProc, PictureProc)) {
    error_ = "cannot register the window class: " + ErrorText(GetLastError());
    return false;
  }
  const WindowLayout layout = MainWindowLayout();
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, layout.client_width, layout.client_height};
  AdjustWindowRect(&r, style, FALSE);
  hwnd_ = CreateWindowExA(0, kClassName, kTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                          r.bottom - r.top, nullptr, nullptr, instance, this);
  if (!hwnd_) {
    error_ = "cannot create the main window: " + ErrorText(GetLastError());
    return false;
  }
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  for (const ControlPlace& place : layout.controls) CreateChild(place, instance, font, tooltip);
  Sync(/*force=*/true);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  return true;
}

void MainWindow::CreateChild(const ControlPlace& place, HINSTANCE instance, HFONT font, HWND tooltip) {
  auto c = std::make_unique<Child>();
  c->place = place;
  c->id = kFirstControlId + static_cast<int>(children_.size());
  const char* cls = "STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex_style = 0;
  std::string caption = place.caption;
  switch (place.kind) {
    case ControlKind::kFrame:
      cls = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::kButton:
      cls = "BUTTON";
      style |= BS_PUSHBUTTON;
      for (app::Button* b : form_.Buttons()) {
        if (b->name == place.name) c->button = b;
      }
      if (c->button) caption = c->button->caption;
      break;
    case ControlKind::kCheckBox:
      cls = "BUTTON";
      style |= BS_3STATE;
      for (app::CheckBox* b : form_.CheckBoxes()) {
        if (b->name == place.name) c->check = b;
      }
      if (c->check) caption = c->check->caption;
      break;
    case ControlKind::kListBox:
      cls = "LISTBOX";
      style |= WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT;
      c->list = place.name == form_.lstFileEntries.name ? &form_.lstFileEntries : &form_.lstFilePreview;
      break;
    case ControlKind::kTextBox:
      cls = "EDIT";
      style |= ES_READONLY | ES_RIGHT | ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      c->text = TextBoxByName(form_, place.name);
      break;
    case ControlKind::kLabel:
      style |= SS_NOPREFIX | SS_LEFT;
      c->label = LabelByName(form_, place.name);
      if (c->label) caption = c->label->caption;
      break;
    case ControlKind::kPicture:
      cls = kPictureClassName;
      c->picture = place.source == "picPaste" ? &form_.picPaste : &form_.picLcd;
      break;
  }
  c->shown_text = caption;
  c->hwnd = CreateWindowExA(ex_style, cls, caption.c_str(), style, place.rect.x, place.rect.y, place.rect.w,
                            place.rect.h, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)), instance, nullptr);
  if (!c->hwnd) return;
  SendMessageA(c->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (place.kind == ControlKind::kPicture) SetWindowLongPtrA(c->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c.get()));
  if (place.kind == ControlKind::kTextBox && tooltip) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c->hwnd);
    ti.lpszText = const_cast<char*>(app::frmMain::kStatusToolTip);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  children_.push_back(std::move(c));
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // A control with the focus never acts on a key itself (Space would press a button):
      // the window takes every key stroke.
      msg.hwnd = hwnd_;
      return false;
    case WM_CHAR:
    case WM_SYSCHAR:
      KeyPressed(static_cast<char>(msg.wParam));
      return true;
    default:
      return false;
  }
}

void MainWindow::KeyPressed(char key) {
  form_.KeyPress(key);
  Sync(/*force=*/true);
}

void MainWindow::OnCommand(int id) {
  app::Button* button = nullptr;
  app::CheckBox* check = nullptr;
  for (auto& c : children_) {
    if (c->id == id) {
      button = c->button;
      check = c->check;
    }
  }
  // The click may end the program, and the controls with it.
  if (button) button->Click();
  if (check) check->Click();
  if (hwnd_) SetFocus(hwnd_);
  Sync(/*force=*/true);
}

void MainWindow::RequestClose() {
  if (closing_) return;
  closing_ = true;
  // The program's own way out without shutting the machine down: the settings are saved and
  // the player is closed; should that not end the program, it is ended here.
  if (form_.Running()) form_.ClickByName(form_.cmdExitDevEnv.name);
  if (form_.Running()) form_.Unload();
  closing_ = false;
}

void MainWindow::Destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(h);
  children_.clear();
}

void MainWindow::Sync(bool force) {
  if (!hwnd_) return;
  const unsigned long long now = GetTickCount64();
  if (!force && now - last_sync_ms_ < 25) return;
  last_sync_ms_ = now;
  for (auto& c : children_) {
    if (c->button) SetText(c->hwnd, c->shown_text, c->button->caption);
    if (c->check) {
      SetText(c->hwnd, c->shown_text, c->check->caption);
      if (c->shown_value != c->check->value) {
        c->shown_value = c->check->value;
        SendMessageA(c->hwnd, BM_SETCHECK, c->check->value == 1 ? BST_CHECKED : c->check->value == 2 ? BST_INDETERMINATE : BST_UNCHECKED, 0);
      }
    }
    if (c->text) SetText(c->hwnd, c->shown_text, c->text->text);
    if (c->label) SetText(c->hwnd, c->shown_text, c->label->caption);
    if (c->list) {
      if (c->shown_lines != c->list->lines) {
        c->shown_lines = c->list->lines;
        SendMessageA(c->hwnd, WM_SETREDRAW, FALSE, 0);
        SendMessageA(c->hwnd, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : c->shown_lines) {
          SendMessageA(c->hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        SendMessageA(c->hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(c->hwnd, nullptr, TRUE);
        c->shown_index = -2;
      }
      if (c->shown_index != c->list->list_index) {
        c->shown_index = c->list->list_index;
        SendMessageA(c->hwnd, LB_SETCURSEL, static_cast<WPARAM>(c->shown_index), 0);
      }
    }
    if (c->picture && c->shown_pixels != c->picture->Pixels()) {
      c->shown_pixels = c->picture->Pixels();
      InvalidateRect(c->hwnd, nullptr, FALSE);
    }
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || !self->hwnd_ || self->hwnd_ != hwnd) return DefWindowProcA(hwnd, msg, w, l);
  try {
    return self->Handle(msg, w, l);
  } catch (...) {
    self->host_.Defer(std::current_exception());
    return 0;
  }
}

LRESULT MainWindow::Handle(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND:
      if (l != 0 && HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w));
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      KeyPressed(static_cast<char>(w));
      return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Only Alt+F4 keeps its meaning; Alt alone must not open the system menu, which would
      // swallow the next key strokes of the remote.
      if (w == VK_F4) return DefWindowProcA(hwnd_, msg, w, l);
      return 0;
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (w) RequestClose();
      return 0;
    default:
      return DefWindowProcA(hwnd_, msg, w, l);
  }
}

LRESULT CALLBACK MainWindow::PictureProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg != WM_PAINT) return DefWindowProcA(hwnd, msg, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  const auto* c = reinterpret_cast<const Child*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (c && c->picture) {
    const lcd::Picture& pic = *c->picture;
    const std::vector<uint32_t> pixels = PreviewPixels(pic);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = pic.Width();
    bi.bmiHeader.biHeight = -pic.Height();  // rows from the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    RECT rc;
    GetClientRect(hwnd, &rc);
    StretchDIBits(dc, 0, 0, rc.right, rc.bottom, 0, 0, pic.Width(), pic.Height(), pixels.data(), &bi, DIB_RGB_COLORS,
                  SRCCOPY);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

}  // namespace lorvan::win32
