// The categorised key picker: its built-in categories laid out by the paint, header clicks,
// tile picks, tooltips, the wheel and a drag out, driven the way a user does.
#include "ui/keyboard/KeyFuncCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "ProgramInstance.h"
#include "TileColours.h"
#include "WindowSearch.h"
#include "ui/controls/MScroll.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kPickerId = 52;
const CPoint kOrigin(0, 0);
constexpr DWORD kGround = 0x000000;

class KeyFuncCtrlTest : public testing::Test {
protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  KeyFuncCtrlTest() : host(1200, 640) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
  }
  // The picker, 600 x height, filled with the built-in categories and painted once.
  KeyFuncCtrl* Picker(int height = 600, int width = 600) {
    auto* picker = host.Add<KeyFuncCtrl>(L"KeyFuncCtrl", kPickerId, CRect(kOrigin, CSize(width, height)));
    if (!picker) return nullptr;
    picker->SetFont(testsupport::InstalledFontFamily(), 12, Gdiplus::FontStyleRegular);
    picker->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    picker->InitItemInfo();
    host.PixelAt(0, 0);
    return picker;
  }
  // Tile (column, row) of the open category whose header starts at headerTop.
  static CPoint Tile(int column, int row, int headerTop = 0) {
    return CPoint(kOrigin.x + 10 + 60 * column + 25, kOrigin.y + headerTop + 40 + 60 * row + 25);
  }

  testsupport::DistinctTileColours colours;
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyFuncCtrlTest, TheFirstCategoryLaysOutNineTilesARowAndAHeaderClickOpensTheSecond) {
  KeyFuncCtrl* picker = Picker();
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(360, picker->GetCategoryHeight(0)) << "47 tiles, 9 a row";
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (int column = 0; column < 9; ++column) {
    EXPECT_EQ(0x202020u, s.Pixel(Tile(column, 0).x - 20, Tile(column, 0).y + 20)) << "column " << column;
  }
  EXPECT_EQ(kGround, s.Pixel(Tile(9, 0).x - 20, Tile(9, 0).y + 20)) << "no tenth";

  // The second header sits below the first category: 40 + 360.
  EXPECT_TRUE(host.ClickShown(CPoint(300, 400 + 15)).empty()) << "a header click tells nobody";
  EXPECT_EQ(730, picker->GetContentHeight()) << "from the stored heights";
  EXPECT_EQ(1, picker->GetScrollVertical()->IsVisible());
  host.PixelAt(0, 0);
  EXPECT_EQ(420, picker->GetCategoryHeight(1)) << "57 tiles, laid out by the paint";

  // The wheel scrolls the 900 px of content; closed, the three headers fit.
  host.Wheel(CPoint(300, 200), -WHEEL_DELTA);
  EXPECT_EQ(100, static_cast<MScroll*>(picker->GetScrollVertical())->GetScrollCurrentPos());
  picker->ResetKeyState();
  EXPECT_EQ(120, picker->GetContentHeight());
  EXPECT_EQ(0, picker->GetScrollVertical()->IsVisible());
  EXPECT_EQ(0, picker->OnControlScroll(0, 1, CPoint(300, 200))) << "the wheel is left to others";
}

// In 1185 px (W 1180) nineteen tiles make a row: the 57 extended keys fill three rows exactly,
// and the row that ends after the last tile still counts.
TEST_F(KeyFuncCtrlTest, AnExactlyFullLastRowAddsAnEmptyRow) {
  KeyFuncCtrl* picker = Picker(600, 1185);
  ASSERT_NE(nullptr, picker);
  picker->ResetKeyState();
  host.ClickShown(CPoint(300, 40 + 15));
  host.PixelAt(0, 0);
  EXPECT_EQ(60 + 3 * 60, picker->GetCategoryHeight(1));
}

TEST_F(KeyFuncCtrlTest, APickedTileSendsItsValueAndStaysOutlined) {
  KeyFuncCtrl* picker = Picker();
  ASSERT_NE(nullptr, picker);
  picker->ResetKeyState();
  host.PixelAt(0, 0);
  EXPECT_TRUE(host.ClickShown(CPoint(300, 40 + 15)).empty());  // the second header: category 1 opens
  host.PixelAt(0, 0);
  const CPoint esc = Tile(0, 0, 40);
  EXPECT_EQ(std::vector<std::string>{testsupport::NotifyLine(kPickerId, NOTIFY_CLICKED, 0, 0x29)}, host.ClickShown(esc));
  EXPECT_EQ(0x29, picker->GetSelectValue());
  int value = 0;
  CString label;
  host.MoveTo(Tile(1, 0, 40));
  host.PixelAt(0, 0);
  picker->GetCurValue(value, label);
  EXPECT_EQ(0x2B, value) << "the hovered entry, not the picked one";
  EXPECT_EQ(CString(L"Tab"), label);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  bool outlined = false;
  for (int x = esc.x - 26; x <= esc.x - 24; ++x) outlined = outlined || s.Pixel(x, esc.y) == 0xFF0000;
  EXPECT_TRUE(outlined) << "the picked tile keeps the down colour";

  EXPECT_EQ(1, picker->SetItemText(1, L"Extended"));
  EXPECT_EQ(0, picker->SetItemText(3, L"none"));
}

