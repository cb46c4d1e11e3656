#include "hosts/linux/linux_host.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace lorvan::linuxhost {
namespace {

constexpr int64_t kHousekeepingMs = 50;
constexpr int64_t kInputScanMs = 5000;

}  // namespace

LinuxEventHost::LinuxEventHost(platform::Clock& clock, TerminalView* view, EvdevInput* evdev)
    : clock_(clock), view_(view), evdev_(evdev) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  sigprocmask(SIG_BLOCK, &set, nullptr);
  signal_fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  signal(SIGPIPE, SIG_IGN);
}

LinuxEventHost::~LinuxEventHost() {
  if (signal_fd_ >= 0) close(signal_fd_);
}

void LinuxEventHost::ReadSources(int64_t timeout_ns) {
  if (timeout_ns > 0 && before_wait) before_wait();
  std::vector<pollfd>& fds = poll_fds_;
  fds.clear();
  if (signal_fd_ >= 0) fds.push_back({signal_fd_, POLLIN, 0});
  if (view_) fds.push_back({view_->input_fd(), POLLIN, 0});
  const size_t first_evdev = fds.size();
  if (evdev_) {
    for (int fd : evdev_->Fds()) fds.push_back({fd, POLLIN, 0});
  }
  const size_t first_source = fds.size();
  for (const KeySource& source : key_sources) fds.push_back({source.fd, POLLIN, 0});
  timespec ts{timeout_ns / 1000000000, timeout_ns % 1000000000};
  const int ready = ppoll(fds.data(), fds.size(), &ts, nullptr);
  timespec after{};
  clock_gettime(CLOCK_MONOTONIC, &after);
  last_poll_ns_ = int64_t{after.tv_sec} * 1000000000 + after.tv_nsec;
  if (ready <= 0) return;
  for (size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    if (fds[i].fd == signal_fd_) {
      signalfd_siginfo si{};
      while (read(signal_fd_, &si, sizeof(si)) == static_cast<ssize_t>(sizeof(si))) ++signals_;
      if (signals_ >= 2 && quit_delivered_) {
        // Asked twice: no more waiting for an orderly end.
        if (view_) view_->Stop();
        std::_Exit(130);
      }
    } else if (i < first_evdev) {
      view_->ReadInput([this](char c) { keys_.push_back(c); });
    } else if (i >= first_source) {
      key_sources[i - first_source].read([this](char c) { keys_.push_back(c); });
    } else {
      evdev_->Read(fds[i].fd, [this](char c) { keys_.push_back(c); });
    }
  }
}

bool LinuxEventHost::DeliverDueEvents() {
  // Right after a wait the sources have just been read: one poll per pass is enough.
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const int64_t now_ns = int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
  if (now_ns - last_poll_ns_ > 200000) ReadSources(0);
  const int64_t now = clock_.MonotonicMs();
  if (now - last_housekeeping_ms_ >= kHousekeepingMs) {
    last_housekeeping_ms_ = now;
    // ncurses learns of a resized terminal when it reads input.
    if (view_) view_->ReadInput([this](char c) { keys_.push_back(c); });
    if (on_housekeeping) on_housekeeping();
    if (rescan_inputs && evdev_ && now - last_scan_ms_ >= kInputScanMs) {
      last_scan_ms_ = now;
      evdev_->OpenAll(grab_inputs);
    }
  }
  if (signals_ > 0 && !quit_delivered_) {
    quit_delivered_ = true;
    if (on_quit) on_quit();
    return true;
  }
  if (keys_.empty()) return false;
  const char key = keys_.front();
  keys_.pop_front();
  if (view_) view_->NoteKey(key);
  if (on_key) on_key(key);
  if (view_) view_->Draw();
  return true;
}

void LinuxEventHost::Idle(std::optional<int64_t> next_timer_due_ms) {
  int64_t timeout_ns = 1000000;
  if (next_timer_due_ms) {
    const int64_t left_ms = *next_timer_due_ms - clock_.MonotonicMs();
    if (left_ms <= 0) return;
    timeout_ns = std::min(timeout_ns, left_ms * 1000000);
  }
  ReadSources(timeout_ns);
}

void LinuxEventHost::WaitForInput(std::optional<int64_t> next_timer_due_ms) {
  int64_t until = last_housekeeping_ms_ + kHousekeepingMs;
  if (next_timer_due_ms) until = std::min(until, *next_timer_due_ms);
  // Whole milliseconds, counted from the current one: the wake-up is never early.
  const int64_t left_ms = until - clock_.MonotonicMs();
  if (left_ms <= 0) return;
  ReadSources(left_ms * 1000000);
}

bool LinuxEventHost::WaitForEnter() {
  for (;;) {
    ReadSources(100000000);
    if (signals_ > 0) return false;
    while (!keys_.empty()) {
      const char k = keys_.front();
      keys_.pop_front();
      if (k == '\r') return true;
    }
  }
}

void LinuxDialogs::MsgBox(const std::string& text, const std::string& title) {
  if (log_) log_("message box \"" + title + "\": " + text);
  if (!view_) return;  // headless: logged, and answered at once
  view_->ShowMessage(title, text);
  host_.WaitForEnter();
  view_->ClearMessage();
}

}  // namespace lorvan::linuxhost
