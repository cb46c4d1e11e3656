#pragma once
// Panel back ends of the single-board computers: each takes the picture the core's frame
// transfer made (decoded from its KS0108 port writes) and sends what changed to its own
// controller, after that controller's init sequence. The KS0108 on GPIO lines is a port
// instead: the core's port writes go to the lines as they went to the parallel port.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/linux/panel_buses.h"
#include "lcd/ks0108.h"
#include "lcd/oled_panel.h"
#include "lcd/st7920_panel.h"
#include "platform/port_io.h"

namespace lorvan::linuxhost {

// A pixel of the picture to show: x 0..127, y 0..63; true is dark (lit on an OLED).
using PixelSource = std::function<bool(int x, int y)>;

class PanelBackEnd {
 public:
  virtual ~PanelBackEnd() = default;
  // The controller's init sequence; the next Show sends the whole picture and turns it on.
  virtual bool Init() = 0;
  // Sends the pixels that differ from what the panel shows; false when the bus failed.
  virtual bool Show(const PixelSource& pixel) = 0;
  // Bytes put on the bus so far (an I2C write's address byte included).
  virtual int64_t BusBytes() const = 0;
};

// How an SSD1306 or SH1106 gets its command and data bytes.
class OledLink {
 public:
  virtual ~OledLink() = default;
  virtual bool Send(bool data, const std::vector<uint8_t>& bytes) = 0;
  virtual void Reset() {}
  int64_t bytes = 0;
};

// I2C: one write per burst, its first byte the control byte (00h commands, 40h data).
class I2cOledLink : public OledLink {
 public:
  explicit I2cOledLink(I2cBus& bus) : bus_(bus) {}
  bool Send(bool data, const std::vector<uint8_t>& bytes) override;

 private:
  I2cBus& bus_;
};

// SPI (4-wire): the D/C line (line 0) says commands or data; line 1 is the reset line.
class SpiOledLink : public OledLink {
 public:
  SpiOledLink(SpiBus& bus, GpioLines& dc_reset) : bus_(bus), lines_(dc_reset) {}
  bool Send(bool data, const std::vector<uint8_t>& bytes) override;
  void Reset() override;

 private:
  SpiBus& bus_;
  GpioLines& lines_;
};

// Also decodes every burst into a panel model (the preview's picture); the real link may be
// missing (no device), and then only the model sees the bytes.
class ModelOledLink : public OledLink {
 public:
  ModelOledLink(OledLink* real, lcd::OledPanel& model) : real_(real), model_(model) {}
  bool Send(bool data, const std::vector<uint8_t>& bytes) override;
  void Reset() override {
    if (real_) real_->Reset();
  }

 private:
  OledLink* real_;
  lcd::OledPanel& model_;
};

class OledBackEnd : public PanelBackEnd {
 public:
  OledBackEnd(lcd::OledPanel::Chip chip, OledLink& link) : chip_(chip), link_(link) {}
  bool Init() override;
  bool Show(const PixelSource& pixel) override;
  int64_t BusBytes() const override { return link_.bytes; }

 private:
  lcd::OledPanel::Chip chip_;
  OledLink& link_;
  std::array<std::array<uint8_t, 128>, 8> shown_{};
  bool valid_ = false;
  bool on_ = false;
};

class St7920BackEnd : public PanelBackEnd {
 public:
  // The controller needs 72 us for an instruction or a data byte (1.6 ms to clear); at up to
  // 333 kHz a byte's 24 bits take that long, above it wait_us waits between bytes.
  St7920BackEnd(SpiBus& bus, uint32_t hz, std::function<void(int us)> wait_us = {});
  bool Init() override;
  bool Show(const PixelSource& pixel) override;
  int64_t BusBytes() const override { return bytes_; }

 private:
  bool Send(const std::vector<std::pair<bool, uint8_t>>& bytes);
  SpiBus& bus_;
  uint32_t hz_;
  std::function<void(int)> wait_us_;
  std::array<std::array<uint16_t, 16>, 32> shown_{};
  bool valid_ = false;
  int64_t bytes_ = 0;
};

// Also decodes every SPI transfer into an ST7920 model; the real bus may be missing.
class ModelSpi : public SpiBus {
 public:
  ModelSpi(SpiBus* real, lcd::St7920Panel& model) : real_(real), model_(model) {}
  bool Transfer(const uint8_t* bytes, size_t n) override {
    model_.Write(bytes, n);
    return real_ ? real_->Transfer(bytes, n) : true;
  }

 private:
  SpiBus* real_;
  lcd::St7920Panel& model_;
};

// The KS0108 panel on GPIO lines: the levels the parallel port's connector would put on the
// panel's pins (data D0-D7, E, CS1, CS2, D/I; R/W tied low) go to twelve lines instead. The
// order of the lines, as options give them.
constexpr std::array<const char*, 12> kKs0108GpioPins = {"D0", "D1", "D2", "D3", "D4", "D5",
                                                         "D6", "D7", "E",  "CS1", "CS2", "DI"};

class Ks0108GpioPort : public platform::PortIo {
 public:
  explicit Ks0108GpioPort(GpioLines& lines, int base_port);
  void Out32(int16_t port, int16_t value) override;
  bool failed() const { return failed_; }

 private:
  GpioLines& lines_;
  int base_;
  std::vector<int> levels_;
  bool failed_ = false;
};

}  // namespace lorvan::linuxhost
