#include "app/frm_main.h"

#include <cctype>

#include "app/errors.h"
#include "app/help_file.h"
#include "app/ini_file.h"
#include "navigation/browser.h"
#include "navigation/resume.h"
#include "version.h"

namespace lorvan::app {

// How long start-up waits for the player's window, in milliseconds of the host's clock.
constexpr int64_t kPlayerStartLimitMs = 30000;

frmMain::frmMain(platform::Platform& p) : platform(p), loop(p.clock, p.events), winamp_(p, loop), glcd(p) {
  // A player the link starts again replaces the one start-up started: closing goes to it.
  winamp_.on_player_started = [this](int32_t task) { state.glWinampTaskId = task; };
  WireControls();
}

frmMain::~frmMain() = default;

void frmMain::WireControls() {
  cmdPlay.on_click = [this] { cmdPlay_Click(); };
  cmdPause.on_click = [this] { cmdPause_Click(); };
  cmdStop.on_click = [this] { cmdStop_Click(); };
  cmdPrev.on_click = [this] { cmdPrev_Click(); };
  cmdNext.on_click = [this] { cmdNext_Click(); };
  cmdFastBackward.on_click = [this] { cmdFastBackward_Click(); };
  cmdFastForward.on_click = [this] { cmdFastForward_Click(); };
  for (int16_t k = 0; k < 10; ++k) cmdJump[k].on_click = [this, k] { cmdJump_Click(k); };
  cmdStoreLastMp3.on_click = [this] { cmdStoreLastMp3_Click(); };
  cmdResumeLastMp3.on_click = [this] { cmdResumeLastMp3_Click(); };
  cmdSourceToggle.on_click = [this] { cmdSourceToggle_Click(); };
  cmdCdOpenClose.on_click = [this] { cmdCdOpenClose_Click(); };
  cmdVolumeUp.on_click = [this] { cmdVolumeUp_Click(); };
  cmdVolumeDown.on_click = [this] { cmdVolumeDown_Click(); };
  chkEqOn.on_click = [this] { chkEqOn_Click(); };
  cmdEqDefault.on_click = [this] { cmdEqDefault_Click(); };
  chkShowEq.on_click = [this] { chkShowEq_Click(); };
  cmdShowHelp.on_click = [this] { cmdShowHelp_Click(); };
  chkInverted.on_click = [this] { chkInverted_Click(); };
  cmdLcdInit.on_click = [this] { cmdLcdInit_Click(); };
  cmdExit.on_click = [this] { cmdExit_Click(); };
  cmdExitDevEnv.on_click = [this] { cmdExitDevEnv_Click(); };
  tmrRefresh.on_timer = [this] { tmrRefresh_Timer(); };
  tmrDirectJumpTime.on_timer = [this] { tmrDirectJumpTime_Timer(); };
  tmrShutdown.on_timer = [this] { tmrShutdown_Timer(); };
  tmrCdSearchingTimeout.on_timer = [this] { tmrCdSearchingTimeout_Timer(); };
}

std::vector<Button*> frmMain::Buttons() {
  std::vector<Button*> b = {&cmdPlay, &cmdPause, &cmdStop, &cmdPrev, &cmdNext, &cmdFastBackward, &cmdFastForward};
  for (auto& j : cmdJump) b.push_back(&j);
  for (Button* x : {&cmdStoreLastMp3, &cmdResumeLastMp3, &cmdSourceToggle, &cmdCdOpenClose, &cmdVolumeUp,
                    &cmdVolumeDown, &cmdEqDefault, &cmdShowHelp, &cmdLcdInit, &cmdExit, &cmdExitDevEnv}) {
    b.push_back(x);
  }
  return b;
}

std::vector<CheckBox*> frmMain::CheckBoxes() { return {&chkEqOn, &chkShowEq, &chkInverted}; }

std::string frmMain::AppFile(const std::string& relative) const { return state.gsAppPath + Sep() + relative; }

bool frmMain::KeyPress(char key) {
  if (!running_) return false;
  if (loading_) {
    // Key strokes wait in the queue until the window has finished loading.
    keys_during_load_.push_back(key);
    return true;
  }
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  for (Button* b : Buttons()) {
    if (b->Accelerator() != 0 && lower(b->Accelerator()) == lower(key)) {
      b->Click();
      return true;
    }
  }
  for (CheckBox* c : CheckBoxes()) {
    if (c->Accelerator() != 0 && lower(c->Accelerator()) == lower(key)) {
      c->Click();
      return true;
    }
  }
  return false;
}

bool frmMain::ClickByName(const std::string& name) {
  if (!running_) return false;
  for (Button* b : Buttons()) {
    if (b->name == name) {
      b->Click();
      return true;
    }
  }
  for (CheckBox* c : CheckBoxes()) {
    if (c->name == name) {
      c->Click();
      return true;
    }
  }
  return false;
}

void frmMain::Unload() {
  if (!running_) return;
  loop.StopAllTimers();
  running_ = false;
  if (on_unload) on_unload();
}

void frmMain::WaitForPlayerAtStartUp() {
  // The window stays responsive to the outside world while the player comes up, but gives
  // up after a limit instead of hanging forever.
  const int64_t start = loop.NowMs();
  while (!goWinamp().IsWinampLoaded()) {
    if (platform.processes.HasEnded(state.glWinampTaskId)) {
      throw StartupError("the player ended right after starting \"" + state.gsWinampPath +
                         "\" without opening its window");
    }
    if (loop.NowMs() - start >= kPlayerStartLimitMs) {
      throw StartupError("the player did not open its window within 30 s after starting \"" +
                         state.gsWinampPath + "\"");
    }
    loop.DoEvents();
  }
}

void frmMain::Form_Load() {
  loading_ = true;
  const std::string app_path = platform.app.AppPath();
  try {
    frmPictures.Load(platform.files, app_path);
  } catch (const platform::FileError& e) {
    throw StartupError(e.what());
  }

  const platform::VersionInfo v = platform.app.Version();
  lblAppInfo.caption = v.comments + " - R" + std::to_string(v.major) + "." + std::to_string(v.minor) +
                       std::to_string(v.revision);
  lblGeneralInfo.caption = v.legal_notice;
  if (*kHomePage) lblGeneralInfo.caption += std::string("\r\n") + kHomePage;

  goStandbyAndWakeUp = std::make_unique<power::clsSetShutdownAndDetectWakeUp>(platform, loop);
  goStandbyAndWakeUp->SetStandbyMode = [this] { goStandbyAndWakeUp_SetStandbyMode(); };
  goStandbyAndWakeUp->WakeUpDetected = [this](int32_t source) { goStandbyAndWakeUp_WakeUpDetected(source); };

  navigation::HandleResumeData(state, goWinamp(), navigation::kResumeClear);
  state.gsAppPath = app_path;
  ReadWriteIniFile(state, platform.files, AppFile(kIniFileName), kIniRead);
  TakeOverResumeJournal();
  std::vector<std::string> warnings;
  state.giHelpPageCount = ReadHelpFile(state, platform.files, AppFile(state.gsHelpFileName), &warnings);
  for (const auto& w : warnings) platform.dialogs.MsgBox(w, "Lorvan");

  try {
    state.glWinampTaskId = platform.processes.Shell(state.gsWinampPath, platform::kNormalNoFocus);
  } catch (const platform::StartError& e) {
    throw StartupError(std::string("cannot start the player: ") + e.what());
  }
  WaitForPlayerAtStartUp();

  state.glMediaSource = kSourceMp3;
  state.glScreenMode = kScreenBrowser;
  state.gsAudioDir = state.gsMp3RootDir;
  miEqBand = 0;
  miListLineY = {11, 19, 27, 35, 43};
  navigation::ListFolder(browser, state.gsAudioDir, navigation::kFolderNone, navigation::kSpeak);
  glcd.LcdInit();
  chkEqOn.SetValue(goWinamp().GetEqEnabled() ? 1 : 0);
  goWinamp().SetVolume(state.giVolume);

  tmrRefresh.SetInterval(20);
  tmrRefresh.SetEnabled(true);
  tmrCdSearchingTimeout.SetInterval(15000);
  tmrCdSearchingTimeout.SetEnabled(false);
  tmrShutdown.SetInterval(2000);
  tmrShutdown.SetEnabled(false);
  tmrDirectJumpTime.SetInterval(1000);
  tmrDirectJumpTime.SetEnabled(false);

  loading_ = false;
  auto held = std::move(keys_during_load_);
  keys_during_load_.clear();
  for (char k : held) KeyPress(k);
}

}  // namespace lorvan::app
