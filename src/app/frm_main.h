#pragma once
// The main window: its controls, the shared state, and the event handlers of every subsystem.
// Handlers are defined in app/handlers/, one file per function of the remote.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/shared_state.h"
#include "event/event_loop.h"
#include "lcd/glcd.h"
#include "lcd/picture.h"
#include "lcd/pictures.h"
#include "navigation/browser.h"
#include "platform/platform.h"
#include "player/winamp_control.h"
#include "power/standby_detector.h"

namespace lorvan::app {

// Modes of ChangeSystemState.
enum SystemStateMode : int32_t { kStandby = 1, kWakeUp = 2, kShutdown = 3, kDevelopmentExit = 4, kServiceExit = 5 };

// What asks OpenSelectedEntry and SelectNextEntry to act: a key, or the end of a track.
enum EntryTrigger : int32_t { kKeyPress = 1, kAutomaticAdvance = 2 };

class frmMain {
 public:
  explicit frmMain(platform::Platform& platform);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Start-up; throws StartupError.
  void Form_Load();
  // A key stroke of the remote: clicks the control whose accelerator it is (either case).
  bool KeyPress(char key);
  // A click on a control by name, e.g. "cmdPlay", "chkInverted", "cmdJump(3)".
  bool ClickByName(const std::string& name);
  // Unloads the window: every timer off, the program ends.
  void Unload();
  bool Running() const { return running_; }
  // Called once when the window is unloaded (the host learns that the program has ended).
  std::function<void()> on_unload;

  // The player link.
  player::clsWinampControl& goWinamp() { return winamp_; }
  // The program folder followed by the separator and a name below it.
  std::string AppFile(const std::string& relative) const;
  char Sep() const { return platform.files.PathSeparator(); }

  platform::Platform& platform;
  event::EventLoop loop;
  SharedState state;

 private:
  player::clsWinampControl winamp_;

 public:

  // Remote-control buttons and check boxes.
  Button cmdPlay{"cmdPlay", "&Play"};
  Button cmdPause{"cmdPause", "P&ause"};
  Button cmdStop{"cmdStop", "&Stop"};
  Button cmdPrev{"cmdPrev", "Pre&vious"};
  Button cmdNext{"cmdNext", "&Next"};
  Button cmdFastBackward{"cmdFastBackward", "&<<"};
  Button cmdFastForward{"cmdFastForward", ">&>"};
  std::array<Button, 10> cmdJump{
      Button{"cmdJump(0)", "&0"}, Button{"cmdJump(1)", "&1"}, Button{"cmdJump(2)", "&2"},
      Button{"cmdJump(3)", "&3"}, Button{"cmdJump(4)", "&4"}, Button{"cmdJump(5)", "&5"},
      Button{"cmdJump(6)", "&6"}, Button{"cmdJump(7)", "&7"}, Button{"cmdJump(8)", "&8"},
      Button{"cmdJump(9)", "&9"}};
  Button cmdStoreLastMp3{"cmdStoreLastMp3", "Store &current MP3"};
  Button cmdResumeLastMp3{"cmdResumeLastMp3", "&Resume last MP3"};
  Button cmdSourceToggle{"cmdSourceToggle", "MP3/CD To&ggle"};
  Button cmdCdOpenClose{"cmdCdOpenClose", "CD &Open/Close"};
  Button cmdVolumeUp{"cmdVolumeUp", "&Up"};
  Button cmdVolumeDown{"cmdVolumeDown", "Do&wn"};
  CheckBox chkEqOn{"chkEqOn", "On/O&ff"};
  Button cmdEqDefault{"cmdEqDefault", "EQ &Default"};
  CheckBox chkShowEq{"chkShowEq", "Show &EQ"};
  Button cmdShowHelp{"cmdShowHelp", "Show &Help"};
  CheckBox chkInverted{"chkInverted", "&Inverted Display"};
  Button cmdLcdInit{"cmdLcdInit", "Initialize Display"};
  Button cmdExit{"cmdExit",
                 "E&XIT (1x Stutdown - 2x Standby - 3x Resume - 5x Exit Lorvan w/o System Shitdown)"};
  Button cmdExitDevEnv{"cmdExitDevEnv", "EXI&T (for Development w/o Shutdown)"};

