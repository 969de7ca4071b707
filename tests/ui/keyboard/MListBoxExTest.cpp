// The lighting page's tile list: its flow, its scrolling by bar, thumb and wheel, and picks
// made the way a user does, composed to pixels.
#include "ui/keyboard/MListBoxEx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MScroll.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kListId = 133;
const CPoint kOrigin(10, 10);
constexpr DWORD kGround = 0x000000;
constexpr DWORD kTile = 0x687489, kSelected = 0x596EFF, kHovered = 0x9FABFF;

class MListBoxExTest : public testing::Test {
protected:
  MListBoxExTest() : host(440, 300) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A list of count tiles (data 100 + i) 400 wide and height high with that content height,
  // straight in the window's list, so that its repaint requests reach the journal.
  MListBoxEx* List(int count, int height, int content) {
    auto* list = new MListBoxEx(&host, kListId, CRect(), 1, 1);
    host.Adopt(list);
    list->SetFont(L"DejaVu Sans", 14, Gdiplus::FontStyleRegular);
    for (int i = 0; i < count; ++i) list->AddItem((L"Mode " + std::to_wstring(i)).c_str(), 100 + i, L"");
    list->SetAllItemHeight(content);
    list->SetRect(CRect(kOrigin, CSize(400, height)));
    return list;
  }
  // The tile at (x, y) of the content, in the window, scrolled by offset.
  static CRect Tile(int x, int y, int offset = 0) {
    return CRect(kOrigin.x + x, kOrigin.y + y - offset, kOrigin.x + x + 150, kOrigin.y + y - offset + 40);
  }
  // A spot inside the tile away from its caption and its rounded corners.
  static CPoint Face(const CRect& tile) { return CPoint(tile.left + 6, tile.top + 20); }
  DWORD FaceOf(const CRect& tile) { return host.PixelAt(Face(tile).x, Face(tile).y); }
  std::vector<std::string> PickAt(CPoint pt) {
    host.ClearJournal();
    host.Click(pt);
    return host.Notifications();
  }
  static std::string Picked(int index) { return "133 notify 2 (0, " + std::to_string(index) + ")"; }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(MListBoxExTest, OnlyAPagePanelMakesIt) {
  EXPECT_EQ(nullptr, host.Add(L"MListBoxEx", 4, CRect(0, 0, 100, 100)));
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
  ASSERT_NE(nullptr, page);
  EXPECT_NE(nullptr, dynamic_cast<MListBoxEx*>(page->CreateControl(L"MListBoxEx", 5, CRect(0, 0, 400, 250), L"", 1, 1)));
}

TEST_F(MListBoxExTest, TilesFlowTwoToARowOf400AndAPressSelectsAndTheReleaseTells) {
  MListBoxEx* list = List(5, 250, 200);
  EXPECT_EQ(0, list->GetScrollVertical()->IsVisible()) << "200 px of content fit";
  EXPECT_EQ(5, list->GetLightCount());
  // x 350 reaches 400 - 150: the third tile starts the next row, 40 + 13 lower.
  const struct {
    int index, x, y;
  } places[] = {{0, 0, 0}, {1, 175, 0}, {2, 0, 53}, {3, 175, 53}, {4, 0, 106}};
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  for (const auto& p : places) EXPECT_EQ(kTile, s.Pixel(Face(Tile(p.x, p.y)).x, Face(Tile(p.x, p.y)).y)) << p.index;
  EXPECT_EQ(kGround, s.Pixel(Tile(0, 0).right + 10, Tile(0, 0).top + 20)) << "the window shows in the gaps";
  EXPECT_EQ(kGround, s.Pixel(Tile(0, 0).left + 20, Tile(0, 0).bottom + 6));

  host.MoveTo(Face(Tile(175, 0)));
  EXPECT_EQ(kHovered, FaceOf(Tile(175, 0)));
  host.ClearJournal();
  host.Press(Face(Tile(175, 0)));
  EXPECT_EQ(1, list->GetSelectItem()) << "the press selects";
  EXPECT_TRUE(host.Notifications().empty());
  host.Release(Face(Tile(175, 0)));
  EXPECT_EQ(std::vector<std::string>{Picked(1)}, host.Notifications());
  EXPECT_EQ(101, list->GetCurData());
  EXPECT_EQ(kSelected, FaceOf(Tile(175, 0)));
  EXPECT_EQ(std::vector<std::string>{Picked(1)}, PickAt(Face(Tile(175, 0)))) << "told again";
  EXPECT_TRUE(PickAt(CPoint(Tile(0, 0).right + 10, Tile(0, 0).top + 20)).empty()) << "a gap picks nothing";
  host.MoveTo(CPoint(435, 295));
  EXPECT_EQ(kTile, FaceOf(Tile(0, 53)));

  // A value no tile has keeps the selection and still asks for a repaint.
  host.ClearJournal();
  list->SetCurData(999);
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kListId));
  EXPECT_EQ(101, list->GetCurData());
  list->SetCurData(103);
  EXPECT_EQ(3, list->GetSelectItem());
  EXPECT_EQ(CString(L"Mode 3"), list->GetItemText(3));
  EXPECT_EQ(1, list->SetItemText(3, L"Renamed"));
  EXPECT_EQ(0, list->SetItemText(5, L"nobody"));
  EXPECT_EQ(104, list->GetItemData(4));
  EXPECT_EQ(0, list->GetItemData(5));
  list->ClearList();
  EXPECT_EQ(0, list->GetCurData());
  EXPECT_EQ(0, list->GetLightCount());
}

