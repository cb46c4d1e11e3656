// The Windows platform layer itself, called in this process: files, drives, clocks, power
// queries, version information, the player's window messages, processes and the port library.
#include <algorithm>
#include <memory>

#include "check.h"
#include "hosts/win32/win32_app_info.h"
#include "hosts/win32/win32_clock.h"
#include "hosts/win32/win32_drives.h"
#include "hosts/win32/win32_file_system.h"
#include "hosts/win32/win32_port_io.h"
#include "hosts/win32/win32_power.h"
#include "hosts/win32/win32_processes.h"
#include "hosts/win32/win32_window_messages.h"
#include "support.h"

namespace lorvan::winetest {
namespace {

std::string Folder(const std::string& name) {
  const std::string f = TestPaths().work + "\\" + name;
  MakeFolders(f);
  return f;
}

// A stand-in player started by the test in its own folder.
struct StandInPlayer {
  std::string folder;
  Process process;
  HWND hwnd = nullptr;
  explicit StandInPlayer(const std::string& name, const std::string& config = "") : folder(Folder(name)) {
    EndProcesses("Winamp.exe");
    CopyFileTo(TestPaths().bin + "\\Winamp.exe", folder + "\\Winamp.exe");
    WriteFileText(folder + "\\player.ini", config);
    Start(process, folder + "\\Winamp.exe", "", folder);
    hwnd = WaitProcessWindow(process.pid, "Winamp v1.x", 10000);
  }
  ~StandInPlayer() { EndProcesses("Winamp.exe"); }
  std::vector<std::string> Log() const { return LogLines(ReadFileText(folder + "\\player.log")); }
};

}  // namespace

TEST_CASE(FileSystem, ListFolderLeavesOutHiddenAndSystemEntries) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("list");
  WriteFileText(f + "\\a.mp3", "x");
  WriteFileText(f + "\\hidden.mp3", "x");
  WriteFileText(f + "\\system.mp3", "x");
  MakeFolders(f + "\\Album");
  MakeFolders(f + "\\HiddenAlbum");
  SetFileAttributesA((f + "\\hidden.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((f + "\\system.mp3").c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((f + "\\HiddenAlbum").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  for (const std::string& folder : {f, f + "\\"}) {
    std::vector<std::string> names = fs.ListFolder(folder);
    std::sort(names.begin(), names.end());
    CHECK(names == (std::vector<std::string>{"Album", "a.mp3"})) << "listing of " << folder << " has "
                                                                  << names.size() << " entries";
  }
  CHECK(fs.ListFolder(f + "\\missing\\").empty());
  CHECK(fs.ListFolder(f + "\\Album\\").empty());
}

TEST_CASE(FileSystem, NamesAndContentsStayBytes) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("bytes");
  const std::string name = "M\xE4rz \xBD.mp3";  // bytes of the ANSI code page
  WriteFileText(f + "\\" + name, std::string("\xE4\x00\xFF\r\n", 5));
  const std::vector<std::string> names = fs.ListFolder(f);
  REQUIRE(names.size() == 1u);
  CHECK(names[0] == name) << "the listing changed the name's bytes";
  CHECK(fs.ReadFile(f + "\\" + names[0]) == std::string("\xE4\x00\xFF\r\n", 5));
}

TEST_CASE(FileSystem, AttributesOfFoldersFilesAndMissingPaths) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("attr");
  WriteFileText(f + "\\song.mp3", "x");
  WriteFileText(f + "\\secret.mp3", "x");
  SetFileAttributesA((f + "\\secret.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
  const auto folder = fs.GetAttr(f + "\\");
  REQUIRE(folder.has_value());
  CHECK((*folder & platform::kAttrDirectory) != 0);
  const auto file = fs.GetAttr(f + "\\song.mp3");
  REQUIRE(file.has_value());
  CHECK((*file & platform::kAttrDirectory) == 0);
  const auto hidden = fs.GetAttr(f + "\\secret.mp3");
  REQUIRE(hidden.has_value());
  CHECK((*hidden & platform::kAttrHidden) != 0);
  CHECK(!fs.GetAttr(f + "\\missing.mp3").has_value());
}

TEST_CASE(FileSystem, ReadErrorsNameTheFile) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("readerr");
  try {
    fs.ReadFile(f + "\\missing.ini");
    CHECK(false) << "reading a missing file succeeded";
  } catch (const platform::FileError& e) {
    CHECK(std::string(e.what()).find("missing.ini") != std::string::npos) << e.what();
  }
  try {
    fs.ReadFile(f);
    CHECK(false) << "reading a folder succeeded";
  } catch (const platform::FileError& e) {
    CHECK(std::string(e.what()).find("folder") != std::string::npos) << e.what();
  }
}

