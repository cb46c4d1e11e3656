// The Windows host's portable pieces: the preview's pixel conversion, the code tables, and
// the key notation that closes the player ("%{F4}").
#include <gtest/gtest.h>

#include "hosts/win32/lcd_preview.h"
#include "hosts/win32/send_keys_notation.h"
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

KeyStep Down(uint8_t vk) { return {KeyStep::kKeyDown, vk, 0}; }
KeyStep Up(uint8_t vk) { return {KeyStep::kKeyUp, vk, 0}; }
KeyStep Char(char c) { return {KeyStep::kCharacter, 0, c}; }
constexpr uint8_t kF4 = kVkF1 + 3;

TEST(SendKeysNotation, KeysModifiersGroupsAndRepeats) {
  const struct {
    const char* notation;
    std::vector<KeyStep> steps;
  } rows[] = {
      {"%{F4}", {Down(kVkMenu), Down(kF4), Up(kF4), Up(kVkMenu)}},
      {"%{f4}", {Down(kVkMenu), Down(kF4), Up(kF4), Up(kVkMenu)}},  // key names in any case
      {"^ca", {Down(kVkControl), Char('c'), Up(kVkControl), Char('a')}},
      {"+(ab)c", {Down(kVkShift), Char('a'), Char('b'), Up(kVkShift), Char('c')}},
      {"%^{DEL}", {Down(kVkMenu), Down(kVkControl), Down(kVkDelete), Up(kVkDelete), Up(kVkControl), Up(kVkMenu)}},
      {"{ENTER 2}", {Down(kVkReturn), Up(kVkReturn), Down(kVkReturn), Up(kVkReturn)}},
      {"~", {Down(kVkReturn), Up(kVkReturn)}},
      {"{F12}", {Down(kVkF1 + 11), Up(kVkF1 + 11)}},
      {"{+}{%}{~}{(}", {Char('+'), Char('%'), Char('~'), Char('(')}},
      {"{}}{{}", {Char('}'), Char('{')}},
      {"{x 3}", {Char('x'), Char('x'), Char('x')}},
      {"", {}},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseSendKeys(row.notation), row.steps) << row.notation;
}

TEST(SendKeysNotation, MalformedNotationIsRefused) {
  for (const char* bad : {"%", "{F4", "{NOPE}", "(ab", "a)", "{F4 x}", "}", "+"}) {
    EXPECT_THROW(ParseSendKeys(bad), KeyNotationError) << bad;
  }
}

}  // namespace
}  // namespace lorvan::win32
