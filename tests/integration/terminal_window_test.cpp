// The lorvan program itself: its terminal window under tmux (send-keys, capture-pane) and the
// player its settings line names. (Its headless mode runs in web_page_test.cpp.)
#include <gtest/gtest.h>
#include <signal.h>

#include <regex>
#include <sstream>

#include "audio_files.h"
#include "hosts/linux/lcd_preview.h"
#include "hosts/linux/setup.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace lorvan::testing {
namespace {

// Whether the screen's LCD preview (braille in a box at the top left) shows the picture.
bool PreviewShows(const std::string& screen, const std::vector<std::string>& picture) {
  const auto rows = linuxhost::RenderPreview([&](int x, int y) { return picture[y][x] == '#'; }, 128, 64,
                                             linuxhost::PreviewStyle::kBraille);
  std::istringstream lines(screen);
  size_t matched = 0;
  for (std::string line; matched < rows.size() && std::getline(lines, line);) {
    matched = line.rfind("\u2502" + rows[matched] + "\u2502", 0) == 0 ? matched + 1 : 0;
  }
  return matched == rows.size();
}

// The last key stroke shows at the end of the line below "Key:".
bool KeyShown(const std::string& screen, const std::string& key) {
  return std::regex_search(screen, std::regex("Key:[^\n]*\n[^\n]* " + key + "\n"));
}

// A program folder whose player is mpv without sound, on the socket its command line names
// (a path with a space, apart from the program folder).
class LorvanProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("tmux").empty() || FindProgram("mpv").empty()) GTEST_SKIP() << "needs tmux and mpv";
  }
  void TearDown() override {
    terminal.reset();
    KillPlayer(socket);
  }
  void Start(const std::string& options = "") {
    terminal = std::make_unique<Terminal>(std::string("LANG=C.UTF-8 ") + LORVAN_EXE + " " + options + " " + folder.path(),
                                          100, 32);
  }

  TempDir run;
  const std::string socket = run.path() + "/own player.sock";
  ProgramFolder folder{[this] {
    Settings s;
    s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null '--input-ipc-server=" + socket + "'";
    return s;
  }()};
  std::unique_ptr<Terminal> terminal;
};

TEST_F(LorvanProgram, ShowsTheWindowTakesKeysAndRedrawsOnResize) {
  // A panel port that is not there leaves the virtual panel, and says so once.
  Start("--port=/nonexistent/parport7");
  ASSERT_TRUE(terminal->Shows("0123456789 Jump")) << terminal->Screen();
  // The window may still be drawing when the first text shows: wait for each.
  for (const char* text : {"no LCD port: /nonexistent/parport7: No such file or directory", "virtual",
                           "Lorvan - MP3 Home Player Control", "Play", "Pause", "Store current MP3", "[ ] Show EQ",
                           "TX Time:", "Status Line:", " total", " kbs", "Directory Files:", "Player:", "\u2800",
                           "stopped"}) {
    EXPECT_TRUE(terminal->Shows(text)) << text << "\n" << terminal->Screen();
  }
  terminal->Keys("q");
  EXPECT_TRUE(Eventually([&] { return KeyShown(terminal->Screen(), "q"); })) << terminal->Screen();
  EXPECT_TRUE(Eventually([&] { return terminal->Screen().find("no LCD port") == std::string::npos; }))
      << "a key stroke dismisses the note\n" << terminal->Screen();
  terminal->Keys("M-x");  // Alt plus the character is the same key stroke
  EXPECT_TRUE(Eventually([&] { return KeyShown(terminal->Screen(), "x"); })) << terminal->Screen();

  terminal->Resize(60, 20);
  EXPECT_TRUE(terminal->Shows("Terminal too small")) << terminal->Screen();
  terminal->Resize(100, 32);
  EXPECT_TRUE(terminal->Shows("0123456789 Jump")) << terminal->Screen();
  terminal->Keys("C-c");  // ends the program in order
  EXPECT_TRUE(terminal->Shows("EXIT=0")) << terminal->Screen();
}

