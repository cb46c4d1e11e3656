#include "audio_files.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace lorvan::testing {
namespace {

void Put16(std::ofstream& out, uint16_t v) { out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8)); }
void Put32(std::ofstream& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

void WriteSineWav(const std::string& path, double seconds, double hz, int rate, double amplitude) {
  const uint32_t frames = static_cast<uint32_t>(seconds * rate);
  const uint32_t data_bytes = frames * 4;
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  Put32(out, 36 + data_bytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 2);
  Put32(out, static_cast<uint32_t>(rate));
  Put32(out, static_cast<uint32_t>(rate) * 4);
  Put16(out, 4);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, data_bytes);
  const double pi = std::acos(-1.0);
  for (uint32_t i = 0; i < frames; ++i) {
    const auto s = static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(2 * pi * hz * i / rate)));
    Put16(out, static_cast<uint16_t>(s));
    Put16(out, static_cast<uint16_t>(s));
  }
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string full = (dir.empty() ? "." : dir) + "/" + name;
    if (access(full.c_str(), X_OK) == 0) return full;
  }
  return {};
}

}  // namespace lorvan::testing
