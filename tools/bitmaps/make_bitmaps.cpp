// lorvan-make-bitmaps FOLDER [X11_MISC_FONT_FOLDER]: writes the LCD bitmaps of the hidden
// picture form as plain PBM files into FOLDER (data/Bitmaps). The symbols, the cursor and the
// screen frames are drawn from their pixel tables, the equalizer labels in a 3 x 5 digit
// font of their own; the logo and the captions are set in misc-fixed fonts (xfonts-base,
// public domain).
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "fonts/pcf_font.h"
#include "lcd/pbm.h"
#include "lcd/picture.h"

using lorvan::fonttools::Glyph;
using lorvan::fonttools::PcfFont;
using lorvan::lcd::kBlack;
using lorvan::lcd::Picture;

namespace {

void Set(Picture& p, int x, int y) { p.PSet(x, y, kBlack); }

void Fill(Picture& p, int x0, int x1, int y0, int y1) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) Set(p, x, y);
}

// Rows and column ranges as the pixel tables write them: "r2-r6: 2-4, 8-10; r7: 2-4".
void DrawTable(Picture& p, const std::string& table) {
  std::stringstream rows(table);
  for (std::string part; std::getline(rows, part, ';');) {
    const size_t colon = part.find(':');
    int r0 = 0, r1 = 0;
    if (std::sscanf(part.substr(0, colon).c_str(), " r%d-r%d", &r0, &r1) != 2) {
      std::sscanf(part.substr(0, colon).c_str(), " r%d", &r0);
      r1 = r0;
    }
    std::stringstream cols(part.substr(colon + 1));
    for (std::string range; std::getline(cols, range, ',');) {
      int c0 = 0, c1 = 0;
      if (std::sscanf(range.c_str(), " %d-%d", &c0, &c1) != 2) {
        std::sscanf(range.c_str(), " %d", &c0);
        c1 = c0;
      }
      Fill(p, c0, c1, r0, r1);
    }
  }
}

Picture FromTable(int w, int h, const std::string& table) {
  Picture p(w, h);
  DrawTable(p, table);
  return p;
}

// Proportional text in a PCF font: each character's ink columns, then spacing blank columns;
// a blank takes space_width columns. scale enlarges every pixel. Returns the width drawn.
struct TextStyle {
  const PcfFont* font = nullptr;
  int spacing = 1;
  int space_width = 3;
  int scale = 1;
};

int InkLeft(const Glyph& g) {
  for (int x = 0; x < g.width; ++x)
    for (size_t r = 0; r < g.rows.size(); ++r)
      if (g.rows[r][x]) return x;
  return -1;
}

int InkRight(const Glyph& g) {
  for (int x = g.width - 1; x >= 0; --x)
    for (size_t r = 0; r < g.rows.size(); ++r)
      if (g.rows[r][x]) return x;
  return -1;
}

int TextWidth(const TextStyle& s, const std::string& text) {
  int w = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* g = s.font->Find(static_cast<unsigned char>(text[i]));
    const int l = g ? InkLeft(*g) : -1;
    w += l < 0 ? s.space_width : (InkRight(*g) - l + 1) * s.scale;
    if (i + 1 < text.size()) w += s.spacing;
  }
  return w;
}

// Draws text with its baseline at row baseline (the row below the capitals' last row).
int DrawText(Picture& p, const TextStyle& s, const std::string& text, int x, int baseline) {
  const int start = x;
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* g = s.font->Find(static_cast<unsigned char>(text[i]));
    const int l = g ? InkLeft(*g) : -1;
    if (l < 0) {
      x += s.space_width;
    } else {
      const int r = InkRight(*g);
      for (size_t row = 0; row < g->rows.size(); ++row) {
        for (int c = l; c <= r; ++c) {
          if (!g->rows[row][c]) continue;
          const int py = baseline - g->ascent * s.scale + static_cast<int>(row) * s.scale;
          const int px = x + (c - l) * s.scale;
          Fill(p, px, px + s.scale - 1, py, py + s.scale - 1);
        }
      }
      x += (r - l + 1) * s.scale;
    }
    if (i + 1 < text.size()) x += s.spacing;
  }
  return x - start;
}

void DrawCentred(Picture& p, const TextStyle& s, const std::string& text, int x0, int x1, int baseline) {
  DrawText(p, s, text, x0 + (x1 - x0 + 1 - TextWidth(s, text)) / 2, baseline);
}

struct Fonts {
  PcfFont small, logo, caption;  // 5x8, 7x13 bold, 9x15 bold
};

// The browser screen: rule under the title, progress frame and the two symbol cells.
Picture Background() {
  return FromTable(128, 64,
                   "r8: 0-127; r50: 0-127; r51-r55: 0, 100, 114; r56: 0-100, 114; r57-r63: 100, 114");
}

