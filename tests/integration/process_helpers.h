#pragma once
// Running the lorvan program and its player from the integration tests.
#include <sys/types.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace lorvan::testing {

// The standard output of a shell command (with "2>&1" in it, its errors too).
std::string Shell(const std::string& command);

// A JSON file's contents (a table of test cases); throws when it cannot be read.
nlohmann::json ReadJson(const std::string& path);

// The text with each name (a table's placeholder such as "$HOST") replaced by its value.
std::string Substitute(std::string text, const std::map<std::string, std::string>& names);

// Waits until cond holds, checking every 50 ms; false when it still does not after timeout_ms.
bool Eventually(const std::function<bool()>& cond, int timeout_ms = 10000);

// A property of the mpv on a socket, asked as another client; null when none answers there.
nlohmann::json MpvProperty(const std::string& socket, const std::string& name);

// The process id of the mpv on a socket, 0 when none answers there.
pid_t PlayerPid(const std::string& socket);

// Ends the mpv of a test's socket (if one is still there), by its process id.
void KillPlayer(const std::string& socket);

// A program (args[0]) with nothing on its input, its output and errors going to log_file and
// each pair's first descriptor as its second; its process id, -1 when it did not start.
pid_t Spawn(std::vector<std::string> args, const std::string& log_file,
            const std::vector<std::pair<int, int>>& fds = {});

// Ends a process with SIGTERM (SIGKILL after the deadline); whether it exited with status 0.
bool Terminate(pid_t pid, int timeout_ms = 30000);

// The seconds of a status line's "MM:SS Min.Sec.", -1 when it shows none.
int ShownSeconds(const std::string& text);

// A command running in a terminal of its own (a tmux session), gone with the object.
class Terminal {
 public:
  Terminal(const std::string& command, int cols, int rows);
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;
  std::string Screen() const;
  // Waits until the screen shows the text.
  bool Shows(const std::string& text, int timeout_ms = 20000) const;
  // Keys as tmux send-keys names them ("p", "M-x", "C-c", "Enter").
  void Keys(const std::string& keys) const;
  void Resize(int cols, int rows) const;

 private:
  std::string session_;
};

}  // namespace lorvan::testing
