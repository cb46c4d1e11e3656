// The window's controls: accelerators and check boxes.
#include "app/controls.h"

#include <gtest/gtest.h>

#include <utility>

namespace lorvan::app {
namespace {

TEST(Accelerator, IsTheCharacterAfterTheAmpersand) {
  const std::pair<const char*, char> cases[] = {{"&Play", 'P'}, {"P&ause", 'a'}, {">&>", '>'},
                                                {"&<<", '<'},   {"Initialize Display", 0}, {"Salt && &Pepper", 'P'}};
  for (const auto& [caption, key] : cases) EXPECT_EQ(AcceleratorOf(caption), key) << caption;
}

TEST(CheckBox, ClickRunsOnlyOnAChange) {
  CheckBox c("chk", "&C");
  int clicks = 0;
  c.on_click = [&] { ++clicks; };
  c.SetValue(0);
  EXPECT_EQ(clicks, 0);
  c.Click();
  EXPECT_EQ(c.value, 1);
  c.SetValue(1);
  EXPECT_EQ(clicks, 1);
  c.SetValue(2);
  c.Click();
  EXPECT_EQ(c.value, 0);
  EXPECT_EQ(clicks, 3);
}

}  // namespace
}  // namespace lorvan::app
