#include "lcd_fixture.h"

#include <cstdio>

namespace lorvan::testing {

lcd::Picture PictureFromTable(int width, int height, const std::string& table) {
  lcd::Picture p(width, height);
  std::stringstream rows(table);
  for (std::string part; std::getline(rows, part, ';');) {
    const size_t colon = part.find(':');
    int r0 = 0, r1 = 0;
    if (std::sscanf(part.substr(0, colon).c_str(), " r%d-r%d", &r0, &r1) != 2) {
      if (std::sscanf(part.substr(0, colon).c_str(), " r%d", &r0) != 1) throw std::runtime_error("bad table: " + part);
      r1 = r0;
    }
    std::stringstream cols(part.substr(colon + 1));
    for (std::string range; std::getline(cols, range, ',');) {
      int c0 = 0, c1 = 0;
      if (std::sscanf(range.c_str(), " %d-%d", &c0, &c1) != 2) {
        if (std::sscanf(range.c_str(), " %d", &c0) != 1) throw std::runtime_error("bad table: " + range);
        c1 = c0;
      }
      for (int y = r0; y <= r1; ++y)
        for (int x = c0; x <= c1; ++x) p.PSet(x, y, lcd::kBlack);
    }
  }
  return p;
}

}  // namespace lorvan::testing
