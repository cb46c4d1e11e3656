#pragma once
// The buses of the single-board computers' panels, as thin interfaces so that the back ends
// run against recording fakes in the tests: I2C through i2c-dev, SPI through spidev, output
// lines through the GPIO character device (libgpiod).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lorvan::linuxhost {

// Writes to one device on an I2C bus; each Write is one transaction (start, address, bytes, stop).
class I2cBus {
 public:
  virtual ~I2cBus() = default;
  virtual bool Write(const uint8_t* bytes, size_t n) = 0;
};

// A SPI device: each Transfer is one transaction with the chip select held active.
class SpiBus {
 public:
  virtual ~SpiBus() = default;
  virtual bool Transfer(const uint8_t* bytes, size_t n) = 0;
};

// Output lines of a GPIO chip, set all at once.
class GpioLines {
 public:
  virtual ~GpioLines() = default;
  // values[i] is the level of the i-th line asked for.
  virtual bool Set(const std::vector<int>& values) = 0;
};

// /dev/i2c-N with the slave address set (ioctl I2C_SLAVE). Throws PortError naming the device.
class I2cDevBus : public I2cBus {
 public:
  I2cDevBus(const std::string& device, int address);
  ~I2cDevBus() override;
  bool Write(const uint8_t* bytes, size_t n) override;

 private:
  int fd_ = -1;
};

// /dev/spidevB.C in mode 0 (or with the chip select active high), 8 bits a word, at hz.
class SpiDevBus : public SpiBus {
 public:
  SpiDevBus(const std::string& device, uint32_t hz, bool cs_high);
  ~SpiDevBus() override;
  bool Transfer(const uint8_t* bytes, size_t n) override;

 private:
  int fd_ = -1;
  uint32_t hz_;
};

// Lines of /dev/gpiochipN (or a chip's name or label) requested as outputs, all low at first.
class GpiodLines : public GpioLines {
 public:
  GpiodLines(const std::string& chip, const std::vector<unsigned>& offsets);
  ~GpiodLines() override;
  bool Set(const std::vector<int>& values) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace lorvan::linuxhost
