// A new user's first run on Linux: the player's socket as the settings name it, a program
// folder laid out by --setup, and a folder without settings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "audio_files.h"
#include "hosts/linux/command_line.h"
#include "hosts/linux/mpv_ipc.h"
#include "hosts/linux/options.h"
#include "hosts/linux/setup.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace fs = std::filesystem;

namespace lorvan::testing {
namespace {

std::string Lorvan(const std::string& args, const std::string& environment = "") {
  return Shell(environment + " " + LORVAN_EXE + " " + args + " 2>&1; echo status=$?");
}

// The value lines of a settings text.
std::vector<std::string> Values(const std::string& text) {
  std::vector<std::string> values;
  std::stringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("//") == std::string::npos) values.push_back(line);
  }
  return values;
}

// Every file below a folder with its bytes.
std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    const std::string rel = fs::relative(e.path(), dir.path()).string();
    files[rel] = e.is_regular_file() ? dir.Read(rel) : "<folder>";
  }
  return files;
}

TEST(PlayerSocket, TheSettingsLineNamesItAndTheCommandLineOverrides) {
  TempDir dir;
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const std::string own = dir.path() + "/own.sock";
  struct Case {
    std::string line, option, socket;
    bool note;
  } cases[] = {
      {"mpv --idle=yes --input-ipc-server=" + own, "", own, false},
      {"mpv --input-ipc-server=player.sock --no-video", "", dir.path() + "/player.sock", false},
      {"mpv --input-ipc-server=~/box.sock", "", home + "/box.sock", false},
      {"mpv --input-ipc-server=/tmp/a.sock --input-ipc-server=/tmp/b.sock", "", "/tmp/b.sock", false},
      {"mpv --idle=yes", "", linuxhost::DefaultSocketPath(dir.path()), false},
      {"Winamp.exe --input-ipc-server=/tmp/a.sock", "", linuxhost::DefaultSocketPath(dir.path()), false},
      {"mpv --input-ipc-server=" + own, "/run/box/p.sock", "/run/box/p.sock", true},
      {"mpv --input-ipc-server=/run/box/p.sock", "/run/box/p.sock", "/run/box/p.sock", false},
      {"mpv --idle=yes", "/run/box/p.sock", "/run/box/p.sock", false},
  };
  for (const Case& c : cases) {
    Settings s;
    s[1] = c.line;
    dir.Write("Lorvan.ini", s.Text({"// the player --input-ipc-server=/not/this.sock"}));
    const auto chosen = linuxhost::ChoosePlayerSocket(c.option, dir.path());
    EXPECT_EQ(chosen.path, c.socket) << c.line << " / " << c.option;
    EXPECT_EQ(!chosen.note.empty(), c.note) << c.line << " / " << c.option << ": " << chosen.note;
  }
  std::filesystem::remove(dir.path() + "/Lorvan.ini");
  EXPECT_EQ(linuxhost::ChoosePlayerSocket("", dir.path()).path, linuxhost::DefaultSocketPath(dir.path()));
}

TEST(SetupOptions, FoldersGoWithSetup) {
  const auto o = linuxhost::ParseOptions({"--setup", "box", "--music=/srv/music", "--cd=/dev/sr1"});
  EXPECT_TRUE(o.setup);
  EXPECT_EQ(o.setup_music, "/srv/music");
  EXPECT_EQ(o.setup_cd, "/dev/sr1");
  EXPECT_THROW(linuxhost::ParseOptions({"box", "--music=/srv/music"}), std::invalid_argument);
  EXPECT_THROW(linuxhost::ParseOptions({"--setup", "box", "--cd="}), std::invalid_argument);
}

// The box in a terminal (tmux), without --socket: it finds the player where the settings say.
class FirstRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("tmux").empty()) GTEST_SKIP() << "tmux is not installed";
    if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
    session = "lorvan-setup-" + std::to_string(getpid());
  }
  void TearDown() override {
    if (!session.empty()) Shell("tmux kill-session -t " + session + " 2>/dev/null");
    if (!socket.empty()) KillPlayer(socket);
  }
  std::string Screen() { return Shell("tmux capture-pane -p -t " + session); }
  bool ScreenShows(const std::string& text, int timeout_ms = 10000) {
    return Eventually([&] { return Screen().find(text) != std::string::npos; }, timeout_ms);
  }
  // Starts the box on the folder, plays the first track and ends the box with Ctrl+C.
  void StartPlayAndEnd(const std::string& dir, const std::string& track) {
    socket = Shell(std::string(LORVAN_EXE) + " --print-socket " + dir);
    ASSERT_FALSE(socket.empty());
    socket.pop_back();
    const std::string cmd = std::string("LANG=C.UTF-8 ") + LORVAN_EXE + " " + dir + "; echo EXIT=$?; sleep 60";
    Shell("tmux new-session -d -s " + session + " -x 100 -y 32 '" + cmd + "'");
    // A player that listens elsewhere leaves "no window" for 30 s; this one comes at once.
    ASSERT_TRUE(ScreenShows("stopped", 20000)) << Screen();
    Shell("tmux send-keys -t " + session + " p");
    linuxhost::MpvIpc ipc(socket);
    const auto property = [&](const char* name) {
      const auto reply = ipc.Connect() ? ipc.Command(linuxhost::Json::array({"get_property", name})) : std::nullopt;
      return reply && reply->contains("data") ? (*reply)["data"] : linuxhost::Json();
    };
    EXPECT_TRUE(Eventually([&] {
      const auto path = property("path");
      const auto pos = property("time-pos");
      return path.is_string() && path.get<std::string>().ends_with(track) && pos.is_number() &&
             pos.get<double>() >= 1.0;
    }, 20000)) << "the player on " << socket << " plays " << track << "\n" << Screen();
    Shell("tmux send-keys -t " + session + " C-c");
    EXPECT_TRUE(ScreenShows("EXIT=0")) << Screen();
  }
  std::string session;
  std::string socket;
};

