// The key notation that closes the player ("%{F4}") and the rest of the notation.
#include "hosts/win32/send_keys_notation.h"

#include <gtest/gtest.h>

namespace lorvan::win32 {
namespace {

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
