// Lorvan.exe end to end under Wine: started on a test program folder with the stand-in
// player and port library, driven by key strokes as the remote sends them, judged by the
// player's log, the port log, the settings file and what the window shows.
#include <algorithm>

#include "check.h"
#include "support.h"

namespace lorvan::winetest {
namespace {

constexpr int kStartMs = 20000;

// Every remote-control caption of the main window.
const char* const kCaptions[] = {
    "&Play", "P&ause", "&Stop", "Pre&vious", "&Next", "&<<", ">&>", "&0", "&1", "&2", "&3", "&4", "&5", "&6", "&7",
    "&8", "&9", "Store &current MP3", "&Resume last MP3", "MP3/CD To&ggle", "CD &Open/Close", "&Up", "Do&wn",
    "On/O&ff", "EQ &Default", "Show &EQ", "Show &Help", "&Inverted Display", "Initialize Display",
    "E&XIT (1x Stutdown - 2x Standby - 3x Resume - 5x Exit Lorvan w/o System Shitdown)",
    "EXI&T (for Development w/o Shutdown)"};
const char* const kFixedTexts[] = {"Remote Control:", "Display:", "Preview", "TX Time", "Status Line:", "Paste",
                                   "Directory Files:", "Volume:", "Min.", "Sec.", "File", "of", "kbs"};

std::string AppInfoLine() {
  return "Lorvan - MP3 Home Player Control - R" + std::to_string(LORVAN_VERSION_MAJOR) + "." +
         std::to_string(LORVAN_VERSION_MINOR) + std::to_string(LORVAN_VERSION_REVISION);
}

int CheckState(HWND box) { return static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0)); }

bool PlayerReady(const ProgramFolder& f) { return LogHas(f.PlayerLog(), "window"); }

// Waits until no process of the name runs. Once the program has ended, every process it
// started runs or has run, so what they log is complete after this.
bool NoneRuns(const char* exe_name) { return WaitFor([&] { return CountProcesses(exe_name) == 0; }, kStartMs); }

// Waits for the events in this order in the player's log; "" when they came, else the first
// one missing.
std::string WaitInOrder(const ProgramFolder& f, const std::vector<std::string>& events) {
  std::string missing;
  WaitFor([&] { return (missing = MissingInOrder(f.PlayerLog(), events)).empty(); }, 10000);
  return missing;
}

// Waits for a message box of the program, reads it, and presses its OK button.
std::string AnswerMessageBox(Lorvan& lorvan) {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindMessageBox(lorvan.process().pid)) != nullptr; }, kStartMs);
  if (!box) return "(no message box)";
  const std::string title = WindowText(box);
  const std::string text = MessageBoxText(box);
  HWND ok = FindControl(box, "OK");
  if (ok) {
    PostMessageA(ok, BM_CLICK, 0, 0);
  } else {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return title + "|" + text;
}

}  // namespace