TEST_F(FirstRun, APlayerLineWithItsOwnSocketStartsAndPlays) {
  TempDir run;  // a short path for the socket, apart from the program folder
  const std::string own = run.path() + "/own player.sock";
  Settings s;
  s[1] = "mpv --idle=yes --no-video --no-terminal --ao=null '--input-ipc-server=" + own + "'";
  ProgramFolder folder(s);
  WriteSineWav(folder.music_root() + "Tone.wav", 30.0, 440);
  EXPECT_EQ(Shell(std::string(LORVAN_EXE) + " --print-socket " + folder.path()), own + "\n");
  StartPlayAndEnd(folder.path(), "Tone.wav");
  EXPECT_EQ(socket, own);
}

TEST_F(FirstRun, SetupMakesAnEmptyFolderABoxThatPlays) {
  TempDir top;
  const std::string songs = top.Mkdir("songs");
  WriteSineWav(songs + "Tune.wav", 30.0, 523);
  const std::string box = top.path() + "/box";
  const std::string out = Lorvan("--setup " + box + " --music=" + top.path() + "//songs --cd='~/cd'", "HOME=" + top.path());
  ASSERT_NE(out.find("status=0"), std::string::npos) << out;
  EXPECT_NE(out.find("start it with: lorvan " + box), std::string::npos) << out;

  // The data as the sources have it, and the settings with mpv and the given folders.
  const std::string data = LORVAN_SOURCE_DIR "/data";
  for (const auto& [copy, original] : std::map<std::string, std::string>{
           {"box/Fonts/Normal.fnt", "Fonts/Normal.fnt"},
           {"box/Bitmaps/picBackground.pbm", "Bitmaps/picBackground.pbm"},
           {"box/Help.txt", "sample/Help.txt"}}) {
    std::ifstream in(data + "/" + original, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(top.Read(copy), bytes.str()) << copy;
  }
  const auto count = [](const std::string& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  };
  EXPECT_EQ(count(box + "/Bitmaps"), count(data + "/Bitmaps"));
  const std::string settings = top.Read("box/Lorvan.ini");
  const auto values = Values(settings);
  ASSERT_EQ(values.size(), 56u) << settings;
  EXPECT_EQ(values[1].rfind("mpv --idle=yes --no-video --no-terminal", 0), 0u) << settings;
  EXPECT_EQ(values[2], songs);
  EXPECT_EQ(values[3], top.path() + "/cd/");
  EXPECT_EQ(values[10], songs) << "the bookmark starts in the music folder";
  EXPECT_NE(settings.find("\r\n// The player is mpv"), std::string::npos) << settings;

  StartPlayAndEnd(box, "Tune.wav");
}

TEST(Setup, AFolderWithSettingsIsLeftAsItIs) {
  ProgramFolder folder;
  folder.Write("Help.txt", "my own help\r\n");
  const auto before = Snapshot(folder);
  for (const std::string extra : {"", " --music=/srv/music"}) {
    const std::string out = Lorvan("--setup " + folder.path() + extra);
    EXPECT_NE(out.find(folder.path() + "/Lorvan.ini exists; --setup changes nothing"), std::string::npos) << out;
    EXPECT_NE(out.find("status=1"), std::string::npos) << out;
    EXPECT_EQ(Snapshot(folder), before);
  }
}

TEST(Setup, AFolderWithoutSettingsGetsOneMessage) {
  TempDir empty;
  for (const std::string mode : {"--headless ", "", "--headless --port=/dev/parport0 --input=auto "}) {
    const std::string out = Lorvan(mode + empty.path());
    EXPECT_EQ(out, "lorvan: " + empty.path() + " has no settings file Lorvan.ini; lay out a program folder there with: " +
                       "lorvan --setup " + empty.path() + " [--music=FOLDER] [--cd=FOLDER]\nstatus=2\n");
    EXPECT_TRUE(Snapshot(empty).empty()) << "nothing is made in the folder";
  }
}

}  // namespace
}  // namespace lorvan::testing

namespace lorvan::testing {
namespace {

// A player command line whose program ends at once: start-up says so instead of waiting 30 s.
TEST(PlayerStart, AProgramThatEndsAtOnceIsToldWithoutWaitingForItsWindow) {
  TempDir folder;
  ASSERT_NE(Lorvan("--setup " + folder.path()).find("status=0"), std::string::npos);
  std::string text = folder.Read("Lorvan.ini"), out;
  size_t value = 0, at = 0;
  while (at < text.size()) {
    const size_t end = text.find("\r\n", at);
    const std::string line = text.substr(at, end - at);
    if (line.find("//") == std::string::npos && value++ == 1) {
      text.replace(at, end - at, "false");
      break;
    }
    at = end + 2;
  }
  folder.Write("Lorvan.ini", text);
  const auto began = std::chrono::steady_clock::now();
  out = Lorvan("--headless " + folder.path(), "timeout 60");
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
  std::printf("[ figure ] start-up with the player line \"false\": %lld ms\n", static_cast<long long>(waited.count()));
  EXPECT_NE(out.find("the player ended right after starting \"false\""), std::string::npos) << out;
  EXPECT_NE(out.find("status=1"), std::string::npos) << out;
}

}  // namespace
}  // namespace lorvan::testing
