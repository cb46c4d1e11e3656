// The three screens of the panel, composed into picLcd and sent on every refresh tick.
#include <algorithm>

#include "app/frm_main.h"

namespace lorvan::app {
namespace {

// Rows of the cursor, the list lines, the progress bar, the status line and the symbols.
constexpr int kListX = 4;
constexpr int kListFirstY = 10;
constexpr int kLineHeight = 8;
constexpr int kBrowserLines = 5;
constexpr int kStatusY = 58;
constexpr int kPlayStateX = 115;
constexpr int kSourceX = 101;
constexpr int kSymbolY = 51;

std::string FontFile(const frmMain& f, const char* name) { return f.AppFile(std::string("Fonts") + f.Sep() + name); }

const lcd::Picture* PlayStateSymbol(frmMain& f) {
  lcd::frmPictures& p = f.frmPictures;
  const bool eq = f.chkEqOn.value == 1;
  switch (f.state.glPlayState) {
    case kPlaying: return eq ? &p.picPlayWithEq : &p.picPlayWithoutEq;
    case kStopped: return eq ? &p.picStopWithEq : &p.picStopWithoutEq;
    case kPaused: return eq ? &p.picPauseWithEq : &p.picPauseWithoutEq;
    default: return nullptr;  // picPaste keeps the bitmap it holds
  }
}

const lcd::Picture* SourceSymbol(frmMain& f) {
  lcd::frmPictures& p = f.frmPictures;
  switch (f.state.glMediaSource) {
    case kSourceMp3: return &p.picMp3;
    case kSourceCdSearching: return &p.picCdSearching;
    case kSourceCdReady: return &p.picCd;
    case kSourceNoCd: return &p.picCdNotAvailable;
    default: return nullptr;
  }
}

std::string StatusText(const frmMain& f) {
  std::string s = f.txtCurMinutes.text + ":" + f.txtCurSeconds.text + "/" + f.txtTotalMinutes.text + ":" +
                  f.txtTotalSeconds.text + " [" + f.txtCurFileNr.text + "/" + f.txtTotalFileNr.text + "] ";
  if (!f.txtBitrate.text.empty()) s += f.txtBitrate.text + "kb";
  return s;
}

void DrawBrowserScreen(frmMain& f) {
  SharedState& s = f.state;
  f.picLcd.SetBackground(f.frmPictures.picBackground);
  if (const lcd::Picture* symbol = PlayStateSymbol(f)) f.picPaste = *symbol;
  if (s.glPlayState != 2) lcd::PastePicture(f.picLcd, f.picPaste, kPlayStateX, kSymbolY);
  if (const lcd::Picture* symbol = SourceSymbol(f)) f.picPaste = *symbol;
  if (s.glMediaSource != 0) lcd::PastePicture(f.picLcd, f.picPaste, kSourceX, kSymbolY);

  f.glcd.LoadFont(FontFile(f, "Normal.fnt"));
  if (s.glMediaSource == kSourceMp3) f.glcd.DrawText(f.picLcd, s.gsFolderTitle, kListX, 0);
  const std::vector<std::string>& lines = f.lstFilePreview.lines;
  for (int i = 0; i < kBrowserLines && i < static_cast<int>(lines.size()); ++i) {
    f.glcd.DrawText(f.picLcd, lines[i], kListX, kListFirstY + kLineHeight * i);
  }

  if (s.glMediaSource != kSourceNoCd && s.glMediaSource != kSourceCdSearching) {
    f.glcd.LoadFont(FontFile(f, "Small.fnt"));
    f.glcd.DrawText(f.picLcd, StatusText(f), 0, kStatusY);
    f.picPaste = f.frmPictures.picCursor;
    // A cursor row outside the five lines has no place on the screen: no cursor is drawn.
    if (s.giCursorRow >= 0 && s.giCursorRow < kBrowserLines) {
      lcd::PastePicture(f.picLcd, f.picPaste, 0, f.miListLineY[static_cast<size_t>(s.giCursorRow)]);
    }
    // A position past the track's end gives more than 99; the bar stays inside its frame.
    const int progress = std::min<int>(s.giPlayProgress, 99);
    for (int u = 1; u <= progress; ++u) f.picLcd.Line(u, 51, u, 56);
  }
}

void DrawEqualizerScreen(frmMain& f) {
  f.picLcd.SetBackground(f.frmPictures.picEqBackground);
  const int p = 12 * f.miEqBand;
  f.picLcd.Line(p, 0, p + 11, 0);
  f.picLcd.Line(p, 0, p, 56);
  f.picLcd.Line(p, 56, p + 11, 56);
  f.picLcd.Line(p + 10, 0, p + 10, 56);
  for (int i = 0; i < 10; ++i) {
    const int32_t v = f.goWinamp().GetEqualizerValue(i);
    const int k = lcd::ScaleValue(52, 63, v) + 2;
    const int b = 12 * i;
    f.picLcd.Line(b + 2, k - 1, b + 9, k - 1);
    f.picLcd.Line(b + 1, k, b + 10, k);
    f.picLcd.Line(b + 2, k + 1, b + 9, k + 1);
  }
  const int t = 55 - lcd::ScaleValue(54, 255, f.state.giVolume);
  for (int m = 55; m >= t; --m) f.picLcd.Line(121, m, 127, m);
}

void DrawHelpScreen(frmMain& f) {
  SharedState& s = f.state;
  f.picLcd.SetBackground(f.frmPictures.picHelpBackground);
  f.glcd.LoadFont(FontFile(f, "Normal.fnt"));
  // A page number outside the stored pages shows the empty help background.
  if (s.giHelpPage < 1 || s.giHelpPage > kHelpPages) return;
  const auto& page = s.gsHelpText[static_cast<size_t>(s.giHelpPage - 1)];
  for (int l = 0; l < kHelpLines; ++l) {
    f.glcd.DrawText(f.picLcd, page[l][0], 0, 9 * l);
    f.glcd.DrawText(f.picLcd, page[l][1], s.giHelpColumnX, 9 * l);
  }
}

}  // namespace

void frmMain::UpdateLcd() {
  tmrRefresh.SetEnabled(false);
  const int64_t frequency = platform.clock.QueryPerformanceFrequency();
  const int64_t t0 = platform.clock.QueryPerformanceCounter();
  switch (state.glScreenMode) {
    case kScreenBrowser: DrawBrowserScreen(*this); break;
    case kScreenEqualizer: DrawEqualizerScreen(*this); break;
    case kScreenHelp: DrawHelpScreen(*this); break;
    default: break;  // picLcd keeps its content
  }
  // The equalizer's queries may wait for a starting player, and a handler run meanwhile may
  // have ended the program: its last picture stays on the panel and no tick follows.
  if (!Running()) return;
  glcd.LcdTransferPicture(picLcd, state.glLcdDelayLoops);
  const int64_t t1 = platform.clock.QueryPerformanceCounter();
  const double ms = frequency > 0 ? static_cast<double>(t1 - t0) / static_cast<double>(frequency) * 1000.0 : 0.0;
  lblTxTime.caption = lcd::FormatTxTime(ms);
  tmrRefresh.SetEnabled(true);
}

}  // namespace lorvan::app
