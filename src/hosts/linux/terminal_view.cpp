#include "hosts/linux/terminal_view.h"

#include <langinfo.h>
#include <ncurses.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstring>

namespace lorvan::linuxhost {
namespace {

constexpr int kPanelWidth = 14;   // status fields beside the preview
constexpr int kControlWidth = 20;  // one control in the list below it

// The length in bytes of the UTF-8 sequence at s[i], or 0 when it is not a valid one.
size_t Utf8Length(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

// Cuts UTF-8 text to at most `cols` characters.
std::string Fit(const std::string& text, int cols) {
  std::string out;
  int n = 0;
  for (size_t i = 0; i < text.size() && n < cols;) {
    const size_t len = std::max<size_t>(1, Utf8Length(text, i));
    out.append(text, i, len);
    i += len;
    ++n;
  }
  return out;
}

}  // namespace

std::string PrintableText(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size();) {
    const size_t n = Utf8Length(bytes, i);
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (n == 0 || (n == 1 && (c < 0x20 || c == 0x7F))) {
      out += '?';
      ++i;
    } else {
      out.append(bytes, i, n);
      i += n;
    }
  }
  return out;
}

std::string PlainCaption(const std::string& caption, std::vector<size_t>* accelerators) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != '&' && accelerators) accelerators->push_back(out.size());
    }
    out += caption[i];
  }
  return out;
}

TerminalView::TerminalView(app::frmMain& form, StyleChoice style, std::function<bool(int, int)> pixel,
                           std::function<std::string()> player_status)
    : form_(form), style_choice_(style), pixel_(std::move(pixel)), player_status_(std::move(player_status)) {}

TerminalView::~TerminalView() { Stop(); }

bool TerminalView::Start() {
  if (!isatty(0) || !isatty(1)) return false;
  setlocale(LC_ALL, "");
  utf8_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
  initscr();
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  nodelay(stdscr, TRUE);
  set_escdelay(25);
  curs_set(0);
  started_ = true;
  Draw();
  return true;
}

void TerminalView::Stop() {
  if (!started_) return;
  endwin();
  started_ = false;
}

PreviewStyle TerminalView::Style() const {
  if (!utf8_ || style_choice_ == StyleChoice::kAscii) return PreviewStyle::kAscii;
  if (style_choice_ == StyleChoice::kBraille) return PreviewStyle::kBraille;
  if (style_choice_ == StyleChoice::kHalfBlock) return PreviewStyle::kHalfBlock;
  // Half blocks are square pixels; they need a large terminal.
  return COLS >= 130 + kPanelWidth && LINES >= 34 + 7 ? PreviewStyle::kHalfBlock : PreviewStyle::kBraille;
}

void TerminalView::ReadInput(const std::function<void(char)>& on_key) {
  if (!started_) return;
  for (;;) {
    int c = wgetch(stdscr);
    if (c == ERR) return;
    if (c == KEY_RESIZE) {
      Draw();
      continue;
    }
    if (c == 27) {
      // Alt+character arrives as Escape followed by the character.
      const int next = wgetch(stdscr);
      if (next == ERR || next > 0x7E || next < 0x20) continue;
      c = next;
    }
    if (c == '\r' || c == '\n' || c == KEY_ENTER) {
      on_key('\r');
    } else if (c >= 0x20 && c <= 0x7E) {
      on_key(static_cast<char>(c));
    }
  }
}

void TerminalView::DrawBox(int y, int x, int h, int w, const std::string& title) {
  mvhline(y, x + 1, ACS_HLINE, w - 2);
  mvhline(y + h - 1, x + 1, ACS_HLINE, w - 2);
  mvvline(y + 1, x, ACS_VLINE, h - 2);
  mvvline(y + 1, x + w - 1, ACS_VLINE, h - 2);
  mvaddch(y, x, ACS_ULCORNER);
  mvaddch(y, x + w - 1, ACS_URCORNER);
  mvaddch(y + h - 1, x, ACS_LLCORNER);
  mvaddch(y + h - 1, x + w - 1, ACS_LRCORNER);
  if (!title.empty()) mvaddstr(y, x + 2, Fit(" " + title + " ", w - 4).c_str());
}

void TerminalView::DrawCaption(int y, int x, int width, const std::string& caption, bool check, int value) {
  std::vector<size_t> acc;
  std::string text = PlainCaption(caption, &acc);
  int col = x;
  if (check) {
    mvaddstr(y, col, value == 0 ? "[ ]" : value == 1 ? "[x]" : "[-]");
    col += 4;
  }
  const int room = x + width - 1 - col;
  for (int i = 0; i < static_cast<int>(text.size()) && i < room; ++i) {
    const bool is_acc = std::find(acc.begin(), acc.end(), static_cast<size_t>(i)) != acc.end();
    if (is_acc) attron(A_BOLD | A_UNDERLINE);
    mvaddch(y, col + i, static_cast<unsigned char>(text[static_cast<size_t>(i)]));
    if (is_acc) attroff(A_BOLD | A_UNDERLINE);
  }
}

void TerminalView::DrawTooSmall(int need_cols, int need_rows) {
  erase();
  const std::string msg = "Terminal too small: the window needs " + std::to_string(need_cols) + " x " +
                          std::to_string(need_rows) + ", this one is " + std::to_string(COLS) + " x " +
                          std::to_string(LINES) + ". Make it larger.";
  for (int row = 0; row * std::max(COLS, 1) < static_cast<int>(msg.size()) && row < LINES; ++row) {
    mvaddstr(row, 0, msg.substr(static_cast<size_t>(row * COLS), static_cast<size_t>(COLS)).c_str());
  }
  refresh();
}

