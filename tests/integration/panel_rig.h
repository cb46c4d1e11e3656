#pragma once
// The panel back ends on buses that record nothing but hand every byte to the model of the
// panel's controller, and the screens of the simulated box that go over them: for the back
// ends' test and the bus traffic measurement.
#include <memory>
#include <string>
#include <vector>

#include "hosts/linux/panel_backends.h"
#include "lcd/ks0108_panel.h"

namespace lorvan::testing {

using Picture = std::vector<std::string>;  // 64 rows of 128 '#' (dark) and '.'

// What a scenario run dumped: its pictures ("dump lcd") and the port writes ("dump port")
// that follow the first picture.
struct Dumps {
  std::vector<Picture> pictures;
  std::vector<std::pair<int, int>> port;
};
Dumps ParseDumps(const std::string& out);

// The panel's picture read through a pixel function.
Picture PictureOf(const std::function<bool(int, int)>& pixel);

// One back end ("ssd1306-i2c", "sh1106-i2c", "ssd1306-spi", "st7920-spi" at a clock, or
// "ks0108-gpio": then `gpio` takes the core's port writes) and its controller's model.
class Rig : public linuxhost::I2cBus, public linuxhost::SpiBus, public linuxhost::GpioLines {
 public:
  explicit Rig(const std::string& kind, uint32_t st7920_hz = 200000);
  bool Write(const uint8_t* bytes, size_t n) override;
  bool Transfer(const uint8_t* bytes, size_t n) override;
  bool Set(const std::vector<int>& values) override;
  bool Pixel(int x, int y) const;

  std::unique_ptr<linuxhost::PanelBackEnd> back_end;
  std::unique_ptr<linuxhost::Ks0108GpioPort> gpio;
  int bad_framing = 0;  // I2C writes the model could not take

 private:
  std::vector<int> levels_;
  std::unique_ptr<lcd::OledPanel> oled_;
  std::unique_ptr<linuxhost::OledLink> link_;
  lcd::St7920Panel st7920_;
  std::unique_ptr<lcd::ks0108::Panel> ks0108_;
};

}  // namespace lorvan::testing
