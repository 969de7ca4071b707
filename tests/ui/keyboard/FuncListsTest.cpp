// The function lists on their shared list handling: KeyFuncType's scrolled tiles, KeyFuncValue's
// drag out, KeyMenuFuncType's rows (its place in the function menu is tested with MenuExWnd),
// driven the way a user does and composed to pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "ProgramInstance.h"
#include "TileColours.h"
#include "ui/controls/MScroll.h"
#include "ui/keyboard/KeyFuncType.h"
#include "ui/keyboard/KeyFuncValue.h"
#include "ui/keyboard/KeyMenuFuncType.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kListId = 61;
const CPoint kOrigin(10, 10);
constexpr DWORD kGround = 0x000000;

class FuncListsTest : public testing::Test {
protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  FuncListsTest() : host(420, 320) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
  }
  template <class T>
  T* Make(const wchar_t* name, CSize size) {
    T* list = host.Add<T>(name, kListId, CRect(kOrigin, size));
    if (list) list->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    return list;
  }
  static std::string Told(WPARAM w, LPARAM l) { return testsupport::NotifyLine(kListId, NOTIFY_CLICKED, w, l); }

  testsupport::DistinctTileColours colours;
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(FuncListsTest, TypeTilesWrapOnceTheNextWouldPassTheWidthLessATile) {
  auto* list = Make<KeyFuncType>(L"KeyFuncType", CSize(200, 300));
  ASSERT_NE(nullptr, list);
  for (int i = 0; i < 3; ++i) list->AddItem((L"T" + std::to_wstring(i)).c_str(), 10 + i, L"");
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  // Default 80 x 70 tiles, gaps 10: the second ends at 170, so 180 reaches 200 - 80.
  for (CPoint tile : {CPoint(0, 0), CPoint(90, 0), CPoint(0, 80)}) {
    EXPECT_EQ(0x202020u, s.Pixel(kOrigin.x + tile.x + 5, kOrigin.y + tile.y + 30)) << tile.x << "," << tile.y;
  }
  EXPECT_EQ(kGround, s.Pixel(kOrigin.x + 175, kOrigin.y + 30)) << "after the second tile";
  EXPECT_EQ(kGround, s.Pixel(kOrigin.x + 95, kOrigin.y + 110)) << "no fourth tile";

  // Hover, press and release on the second tile.
  EXPECT_EQ(std::vector<std::string>{Told(0, 1)}, host.ClickShown(kOrigin + CPoint(95, 30)));
  EXPECT_EQ(11, list->GetCurData());
  EXPECT_EQ(0xFF0000u, host.PixelAt(kOrigin.x + 90, kOrigin.y + 35)) << "the selected tile's frame";
  list->SetCurData(999);
  EXPECT_EQ(1, list->GetSelectItem()) << "no item has that data";
  EXPECT_EQ(CString(L"T2"), list->GetItemText(2));
  EXPECT_EQ(1, list->SetItemText(2, L"Renamed"));
  EXPECT_EQ(0, list->SetItemText(3, L"nobody"));
  list->SetSelectItem(50);
  EXPECT_EQ(50, list->GetSelectItem()) << "stored as given";
  EXPECT_EQ(0, list->GetCurData()) << "an index naming no item is no selection";
  list->ClearList();
  EXPECT_EQ(0, list->GetItemData(0));
  EXPECT_EQ(CString(), list->GetItemText(0));
  EXPECT_EQ(1, list->OnControlScroll(0, 1, kOrigin)) << "the wheel is always taken";
}

TEST_F(FuncListsTest, AHundredTypeTilesScrollAndAClickOnAScrolledTileSendsItsIndex) {
  auto* list = Make<KeyFuncType>(L"KeyFuncType", CSize(200, 300));
  ASSERT_NE(nullptr, list);
  for (int i = 0; i < 100; ++i) list->AddItem(L"", 100 + i, L"");
  list->SetAllItemHeight(4000);  // 50 rows of two
  list->SetRect(CRect(kOrigin, CSize(200, 300)));
  auto* bar = dynamic_cast<MScroll*>(list->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(4000, bar->GetScrollMaxRange());
  for (int notch = 0; notch < 5; ++notch) host.Wheel(kOrigin + CPoint(50, 50), -WHEEL_DELTA);
  ASSERT_EQ(500, bar->GetScrollCurrentPos());
  // Scrolled by 500 x 3700 / 4000 = 462: row 6 starts 18 px down the list.
  EXPECT_EQ(std::vector<std::string>{Told(0, 12)}, host.ClickShown(kOrigin + CPoint(5, 18 + 35)));
  EXPECT_EQ(112, list->GetCurData());
}

TEST_F(FuncListsTest, AValueTileDragsOutAsItsPictureAndTellsTheReceiverItsValue) {
  auto* list = Make<KeyFuncValue>(L"KeyFuncValue", CSize(300, 200));
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(1, list->IsDragDrop());
  int data = -1;
  CString caption = L"untouched";
  list->GetCurValue(data, caption);
  EXPECT_EQ(-1, data) << "nothing selected on an empty list";
  EXPECT_EQ(0, list->GetItemData(0));
  EXPECT_EQ(CString(), list->GetItemText(0));
  for (int i = 0; i < 3; ++i) list->AddItem((L"V" + std::to_wstring(i)).c_str(), 40 + i, L"");
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(nullptr, list->GetDropBitmap()) << "nothing hovered";
  EXPECT_EQ(0, list->OnControlScroll(0, 1, kOrigin)) << "no wheel";

  // 80 x 36 tiles 90 apart: the second at x 90.
  const std::unique_ptr<DibSurface> dropped = testsupport::DragOutAt(host, kOrigin + CPoint(90 + 40, 18));
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(84, dropped->width()) << "the tile grown by 2 on every side";
  EXPECT_EQ(40, dropped->height());
  list->GetCurValue(data, caption);
  EXPECT_EQ(41, data);
  EXPECT_EQ(CString(L"V1"), caption);
}

TEST_F(FuncListsTest, MenuRowsReportTheReleasedRowsDataAndShowAPlate) {
  auto* list = Make<KeyMenuFuncType>(L"KeyMenuFuncType", CSize(300, 280));
  ASSERT_NE(nullptr, list);
  list->SetFont(testsupport::InstalledFontFamily(), 18, Gdiplus::FontStyleBold);
  list->AddItem(L"Copy", L"Ctrl+C", 5, L"");
  list->AddItem(L"Paste", L"Ctrl+V", 6, L"");
  list->AddItem(L"Cut", L"Ctrl+X", 7, L"");
  const CPoint third = kOrigin + CPoint(150, 140 + 35), plate = kOrigin + CPoint(270, 140 + 8);
  EXPECT_EQ(kGround, host.PixelAt(plate.x, plate.y));
  EXPECT_EQ(std::vector<std::string>{Told(7, 0)}, host.ClickShown(third));
  EXPECT_EQ(2, list->GetSelectItem()) << "the press selected it";
  EXPECT_EQ(0x393B50u, host.PixelAt(plate.x, plate.y));
  EXPECT_EQ(kGround, host.PixelAt(plate.x + 27, plate.y)) << "the plate ends 5 px inside";
  EXPECT_TRUE(host.ClickShown(kOrigin + CPoint(150, 250)).empty()) << "below the rows";
}

}  // namespace
