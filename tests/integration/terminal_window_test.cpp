// The lorvan program itself: its terminal window under tmux (send-keys, capture-pane) and
// its headless mode as a service runs it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "audio_files.h"
#include "process_helpers.h"
#include "support/program_folder.h"

extern char** environ;

namespace lorvan::testing {
namespace {

// A program folder whose player is mpv without sound, on a socket of its own.
Settings MpvSettings() {
  Settings s;
  s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null";
  return s;
}

// The LCD preview of a captured braille window as 64 lines of 128 "#" (dark) and "."
// characters; empty when the preview box is not on the screen.
std::vector<std::string> PreviewPixels(const std::string& screen) {
  std::vector<std::string> rows;
  std::stringstream lines(screen);
  std::string line;
  std::getline(lines, line);  // the box's top edge
  const std::string edge = "\u2502";
  for (int cell_row = 0; cell_row < 16 && std::getline(lines, line); ++cell_row) {
    size_t i = line.find(edge);
    if (i != 0) return {};
    i += edge.size();
    std::vector<std::string> band(4, std::string(128, '.'));
    for (int col = 0; col < 64; ++col, i += 3) {
      // U+2800 + dot bits, in UTF-8: E2 A0..A3 80..BF.
      if (i + 3 > line.size() || static_cast<unsigned char>(line[i]) != 0xE2) return {};
      const unsigned bits = ((static_cast<unsigned char>(line[i + 1]) & 0x03u) << 6) |
                            (static_cast<unsigned char>(line[i + 2]) & 0x3Fu);
      static const unsigned kDot[4][2] = {{0x01, 0x08}, {0x02, 0x10}, {0x04, 0x20}, {0x40, 0x80}};
      for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 2; ++c) {
          if (bits & kDot[r][c]) band[static_cast<size_t>(r)][static_cast<size_t>(2 * col + c)] = '#';
        }
      }
    }
    rows.insert(rows.end(), band.begin(), band.end());
  }
  return rows.size() == 64 ? rows : std::vector<std::string>{};
}

// The seconds of the status line's "MM:SS Min.Sec.", -1 when it is not there.
int ShownSeconds(const std::string& screen) {
  std::smatch m;
  if (!std::regex_search(screen, m, std::regex("(\\d+):(\\d+) Min\\.Sec\\."))) return -1;
  return std::stoi(m[1]) * 60 + std::stoi(m[2]);
}

class TerminalWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("tmux").empty()) GTEST_SKIP() << "tmux is not installed";
    if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
    session = "lorvan-test-" + std::to_string(getpid());
  }
  void TearDown() override {
    if (!session.empty()) Shell("tmux kill-session -t " + session + " 2>/dev/null");
    KillPlayer(folder.path() + "/mpv.sock");
  }
  void Start(int cols, int rows, const std::string& options = "") {
    const std::string cmd = std::string("LANG=C.UTF-8 ") + LORVAN_EXE + " --socket=" + folder.path() + "/mpv.sock " +
                            options + " " + folder.path() + "; echo EXIT=$?; sleep 60";
    Shell("tmux new-session -d -s " + session + " -x " + std::to_string(cols) + " -y " + std::to_string(rows) +
        " '" + cmd + "'");
  }
  std::string Screen() { return Shell("tmux capture-pane -p -t " + session); }
  bool ScreenShows(const std::string& text) {
    return Eventually([&] { return Screen().find(text) != std::string::npos; });
  }
  void Keys(const std::string& keys) { Shell("tmux send-keys -t " + session + " " + keys); }
  // The last key stroke shows at the end of the line below "Key:".
  static bool KeyShown(const std::string& screen, const std::string& key) {
    const size_t label = screen.find("Key:");
    if (label == std::string::npos) return false;
    const size_t start = screen.find('\n', label);
    const size_t end = start == std::string::npos ? start : screen.find('\n', start + 1);
    if (end == std::string::npos) return false;
    const std::string line = screen.substr(start + 1, end - start - 1);
    return line.size() > key.size() && line.compare(line.size() - key.size() - 1, key.size() + 1, " " + key) == 0;
  }

  ProgramFolder folder{MpvSettings()};
  std::string session;
};