void TerminalView::Draw() {
  if (!started_) return;
  const PreviewStyle style = Style();
  const int pw = PreviewColumns(style, 128), ph = PreviewRows(style, 64);
  const int columns = std::max(1, COLS / kControlWidth);

  struct Item {
    std::string caption;
    bool check;
    int value;
  };
  std::vector<Item> items;
  for (app::Button* b : form_.Buttons()) {
    if (b->name.rfind("cmdJump(", 0) == 0) {
      if (b->name == "cmdJump(0)") items.push_back({"&0&1&2&3&4&5&6&7&8&9 Jump", false, 0});
      continue;
    }
    items.push_back({b->caption, false, 0});
  }
  for (app::CheckBox* c : form_.CheckBoxes()) items.push_back({c->caption, true, c->value});

  const int control_rows = (static_cast<int>(items.size()) + 3) / 4;
  const int need_cols = pw + 2 + kPanelWidth, need_rows = ph + 2 + control_rows;
  if (COLS < need_cols || LINES < need_rows || columns < 4) {
    DrawTooSmall(need_cols, need_rows);
    return;
  }
  erase();

  // The LCD preview.
  DrawBox(0, 0, ph + 2, pw + 2, PrintableText(form_.lblAppInfo.caption.empty() ? "Display:" : form_.lblAppInfo.caption));
  const auto lines = RenderPreview(pixel_, 128, 64, style);
  for (int r = 0; r < static_cast<int>(lines.size()); ++r) mvaddstr(1 + r, 1, lines[static_cast<size_t>(r)].c_str());

  // The status fields and the transfer time.
  const int px = pw + 3;
  const int pwidth = COLS - px;
  auto field = [&](int row, const std::string& text) { mvaddstr(row, px, Fit(PrintableText(text), pwidth).c_str()); };
  field(1, "TX Time:");
  field(2, form_.lblTxTime.caption);
  field(4, "Status Line:");
  field(5, "File " + form_.txtCurFileNr.text + " of " + form_.txtTotalFileNr.text);
  field(6, form_.txtCurMinutes.text + ":" + form_.txtCurSeconds.text + " Min.Sec.");
  field(7, form_.txtTotalMinutes.text + ":" + form_.txtTotalSeconds.text + " total");
  field(8, form_.txtBitrate.text + " kbs");
  field(10, "Player:");
  field(11, player_status_ ? player_status_() : "");
  field(13, "Key:");
  if (last_key_ != 0) field(14, last_key_ == '\r' ? std::string("Enter") : std::string(1, last_key_));
  if (!panel_name_.empty()) {
    field(16, "Panel:");
    field(17, panel_name_);
  }

  // The controls: captions with their accelerator keys underlined.
  const int cy = ph + 2;
  const int per_row = std::min(columns, 4);
  const int width = COLS / per_row;
  for (size_t i = 0; i < items.size(); ++i) {
    const int row = cy + static_cast<int>(i) / per_row, col = static_cast<int>(i) % per_row * width;
    DrawCaption(row, col, width, items[i].caption, items[i].check, items[i].value);
  }

  // Room left: the folder listing, then a hint.
  int y = cy + control_rows;
  if (LINES - y >= 3) {
    mvaddstr(y++, 0, "Directory Files:");
    const auto& entries = form_.lstFileEntries.lines;
    const int room = LINES - y - 1;
    const int selected = form_.state.giSelectedEntryNr - 1;
    const int first = std::clamp(selected - room / 2, 0, std::max(0, static_cast<int>(entries.size()) - room));
    for (int k = 0; k < room && first + k < static_cast<int>(entries.size()); ++k) {
      const bool sel = first + k == selected;
      if (sel) attron(A_REVERSE);
      mvaddstr(y + k, 2, Fit(PrintableText(entries[static_cast<size_t>(first + k)]), COLS - 3).c_str());
      if (sel) attroff(A_REVERSE);
    }
    mvaddstr(LINES - 1, 0, Fit("Keys: the underlined characters, plain or with Alt. Ctrl+C ends the program.", COLS).c_str());
  }
  if (!note_.empty()) {
    move(LINES - 1, 0);
    clrtoeol();
    attron(A_BOLD);
    mvaddstr(LINES - 1, 0, Fit(PrintableText(note_), COLS).c_str());
    attroff(A_BOLD);
  }
  if (msg_shown_) DrawMessage();
  refresh();
}

void TerminalView::ShowMessage(const std::string& title, const std::string& text) {
  msg_title_ = title;
  msg_text_ = text;
  msg_shown_ = true;
  Draw();
}

void TerminalView::ClearMessage() {
  msg_shown_ = false;
  Draw();
}

void TerminalView::DrawMessage() {
  const int w = std::min(COLS - 4, 60);
  std::vector<std::string> lines;
  std::string text = PrintableText(msg_text_);
  const size_t width = static_cast<size_t>(w - 4);
  while (!text.empty()) {
    size_t cut = std::min(text.size(), width);
    if (cut < text.size()) {
      const size_t space = text.rfind(' ', cut);
      if (space != std::string::npos && space > 0) cut = space;
    }
    lines.push_back(text.substr(0, cut));
    text.erase(0, cut);
    if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  }
  const int h = static_cast<int>(lines.size()) + 4;
  const int y = std::max(0, (LINES - h) / 2), x = std::max(0, (COLS - w) / 2);
  for (int r = 0; r < h; ++r) mvhline(y + r, x, ' ', w);
  DrawBox(y, x, h, w, PrintableText(msg_title_));
  for (size_t i = 0; i < lines.size(); ++i) mvaddstr(y + 1 + static_cast<int>(i), x + 2, lines[i].c_str());
  attron(A_REVERSE);
  mvaddstr(y + h - 2, x + (w - 12) / 2, "  OK (Enter) ");
  attroff(A_REVERSE);
}

}  // namespace lorvan::linuxhost