TEST_CASE(FileSystem, ReplaceFileSwapsTheWholeFileOrLeavesItAlone) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("replace");
  const std::string ini = f + "\\Lorvan.ini";
  WriteFileText(ini, "old\r\n");
  fs.ReplaceFile(ini, "new 1\r\nnew 2\r\n");
  CHECK(ReadFileText(ini) == "new 1\r\nnew 2\r\n");
  CHECK(!FileExists(ini + ".new")) << "the temporary file was left behind";

  // A target that cannot be replaced keeps its content, and no temporary file stays.
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
  bool failed = false;
  try {
    fs.ReplaceFile(ini, "lost\r\n");
  } catch (const platform::FileError& e) {
    failed = true;
    CHECK(std::string(e.what()).find("Lorvan.ini") != std::string::npos) << e.what();
  }
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (failed) {
    CHECK(ReadFileText(ini) == "new 1\r\nnew 2\r\n") << "a failed replace changed the file";
  }
  CHECK(!FileExists(ini + ".new")) << "the temporary file was left behind";

  bool missing_failed = false;
  try {
    fs.ReplaceFile(f + "\\no such folder\\Lorvan.ini", "x");
  } catch (const platform::FileError&) {
    missing_failed = true;
  }
  CHECK(missing_failed) << "writing into a missing folder did not fail";
}

TEST_CASE(FileSystem, StampsChangeWithTheFile) {
  win32::Win32FileSystem fs;
  const std::string f = Folder("stamp");
  WriteFileText(f + "\\a.txt", "one");
  const auto a = fs.Stat(f + "\\a.txt");
  REQUIRE(a.has_value());
  CHECK(fs.Stat(f + "\\a.txt") == a);
  CHECK_EQ(a->size, 3u);
  fs.ReplaceFile(f + "\\a.txt", "three");
  const auto b = fs.Stat(f + "\\a.txt");
  REQUIRE(b.has_value());
  CHECK(!(b == a)) << "the stamp did not change with the file";
  CHECK(!fs.Stat(f + "\\missing.txt").has_value());
}

TEST_CASE(Drives, TheSystemDriveIsListedAndFixed) {
  win32::Win32Drives drives;
  const std::string list = drives.GetLogicalDriveStringsA(255);
  CHECK(list.find(std::string("C:\\\0", 4)) != std::string::npos) << "no C:\\ among the drives";
  CHECK(!list.empty() && list.back() == '\0');
  CHECK_EQ(drives.GetDriveTypeA("C:\\"), 3u);  // a fixed disk, not a CD-ROM drive
  CHECK(drives.GetLogicalDriveStringsA(3).empty()) << "a too short buffer gives no list";
}

TEST_CASE(Drives, ChangingDirectoryReportsRunTimeErrors) {
  win32::Win32Drives drives;
  const std::string before = drives.CurDir();
  const std::string f = Folder("chdir");
  CHECK_EQ(drives.ChDir(f), 0);
  CHECK(drives.CurDir() == f) << drives.CurDir();
  CHECK_EQ(drives.ChDir(f + "\\no such folder"), platform::kErrPathNotFound);
  CHECK(drives.CurDir() == f) << "a failed change moved the current directory";
  CHECK_EQ(drives.ChDir(before), 0);
  CHECK(drives.CurDir() == before);
}

TEST_CASE(Drives, MciAnswersWithoutACdDrive) {
  win32::Win32Drives drives;
  CHECK(drives.mciSendStringA("open nosuchdevice alias x") != 0) << "an unknown device was opened";
  // The tray commands of a box without a drive come back with an error, not a hang or crash.
  drives.mciSendStringA("set cdaudio door open");
  drives.mciSendStringA("set cdaudio door closed");
}

