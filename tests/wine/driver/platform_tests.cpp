// The Windows platform layer itself, called in this process: files, drives, clocks, the
// system's queries, the player's window messages and processes.
#include <gtest/gtest.h>

#include <algorithm>

#include "hosts/win32/win32_app_info.h"
#include "hosts/win32/win32_clock.h"
#include "hosts/win32/win32_drives.h"
#include "hosts/win32/win32_file_system.h"
#include "hosts/win32/win32_power.h"
#include "hosts/win32/win32_processes.h"
#include "hosts/win32/win32_window_messages.h"
#include "player/winamp_messages.h"
#include "support.h"

namespace lorvan::winetest {
namespace {

using player::kWinampClass;
// The stand-in player's own request: it answers after wParam milliseconds.
constexpr int32_t kStandInHangRequest = 9999;

// The message of the error the call throws; "(none)" when it throws none.
template <typename Error>
std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.what();
  }
  return "(none)";
}

TEST(FileSystem, ListsVisibleEntriesWithTheirBytesAndAttributes) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("list");
  const std::string name = "M\xE4rz \xBD.mp3";  // bytes of the ANSI code page
  const std::string content("\xE4\x00\xFF\r\n", 5);
  WriteFileText(f + "\\" + name, content);
  WriteFileText(f + "\\system.mp3", "x");
  Folder("list\\Album");
  Folder("list\\HiddenAlbum");
  SetFileAttributesA((f + "\\system.mp3").c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((f + "\\HiddenAlbum").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  for (const std::string& folder : {f, f + "\\"}) {
    std::vector<std::string> names = fs.ListFolder(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Album", name})) << folder;
  }
  EXPECT_TRUE(fs.ListFolder(f + "\\missing\\").empty());
  EXPECT_TRUE(fs.ListFolder(f + "\\Album\\").empty());
  EXPECT_EQ(fs.ReadFile(f + "\\" + name), content);
  const uint32_t directory_and_hidden = platform::kAttrDirectory | platform::kAttrHidden;
  EXPECT_EQ(fs.GetAttr(f + "\\").value_or(0) & directory_and_hidden, platform::kAttrDirectory);
  EXPECT_EQ(fs.GetAttr(f + "\\" + name).value_or(directory_and_hidden) & directory_and_hidden, 0u);
  EXPECT_EQ(fs.GetAttr(f + "\\HiddenAlbum").value_or(0) & directory_and_hidden, directory_and_hidden);
  EXPECT_FALSE(fs.GetAttr(f + "\\missing.mp3").has_value());
}

TEST(FileSystem, ReplaceFileSwapsTheWholeFileOrLeavesItAloneAndErrorsNameTheFile) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("replace");
  EXPECT_NE(ErrorOf<platform::FileError>([&] { fs.ReadFile(f + "\\missing.ini"); }).find("missing.ini"),
            std::string::npos);
  EXPECT_NE(ErrorOf<platform::FileError>([&] { fs.ReadFile(f); }).find("folder"), std::string::npos);
  const std::string ini = f + "\\Lorvan.ini";
  WriteFileText(ini, "old\r\n");
  const auto old_stamp = fs.Stat(ini);
  ASSERT_TRUE(old_stamp.has_value());
  EXPECT_EQ(fs.Stat(ini), old_stamp);
  fs.ReplaceFile(ini, "new 1\r\nnew 2\r\n");
  EXPECT_EQ(ReadFileText(ini), "new 1\r\nnew 2\r\n");
  const auto new_stamp = fs.Stat(ini);
  EXPECT_TRUE(new_stamp && new_stamp->size == 14u && !(new_stamp == old_stamp)) << "the stamp did not follow the file";
  EXPECT_FALSE(fs.Stat(f + "\\missing.txt").has_value());

  // A target that cannot be replaced keeps its content, and no temporary file stays.
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string error = ErrorOf<platform::FileError>([&] { fs.ReplaceFile(ini, "lost\r\n"); });
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (error != "(none)") {
    EXPECT_NE(error.find("Lorvan.ini"), std::string::npos) << error;
    EXPECT_EQ(ReadFileText(ini), "new 1\r\nnew 2\r\n") << "a failed replace changed the file";
  }
  EXPECT_EQ(GetFileAttributesA((ini + ".new").c_str()), INVALID_FILE_ATTRIBUTES) << "the temporary file stayed";
  EXPECT_NE(ErrorOf<platform::FileError>([&] { fs.ReplaceFile(f + "\\no such folder\\Lorvan.ini", "x"); }), "(none)");
}

TEST(Drives, ListsTheFixedSystemDriveAndChangesDirectory) {
  win32::Win32Drives drives;
  const std::string list = drives.GetLogicalDriveStringsA(255);
  EXPECT_TRUE(list.find(std::string("C:\\\0", 4)) != std::string::npos && list.back() == '\0') << "no C:\\ listed";
  EXPECT_TRUE(drives.GetLogicalDriveStringsA(3).empty()) << "a too short buffer gives no list";
  EXPECT_EQ(drives.GetDriveTypeA("C:\\"), 3u);  // a fixed disk, not a CD-ROM drive
  EXPECT_NE(drives.mciSendStringA("open nosuchdevice alias x"), 0) << "an unknown device was opened";
  const std::string before = drives.CurDir();
  const std::string f = Folder("chdir");
  EXPECT_EQ(drives.ChDir(f), 0);
  EXPECT_EQ(drives.ChDir(f + "\\no such folder"), platform::kErrPathNotFound);
  EXPECT_EQ(drives.CurDir(), f);
  EXPECT_EQ(drives.ChDir(before), 0);
}

TEST(System, ClocksProgramFolderAndPlatform) {
  win32::Win32Clock clock;
  const int64_t m0 = clock.MonotonicMs();  // from the performance counter and its frequency
  const uint32_t t0 = clock.GetTickCount();
  EXPECT_TRUE(WaitFor([&] { return clock.MonotonicMs() > m0 && clock.GetTickCount() != t0; })) << "a clock stands";
  const platform::LocalDateTime now = clock.Now();
  EXPECT_TRUE(now.year >= 2020 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
  const std::string path = win32::Win32AppInfo().AppPath();
  EXPECT_FALSE(ReadFileText(path + "\\lorvan-wine-tests.exe").empty()) << path;
  int32_t id = -1;
  EXPECT_TRUE(win32::Win32Power().GetVersionExA(id));
  EXPECT_EQ(id, 2) << "not the NT family";
}

TEST(WindowMessages, ReachThePlayerAndGiveUpOnOneThatDoesNotAnswer) {
  ProgramFolder f("messages");
  Process player(f.File("Winamp.exe"), f.path);
  ASSERT_NE(WaitProcessWindow(player.pid, kWinampClass), nullptr) << "the stand-in player did not open its window";
  win32::Win32WindowMessages m;
  const platform::Hwnd h = m.FindWindowA(kWinampClass);
  ASSERT_NE(h, 0);
  EXPECT_EQ(m.SendMessageA(h, 1024, 0, 0), 8192);
  EXPECT_EQ(m.SendMessageA(h, 1024, 0, 105), -1) << "a negative answer";  // no position while stopped
  EXPECT_TRUE(m.PostMessageA(h, 1024, -1, 121));
  EXPECT_TRUE(WaitFor([&] { return LogHas(f.PlayerLog(), "user w=-1 l=121"); })) << "the posted request was lost";
  EXPECT_EQ(m.FindWindowA("No Such Window Class"), 0);
  EXPECT_EQ(m.SendMessageA(0, 1024, 0, 0), 0);
  EXPECT_FALSE(m.PostMessageA(0, 1024, 0, 0));

  // A request that keeps the player busy for 8 s, past the wait for an answer: the answer is
  // 0, as from a window that has gone, and the call returns.
  EXPECT_EQ(m.SendMessageA(h, 1024, 8000, kStandInHangRequest), 0);
  // The call may give up before the busy player has even taken the request.
  EXPECT_TRUE(WaitFor([&] { return LogHas(f.PlayerLog(), "hanging 8000 ms"); })) << "the request did not arrive";
  player.Kill();
  EXPECT_EQ(m.SendMessageA(h, 1024, 0, 0), 0) << "a message to a window that has gone answers 0";
}

TEST(Processes, ProgramsThatCannotStartAndUnknownTasksAreRefused) {
  win32::Win32Processes p;
  for (const std::string command : {"Z:\\no\\such\\program.exe", "NoSuchPlayer.exe", "   "}) {
    EXPECT_NE(ErrorOf<platform::StartError>([&] { p.Shell(command, 1); }).find(command), std::string::npos) << command;
  }
  EXPECT_FALSE(p.AppActivate(0x7FFFFFF0)) << "a task that does not exist was activated";
}

}  // namespace
}  // namespace lorvan::winetest
