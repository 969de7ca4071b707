// The advanced-key row list: its action zones, the rows in view as the bar moves, the texts of
// its types and a drag out, driven the way a user does and composed to pixels.
#include "ui/keyboard/KeyDKSList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "DropWindow.h"
#include "ProgramInstance.h"
#include "ui/controls/MScroll.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kListId = 54;
const CPoint kOrigin(10, 10);
constexpr DWORD kGround = 0x000000;
constexpr DWORD kPlainFrame = 0x1F2C37, kHighlightFrame = 0x19F0EA;
constexpr DWORD kLeftAction = 0x00FF00, kRightAction = 0xFF0000;
constexpr wchar_t kStripFile[] = L"kc5_dkslist_actions.png";

class KeyDKSListTest : public testing::Test {
protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  KeyDKSListTest() : host(440, 320) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    ASSERT_TRUE(testsupport::WriteStrip(kStripFile, 20, 20, {0xFF000000 | kLeftAction, 0xFF000000 | kRightAction}));
  }
  // A list of that type, 400 px wide (less the bar while it shows) and height high.
  KeyDKSList* List(int type, int rows, int height) {
    auto* list = host.Add<KeyDKSList>(L"KeyDKSList", kListId, CRect(kOrigin, CSize(400, height)));
    if (!list) return nullptr;
    list->SetCtrlType(type);
    list->SetEditDelIconFile(kStripFile);
    list->SetFont(testsupport::InstalledFontFamily(), 12, Gdiplus::FontStyleRegular);
    for (int i = 0; i < rows; ++i) list->AddItem((L"R" + std::to_wstring(i)).c_str(), L"A", L"B", L"C", 500 + i);
    list->SetRect(CRect(kOrigin, CSize(400, height)));
    return list;
  }
  static std::string Told(UINT code) { return testsupport::NotifyLine(kListId, code, 0, 0); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyDKSListTest, ReleasesOnTheActionZonesAndElsewhereOnARow) {
  KeyDKSList* list = List(0, 3, 300);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(0, list->GetScrollVertical()->IsVisible());
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  // W 400, H 55, frames 20 x 20: right zone (360, 17)-(380, 37), left (305, 17)-(325, 37).
  const int rowTop = kOrigin.y + 55;  // the second row
  EXPECT_EQ(kRightAction, s.Pixel(kOrigin.x + 361, rowTop + 18));
  EXPECT_EQ(kRightAction, s.Pixel(kOrigin.x + 379, rowTop + 36));
  EXPECT_EQ(kLeftAction, s.Pixel(kOrigin.x + 306, rowTop + 18));
  EXPECT_EQ(kLeftAction, s.Pixel(kOrigin.x + 324, rowTop + 36));
  EXPECT_EQ(kGround, s.Pixel(kOrigin.x + 382, rowTop + 27));

  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_ITEMICON)}, host.ClickShown(CPoint(kOrigin.x + 370, rowTop + 27)));
  EXPECT_EQ(1, list->GetSelectItem());
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_ITEMICON2)}, host.ClickShown(CPoint(kOrigin.x + 315, rowTop + 27 - 55)));
  EXPECT_EQ(500, list->GetMacroValue());
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_CLICKED)}, host.ClickShown(CPoint(kOrigin.x + 150, kOrigin.y + 110 + 27)));
  EXPECT_EQ(2, list->GetSelectItem());
  list->DeleteItem(99);
  EXPECT_EQ(2, list->GetSelectItem());
  list->DeleteItem(2);
  EXPECT_EQ(0, list->GetMacroValue());
  list->DeleteAllItems();
  EXPECT_EQ(0, list->GetScrollVertical()->IsVisible());
  host.Compose(s);  // an empty list paints
  EXPECT_TRUE(host.ClickShown(CPoint(kOrigin.x + 150, kOrigin.y + 27)).empty());
}

