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
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
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

// A file name of a session's script with its \xHH escapes turned into bytes.
std::string Unescape(std::string name) {
  for (size_t at; (at = name.find("\\x")) != std::string::npos;) {
    name.replace(at, 4, 1, static_cast<char>(std::stoi(name.substr(at + 2, 2), nullptr, 16)));
  }
  return name;
}

// One session of tables/mpv_sessions.txt: the player link to an mpv in a folder of its own.
class Session {
 public:
  Session() : socket_(dir_.path() + "/mpv.sock"), player_(socket_) {
    processes_ = std::make_unique<LinuxProcesses>(PlayerHooks{
        [this] { return line_; }, socket_, [this] { return Hwnd() != 0; }, [this] { return player_.PlayerPid(); },
        [this] {
          ++closes_;
          player_.Close();
        }});
    processes_->quiet_children = true;
  }
  ~Session() {
    const int32_t pid = player_.PlayerPid();
    player_.Close();
    if (pid > 0) ::kill(pid, SIGKILL);
    processes_->Reap();
  }

  // The value of a step (its words before the comparison); runs its action.
  Json Step(const std::vector<std::string>& w) {
    const auto num = [&](size_t i) { return static_cast<int32_t>(std::stol(w.at(i))); };
    const std::string& op = w.at(0);
    const std::string steps = " wav filter line start shell play command ask post window hwnd pid running end closes "
                              "kept alive kill activate keys mpv rms idle ";
    if (steps.find(" " + op + " ") == std::string::npos) ADD_FAILURE() << "no step " << op;
    if (op == "wav") WriteSineWav(dir_.path() + "/" + Unescape(w.at(1)), std::stod(w.at(2)), num(3));
    if (op == "filter") line_ += " " + w.at(1);
    if (op == "line") line_ = w.at(1) + " " + w.at(2);
    if (op == "start") {
      const int32_t task = processes_->Shell("Winamp.exe", 4);
      EXPECT_TRUE(Eventually([&] { return Hwnd() != 0; })) << "mpv did not open " << socket_;
      return task;
    }
    if (op == "shell") return processes_->Shell("Winamp.exe", 4);
    if (op == "play") {
      Request(0, 101);
      const std::string name = dir_.path() + "/" + Unescape(w.at(1));
      platform::CopyDataStruct cds{100, static_cast<uint32_t>(name.size() + 1), name.c_str()};
      player_.SendCopyData(Hwnd(), 0, cds);
      player_.SendMessageA(Hwnd(), kCommand, 40045, 0);
    }
    if (op == "command") player_.SendMessageA(Hwnd(), kCommand, num(1), 0);
    if (op == "ask") return Request(num(1), num(2));
    if (op == "post") return player_.PostMessageA(Hwnd(), kUser, num(1), num(2));
    if (op == "window") return player_.FindWindowA(w.at(1));
    if (op == "hwnd") return Hwnd();
    if (op == "pid") return player_.PlayerPid();
    if (op == "running") return processes_->RunningPlayers();
    if (op == "end") processes_->EndStartedPlayers(num(1));
    if (op == "closes") return closes_;
    if (op == "kept") return Value(w.at(1));
    if (op == "alive") return ::kill(Value(w.at(1)), 0) == 0;
    if (op == "kill") ::kill(Value(w.at(1)), SIGKILL);
    if (op == "activate") return processes_->AppActivate(Value(w.at(1)));
    if (op == "keys") processes_->SendKeys(w.at(1), true);
    if (op == "mpv") return lorvan::testing::MpvProperty(socket_, w.at(1));
    if (op == "idle") std::this_thread::sleep_for(std::chrono::milliseconds(num(1)));
    if (op == "rms") {
      const Json meta = lorvan::testing::MpvProperty(socket_, "af-metadata/meter");
      if (!meta.is_object() || !meta.contains("lavfi.astats.Overall.RMS_level")) return 0;
      return std::stod(meta["lavfi.astats.Overall.RMS_level"].get<std::string>());
    }
    return nullptr;
  }

  // A JSON value, a kept name (alone in brackets: a list of it) or one plus or minus a number.
  Json Value(const std::string& text) const {
    if (text.size() > 2 && text.front() == '[') return Json::array({Value(text.substr(1, text.size() - 2))});
    const size_t sign = text.find_first_of("+-", 1);
    const std::string name = text.substr(0, sign);
    if (!kept.contains(name)) return Json::parse(text);
    if (sign == std::string::npos) return kept.at(name);
    return kept.at(name).get<double>() + std::stod(text.substr(sign));
  }

  std::map<std::string, Json> kept;

 private:
  platform::Hwnd Hwnd() { return player_.FindWindowA(MpvPlayer::kWindowClass); }
  int32_t Request(int32_t w, int32_t l) { return player_.SendMessageA(Hwnd(), kUser, w, l); }

  TempDir dir_;
  std::string socket_;
  std::string line_ = "mpv --idle=yes --no-video --no-terminal --ao=null --input-ipc-server=" + socket_;
  MpvPlayer player_;
  std::unique_ptr<LinuxProcesses> processes_;
  int closes_ = 0;  // the link asked its player to quit
};

// Whether a step's value compares with the expected one as the operator says.
bool Holds(const Json& got, const std::string& op, const Json& want, double tolerance) {
  if (op == "==") return got == want;
  if (op == "!=") return got != want;
  if (!got.is_number()) return false;
  const double g = got.get<double>(), v = want.get<double>();
  return op == ">=" ? g >= v : op == ">" ? g > v : op == "<" ? g < v : op == "near" && std::abs(g - v) <= tolerance;
}

TEST(MpvPlayer, SessionsFromTheScript) {
  if (FindProgram("mpv").empty()) GTEST_SKIP() << "mpv is not installed";
  std::ifstream script(LORVAN_SOURCE_DIR "/tests/integration/tables/mpv_sessions.txt");
  ASSERT_TRUE(script) << "tables/mpv_sessions.txt is missing";
  std::unique_ptr<Session> session;
  std::string title;
  int number = 0;
  for (std::string line; std::getline(script, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("session ", 0) == 0) {
      session.reset();
      session = std::make_unique<Session>();
      title = line.substr(8);
      continue;
    }
    SCOPED_TRACE(title + ", line " + std::to_string(number) + ": " + line);
    ASSERT_TRUE(session) << "a step before the first session";
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    const auto tail = std::find_if(words.begin(), words.end(), [](const std::string& w) {
      return w == "==" || w == "!=" || w == ">=" || w == ">" || w == "<" || w == "near" || w == "as";
    });
    const std::vector<std::string> step(words.begin() + (words[0] == "wait"), tail);
    if (tail == words.end()) {
      session->Step(step);
    } else if (*tail == "as") {
      session->kept[tail[1]] = session->Step(step);
    } else {
      const Json want = session->Value(tail[1]);
      const double tolerance = tail + 2 < words.end() ? std::stod(tail[2]) : 0;
      Json got;
      const auto holds = [&] { return Holds(got = session->Step(step), *tail, want, tolerance); };
      EXPECT_TRUE(words[0] == "wait" ? Eventually(holds) : holds()) << "got " << got << ", expected " << want;
    }
  }
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
