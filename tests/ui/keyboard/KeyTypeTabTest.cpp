// The key page's function group tabs driven through a window the way a user does (hover,
// clicks), composed to pixels, in both orientations and with a type that draws nothing.
#include "ui/keyboard/KeyTypeTab.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kTabsId = 92;
const CPoint kOrigin(10, 10);  // the strip's top-left corner in the window
constexpr DWORD kGround = 0x000000;
constexpr DWORD kCurrent = 0x468EF7;  // row: underline and text of the current tab
constexpr DWORD kPlate = 0xE8E8E8;    // column: the current tab's plate

class KeyTypeTabTest : public testing::Test {
protected:
  KeyTypeTabTest() : host(1000, 400) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // Seven tabs as the key page makes them, made by the engine's factory.
  KeyTypeTab* Strip(KEY_TYPE_TAB_TYPE type, int cellWidth, int cellHeight, CSize size) {
    auto* tabs = host.Add<KeyTypeTab>(L"KeyTypeTab", kTabsId, CRect(kOrigin, size));
    if (!tabs) return nullptr;
    Fill(tabs, type, cellWidth, cellHeight);
    return tabs;
  }
  static void Fill(KeyTypeTab* tabs, KEY_TYPE_TAB_TYPE type, int cellWidth, int cellHeight) {
    tabs->SetKeyTypeTabType(type);
    tabs->SetItemWidthAndHeight(cellWidth, cellHeight);
    tabs->SetFont(L"DejaVu Sans", 14, Gdiplus::FontStyleBold);
    tabs->SetTextColor(Gdiplus::Color(0xFF202020));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(i, tabs->AddKeyType((L"Group" + std::to_wstring(i)).c_str(), i));
  }
  // Tab index's cell of a row of 100 x 30 cells, in the window.
  static CRect RowCell(int index) {
    CRect cell(index * 130, 0, index * 130 + 100, 30);
    cell.OffsetRect(kOrigin);
    return cell;
  }
  // Underline pixels of the row's tab index (the bar runs over rows 28 and 29 of the cells).
  int Underline(const DibSurface& s, int index) {
    const CRect cell = RowCell(index);
    return s.Count(cell.left, cell.top + 28, cell.right, cell.top + 30, kCurrent);
  }
  void Compose(DibSurface& s) { host.Compose(s); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyTypeTabTest, ARowUnderlinesTheSelectedAndTheHoveredTabAndAReleasePicksATab) {
  KeyTypeTab* tabs = Strip(KEY_TYPE_TAB_HORIZONTAL, 100, 30, CSize(900, 40));
  ASSERT_NE(nullptr, tabs);
  EXPECT_EQ(0, tabs->GetSelectItem()) << "the first tab counts as selected";
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(60 * 2, Underline(s, 0)) << "the first tab is drawn selected";
  for (int i = 1; i < 7; ++i) EXPECT_EQ(0, Underline(s, i)) << i;
  // The third tab occupies (260, 0, 360, 30); its bar starts at x 280, 60 wide, at y 28.
  host.MoveTo(RowCell(2).CenterPoint());
  Compose(s);
  const CPoint bar(kOrigin.x + 280, kOrigin.y + 28);
  EXPECT_EQ(kCurrent, s.Pixel(bar.x, bar.y));
  EXPECT_EQ(kCurrent, s.Pixel(bar.x + 59, bar.y + 1));
  EXPECT_NE(kCurrent, s.Pixel(bar.x - 1, bar.y));
  EXPECT_NE(kCurrent, s.Pixel(bar.x + 60, bar.y));
  EXPECT_NE(kCurrent, s.Pixel(bar.x, bar.y - 1));
  EXPECT_EQ(60 * 2, Underline(s, 0)) << "the selected tab keeps its bar while another is hovered";
  EXPECT_GT(s.Count(kOrigin.x + 260, kOrigin.y, kOrigin.x + 360, kOrigin.y + 27, kCurrent), 0)
      << "the hovered tab's name in the current colour";

  // Hover changes ask for one repaint each; a move within a tab for none.
  const struct {
    const char* name;
    CPoint pt;
    size_t repaints;
  } moves[] = {
      {"within the third tab", RowCell(2).CenterPoint() + CPoint(20, 5), 0},
      {"onto the gap after it", CPoint(RowCell(2).right + 10, RowCell(2).CenterPoint().y), 1},
      {"within the gap", CPoint(RowCell(2).right + 12, RowCell(2).CenterPoint().y), 0},
      {"onto the fourth tab", RowCell(3).CenterPoint(), 1},
      {"off the strip", CPoint(990, 390), 1},
  };
  for (const auto& m : moves) {
    host.ClearJournal();
    host.MoveTo(m.pt);
    EXPECT_EQ(m.repaints, host.Repaints(kTabsId).size()) << m.name;
  }

  host.ClearJournal();
  host.Click(RowCell(2).CenterPoint());
  EXPECT_EQ(std::vector<std::string>{"92 notify 2 (2, 0)"}, host.Notifications());
  EXPECT_EQ(2, tabs->GetSelectItem());
  host.MoveTo(CPoint(990, 390));
  Compose(s);
  EXPECT_EQ(0, Underline(s, 0));
  EXPECT_EQ(60 * 2, Underline(s, 2));

  // A release over the selected tab tells the owner again, with no repaint.
  host.MoveTo(RowCell(2).CenterPoint());
  host.ClearJournal();
  host.Press(RowCell(2).CenterPoint());
  host.Release(RowCell(2).CenterPoint());
  EXPECT_EQ(std::vector<std::string>{"92 notify 2 (2, 0)"}, host.Journal());
  // A release over a gap picks nothing.
  host.ClearJournal();
  host.Click(CPoint(RowCell(4).right + 10, RowCell(4).CenterPoint().y));
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ(2, tabs->GetSelectItem());
}

TEST_F(KeyTypeTabTest, TheFactoriesBuildAColumnThatPutsTheCurrentTabOnAPlate) {
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
  ASSERT_NE(nullptr, page);
  auto* onPage = dynamic_cast<KeyTypeTab*>(page->CreateControl(L"KeyTypeTab", 8, CRect(400, 10, 500, 250), L"", 1, 1));
  ASSERT_NE(nullptr, onPage);
  auto* tabs = host.Add<KeyTypeTab>(L"KeyTypeTab", kTabsId, CRect(kOrigin, CSize(200, 300)));
  ASSERT_NE(nullptr, tabs);
  for (KeyTypeTab* strip : {tabs, onPage}) {
    strip->SetFont(L"DejaVu Sans", 14, Gdiplus::FontStyleRegular);
    strip->SetTextColor(Gdiplus::Color(0xFF202020));
    for (int i = 0; i < 4; ++i) strip->AddKeyType((L"G" + std::to_wstring(i)).c_str(), i);
  }
  // Cells of 60 x 60 by default, stacked; the plate lies one pixel inside the cell.
  DibSurface s(host.width(), host.height());
  Compose(s);
  for (const CPoint origin : {kOrigin, CPoint(400, 10)}) {
    EXPECT_EQ(kPlate, s.Pixel(origin.x + 5, origin.y + 30)) << "the first tab's plate";
    EXPECT_EQ(kGround, s.Pixel(origin.x + 5, origin.y + 90)) << "the second tab is plain";
    EXPECT_EQ(kGround, s.Pixel(origin.x + 65, origin.y + 30)) << "cells are 60 wide, not the strip's width";
  }
  host.MoveTo(kOrigin + CPoint(30, 150));
  Compose(s);
  EXPECT_EQ(kPlate, s.Pixel(kOrigin.x + 5, kOrigin.y + 150)) << "the hovered third tab";
  EXPECT_EQ(kPlate, s.Pixel(kOrigin.x + 5, kOrigin.y + 30)) << "the selected one keeps its plate";
  host.ClearJournal();
  host.Click(kOrigin + CPoint(30, 210));
  EXPECT_EQ(std::vector<std::string>{"92 notify 2 (3, 0)"}, host.Notifications());
  host.ClearJournal();
  host.Click(CPoint(400, 10) + CPoint(30, 90));
  EXPECT_EQ(std::vector<std::string>{"8 notify 2 (1, 0)"}, host.Notifications()) << "through the page panel";
  EXPECT_EQ(1, onPage->GetSelectItem());
}

TEST_F(KeyTypeTabTest, AStripOfNoKnownTypeDrawsAndHoversNothing) {
  KeyTypeTab* tabs = Strip(static_cast<KEY_TYPE_TAB_TYPE>(5), 100, 30, CSize(900, 40));
  ASSERT_NE(nullptr, tabs);
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(900 * 40, s.Count(kOrigin.x, kOrigin.y, kOrigin.x + 900, kOrigin.y + 40, kGround));
  host.ClearJournal();
  host.MoveTo(RowCell(0).CenterPoint());
  host.Click(RowCell(1).CenterPoint());
  EXPECT_TRUE(host.Journal().empty()) << "no hover, no pick";

  // Drawn as a row once, then switched to no type: the old rectangles hit nothing either.
  tabs->SetKeyTypeTabType(KEY_TYPE_TAB_HORIZONTAL);
  tabs->UpdateControl(1, 0);
  Compose(s);
  EXPECT_EQ(60 * 2, Underline(s, 0));
  tabs->SetKeyTypeTabType(static_cast<KEY_TYPE_TAB_TYPE>(-1));
  tabs->UpdateControl(1, 0);
  Compose(s);
  EXPECT_EQ(0, Underline(s, 0));
  host.ClearJournal();
  host.Click(RowCell(1).CenterPoint());
  EXPECT_TRUE(host.Journal().empty());
}

TEST_F(KeyTypeTabTest, IndexesNamingNoTabSelectNothingAndChangeNothing) {
  KeyTypeTab* tabs = Strip(KEY_TYPE_TAB_HORIZONTAL, 100, 30, CSize(900, 40));
  ASSERT_NE(nullptr, tabs);
  tabs->SetSelectKeyType(50);
  EXPECT_EQ(50, tabs->GetSelectItem()) << "kept as given";
  DibSurface s(host.width(), host.height());
  Compose(s);
  EXPECT_EQ(0, s.Count(0, 0, host.width(), host.height(), kCurrent)) << "no tab drawn selected";

  host.ClearJournal();
  tabs->SetItemText(7, L"nobody");
  tabs->SetItemText(-1, L"nobody");
  EXPECT_TRUE(host.Journal().empty()) << "no tab renamed, nothing redrawn";
  tabs->SetItemText(1, L"Renamed");
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kTabsId));

  // Emptied: no hover, the selection back on 0, and nothing to pick.
  host.MoveTo(RowCell(1).CenterPoint());
  tabs->ClearAllItems();
  EXPECT_EQ(0, tabs->GetSelectItem());
  Compose(s);
  EXPECT_EQ(0, s.Count(0, 0, host.width(), host.height(), kCurrent));
  host.ClearJournal();
  host.Click(RowCell(1).CenterPoint());
  EXPECT_TRUE(host.Notifications().empty());

  // Disabled: the pointer is refused.
  Fill(tabs, KEY_TYPE_TAB_HORIZONTAL, 100, 30);
  Compose(s);
  tabs->SetEnabled(0);
  host.ClearJournal();
  host.Click(RowCell(3).CenterPoint());
  EXPECT_TRUE(host.Journal().empty());
  EXPECT_EQ(0, tabs->GetSelectItem());
}

}  // namespace