// Rows of types 1 and 3 are 5 px apart: the range and the rows in view follow that pitch, so the
// last of 200 rows comes whole into view.
TEST_F(KeyDKSListTest, TwoHundredRowsScrollToTheLastWhichIsWholeAndTakesAClick) {
  KeyDKSList* list = List(1, 200, 300);
  ASSERT_NE(nullptr, list);
  auto* bar = dynamic_cast<MScroll*>(list->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(200 * 60, bar->GetScrollMaxRange());
  for (int notch = 0; notch < 200 && bar->GetScrollCurrentPos() < bar->GetScrollMaxRange(); ++notch) {
    host.Wheel(kOrigin + CPoint(100, 100), -WHEEL_DELTA);
  }
  ASSERT_EQ(12000, bar->GetScrollCurrentPos());
  // Offset 11700: rows 195 to 199 from the top, the last at y 240, its frame 50 high.
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const int lastTop = kOrigin.y + 240;
  bool top = false, bottom = false;
  for (int y = lastTop - 1; y <= lastTop + 1; ++y) top = top || s.Pixel(kOrigin.x + 100, y) == kPlainFrame;
  for (int y = lastTop + 49; y <= lastTop + 51; ++y) bottom = bottom || s.Pixel(kOrigin.x + 100, y) == kPlainFrame;
  EXPECT_TRUE(top && bottom) << "the last row's frame, top and bottom";
  EXPECT_EQ(std::vector<std::string>{Told(NOTIFY_CLICKED)}, host.ClickShown(CPoint(kOrigin.x + 150, lastTop + 25)));
  EXPECT_EQ(199, list->GetSelectItem());
  EXPECT_EQ(699, list->GetMacroValue());
  host.Compose(s);
  bool highlighted = false;
  for (int y = lastTop - 1; y <= lastTop + 1; ++y) highlighted = highlighted || s.Pixel(kOrigin.x + 100, y) == kHighlightFrame;
  EXPECT_TRUE(highlighted);
}

TEST_F(KeyDKSListTest, MacroTextsFollowTheListsType) {
  const struct {
    int type;
    const wchar_t *key1, *key2, *text;
  } cases[] = {
      {1, L"B", L"", L"A+B+C"},  // key3 is "C"; an empty key2 is left out
      {3, L"B", L"X", L"A+B"},
      {3, L"", L"X", L"A+"},
      {5, L"B", L"X", L"A"},
      {0, L"B", L"X", L"untouched"},
  };
  for (const auto& c : cases) {
    auto* list = host.Add<KeyDKSList>(L"KeyDKSList", kListId + 1, CRect(kOrigin, CSize(400, 200)));
    ASSERT_NE(nullptr, list);
    list->SetCtrlType(c.type);
    list->AddItem(L"A", c.key1, c.key2, L"C", 9);
    int value = 0;
    CString text = L"untouched";
    list->GetMacroValue(value, text);
    EXPECT_EQ(0, value) << "nothing selected yet";
    host.ClickShown(CPoint(kOrigin.x + 150, kOrigin.y + 25));
    list->GetMacroValue(value, text);
    EXPECT_EQ(9, value);
    EXPECT_EQ(CString(c.text), text) << "type " << c.type;
    host.GetPaintManager()->RemoveControl(list);
  }
}

TEST_F(KeyDKSListTest, WithItsDragFlagOnARowDragsOut) {
  KeyDKSList* list = List(0, 3, 300);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(0, list->IsDragDrop());
  list->SetDragDrop(1);
  host.PixelAt(0, 0);  // the paint places the rows
  const std::unique_ptr<DibSurface> dropped = testsupport::DragOutAt(host, CPoint(kOrigin.x + 150, kOrigin.y + 55 + 25));
  ASSERT_NE(nullptr, dropped);
  EXPECT_EQ(55 + 3, dropped->height()) << "the row grown by 1 above and 2 below";
}

}  // namespace
