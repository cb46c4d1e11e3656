#pragma once
// The LCD's parallel port on Linux: ppdev (/dev/parportN), raw port I/O as root, the
// KS0108 timing kept between writes, and the virtual panel the terminal's preview shows.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "lcd/ks0108.h"
#include "lcd/ks0108_panel.h"
#include "platform/port_io.h"

namespace lorvan::linuxhost {

// The addresses the program writes: the first parallel port's data and control registers.
constexpr int kLptBase = lcd::kFirstParallelPort;

// Thrown when a port cannot be opened; the message names the device and the cause.
class PortError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ppdev: claims the port, compatibility (PC SPP) mode, data and control written raw.
class PpdevPort : public platform::PortIo {
 public:
  explicit PpdevPort(const std::string& device);  // throws PortError
  ~PpdevPort() override;
  void Out32(int16_t port, int16_t value) override;

 private:
  int fd_ = -1;
};

// Raw port I/O (ioperm, outb); needs root. io_base is the real data register's address.
class RawPort : public platform::PortIo {
 public:
  explicit RawPort(int io_base);  // throws PortError
  ~RawPort() override;
  void Out32(int16_t port, int16_t value) override;

 private:
  int io_base_;
};

// Keeps at least min_gap_ns between two writes, so the panel's enable pulse stays high and
// low long enough (lcd::kEnableLevelMinNs each) however fast the port is.
class PacedPort : public platform::PortIo {
 public:
  PacedPort(platform::PortIo& inner, int64_t min_gap_ns, std::function<int64_t()> now_ns = {});
  void Out32(int16_t port, int16_t value) override;
  int64_t spins() const { return spins_; }

 private:
  platform::PortIo& inner_;
  int64_t gap_;
  std::function<int64_t()> now_;
  int64_t last_ = INT64_MIN / 2;
  int64_t spins_ = 0;
};

// Every write goes to each of two ports (the real panel and the emulator of the preview).
class TeePort : public platform::PortIo {
 public:
  TeePort(platform::PortIo& a, platform::PortIo& b) : a_(a), b_(b) {}
  void Out32(int16_t port, int16_t value) override {
    a_.Out32(port, value);
    b_.Out32(port, value);
  }

 private:
  platform::PortIo& a_;
  platform::PortIo& b_;
};

// The virtual panel: a KS0108 emulator on the port decodes the writes into the picture a
// panel there would show, so the preview shows exactly that, faults of the transfer included.
class VirtualPanelPort : public platform::PortIo {
 public:
  void Out32(int16_t port, int16_t value) override {
    panel_.Out(port, value);
    ++writes_;
  }
  const lcd::ks0108::Panel& panel() const { return panel_; }
  int64_t writes() const { return writes_; }

 private:
  lcd::ks0108::Panel panel_{kLptBase};
  int64_t writes_ = 0;
};

int64_t MonotonicNs();

}  // namespace lorvan::linuxhost