TEST_F(TerminalWindowTest, ShowsTheWindowTakesKeysAndRedrawsOnResize) {
  // A panel port that is not there leaves the virtual panel, and says so once.
  Start(100, 32, "--port=/nonexistent/parport7");
  ASSERT_TRUE(ScreenShows("0123456789 Jump")) << Screen();
  EXPECT_TRUE(ScreenShows("no LCD port: /nonexistent/parport7: No such file or directory")) << Screen();
  EXPECT_TRUE(ScreenShows("virtual")) << Screen();
  // The window may still be drawing when the first text shows: wait for each.
  for (const char* text : {"Lorvan - MP3 Home Player Control", "Play", "Pause", "Store current MP3",
                           "[ ] Show EQ", "TX Time:", "Status Line:", "Directory Files:", "Player:"}) {
    EXPECT_TRUE(ScreenShows(text)) << text << "\n" << Screen();
  }
  EXPECT_TRUE(ScreenShows("\u2800")) << "the LCD preview in braille";
  EXPECT_TRUE(ScreenShows("stopped")) << "the player came up";

  const auto key_shown = [&](const std::string& key) { return Eventually([&] { return KeyShown(Screen(), key); }); };
  Keys("q");
  EXPECT_TRUE(key_shown("q")) << Screen();
  EXPECT_TRUE(Eventually([&] { return Screen().find("no LCD port") == std::string::npos; }))
      << "a key stroke dismisses the note\n"
      << Screen();
  Keys("M-x");  // Alt plus the character is the same key stroke
  EXPECT_TRUE(key_shown("x")) << Screen();

  Shell("tmux resize-window -t " + session + " -x 60 -y 20");
  EXPECT_TRUE(ScreenShows("Terminal too small")) << Screen();
  Shell("tmux resize-window -t " + session + " -x 100 -y 32");
  EXPECT_TRUE(ScreenShows("0123456789 Jump")) << Screen();

  Keys("C-c");  // ends the program in order
  EXPECT_TRUE(ScreenShows("EXIT=0")) << Screen();
}

// What the README's run command does, in short: the browser on the LCD preview exactly as the
// panel shows it, a track played through mpv with its time running, the next one, and the
// five exit strokes that end the program with the settings file rewritten.
TEST_F(TerminalWindowTest, PlaysTheNextTrackAndEndsWithFiveExitStrokes) {
  WriteSineWav(folder.music_root() + "First.wav", 30.0, 440);
  WriteSineWav(folder.music_root() + "Second.wav", 30.0, 660);
  // The browser of this folder as the simulated machine's panel shows it.
  const ScenarioResult sim = RunScenario(folder.path(), "start\nwait 100\ndump lcd\n");
  ASSERT_EQ(sim.exit_status, 0) << sim.err;
  const std::vector<std::string> browser = sim.OutLines();
  ASSERT_EQ(browser.size(), 64u) << sim.out;
  const std::string settings_before = folder.Read("Lorvan.ini");

  Start(100, 32, "--log=" + folder.path() + "/lorvan.log");
  EXPECT_TRUE(Eventually([&] { return PreviewPixels(Screen()) == browser; }))
      << "the preview shows the panel's browser\n"
      << Screen();

  Keys("p");
  ASSERT_TRUE(ScreenShows("playing")) << Screen();
  EXPECT_TRUE(ScreenShows("File 01 of 02")) << Screen();
  int first_seconds = -1;
  ASSERT_TRUE(Eventually([&] { return (first_seconds = ShownSeconds(Screen())) >= 0; })) << Screen();
  EXPECT_TRUE(Eventually([&] { return ShownSeconds(Screen()) >= first_seconds + 2; }))
      << "the time runs in the status line\n"
      << Screen();
  EXPECT_TRUE(Eventually([&] { return PreviewPixels(Screen()) != browser; })) << "the panel shows the playing track";

  Keys("n");
  EXPECT_TRUE(ScreenShows("File 02 of 02")) << Screen();
  EXPECT_TRUE(ScreenShows("playing")) << Screen();

  // The player dies; the link starts it again, and the way out closes that one.
  const std::string socket = folder.path() + "/mpv.sock";
  const pid_t first_player = PlayerPid(socket);
  ASSERT_GT(first_player, 0);
  ::kill(first_player, SIGKILL);
  pid_t second_player = 0;
  EXPECT_TRUE(Eventually([&] { return (second_player = PlayerPid(socket)) > 0 && second_player != first_player; }))
      << folder.Read("lorvan.log");

  Keys("x x x x x");  // five strokes well within the two seconds
  ASSERT_TRUE(ScreenShows("EXIT=0")) << Screen();
  const std::string settings_after = folder.Read("Lorvan.ini");
  EXPECT_NE(settings_after, settings_before);
  std::vector<std::string> values;
  std::stringstream lines(settings_after);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("//") == std::string::npos) values.push_back(line);
  }
  ASSERT_EQ(values.size(), 56u) << settings_after;
  EXPECT_NE(values[9], "-1\r") << "the bookmark holds the playing track's position";
  EXPECT_EQ(PlayerPid(socket), 0) << "the player ended with the program";
  EXPECT_NE(::kill(second_player, 0), 0) << "the restarted mpv is gone";
  const std::string log = folder.Read("lorvan.log");
  EXPECT_EQ(log.find("cannot be activated"), std::string::npos) << log;
  EXPECT_EQ(log.find("did not quit"), std::string::npos) << "Alt+F4 reached the restarted player\n" << log;
}

