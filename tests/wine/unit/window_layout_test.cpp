// The Windows main window's layout: every control of the window placed once, nothing
// overlapping, the LCD preview exactly the panel's size.
#include "hosts/win32/window_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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

  std::map<std::string, int> Count() const {
    std::map<std::string, int> n;
    for (const auto& c : layout.controls) ++n[c.name];
    return n;
  }
};

TEST_F(WindowLayoutTest, EveryControlOfTheWindowIsPlacedOnce) {
  const auto count = Count();
  std::vector<std::string> names;
  for (app::Button* b : form.Buttons()) names.push_back(b->name);
  for (app::CheckBox* c : form.CheckBoxes()) names.push_back(c->name);
  for (const auto* l : {&form.lstFileEntries, &form.lstFilePreview}) names.push_back(l->name);
  for (const auto* t : {&form.txtCurFileNr, &form.txtTotalFileNr, &form.txtCurMinutes, &form.txtCurSeconds,
                        &form.txtTotalMinutes, &form.txtTotalSeconds, &form.txtBitrate}) {
    names.push_back(t->name);
  }
  for (const auto* l : {&form.lblAppInfo, &form.lblGeneralInfo, &form.lblTxTime}) names.push_back(l->name);
  names.push_back("picLcd");
  names.push_back("picPaste");
  for (const std::string& n : names) EXPECT_EQ(count.count(n) ? count.at(n) : 0, 1) << n;
  for (const auto& [name, n] : count) EXPECT_EQ(n, 1) << name << " is placed " << n << " times";
}

TEST_F(WindowLayoutTest, KindsMatchTheWindowsControls) {
  std::set<std::string> buttons, checks;
  for (app::Button* b : form.Buttons()) buttons.insert(b->name);
  for (app::CheckBox* c : form.CheckBoxes()) checks.insert(c->name);
  for (const auto& c : layout.controls) {
    if (buttons.count(c.name)) {
      EXPECT_EQ(c.kind, ControlKind::kButton) << c.name;
    }
    if (checks.count(c.name)) {
      EXPECT_EQ(c.kind, ControlKind::kCheckBox) << c.name;
    }
    if (c.kind == ControlKind::kButton) {
      EXPECT_TRUE(buttons.count(c.name)) << c.name << " is no button of the window";
    }
    if (c.kind == ControlKind::kCheckBox) {
      EXPECT_TRUE(checks.count(c.name)) << c.name;
    }
  }
}

TEST_F(WindowLayoutTest, ControlsStayInsideTheWindowAndApart) {
  const Rect client{0, 0, layout.client_width, layout.client_height};
  std::vector<const ControlPlace*> controls, frames;
  for (const auto& c : layout.controls) {
    EXPECT_TRUE(client.Contains(c.rect)) << c.name << " leaves the window";
    EXPECT_GT(c.rect.w, 0) << c.name;
    EXPECT_GT(c.rect.h, 0) << c.name;
    (c.kind == ControlKind::kFrame ? frames : controls).push_back(&c);
  }
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

TEST_F(WindowLayoutTest, ThePreviewShowsThePanelOneToOneAndEnlarged) {
  int lcd_views = 0;
  for (const auto& c : layout.controls) {
    if (c.kind != ControlKind::kPicture) continue;
    const lcd::Picture& pic = c.source == "picPaste" ? form.picPaste : form.picLcd;
    EXPECT_EQ(c.rect.w, pic.Width() * c.zoom) << c.name;
    EXPECT_EQ(c.rect.h, pic.Height() * c.zoom) << c.name;
    if (c.source == "picLcd") ++lcd_views;
    if (c.name == "picLcd") {
      EXPECT_EQ(c.zoom, 1);
      EXPECT_EQ(c.rect.w, 128);
      EXPECT_EQ(c.rect.h, 64);
    }
  }
  EXPECT_EQ(lcd_views, 2);
}

}  // namespace
}  // namespace lorvan::win32