TEST_CASE(Program, StartsThePlayerAndShowsEveryControl) {
  ProgramFolder f("start");
  f.AddMusic({"01 First.mp3", "02 Second.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow()) << "no main window";
  CHECK(WaitFor([&] { return PlayerReady(f); }, kStartMs)) << "the player was not started";
  const auto log = f.PlayerLog();
  CHECK(LogHas(log, "start show=4 ")) << "the player was not started as a normal window without focus";
  CHECK_EQ(LinesWith(log, "start").size(), 1u);

  for (const char* caption : kCaptions) CHECK(lorvan.Control(caption) != nullptr) << "no control \"" << caption << "\"";
  for (const char* text : kFixedTexts) CHECK(lorvan.Control(text) != nullptr) << "no frame or label \"" << text << "\"";
  CHECK(WaitFor([&] { return lorvan.Control(AppInfoLine()) != nullptr; }, 5000)) << "no label " << AppInfoLine();
  const auto texts = AllControlTexts(lorvan.hwnd());
  CHECK(std::any_of(texts.begin(), texts.end(),
                    [](const std::string& t) { return t.rfind(LORVAN_LEGAL_NOTICE, 0) == 0; }))
      << "no legal notice line";
  // The LCD preview: the picture 1:1 without a border, and enlarged.
  std::vector<std::pair<long, long>> previews;
  for (HWND child = FindWindowExA(lorvan.hwnd(), nullptr, "LorvanPicture", nullptr); child;
       child = FindWindowExA(lorvan.hwnd(), child, "LorvanPicture", nullptr)) {
    RECT r;
    GetClientRect(child, &r);
    previews.emplace_back(r.right, r.bottom);
  }
  CHECK(std::find(previews.begin(), previews.end(), std::make_pair(128L, 64L)) != previews.end())
      << "no preview of exactly 128 x 64 pixels";
  CHECK(std::find(previews.begin(), previews.end(), std::make_pair(256L, 128L)) != previews.end())
      << "no enlarged preview";
  CHECK(lorvan.process().Running());
}

TEST_CASE(Program, AsksThePlayerForItsVersionVolumeAndEqualizer) {
  ProgramFolder f("version");
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  // Start-up aligns the equalizer box with the player and sets the settings' volume 200,
  // which asks for the version first.
  const bool done = WaitFor([&] { return LogHas(f.PlayerLog(), "user w=200 l=122"); }, kStartMs);
  const auto log = f.PlayerLog();
  CHECK(done) << "the volume was not set";
  CHECK(MissingInOrder(log, {"window", "user w=11 l=127 -> 0", "user w=0 l=0 -> 8192", "user w=200 l=122"}).empty())
      << "missing: " << MissingInOrder(log, {"window", "user w=11 l=127 -> 0", "user w=0 l=0 -> 8192", "user w=200 l=122"});
}

TEST_CASE(Program, FindsThePlayerThatIsAlreadyRunning) {
  ProgramFolder f("running");
  Process first;
  Start(first, f.File("Winamp.exe"), "", f.path());
  REQUIRE(WaitProcessWindow(first.pid, "Winamp v1.x", 10000) != nullptr);
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  CHECK(WaitFor([&] { return LogHas(f.PlayerLog(), "already-running exit"); }, kStartMs))
      << "the second start of the player did not happen";
  CHECK(lorvan.process().Running());
  CHECK_EQ(CountWindows("Winamp v1.x"), 1);
  // The running player gets the program's requests.
  const std::string prefix = std::to_string(first.pid) + " user ";
  CHECK(WaitFor(
      [&] {
        const auto log = f.PlayerLog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
      },
      kStartMs))
      << "the running player got no request";
  first.Kill();
}

TEST_CASE(Program, WaitsForAPlayerSlowToOpenItsWindow) {
  ProgramFolder f("slow");
  f.WritePlayerConfig("window_delay_ms=2500\r\n");
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  HWND inverted = lorvan.Control("&Inverted Display");
  REQUIRE(inverted != nullptr);
  // A key pressed while the program waits for the player counts once start-up is done.
  lorvan.Press('i', false, Lorvan::KeyWay::kPostedChars);
  CHECK(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  CHECK(WaitFor([&] { return CheckState(inverted) == 1; }, 5000)) << "the key was lost";
  CHECK(lorvan.process().Running());
  CHECK(FindMessageBox(lorvan.process().pid) == nullptr);
}

TEST_CASE(Program, AcceleratorKeysPressTheirControls) {
  ProgramFolder f("keys");
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  HWND inverted = lorvan.Control("&Inverted Display");
  HWND show_eq = lorvan.Control("Show &EQ");
  REQUIRE(inverted != nullptr && show_eq != nullptr);
  CHECK_EQ(CheckState(inverted), 0);
  struct Step {
    char key;
    bool alt;
    Lorvan::KeyWay way;
    const char* what;
  };
  const Step steps[] = {
      {'i', true, Lorvan::KeyWay::kKeyboard, "Alt+I typed"},
      {'i', false, Lorvan::KeyWay::kKeyboard, "I typed"},
      {'I', true, Lorvan::KeyWay::kPostedKeys, "Alt+I as posted key messages"},
      {'i', false, Lorvan::KeyWay::kPostedKeys, "I as posted key messages"},
      {'I', false, Lorvan::KeyWay::kPostedChars, "I as a posted character"},
      {'i', true, Lorvan::KeyWay::kPostedChars, "Alt+I as a posted system character"},
  };
  int expected = 0;
  for (const Step& s : steps) {
    lorvan.Press(s.key, s.alt, s.way);
    expected = 1 - expected;
    CHECK(WaitFor([&] { return CheckState(inverted) == expected; }, 5000)) << s.what << " did not toggle the box";
  }
  // A key that is no accelerator, Space included, presses nothing.
  lorvan.Press('z', false, Lorvan::KeyWay::kKeyboard);
  lorvan.Press(' ', false, Lorvan::KeyWay::kKeyboard);
  // A mouse click on a box toggles it like its key.
  SendMessageA(show_eq, BM_CLICK, 0, 0);
  CHECK(WaitFor([&] { return CheckState(show_eq) == 1; }, 5000)) << "a click did not tick \"Show EQ\"";
  CHECK_EQ(CheckState(inverted), expected);
  CHECK(lorvan.process().Running());
}

TEST_CASE(Program, PlaysTheHighlightedFileOnP) {
  ProgramFolder f("play");
  f.AddMusic({"01 First.mp3", "02 Second.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  HWND entries = FindControl(lorvan.hwnd(), "", "LISTBOX");
  CHECK(WaitFor([&] { return entries && ListBoxLines(entries).size() == 2; }, 5000)) << "the music root is not listed";
  lorvan.Press('p', true);
  const std::string file = f.music() + "01 First.mp3";
  CHECK_EQ(WaitInOrder(f, {"user w=0 l=101",
                           "copydata w=0 dwData=100 cbData=" + std::to_string(file.size() + 1) +
                               " terminated=1 text=" + file,
                           "command 40045", "playing " + file}),
           "")
      << "missing in the player's log";
  // The refresh cycle then shows the playing file's bit rate in the status line.
  CHECK(WaitFor([&] { return lorvan.Control("128") != nullptr; }, 5000)) << "no bit rate in the status line";
}

TEST_CASE(Program, RewritesTheSettingsAndClosesThePlayerOnT) {
  ProgramFolder f("exit");
  f.AddMusic({"01 First.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  const std::string before = f.SettingsText();
  lorvan.Press('t', true);
  CHECK_EQ(lorvan.process().WaitExit(15000), 0) << "the program did not end";
  const std::string after = f.SettingsText();
  CHECK(after != before) << "the settings file was not rewritten";
  const auto lines = SplitLines(after);
  REQUIRE(lines.size() == 58u) << "lines: " << lines.size();
  CHECK(lines[0] == "// Lorvan settings of a Wine test");
  CHECK(lines[1] == "// the resume bookmark") << "the comment lines are not carried to the top";
  const SettingsValues v(f.path());
  CHECK(lines[2] == "200") << lines[2];
  CHECK(lines[3] == "Winamp.exe") << lines[3];
  CHECK(lines[4] == v.v[2]) << lines[4];
  CHECK(after.find("\r\n") != std::string::npos && after.find("\n") == after.find("\r\n") + 1);
  CHECK_EQ(WaitInOrder(f, {"syscommand 61536", "close", "exit"}), "") << "the player was not closed";
}

TEST_CASE(Program, ClosingTheWindowSavesTheSettings) {
  ProgramFolder f("close");
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  const std::string before = f.SettingsText();
  PostMessageA(lorvan.hwnd(), WM_CLOSE, 0, 0);
  CHECK_EQ(lorvan.process().WaitExit(15000), 0) << "the program did not end";
  CHECK(f.SettingsText() != before) << "the settings were not saved";
}

TEST_CASE(Program, OneExitPressShutsTheMachineDown) {
  ProgramFolder f("shutdown");
  f.AddMusic({"01 First.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  const std::string before = f.SettingsText();
  lorvan.Press('x', true);
  // Two seconds to count the presses, half a second's pause, then the way out.
  CHECK_EQ(lorvan.process().WaitExit(15000), 0) << "the program did not end";
  CHECK(f.SettingsText() != before) << "the settings were not saved";
  // Hardstop.exe is a process of its own that the program only starts: its log is read once
  // it has ended.
  CHECK(NoneRuns("Hardstop.exe")) << "Hardstop.exe did not end";
  const auto hardstop = f.HardstopLog();
  CHECK(hardstop.size() == 1u && hardstop[0].rfind("started show=2 ", 0) == 0)
      << "Hardstop.exe was not started once, minimized: " << (hardstop.empty() ? "(never)" : hardstop[0]);
  CHECK_EQ(WaitInOrder(f, {"command 40047", "syscommand 61536", "close", "exit"}), "")
      << "the player was not stopped and closed";
  const PanelReplay panel = ReplayPanel(f.PortWrites());
  CHECK_EQ(panel.Differences(TestPaths().data + "\\Bitmaps\\picShutdownBackground.pbm"), 0)
      << "the panel does not show the shutdown picture";
}

TEST_CASE(Program, FiveExitPressesEndWithoutShutdown) {
  ProgramFolder f("service");
  f.AddMusic({"01 First.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  for (int i = 0; i < 5; ++i) lorvan.Press('x', true, Lorvan::KeyWay::kPostedChars);
  CHECK_EQ(lorvan.process().WaitExit(15000), 0) << "the program did not end";
  CHECK(NoneRuns("Hardstop.exe")) << "Hardstop.exe did not end";
  CHECK(f.HardstopLog().empty()) << "the machine was shut down";
  CHECK_EQ(WaitInOrder(f, {"syscommand 61536", "close", "exit"}), "") << "the player was not closed";
  const PanelReplay panel = ReplayPanel(f.PortWrites());
  CHECK_EQ(panel.Differences(TestPaths().data + "\\Bitmaps\\picServiceExitBackground.pbm"), 0)
      << "the panel does not show the service-exit picture";
}

TEST_CASE(Program, SendsTheInitSequenceAndWholeFramesToThePanel) {
  ProgramFolder f("panel");
  f.AddMusic({"01 First.mp3"});
  Lorvan lorvan(f);
  REQUIRE(lorvan.WaitWindow());
  REQUIRE(WaitFor([&] { return PlayerReady(f); }, kStartMs));
  PanelReplay panel;
  CHECK(WaitFor(
      [&] {
        panel = ReplayPanel(f.PortWrites());
        return panel.full_frames >= 3;
      },
      10000))
      << "whole frames sent: " << panel.full_frames;
  const std::vector<std::pair<int, int>> init = {{888, 63}, {890, 12}, {890, 13}, {888, 192}, {890, 12}, {890, 13}};
  REQUIRE(panel.first_writes.size() >= init.size());
  const std::vector<std::pair<int, int>> first(panel.first_writes.begin(), panel.first_writes.begin() + 6);
  CHECK(first == init)
      << "the panel was not initialised first";
  CHECK(panel.display_on);
  CHECK(panel.SetPixels() > 0) << "the panel shows nothing";
}

TEST_CASE(Program, ReportsAMissingPortLibrary) {
  ProgramFolder f("noport", /*with_port_library=*/false);
  Lorvan lorvan(f);
  const std::string box = AnswerMessageBox(lorvan);
  CHECK(box.rfind("Lorvan|", 0) == 0) << box;
  CHECK(box.find("inpout32.dll") != std::string::npos) << box;
  CHECK_EQ(lorvan.process().WaitExit(10000), 1);
  // A player the program started would still run (the stand-in runs until it is closed).
  CHECK(CountProcesses("Winamp.exe") == 0 && !LogHas(f.PlayerLog(), "start")) << "the player was started all the same";
}

TEST_CASE(Program, ReportsAMissingSettingsFile) {
  ProgramFolder f("noini");
  DeleteFileA(f.File("Lorvan.ini").c_str());
  Lorvan lorvan(f);
  const std::string box = AnswerMessageBox(lorvan);
  CHECK(box.find("Lorvan.ini") != std::string::npos) << box;
  CHECK_EQ(lorvan.process().WaitExit(10000), 1);
}

TEST_CASE(Program, ReportsAPlayerThatCannotStart) {
  ProgramFolder f("noplayer");
  SettingsValues s(f.path());
  s.v[1] = "NoSuchPlayer.exe";
  f.WriteSettings(s);
  Lorvan lorvan(f);
  const std::string box = AnswerMessageBox(lorvan);
  CHECK(box.find("NoSuchPlayer.exe") != std::string::npos) << box;
  CHECK_EQ(lorvan.process().WaitExit(10000), 1);
}

}  // namespace lorvan::winetest
