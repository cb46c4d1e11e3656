// The resume journal when the power goes at any step of its takeover at start-up, when it is
// damaged or foreign, and how often it wears the disk. (A cut while it is written is a scenario
// file.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "hardening/hard_box.h"
#include "navigation/resume_journal.h"

namespace lorvan::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Thrown by the file system hook: the process dies at that point, nothing after it runs.
struct Killed : std::runtime_error {
  Killed() : std::runtime_error("killed") {}
};

// The steps of a file replacement and of a removal, each a place where the power may go.
const char* const kReplaceSteps[] = {"open", "write", "sync", "rename", "folder sync"};

void Arrange(HardBox& b) {
  b.Write("Music/Album/a.mp3");
  b.Write("Music/Album/b.mp3");
}

// Kills the process at the n-th time (from 1) the file system reaches step.
std::function<bool(const std::string&)> KillAt(const std::string& step, int n) {
  auto seen = std::make_shared<int>(0);
  return [=](const std::string& s) {
    if (s == step && ++*seen == n) throw Killed();
    return true;
  };
}

TEST(ResumeJournal, APowerCutAtAnyStepOfTheTakeoverLeavesALoadableFileAndTheNextStartFinishesIt) {
  std::vector<std::pair<std::string, int>> cuts;
  for (const char* step : kReplaceSteps) cuts.emplace_back(step, 1);
  cuts.emplace_back("remove", 1);
  for (const auto& [step, n] : cuts) {
    SCOPED_TRACE(step);
    HardBox b;
    Arrange(b);
    ASSERT_EQ(RunScenario(b.dir(), "start\nkey P\nkey P\nwait 61000\ncrash\n").exit_status, 137);
    const std::string journal = b.Read("Lorvan.resume");

    b.Probe("arm", [&b, step = step, n = n] { b.world().files.fault_injection = KillAt(step, n); });
    ASSERT_EQ(b.Run("probe arm\nstart\n"), 1) << b.err.str();

    // The settings file alone loads, with the old bookmark or the journal's.
    const bool journal_left = b.Exists("Lorvan.resume");
    if (journal_left) fs::rename(b.dir() + "/Lorvan.resume", b.sandbox() + "/kept");
    const Loaded alone = LoadProgram(b.dir());
    ASSERT_EQ(alone.exit_status, 0) << alone.err;
    const int64_t pos = alone.state["glLastResumeMp3PlayPos"].get<int64_t>();
    EXPECT_TRUE(pos == -1 || (pos >= 60000 && pos < 61000)) << pos;
    EXPECT_EQ(alone.state["gsLastResumeMp3AudioDir"], pos == -1 ? "Music/" : "Music/Album/");

    // With the journal back, the next start ends with the journal's bookmark.
    if (journal_left) fs::rename(b.sandbox() + "/kept", b.dir() + "/Lorvan.resume");
    EXPECT_TRUE(journal_left || pos != -1) << "the journal goes only after the settings hold it";
    const Loaded next = LoadProgram(b.dir());
    EXPECT_GE(next.state["glLastResumeMp3PlayPos"].get<int64_t>(), 60000);
    EXPECT_FALSE(b.Exists("Lorvan.resume"));
  }
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
    const std::string settings = b.SettingsText();
    ASSERT_EQ(b.Run("start\nwait 100\n"), 0) << b.err.str();
    const auto boxes = b.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_THAT(boxes[0]["text"].get<std::string>(), HasSubstr("Lorvan.resume"));
    EXPECT_THAT(boxes[0]["text"].get<std::string>(), HasSubstr(c.told));
    EXPECT_EQ(b.Read(std::string("Lorvan.resume") + c.aside), c.content);
    EXPECT_FALSE(b.Exists("Lorvan.resume"));
    EXPECT_EQ(b.SettingsText(), settings) << "the bookmark stays as the settings had it";
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
