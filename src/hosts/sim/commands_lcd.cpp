// Script commands of the panel: the decoded picture, the off-screen picture and the port.
#include <ostream>

#include "hosts/sim/ks0108_png.h"
#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {
namespace {

std::optional<std::string> NoArgs(const Words& a) {
  if (!a.empty()) return "this command takes no arguments";
  return std::nullopt;
}

// 64 lines of 128 characters, "#" dark and "." clear.
template <typename Dark>
void DumpPixels(std::ostream& out, Dark dark) {
  std::string line(lcd::kLcdWidth, '.');
  for (int y = 0; y < lcd::kLcdHeight; ++y) {
    for (int x = 0; x < lcd::kLcdWidth; ++x) line[x] = dark(x, y) ? '#' : '.';
    out << line << "\n";
  }
}

}  // namespace

void RegisterLcdCommands(SimRunner& r) {
  r.commands.Add("dump lcd", {NoArgs, [&r](const Words&) {
                                DumpPixels(r.out, [&r](int x, int y) { return r.world.port.panel.Pixel(x, y); });
                              }});
  r.commands.Add("dump picture", {NoArgs, [&r](const Words&) {
                                    DumpPixels(r.out, [&r](int x, int y) { return lcd::IsSetPixel(r.form.picLcd.Point(x, y)); });
                                  }});
  r.commands.Add("dump port", {NoArgs, [&r](const Words&) {
                                 const auto writes = r.world.port.TakeWrites();
                                 if (r.world.port.DroppedWrites() > 0) {
                                   r.err << "lorvan-sim: dump port: the " << r.world.port.DroppedWrites()
                                         << " oldest writes since the previous dump were not kept\n";
                                 }
                                 for (const auto& w : writes) r.out << w << "\n";
                               }});
  r.commands.Add("dump png", {[](const Words& a) -> std::optional<std::string> {
                                if (a.size() != 1) return "dump png takes one file name";
                                return std::nullopt;
                              },
                              [&r](const Words& a) {
                                const lcd::ks0108::Panel& panel = r.world.port.panel;
                                const std::string problem =
                                    WritePanelPng(a[0], lcd::ks0108::Panel::kWidth, lcd::ks0108::Panel::kHeight,
                                                  [&panel](int x, int y) { return panel.Pixel(x, y); });
                                if (!problem.empty()) r.err << "lorvan-sim: dump png: " << problem << "\n";
                              }});
}

}  // namespace lorvan::sim
