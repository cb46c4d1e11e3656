// The key notation that closes the player ("%{F4}") and the rest of the notation.
#include "hosts/win32/send_keys_notation.h"

#include <gtest/gtest.h>

namespace lorvan::win32 {
namespace {

KeyStep Down(uint8_t vk) { return {KeyStep::kKeyDown, vk, 0}; }
KeyStep Up(uint8_t vk) { return {KeyStep::kKeyUp, vk, 0}; }
KeyStep Char(char c) { return {KeyStep::kCharacter, 0, c}; }
constexpr uint8_t kF4 = kVkF1 + 3;

TEST(SendKeysNotation, AltF4HoldsAltAroundF4) {
  EXPECT_EQ(ParseSendKeys("%{F4}"), (std::vector<KeyStep>{Down(kVkMenu), Down(kF4), Up(kF4), Up(kVkMenu)}));
  EXPECT_EQ(ParseSendKeys("%{f4}"), ParseSendKeys("%{F4}")) << "key names are not case-sensitive";
}

TEST(SendKeysNotation, ModifiersApplyToTheNextKeyOrGroup) {
  EXPECT_EQ(ParseSendKeys("^ca"), (std::vector<KeyStep>{Down(kVkControl), Char('c'), Up(kVkControl), Char('a')}));
  EXPECT_EQ(ParseSendKeys("+(ab)c"),
            (std::vector<KeyStep>{Down(kVkShift), Char('a'), Char('b'), Up(kVkShift), Char('c')}));
  EXPECT_EQ(ParseSendKeys("%^{DEL}"), (std::vector<KeyStep>{Down(kVkMenu), Down(kVkControl), Down(kVkDelete),
                                                            Up(kVkDelete), Up(kVkControl), Up(kVkMenu)}));
}

TEST(SendKeysNotation, NamedKeysRepeatsAndBracedCharacters) {
  EXPECT_EQ(ParseSendKeys("{ENTER 2}"),
            (std::vector<KeyStep>{Down(kVkReturn), Up(kVkReturn), Down(kVkReturn), Up(kVkReturn)}));
  EXPECT_EQ(ParseSendKeys("~"), (std::vector<KeyStep>{Down(kVkReturn), Up(kVkReturn)}));
  EXPECT_EQ(ParseSendKeys("{F12}"), (std::vector<KeyStep>{Down(kVkF1 + 11), Up(kVkF1 + 11)}));
  EXPECT_EQ(ParseSendKeys("{+}{%}{~}{(}"), (std::vector<KeyStep>{Char('+'), Char('%'), Char('~'), Char('(')}));
  EXPECT_EQ(ParseSendKeys("{}}{{}"), (std::vector<KeyStep>{Char('}'), Char('{')}));
  EXPECT_EQ(ParseSendKeys("{x 3}"), (std::vector<KeyStep>{Char('x'), Char('x'), Char('x')}));
  EXPECT_TRUE(ParseSendKeys("").empty());
}

TEST(SendKeysNotation, MalformedNotationIsRefused) {
  for (const char* bad : {"%", "{F4", "{NOPE}", "(ab", "a)", "{F4 x}", "}", "+"}) {
    EXPECT_THROW(ParseSendKeys(bad), KeyNotationError) << bad;
  }
}

}  // namespace
}  // namespace lorvan::win32
