// The resume journal when it is damaged or foreign, and how often it wears the disk. (Power
// cuts while it is written or taken over are scenario files.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>


#include "hardening/hard_box.h"
#include "navigation/resume_journal.h"

namespace lorvan::testing {
namespace {

using ::testing::HasSubstr;

void Arrange(HardBox& b) {
  b.Write("Music/Album/a.mp3");
  b.Write("Music/Album/b.mp3");
}

TEST(ResumeJournal, ADamagedOrForeignJournalIsSetAsideAndToldOnce) {
  HardBox source;
  Arrange(source);
  ASSERT_EQ(RunScenario(source.dir(), "start\nkey P\nkey P\nwait 31000\ncrash\n").exit_status, 137);
  const std::string whole = source.Read("Lorvan.resume");
  std::string flipped = whole;
  flipped[flipped.find("Music/Album/")] ^= 1;
  navigation::BrowserState elsewhere;
  elsewhere.gsLastResumeMp3AudioDir = "Music/Album/";
  elsewhere.glLastResumeMp3PlayPos = 5000;
  struct Case {
    const char* name;
    std::string content;
    const char* aside;
    const char* told;
  } cases[] = {
      {"cut short", whole.substr(0, whole.size() / 2), ".damaged", "cut short"},
      {"cut at a line end", whole.substr(0, whole.find("\r\n", 100) + 2), ".damaged", "lines instead of"},
      {"one bit changed", flipped, ".damaged", "check line"},
      {"empty", "", ".damaged", "does not start as a resume journal"},
      {"another folder", navigation::ResumeJournalText("/elsewhere", elsewhere), ".foreign", "/elsewhere"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    Arrange(b);
    b.Write("Lorvan.resume", c.content);
    const std::string settings = b.Read("Lorvan.ini");
    ASSERT_EQ(b.Run("start\nwait 100\n"), 0) << b.err.str();
    const auto boxes = b.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_THAT(boxes[0]["text"].get<std::string>(), HasSubstr("Lorvan.resume"));
    EXPECT_THAT(boxes[0]["text"].get<std::string>(), HasSubstr(c.told));
    EXPECT_EQ(b.Read(std::string("Lorvan.resume") + c.aside), c.content);
    EXPECT_FALSE(std::filesystem::exists(b.dir() + "/Lorvan.resume"));
    EXPECT_EQ(b.Read("Lorvan.ini"), settings) << "the bookmark stays as the settings had it";
    EXPECT_TRUE(b.form().Running()) << "start-up went on";

    const ScenarioResult again = RunScenario(b.dir(), "start\ndump events\n");
    EXPECT_THAT(again.out, ::testing::Not(HasSubstr("msgbox"))) << "told once";
  }
}

TEST(ResumeJournal, WritesAtMost150AnHourWhilePlaying) {
  struct Case {
    const char* name;
    int track_s;
  } cases[] = {{"three-minute tracks", 180}, {"five-second tracks", 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HardBox b;
    for (int i = 0; i < 800; ++i) b.Write("Music/Album/t" + std::to_string(1000 + i) + ".mp3");
    ASSERT_EQ(b.Run("player length " + std::to_string(c.track_s) + "\nstart\nkey P\nkey P\nwait 3600000\ndump state\n"), 0)
        << b.err.str();
    const int64_t writes = b.form().resume_journal_writes;
    std::printf("[ figure ] %s: %lld journal writes in an hour of playback\n", c.name, static_cast<long long>(writes));
    EXPECT_LE(writes, 150);
    EXPECT_GE(writes, 100) << "the journal keeps up with the playback";
  }
}

}  // namespace
}  // namespace lorvan::testing
