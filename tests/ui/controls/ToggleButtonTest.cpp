// Toggle and group buttons driven through a real window (ControlHost): groups by real clicks,
// keys through the modal loop's path, the cell shown read by pixel from strips whose frames
// each have their own colour, and what the owner was told.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSelectButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/KeyLayerButton.h"
#include "ui/controls/TextCheckButton.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/MPanel.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

// Eight frames of 16 x 16, one colour each, for check and radio buttons; the select buttons'
// strip has the first four.
const DWORD kFrames[] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000,
                         0xFF500000, 0xFF600000, 0xFF700000, 0xFF800000};
const wchar_t kStrip[] = L"toggletest_strip.png";
const wchar_t kSelectStrip[] = L"toggletest_select.png";
const wchar_t kOn[] = L"toggletest_on.png";
const wchar_t kOff[] = L"toggletest_off.png";
constexpr int kFrame = 16;
constexpr int kHeight = 24;  // of a button: its frame sits 4 pixels down

// The centre of the i-th button's box in a column of buttons 30 pixels apart.
CRect Row(int i) { return CRect(20, 20 + 30 * i, 140, 20 + 30 * i + kHeight); }
CPoint In(const CRect& r) { return CPoint(r.left + 60, r.top + 12); }

class ToggleButtonTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(kStrip, kFrame, kFrame, std::vector<DWORD>(std::begin(kFrames), std::end(kFrames))));
    ASSERT_TRUE(testsupport::WriteStrip(kSelectStrip, kFrame, kFrame, std::vector<DWORD>(kFrames, kFrames + 4)));
    ASSERT_TRUE(testsupport::WriteStrip(kOn, kFrame, kFrame, {0xFF00FF00, 0xFF00C000, 0xFF008000, 0xFF004000}));
    ASSERT_TRUE(testsupport::WriteStrip(kOff, kFrame, kFrame, {0xFF0000FF, 0xFF0000C0, 0xFF000080, 0xFF000040}));
  }

  // A button of the dialog with the test strip of frames frames.
  template <typename T>
  T* Add(const wchar_t* className, UINT id, CRect rect, int frames = 8) {
    T* button = host.Add<T>(className, id, rect, L"");
    if (button) button->SetImage(frames == 8 ? kStrip : kSelectStrip, frames);
    host.ClearJournal();
    return button;
  }
  // The frame shown at the button's strip (its top-left pixel), or -1.
  int CellShown(const MControl* button) {
    const DWORD pixel = host.PixelAt(button->GetRect().left + 2, button->GetRect().top + 6);
    for (int k = 0; k < 8; ++k) {
      if (pixel == (kFrames[k] & 0xFFFFFF)) return k;
    }
    return -1;
  }
  MPanel* AddPanel() {
    auto* panel = new MPanel(static_cast<MObject*>(&host), 90, CRect(0, 0, 300, 200), 1);
    host.Adopt(panel);
    return panel;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

// ---- Groups ----

TEST_F(ToggleButtonTest, ClickingARadioInAPanelUnchecksItsGroupAndOnlyItNotifies) {
  MPanel* panel = AddPanel();
  std::vector<CRadioButton*> radios;
  for (int i = 0; i < 3; ++i) {
    auto* radio = static_cast<CRadioButton*>(panel->CreateControl(L"CRadioButton", 11 + i, Row(i), L"", 1, 1));
    radio->SetImage(kStrip, 8);
    radio->SetGroupName(L"speed");
    radios.push_back(radio);
  }
  auto* layer = static_cast<KeyLayerButton*>(panel->CreateControl(L"KeyLayerButton", 20, Row(3), L"L", 1, 1));
  layer->SetGroupName(L"speed");
  layer->SetControlCheck(1);
  radios[0]->SetControlCheck(1);
  radios[2]->SetControlCheck(1);
  EXPECT_EQ(1, radios[0]->GetCheck()) << "SetControlCheck leaves the others alone";
  host.ClearJournal();

  host.Click(In(Row(1)));
  EXPECT_EQ((std::vector<int>{0, 1, 0}),
            (std::vector<int>{radios[0]->GetCheck(), radios[1]->GetCheck(), radios[2]->GetCheck()}));
  EXPECT_EQ(0, CellShown(radios[0]));
  EXPECT_EQ(5, CellShown(radios[1])) << "checked, hovered";
  EXPECT_EQ(0, CellShown(radios[2]));
  EXPECT_EQ((std::vector<std::string>{"12 notify 2 (0, 0)"}), host.Notifications());
  EXPECT_EQ(1, layer->GetCheck()) << "another class never shares the group";

  host.Click(In(Row(1)));
  EXPECT_EQ(1, radios[1]->GetCheck());
  EXPECT_EQ((std::vector<std::string>{"12 notify 2 (0, 0)", "12 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(ToggleButtonTest, ButtonsOwnedByTheDialogOrAWindowGroupOverTheEnginesControls) {
  auto* first = Add<CRadioButton>(L"CRadioButton", 11, Row(0));
  auto* second = Add<CRadioButton>(L"CRadioButton", 12, Row(1));
  first->SetCheck(1);
  host.Click(In(Row(1)));
  EXPECT_EQ(0, first->GetCheck());
  EXPECT_EQ(1, second->GetCheck());

  // Select buttons of the dialog: the walk finds them the same way.
  auto* selectA = Add<CSelectButton>(L"CSelectButton", 31, Row(2), 4);
  auto* selectB = Add<CSelectButton>(L"CSelectButton", 32, Row(3), 4);
  selectA->SetCheck(1);
  host.Click(In(Row(3)));
  EXPECT_EQ(0, selectA->GetCheck());
  EXPECT_EQ(1, selectB->GetCheck());

  // Colour buttons of the dialog, and radios of a window that is not a dialog: the engine's list.
  auto* swatch = host.Add<CColorButton>(L"CColorButton", 41, Row(4));
  auto* other = host.Add<CColorButton>(L"CColorButton", 42, Row(5));
  swatch->SetCheck(1);
  other->SetCheck(1);
  EXPECT_EQ(0, swatch->GetCheck());
  testsupport::PaintHost plain;
  ASSERT_NE(nullptr, plain.Create(nullptr, L"plain", WS_POPUP, 0, CRect(0, 0, 200, 100)));
  auto* a = new CRadioButton(static_cast<MObject*>(&plain), 1, Row(0), L"", 1, 1);
  auto* b = new CRadioButton(static_cast<MObject*>(&plain), 2, Row(1), L"", 1, 1);
  plain.engine.AttachControl(1, a);
  plain.engine.AttachControl(1, b);
  a->SetCheck(1);
  b->SetCheck(1);
  EXPECT_EQ(0, a->GetCheck());
  plain.DestroyWindow();

  // Owners without controls or without an engine: nothing to walk.
  testsupport::RecordingOwner window;
  CRadioButton loose(&window, 1, Row(0), L"", 1, 1);
  EXPECT_EQ(0, loose.ResetGroupCheck());
  EXPECT_EQ(1, loose.SetCheck(1)) << "checks without a group to clear";
  CColorButton orphan(nullptr, 2, Row(0), 1, 1);
  EXPECT_EQ(0, orphan.ResetGroupCheck());
}

TEST_F(ToggleButtonTest, AColourButtonChecksOnPressAndClearsOnlyLiveMembersOfItsGroup) {
  MPanel* panel = AddPanel();
  std::vector<CColorButton*> swatches;
  for (int i = 0; i < 4; ++i) {
    auto* swatch = static_cast<CColorButton*>(panel->CreateControl(L"CColorButton", 41 + i, Row(i), L"", 1, 1));
    swatch->SetControlCheck(1);
    swatches.push_back(swatch);
  }
  swatches[2]->SetVisible(0);
  swatches[3]->SetEnabled(0);
  swatches[0]->SetControlCheck(0);
  host.ClearJournal();

  host.MoveTo(In(Row(0)));
  host.Press(In(Row(0)));
  host.MoveTo(CPoint(250, 190));
  host.Release(CPoint(250, 190));
  EXPECT_EQ((std::vector<std::string>{"41 notify 1 (0, 0)"}), host.Notifications()) << "pressed, not clicked";
  EXPECT_EQ((std::vector<int>{1, 0, 1, 1}), (std::vector<int>{swatches[0]->GetCheck(), swatches[1]->GetCheck(),
                                                              swatches[2]->GetCheck(), swatches[3]->GetCheck()}))
      << "the hidden and the disabled one keep their check";
  EXPECT_EQ(2, swatches[0]->GetCell()) << "checked: the down cell";
  EXPECT_EQ(2, swatches[3]->GetCell()) << "checked and disabled: still the down cell";
}

TEST_F(ToggleButtonTest, TheSwatchHasItsColour) {
  auto* swatch = host.Add<CColorButton>(L"CColorButton", 41, CRect(20, 20, 60, 60));
  swatch->SetColor(RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(0x123456u, host.PixelAt(40, 40));
  swatch->SetVisibleBorder(true);
  swatch->SetColor(RGB(0x65, 0x43, 0x21));
  EXPECT_EQ(0x654321u, host.PixelAt(40, 40));
}

// ---- Keys, through the modal loop's path ----

TEST_F(ToggleButtonTest, TabFocusesEachTabStopAndSpaceChecksTheFocusedRadio) {
  auto* box = Add<CCheckButton>(L"CCheckButton", 10, Row(0));
  auto* first = Add<CRadioButton>(L"CRadioButton", 11, Row(1));
  auto* second = Add<CRadioButton>(L"CRadioButton", 12, Row(2));
  auto* text = host.Add<TextCheckButton>(L"TextCheckButton", 13, Row(3), L"T");
  host.Add(L"CColorButton", 14, Row(4));  // not a tab stop
  first->SetCheck(1);
  host.ClearJournal();

  PaintManager* engine = host.GetPaintManager();
  for (MControl* expected : std::vector<MControl*>{box, first, second, text, box}) {
    host.PostKey(VK_TAB);
    EXPECT_EQ(expected, engine->GetFocusControl());
    EXPECT_EQ(1, expected->IsFocused());
  }
  host.PostKey(VK_SPACE);  // on the focused check box: nothing
  host.PostKey(VK_TAB);
  host.PostKey(VK_TAB);
  ASSERT_EQ(second, engine->GetFocusControl());
  {
    testsupport::KeyState shift(true, false);
    host.PostKey(VK_SPACE);
  }
  EXPECT_TRUE(host.Notifications().empty()) << "Shift+Space and a check box's Space do nothing";
  EXPECT_EQ(0, box->GetCheck());

  host.PostKey(VK_SPACE);
  EXPECT_EQ(1, second->GetCheck());
  EXPECT_EQ(0, first->GetCheck());
  EXPECT_EQ((std::vector<std::string>{"12 notify 7 (0, 1)"}), host.Notifications());

  // A focused text check that was disabled since keeps its state but reports it.
  host.PostKey(VK_TAB);
  ASSERT_EQ(text, engine->GetFocusControl());
  text->SetEnabled(0);
  host.ClearJournal();
  host.PostKey(VK_SPACE);
  EXPECT_EQ(0, text->GetCheck());
  EXPECT_EQ((std::vector<std::string>{"13 notify 7 (0, 0)"}), host.Notifications());
}

// ---- Cells ----

TEST_F(ToggleButtonTest, CheckedAndDisabledLooks) {
  auto* box = Add<CCheckButton>(L"CCheckButton", 10, Row(0));
  box->SetCheck(1);
  box->SetEnabled(0);
  EXPECT_EQ(7, CellShown(box));
  EXPECT_EQ(1, box->SetCheck(0)) << "a disabled check box keeps its state";
  box->SetEnabled(1);
  EXPECT_EQ(4, CellShown(box));
  EXPECT_EQ(5, box->SetCheck(5));
  EXPECT_EQ(5, box->GetCheck());
  EXPECT_EQ(4, CellShown(box)) << "any non-zero value is checked";

  auto* select = Add<CSelectButton>(L"CSelectButton", 31, Row(1), 4);
  host.MoveTo(In(Row(1)));
  host.Press(In(Row(1)));
  EXPECT_EQ(2, CellShown(select));
  host.Release(In(Row(1)));
  EXPECT_EQ(2, CellShown(select));
  EXPECT_EQ(1, select->GetCheck());
  EXPECT_EQ((std::vector<std::string>{"31 notify 2 (0, 0)"}), host.Notifications());
  host.MoveTo(CPoint(250, 250));
  EXPECT_EQ(2, CellShown(select)) << "a selected button stays selected when the pointer leaves";
}

TEST_F(ToggleButtonTest, AClickToggleTheCheckBoxAndTheStateChangesRepaintFromTheCells) {
  auto* box = Add<CCheckButton>(L"CCheckButton", 10, Row(0));
  host.Click(In(Row(0)));
  EXPECT_EQ(1, box->GetCheck());
  EXPECT_EQ(5, CellShown(box));
  host.Click(In(Row(0)));
  EXPECT_EQ(0, box->GetCheck());
  EXPECT_EQ((std::vector<std::string>{"10 notify 2 (0, 0)", "10 notify 2 (0, 0)"}), host.Notifications());
  for (int flag : host.Repaints(10)) EXPECT_EQ(0, flag);
}

// ---- The switch ----

TEST_F(ToggleButtonTest, TheSwitchTogglesPerClickAndHasTheNewStateInItsNotification) {
  auto* toggle = host.Add<CSwitchButton>(L"CSwitchButton", 50, CRect(20, 20, 60, 44));
  toggle->SetImage(kOn, kOff, 4);
  EXPECT_EQ(1, toggle->SetImage(L"toggletest_missing.png", kOff, 4)) << "a missing side is survived";
  toggle->SetImage(kOn, kOff, 4);
  EXPECT_EQ(0x0000FFu, host.PixelAt(22, 26)) << "off, normal";
  std::vector<int> seen;
  host.onNotify = [&](const testsupport::HostEvent& e) {
    seen.push_back(toggle->GetCheck());
    return 0;
  };
  host.Click(CPoint(30, 30));
  EXPECT_EQ(0x00C000u, host.PixelAt(22, 26)) << "on, hovered";
  host.Click(CPoint(30, 30));
  EXPECT_EQ(0x0000C0u, host.PixelAt(22, 26)) << "off, hovered";
  EXPECT_EQ((std::vector<std::string>{"50 notify 2 (0, 1)", "50 notify 2 (0, 0)"}), host.Notifications());
  EXPECT_EQ((std::vector<int>{1, 0}), seen) << "GetCheck inside the handler";

  toggle->SetEnabled(0);
  EXPECT_EQ(1, toggle->SetCheck(1)) << "a disabled switch changes";
  EXPECT_EQ(0x004000u, host.PixelAt(22, 26)) << "on, disabled";
}

// ---- Factory rows ----

TEST_F(ToggleButtonTest, FactoryRowsPassTitleAndEnabledFlagAndTheClassesNameThemselves) {
  const struct {
    const wchar_t* name;
    int tables;  // 1 engine, 2 panel, 3 both
    const wchar_t* title;
    int enabled;  // of a button asked for disabled
    const wchar_t* className;
  } rows[] = {
      {L"CCheckButton", 3, L"T", 0, L"MControl"},       {L"CRadioButton", 3, L"T", 0, L"RadioButton"},
      {L"CSelectButton", 3, L"T", 0, L"CSelectButton"}, {L"CColorButton", 3, L"", 0, L"ColorButton"},
      {L"CSwitchButton", 3, L"", 0, L"MControl"},       {L"TextCheckButton", 1, L"T", 1, L"MControl"},
      {L"KeyLayerButton", 2, L"T", 1, L"KeyLayerButton"},
  };
  testsupport::RecordingOwner owner;
  for (const auto& row : rows) {
    const ControlClassTable tables[] = {EngineControlClasses(), PanelControlClasses()};
    for (int t = 0; t < 2; ++t) {
      std::unique_ptr<MControl> made(
          ConstructControl(tables[t], row.name, ControlCreateArgs{&owner, 7, Row(0), L"T", 1, 0}));
      if (!(row.tables & (1 << t))) {
        EXPECT_EQ(nullptr, made) << CString(row.name).GetString();
        continue;
      }
      ASSERT_NE(nullptr, made) << CString(row.name).GetString();
      EXPECT_EQ(CString(row.title), dynamic_cast<MControlFont&>(*made).GetTitle()) << CString(row.name).GetString();
      EXPECT_EQ(row.enabled, made->IsEnabled()) << CString(row.name).GetString();
      EXPECT_STREQ(row.className, made->GetClassNameW());
    }
  }
}

}  // namespace
