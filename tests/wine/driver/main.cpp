// lorvan-wine-tests.exe --bin FOLDER --data FOLDER --work FOLDER [FILTER]
// Runs the Windows program's tests under Wine (or on Windows).
#include <cstdio>
#include <string>

#include "check.h"
#include "support.h"

int main(int argc, char** argv) {
  using lorvan::winetest::TestPaths;
  std::string filter;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--bin" && i + 1 < argc) {
      TestPaths().bin = argv[++i];
    } else if (a == "--data" && i + 1 < argc) {
      TestPaths().data = argv[++i];
    } else if (a == "--work" && i + 1 < argc) {
      TestPaths().work = argv[++i];
    } else if (a.rfind("--", 0) != 0) {
      filter = a;
    } else {
      std::fprintf(stderr, "usage: lorvan-wine-tests --bin FOLDER --data FOLDER --work FOLDER [FILTER]\n");
      return 2;
    }
  }
  if (TestPaths().bin.empty() || TestPaths().work.empty()) {
    std::fprintf(stderr, "lorvan-wine-tests: --bin and --work are needed\n");
    return 2;
  }
  return lorvan::winetest::RunAll(filter);
}
