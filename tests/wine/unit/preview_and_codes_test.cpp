// The preview's pixel conversion and the code tables of the Windows host.
#include <gtest/gtest.h>

#include "hosts/win32/lcd_preview.h"
#include "hosts/win32/win32_codes.h"
#include "platform/drives.h"

namespace lorvan::win32 {
namespace {

TEST(LcdPreview, ColoursSwapRedAndBlueRowsFromTheTop) {
  lcd::Picture p(3, 2);  // white at first
  p.PSet(1, 0, 0x0000FF);  // red as 0xBBGGRR
  p.PSet(0, 1, 0xFF0000);  // blue
  p.PSet(2, 1, 0x00FF00);  // green
  p.PSet(2, 0, lcd::kBlack);
  const std::vector<uint32_t> px = PreviewPixels(p);
  ASSERT_EQ(px.size(), 6u);
  EXPECT_EQ(px[0], 0xFFFFFFu);
  EXPECT_EQ(px[1], 0xFF0000u) << "red goes to the red byte of the bitmap";
  EXPECT_EQ(px[2], 0x000000u);
  EXPECT_EQ(px[3], 0x0000FFu) << "blue goes to the blue byte, and row 1 follows row 0";
  EXPECT_EQ(px[5], 0x00FF00u);
}

TEST(Win32Codes, WindowStylesBecomeShowCommands) {
  EXPECT_EQ(ShowCommandOf(0), 0);  // hidden
  EXPECT_EQ(ShowCommandOf(1), 1);  // normal with focus
  EXPECT_EQ(ShowCommandOf(2), 2);  // minimized with focus (Hardstop.exe)
  EXPECT_EQ(ShowCommandOf(3), 3);
  EXPECT_EQ(ShowCommandOf(4), 4);  // normal without focus (the player at start-up)
  EXPECT_EQ(ShowCommandOf(6), 7) << "minimized without focus is SW_SHOWMINNOACTIVE, not SW_MINIMIZE";
  EXPECT_EQ(ShowCommandOf(5), 1);
}

TEST(Win32Codes, DirectoryErrorsBecomeRunTimeErrors) {
  EXPECT_EQ(ChDirErrorOf(21), platform::kErrPathFileAccess) << "a drive without a disc";
  EXPECT_EQ(ChDirErrorOf(5), platform::kErrPathFileAccess);
  EXPECT_EQ(ChDirErrorOf(3), platform::kErrPathNotFound);
  EXPECT_EQ(ChDirErrorOf(2), platform::kErrPathNotFound);
  EXPECT_EQ(ChDirErrorOf(15), platform::kErrPathNotFound) << "a drive letter the system does not have";
}

}  // namespace
}  // namespace lorvan::win32
