// The HSL palette and its colour conversions (reached through MPalette's hue, saturation and
// lightness), its mouse, and the spin field's keys, buttons and drawing; hosted in a window,
// notifications read from its journal.
#include "ui/controls/MPalette.h"
#include "ui/controls/MSpinButton.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::NotifyLine;

namespace {

class OpenPalette : public MPalette {
public:
  using MPalette::MPalette;
  void Set(int h, int s, int l) {
    m_nHue = h;
    m_nSaturation = s;
    m_nLightness = l;
  }
  int Hue() const { return m_nHue; }
  int Saturation() const { return m_nSaturation; }
  int Lightness() const { return m_nLightness; }
};

class PaletteTest : public testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

// ---- Conversions ----

TEST_F(PaletteTest, ColoursSplitIntoHueSaturationLightnessAndComeBackTruncated) {
  struct Case {
    COLORREF colour;
    int h, s, l;
    COLORREF back;
  };
  const Case cases[] = {
      {0x0000FF, 0, 200, 100, 0x0000FF},   {0x00FF00, 119, 200, 100, 0x00FF04}, {0xFF0000, 240, 200, 100, 0xFF0000},
      {0x00FFFF, 60, 200, 100, 0x00FFFF},  {0xFF00FF, 300, 200, 100, 0xFF00FE}, {0xFFFF00, 180, 200, 100, 0xFEFF00},
      {0x8000FF, 329, 200, 100, 0x8300FF}, {0x800000, 239, 200, 50, 0x7F0200},  {0x000000, 0, 0, 0, 0x000000},
      {0xFFFFFF, 0, 0, 200, 0xFFFFFF},     {0x808080, 0, 0, 100, 0x7F7F7F},     {0x7F7F7F, 0, 0, 99, 0x7E7E7E},
      {0xFEFEFE, 0, 0, 199, 0xFDFDFD},     {0x3399FF, 30, 200, 120, 0x3399FF},
  };
  OpenPalette palette(nullptr, 1, CRect(0, 0, 271, 152), 0);
  for (const Case& c : cases) {
    palette.SetSelectColor(c.colour | 0x7F000000);  // the top byte is ignored
    SCOPED_TRACE(testing::Message() << std::hex << "colour 0x" << c.colour);
    EXPECT_EQ(c.h, palette.Hue());
    EXPECT_EQ(c.s, palette.Saturation());
    EXPECT_EQ(c.l, palette.Lightness());
    EXPECT_EQ(c.back, palette.GetSelectColor());
  }
}

TEST_F(PaletteTest, HueSaturationLightnessGiveTheseColours) {
  struct Case {
    int h, s, l;
    COLORREF colour;
  };
  const Case cases[] = {
      {180, 200, 120, 0xFEFF33}, {0, 0, 100, 0x7F7F7F},   {250, 0, 100, 0x7F7F7F},   {0, 200, 100, 0x0000FF},
      {360, 200, 100, 0x0000FF}, {359, 200, 100, 0x0400FF}, {1, 200, 100, 0x0004FF}, {90, 200, 200, 0xFFFFFF},
      {90, 200, 0, 0x000000},
  };
  OpenPalette palette(nullptr, 1, CRect(0, 0, 271, 152), 0);
  EXPECT_EQ(0xFEFF33u, palette.GetSelectColor()) << "the defaults";
  for (const Case& c : cases) {
    palette.Set(c.h, c.s, c.l);
    EXPECT_EQ(c.colour, palette.GetSelectColor()) << c.h << ", " << c.s << ", " << c.l;
  }
}

// ---- Palette mouse ----

// 271 x 152 at (20, 20): field (20, 20, 253, 170), bar (259, 20, 291, 170), height 150.
class PaletteMouseTest : public PaletteTest {
protected:
  void SetUp() override {
    palette = new OpenPalette(&host, 5, CRect(20, 20, 291, 172), 1);
    host.Adopt(palette);  // the engine hands it its manager, which makes its pixels
    host.ClearJournal();
  }
  OpenPalette* palette = nullptr;
};

TEST_F(PaletteMouseTest, PressesTakeHueAndLightnessFromTheFieldAndSaturationFromTheBar) {
  struct Case {
    const char* what;
    CPoint at;
    int h, s, l;
  };
  const Case cases[] = {
      {"field top-left", CPoint(20, 20), 0, 200, 20},
      {"field bottom-right", CPoint(252, 169), 358, 200, 198},
      {"field centre", CPoint(136, 95), 179, 200, 110},
      {"bar top", CPoint(270, 20), 179, 0, 110},
      {"bar bottom", CPoint(270, 169), 179, 198, 110},
  };
  for (const Case& c : cases) {
    host.ClearJournal();
    const COLORREF before = palette->GetSelectColor();
    host.Click(c.at);
    EXPECT_EQ(c.h, palette->Hue()) << c.what;
    EXPECT_EQ(c.s, palette->Saturation()) << c.what;
    EXPECT_EQ(c.l, palette->Lightness()) << c.what;
    const COLORREF now = palette->GetSelectColor();
    std::vector<std::string> expected;
    if (now != before) expected.push_back(NotifyLine(5, NOTIFY_COLORCHANGED, now, 0));
    EXPECT_EQ(expected, host.Notifications()) << c.what;
  }
  host.ClearJournal();
  host.Click(CPoint(270, 169));
  EXPECT_TRUE(host.Notifications().empty()) << "a press that changes nothing reports nothing";

  // A shorter palette height before the rectangles follow: the values are held at their ends.
  palette->SetPalletHeight(100);
  host.Click(CPoint(270, 169));
  EXPECT_EQ(200, palette->Saturation());
  host.Click(CPoint(100, 169));
  EXPECT_EQ(200, palette->Lightness());
  EXPECT_EQ(0xFFFFFFu, palette->GetSelectColor());
}

TEST_F(PaletteMouseTest, FieldDragsAreSilentAndBarDragsReportEveryMove) {
  host.MoveTo(CPoint(40, 40));
  host.Press(CPoint(40, 40));
  host.ClearJournal();
  host.MoveTo(CPoint(120, 60));
  host.MoveTo(CPoint(200, 100));
  host.Release(CPoint(200, 100));
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ((200 - 20) * 360 / 233, palette->Hue()) << "the drag moved the colour";

  host.MoveTo(CPoint(270, 40));
  host.Press(CPoint(270, 40));
  host.ClearJournal();
  host.MoveTo(CPoint(270, 60));
  host.MoveTo(CPoint(270, 60));
  host.Release(CPoint(270, 60));
  EXPECT_EQ((60 - 20) * 200 / 150, palette->Saturation());
  EXPECT_EQ(std::vector<std::string>(2, NotifyLine(5, NOTIFY_COLORCHANGED, 0, 0)), host.Notifications());
}

TEST_F(PaletteMouseTest, WithoutAFieldOrHeightPressesAndMovesDoNothing) {
  palette->SetPalletHeight(0);
  const COLORREF before = palette->GetSelectColor();
  host.Click(CPoint(100, 60));
  host.Click(CPoint(270, 60));
  EXPECT_EQ(before, palette->GetSelectColor());
  EXPECT_TRUE(host.Notifications().empty());
}

TEST_F(PaletteMouseTest, DrawsTheFieldAndTheBar) {
  palette->SetSelectColor(0x0000FF);  // hue 0, lightness 100: the bar runs from grey to red
  // Field column 0 is hue 0: dark red at the top, light red at the bottom.
  const DWORD top = host.PixelAt(22, 24), bottom = host.PixelAt(22, 164);
  EXPECT_GT((top >> 16) & 0xFF, top & 0xFF) << std::hex << top;
  EXPECT_GT(bottom & 0xFF, top & 0xFF) << "lighter below";
  const DWORD barBottom = host.PixelAt(266, 166);
  EXPECT_GT((barBottom >> 16) & 0xFF, (barBottom & 0xFF) + 100) << std::hex << barBottom;
  const DWORD barTop = host.PixelAt(266, 23);
  EXPECT_NEAR(static_cast<int>((barTop >> 16) & 0xFF), static_cast<int>(barTop & 0xFF), 8) << "grey";
}

// ---- Spin field ----

class SpinTest : public PaletteTest {
protected:
  void SetUp() override {
    spin = host.Add<MSpinButton>(L"MSpinButton", 6, CRect(20, 20, 100, 44));
    ASSERT_NE(nullptr, spin);
    host.ClearJournal();
  }
  MSpinButton* spin = nullptr;
};

TEST_F(SpinTest, KeysTypeStepAndEraseWithinTheRange) {
  struct Case {
    const char* what;
    int start, minimum, maximum, limit;
    std::vector<UINT> keys;
    std::vector<int> values;
    int reports;
  };
  const UINT nine = '9';
  const Case cases[] = {
      {"digits append; 500 is above the maximum", 0, 1, 100, 3, {'5', '0', '0'}, {5, 50, 1}, 3},
      {"0 is below the minimum", 0, 1, 100, 3, {'0'}, {100}, 1},
      {"1007 is longer than the limit", 100, 1, 100, 3, {'7'}, {7}, 1},
      {"105 is above the maximum", 10, 1, 100, 3, {VK_NUMPAD5}, {1}, 1},
      {"Backspace of one digit", 7, 1, 100, 3, {VK_BACK}, {0}, 1},
      {"Backspace drops the last digit", 123, 1, 200, 3, {VK_BACK}, {12}, 1},
      {"Backspace of a negative value", -5, 1, 100, 3, {VK_BACK}, {0}, 1},
      {"Backspace at 0 changes nothing", 0, 1, 100, 3, {VK_BACK}, {0}, 0},
      {"up at the maximum wraps", 100, 1, 100, 3, {VK_UP, VK_ADD}, {1, 2}, 2},
      {"down at the minimum wraps", 1, 1, 100, 3, {VK_DOWN, VK_SUBTRACT}, {100, 99}, 2},
      {"arrows across and other keys", 42, 1, 100, 3, {VK_LEFT, VK_RIGHT, 'A'}, {42, 42, 42}, 0},
      {"past int's range is above the maximum",
       0, 0, 2000000000, 12,
       {nine, nine, nine, nine, nine, nine, nine, nine, nine, nine},
       {9, 99, 999, 9999, 99999, 999999, 9999999, 99999999, 999999999, 0},
       10},
  };
  spin->SetControlFocus(1);
  for (const Case& c : cases) {
    spin->SetCurValue(c.start);
    spin->SetRange(c.minimum, c.maximum);
    spin->SetLimitLength(c.limit);
    host.ClearJournal();
    std::vector<int> values;
    for (UINT key : c.keys) {
      const int handled = spin->OnControlKeyDown(key, 1, 0);
      EXPECT_EQ(key == 'A' ? 0 : 1, handled) << c.what;
      values.push_back(spin->GetCurValue());
    }
    EXPECT_EQ(c.values, values) << c.what;
    EXPECT_EQ(std::vector<std::string>(c.reports, NotifyLine(6, NOTIFY_VALUECHANGED, 0, 0)), host.Notifications())
        << c.what;
  }
}

TEST_F(SpinTest, KeysNeedTheFocusFlagAndSetCurValueNeverReports) {
  spin->SetCurValue(50);
  EXPECT_EQ(0, spin->OnControlKeyDown('5', 1, 0));
  EXPECT_EQ(0, spin->OnControlKeyDown(VK_UP, 1, 0));
  EXPECT_EQ(50, spin->GetCurValue());
  spin->SetCurValue(500);
  EXPECT_EQ(500, spin->GetCurValue()) << "no range check";
  EXPECT_TRUE(host.Notifications().empty());
}

TEST_F(SpinTest, ButtonsStepAndOnlyTheValueReachesTheOwner) {
  // The program's arrow strips are not in the tests' skin folder: the buttons get strips of
  // 18 x 12 frames and are placed again: up (78, 20, 96, 32), down (78, 32, 96, 44).
  ASSERT_TRUE(testsupport::WriteStrip(L"spintest_arrow.png", 18, 12, {0xFF101010, 0xFF202020, 0xFF303030, 0xFF404040}));
  for (UINT id : {30u, 31u}) {
    auto* button = dynamic_cast<MControlFont*>(spin->GetControl(id));
    ASSERT_NE(nullptr, button);
    button->SetImage(L"spintest_arrow.png", 4);
  }
  spin->SetControlRect(spin->GetRect());
  EXPECT_EQ(CRect(78, 20, 96, 32), spin->GetControl(30)->GetRect());
  EXPECT_EQ(CRect(78, 32, 96, 44), spin->GetControl(31)->GetRect());
  spin->SetCurValue(100);
  host.ClearJournal();
  host.Click(CPoint(87, 26));
  EXPECT_EQ(1, spin->GetCurValue()) << "up past the maximum";
  host.Click(CPoint(87, 38));
  EXPECT_EQ(100, spin->GetCurValue()) << "down past the minimum";
  EXPECT_EQ(std::vector<std::string>(2, NotifyLine(6, NOTIFY_VALUECHANGED, 0, 0)), host.Notifications());
}

TEST_F(SpinTest, FocusShowsAsABarBehindTheValue) {
  spin->SetCurValue(7);
  const DWORD plain = host.PixelAt(60, 27);
  EXPECT_NE(0x3399FFu, plain);
  spin->SetControlFocus(1);
  const DWORD bar = host.PixelAt(60, 27);  // nearly opaque over the window's background
  EXPECT_NEAR(0x33, static_cast<int>(bar >> 16), 2);
  EXPECT_EQ(0x99FFu, bar & 0xFFFF);
  spin->SetControlEnabled(0);
  EXPECT_EQ(3, spin->GetState());
  EXPECT_EQ(0, spin->SetControlFocus(0)) << "a disabled field keeps its focus flag";
}

}  // namespace
