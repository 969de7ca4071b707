// The lighting page's paged light-mode strip, made through a page panel and driven the way a
// user does (hover, presses on tabs and on the paging zones), composed to pixels.
#include "ui/keyboard/LightTypeTab.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/Manager.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kStripId = 187;
// The page's place for the strip: 370 x 30, cells 40 x 30, eight to a row.
const CRect kStrip(20, 20, 390, 50);
constexpr DWORD kGround = 0x000000;
constexpr DWORD kBar = 0x464A55;
constexpr DWORD kPlate = 0x468EF7;
constexpr DWORD kLeftArrow = 0x00FF00, kRightArrow = 0xFF0000;

class LightTypeTabTest : public testing::Test {
protected:
  LightTypeTabTest() : host(420, 80) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A strip of count items (data 100 + i, caption "Mode i", tab text "Mi") on a page panel.
  LightTypeTab* Strip(int count) {
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    if (!page) return nullptr;
    auto* strip = dynamic_cast<LightTypeTab*>(page->CreateControl(L"LightTypeTab", kStripId, kStrip, L"", 1, 1));
    if (!strip) return nullptr;
    strip->SetItemWidthAndHeight(40, 30);
    strip->SetFont(L"DejaVu Sans", 12, Gdiplus::FontStyleRegular);
    for (int i = 0; i < count; ++i) {
      strip->AddItem((L"Mode " + std::to_wstring(i)).c_str(), (L"M" + std::to_wstring(i)).c_str(), 100 + i, L"");
    }
    return strip;
  }
  // The middle of the cell in column j, in the window.
  static CPoint Cell(int j) { return CPoint(kStrip.left + 20 + j * 40 + 20, kStrip.top + 15); }
  static CPoint LeftZone() { return CPoint(kStrip.left + 10, kStrip.top + 15); }
  static CPoint RightZone() { return CPoint(kStrip.right - 10, kStrip.top + 15); }
  // The index the tab in column j stands for now, by clicking it; -1 when nothing is picked.
  int IndexAt(int j) {
    host.ClearJournal();
    host.Click(Cell(j));
    const auto events = host.Events();
    for (const auto& e : events) {
      if (e.kind == testsupport::HostEvent::Notification) {
        EXPECT_EQ(0u, e.wParam);
        return static_cast<int>(e.lParam);
      }
    }
    return -1;
  }
  void Page(CPoint zone) {
    host.Click(zone);
    host.MoveTo(CPoint(5, 70));
  }
  void Compose(DibSurface& s) { host.Compose(s); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(LightTypeTabTest, OnlyAPagePanelMakesIt) {
  EXPECT_EQ(nullptr, host.Add(L"LightTypeTab", 4, kStrip));
  EXPECT_NE(nullptr, Strip(0));
}

TEST_F(LightTypeTabTest, FewerThan23ItemsDrawNothingAndReactToNothing) {
  LightTypeTab* strip = Strip(22);
  ASSERT_NE(nullptr, strip);
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(kStrip.Width() * kStrip.Height(), s.Count(kStrip.left, kStrip.top, kStrip.right, kStrip.bottom, kGround));
  host.ClearJournal();
  host.MoveTo(Cell(1));
  host.Click(Cell(2));
  EXPECT_TRUE(host.Journal().empty()) << "no hover, no pick";
  strip->AddItem(L"Mode 22", L"M22", 122, L"");
  strip->UpdateControl(1, 0);
  Compose(s);
  EXPECT_EQ(kBar, s.Pixel(kStrip.left + 345, kStrip.top + 15)) << "the 23rd item brings the bar";
}

TEST_F(LightTypeTabTest, TheZonesPageThroughRowsThatAllLieInTheSamePlace) {
  const struct {
    int items;
    int lastRow;
    int lastRowItems;
  } cases[] = {{24, 2, 8}, {25, 3, 1}, {23, 2, 7}};
  for (const auto& c : cases) {
    LightTypeTab* strip = Strip(c.items);
    ASSERT_NE(nullptr, strip);
    const std::string name = std::to_string(c.items) + " items";
    EXPECT_EQ(c.items, strip->GetLightCount()) << name;
    DibSurface s(host.width(), host.height());
    Compose(s);
    EXPECT_EQ(0, IndexAt(0)) << name;
    Page(LeftZone());
    EXPECT_EQ(0, IndexAt(0)) << name << ": the left zone stays on row 0";
    for (int row = 1; row <= c.lastRow; ++row) {
      Page(RightZone());
      EXPECT_EQ(row * 8, IndexAt(0)) << name << ", row " << row << ": the first cell is (20, 0, 60, 30)";
    }
    Page(RightZone());
    EXPECT_EQ(c.lastRow * 8, IndexAt(0)) << name << ": the right zone stays on the last row";
    EXPECT_EQ(c.lastRow * 8 + c.lastRowItems - 1, IndexAt(c.lastRowItems - 1)) << name;
    EXPECT_EQ(-1, IndexAt(c.lastRowItems)) << name << ": the last row ends with the list";
    host.GetPaintManager()->ClearControls();
  }

  // SetCurData shows the row of its item.
  LightTypeTab* strip = Strip(24);
  ASSERT_NE(nullptr, strip);
  strip->SetCurData(117);
  EXPECT_EQ(17, strip->GetSelectItem());
  EXPECT_EQ(117, strip->GetCurData());
  EXPECT_EQ(CString(L"Mode 17"), strip->GetCurItemText());
  strip->SetCurData(999);
  EXPECT_EQ(17, strip->GetSelectItem()) << "no item of that data: nothing changes";
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(kPlate, s.Pixel(kStrip.left + 20 + 40 + 2, kStrip.top + 14)) << "item 17 in the second cell";
  EXPECT_EQ(16, IndexAt(0)) << "row 2";
}

TEST_F(LightTypeTabTest, TheBarThePlateAndTheArrowsAndAPickThroughPressAndRelease) {
  ASSERT_TRUE(testsupport::WriteStrip(L"ltt_left.png", 20, 20, {0xFF00FF00}));
  ASSERT_TRUE(testsupport::WriteStrip(L"ltt_right.png", 10, 20, {0xFFFF0000, 0xFF0000FF}));
  LightTypeTab* strip = Strip(24);
  ASSERT_NE(nullptr, strip);
  strip->SetIconFile(L"ltt_left.png", L"ltt_right.png", 1, 2);
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(kBar, s.Pixel(kStrip.left + 345, kStrip.top + 15));
  EXPECT_EQ(kPlate, s.Pixel(kStrip.left + 22, kStrip.top + 14)) << "the first item counts as selected";
  EXPECT_EQ(kBar, s.Pixel(kStrip.left + 62, kStrip.top + 14));
  // Arrow pictures: first frames, at x 0 and width - 20, vertically centred (rows 5 to 24).
  EXPECT_EQ(kLeftArrow, s.Pixel(kStrip.left + 10, kStrip.top + 5));
  EXPECT_EQ(kLeftArrow, s.Pixel(kStrip.left + 10, kStrip.top + 24));
  EXPECT_NE(kLeftArrow, s.Pixel(kStrip.left + 10, kStrip.top + 25));
  EXPECT_EQ(kRightArrow, s.Pixel(kStrip.right - 20, kStrip.top + 15));
  EXPECT_EQ(kRightArrow, s.Pixel(kStrip.right - 11, kStrip.top + 15));
  EXPECT_NE(kRightArrow, s.Pixel(kStrip.right - 10, kStrip.top + 15)) << "one frame of 10 px";

  // The press selects, the release tells the owner.
  host.MoveTo(Cell(3));
  host.ClearJournal();
  host.Press(Cell(3));
  EXPECT_EQ(3, strip->GetSelectItem());
  EXPECT_TRUE(host.Notifications().empty());
  host.Release(Cell(3));
  EXPECT_EQ(std::vector<std::string>{"187 notify 2 (0, 3)"}, host.Notifications());
  Compose(s);
  EXPECT_EQ(kPlate, s.Pixel(kStrip.left + 20 + 3 * 40 + 2, kStrip.top + 14));
  EXPECT_EQ(kBar, s.Pixel(kStrip.left + 22, kStrip.top + 14));
  EXPECT_EQ(103, strip->GetCurData());
}

TEST_F(LightTypeTabTest, IndexesAndRowsNamingNoItemShowAndHitNothing) {
  LightTypeTab* strip = Strip(24);
  ASSERT_NE(nullptr, strip);
  strip->SetSelectItem(50);
  EXPECT_EQ(50, strip->GetSelectItem()) << "kept as given";
  EXPECT_EQ(0, strip->GetCurData());
  EXPECT_EQ(CString(), strip->GetCurItemText());
  EXPECT_EQ(0, strip->GetItemData(24));
  EXPECT_EQ(CString(), strip->GetItemText(-1));
  EXPECT_EQ(0, strip->SetItemText(24, L"x"));
  EXPECT_EQ(1, strip->SetItemText(2, L"Renamed"));
  EXPECT_EQ(CString(L"Renamed"), strip->GetItemText(2));
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(0, s.Count(kStrip.left, kStrip.top, kStrip.right, kStrip.bottom, kPlate)) << "no plate";

  for (int row : {10, -1}) {
    strip->SetCurRow(row);
    strip->UpdateControl(1, 0);
    Compose(s);
    const RECT ink = s.InkBox(CRect(kStrip.left + 20, kStrip.top, kStrip.left + 340, kStrip.bottom),
                              [](DWORD p) { return (p & 0xFF) > 0xA0; });
    EXPECT_EQ(ink.left, ink.right) << "row " << row << ": no tab drawn";
    EXPECT_EQ(-1, IndexAt(0)) << "row " << row << ": no tab hit";
  }
  Page(LeftZone());
  Page(LeftZone());
  EXPECT_EQ(0, IndexAt(0)) << "a row below 0 pages back to 0";

  // No columns count as one: every item is a row of its own.
  strip->SetColumn(0);
  strip->SetCurData(105);
  strip->UpdateControl(1, 0);
  Compose(s);
  EXPECT_EQ(5, IndexAt(0));
  EXPECT_EQ(-1, IndexAt(1));

  // Emptied: nothing selected, nothing shown; missing arrow files leave the arrows out, and
  // the zones page all the same.
  strip->ClearList();
  EXPECT_EQ(0, strip->GetCurData());
  EXPECT_EQ(CString(), strip->GetCurItemText());
  strip->SetColumn(8);
  strip->SetIconFile(L"no_such_left.png", L"no_such_right.png", 1, 1);
  for (int i = 0; i < 24; ++i) strip->AddItem(L"Mode", (L"N" + std::to_wstring(i)).c_str(), i, L"no_such_item.png");
  strip->UpdateControl(1, 0);
  Compose(s);
  EXPECT_EQ(kBar, s.Pixel(kStrip.left + 10, kStrip.top + 15)) << "no left arrow";
  Page(RightZone());
  EXPECT_EQ(8, IndexAt(0));
}

}  // namespace
