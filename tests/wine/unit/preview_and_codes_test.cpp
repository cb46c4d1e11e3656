// The preview's pixel conversion and the code tables of the Windows host.
#include <gtest/gtest.h>

#include "hosts/win32/lcd_preview.h"
#include "hosts/win32/win32_codes.h"
#include "platform/drives.h"

namespace lorvan::win32 {
namespace {

TEST(LcdPreview, ColoursSwapRedAndBlueRowsFromTheTop) {
  lcd::Picture p(3, 2);    // white at first
  p.PSet(1, 0, 0x0000FF);  // red as 0xBBGGRR
  p.PSet(0, 1, 0xFF0000);  // blue
  p.PSet(2, 1, 0x00FF00);  // green
  p.PSet(2, 0, lcd::kBlack);
  EXPECT_EQ(PreviewPixels(p), (std::vector<uint32_t>{0xFFFFFF, 0xFF0000, 0x000000, 0x0000FF, 0xFFFFFF, 0x00FF00}));
}

TEST(Win32Codes, WindowStylesBecomeShowCommands) {
  // Styles 0 to 4 are the show commands of the same number; 6 (minimized without focus) is
  // SW_SHOWMINNOACTIVE, not SW_MINIMIZE; anything else shows a normal window with focus.
  const int show_command[] = {0, 1, 2, 3, 4, 1, 7, 1};
  for (int style = 0; style < 8; ++style) EXPECT_EQ(ShowCommandOf(style), show_command[style]) << "style " << style;
}

TEST(Win32Codes, DirectoryErrorsBecomeRunTimeErrors) {
  // A path the system cannot find (a drive letter it does not have, a bad name, a file) is
  // "path not found"; a drive without a disc, a denied access and the rest "path/file access".
  for (uint32_t error : {2u, 3u, 15u, 53u, 67u, 123u, 161u, 267u}) {
    EXPECT_EQ(ChDirErrorOf(error), platform::kErrPathNotFound) << "error " << error;
  }
  for (uint32_t error : {5u, 21u, 32u}) EXPECT_EQ(ChDirErrorOf(error), platform::kErrPathFileAccess) << "error " << error;
}

}  // namespace
}  // namespace lorvan::win32