// The 3 x 5 digit font of the equalizer labels; "1" is two columns wide so that three-digit
// labels keep a gap to their neighbours.
const char* TinyGlyph(char c) {
  switch (c) {
    case '0': return "###|#.#|#.#|#.#|###";
    case '1': return ".#|##|.#|.#|.#";
    case '2': return "###|..#|###|#..|###";
    case '3': return "###|..#|.##|..#|###";
    case '4': return "#.#|#.#|###|..#|..#";
    case '5': return "###|#..|###|..#|###";
    case '6': return "###|#..|###|#.#|###";
    case '7': return "###|..#|..#|..#|..#";
    case '8': return "###|#.#|###|#.#|###";
    case '9': return "###|#.#|###|..#|###";
    case 'K': return "#.#|#.#|##.|#.#|#.#";
    default: return "";
  }
}

int TinyWidth(const std::string& text) {
  int w = 0;
  for (char c : text) w += static_cast<int>(std::string(TinyGlyph(c)).find('|')) + 1;
  return w - 1;
}

void DrawTiny(Picture& p, const std::string& text, int x, int y) {
  for (char c : text) {
    const std::string g = TinyGlyph(c);
    const int w = static_cast<int>(g.find('|'));
    for (int r = 0; r < 5; ++r)
      for (int col = 0; col < w; ++col)
        if (g[static_cast<size_t>(r * (w + 1) + col)] == '#') Set(p, x + col, y + r);
    x += w + 1;
  }
}

// The equalizer screen: volume frame, centre line, band labels and the loudspeaker.
Picture EqBackground() {
  Picture p = FromTable(128, 64, "r0: 120-127; r1-r55: 120, 127; r26: 0-118; r56: 120-127");
  const char* bands[10] = {"60", "170", "310", "600", "1K", "3K", "6K", "12K", "14K", "16K"};
  for (int i = 0; i < 10; ++i) DrawTiny(p, bands[i], 12 * i + (11 - TinyWidth(bands[i])) / 2, 58);
  // A loudspeaker: the magnet and the cone opening to the right.
  DrawTable(p, "r58: 125; r59: 124-125; r60-r61: 122-125; r62: 124-125; r63: 125");
  return p;
}

// The product logo in rows 3 to 39: a pair of beamed notes beside the name, the name
// underlined, and what the box is below.
void DrawLogo(Picture& p, const Fonts& f) {
  const TextStyle name{&f.logo, 2, 6, 2};
  const TextStyle sub{&f.small, 3, 5, 1};
  const std::string word = "Lorvan";
  const int note_w = 17, gap = 7;
  const int total = note_w + gap + TextWidth(name, word);
  const int x0 = (128 - total) / 2;
  // Two eighth notes joined by a beam: heads at the bottom, stems up to a thick beam.
  auto head = [&](int cx, int cy) {
    for (int y = -2; y <= 2; ++y)
      for (int x = -3; x <= 3; ++x)
        if (x * x * 4 + y * y * 9 <= 42) Set(p, cx + x, cy + y);
  };
  const int beam_top = 3;
  Fill(p, x0 + 5, x0 + 6, beam_top + 2, 22);     // left stem
  Fill(p, x0 + 15, x0 + 16, beam_top, 20);       // right stem
  for (int x = x0 + 5; x <= x0 + 16; ++x) {      // beam rising to the right
    const int rise = (x - (x0 + 5)) * 2 / 11;
    Fill(p, x, x, beam_top + 2 - rise, beam_top + 5 - rise);
  }
  head(x0 + 3, 23);
  head(x0 + 13, 21);
  DrawText(p, name, word, x0 + note_w + gap, 25);
  // Rule under the name and the line below it.
  Fill(p, x0, x0 + total - 1, 29, 29);
  DrawCentred(p, sub, "MUSIC BOX", 0, 127, 40);
}

Picture FullScreen(const Fonts& f, const std::string& caption) {
  Picture p(128, 64);
  DrawLogo(p, f);
  const TextStyle c{&f.caption, 1, 5, 1};
  DrawCentred(p, c, caption, 0, 127, 59);
  return p;
}

