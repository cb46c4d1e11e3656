// Lorvan.exe end to end under Wine: started on a test program folder with the stand-in
// player and port library, driven by key strokes as the remote sends them, judged by the
// player's log, the port log, the settings file and what the window shows.
#include <gtest/gtest.h>

#include "hosts/win32/window_layout.h"
#include "lcd/ks0108_panel.h"
#include "lcd/pbm.h"
#include "support.h"

namespace lorvan::winetest {
namespace {

using KeyWay = Lorvan::KeyWay;

int CheckState(HWND box) { return static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0)); }

// Waits for the events in this order in the player's log; "" when they came, else the first
// one missing.
std::string WaitInOrder(const ProgramFolder& f, const std::vector<std::string>& events) {
  std::string missing;
  WaitFor([&] { return (missing = MissingInOrder(f.PlayerLog(), events)).empty(); });
  return missing;
}

// Pixels in which the panel, as the stand-in port library's writes have left it, differs
// from a shipped bitmap.
int Differences(const ProgramFolder& f, const std::string& bitmap) {
  const std::string port_log = ReadFileText(f.File("port.log"));  // four bytes a write
  lcd::ks0108::Panel panel;
  for (size_t i = 0; i + 4 <= port_log.size(); i += 4) {
    panel.Out(static_cast<int16_t>(static_cast<uint8_t>(port_log[i]) | static_cast<uint8_t>(port_log[i + 1]) << 8),
              static_cast<uint8_t>(port_log[i + 2]));
  }
  const lcd::Picture picture = lcd::ParsePbm(ReadFileText(TestPaths().data + "\\Bitmaps\\" + bitmap + ".pbm"), bitmap);
  int n = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) n += panel.Pixel(x, y) != (picture.Point(x, y) == lcd::kBlack) ? 1 : 0;
  }
  return n;
}

TEST(Program, ShowsEveryControlAndFollowsTheRemoteFromTheStartOn) {
  ProgramFolder f("remote");
  f.AddMusic({"01 First.mp3", "02 Second.mp3"});
  WriteFileText(f.File("player.ini"), "[player]\r\nwindow_delay_ms=2500\r\n");
  Lorvan lorvan(f);
  ASSERT_TRUE(lorvan.WaitWindow()) << "no main window";
  HWND inverted = lorvan.Control("&Inverted Display");
  HWND show_eq = lorvan.Control("Show &EQ");
  ASSERT_TRUE(inverted != nullptr && show_eq != nullptr);
  // A key pressed while the program waits for a player slow to open its window counts.
  lorvan.Press('i', false, KeyWay::kPostedChars);
  ASSERT_TRUE(f.WaitPlayer()) << "the player was not started";
  EXPECT_TRUE(WaitFor([&] { return CheckState(inverted) == 1; })) << "the key was lost";
  EXPECT_EQ(WaitProcessWindow(lorvan.process.pid, "#32770", 0), nullptr) << "a message box came up";
  EXPECT_TRUE(LogHas(f.PlayerLog(), "start show=4")) << "the player was not started as a normal window without focus";

  const win32::WindowLayout layout = win32::MainWindowLayout();
  EXPECT_EQ(Controls(lorvan.hwnd).size(), layout.controls.size()) << "not every control was made";
  for (const auto& c : layout.controls) {
    if (!c.caption.empty()) {
      EXPECT_NE(lorvan.Control(c.caption), nullptr) << c.caption;
    }
  }
  // The program's line of the version information.
  const std::string app_info = "Lorvan - MP3 Home Player Control - R" + std::to_string(LORVAN_VERSION_MAJOR) + "." +
                               std::to_string(LORVAN_VERSION_MINOR) + std::to_string(LORVAN_VERSION_REVISION);
  EXPECT_TRUE(WaitFor([&] { return lorvan.Control(app_info) != nullptr; })) << "no label " << app_info;

  HWND entries = FindWindowExA(lorvan.hwnd, nullptr, "LISTBOX", nullptr);
  EXPECT_TRUE(WaitFor([&] { return SendMessageA(entries, LB_GETCOUNT, 0, 0) == 2; })) << "the music is not listed";
  lorvan.Press('p', true);
  const std::string file = f.Music() + "01 First.mp3";
  EXPECT_EQ(WaitInOrder(f, {"user w=0 l=101",
                            "copydata dwData=100 cbData=" + std::to_string(file.size() + 1) + " text=" + file,
                            "command 40045", "playing " + file}),
            "");
  // The refresh cycle then shows the playing file's bit rate in the status line.
  EXPECT_TRUE(WaitFor([&] { return lorvan.Control("128") != nullptr; })) << "no bit rate in the status line";

  int expected = 1;
  for (KeyWay way : {KeyWay::kKeyboard, KeyWay::kPostedChars}) {
    for (bool alt : {true, false}) {
      SCOPED_TRACE(std::string(alt ? "Alt+" : "") + (way == KeyWay::kKeyboard ? "I typed" : "I posted as a character"));
      lorvan.Press(alt ? 'i' : 'I', alt, way);
      expected = 1 - expected;
      EXPECT_TRUE(WaitFor([&] { return CheckState(inverted) == expected; })) << "the box was not toggled";
    }
  }
  // A key that is no accelerator, Space included, presses nothing.
  lorvan.Press('z', false);
  lorvan.Press(' ', false);
  // A mouse click on a box toggles it like its key.
  SendMessageA(show_eq, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return CheckState(show_eq) == 1; })) << "a click did not tick \"Show EQ\"";
  EXPECT_EQ(CheckState(inverted), expected);
}

