#include "hosts/linux/panel_setup.h"

#include <time.h>

#include <stdexcept>

#include "lcd/ks0108.h"

namespace lorvan::linuxhost {

const char* const kPanelKinds[6] = {"ks0108-lpt", "ks0108-gpio", "ssd1306-i2c", "sh1106-i2c", "ssd1306-spi",
                                    "st7920-spi"};

namespace {

long Number(const std::string& name, const std::string& value, long max) {
  size_t used = 0;
  long n = -1;
  try {
    n = std::stol(value, &used, 0);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != value.size() || n < 0 || n > max) {
    throw std::invalid_argument(name + ": \"" + value + "\" is not a number from 0 to " + std::to_string(max));
  }
  return n;
}

// The wiring of docs/panels.md (BCM line numbers of the Raspberry Pi's header).
const std::vector<unsigned> kKs0108Pins = {4, 17, 27, 22, 5, 6, 13, 19, 26, 16, 20, 21};
const std::vector<unsigned> kSpiOledPins = {25, 24};

void SleepMicroseconds(int us) {
  timespec t{0, static_cast<long>(us) * 1000};
  while (nanosleep(&t, &t) != 0) {
  }
}

}  // namespace

bool ParsePanelOption(const std::string& name, const std::string& value, PanelOptions& o) {
  auto need = [&]() -> const std::string& {
    if (value.empty()) throw std::invalid_argument(name + " needs a value (" + name + "=...)");
    return value;
  };
  if (name == "--panel") {
    need();
    for (const char* k : kPanelKinds) {
      if (value == k) {
        o.kind = value;
        return true;
      }
    }
    throw std::invalid_argument("--panel is ks0108-lpt, ks0108-gpio, ssd1306-i2c, sh1106-i2c, ssd1306-spi or st7920-spi");
  } else if (name == "--panel-bus") {
    o.bus = need();
  } else if (name == "--panel-address") {
    o.address = static_cast<int>(Number(name, need(), 0x7F));
  } else if (name == "--panel-gpio") {
    o.gpio_chip = need();
  } else if (name == "--panel-pins") {
    o.pins.clear();
    std::string rest = need();
    while (true) {
      const size_t comma = rest.find(',');
      o.pins.push_back(static_cast<unsigned>(Number(name, rest.substr(0, comma), 1023)));
      if (comma == std::string::npos) break;
      rest = rest.substr(comma + 1);
    }
  } else if (name == "--panel-clock") {
    o.clock_hz = static_cast<uint32_t>(Number(name, need(), 100000000));
    if (o.clock_hz == 0) throw std::invalid_argument("--panel-clock must not be 0");
  } else {
    return false;
  }
  return true;
}

PanelSetup::PanelSetup(const PanelOptions& o, platform::PortIo* lpt, const std::function<void(const std::string&)>& log)
    : log_(log) {
  platform::PortIo* real = nullptr;
  const bool i2c = o.kind == "ssd1306-i2c" || o.kind == "sh1106-i2c";
  const bool spi = o.kind == "ssd1306-spi" || o.kind == "st7920-spi";
  const std::string bus = !o.bus.empty() ? o.bus : i2c ? "/dev/i2c-1" : "/dev/spidev0.0";
  const uint32_t hz = o.clock_hz ? o.clock_hz : o.kind == "st7920-spi" ? 200000 : 8000000;
  auto pins = [&](const std::vector<unsigned>& usual) {
    if (o.pins.empty()) return usual;
    if (o.pins.size() != usual.size()) {
      throw PortError("--panel-pins: " + o.kind + " needs " + std::to_string(usual.size()) + " line numbers");
    }
    return o.pins;
  };
  try {
    if (o.kind == "ks0108-lpt") {
      real = lpt;
      name_ = "virtual";
    } else if (o.kind == "ks0108-gpio") {
      lines_ = std::make_unique<GpiodLines>(o.gpio_chip, pins(kKs0108Pins));
      gpio_port_ = std::make_unique<Ks0108GpioPort>(*lines_, lcd::kFirstParallelPort);
      real = gpio_port_.get();
      name_ = "KS0108 on " + o.gpio_chip;
    } else if (i2c) {
      i2c_ = std::make_unique<I2cDevBus>(bus, o.address);
      link_ = std::make_unique<I2cOledLink>(*i2c_);
      name_ = o.kind + " on " + bus;
    } else if (o.kind == "ssd1306-spi") {
      spi_ = std::make_unique<SpiDevBus>(bus, hz, false);
      lines_ = std::make_unique<GpiodLines>(o.gpio_chip, pins(kSpiOledPins));
      link_ = std::make_unique<SpiOledLink>(*spi_, *lines_);
      name_ = o.kind + " on " + bus;
    } else if (spi) {
      // The ST7920's chip select (its RS pin) is active high.
      spi_ = std::make_unique<SpiDevBus>(bus, hz, true);
      name_ = o.kind + " on " + bus;
    }
  } catch (const PortError& e) {
    note_ = "no LCD " + o.kind + ": " + std::string(e.what()) + "; the panel is the virtual one of the preview";
    log_(note_);
    link_.reset();
    spi_.reset();
    real = nullptr;
    name_ = "virtual " + o.kind;
  }
  if (real) {
    // The KS0108's enable timing kept however fast the port or the lines are.
    paced_ = std::make_unique<PacedPort>(*real, lcd::kEnableLevelMinNs);
    tee_ = std::make_unique<TeePort>(*paced_, virtual_panel_);
    port_ = tee_.get();
  } else {
    port_ = &virtual_panel_;
  }
  using Chip = lcd::OledPanel::Chip;
  if (o.kind == "ssd1306-i2c" || o.kind == "sh1106-i2c" || o.kind == "ssd1306-spi") {
    oled_ = std::make_unique<lcd::OledPanel>(o.kind == "sh1106-i2c" ? Chip::kSh1106 : Chip::kSsd1306);
    model_link_ = std::make_unique<ModelOledLink>(link_.get(), *oled_);
    back_end_ = std::make_unique<OledBackEnd>(oled_->chip(), *model_link_);
  } else if (o.kind == "st7920-spi") {
    st7920_ = std::make_unique<lcd::St7920Panel>();
    model_spi_ = std::make_unique<ModelSpi>(spi_.get(), *st7920_);
    back_end_ = std::make_unique<St7920BackEnd>(*model_spi_, hz, [](int us) { SleepMicroseconds(us); });
  }
  if (back_end_ && !back_end_->Init()) failed_ = true;
}

PanelSetup::~PanelSetup() = default;

bool PanelSetup::Pixel(int x, int y) const {
  if (oled_) return oled_->Pixel(x, y);
  if (st7920_) return st7920_->Pixel(x, y);
  return virtual_panel_.panel().Pixel(x, y);
}

void PanelSetup::Flush() {
  const auto* gpio = dynamic_cast<const Ks0108GpioPort*>(gpio_port_.get());
  bool ok = gpio ? !gpio->failed() : true;
  if (back_end_) {
    const auto& panel = virtual_panel_.panel();
    ok = back_end_->Show([&panel](int x, int y) { return panel.Pixel(x, y); });
  }
  // A bus that fails is told once; the next picture is sent whole again.
  if (!ok && !failed_) log_("the LCD " + name_ + " does not answer; the preview shows what it should show");
  failed_ = !ok;
}

}  // namespace lorvan::linuxhost
