#include "hosts/sim/ks0108_png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lorvan::sim {
namespace {

constexpr png_byte kLight[3] = {176, 200, 96};
constexpr png_byte kDark[3] = {28, 40, 24};

}  // namespace

std::string WritePanelPng(const std::string& path, int width, int height, const std::function<bool(int, int)>& dark,
                          int scale) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path + ": cannot write: " + std::strerror(errno);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(f);
    return path + ": cannot make the PNG image";
  }
  const int w = width * scale, h = height * scale;
  std::vector<png_byte> row(static_cast<size_t>(w) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return path + ": cannot write the PNG image";
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const png_byte* c = dark(x / scale, y / scale) ? kDark : kLight;
      std::memcpy(&row[static_cast<size_t>(x) * 3], c, 3);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(f) != 0) return path + ": cannot write: " + std::strerror(errno);
  return {};
}

}  // namespace lorvan::sim
