// The colour pickers: the composite palette keeping its views in step, the column of seven
// swatches, the colour wheel picking the window's pixels under a real cursor, the swatch grid,
// and the factory rows of all of them; hosted in a window, notifications read from its journal.
#include "ui/controls/CColorButton.h"
#include "ui/controls/CColorPalette.h"
#include "ui/controls/CColorSelect.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/ColorView.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MPalette.h"
#include "ui/controls/MSpinButton.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/core/ControlFactory.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::NotifyLine;

namespace {

class ColourPickerTest : public testing::Test {
protected:
  // The first n notifications (all of them when there are fewer).
  std::vector<std::string> FirstNotifications(size_t n) {
    std::vector<std::string> lines = host.Notifications();
    if (lines.size() > n) lines.resize(n);
    return lines;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{480, 300};
};

// ---- Factories ----

TEST(ColourPickerFactoryTest, RowsMakeTheirClassesWithTheirArguments) {
  testsupport::ProgramInstance instance;
  struct Row {
    const wchar_t* name;
    bool engine;
    int enabled;  // with the caller asking for a disabled control
  };
  const Row rows[] = {
      {L"MSpinButton", true, 1},  {L"MPalette", true, 1},     {L"CColorPalette", true, 1},
      {L"CColorSelect", true, 1}, {L"CirclePalette", true, 1}, {L"ColorView", false, 1},
  };
  const ControlCreateArgs args = {nullptr, 7, CRect(0, 0, 330, 190), L"", 1, 0};
  for (const Row& row : rows) {
    std::unique_ptr<MControl> panelMade(ConstructControl(PanelControlClasses(), row.name, args));
    ASSERT_NE(nullptr, panelMade) << row.name;
    EXPECT_EQ(row.enabled, panelMade->IsEnabled()) << row.name;
    std::unique_ptr<MControl> engineMade(ConstructControl(EngineControlClasses(), row.name, args));
    EXPECT_EQ(row.engine, engineMade != nullptr) << row.name;
  }
  // Before InitControl a composite palette has no children: no colour, nothing to set.
  CColorPalette bare(nullptr, 8, CRect(0, 0, 330, 190), 1);
  bare.SetSelectColor(0x123456);
  EXPECT_EQ(0u, bare.GetSelectColor());
  EXPECT_EQ(0, bare.SetThumbImage(L"none.png"));
}

// ---- CColorPalette ----

// 320 x 180 at (10, 10): presets at (10 + 25 i, 15, 30 + 25 i, 35); the palette (10, 37, 243, 186).
class CompositePaletteTest : public ColourPickerTest {
protected:
  void SetUp() override {
    picker = host.Add<CColorPalette>(L"CColorPalette", 9, CRect(10, 10, 330, 190));
    ASSERT_NE(nullptr, picker);
    for (int i = 0; i < 3; ++i) fields[i] = dynamic_cast<MSpinButton*>(picker->GetControl(654 + i));
    hex = dynamic_cast<MEdit*>(picker->GetControl(657));
    selected = dynamic_cast<CColorButton*>(picker->GetControl(622));
    palette = dynamic_cast<MPalette*>(picker->GetControl(620));
    ASSERT_TRUE(fields[0] && fields[1] && fields[2] && hex && selected && palette);
    host.ClearJournal();
  }
  std::vector<int> Fields() const {
    return {fields[0]->GetCurValue(), fields[1]->GetCurValue(), fields[2]->GetCurValue()};
  }
  CString HexText() const { return hex->GetTitleEx(); }
  LRESULT TypeHex(const wchar_t* text) {
    hex->SetEditText(text);
    return hex->SendMessageW(NOTIFY_TEXTCHANGED, 0, 0);
  }

