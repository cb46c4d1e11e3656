// The player link's messages translated for a real mpv (null audio output) on generated files.
#include <gtest/gtest.h>
#include <signal.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "audio_files.h"
#include "process_helpers.h"
#include "hosts/linux/linux_processes.h"
#include "hosts/linux/mpv_player.h"
#include "support/program_folder.h"

namespace lorvan::linuxhost {
namespace {

using lorvan::testing::FindProgram;
using lorvan::testing::TempDir;
using lorvan::testing::WriteSineWav;

constexpr uint32_t kUser = 1024;
constexpr uint32_t kCommand = 273;

// mpv runs in real time: the deadline is generous for a loaded machine.
bool Eventually(const std::function<bool()>& cond) { return lorvan::testing::Eventually(cond, 15000); }

class MpvPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
    socket = dir.path() + "/mpv.sock";
    player = std::make_unique<MpvPlayer>(socket);
    processes = std::make_unique<LinuxProcesses>(PlayerHooks{
        [this] { return player_line; }, socket, [this] { return player->FindWindowA("Winamp v1.x") != 0; },
        [this] { return player->PlayerPid(); }, [this] { player->Close(); }});
    processes->quiet_children = true;
    player_line = "mpv --idle=yes --no-video --no-terminal --ao=null --input-ipc-server=" + socket;
  }
  void TearDown() override {
    if (!player) return;
    const int32_t pid = player->PlayerPid();
    player->Close();
    if (pid > 0) ::kill(pid, SIGKILL);
    processes->Reap();
  }

  int32_t StartPlayer() {
    const int32_t task = processes->Shell("Winamp.exe", 4);
    EXPECT_TRUE(Eventually([&] { return Hwnd() != 0; })) << "mpv did not open " << socket;
    return task;
  }
  platform::Hwnd Hwnd() { return player->FindWindowA("Winamp v1.x"); }
  int32_t Request(int32_t w, int32_t l) { return player->SendMessageA(Hwnd(), kUser, w, l); }
  void Command(int32_t id) { player->SendMessageA(Hwnd(), kCommand, id, 0); }
  void AddFile(const std::string& name) {
    platform::CopyDataStruct cds{100, static_cast<uint32_t>(name.size() + 1), name.c_str()};
    player->SendCopyData(Hwnd(), 0, cds);
  }
  void PlayFile(const std::string& name) {
    Request(0, 101);
    AddFile(name);
    Command(40045);
  }
  Json MpvProperty(const std::string& name) { return lorvan::testing::MpvProperty(socket, name); }

  TempDir dir;
  std::string socket;
  std::string player_line;
  std::unique_ptr<MpvPlayer> player;
  std::unique_ptr<LinuxProcesses> processes;
};