struct Bitmap {
  std::string name;
  std::string role;
  Picture picture;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << "usage: lorvan-make-bitmaps FOLDER [X11_MISC_FONT_FOLDER]\n";
    return 2;
  }
  const std::string out = argv[1];
  const std::string fonts = argc == 3 ? argv[2] : "/usr/share/fonts/X11/misc";
  try {
    Fonts f{PcfFont::Load(fonts + "/5x8.pcf.gz"),
            PcfFont::Load(fonts + "/7x13B.pcf.gz"), PcfFont::Load(fonts + "/9x15B.pcf.gz")};
    const std::string play = "r2: 2-3; r3: 2-5; r4: 2-7; r5: 2-9; r6: 2-10; r7: 2-9; r8: 2-7; r9: 2-5; r10: 2-3";
    const std::string eq_mark = "r8: 11; r9: 9, 11; r10: 7, 9, 11; r11: 7, 9, 11";
    const std::vector<Bitmap> bitmaps = {
        {"picBackground", "background of the folder-browser screen", Background()},
        {"picEqBackground", "background of the equalizer screen", EqBackground()},
        {"picHelpBackground", "background of the help screen: all white", Picture(128, 64)},
        {"picStandbyBackground", "shown while the box is in standby", FullScreen(f, "Stand-by...")},
        {"picShutdownBackground", "shown when the box shuts down", FullScreen(f, "Shutdown...")},
        {"picServiceExitBackground", "shown when the program ends without shutdown", FullScreen(f, "Service Exit...")},
        {"picPlayWithoutEq", "play state: playing, equalizer off", FromTable(13, 13, play)},
        {"picPlayWithEq", "play state: playing, equalizer on", FromTable(13, 13, play + "; " + eq_mark)},
        {"picStopWithoutEq", "play state: stopped, equalizer off", FromTable(13, 13, "r2-r10: 2-10")},
        {"picStopWithEq", "play state: stopped, equalizer on",
         FromTable(13, 13, "r2-r6: 2-10; r7: 2-9; r8: 2-7, 11; r9: 2-5, 9, 11; r10: 2-5, 7, 9, 11; r11: 7, 9, 11")},
        {"picPauseWithoutEq", "play state: paused, equalizer off", FromTable(13, 13, "r2-r10: 2-4, 8-10")},
        {"picPauseWithEq", "play state: paused, equalizer on",
         FromTable(13, 13, "r2-r6: 2-4, 8-10; r7: 2-4; r8: 2-4, 11; r9: 2-4, 9, 11; r10: 2-4, 7, 9, 11; r11: 7, 9, 11")},
        {"picMp3", "source: MP3 folder tree",
         FromTable(13, 13, "r1: 3-9; r2: 2, 10; r3: 1, 11; r4: 1-2, 10-11; r5: 1, 3-9, 11; r6-r9: 1, 11; r10: 2, 10; r11: 3-9")},
        {"picCd", "source: audio CD ready",
         FromTable(13, 13,
                   "r1: 4-8; r2: 3, 9; r3: 2, 5-7, 10; r4: 1, 4, 8, 11; r5: 1, 3, 6, 9, 11; r6: 1, 3, 5, 7, 9, 11; "
                   "r7: 1, 3, 6, 9, 11; r8: 1, 4, 8, 11; r9: 2, 5-7, 10; r10: 3, 9; r11: 4-8")},
        {"picCdSearching", "source: searching for a CD",
         FromTable(13, 13,
                   "r1: 4-8; r2: 3, 9; r3: 2, 5-7, 10; r4: 1, 4, 8, 11; r5: 1, 8, 11; r6: 1, 7, 11; r7: 1, 6, 11; "
                   "r8: 1, 11; r9: 2, 6, 10; r10: 3, 9; r11: 4-8")},
        {"picCdNotAvailable", "source: no CD available",
         FromTable(13, 13,
                   "r0: 0, 12; r1: 0-1, 4-8, 11-12; r2: 1-3, 9-11; r3: 2-3, 5-7, 9-10; r4: 1, 3-4, 8-9, 11; "
                   "r5: 1, 3-9, 11; r6: 1, 3, 5-7, 9, 11; r7: 1, 3-9, 11; r8: 1, 3-4, 8-9, 11; r9: 2-3, 5-7, 9-10; "
                   "r10: 1-3, 9-11; r11: 0-1, 4-8, 11-12; r12: 0, 12")},
        {"picCursor", "cursor of the browser line", FromTable(3, 5, "r0: 0; r1: 0-1; r2: 0-2; r3: 0-1; r4: 0")},
    };
    for (const Bitmap& b : bitmaps) {
      const std::string path = out + "/" + b.name + ".pbm";
      std::ofstream file(path, std::ios::binary);
      file << lorvan::lcd::WritePbm(b.picture, {"Lorvan LCD bitmap " + b.name + ": " + b.role,
                                                 "Made by tools/bitmaps (lorvan-make-bitmaps); 1 is a dark pixel."});
      file.close();
      if (!file) {
        std::cerr << "lorvan-make-bitmaps: " << path << ": cannot write the file\n";
        return 1;
      }
    }
  } catch (const std::exception& e) {
    std::cerr << "lorvan-make-bitmaps: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