  CColorPalette* picker = nullptr;
  MSpinButton* fields[3] = {};
  MEdit* hex = nullptr;
  CColorButton* selected = nullptr;
  MPalette* palette = nullptr;
};

TEST_F(CompositePaletteTest, NewViewsShowTheirOwnStartingColours) {
  EXPECT_EQ((std::vector<int>{255, 255, 255}), Fields());
  EXPECT_EQ(CString(L"33FFFE"), HexText()) << "the palette's default colour";
  EXPECT_EQ(0x00E1FFu, selected->GetColor());
  EXPECT_EQ(1, selected->GetCheck());
  EXPECT_EQ(0xFEFF33u, picker->GetSelectColor());
  EXPECT_EQ(CRect(10, 37, 243, 186), palette->GetRect());
  EXPECT_EQ(147, palette->GetPalletHeight());
}

TEST_F(CompositePaletteTest, APresetBringsEveryViewIntoStepAndReportsBeforeTheSwatch) {
  host.Click(CPoint(20, 25));
  EXPECT_EQ((std::vector<int>{85, 27, 0}), Fields());
  EXPECT_EQ(CString(L"551B00"), HexText());
  EXPECT_EQ(0x001B55u, selected->GetColor());
  EXPECT_EQ((std::vector<std::string>{NotifyLine(9, NOTIFY_COLORCHANGED, 0, 0x001B55), NotifyLine(631, NOTIFY_PRESSED, 0, 0)}),
            FirstNotifications(2));
  EXPECT_EQ(0x001A54u, picker->GetSelectColor()) << "the palette's round trip";

  // A number field's step: the colour from the three fields.
  host.ClearJournal();
  fields[2]->SetControlFocus(1);
  fields[2]->OnControlKeyDown(VK_UP, 1, 0);
  EXPECT_EQ(CString(L"551B01"), HexText());
  EXPECT_EQ(0x011B55u, selected->GetColor());
  EXPECT_EQ((std::vector<std::string>{NotifyLine(9, NOTIFY_COLORCHANGED, 0, 0x011B55), NotifyLine(656, NOTIFY_VALUECHANGED, 0, 0)}),
            host.Notifications());
}

TEST_F(CompositePaletteTest, HexTextOfSixCharactersSetsTheColourAndKeepsItsSpelling) {
  EXPECT_EQ(0, TypeHex(L"00ff0")) << "five characters";
  EXPECT_EQ((std::vector<int>{255, 255, 255}), Fields());
  EXPECT_TRUE(host.Notifications().empty()) << "not passed on";

  TypeHex(L"00ff00");
  EXPECT_EQ((std::vector<int>{0, 255, 0}), Fields());
  EXPECT_EQ(0x00FF04u, picker->GetSelectColor()) << "hue 119";
  EXPECT_EQ(CString(L"00ff00"), HexText());
  EXPECT_EQ((std::vector<std::string>{NotifyLine(9, NOTIFY_COLORCHANGED, 0, 0x00FF00), NotifyLine(657, NOTIFY_TEXTCHANGED, 0, 0)}),
            host.Notifications());

  TypeHex(L"zz00gg");
  EXPECT_EQ((std::vector<int>{0, 0, 0}), Fields()) << "pairs that do not read are 0";
  TypeHex(L"1g2h3z");
  EXPECT_EQ((std::vector<int>{1, 2, 3}), Fields()) << "pairs read as far as they are hexadecimal";
}

TEST_F(CompositePaletteTest, APressInThePaletteReachesTheViewsOnlyAsItsColour) {
  host.Click(CPoint(20, 40));  // the field's top-left: hue 0, lightness 20
  const COLORREF colour = picker->GetSelectColor();
  EXPECT_EQ(std::vector<std::string>{NotifyLine(9, NOTIFY_COLORCHANGED, 0, colour)}, host.Notifications());
  EXPECT_EQ((std::vector<int>{GetRValue(colour), GetGValue(colour), GetBValue(colour)}), Fields());
  EXPECT_EQ(colour, selected->GetColor());
}

// ---- CColorSelect ----

TEST_F(ColourPickerTest, ColumnOfSwatchesReportsTheIndexAndColourOfThePressedOne) {
  auto* column = host.Add<CColorSelect>(L"CColorSelect", 12, CRect(10, 10, 40, 200));
  ASSERT_NE(nullptr, column);
  host.ClearJournal();
  host.Click(CPoint(20, 100));  // the fourth: (10, 90, 30, 110)
  EXPECT_EQ((std::vector<std::string>{NotifyLine(12, NOTIFY_COLORCHANGED, 3, 0x00FFFF), NotifyLine(634, NOTIFY_PRESSED, 0, 0)}),
            FirstNotifications(2));

  host.ClearJournal();
  column->SetColorIndex(7);
  auto checked = [&] {
    std::vector<int> ids;
    for (UINT id = 631; id <= 637; ++id) {
      if (static_cast<CColorButton*>(column->GetControl(id))->GetCheck()) ids.push_back(static_cast<int>(id));
    }
    return ids;
  };
  EXPECT_EQ(std::vector<int>{634}, checked()) << "index 7 does nothing";
  column->SetColorIndex(0);
  EXPECT_EQ(std::vector<int>{631}, checked());
  column->SetColorIndex(-1);
  EXPECT_TRUE(checked().empty());
  EXPECT_TRUE(host.Notifications().empty());
}

// ---- CirclePalette ----

// A wheel of 200 x 200 at (20, 20), centre (120, 120), showing one known colour, drawn in the
// shown window so that picks read it back from the screen.
class WheelTest : public ColourPickerTest {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(L"wheeltest_face.png", 10, 10, {0xFF336699}));
    wheel = host.Add<CirclePalette>(L"CirclePalette", 14, CRect(20, 20, 220, 220));
    ASSERT_NE(nullptr, wheel);
    ASSERT_EQ(1, wheel->SetImage(L"wheeltest_face.png", 1));
    wheel->UpdateControl(1, 1);
    InvalidateRect(host.GetSafeHwnd(), nullptr, TRUE);
    UpdateWindow(host.GetSafeHwnd());
    host.ClearJournal();
  }
  CirclePalette* wheel = nullptr;
};

