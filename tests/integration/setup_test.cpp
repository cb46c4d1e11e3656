// A new user's first run on Linux: a program folder laid out by --setup that plays, the
// spoken folder names the announcement generator writes, and the one message for each bad start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "audio_files.h"
#include "hosts/linux/setup.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace fs = std::filesystem;

namespace lorvan::testing {
namespace {

std::string Lorvan(const std::string& args, const std::string& environment = "") {
  return Shell(environment + " timeout 60 " + LORVAN_EXE + " " + args + " 2>&1; echo status=$?");
}

// Every file below a folder with its bytes.
std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    const std::string rel = fs::relative(e.path(), dir.path()).string();
    files[rel] = e.is_regular_file() ? dir.Read(rel) : "<folder>";
  }
  return files;
}

TEST(Setup, MakesAnEmptyFolderABoxThatPlays) {
  if (FindProgram("tmux").empty() || FindProgram("mpv").empty()) GTEST_SKIP() << "needs tmux and mpv";
  TempDir top;
  const std::string songs = top.Mkdir("songs");
  WriteSineWav(songs + "Tune.wav", 30.0, 523);
  const std::string box = top.path() + "/box";
  const std::string out = Lorvan("--setup " + box + " --music=" + top.path() + "//songs --cd='~/cd'", "HOME=" + top.path());
  ASSERT_NE(out.find("status=0"), std::string::npos) << out;
  EXPECT_NE(out.find("start it with: lorvan " + box), std::string::npos) << out;

  // The data as the sources have it, and the settings with mpv and the given folders.
  const std::string data = LORVAN_SOURCE_DIR "/data";
  for (const std::string copy : {"Fonts", "Bitmaps"}) {
    EXPECT_EQ(Shell("diff -r " + data + "/" + copy + " " + box + "/" + copy + " 2>&1"), "") << copy;
  }
  EXPECT_EQ(Shell("cmp " + data + "/sample/Help.txt " + box + "/Help.txt 2>&1"), "");
  const std::string settings = top.Read("box/Lorvan.ini");
  const auto values = linuxhost::ValueLines(settings);
  ASSERT_EQ(values.size(), 56u) << settings;
  EXPECT_EQ(values[1].rfind("mpv --idle=yes --no-video --no-terminal", 0), 0u) << settings;
  EXPECT_EQ(values[2], songs);
  EXPECT_EQ(values[3], top.path() + "/cd/");
  EXPECT_EQ(values[10], songs) << "the bookmark starts in the music folder";
  EXPECT_NE(settings.find("\r\n// The player is mpv"), std::string::npos) << settings;

  // In a terminal it starts the player where the settings say and plays the first track.
  const std::string socket = linuxhost::ChoosePlayerSocket("", box).path;
  {
    Terminal terminal(std::string("LANG=C.UTF-8 ") + LORVAN_EXE + " " + box, 100, 32);
    EXPECT_TRUE(terminal.Shows("stopped")) << terminal.Screen();
    terminal.Keys("p");
    EXPECT_TRUE(Eventually([&] {
      const auto path = MpvProperty(socket, "path");
      const auto pos = MpvProperty(socket, "time-pos");
      return path.is_string() && path.get<std::string>().ends_with("Tune.wav") && pos.is_number() &&
             pos.get<double>() >= 1.0;
    }, 20000)) << socket << "\n" << terminal.Screen();
    terminal.Keys("C-c");
    EXPECT_TRUE(terminal.Shows("EXIT=0")) << terminal.Screen();
  }
  KillPlayer(socket);
}

TEST(LorvanCommandLine, EachBadStartIsToldInOneLineAndChangesNothing) {
  ProgramFolder box;
  box.Write("Help.txt", "my own help\r\n");
  TempDir empty;
  ProgramFolder no_bitmaps;
  fs::remove_all(no_bitmaps.path() + "/Bitmaps");
  Settings dead;
  dead[1] = "false";  // a player command line whose program ends at once
  ProgramFolder dead_player(dead);
  const auto box_before = Snapshot(box);
  const std::map<std::string, std::string> names = {
      {"$NO_SETTINGS", empty.path() + " has no settings file Lorvan.ini; lay out a program folder there with: " +
                           "lorvan --setup " + empty.path() + " [--music=FOLDER] [--cd=FOLDER]"},
      {"$BOX", box.path()}, {"$EMPTY", empty.path()}, {"$NO_BITMAPS", no_bitmaps.path()}, {"$DEAD", dead_player.path()}};
  const auto fill = [&](const std::string& text) { return Substitute(text, names); };
  const auto table = ReadJson(LORVAN_SOURCE_DIR "/tests/integration/tables/command_lines.json").at("bad_starts");
  for (const auto& row : table) {
    const std::string args = fill(row["args"]);
    const std::string out = Lorvan(args);
    EXPECT_NE(out.find("lorvan: " + fill(row["line"])), std::string::npos) << args << "\n" << out;
    EXPECT_TRUE(out.ends_with("status=" + row["status"].dump() + "\n")) << args << "\n" << out;
  }
  EXPECT_EQ(Snapshot(box), box_before);
  EXPECT_TRUE(Snapshot(empty).empty()) << "nothing is made in a folder without settings";
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

TEST(MakeAnnouncements, WritesMissingTalkFilesAndKeepsRecordedOnes) {
  if (FindProgram("espeak-ng").empty()) GTEST_SKIP() << "espeak-ng is not installed";
  TempDir dir;
  dir.Mkdir("Music/01 Rock/Queen");
  dir.Mkdir("Music/Jazz_Classics");
  dir.Write("Music/Jazz_Classics/_dirname.talk", "recorded by hand");
  const std::string cmd = std::string("bash ") + LORVAN_SOURCE_DIR + "/tools/make-announcements.sh " + dir.path() +
                          "/Music > " + dir.path() + "/out.txt 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << dir.Read("out.txt");
  EXPECT_EQ(dir.Read("out.txt"), "2 announcements written, 1 kept\n");
  const std::string talk = dir.Read("Music/01 Rock/_dirname.talk");
  EXPECT_EQ(talk.substr(0, 4), "RIFF") << "spoken as WAV";
  EXPECT_GT(talk.size(), 4000u);
  EXPECT_TRUE(Exists(dir.path() + "/Music/01 Rock/Queen/_dirname.talk"));
  EXPECT_FALSE(Exists(dir.path() + "/Music/_dirname.talk")) << "the root is never announced";
  EXPECT_EQ(dir.Read("Music/Jazz_Classics/_dirname.talk"), "recorded by hand");
}

}  // namespace
}  // namespace lorvan::testing