TEST_CASE(Clock, CountersAdvanceAndTheDateIsReal) {
  win32::Win32Clock clock;
  CHECK(clock.QueryPerformanceFrequency() > 0);
  const int64_t c0 = clock.QueryPerformanceCounter(), m0 = clock.MonotonicMs();
  const uint32_t t0 = clock.GetTickCount();
  CHECK(WaitFor([&] { return clock.QueryPerformanceCounter() > c0; }, 5000)) << "the performance counter stands";
  CHECK(WaitFor([&] { return clock.MonotonicMs() > m0; }, 5000)) << "the monotonic clock stands";
  CHECK(WaitFor([&] { return clock.GetTickCount() != t0; }, 5000)) << "the tick count stands";
  const platform::LocalDateTime now = clock.Now();
  CHECK(now.year >= 2020 && now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
}

TEST_CASE(Power, VersionAndHibernationQueries) {
  win32::Win32Power power;
  int32_t id = -1;
  CHECK(power.GetVersionExA(id));
  CHECK_EQ(id, 2);  // the NT family
  const int32_t hibernate = power.IsPwrHibernateAllowed();
  CHECK(hibernate == 0 || hibernate == 1);
  const int32_t automatic = power.IsSystemResumeAutomatic();
  CHECK(automatic == 0 || automatic == 1);
}

TEST_CASE(AppInfo, VersionResourceAndProgramFolder) {
  win32::Win32AppInfo app;
  const platform::VersionInfo v = app.Version();
  CHECK(v.comments == "Lorvan - MP3 Home Player Control") << v.comments;
  CHECK(v.legal_notice == LORVAN_LEGAL_NOTICE) << v.legal_notice;
  CHECK_EQ(v.major, LORVAN_VERSION_MAJOR);
  CHECK_EQ(v.minor, LORVAN_VERSION_MINOR);
  CHECK_EQ(v.revision, LORVAN_VERSION_REVISION);
  const std::string path = app.AppPath();
  CHECK(!path.empty() && path.back() != '\\');
  CHECK(FileExists(path + "\\lorvan-wine-tests.exe")) << path;
}

TEST_CASE(WindowMessages, FindsThePlayerAndExchangesMessages) {
  StandInPlayer player("messages");
  REQUIRE(player.hwnd != nullptr) << "the stand-in player did not open its window";
  win32::Win32WindowMessages m;
  const platform::Hwnd h = m.FindWindowA("Winamp v1.x");
  REQUIRE(h != 0);
  CHECK_EQ(m.SendMessageA(h, 1024, 0, 0), 8192);
  CHECK_EQ(m.SendMessageA(h, 1024, 11, 127), 0);  // equalizer off
  m.SendMessageA(h, 1024, -1, 128);               // all 32 bits set reach the player as -1
  CHECK_EQ(m.SendMessageA(h, 1024, 11, 127), -1);

  const std::string file = "C:\\Music\\M\xE4rz.mp3";
  static std::string keep;  // the data must live while the player reads it
  keep = file;
  platform::CopyDataStruct cds;
  cds.dwData = 100;
  cds.cbData = static_cast<uint32_t>(file.size() + 1);
  cds.lpData = keep.c_str();
  m.SendCopyData(h, 0, cds);
  CHECK_EQ(m.SendMessageA(h, 1024, 0, 124), 1);  // one playlist entry

  for (char c : std::string("C:\\x")) CHECK(m.PostMessageA(h, 1024, static_cast<unsigned char>(c), 103));
  CHECK(m.PostMessageA(h, 1024, 0, 103));
  CHECK(WaitFor([&] { return LogHas(player.Log(), "working-folder C:\\x"); }, 5000)) << "posted characters lost";
  const auto log = player.Log();
  CHECK(LogHas(log, "copydata w=0 dwData=100 cbData=" + std::to_string(file.size() + 1) + " terminated=1 text=" + file))
      << "copy-data not as sent";
  CHECK(LogHas(log, "user w=-1 l=128"));

  CHECK_EQ(m.FindWindowA("No Such Window Class"), 0);
  CHECK_EQ(m.SendMessageA(0, 1024, 0, 0), 0);
  CHECK(!m.PostMessageA(0, 1024, 0, 0));
  player.process.Kill();
  CHECK_EQ(m.SendMessageA(h, 1024, 0, 0), 0) << "a message to a window that has gone answers 0";
}

TEST_CASE(WindowMessages, APlayerThatDoesNotAnswerDoesNotHoldTheProgram) {
  StandInPlayer player("hung", "hang_request=104\r\nhang_ms=8000\r\n");
  REQUIRE(player.hwnd != nullptr);
  win32::Win32WindowMessages m;
  const platform::Hwnd h = m.FindWindowA("Winamp v1.x");
  CHECK_EQ(m.SendMessageA(h, 1024, 0, 0), 8192);
  // The status request keeps the player busy past the wait for an answer: the answer is 0,
  // as from a window that has gone, and the call returns.
  CHECK_EQ(m.SendMessageA(h, 1024, 0, 104), 0);
  // The call may give up before the busy player has even taken the request.
  CHECK(WaitFor([&] { return LogHas(player.Log(), "hanging on request 104"); }, 10000)) << "the request did not arrive";
}

TEST_CASE(Processes, StartsProgramsWithTheirWindowStyle) {
  EndProcesses("Winamp.exe");
  const std::string f = Folder("shell");
  CopyFileTo(TestPaths().bin + "\\Winamp.exe", f + "\\Winamp.exe");
  win32::Win32Processes p;
  const int32_t task = p.Shell("\"" + f + "\\Winamp.exe\" --from-test", 4);
  CHECK(task > 0);
  Process started;
  started.handle = OpenProcess(PROCESS_ALL_ACCESS, FALSE, static_cast<DWORD>(task));
  CHECK(started.handle != nullptr) << "the task id is no process id";
  started.pid = static_cast<DWORD>(task);
  CHECK(WaitProcessWindow(static_cast<DWORD>(task), "Winamp v1.x", 10000) != nullptr);
  const auto log = LogLines(ReadFileText(f + "\\player.log"));
  CHECK(LogHas(log, "start show=4 args=--from-test")) << "not started without focus (show command 4)";
  started.Kill();
}

TEST_CASE(Processes, ProgramsThatCannotStartRaiseStartError) {
  win32::Win32Processes p;
  for (const std::string& cmd : {std::string("Z:\\no\\such\\program.exe"), std::string("NoSuchPlayer.exe"),
                                 std::string("   ")}) {
    try {
      p.Shell(cmd, 1);
      CHECK(false) << "\"" << cmd << "\" started";
    } catch (const platform::StartError& e) {
      CHECK(std::string(e.what()).find(cmd) != std::string::npos) << e.what();
    }
  }
}

TEST_CASE(Processes, AltF4ClosesTheActivatedPlayer) {
  StandInPlayer player("altf4");
  REQUIRE(player.hwnd != nullptr);
  win32::Win32Processes p;
  CHECK(!p.AppActivate(0x7FFFFFF0)) << "a task that does not exist was activated";
  CHECK(p.AppActivate(static_cast<int32_t>(player.process.pid)));
  p.SendKeys("%{F4}", true);
  CHECK_EQ(player.process.WaitExit(5000), 0) << "the player did not close on Alt+F4";
  const auto log = player.Log();
  CHECK(MissingInOrder(log, {"syscommand 61536", "close", "exit"}).empty()) << "no close by Alt+F4 in the log";
}

TEST_CASE(PortIo, WritesReachTheLibrary) {
  const std::string log = TestPaths().bin + "\\port.log";
  DeleteFileA(log.c_str());
  {
    win32::Win32PortIo port;
    REQUIRE(port.Load()) << port.error();
    port.Out32(888, 63);
    port.Out32(890, 12);
    port.Out32(890, 0x10D);  // the low byte goes out
    port.Out32(-1, 255);
  }
  const std::string raw = ReadFileText(log);
  CHECK(raw == std::string("\x78\x03\x3F\x00\x7A\x03\x0C\x00\x7A\x03\x0D\x00\xFF\xFF\xFF\x00", 16))
      << raw.size() << " bytes logged";
  DeleteFileA(log.c_str());
}

}  // namespace lorvan::winetest