constexpr COLORREF kWheelColour = 0x996633;

TEST_F(WheelTest, PicksWithinNinetyPixelsAndReportsEveryRelease) {
  host.MoveTo(CPoint(211, 120));
  host.Press(CPoint(211, 120));  // 91 from the centre
  EXPECT_EQ(2, wheel->GetState()) << "dragging starts all the same";
  host.Release(CPoint(211, 120));
  EXPECT_EQ(std::vector<std::string>{NotifyLine(14, NOTIFY_CLICKED, 0, 0x0000FF)}, host.Notifications())
      << "the release reports the colour before any pick";

  host.ClearJournal();
  host.Press(CPoint(184, 185));  // (64, 65): 91.2
  host.Release(CPoint(184, 185));
  EXPECT_EQ(std::vector<std::string>{NotifyLine(14, NOTIFY_CLICKED, 0, 0x0000FF)}, host.Notifications());

  host.ClearJournal();
  host.Press(CPoint(184, 184));  // (64, 64): 90.5, truncated
  EXPECT_EQ(std::vector<std::string>{NotifyLine(14, NOTIFY_COLORCHANGED, 0, kWheelColour)}, host.Notifications());
  EXPECT_EQ(CRect(179, 179, 189, 189), wheel->GetThumbRect());
  host.MoveTo(CPoint(189, 189));  // 5 and 5
  EXPECT_EQ(1u, host.Notifications().size()) << "moves of up to 5 are ignored";
  host.MoveTo(CPoint(178, 184));  // 6 across, towards the centre
  EXPECT_EQ(CRect(173, 179, 183, 189), wheel->GetThumbRect());
  host.Release(CPoint(178, 184));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(14, NOTIFY_COLORCHANGED, 0, kWheelColour),
                                      NotifyLine(14, NOTIFY_COLORCHANGED, 0, kWheelColour),
                                      NotifyLine(14, NOTIFY_CLICKED, 0, kWheelColour)}),
            host.Notifications());
  EXPECT_EQ(1, wheel->GetState()) << "released over the thumb";

  host.ClearJournal();
  host.Click(CPoint(210, 120));  // exactly 90
  EXPECT_EQ(CRect(205, 115, 215, 125), wheel->GetThumbRect());
}

