#include "hosts/win32/window_layout.h"

namespace lorvan::win32 {
namespace {

ControlPlace Frame(const std::string& name, const std::string& caption, Rect r) {
  return {name, ControlKind::kFrame, caption, r, "", 1};
}
ControlPlace Button(const std::string& name, Rect r) { return {name, ControlKind::kButton, "", r, "", 1}; }
ControlPlace Check(const std::string& name, Rect r) { return {name, ControlKind::kCheckBox, "", r, "", 1}; }
ControlPlace Text(const std::string& name, Rect r) { return {name, ControlKind::kTextBox, "", r, "", 1}; }
ControlPlace List(const std::string& name, Rect r) { return {name, ControlKind::kListBox, "", r, "", 1}; }
ControlPlace Label(const std::string& name, const std::string& caption, Rect r) {
  return {name, ControlKind::kLabel, caption, r, "", 1};
}
ControlPlace Picture(const std::string& name, const std::string& source, Rect r, int zoom) {
  return {name, ControlKind::kPicture, "", r, source, zoom};
}

}  // namespace

WindowLayout MainWindowLayout() {
  WindowLayout l;
  l.client_width = 980;
  l.client_height = 596;
  auto& c = l.controls;

  // Frames first.
  c.push_back(Frame("Frame7", "Remote Control:", {8, 8, 540, 276}));
  c.push_back(Frame("Frame10", "Volume:", {16, 150, 150, 60}));
  c.push_back(Frame("Frame2", "", {174, 150, 306, 60}));
  c.push_back(Frame("Frame1", "Display:", {556, 8, 416, 276}));
  c.push_back(Frame("Frame3", "Preview", {564, 26, 400, 160}));
  c.push_back(Frame("Frame4", "TX Time", {740, 190, 110, 60}));
  c.push_back(Frame("Frame6", "Paste", {860, 190, 104, 60}));
  c.push_back(Frame("Frame5", "Status Line:", {8, 290, 964, 56}));
  c.push_back(Frame("Frame8", "Directory Files:", {8, 352, 964, 170}));

  // Remote control: transport, digits, bookmark, source and tray.
  const char* transport[] = {"cmdPlay", "cmdPause", "cmdStop", "cmdPrev", "cmdNext"};
  for (int i = 0; i < 5; ++i) c.push_back(Button(transport[i], {16 + i * 92, 28, 88, 26}));
  c.push_back(Button("cmdFastBackward", {16, 58, 88, 26}));
  c.push_back(Button("cmdFastForward", {108, 58, 88, 26}));
  c.push_back(Button("cmdStoreLastMp3", {200, 58, 134, 26}));
  c.push_back(Button("cmdResumeLastMp3", {338, 58, 134, 26}));
  for (int k = 0; k < 10; ++k) c.push_back(Button("cmdJump(" + std::to_string(k) + ")", {16 + k * 46, 88, 43, 26}));
  c.push_back(Button("cmdSourceToggle", {16, 118, 150, 26}));
  c.push_back(Button("cmdCdOpenClose", {170, 118, 150, 26}));
  c.push_back(Button("cmdShowHelp", {324, 118, 148, 26}));

  // Volume and equalizer.
  c.push_back(Button("cmdVolumeUp", {24, 172, 64, 26}));
  c.push_back(Button("cmdVolumeDown", {94, 172, 64, 26}));
  c.push_back(Check("chkEqOn", {184, 174, 80, 22}));
  c.push_back(Button("cmdEqDefault", {268, 172, 96, 26}));
  c.push_back(Check("chkShowEq", {370, 174, 100, 22}));

  // The two ways out.
  c.push_back(Button("cmdExit", {16, 218, 524, 26}));
  c.push_back(Button("cmdExitDevEnv", {16, 250, 524, 26}));

  // Display: the LCD picture 1:1 and enlarged, inversion, initialisation, transfer time, paste box.
  c.push_back(Picture("picLcd", "picLcd", {572, 46, 128, 64}, 1));
  c.push_back(Picture("picLcdEnlarged", "picLcd", {704, 46, 256, 128}, 2));
  c.push_back(Check("chkInverted", {572, 196, 150, 22}));
  c.push_back(Button("cmdLcdInit", {572, 224, 150, 26}));
  c.push_back(Label("lblTxTime", "", {750, 214, 90, 20}));
  c.push_back(Picture("picPaste", "picPaste", {872, 212, 26, 26}, 2));

  // Status line.
  c.push_back(Label("Label8", "File", {16, 313, 30, 18}));
  c.push_back(Text("txtCurFileNr", {48, 310, 50, 22}));
  c.push_back(Label("Label7", "of", {104, 313, 18, 18}));
  c.push_back(Text("txtTotalFileNr", {124, 310, 50, 22}));
  c.push_back(Text("txtCurMinutes", {200, 310, 40, 22}));
  c.push_back(Label("Label1", "Min.", {244, 313, 30, 18}));
  c.push_back(Text("txtCurSeconds", {278, 310, 40, 22}));
  c.push_back(Label("Label6", "Sec.", {322, 313, 30, 18}));
  c.push_back(Text("txtTotalMinutes", {370, 310, 40, 22}));
  c.push_back(Label("Label11", "Min.", {414, 313, 30, 18}));
  c.push_back(Text("txtTotalSeconds", {448, 310, 40, 22}));
  c.push_back(Label("Label10", "Sec.", {492, 313, 30, 18}));
  c.push_back(Text("txtBitrate", {540, 310, 50, 22}));
  c.push_back(Label("Label9", "kbs", {594, 313, 30, 18}));

  // Listing and preview lines.
  c.push_back(List("lstFileEntries", {16, 372, 620, 142}));
  c.push_back(List("lstFilePreview", {644, 372, 320, 142}));

  // Program and legal information.
  c.push_back(Label("lblAppInfo", "", {8, 528, 964, 18}));
  c.push_back(Label("lblGeneralInfo", "", {8, 548, 964, 40}));
  return l;
}

}  // namespace lorvan::win32
