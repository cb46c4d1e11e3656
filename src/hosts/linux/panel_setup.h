#pragma once
// The panel a box has, chosen by the --panel options: the parallel port's KS0108 (today's),
// the KS0108 on GPIO lines, or an SSD1306, SH1106 or ST7920 on I2C or SPI. The core writes
// KS0108 port bytes in every case; the virtual panel decodes them, and a back end of another
// controller sends what changed of that picture to its own.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/linux/panel_backends.h"
#include "hosts/linux/panel_options.h"
#include "hosts/linux/ports.h"

namespace lorvan::linuxhost {

// The chosen panel. Its devices are opened at once; one that cannot be opened is logged once
// (naming the device and why) and the box runs on with the virtual panel.
class PanelSetup {
 public:
  PanelSetup(const PanelOptions& o, platform::PortIo* lpt, const std::function<void(const std::string&)>& log);
  ~PanelSetup();
  // Where the core writes its KS0108 port bytes.
  platform::PortIo& Port() { return *port_; }
  // The picture the chosen panel shows (its controller's model), for the preview.
  bool Pixel(int x, int y) const;
  // After the core's writes: a back end sends what changed of the picture.
  void Flush();
  const std::string& Name() const { return name_; }
  const std::string& Note() const { return note_; }
  // The KS0108 picture the core sent, decoded from its port writes.
  const VirtualPanelPort& VirtualPanel() const { return virtual_panel_; }

 private:
  std::function<void(const std::string&)> log_;
  std::string name_, note_;
  VirtualPanelPort virtual_panel_;
  std::unique_ptr<platform::PortIo> gpio_port_, paced_, tee_;
  std::unique_ptr<GpioLines> lines_;
  std::unique_ptr<I2cBus> i2c_;
  std::unique_ptr<SpiBus> spi_, model_spi_;
  std::unique_ptr<OledLink> link_, model_link_;
  std::unique_ptr<lcd::OledPanel> oled_;
  std::unique_ptr<lcd::St7920Panel> st7920_;
  std::unique_ptr<PanelBackEnd> back_end_;
  platform::PortIo* port_ = nullptr;
  bool failed_ = false;
};

}  // namespace lorvan::linuxhost