TEST_F(WheelTest, ACursorOffTheWindowIsNoColour) {
  host.Click(CPoint(130, 120));
  const CRect thumb = wheel->GetThumbRect();
  host.ClearJournal();
  const CPoint off = host.ToScreen(CPoint(host.width() + 40, 10));
  SetCursorPos(off.x, off.y);
  EXPECT_EQ(0, wheel->MoveThumbPos(CPoint(140, 120)));
  EXPECT_EQ(kWheelColour, wheel->GetSelectColor());
  EXPECT_EQ(thumb, wheel->GetThumbRect());
  EXPECT_TRUE(host.Notifications().empty());
}

// ---- ColorView ----

// 240 x 180 at (10, 10): the first swatch (21, 20, 43, 42), the second starts at x 49.
class SwatchGridTest : public ColourPickerTest {
protected:
  void SetUp() override {
    grid = new ColorView(&host, 20, CRect(10, 10, 250, 190), 1, 1);
    host.Adopt(grid);
    grid->InitColorView();
    host.ClearJournal();
  }
  ColorView* grid = nullptr;
};

TEST_F(SwatchGridTest, AClickSelectsTheHoveredSwatchAndAGapNothing) {
  EXPECT_EQ(48, grid->GetItemCount());
  EXPECT_EQ(0x1A1A1Au, host.PixelAt(46, 31)) << "the dark panel between swatches";
  EXPECT_EQ(0xB71C1Cu, host.PixelAt(32, 20)) << "the first swatch's edge in its own colour";
  host.Click(CPoint(46, 31));
  EXPECT_TRUE(host.Notifications().empty());

  host.Click(CPoint(77, 59));  // row 1, column 2: 0xFF283492
  EXPECT_EQ(0x00923428u, grid->GetSelectColor());
  host.Click(CPoint(32, 31));
  EXPECT_EQ(0x001C1CB7u, grid->GetSelectColor());
  EXPECT_EQ(std::vector<std::string>(2, NotifyLine(20, NOTIFY_CLICKED, 0, 0)), host.Notifications());
  EXPECT_EQ(0xFBC93Eu, host.PixelAt(32, 20)) << "the hovered swatch's outline";

  grid->ClearAllItem();
  EXPECT_EQ(0, grid->GetItemCount());
  EXPECT_EQ(0x1A1A1Au, host.PixelAt(32, 31));
  EXPECT_EQ(0x001C1CB7u, grid->GetSelectColor()) << "the colour stays";
}

TEST_F(SwatchGridTest, TwoSetsLieOnTopOfEachOtherAndTheFirstIsHit) {
  grid->InitColorView();
  EXPECT_EQ(96, grid->GetItemCount());
  host.MoveTo(CPoint(32, 31));
  EXPECT_EQ(0, grid->GetHoverIndex());
}

TEST_F(SwatchGridTest, DisabledHandlersAnswerNothing) {
  grid->SetControlEnabled(0);
  EXPECT_EQ(0, grid->OnControlMouseMove(0, CPoint(32, 31)));
  EXPECT_EQ(0, grid->OnControlLButtonDown(MK_LBUTTON, CPoint(32, 31)));
  EXPECT_EQ(0, grid->OnControlLButtonUp(0, CPoint(32, 31)));
  EXPECT_EQ(-1, grid->GetHoverIndex());
  EXPECT_TRUE(host.Notifications().empty());
}

}  // namespace