TEST_F(MpvPlayerTest, PlaysPausesAdvancesAndEndsATrack) {
  // Long enough that a loaded machine cannot reach the end before the pause is checked; the
  // end comes from a jump close to it.
  WriteSineWav(dir.path() + "/six.wav", 6.0, 440);
  EXPECT_EQ(Hwnd(), 0) << "no window before the player runs";
  EXPECT_EQ(player->SendMessageA(0x20010, kUser, 0, 0), 0) << "and every message goes nowhere";
  EXPECT_FALSE(player->PostMessageA(0x20010, kUser, 'a', 103));
  EXPECT_EQ(player->FindWindowA("Other"), 0);
  StartPlayer();
  EXPECT_EQ(player->FindWindowA("Other"), 0) << "only the player's class is found";
  EXPECT_EQ(Request(0, 0), 0x5000);
  EXPECT_EQ(Request(0, 104), 0);
  EXPECT_EQ(Request(0, 105), -1);

  PlayFile(dir.path() + "/six.wav");
  EXPECT_EQ(Request(0, 104), 1) << "playing at once after the play command";
  EXPECT_EQ(Request(1, 105), 6) << "length in seconds, once the play command returned";
  EXPECT_EQ(Request(2, 105), 6000) << "length in ms";
  EXPECT_TRUE(Eventually([&] { return Request(0, 126) == 44100; })) << "sample rate, once the decoder runs";
  EXPECT_TRUE(Eventually([&] { return Request(0, 105) >= 300; })) << "position advances";
  EXPECT_TRUE(Eventually([&] { return Request(1, 126) > 1000; })) << "PCM bit rate in kbit/s, once mpv measured it";

  Command(40046);
  EXPECT_EQ(Request(0, 104), 3);
  EXPECT_TRUE(Eventually([&] { return MpvProperty("pause") == true; }));
  const int32_t frozen = Request(0, 105);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_NEAR(Request(0, 105), frozen, 30) << "paused position stays";

  Command(40045);  // play continues a paused track
  EXPECT_EQ(Request(0, 104), 1);
  EXPECT_EQ(MpvProperty("pause"), false);
  EXPECT_TRUE(Eventually([&] { return Request(0, 105) >= frozen + 200; })) << "and its position runs on";

  EXPECT_EQ(Request(5000, 106), 0);
  EXPECT_TRUE(Eventually([&] { return Request(0, 104) == 0; })) << "the track ends by itself";
  EXPECT_EQ(Request(0, 105), -1);
}

TEST_F(MpvPlayerTest, VolumeSeekAndStop) {
  WriteSineWav(dir.path() + "/long.wav", 20.0, 440);
  StartPlayer();
  Request(128, 122);
  EXPECT_DOUBLE_EQ(MpvProperty("volume").get<double>(), 50.0) << "0-255 onto mpv's 0-100";
  EXPECT_EQ(Request(-666, 122), 128);
  Request(255, 122);
  EXPECT_DOUBLE_EQ(MpvProperty("volume").get<double>(), 100.0);

  // A name with a byte that is not UTF-8 reaches mpv unchanged.
  const std::string odd = dir.path() + "/caf\xe9.wav";
  WriteSineWav(odd, 20.0, 440);
  PlayFile(odd);
  ASSERT_EQ(Request(0, 104), 1);
  EXPECT_EQ(Request(12000, 106), 0);
  EXPECT_TRUE(Eventually([&] { return Request(0, 105) >= 12000; }));
  Command(40061);  // back 5 s
  EXPECT_TRUE(Eventually([&] { return Request(0, 105) < 10000; }));
  Command(40060);  // forward 5 s
  EXPECT_TRUE(Eventually([&] { return Request(0, 105) >= 12000; }));

  Command(40047);
  EXPECT_EQ(Request(0, 104), 0);
  EXPECT_EQ(Request(0, 105), -1);
  // mpv goes idle once its play loop has wound the file down, after the command's answer.
  EXPECT_TRUE(Eventually([&] { return MpvProperty("idle-active") == true; }));
}

TEST_F(MpvPlayerTest, EqualizerBandChangesTheSoundWhilePlaying) {
  // A meter after the equalizer measures what comes out.
  player_line += " --af=@meter:lavfi=[astats=metadata=1:reset=5]";
  WriteSineWav(dir.path() + "/low.wav", 20.0, 60);
  StartPlayer();
  // Read-then-write: the write goes to the position the last read selected.
  Request(11, 127);
  Request(1, 128);
  EXPECT_EQ(Request(11, 127), 1);
  Request(3, 127);
  Request(40, 128);
  EXPECT_EQ(Request(3, 127), 40);
  EXPECT_EQ(Request(0, 127), 31);
  EXPECT_EQ(Request(10, 127), 31);

  PlayFile(dir.path() + "/low.wav");
  const auto rms = [&]() -> double {
    const Json meta = MpvProperty("af-metadata/meter");
    if (!meta.is_object() || !meta.contains("lavfi.astats.Overall.RMS_level")) return 0;
    return std::stod(meta["lavfi.astats.Overall.RMS_level"].get<std::string>());
  };
  double before = 0;
  ASSERT_TRUE(Eventually([&] { return (before = rms()) < -1.0; })) << "the meter reports";
  Request(0, 127);  // band 0 is 60 Hz
  Request(63, 128);  // -20 dB
  EXPECT_EQ(Request(0, 127), 63);
  EXPECT_TRUE(Eventually([&] { return rms() < before - 12.0; })) << "before " << before << " dB, now " << rms();
  EXPECT_EQ(Request(0, 104), 1) << "the change did not interrupt playback";
}