TEST_F(KeyFuncCtrlTest, IconTilesShowTheirLabelAsATooltip) {
  KeyFuncCtrl* picker = Picker();
  ASSERT_NE(nullptr, picker);
  picker->ResetKeyState();
  host.PixelAt(0, 0);
  host.ClickShown(CPoint(300, 80 + 15));  // the third header
  host.PixelAt(0, 0);
  // "Volume Mute" is entry 10 of the third category: column 1 of its second row.
  const CPoint mute = Tile(1, 1, 80);
  host.MoveTo(mute);
  host.MoveTo(mute + CPoint(1, 0));  // the second move over the hovered tile sets its tip
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  int value = 0;
  CString label;
  picker->GetCurValue(value, label);
  EXPECT_EQ(510, value);
  EXPECT_EQ(static_cast<int>(kPickerId), host.GetPaintManager()->GetTooltipCtrlID());
  HWND tip = testsupport::FindOwnedWindow(host.GetSafeHwnd(), L"tooltips_class32");
  ASSERT_NE(nullptr, tip);
  wchar_t text[80] = {};
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = host.GetSafeHwnd();
  info.uId = 0x521;
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(L"Volume Mute", text);

  picker->SetItemDesc(517, L"Search");
  host.MoveTo(Tile(8, 1, 80));  // "Web Search"
  host.MoveTo(Tile(8, 1, 80) + CPoint(1, 0));
  picker->GetCurValue(value, label);
  EXPECT_EQ(CString(L"Search"), label);

  // A tile without an icon has no tip.
  host.Leave();
  host.MoveTo(CPoint(610, 10));
  EXPECT_EQ(0, host.GetPaintManager()->GetTooltipCtrlID());
  picker->ResetKeyState();
  host.PixelAt(0, 0);
  host.ClickShown(CPoint(300, 15));  // category 0 again
  host.PixelAt(0, 0);
  host.MoveTo(Tile(0, 0));
  host.MoveTo(Tile(0, 0) + CPoint(1, 0));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  picker->GetCurValue(value, label);
  EXPECT_EQ(CString(L"A"), label);
  EXPECT_EQ(0, host.GetPaintManager()->GetTooltipCtrlID());
}

TEST_F(KeyFuncCtrlTest, WithDraggingOnTheHoveredTileDragsOut) {
  KeyFuncCtrl* picker = Picker();
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(0, picker->IsDragDrop());
  picker->SetDragDrop(1);
  const std::unique_ptr<DibSurface> dropped = testsupport::DragOutAt(host, Tile(2, 0));
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(53, dropped->width());
  EXPECT_EQ(53, dropped->height());
  int value = 0;
  CString label;
  picker->GetCurValue(value, label);
  EXPECT_EQ(0x06, value) << "C, the receiver's answer";
}

TEST_F(KeyFuncCtrlTest, BadInputStaysSafe) {
  // A content exactly as high as the control: the position is 0.
  KeyFuncCtrl* picker = Picker(120);
  ASSERT_NE(nullptr, picker);
  EXPECT_EQ(0, picker->SetImage(L"no_such_strip.png", 3)) << "headers without their picture";
  picker->ResetKeyState();
  host.ClickShown(CPoint(300, 15));
  host.ClickShown(CPoint(300, 15));  // open and closed again: 120 in a 120-px control
  EXPECT_EQ(120, picker->GetContentHeight());
  EXPECT_EQ(0, picker->GetScrollVertical()->IsVisible());
  host.PixelAt(0, 0);

  // Cleared with a hovered tile: the pair names nothing.
  host.ClickShown(CPoint(300, 15));
  host.PixelAt(0, 0);
  host.MoveTo(Tile(0, 0));
  picker->ClearItems();
  int value = 7;
  CString label = L"x";
  picker->GetCurValue(value, label);
  EXPECT_EQ(0, value);
  EXPECT_EQ(CString(), label);
  EXPECT_EQ(nullptr, picker->GetDropBitmap());
  host.PixelAt(0, 0);
  picker->SetItemDesc(517, L"none");
  EXPECT_EQ(0, picker->SetItemText(0, L"none"));
}

}  // namespace
