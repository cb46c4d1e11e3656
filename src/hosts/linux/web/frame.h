#pragma once
// What the web page shows of the box: one frame is the panel's picture with the status line,
// the player's state and the check boxes, as the event loop last published it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lorvan::linuxhost::web {

constexpr int kPanelWidth = 128;
constexpr int kPanelHeight = 64;
constexpr size_t kPanelBytes = kPanelWidth * kPanelHeight / 8;

struct Frame {
  // The panel row by row from the top, 16 bytes a row, the leftmost pixel in the highest bit
  // of its byte (the layout of a binary PBM image); a set bit is a dark pixel.
  std::array<uint8_t, kPanelBytes> panel{};
  std::string info;  // the main window's title line
  std::string file, files, time, total, bitrate, tx;
  std::string player;  // playing, paused, stopped or no window
  std::vector<int> checks;  // the check boxes' values, in the order of the controls
  char key = 0;             // the last key stroke the window took, 0 before the first
  int64_t keys = 0;         // how many it took
  bool operator==(const Frame&) const = default;
};

// Packs a picture given by dark(x, y) into a frame's panel bytes.
void PackPanel(const std::function<bool(int x, int y)>& dark, std::array<uint8_t, kPanelBytes>& panel);

// The frame as one line of JSON, with its number; text that is not UTF-8 shows "?" marks.
std::string FrameJson(const Frame& frame, uint64_t seq);

// A key of the remote on the page: the control's caption ("&" before the accelerator), the
// key stroke that presses it and whether it is a check box.
struct PageControl {
  std::string caption;
  char key = 0;
  bool check = false;
};
std::string ControlsJson(const std::vector<PageControl>& controls);

std::string Base64(const uint8_t* data, size_t size);

}  // namespace lorvan::linuxhost::web