TEST_F(MpvPlayerTest, AKilledPlayerIsStartedAgainAndAltF4ClosesTheNewOne) {
  WriteSineWav(dir.path() + "/a.wav", 20.0, 440);
  const int32_t task = StartPlayer();
  const platform::Hwnd first = Hwnd();
  EXPECT_EQ(task, player->PlayerPid()) << "the task id is mpv's process id";
  EXPECT_EQ(processes->Shell("Winamp.exe", 4), task) << "no second player while one runs";
  Request(200, 122);
  Request(5, 127);
  Request(12, 128);
  PlayFile(dir.path() + "/a.wav");

  ::kill(task, SIGKILL);
  EXPECT_TRUE(Eventually([&] { return Hwnd() == 0; })) << "the window goes with the player";
  EXPECT_EQ(Request(0, 104), 0) << "no window, no answer";

  const int32_t again = StartPlayer();
  ASSERT_NE(again, task);
  EXPECT_NE(Hwnd(), first) << "a restarted player has a new handle";
  EXPECT_EQ(processes->RunningPlayers(), std::vector<int32_t>{again}) << "the killed one was collected";
  EXPECT_EQ(Request(0, 104), 0);
  EXPECT_EQ(Request(5, 127), 12) << "the equalizer memory survives";
  EXPECT_DOUBLE_EQ(MpvProperty("volume").get<double>(), std::round(200 * 100.0 / 255)) << "volume given again";
  PlayFile(dir.path() + "/a.wav");
  EXPECT_EQ(Request(0, 104), 1);

  // The exit activates the new task and closes it with Alt+F4.
  ASSERT_TRUE(processes->AppActivate(again));
  processes->SendKeys("%{F4}", true);
  EXPECT_TRUE(Eventually([&] { return processes->RunningPlayers().empty(); })) << "mpv quit";
  EXPECT_EQ(Hwnd(), 0);
  EXPECT_NE(::kill(again, 0), 0) << "and was collected";
  EXPECT_FALSE(processes->AppActivate(again));
}

// A player that starts but never opens its socket (a hung or misconfigured one).
TEST(PlayerProcesses, APlayerThatNeverAnswersIsReplacedAndEndsWithTheProgram) {
  TempDir dir;
  const std::string stuck = dir.Write("stuck-player", "#!/bin/sh\nexec sleep 60\n");
  ASSERT_EQ(::chmod(stuck.c_str(), 0755), 0);
  std::vector<std::string> closes;
  LinuxProcesses processes(PlayerHooks{[&] { return stuck; }, dir.path() + "/none.sock", [] { return false; },
                                       [] { return 0; }, [&] { closes.push_back("close"); }});
  processes.quiet_children = true;
  const int32_t first = processes.Shell("Winamp.exe", 4);
  EXPECT_EQ(processes.RunningPlayers(), std::vector<int32_t>{first});
  // The link's next start: one player per box, so the silent one goes.
  const int32_t second = processes.Shell("Winamp.exe", 4);
  EXPECT_NE(second, first);
  EXPECT_EQ(processes.RunningPlayers(), std::vector<int32_t>{second});
  EXPECT_NE(::kill(first, 0), 0) << "the first one is gone and collected";

  processes.EndStartedPlayers(100);
  EXPECT_TRUE(processes.RunningPlayers().empty()) << "terminated once its grace ran out";
  EXPECT_NE(::kill(second, 0), 0);
  EXPECT_TRUE(closes.empty()) << "a player without a window is not asked to quit";
}

