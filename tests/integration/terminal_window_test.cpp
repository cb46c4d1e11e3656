// The lorvan program itself: its terminal window under tmux (send-keys, capture-pane) and
// its headless mode as a service runs it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "audio_files.h"
#include "hosts/linux/mpv_ipc.h"
#include "support/program_folder.h"

extern char** environ;

namespace lorvan::testing {
namespace {

std::string Shell(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

bool Eventually(const std::function<bool()>& cond, int timeout_ms = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (std::chrono::steady_clock::now() < end) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return cond();
}

// Ends the mpv of a test's socket (if one is still there), by its process id.
void KillPlayer(const std::string& socket) {
  linuxhost::MpvIpc ipc(socket);
  if (!ipc.Connect()) return;
  const auto reply = ipc.Command(linuxhost::Json::array({"get_property", "pid"}));
  if (reply && reply->contains("data") && (*reply)["data"].is_number_integer()) {
    ::kill((*reply)["data"].get<pid_t>(), SIGKILL);
  }
}

// A program folder whose player is mpv without sound, on a socket of its own.
Settings MpvSettings() {
  Settings s;
  s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null";
  return s;
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
  void Start(int cols, int rows) {
    const std::string cmd = std::string("LANG=C.UTF-8 ") + LORVAN_EXE + " --socket=" + folder.path() +
                            "/mpv.sock " + folder.path() + "; echo EXIT=$?; sleep 60";
    Shell("tmux new-session -d -s " + session + " -x " + std::to_string(cols) + " -y " + std::to_string(rows) +
        " '" + cmd + "'");
  }
  std::string Screen() { return Shell("tmux capture-pane -p -t " + session); }
  bool ScreenShows(const std::string& text) {
    return Eventually([&] { return Screen().find(text) != std::string::npos; });
  }
  void Keys(const std::string& keys) { Shell("tmux send-keys -t " + session + " " + keys); }

  ProgramFolder folder{MpvSettings()};
  std::string session;
};

TEST_F(TerminalWindowTest, ShowsTheWindowTakesKeysAndRedrawsOnResize) {
  Start(100, 32);
  ASSERT_TRUE(ScreenShows("0123456789 Jump")) << Screen();
  // The window may still be drawing when the first text shows: wait for each.
  for (const char* text : {"Lorvan - MP3 Home Player Control", "Play", "Pause", "Store current MP3",
                           "[ ] Show EQ", "TX Time:", "Status Line:", "Directory Files:", "Player:"}) {
    EXPECT_TRUE(ScreenShows(text)) << text << "\n" << Screen();
  }
  EXPECT_TRUE(ScreenShows("\u2800")) << "the LCD preview in braille";
  EXPECT_TRUE(ScreenShows("stopped")) << "the player came up";

  // The last key stroke shows below "Key:".
  const auto key_shown = [&](char c) {
    return Eventually([&] {
      const std::string sc = Screen();
      const size_t k = sc.find("Key:");
      const size_t line = sc.find('\n', k);
      return k != std::string::npos && sc.find(std::string(" ") + c + "\n", line) == sc.find('\n', line + 1) - 2;
    });
  };
  Keys("q");
  EXPECT_TRUE(key_shown('q')) << Screen();
  Keys("M-x");  // Alt plus the character is the same key stroke
  EXPECT_TRUE(key_shown('x')) << Screen();

  Shell("tmux resize-window -t " + session + " -x 60 -y 20");
  EXPECT_TRUE(ScreenShows("Terminal too small")) << Screen();
  Shell("tmux resize-window -t " + session + " -x 100 -y 32");
  EXPECT_TRUE(ScreenShows("0123456789 Jump")) << Screen();

  Keys("C-c");  // ends the program in order
  EXPECT_TRUE(ScreenShows("EXIT=0")) << Screen();
}

TEST_F(TerminalWindowTest, MessageBoxIsAnsweredWithEnter) {
  // A help page with more lines than fit: start-up says so in a message box.
  std::string help = "34\r\n";
  for (int i = 0; i < 12; ++i) help += "K" + std::to_string(i) + "\tline\r\n";
  folder.Write("Help.txt", help);
  Start(100, 32);
  ASSERT_TRUE(ScreenShows("OK (Enter)")) << Screen();
  EXPECT_NE(Screen().find("Help.txt"), std::string::npos);
  Keys("p");  // other keys do not answer the box
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_NE(Screen().find("OK (Enter)"), std::string::npos);
  Keys("Enter");
  EXPECT_TRUE(Eventually([&] { return Screen().find("OK (Enter)") == std::string::npos; })) << Screen();
  EXPECT_TRUE(ScreenShows("stopped")) << "start-up went on to the player";
}

TEST(HeadlessLorvan, RunsWithoutATerminalAndEndsOnSigterm) {
  if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
  ProgramFolder folder{MpvSettings()};
  std::string help = "34\r\n";
  for (int i = 0; i < 12; ++i) help += "K\tline\r\n";
  folder.Write("Help.txt", help);
  const std::string err = folder.path() + "/stderr.txt";
  const std::string socket = "--socket=" + folder.path() + "/mpv.sock";
  std::vector<std::string> args = {LORVAN_EXE, "--headless", socket, folder.path()};
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
  TempDir empty;
  const std::string failed = Shell(std::string(LORVAN_EXE) + " --headless " + empty.path() + " 2>&1; echo status=$?");
  EXPECT_NE(failed.find("start-up failed"), std::string::npos) << failed;
  EXPECT_NE(failed.find("status=1"), std::string::npos) << failed;
}

}  // namespace
}  // namespace lorvan::testing