TEST_F(MListBoxExTest, AContentTallerThanTheListScrollsByBarThumbAndWheel) {
  MListBoxEx* list = List(24, 250, 658);
  auto* bar = dynamic_cast<MScroll*>(list->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(658, bar->GetScrollMaxRange());

  // At half the range the tiles are drawn (658 - 250) / 2 = 204 px higher.
  bar->SetScrollCurrentPos(329);
  list->UpdateControl(1, 0);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const CRect eighth = Tile(0, 4 * 53, 204);  // row 4, now 8 px below the list's top
  EXPECT_EQ(kTile, s.Pixel(Face(eighth).x, Face(eighth).y));
  EXPECT_EQ(kGround, s.Pixel(Face(eighth).x, eighth.top - 6)) << "the gap above it";
  EXPECT_EQ(std::vector<std::string>{Picked(8)}, PickAt(Face(eighth)));

  // The wheel moves the content down by ten of the bar's steps a notch.
  const int before = bar->GetScrollCurrentPos();
  host.Wheel(CPoint(100, 100), -WHEEL_DELTA);
  EXPECT_GT(bar->GetScrollCurrentPos(), before);
  host.PumpPosted();
  host.Compose(s);
  const int offset = bar->GetScrollCurrentPos() * (658 - 250) / 658;
  int row = 0;
  while (row * 53 - offset < 0) ++row;  // the first row whose tiles start in view
  const CRect first = Tile(175, row * 53, offset);
  ASSERT_GE(first.top, kOrigin.y);
  EXPECT_EQ(std::vector<std::string>{Picked(row * 2 + 1)}, PickAt(Face(first))) << "offset " << offset;

  // The thumb dragged to the top brings the first tiles back.
  const CPoint thumb = bar->GetThumbRect().CenterPoint();
  host.MoveTo(thumb);
  host.Press(thumb);
  host.MoveTo(thumb - CPoint(0, 300));
  host.Release(thumb - CPoint(0, 300));
  host.PumpPosted();
  EXPECT_EQ(0, bar->GetScrollCurrentPos());
  host.Compose(s);
  EXPECT_EQ(std::vector<std::string>{Picked(0)}, PickAt(Face(Tile(0, 0))));
}

TEST_F(MListBoxExTest, NoContentHeightAndIndexesNamingNoTileDrawAndHitNothingWrong) {
  MListBoxEx* list = List(4, 250, 0);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(400 * 250, s.Count(kOrigin.x, kOrigin.y, kOrigin.x + 400, kOrigin.y + 250, kGround))
      << "nothing drawn without a content height";
  list->SetAllItemHeight(150);
  list->SetSelectItem(50);
  EXPECT_EQ(50, list->GetSelectItem()) << "kept as given";
  EXPECT_EQ(0, list->GetCurData());
  host.Compose(s);
  EXPECT_EQ(kTile, s.Pixel(Face(Tile(0, 0)).x, Face(Tile(0, 0)).y));
  EXPECT_EQ(0, s.Count(0, 0, host.width(), host.height(), kSelected)) << "no tile drawn selected";
  // A list shorter than its tiles: the surface is the list's height, the lower tiles are cut.
  list->SetAllItemHeight(20);
  host.Compose(s);
  EXPECT_EQ(kTile, s.Pixel(Face(Tile(0, 53)).x, Face(Tile(0, 53)).y));
  list->SetEnabled(0);
  EXPECT_TRUE(PickAt(Face(Tile(0, 0))).empty()) << "disabled";
}

}  // namespace
