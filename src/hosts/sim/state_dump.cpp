#include "hosts/sim/sim_runner.h"

namespace lorvan::sim {
namespace {

Json Array(const app::DepthStack& s) {
  Json a = Json::array();
  for (int16_t v : s) a.push_back(v);
  return a;
}

Json Lines(const app::ListBox& l) {
  Json a = Json::array();
  for (const auto& line : l.lines) a.push_back(line);
  return a;
}

}  // namespace

Json StateJson(app::frmMain& f) {
  const app::SharedState& s = f.state;
  Json j;
  j["glMediaSource"] = s.glMediaSource;
  j["glPlayState"] = s.glPlayState;
  j["glScreenMode"] = s.glScreenMode;
  j["giVolume"] = s.giVolume;
  j["gsAppPath"] = s.gsAppPath;
  j["gsAudioDir"] = s.gsAudioDir;
  j["gsMp3RootDir"] = s.gsMp3RootDir;
  j["gsCdRootDir"] = s.gsCdRootDir;
  j["gsWinampPath"] = s.gsWinampPath;
  j["gsHelpFileName"] = s.gsHelpFileName;
  j["glLcdDelayLoops"] = s.glLcdDelayLoops;
  j["glReserved1"] = s.glReserved1;
  j["glReserved2"] = s.glReserved2;
  j["giWakeUpDetectionTime"] = s.giWakeUpDetectionTime;
  j["giListTop"] = s.giListTop;
  j["giListRow"] = s.giListRow;
  j["giFolderDepth"] = s.giFolderDepth;
  j["giDepthListTop"] = Array(s.giDepthListTop);
  j["giDepthListRow"] = Array(s.giDepthListRow);
  j["giCursorRow"] = s.giCursorRow;
  j["giSelectedEntryNr"] = s.giSelectedEntryNr;
  j["gsSelectedEntry"] = s.gsSelectedEntry;
  j["gsFolderTitle"] = s.gsFolderTitle;
  j["giPlayProgress"] = s.giPlayProgress;
  j["miEqBand"] = f.miEqBand;
  j["giHelpPage"] = s.giHelpPage;
  j["giHelpPageCount"] = s.giHelpPageCount;
  j["giHelpColumnX"] = s.giHelpColumnX;
  j["gsLastResumeMp3AudioDir"] = s.gsLastResumeMp3AudioDir;
  j["glLastResumeMp3PlayPos"] = s.glLastResumeMp3PlayPos;
  j["glMp3PlayPos"] = s.glMp3PlayPos;
  j["giResumeListTop"] = s.giResumeListTop;
  j["giResumeListRow"] = s.giResumeListRow;
  j["giResumeFolderDepth"] = s.giResumeFolderDepth;
  j["giResumeDepthListTop"] = Array(s.giResumeDepthListTop);
  j["giResumeDepthListRow"] = Array(s.giResumeDepthListRow);
  j["msJumpDigits"] = f.msJumpDigits;
  j["miExitPressCount"] = f.miExitPressCount;
  j["glWinampTaskId"] = s.glWinampTaskId;
  j["gbLcdInverted"] = f.glcd.gbLcdInverted;
  j["glLcdPortBase"] = f.glcd.glLcdPortBase;
  j["lstFileEntries"] = Lines(f.lstFileEntries);
  j["lstFilePreview"] = Lines(f.lstFilePreview);
  j["lstFilePreviewIndex"] = f.lstFilePreview.list_index;
  j["txtCurFileNr"] = f.txtCurFileNr.text;
  j["txtTotalFileNr"] = f.txtTotalFileNr.text;
  j["txtCurMinutes"] = f.txtCurMinutes.text;
  j["txtCurSeconds"] = f.txtCurSeconds.text;
  j["txtTotalMinutes"] = f.txtTotalMinutes.text;
  j["txtTotalSeconds"] = f.txtTotalSeconds.text;
  j["txtBitrate"] = f.txtBitrate.text;
  j["lblTxTime"] = f.lblTxTime.caption;
  j["lblAppInfo"] = f.lblAppInfo.caption;
  j["chkEqOn"] = f.chkEqOn.value;
  j["chkShowEq"] = f.chkShowEq.value;
  j["chkInverted"] = f.chkInverted.value;
  j["tmrRefresh"] = f.tmrRefresh.Enabled();
  j["tmrDirectJumpTime"] = f.tmrDirectJumpTime.Enabled();
  j["tmrShutdown"] = f.tmrShutdown.Enabled();
  j["tmrCdSearchingTimeout"] = f.tmrCdSearchingTimeout.Enabled();
  j["running"] = f.Running();
  return j;
}

}  // namespace lorvan::sim
