// The Windows main window's layout: every control of the window placed once as its kind,
// nothing overlapping, the LCD preview exactly the panel's size and twice that.
#include "hosts/win32/window_layout.h"

#include <gtest/gtest.h>

#include <map>

#include "app/frm_main.h"
#include "hosts/sim/sim_world.h"
#include "support/program_folder.h"

namespace lorvan::win32 {
namespace {

class WindowLayoutTest : public ::testing::Test {
 protected:
  lorvan::testing::TempDir dir;
  sim::SimWorld world{dir.path()};
  app::frmMain form{world.platform};
  WindowLayout layout = MainWindowLayout();
};

TEST_F(WindowLayoutTest, EveryControlOfTheWindowIsPlacedOnceAsItsKind) {
  std::map<std::string, ControlKind> wanted = {{"picLcd", ControlKind::kPicture}, {"picPaste", ControlKind::kPicture}};
  for (app::Button* b : form.Buttons()) wanted[b->name] = ControlKind::kButton;
  for (app::CheckBox* c : form.CheckBoxes()) wanted[c->name] = ControlKind::kCheckBox;
  for (const auto* l : {&form.lstFileEntries, &form.lstFilePreview}) wanted[l->name] = ControlKind::kListBox;
  for (const auto* t : {&form.txtCurFileNr, &form.txtTotalFileNr, &form.txtCurMinutes, &form.txtCurSeconds,
                        &form.txtTotalMinutes, &form.txtTotalSeconds, &form.txtBitrate}) {
    wanted[t->name] = ControlKind::kTextBox;
  }
  for (const auto* l : {&form.lblAppInfo, &form.lblGeneralInfo, &form.lblTxTime}) wanted[l->name] = ControlKind::kLabel;
  std::map<std::string, int> placed;
  for (const auto& c : layout.controls) {
    ++placed[c.name];
    if (wanted.count(c.name)) {
      EXPECT_EQ(c.kind, wanted.at(c.name)) << c.name;
    } else {
      // The view's own frames, fixed labels and enlarged preview.
      EXPECT_TRUE(c.kind == ControlKind::kFrame || c.kind == ControlKind::kLabel || c.kind == ControlKind::kPicture)
          << c.name << " is no control of the window";
    }
  }
  for (const auto& [name, kind] : wanted) EXPECT_EQ(placed[name], 1) << name;
  for (const auto& [name, n] : placed) EXPECT_EQ(n, 1) << name << " is placed " << n << " times";
}

TEST_F(WindowLayoutTest, ControlsStayInsideTheWindowAndApartAndPicturesKeepTheirSize) {
  const Rect client{0, 0, layout.client_width, layout.client_height};
  std::vector<const ControlPlace*> controls, frames;
  std::vector<int> lcd_zooms;  // the LCD preview, 1:1 and enlarged
  for (const auto& c : layout.controls) {
    EXPECT_TRUE(client.Contains(c.rect)) << c.name << " leaves the window";
    EXPECT_TRUE(c.rect.w > 0 && c.rect.h > 0) << c.name;
    (c.kind == ControlKind::kFrame ? frames : controls).push_back(&c);
    if (c.kind != ControlKind::kPicture) continue;
    const lcd::Picture& pic = c.source == "picPaste" ? form.picPaste : form.picLcd;
    EXPECT_TRUE(c.rect.w == pic.Width() * c.zoom && c.rect.h == pic.Height() * c.zoom) << c.name;
    if (c.source == "picLcd") lcd_zooms.push_back(c.zoom);
  }
  EXPECT_EQ(lcd_zooms, (std::vector<int>{1, 2}));
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(controls[i]->rect.Overlaps(controls[j]->rect)) << controls[i]->name << " overlaps " << controls[j]->name;
    }
  }
  // A frame either holds a control whole or not at all.
  for (const ControlPlace* f : frames) {
    for (const ControlPlace* c : controls) {
      if (f->rect.Overlaps(c->rect)) {
        EXPECT_TRUE(f->rect.Contains(c->rect)) << c->name << " sticks out of " << f->name;
      }
    }
  }
}

}  // namespace
}  // namespace lorvan::win32