TEST(Equalizer, ScaleAndFilterChain) {
  EXPECT_DOUBLE_EQ(EqGainDb(0), 20.0);
  EXPECT_DOUBLE_EQ(EqGainDb(63), -20.0);
  EXPECT_NEAR(EqGainDb(31), 0.317, 0.001);
  std::array<int, 10> bands{};
  bands.fill(31);
  bands[9] = 0;
  const std::string chain = EqFilterChain(bands, 63);
  EXPECT_EQ(chain.find("@lvpre:lavfi=[volume=volume=-20.00dB]"), 0u);
  EXPECT_NE(chain.find("@lveq0:lavfi=[equalizer=f=60:width_type=o:width=1:g=0.32]"), std::string::npos);
  EXPECT_NE(chain.find("@lveq9:lavfi=[equalizer=f=16000:width_type=o:width=1:g=20.00]"), std::string::npos);
}

TEST(JsonBytes, StringsKeepTheirBytes) {
  EXPECT_EQ(EncodeJsonBytes(Json::array({"loadfile", "/m/caf\xe9 \"x\"\\\n.mp3", 5, true})),
            "[\"loadfile\",\"/m/caf\xe9 \\\"x\\\"\\\\\\u000a.mp3\",5,true]");
}

// A process that listens on path as the given user until it is killed; its pid.
pid_t Listener(const std::string& path, uid_t uid, gid_t gid) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (setgid(gid) != 0 || setuid(uid) != 0) _exit(1);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof(addr.sun_path), "%s", path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(fd, 4) != 0) _exit(2);
  for (;;) pause();
}

TEST(PlayerSocket, OnlyThePlayerOfThisUserThatTheLinkStartedIsTalkedTo) {
  if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  const passwd* nobody = getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  struct Case {
    const char* name;
    bool foreign_user;
    int started;  // 0: no player started; 1: the listener is the one started; -1: another one
    const char* refusal;
  } cases[] = {
      {"planted by another user", true, 0, "served by user"},
      {"this user's, but not the player started", false, -1, "not by the player started"},
      {"the player started", false, 1, nullptr},
      {"this user's, no player started", false, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);  // the other user may make its socket here
    const std::string path = dir.path() + "/player.sock";
    const pid_t listener = c.foreign_user ? Listener(path, nobody->pw_uid, nobody->pw_gid) : Listener(path, 0, 0);
    ASSERT_TRUE(Eventually([&] { return access(path.c_str(), F_OK) == 0; }));
    MpvPlayer player(path);
    std::vector<std::string> log;
    player.log = [&](const std::string& line) { log.push_back(line); };
    player.started_player_pid = [&] { return c.started == 0 ? 0 : c.started == 1 ? listener : 999999; };
    // The stand-in never answers as mpv would, so only whether it is talked to is looked at.
    for (int tries = 0; tries < (c.refusal ? 3 : 1); ++tries) player.FindWindowA(MpvPlayer::kWindowClass);
    std::vector<std::string> refusals;
    for (const auto& line : log) {
      if (line.find(path + " is not used") != std::string::npos) refusals.push_back(line);
    }
    if (c.refusal) {
      ASSERT_EQ(refusals.size(), 1u) << "told once";
      EXPECT_NE(refusals[0].find(c.refusal), std::string::npos) << refusals[0];
      EXPECT_EQ(player.FindWindowA(MpvPlayer::kWindowClass), 0);
    } else {
      EXPECT_TRUE(refusals.empty()) << refusals[0];
    }
    kill(listener, SIGKILL);
    waitpid(listener, nullptr, 0);
  }
}

}  // namespace
}  // namespace lorvan::linuxhost
