#include "hosts/linux/panel_buses.h"

#include <fcntl.h>
#include <gpiod.h>
#include <linux/i2c-dev.h>
#include <linux/spi/spidev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "hosts/linux/ports.h"

namespace lorvan::linuxhost {

namespace {
std::string Why(const std::string& device, const char* step) {
  return device + ": " + step + ": " + std::strerror(errno);
}
}  // namespace

I2cDevBus::I2cDevBus(const std::string& device, int address) {
  fd_ = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw PortError(Why(device, "cannot open"));
  if (::ioctl(fd_, I2C_SLAVE, address) < 0) {
    char step[32];
    std::snprintf(step, sizeof step, "cannot address 0x%02x", address);
    const std::string why = Why(device, step);
    ::close(fd_);
    fd_ = -1;
    throw PortError(why);
  }
}

I2cDevBus::~I2cDevBus() {
  if (fd_ >= 0) ::close(fd_);
}

bool I2cDevBus::Write(const uint8_t* bytes, size_t n) {
  return ::write(fd_, bytes, n) == static_cast<ssize_t>(n);
}

SpiDevBus::SpiDevBus(const std::string& device, uint32_t hz, bool cs_high) : hz_(hz) {
  fd_ = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd_ < 0) throw PortError(Why(device, "cannot open"));
  uint8_t mode = SPI_MODE_0 | (cs_high ? SPI_CS_HIGH : 0);
  uint8_t bits = 8;
  if (::ioctl(fd_, SPI_IOC_WR_MODE, &mode) < 0 || ::ioctl(fd_, SPI_IOC_WR_BITS_PER_WORD, &bits) < 0 ||
      ::ioctl(fd_, SPI_IOC_WR_MAX_SPEED_HZ, &hz_) < 0) {
    const std::string why = Why(device, "cannot set the SPI mode");
    ::close(fd_);
    fd_ = -1;
    throw PortError(why);
  }
}

SpiDevBus::~SpiDevBus() {
  if (fd_ >= 0) ::close(fd_);
}

bool SpiDevBus::Transfer(const uint8_t* bytes, size_t n) {
  // spidev takes at most a page (4096 bytes by default) a message; 4095 keeps an ST7920's
  // three serial bytes of one byte in one message.
  while (n > 0) {
    const size_t part = n < 4095 ? n : 4095;
    spi_ioc_transfer t{};
    t.tx_buf = reinterpret_cast<uintptr_t>(bytes);
    t.len = static_cast<uint32_t>(part);
    t.speed_hz = hz_;
    t.bits_per_word = 8;
    if (::ioctl(fd_, SPI_IOC_MESSAGE(1), &t) < 0) return false;
    bytes += part;
    n -= part;
  }
  return true;
}

struct GpiodLines::Impl {
  gpiod_chip* chip = nullptr;
  gpiod_line_bulk lines{};
  ~Impl() {
    if (gpiod_line_bulk_num_lines(&lines) > 0) gpiod_line_release_bulk(&lines);
    if (chip) gpiod_chip_close(chip);
  }
};

GpiodLines::GpiodLines(const std::string& chip, const std::vector<unsigned>& offsets) : impl_(std::make_unique<Impl>()) {
  impl_->chip = gpiod_chip_open_lookup(chip.c_str());
  if (!impl_->chip) throw PortError(Why(chip, "cannot open the GPIO chip"));
  gpiod_line_bulk_init(&impl_->lines);
  if (offsets.size() > GPIOD_LINE_BULK_MAX_LINES ||
      gpiod_chip_get_lines(impl_->chip, const_cast<unsigned*>(offsets.data()), static_cast<unsigned>(offsets.size()),
                           &impl_->lines) < 0) {
    throw PortError(Why(chip, "no such GPIO lines"));
  }
  const std::vector<int> low(offsets.size(), 0);
  if (gpiod_line_request_bulk_output(&impl_->lines, "lorvan", low.data()) < 0) {
    gpiod_line_bulk_init(&impl_->lines);
    throw PortError(Why(chip, "cannot claim the GPIO lines"));
  }
}

GpiodLines::~GpiodLines() = default;

bool GpiodLines::Set(const std::vector<int>& values) {
  return gpiod_line_set_value_bulk(&impl_->lines, values.data()) == 0;
}

}  // namespace lorvan::linuxhost
