#pragma once
// The panel's picture as a PNG image, so a screen can be looked at without the hardware.
#include <functional>
#include <string>

namespace lorvan::sim {

// Writes a width x height picture, each pixel as a scale x scale block, dark pixels on the
// light yellow-green of the real panel. Returns an empty string, or what went wrong.
std::string WritePanelPng(const std::string& path, int width, int height, const std::function<bool(int, int)>& dark,
                          int scale = 4);

}  // namespace lorvan::sim