TEST_F(TerminalWindowTest, MessageBoxIsAnsweredWithEnter) {
  // A help page with more lines than fit: start-up says so in a message box.
  std::string help = "34\r\n";
  for (int i = 0; i < 12; ++i) help += "K" + std::to_string(i) + "\tline\r\n";
  folder.Write("Help.txt", help);
  Start(100, 32);
  ASSERT_TRUE(ScreenShows("OK (Enter)")) << Screen();
  EXPECT_NE(Screen().find("Help.txt"), std::string::npos);
  // Another key before Enter does not answer the box: both go to the box, none to the window
  // (had "p" answered it, Enter would have come to the window as a key stroke).
  Keys("p Enter");
  EXPECT_TRUE(Eventually([&] { return Screen().find("OK (Enter)") == std::string::npos; })) << Screen();
  EXPECT_TRUE(ScreenShows("stopped")) << "start-up went on to the player";
  EXPECT_FALSE(KeyShown(Screen(), "Enter") || KeyShown(Screen(), "p")) << Screen();
}

TEST(HeadlessLorvan, RunsWithoutATerminalAndEndsOnSigterm) {
  if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
  ProgramFolder folder{MpvSettings()};
  std::string help = "34\r\n";
  for (int i = 0; i < 12; ++i) help += "K\tline\r\n";
  folder.Write("Help.txt", help);
  const std::string err = folder.path() + "/stderr.txt";
  const std::string socket = "--socket=" + folder.path() + "/mpv.sock";
  std::vector<std::string> args = {LORVAN_EXE, "--headless", socket, "--port=/nonexistent/parport7", folder.path()};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&fa);

  EXPECT_TRUE(Eventually([&] { return folder.Read("stderr.txt").find("running;") != std::string::npos; }))
      << folder.Read("stderr.txt");
  const std::string log = folder.Read("stderr.txt");
  EXPECT_NE(log.find("message box \"Lorvan\""), std::string::npos) << "message boxes are logged and go on";
  EXPECT_NE(log.find("no LCD port: /nonexistent/parport7"), std::string::npos) << "the virtual panel takes over";
  ::kill(pid, SIGTERM);
  int status = 0;
  ASSERT_TRUE(Eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }));
  EXPECT_TRUE(WIFEXITED(status)) << folder.Read("stderr.txt");
  EXPECT_EQ(WEXITSTATUS(status), 0) << folder.Read("stderr.txt");
  KillPlayer(socket.substr(9));
}

TEST(LorvanCommandLine, BadOptionsAndFoldersAreNamed) {
  const std::string out = Shell(std::string(LORVAN_EXE) + " --bogus /tmp 2>&1; echo status=$?");
  EXPECT_NE(out.find("unknown option --bogus"), std::string::npos) << out;
  EXPECT_NE(out.find("status=2"), std::string::npos);
  const std::string missing = Shell(std::string(LORVAN_EXE) + " --headless /nonexistent/box 2>&1; echo status=$?");
  EXPECT_NE(missing.find("/nonexistent/box: no such program folder"), std::string::npos) << missing;
  ProgramFolder no_bitmaps;
  std::filesystem::remove_all(no_bitmaps.path() + "/Bitmaps");
  const std::string failed = Shell(std::string(LORVAN_EXE) + " --headless " + no_bitmaps.path() + " 2>&1; echo status=$?");
  EXPECT_NE(failed.find("start-up failed"), std::string::npos) << failed;
  EXPECT_NE(failed.find("status=1"), std::string::npos) << failed;
}

}  // namespace
}  // namespace lorvan::testing