  // Listing, preview and status line.
  ListBox lstFileEntries{"lstFileEntries"};
  ListBox lstFilePreview{"lstFilePreview"};
  Label lblAppInfo{"lblAppInfo", ""};
  Label lblGeneralInfo{"lblGeneralInfo", ""};
  Label lblTxTime{"lblTxTime", ""};
  TextBox txtCurFileNr{"txtCurFileNr", ""};
  TextBox txtTotalFileNr{"txtTotalFileNr", ""};
  TextBox txtCurMinutes{"txtCurMinutes", ""};
  TextBox txtCurSeconds{"txtCurSeconds", ""};
  TextBox txtTotalMinutes{"txtTotalMinutes", ""};
  TextBox txtTotalSeconds{"txtTotalSeconds", ""};
  TextBox txtBitrate{"txtBitrate", ""};

  // What the browser works on: the state, the two lists, the folders and the player.
  navigation::Browser browser{state, lstFileEntries, lstFilePreview, platform.files, winamp_};
  static constexpr const char* kStatusToolTip = "Only numbers allowed here !";

  Timer tmrRefresh{"tmrRefresh", loop};
  Timer tmrDirectJumpTime{"tmrDirectJumpTime", loop};
  Timer tmrShutdown{"tmrShutdown", loop};
  Timer tmrCdSearchingTimeout{"tmrCdSearchingTimeout", loop};

  // The LCD: module state, the off-screen picture, the staging box and the hidden bitmaps.
  lcd::gLCD glcd;
  lcd::Picture picLcd{lcd::kLcdWidth, lcd::kLcdHeight};
  lcd::Picture picPaste{13, 13};
  lcd::frmPictures frmPictures;

  std::unique_ptr<power::clsSetShutdownAndDetectWakeUp> goStandbyAndWakeUp;

  // Private members of the window (public here for the views and the tests).
  std::string msJumpDigits;
  int16_t miEqBand = 0;
  std::array<int16_t, 5> miListLineY{};
  int32_t miScreenModeBeforeHelp = 0;
  int16_t miExitPressCount = 0;
  bool mbCdTrayOpen = false;  // the tray handler's flag: the program last opened the tray

  // Every button and check box, for the views.
  std::vector<Button*> Buttons();
  std::vector<CheckBox*> CheckBoxes();

  // Event handlers.
  void cmdPlay_Click();
  void cmdPause_Click();
  void cmdStop_Click();
  void cmdPrev_Click();
  void cmdNext_Click();
  void cmdFastBackward_Click();
  void cmdFastForward_Click();
  void cmdJump_Click(int16_t Index);
  void cmdStoreLastMp3_Click();
  void cmdResumeLastMp3_Click();
  void cmdSourceToggle_Click();
  void cmdCdOpenClose_Click();
  void cmdVolumeUp_Click();
  void cmdVolumeDown_Click();
  void chkEqOn_Click();
  void cmdEqDefault_Click();
  void chkShowEq_Click();
  void cmdShowHelp_Click();
  void chkInverted_Click();
  void cmdLcdInit_Click();
  void cmdExit_Click();
  void cmdExitDevEnv_Click();
  void tmrRefresh_Timer();
  void tmrDirectJumpTime_Timer();
  void tmrShutdown_Timer();
  void tmrCdSearchingTimeout_Timer();
  void goStandbyAndWakeUp_SetStandbyMode();
  void goStandbyAndWakeUp_WakeUpDetected(int32_t SourceOfWakeUp);

  // Procedures of the window that other subsystems call.
  void OpenSelectedEntry(EntryTrigger trigger);
  void SelectNextEntry(EntryTrigger trigger);
  void UpdateLcd();
  void ChangeSystemState(SystemStateMode mode);

  // The resume journal beside the settings (app/resume_journal.cpp): the bookmark the exit
  // sequence would store now, written while the MP3 source plays.
  void WriteResumeJournal();
  // A track began by itself: the journal follows once the writes' spacing allows.
  void ResumeJournalDue() { resume_journal_due_ = true; }
  // The refresh tick while playing: every 30 s of playback, or a due write.
  void ResumeJournalTick();
  // After the settings were rewritten on an orderly way out.
  void RemoveResumeJournal();
  // Start-up: a whole journal becomes the bookmark and the settings file is rewritten with it.
  void TakeOverResumeJournal();
  int64_t resume_journal_writes = 0;

 private:
  void WireControls();
  void WaitForPlayerAtStartUp();
  bool running_ = true;
  bool loading_ = false;
  bool resume_journal_due_ = false;
  bool resume_journal_failure_told_ = false;
  int64_t resume_journal_written_ms_ = 0;
  std::vector<char> keys_during_load_;
};

}  // namespace lorvan::app
