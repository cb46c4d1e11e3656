// The Linux host's own pieces without outside programs: command lines and options (their
// tables in tables/command_lines.json), the LCD preview, key maps, the CD drive's folder,
// the port's pacing, the power commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "hosts/linux/cd_drive.h"
#include "hosts/linux/command_line.h"
#include "hosts/linux/evdev_input.h"
#include "hosts/linux/lcd_preview.h"
#include "hosts/linux/linux_power.h"
#include "hosts/linux/options.h"
#include "hosts/linux/ports.h"
#include "hosts/linux/setup.h"
#include "hosts/linux/terminal_view.h"
#include "posix/posix_file_system.h"
#include "process_helpers.h"
#include "support/program_folder.h"

namespace lorvan::linuxhost {
namespace {

using Json = nlohmann::json;

const Json& Tables() {
  static const Json tables = testing::ReadJson(LORVAN_SOURCE_DIR "/tests/integration/tables/command_lines.json");
  return tables;
}

// One cell of the panel's preview from the table's dark pixels: that line is blank but for that cell.
TEST(LcdPreview, EachPixelShowsInItsCellInEachStyle) {
  const std::map<std::string, std::pair<PreviewStyle, std::string>> styles = {
      {"braille", {PreviewStyle::kBraille, "\u2800"}}, {"half", {PreviewStyle::kHalfBlock, " "}},
      {"ascii", {PreviewStyle::kAscii, " "}}};
  for (const auto& row : Tables().at("preview")) {
    SCOPED_TRACE(row.dump());
    const auto& [style, blank] = styles.at(row["style"]);
    std::set<std::pair<int, int>> dark;
    for (const auto& p : row["dark"]) dark.insert({p[0].get<int>(), p[1].get<int>()});
    const auto lines = RenderPreview([&](int x, int y) { return dark.count({x, y}) > 0; }, 128, 64, style);
    ASSERT_EQ(lines.size(), static_cast<size_t>(PreviewRows(style, 64)));
    std::vector<std::string> cells(PreviewColumns(style, 128), blank);
    cells[row["cell"]] = row["text"].get<std::string>();
    std::string expected;
    for (const auto& c : cells) expected += c;
    EXPECT_EQ(lines[row["line"]], expected);
  }
}

TEST(TerminalText, CaptionsAndUnprintableBytes) {
  for (const auto& row : Tables().at("captions")) {
    std::vector<size_t> accelerators;
    EXPECT_EQ(PlainCaption(row["caption"], &accelerators), row["plain"]) << row;
    EXPECT_EQ(Json(accelerators), row["accelerators"]) << row;
  }
  EXPECT_EQ(PrintableText("Caf\xc3\xa9 \xe9t\x01"), "Caf\xc3\xa9 ?t?");
}

// Key events through the default map, changed by a keymap file's text where a row has one.
TEST(Keymap, AHeldKeyRepeatsLikeOnWindowsAndFilesChangeTheMap) {
  for (const auto& row : Tables().at("key_events")) {
    SCOPED_TRACE(row.dump());
    KeyMap map = DefaultKeyMap();
    try {
      if (row.contains("keymap")) ApplyKeymapText(map, row["keymap"], "remote.map");
      EXPECT_FALSE(row.contains("error")) << "not refused";
    } catch (const KeymapError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(row.value("error", "?"), 0), 0u) << e.what();
      continue;
    }
    std::string strokes;
    for (const auto& e : row["events"]) {
      if (const char k = KeyStroke(map, e[0], e[1], e[2])) strokes += k;
    }
    EXPECT_EQ(strokes, row["strokes"]);
  }
}

TEST(CommandLine, SplitResolvedAndItsSocketFromTheTables) {
  for (const auto& row : Tables().at("split")) {
    const auto words = SplitCommandLine(row["line"]);
    EXPECT_EQ(words ? Json(*words) : Json(), row["words"]) << row["line"];
  }
  const std::string sock = "/run/user/1/lorvan-x.sock";
  const std::map<std::string, std::string> names = {{"$SOCK", sock}, {"$DEFAULT", DefaultPlayerCommandLine(sock)}};
  for (const auto& row : Tables().at("resolve")) {
    SCOPED_TRACE(row.dump());
    const std::string socket = testing::Substitute(row["socket"], names);
    const std::string resolved = ResolveCommandLine(row["line"], row["settings"], socket);
    EXPECT_EQ(resolved, testing::Substitute(row["resolved"], names));
    EXPECT_EQ(IsPlayerCommandLine(resolved) ? NamedSocket(resolved) : socket, socket);
  }
  for (const auto& row : Tables().at("player_lines")) {
    EXPECT_EQ(IsPlayerCommandLine(row["line"]), row["player"]) << row["line"];
    const auto named = NamedSocket(row["line"]);
    EXPECT_EQ(named ? Json(*named) : Json(), row["socket"]) << row["line"];
  }
  EXPECT_EQ(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/opt/lorvan")) << "one per program folder";
  EXPECT_NE(DefaultSocketPath("/opt/lorvan"), DefaultSocketPath("/home/box/lorvan"));
  EXPECT_LT(DefaultSocketPath("/opt/lorvan").size(), 100u) << "fits a socket address";
}

TEST(CommandLine, ThePlayersSocketAsTheSettingsNameIt) {
  testing::TempDir dir;
  const std::map<std::string, std::string> names = {
      {"$DIR", dir.path()}, {"$HOME", std::getenv("HOME") ? std::getenv("HOME") : ""},
      {"$DEFAULT", DefaultSocketPath(dir.path())}};
  for (const auto& row : Tables().at("player_socket")) {
    SCOPED_TRACE(row.dump());
    std::filesystem::remove(dir.path() + "/Lorvan.ini");
    if (!row["line"].is_null()) {
      testing::Settings s;
      s[1] = testing::Substitute(row["line"], names);
      dir.Write("Lorvan.ini", s.Text({"// the player --input-ipc-server=/not/this.sock"}));
    }
    const auto chosen = ChoosePlayerSocket(row["option"], dir.path());
    EXPECT_EQ(chosen.path, testing::Substitute(row["socket"], names));
    EXPECT_EQ(!chosen.note.empty(), row["note"]) << chosen.note;
  }
}

TEST(Options, CommandLinesAndOptionsFilesFromTheTable) {
  testing::TempDir dir;
  const std::string file = dir.path() + "/panel.conf";
  for (const auto& row : Tables().at("options")) {
    SCOPED_TRACE(row.dump());
    if (row.contains("file")) dir.Write("panel.conf", row["file"]);
    std::vector<std::string> args;
    for (const auto& a : row["args"]) args.push_back(testing::Substitute(a, {{"$FILE", file}}));
    if (row.contains("error")) {
      try {
        ParseOptions(args);
        ADD_FAILURE() << "not refused";
      } catch (const std::invalid_argument& e) {
        const std::string start = row["error"].is_string() ? testing::Substitute(row["error"], {{"$FILE", file}}) : "";
        EXPECT_EQ(std::string(e.what()).rfind(start, 0), 0u) << e.what();
      }
      continue;
    }
    const Options o = ParseOptions(args);
    const Json got = {{"headless", o.headless}, {"ppdev", o.ppdev}, {"inputs", o.inputs},
                      {"program_dir", o.program_dir}, {"power", o.power}, {"raw_io_base", o.raw_io_base},
                      {"help", o.help}, {"full_frames", o.full_frames}, {"setup", o.setup},
                      {"setup_music", o.setup_music}, {"setup_cd", o.setup_cd}, {"web", o.web},
                      {"panel", o.panel.kind}, {"panel_bus", o.panel.bus}, {"panel_pins", o.panel.pins},
                      {"panel_clock", o.panel.clock_hz}, {"panel_address", o.panel.address}};
    for (const auto& [field, value] : row["expect"].items()) EXPECT_EQ(got[field], value) << field;
  }
}

class FakeCd : public CdDevice {
 public:
  std::string path() const override { return "/dev/sr9"; }
  bool Present() override { return present; }
  bool IsCdRom() override { return present; }
  std::optional<std::vector<CdTrack>> ReadToc() override { return toc; }
  bool Eject() override {
    calls.push_back("eject");
    return true;
  }
  bool CloseTray() override {
    calls.push_back("close");
    return true;
  }
  bool present = true;
  std::optional<std::vector<CdTrack>> toc;
  std::vector<std::string> calls;
};

TEST(CdDrive, AnAudioDiscIsAFolderOfTracks) {
  testing::TempDir dir;
  FakeCd cd;
  posix::PosixFileSystem posix;
  const std::string root = "/dev/sr9/";
  CdFileSystem files(posix, cd, [&] { return root; });
  LinuxDrives drives(cd, [&] { return root; });

  // No disc: not enterable (the search goes on), nothing listed.
  EXPECT_EQ(drives.GetDriveTypeA(root), platform::kDriveCdRom);
  EXPECT_NE(drives.GetLogicalDriveStringsA(255).find(root + '\0'), std::string::npos);
  EXPECT_EQ(drives.ChDir(root), platform::kErrPathFileAccess);
  EXPECT_TRUE(files.ListFolder(root).empty());

  cd.toc = std::vector<CdTrack>{{1, 0, 75 * 200}, {2, 75 * 200, 75 * 181}, {10, 75 * 381, 75 * 60}};
  const std::string cwd = drives.CurDir();
  EXPECT_EQ(drives.ChDir(root), 0);
  EXPECT_EQ(drives.CurDir(), "/dev/sr9");
  EXPECT_EQ(drives.ChDir(cwd), 0);
  EXPECT_EQ(drives.CurDir(), cwd);
  EXPECT_EQ(files.ListFolder(root), (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track10.cda"}));
  EXPECT_EQ(files.GetAttr(root + "Track02.cda"), platform::kAttrReadOnly) << "a track is a file";
  EXPECT_FALSE(files.GetAttr(root + "Track03.cda"));
  EXPECT_TRUE(*files.GetAttr("/dev/sr9") & platform::kAttrDirectory);

  const auto src = files.TrackSource(root + "Track02.cda");
  ASSERT_TRUE(src);
  EXPECT_EQ(src->url, "cdda:///dev/sr9");
  EXPECT_EQ(src->options, "start=200.000,end=381.000");
  EXPECT_DOUBLE_EQ(src->offset_s, 200.0);
  EXPECT_DOUBLE_EQ(src->length_s, 181.0);
  EXPECT_FALSE(files.TrackSource(dir.path() + "/Track02.cda")) << "only below the CD root";

  EXPECT_EQ(drives.mciSendStringA("set cdaudio door open"), 0);
  EXPECT_EQ(drives.mciSendStringA("Set CDAudio Door Closed"), 0);
  EXPECT_EQ(cd.calls, (std::vector<std::string>{"eject", "close"}));
  EXPECT_NE(drives.mciSendStringA("play cdaudio"), 0);

  cd.present = false;
  EXPECT_EQ(drives.GetDriveTypeA(root), 1u);
  EXPECT_EQ(drives.GetLogicalDriveStringsA(255), std::string("/") + '\0');
  EXPECT_EQ(drives.ChDir(dir.path() + "/missing"), platform::kErrPathNotFound);
  EXPECT_EQ(TrackNumberOf("track07.CDA"), 7);
  EXPECT_EQ(TrackNumberOf("Track7x.cda"), 0);
}

class RecordingPort : public platform::PortIo {
 public:
  void Out32(int16_t port, int16_t value) override { writes.push_back({port, value}); }
  std::vector<std::pair<int16_t, int16_t>> writes;
};

TEST(PacedPort, KeepsTheEnableTimesOfThePanelAndFeedsTheVirtualOne) {
  RecordingPort inner;
  int64_t now = 1000;
  std::vector<int64_t> write_times;
  PacedPort paced(inner, 450, [&] { return now += 100; });  // every clock read: 100 ns later
  for (int i = 0; i < 3; ++i) {
    paced.Out32(888, 63);
    write_times.push_back(now);
  }
  ASSERT_EQ(inner.writes.size(), 3u);
  EXPECT_GE(write_times[1] - write_times[0], 450);
  EXPECT_GE(write_times[2] - write_times[1], 450);
  EXPECT_GT(paced.spins(), 0);

  // A slow port needs no waiting at all.
  RecordingPort slow;
  PacedPort relaxed(slow, 450, [&] { return now += 1000; });
  relaxed.Out32(890, 12);
  relaxed.Out32(890, 13);
  EXPECT_EQ(relaxed.spins(), 0);

  // Beside a real port the virtual panel gets every write too (what it shows of them is
  // compared with the simulated panel in terminal_window_test.cpp).
  VirtualPanelPort panel;
  TeePort tee(relaxed, panel);
  tee.Out32(kLptBase, 63);
  tee.Out32(kLptBase + 2, 12);
  EXPECT_EQ(slow.writes.size(), 4u);
  EXPECT_EQ(panel.writes(), 2);
}

TEST(LinuxPower, SystemdCommandsForEachCall) {
  std::vector<std::vector<std::string>> ran;
  int answer = 0;
  LinuxPower power([&](const std::vector<std::string>& argv) { ran.push_back(argv); return answer; }, nullptr);
  using V = std::vector<std::string>;
  EXPECT_EQ(power.SetSuspendState(false, false, false), 1);
  EXPECT_EQ(ran.back(), (V{"systemctl", "suspend"}));
  power.SetSuspendState(true, false, false);
  EXPECT_EQ(ran.back(), (V{"systemctl", "hibernate"}));
  power.ExitWindowsEx(1, 0);
  EXPECT_EQ(ran.back(), (V{"systemctl", "poweroff"}));
  power.ExitWindowsEx(6, 0);
  EXPECT_EQ(ran.back(), (V{"systemctl", "reboot", "--ignore-inhibitors"}));
  power.ExitWindowsEx(0, 0);
  EXPECT_EQ(ran.back()[0], "loginctl");
  answer = 1;
  EXPECT_EQ(power.SetSystemPowerState(true, false), 0) << "a refused suspend reports failure at once";
  int32_t platform_id = 0;
  EXPECT_TRUE(power.GetVersionExA(platform_id));
  EXPECT_EQ(platform_id, 2);
  EXPECT_EQ(power.IsSystemResumeAutomatic(), 0);

  testing::TempDir dir;
  power.sys_power_state_file = dir.Write("state", "freeze mem disk\n");
  EXPECT_EQ(power.IsPwrHibernateAllowed(), 1);
  power.sys_power_state_file = dir.Write("state", "freeze mem\n");
  EXPECT_EQ(power.IsPwrHibernateAllowed(), 0);
}

}  // namespace
}  // namespace lorvan::linuxhost
