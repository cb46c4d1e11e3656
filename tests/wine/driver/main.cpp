// lorvan-wine-tests.exe [GTEST_OPTIONS] BIN_FOLDER DATA_FOLDER WORK_FOLDER
// Runs the Windows program's tests under Wine (or on Windows).
#include <gtest/gtest.h>

#include <cstdio>

#include "support.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: lorvan-wine-tests [GTEST_OPTIONS] BIN_FOLDER DATA_FOLDER WORK_FOLDER\n");
    return 2;
  }
  lorvan::winetest::TestPaths() = {argv[1], argv[2], argv[3]};
  return RUN_ALL_TESTS();
}
