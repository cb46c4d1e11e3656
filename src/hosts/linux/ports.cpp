#include "hosts/linux/ports.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/io.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lorvan::linuxhost {

int64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

PpdevPort::PpdevPort(const std::string& device) {
  fd_ = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw PortError(device + ": " + std::strerror(errno));
  if (ioctl(fd_, PPCLAIM) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd_);
    throw PortError(device + ": cannot claim the port: " + why);
  }
  int mode = IEEE1284_MODE_COMPAT;
  if (ioctl(fd_, PPSETMODE, &mode) != 0) {
    const std::string why = std::strerror(errno);
    ioctl(fd_, PPRELEASE);
    ::close(fd_);
    throw PortError(device + ": cannot set compatibility mode: " + why);
  }
}

PpdevPort::~PpdevPort() {
  if (fd_ >= 0) {
    ioctl(fd_, PPRELEASE);
    ::close(fd_);
  }
}

void PpdevPort::Out32(int16_t port, int16_t value) {
  unsigned char v = static_cast<unsigned char>(value & 0xFF);
  // Register values go out raw: the port's own inversion of some control lines is part of
  // the panel's wiring.
  if (port == kLptBase) {
    ioctl(fd_, PPWDATA, &v);
  } else if (port == kLptBase + 2) {
    ioctl(fd_, PPWCONTROL, &v);
  }
}

RawPort::RawPort(int io_base) : io_base_(io_base) {
  if (ioperm(static_cast<unsigned long>(io_base), 3, 1) != 0) {
    throw PortError("port I/O at " + std::to_string(io_base) + ": " + std::strerror(errno) + " (run as root)");
  }
}

RawPort::~RawPort() { ioperm(static_cast<unsigned long>(io_base_), 3, 0); }

void RawPort::Out32(int16_t port, int16_t value) {
  const int offset = port - kLptBase;
  if (offset < 0 || offset > 2) return;
  outb(static_cast<unsigned char>(value & 0xFF), static_cast<unsigned short>(io_base_ + offset));
}

PacedPort::PacedPort(platform::PortIo& inner, int64_t min_gap_ns, std::function<int64_t()> now_ns)
    : inner_(inner), gap_(min_gap_ns), now_(now_ns ? std::move(now_ns) : std::function<int64_t()>(MonotonicNs)) {}

void PacedPort::Out32(int16_t port, int16_t value) {
  // A busy wait of a few hundred nanoseconds: far below what sleeping could promise.
  int64_t now = now_();
  while (now - last_ < gap_) {
    ++spins_;
    now = now_();
  }
  inner_.Out32(port, value);
  last_ = now_();
}

}  // namespace lorvan::linuxhost