TEST(Program, EveryWayOutSavesTheSettingsAndClosesThePlayer) {
  const struct {
    const char* name;
    std::function<void(Lorvan&)> leave;
    const char* hardstop;  // how Hardstop.exe was started, "" when the machine stays on
    const char* picture;   // the bitmap the panel shows at the end, "" when it does not matter
  } ways[] = {
      {"Alt+T", [](Lorvan& l) { l.Press('t', true); }, "", ""},
      {"the window closed", [](Lorvan& l) { PostMessageA(l.hwnd, WM_CLOSE, 0, 0); }, "", ""},
      {"Alt+X once", [](Lorvan& l) { l.Press('x', true); }, "started show=2 ", "picShutdownBackground"},
      {"Alt+X five times",
       [](Lorvan& l) {
         for (int i = 0; i < 5; ++i) l.Press('x', true, KeyWay::kPostedChars);
       },
       "", "picServiceExitBackground"},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.name);
    ProgramFolder f(w.name);
    f.AddMusic({"01 First.mp3"});
    Lorvan lorvan(f);
    ASSERT_TRUE(lorvan.WaitWindow() && f.WaitPlayer());
    const std::string before = ReadFileText(f.File("Lorvan.ini"));
    w.leave(lorvan);
    EXPECT_EQ(lorvan.process.WaitExit(15000), 0) << "the program did not end";
    std::string rewritten;  // the same values with CR LF line ends
    for (char c : before) rewritten += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadFileText(f.File("Lorvan.ini")), rewritten) << "the settings were not rewritten";
    EXPECT_EQ(WaitInOrder(f, {"syscommand 61536", "close", "exit"}), "") << "the player was not closed";
    // Hardstop.exe is a process of its own that the program only starts: its log is read
    // once it has ended.
    EXPECT_TRUE(WaitFor([] { return CountProcesses("Hardstop.exe") == 0; })) << "Hardstop.exe did not end";
    const auto hardstop = ReadLog(f.File("hardstop.log"));
    EXPECT_TRUE(*w.hardstop ? hardstop.size() == 1 && hardstop[0].rfind(w.hardstop, 0) == 0 : hardstop.empty())
        << "Hardstop.exe: " << (hardstop.empty() ? "(never started)" : hardstop[0]);
    if (*w.picture) {
      EXPECT_EQ(Differences(f, w.picture), 0) << "the panel does not show " << w.picture;
    }
  }
}

TEST(Program, ReportsWhatKeepsItFromStarting) {
  const struct {
    const char* missing;
    std::function<void(const ProgramFolder&)> spoil;
  } cases[] = {
      {"inpout32.dll", [](const ProgramFolder& f) { DeleteFileA(f.File("inpout32.dll").c_str()); }},
      {"Lorvan.ini", [](const ProgramFolder& f) { DeleteFileA(f.File("Lorvan.ini").c_str()); }},
      {"NoSuchPlayer.exe", [](const ProgramFolder& f) { f.WriteSettings("NoSuchPlayer.exe"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.missing);
    ProgramFolder f(std::string("without ") + c.missing);
    c.spoil(f);
    Lorvan lorvan(f);
    HWND box = WaitProcessWindow(lorvan.process.pid, "#32770", 20000);
    ASSERT_NE(box, nullptr) << "no message box";
    // The message is the box's longest text (the icon has none).
    std::string message;
    for (const auto& [hwnd, text] : Controls(box)) message = text.size() > message.size() ? text : message;
    EXPECT_EQ(WindowText(box), "Lorvan");
    EXPECT_NE(message.find(c.missing), std::string::npos) << message;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(lorvan.process.WaitExit(10000), 1);
    EXPECT_TRUE(CountProcesses("Winamp.exe") == 0 && !LogHas(f.PlayerLog(), "start")) << "the player was started";
  }
}

}  // namespace
}  // namespace lorvan::winetest
