// The exit key sequence and ChangeSystemState: every way out of normal operation.
#include <climits>
#include <optional>
#include <string>

#include "app/frm_main.h"
#include "app/ini_file.h"
#include "navigation/resume.h"
#include "power/delay.h"
#include "power/shutdown_modes.h"

namespace lorvan::app {
namespace {

// The pause between the shutdown decision and the shutdown, with nothing handled meanwhile.
constexpr int32_t kShutdownPauseMs = 500;

constexpr const char* kMessageTitle = "Lorvan";

// The sibling program that powers the machine off, in the program folder.
std::string ShutdownProgramName(char separator) { return separator == '\\' ? "Hardstop.exe" : "Hardstop"; }

// A path with blanks is quoted so that the command line names exactly this program.
std::string CommandLineOf(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace

void frmMain::cmdExit_Click() {
  tmrShutdown.SetEnabled(true);
  if (miExitPressCount < INT16_MAX) ++miExitPressCount;
}

void frmMain::cmdExitDevEnv_Click() { ChangeSystemState(kDevelopmentExit); }

void frmMain::tmrShutdown_Timer() {
  tmrShutdown.SetEnabled(false);
  switch (miExitPressCount) {
    case 1:
      power::WaitMilliseconds(platform, loop, kShutdownPauseMs, false);
      ChangeSystemState(kShutdown);
      break;
    case 2:
      ChangeSystemState(kStandby);
      // Returns only after the wake-up has been handled.
      if (goStandbyAndWakeUp) goStandbyAndWakeUp->StartStandbyAndWakeUpDetection(state.giWakeUpDetectionTime);
      break;
    case 5:
      ChangeSystemState(kServiceExit);
      break;
    default:
      break;  // other counts are dropped
  }
  miExitPressCount = 0;
}

void frmMain::goStandbyAndWakeUp_SetStandbyMode() {
  power::ExecuteShutdownMode(platform.power, power::kModeStandby, 0);
}

void frmMain::goStandbyAndWakeUp_WakeUpDetected(int32_t /*SourceOfWakeUp*/) {
  if (!Running()) return;
  ChangeSystemState(kWakeUp);
}

namespace {

// Closes the player: its window is activated by the task id of its start, then gets Alt+F4.
// Keys are never sent when the player's window cannot be activated, since they would reach
// whatever window is in front instead.
void ClosePlayer(frmMain& f) {
  if (!f.platform.processes.AppActivate(f.state.glWinampTaskId)) {
    f.platform.dialogs.MsgBox("The player's window (task " + std::to_string(f.state.glWinampTaskId) +
                                  ") cannot be activated, so the player was not closed.",
                              kMessageTitle);
    return;
  }
  f.platform.processes.SendKeys("%{F4}", true);
}

void StartShutdownProgram(frmMain& f) {
  const std::string path = f.AppFile(ShutdownProgramName(f.Sep()));
  try {
    f.platform.processes.Shell(CommandLineOf(path), platform::kMinimizedFocus);
  } catch (const platform::StartError& e) {
    f.platform.dialogs.MsgBox("The machine is not shut down: cannot start \"" + path + "\": " + e.what(),
                              kMessageTitle);
  }
}

void ShowFullScreenPicture(frmMain& f, const lcd::Picture& bitmap) {
  f.picLcd.SetBackground(bitmap);
  f.glcd.LcdTransferPicture(f.picLcd, f.state.glLcdDelayLoops);
}

// The browser's place, kept across a standby while a CD is the source.
struct BrowserPlace {
  std::string gsAudioDir;
  int16_t giListTop, giListRow, giFolderDepth;
  DepthStack giDepthListTop, giDepthListRow;

  static BrowserPlace Of(const SharedState& s) {
    return {s.gsAudioDir, s.giListTop, s.giListRow, s.giFolderDepth, s.giDepthListTop, s.giDepthListRow};
  }
  void PutBack(SharedState& s) const {
    s.gsAudioDir = gsAudioDir;
    s.giListTop = giListTop;
    s.giListRow = giListRow;
    s.giFolderDepth = giFolderDepth;
    s.giDepthListTop = giDepthListTop;
    s.giDepthListRow = giDepthListRow;
  }
};

void EndProgram(frmMain& f) {
  // A standby detection still waiting further down the stack must not wake a dead window.
  if (f.goStandbyAndWakeUp) f.goStandbyAndWakeUp->Cancel();
  f.Unload();
}

}  // namespace

void frmMain::ChangeSystemState(SystemStateMode mode) {
  tmrRefresh.SetEnabled(false);

  // The file always receives the MP3 bookmark: stored from the MP3 source, otherwise the
  // bookmark is put back into the current state, which the file is written from.
  const bool from_mp3 = state.glMediaSource == kSourceMp3;
  std::optional<BrowserPlace> cd_place;
  if (mode != kWakeUp && from_mp3) {
    navigation::HandleResumeData(state, goWinamp(), navigation::kResumeStore);
  } else {
    // When the program goes on with a CD as the source, its listing stays on the screen, so
    // the browser keeps its CD place once the file is written.
    if (!from_mp3 && (mode == kStandby || mode == kWakeUp)) cd_place = BrowserPlace::Of(state);
    navigation::HandleResumeData(state, goWinamp(), navigation::kResumeRestore);
  }

  try {
    ReadWriteIniFile(state, platform.files, AppFile(kIniFileName), kIniWrite);
    RemoveResumeJournal();  // the settings hold the bookmark now
  } catch (const platform::FileError& e) {
    platform.dialogs.MsgBox(std::string("The settings could not be saved: ") + e.what(), kMessageTitle);
  }
  if (cd_place) cd_place->PutBack(state);

  switch (mode) {
    case kStandby:
      goWinamp().StopSong();
      state.glPlayState = kStopped;
      ShowFullScreenPicture(*this, frmPictures.picStandbyBackground);
      break;
    case kWakeUp:
      glcd.LcdInit();
      tmrRefresh.SetEnabled(true);
      break;
    case kShutdown:
      goWinamp().StopSong();
      ShowFullScreenPicture(*this, frmPictures.picShutdownBackground);
      ClosePlayer(*this);
      StartShutdownProgram(*this);
      EndProgram(*this);
      break;
    case kDevelopmentExit:
      ClosePlayer(*this);
      EndProgram(*this);
      break;
    case kServiceExit:
      ShowFullScreenPicture(*this, frmPictures.picServiceExitBackground);
      ClosePlayer(*this);
      EndProgram(*this);
      break;
    default:
      break;
  }
}

}  // namespace lorvan::app
