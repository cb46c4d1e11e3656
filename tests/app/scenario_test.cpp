// The panel in whole-program scenarios: what lorvan-sim's dumps show after start-up and keys.
#include <filesystem>
#include <fstream>

#include "app/help_file.h"
#include "lcd_fixture.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;

using Screen = std::vector<std::string>;  // 64 lines of 128 characters

// The sample program folder, copied so that the run leaves the repository alone.
class SampleFolder : public TempDir {
 public:
  SampleFolder() {
    fs::copy(fs::path(LORVAN_DATA_DIR) / "sample", path(), fs::copy_options::recursive);
  }
};

// The dumps of a run, in order: each `dump lcd` or `dump picture` is 64 lines.
std::vector<Screen> Screens(const ScenarioResult& r) {
  const std::vector<std::string> lines = r.OutLines();
  std::vector<Screen> screens;
  for (size_t i = 0; i + 64 <= lines.size(); i += 64) screens.emplace_back(lines.begin() + i, lines.begin() + i + 64);
  return screens;
}

bool Ink(const Screen& s, int x0, int y0, int x1, int y1) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (s[y][x] == '#') return true;
  return false;
}

void ExpectPasted(const Screen& s, const lcd::Picture& bitmap, int x, int y) {
  for (int r = 1; r < bitmap.Height(); ++r)
    for (int c = 1; c < bitmap.Width(); ++c)
      EXPECT_EQ(s[y + r][x + c] == '#', lcd::IsSetPixel(bitmap.Point(c, r))) << "(" << x + c << ", " << y + r << ")";
}

class Scenario : public ::testing::Test {
 protected:
  Scenario() { pictures.Load(world.files, world.program_dir); }
  SampleFolder folder;
  sim::SimWorld world{folder.path()};
  lcd::frmPictures pictures;
};

TEST_F(Scenario, StartShowsTheBrowserThenKeysShowEqualizerAndHelp) {
  const ScenarioResult r = RunScenario(folder.path(),
                                       "dump lcd\n"
                                       "start\nwait 30\ndump lcd\ndump picture\n"
                                       "key E\nwait 30\ndump lcd\ndump picture\n"
                                       "key E\nkey H\nwait 30\ndump lcd\ndump picture\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const std::vector<Screen> s = Screens(r);
  ASSERT_EQ(s.size(), 7u);
  EXPECT_EQ(s[0], Screen(64, std::string(128, '.'))) << "the display is off before start-up";
  for (size_t i : {1, 3, 5}) EXPECT_EQ(s[i], s[i + 1]) << "the panel shows the picture, screen " << i;

  // The browser with its frame, the sample's entries, the status line and the MP3 symbol.
  const Screen& browser = s[1];
  EXPECT_EQ(browser[8], std::string(128, '#'));
  EXPECT_TRUE(Ink(browser, 4, 10, 99, 17)) << "entries";
  EXPECT_TRUE(Ink(browser, 0, 58, 99, 63)) << "status line";
  ExpectPasted(browser, pictures.picMp3, 101, 51);

  const Screen& eq = s[3];
  for (int y = 1; y <= 55; ++y) {
    EXPECT_EQ(eq[y][120], '#');
    EXPECT_EQ(eq[y][0], '#') << "frame of band 0";
  }
  EXPECT_FALSE(Ink(eq, 11, 8, 119, 8)) << "no rule of the browser";

  // The first help page as the sample help file holds it.
  app::SharedState help;
  app::ReadHelpFile(help, world.files, folder.path() + "/Help.txt");
  lcd::gLCD g(world.platform);
  ASSERT_TRUE(g.LoadFont(folder.path() + "/Fonts/Normal.fnt"));
  lcd::Picture expected;
  for (int l = 0; l < 8; ++l) {
    g.DrawText(expected, help.gsHelpText[0][l][0], 0, 9 * l);
    g.DrawText(expected, help.gsHelpText[0][l][1], help.giHelpColumnX, 9 * l);
  }
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_EQ(s[5][y][x] == '#', lcd::IsSetPixel(expected.Point(x, y))) << x << "," << y;
}

TEST_F(Scenario, PortDumpShowsInitThenWholeFrames) {
  const ScenarioResult r = RunScenario(folder.path(),
                                       "start\ndump port\n"
                                       "wait 30\ndump port\n"
                                       "click chkInverted\ndump port\n"
                                       "wait 20\ndump port\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  const std::vector<std::string> lines = r.OutLines();
  ASSERT_EQ(lines.size(), 6u + 3120 + 3120);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
            (std::vector<std::string>{"888 63", "890 12", "890 13", "888 192", "890 12", "890 13"}));
  // The first data byte of the first frame and the same byte inverted one frame later.
  const std::string first_data = lines[6 + 6];
  const std::string inverted = lines[6 + 3120 + 6];
  const int v = std::stoi(first_data.substr(4));
  EXPECT_EQ(inverted, "888 " + std::to_string(255 - v));
  EXPECT_EQ(lines[6], "888 184");
  EXPECT_EQ(lines[6 + 3], "888 64");
}

TEST_F(Scenario, PngShowsThePanelFourTimesEnlarged) {
  const std::string png = folder.path() + "/panel.png";
  const ScenarioResult r = RunScenario(folder.path(), "start\nwait 30\ndump png " + png + "\n");
  ASSERT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  std::ifstream in(png, std::ios::binary);
  std::string head(24, '\0');
  in.read(head.data(), 24);
  ASSERT_TRUE(in);
  EXPECT_EQ(head.substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto be32 = [&](size_t at) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(head[at])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(head[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(head[at + 2])) << 8) | static_cast<uint8_t>(head[at + 3]);
  };
  EXPECT_EQ(be32(16), 512u);
  EXPECT_EQ(be32(20), 256u);

  const ScenarioResult bad = RunScenario(folder.path(), "dump png " + folder.path() + "/no/such/folder/x.png\n");
  EXPECT_EQ(bad.exit_status, 0);
  EXPECT_NE(bad.err.find("no/such/folder/x.png: cannot write"), std::string::npos) << bad.err;
  EXPECT_EQ(RunScenario(folder.path(), "dump png\n").exit_status, 2);
  EXPECT_EQ(RunScenario(folder.path(), "dump lcd now\n").exit_status, 2);
}

}  // namespace
}  // namespace lorvan::testing
