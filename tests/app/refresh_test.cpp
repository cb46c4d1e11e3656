// The refresh tick: scrolling, status fields, progress and the end-of-track advance.
#include "app/refresh_cycle.h"
#include "box.h"
#include "text/utf8_text.h"

namespace lorvan::testing {
namespace {

TEST(PlayProgress, ScalesToNinetyNineRoundingHalvesToEven) {
  const struct {
    int32_t elapsed, length;
    int16_t progress;
  } cases[] = {
      {61, 122, 50},   // 49.5
      {1, 198, 0},     // 0.5
      {3, 198, 2},     // 1.5
      {30, 120, 25},   // 24.75
      {120, 120, 99},
      {0, 120, 0},
      {17, 0, 0},      // no length
      {0, -1, 0},
      {-5, 100, -5},   // -4.95
      {10, -1, -990},
      {400, -1, -32768},  // a stream far along: held at the Integer range
      {2147483, 1, 32767},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::PlayProgress(c.elapsed, c.length), c.progress) << c.elapsed << "/" << c.length;
  }
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST_F(NavTest, HighlightedLineRotatesByCharactersOnlyForLongNames) {
  const std::pair<std::string, bool> cases[] = {
      {Repeat("a", 22) + ".mp3", false},             // 26 characters
      {Repeat("a", 23) + ".mp3", true},              // 27 characters
      {Repeat("\xc3\xa4", 22) + ".mp3", false},      // 26 characters, 48 bytes
      {Repeat("\xc3\xa4", 23) + ".mp3", true},       // 27 characters
      {Repeat("\xe2\x99\xab", 23) + ".mp3", true},  // three-byte characters
  };
  for (const auto& [name, scrolls] : cases) {
    SCOPED_TRACE(name);
    Start({name});
    const std::string line = f().lstFilePreview.lines.at(0);
    f().tmrRefresh_Timer();
    if (!scrolls) {
      EXPECT_EQ(f().lstFilePreview.lines[0], line);
      continue;
    }
    EXPECT_EQ(f().lstFilePreview.lines[0], text::Utf8RotateLeft(line));
    for (size_t i = 1; i < text::Utf8Length(line); ++i) {
      EXPECT_NE(f().lstFilePreview.lines[0], line);
      f().tmrRefresh_Timer();
    }
    EXPECT_EQ(f().lstFilePreview.lines[0], line);  // back after as many ticks as characters
    EXPECT_EQ(s().gsSelectedEntry, name);
  }
}

TEST_F(NavTest, LongFolderTitleScrollsByOneCharacterPerTick) {
  Start({"A Folder With A Long Name/x.mp3", "Short/x.mp3"});
  WalkTo("A Folder With A Long Name");
  f().cmdPlay_Click();
  const std::string title = "     A Folder With A Long Name";
  EXPECT_EQ(s().gsFolderTitle, title);
  f().tmrRefresh_Timer();
  EXPECT_EQ(s().gsFolderTitle, "    A Folder With A Long Name ");
  for (size_t i = 1; i < title.size(); ++i) f().tmrRefresh_Timer();
  EXPECT_EQ(s().gsFolderTitle, title);
  f().cmdStop_Click();
  WalkTo("Short");
  f().cmdPlay_Click();
  f().tmrRefresh_Timer();
  EXPECT_EQ(s().gsFolderTitle, "     Short");
}

}  // namespace
}  // namespace lorvan::testing