// What the README's run command does, in short: the browser on the LCD preview exactly as the
// panel shows it, a track played through mpv with its time running, the next one, and the
// five exit strokes that end the program with the settings file rewritten.
TEST_F(LorvanProgram, PlaysTheNextTrackAndEndsWithFiveExitStrokes) {
  WriteSineWav(folder.music_root() + "First.wav", 30.0, 440);
  WriteSineWav(folder.music_root() + "Second.wav", 30.0, 660);
  EXPECT_EQ(Shell(std::string(LORVAN_EXE) + " --print-socket " + folder.path()), socket + "\n");
  // The browser of this folder as the simulated machine's panel shows it.
  const ScenarioResult sim = RunScenario(folder.path(), "start\nwait 100\ndump lcd\n");
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  const std::vector<std::string> browser = sim.OutLines();
  ASSERT_EQ(browser.size(), 64u) << sim.out;
  const std::string settings_before = folder.Read("Lorvan.ini");

  Start("--log=" + folder.path() + "/lorvan.log");
  EXPECT_TRUE(Eventually([&] { return PreviewShows(terminal->Screen(), browser); }))
      << "the preview shows the panel's browser\n" << terminal->Screen();
  terminal->Keys("p");
  ASSERT_TRUE(terminal->Shows("playing")) << terminal->Screen();
  EXPECT_TRUE(terminal->Shows("File 01 of 02")) << terminal->Screen();
  int first_seconds = -1;
  ASSERT_TRUE(Eventually([&] { return (first_seconds = ShownSeconds(terminal->Screen())) >= 0; }));
  EXPECT_TRUE(Eventually([&] { return ShownSeconds(terminal->Screen()) >= first_seconds + 2; }))
      << "the time runs in the status line\n" << terminal->Screen();
  EXPECT_FALSE(PreviewShows(terminal->Screen(), browser)) << "the panel shows the playing track";

  terminal->Keys("n");
  EXPECT_TRUE(terminal->Shows("File 02 of 02")) << terminal->Screen();
  EXPECT_TRUE(terminal->Shows("playing")) << terminal->Screen();

  // The player dies; the link starts it again, and the way out closes that one.
  const pid_t first_player = PlayerPid(socket);
  ASSERT_GT(first_player, 0);
  ::kill(first_player, SIGKILL);
  pid_t second_player = 0;
  EXPECT_TRUE(Eventually([&] { return (second_player = PlayerPid(socket)) > 0 && second_player != first_player; }))
      << folder.Read("lorvan.log");

  terminal->Keys("x x x x x");  // five strokes well within the two seconds
  ASSERT_TRUE(terminal->Shows("EXIT=0")) << terminal->Screen();
  const std::string settings_after = folder.Read("Lorvan.ini");
  EXPECT_NE(settings_after, settings_before);
  const auto values = linuxhost::ValueLines(settings_after);
  ASSERT_EQ(values.size(), 56u) << settings_after;
  EXPECT_NE(values[9], "-1") << "the bookmark holds the playing track's position";
  EXPECT_EQ(PlayerPid(socket), 0) << "the player ended with the program";
  EXPECT_NE(::kill(second_player, 0), 0) << "the restarted mpv is gone";
  const std::string log = folder.Read("lorvan.log");
  EXPECT_EQ(log.find("cannot be activated"), std::string::npos) << log;
  EXPECT_EQ(log.find("did not quit"), std::string::npos) << "Alt+F4 reached the restarted player\n" << log;
}

TEST_F(LorvanProgram, MessageBoxIsAnsweredWithEnter) {
  // A help page with more lines than fit: start-up says so in a message box.
  std::string help = "34\r\n";
  for (int i = 0; i < 12; ++i) help += "K" + std::to_string(i) + "\tline\r\n";
  folder.Write("Help.txt", help);
  Start();
  ASSERT_TRUE(terminal->Shows("OK (Enter)")) << terminal->Screen();
  EXPECT_NE(terminal->Screen().find("Help.txt"), std::string::npos);
  // Another key before Enter does not answer the box: both go to the box, none to the window
  // (had "p" answered it, Enter would have come to the window as a key stroke).
  terminal->Keys("p Enter");
  EXPECT_TRUE(Eventually([&] { return terminal->Screen().find("OK (Enter)") == std::string::npos; }));
  EXPECT_TRUE(terminal->Shows("stopped")) << "start-up went on to the player";
  EXPECT_FALSE(KeyShown(terminal->Screen(), "Enter") || KeyShown(terminal->Screen(), "p")) << terminal->Screen();
}

}  // namespace
}  // namespace lorvan::testing
