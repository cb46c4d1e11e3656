// The display keys: the equalizer and help screens, the inverted panel, the panel's start.
#include "app/frm_main.h"

namespace lorvan::app {

void frmMain::chkShowEq_Click() { state.glScreenMode = chkShowEq.value == 1 ? kScreenEqualizer : kScreenBrowser; }

void frmMain::cmdShowHelp_Click() {
  if (state.giHelpPage == 0) miScreenModeBeforeHelp = state.glScreenMode;
  state.giHelpPage = state.giHelpPage < state.giHelpPageCount ? static_cast<int16_t>(state.giHelpPage + 1) : int16_t{0};
  state.glScreenMode = state.giHelpPage != 0 ? kScreenHelp : miScreenModeBeforeHelp;
}

void frmMain::chkInverted_Click() { glcd.LcdSetInverted(chkInverted.value); }

void frmMain::cmdLcdInit_Click() { glcd.LcdInit(); }

}  // namespace lorvan::app
