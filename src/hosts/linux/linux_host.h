#pragma once
// The event host of the box on Linux: key strokes from the terminal and the remote's input
// devices, signals, and waiting (at most 1 ms, never past the next timer) when nothing is due.
// Also the message boxes: a modal overlay in the terminal, or a log line when headless.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <poll.h>

#include "hosts/linux/evdev_input.h"
#include "hosts/linux/terminal_view.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/event_host.h"

namespace lorvan::linuxhost {

class LinuxEventHost : public platform::EventHost {
 public:
  // view and evdev may be null. Blocks SIGINT, SIGTERM and SIGHUP for reading them in turn.
  LinuxEventHost(platform::Clock& clock, TerminalView* view, EvdevInput* evdev);
  ~LinuxEventHost() override;

  void SetView(TerminalView* view) { view_ = view; }
  bool DeliverDueEvents() override;
  void Idle(std::optional<int64_t> next_timer_due_ms) override;
  // The program's own loop between events, outside every handler: sleeps until input, a
  // signal, the next timer or the next housekeeping, instead of waking every millisecond.
  void WaitForInput(std::optional<int64_t> next_timer_due_ms) override;

  // A key stroke for the window (the remote's or the terminal's).
  std::function<void(char)> on_key;
  // The first SIGINT/SIGTERM/SIGHUP: end the program in order; a second one ends it at once.
  std::function<void()> on_quit;
  // Every ~50 ms: redraw, collect ended children, look at the player.
  std::function<void()> on_housekeeping;
  bool rescan_inputs = false;
  bool grab_inputs = false;
  // More sources of key strokes (the web page's queue): the wait watches fd, and read hands
  // over the keys it holds, which join the remote's and the terminal's in the same queue.
  struct KeySource {
    int fd;
    std::function<void(const std::function<void(char)>&)> read;
  };
  std::vector<KeySource> key_sources;
  // Called before every wait, when the handlers that were due have run.
  std::function<void()> before_wait;

  // Waits for Enter from the terminal or the remote (for a message box); false when a signal
  // asked the program to end meanwhile.
  bool WaitForEnter();

 private:
  // Reads every source that has something (without waiting longer than timeout_ns).
  void ReadSources(int64_t timeout_ns);

  platform::Clock& clock_;
  TerminalView* view_;
  EvdevInput* evdev_;
  int signal_fd_ = -1;
  int signals_ = 0;
  bool quit_delivered_ = false;
  std::deque<char> keys_;
  int64_t last_housekeeping_ms_ = 0;
  int64_t last_scan_ms_ = 0;
  int64_t last_poll_ns_ = 0;
  std::vector<struct pollfd> poll_fds_;
};

class LinuxDialogs : public platform::Dialogs {
 public:
  LinuxDialogs(TerminalView* view, LinuxEventHost& host, std::function<void(const std::string&)> log)
      : view_(view), host_(host), log_(std::move(log)) {}
  void MsgBox(const std::string& text, const std::string& title) override;
  void SetView(TerminalView* view) { view_ = view; }

 private:
  TerminalView* view_;
  LinuxEventHost& host_;
  std::function<void(const std::string&)> log_;
};

}  // namespace lorvan::linuxhost
