#include "hosts/linux/web/frame.h"

#include <nlohmann/json.hpp>

namespace lorvan::linuxhost::web {
namespace {

std::string Dump(const nlohmann::json& j) { return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace); }

std::string KeyText(char key) { return key == 0 ? "" : key == '\r' ? "Enter" : std::string(1, key); }

}  // namespace

void PackPanel(const std::function<bool(int x, int y)>& dark, std::array<uint8_t, kPanelBytes>& panel) {
  for (int y = 0; y < kPanelHeight; ++y) {
    for (int bx = 0; bx < kPanelWidth / 8; ++bx) {
      uint8_t b = 0;
      for (int i = 0; i < 8; ++i) b = static_cast<uint8_t>(b << 1 | (dark(bx * 8 + i, y) ? 1 : 0));
      panel[static_cast<size_t>(y * kPanelWidth / 8 + bx)] = b;
    }
  }
}

std::string FrameJson(const Frame& f, uint64_t seq) {
  nlohmann::json j = {{"seq", seq},         {"panel", Base64(f.panel.data(), f.panel.size())},
                      {"info", f.info},     {"file", f.file},
                      {"files", f.files},   {"time", f.time},
                      {"total", f.total},   {"bitrate", f.bitrate},
                      {"tx", f.tx},         {"player", f.player},
                      {"checks", f.checks}, {"key", KeyText(f.key)},
                      {"keys", f.keys}};
  return Dump(j);
}

std::string ControlsJson(const std::vector<PageControl>& controls) {
  nlohmann::json list = nlohmann::json::array();
  for (const PageControl& c : controls) {
    list.push_back({{"caption", c.caption}, {"key", c.key == '\r' ? "\r" : std::string(1, c.key)}, {"check", c.check}});
  }
  return Dump(list);
}

std::string Base64(const uint8_t* data, size_t size) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((size + 2) / 3 * 4);
  for (size_t i = 0; i < size; i += 3) {
    const uint32_t n = uint32_t{data[i]} << 16 | (i + 1 < size ? uint32_t{data[i + 1]} << 8 : 0) |
                       (i + 2 < size ? uint32_t{data[i + 2]} : 0);
    out += kDigits[n >> 18 & 63];
    out += kDigits[n >> 12 & 63];
    out += i + 1 < size ? kDigits[n >> 6 & 63] : '=';
    out += i + 2 < size ? kDigits[n & 63] : '=';
  }
  return out;
}

}  // namespace lorvan::linuxhost::web
