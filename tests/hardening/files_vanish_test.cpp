// The help file and the font files vanishing while the box runs: the screens go on being
// drawn; at most the text changes, and it comes back with the files.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "hardening/hard_box.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;

using Frame = std::vector<std::string>;

Frame PanelFrame(HardBox& b) {
  Frame f(lcd::kLcdHeight, std::string(lcd::kLcdWidth, '.'));
  for (int y = 0; y < lcd::kLcdHeight; ++y)
    for (int x = 0; x < lcd::kLcdWidth; ++x)
      if (b.world().port.panel.Pixel(x, y)) f[y][x] = '#';
  return f;
}

// The browser screen without its text: the cursor column, the progress box and the symbols.
Frame WithoutText(Frame f) {
  for (int y = 0; y < lcd::kLcdHeight; ++y) {
    for (int x = 0; x < lcd::kLcdWidth; ++x) {
      const bool cursor = x < 4 && y < 50;
      const bool progress = y >= 50 && y <= 56;
      const bool symbols = x >= 101 && y >= 51;
      if (!cursor && !progress && !symbols) f[y][x] = ' ';
    }
  }
  return f;
}

// Whether any pixel of the rows is dark from column first_x on.
bool HasInk(const Frame& f, int first_row, int last_row, int first_x) {
  for (int y = first_row; y <= last_row; ++y)
    if (f[y].find('#', static_cast<size_t>(first_x)) != std::string::npos) return true;
  return false;
}

TEST(VanishingFiles, FilesThatGoChangeNoMoreThanTheTextAndComeBackWithTheirFiles) {
  const std::string normal = "Fonts/Normal.fnt", small = "Fonts/Small.fnt";
  struct Case {
    const char* name;
    std::vector<std::string> files;
    char stand_in;  // what takes the name meanwhile: nothing, a folder, a named pipe
  } cases[] = {
      // The help file is read once: its pages stay when it goes.
      {"help file deleted", {"Help.txt"}, 0},
      {"normal font deleted", {normal}, 0},
      {"small font deleted", {small}, 0},
      {"both fonts deleted", {normal, small}, 0},
      {"both fonts replaced by folders", {normal, small}, 'd'},
      // Nothing ever writes into the pipe: opening it to read would wait for ever.
      {"both fonts replaced by named pipes", {normal, small}, 'p'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    b.Write("Music/Some song.mp3");
    b.Write("Music/Another one.mp3");
    std::map<std::string, Frame> frames;
    for (const char* name : {"shown", "first_help", "gone", "equalizer", "help", "back"}) {
      b.Probe(name, [&b, &frames, name] {
        frames[name] = PanelFrame(b);
        EXPECT_TRUE(b.PanelShowsPicture()) << name;
      });
    }
    b.Probe("take", [&] {
      for (const auto& f : c.files) {
        const std::string path = b.dir() + "/" + f;
        ASSERT_EQ(std::rename(path.c_str(), (path + ".away").c_str()), 0);
        if (c.stand_in == 'd') fs::create_directory(path);
        if (c.stand_in == 'p') {
          ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        }
      }
    });
    b.Probe("giveback", [&] {
      for (const auto& f : c.files) {
        const std::string path = b.dir() + "/" + f;
        if (c.stand_in != 0) fs::remove(path);
        ASSERT_EQ(std::rename((path + ".away").c_str(), path.c_str()), 0);
      }
    });
    const auto help = [](const std::string& probe) {
      return "key H\nwait 100\nprobe " + probe + "\nkey H\nkey H\nkey H\nwait 100\n";
    };
    ASSERT_EQ(b.Run("start\nwait 100\nprobe shown\n" + help("first_help") + "probe take\nwait 100\nprobe gone\n" +
                    "key E\nwait 100\nprobe equalizer\nkey E\n" + help("help") + "probe giveback\nwait 100\nprobe back\n"),
              0)
        << b.err.str();
    EXPECT_EQ(WithoutText(frames["gone"]), WithoutText(frames["shown"]));
    // The glyph table keeps what the files gave it before: the lines are still written.
    EXPECT_TRUE(HasInk(frames["gone"], 10, 17, 4)) << "the first browser line";
    EXPECT_TRUE(HasInk(frames["gone"], 58, 63, 0)) << "the status line";
    EXPECT_TRUE(HasInk(frames["help"], 0, 7, 0)) << "the first help line";
    EXPECT_EQ(frames["back"], frames["shown"]);
    if (c.stand_in == 0 && c.files.size() == 1 && c.files[0] == "Help.txt") {
      EXPECT_EQ(frames["gone"], frames["shown"]);
      EXPECT_EQ(frames["help"], frames["first_help"]);
    }
    EXPECT_TRUE(b.form().Running());
  }
}

}  // namespace
}  // namespace lorvan::testing
