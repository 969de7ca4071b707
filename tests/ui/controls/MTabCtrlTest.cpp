#include "ui/controls/MTabCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::ProbeControl;
using testsupport::RecordingOwner;

namespace {

// Exposes the state the tests read back.
class OpenTabCtrl : public MTabCtrl {
public:
  using MTabCtrl::MTabCtrl;
  using MTabCtrl::m_bRunning;
  using MTabCtrl::m_nHover;
  using MTabCtrl::m_nItemHeight;
  using MTabCtrl::m_nItemWidth;
  using MTabCtrl::m_nPrevious;
};

CRect ItemRect(MTabCtrl& tabs, int index) { return CRect(tabs.GetItemInfo(index)->itemRect); }

// Tabs without icons, each `width` wide, on a strip 24 high.
void AddTabs(MTabCtrl& tabs, int count, int width = 50, std::vector<MControl*> pages = {}) {
  tabs.SetTabCtrlHeight(24);
  for (int i = 0; i < count; ++i) {
    MControl* page = i < static_cast<int>(pages.size()) ? pages[i] : nullptr;
    ASSERT_EQ(1, tabs.InsertItem(100 + i, L"tab", nullptr, page, -1, width));
  }
}

TEST(MTabCtrlTest, TabsShareTheStripByTheSizeRule) {
  const struct {
    const char* name;
    int controlWidth, requested, minimum, left, right;
    int want;
  } cases[] = {
      {"three in 400 asking 180, minimum 100: 133 each", 400, 180, 100, 0, 0, 133},
      {"minimum 150 above the share: 150 each, the strip overflows", 400, 180, 150, 0, 0, 150},
      {"600 wide: the requested 180 fits", 600, 180, 100, 0, 0, 180},
      {"padding narrows the share", 400, 180, 100, 50, 50, 100},
      {"minimum 0: the requested size, fitting or not", 400, 180, 0, 0, 0, 180},
  };
  RecordingOwner owner;
  for (const auto& c : cases) {
    OpenTabCtrl tabs(&owner, 5, CRect(10, 20, 10 + c.controlWidth, 120), 1, 1);
    tabs.SetLeftRightPading(c.left, c.right);
    AddTabs(tabs, 3);
    tabs.SetItemWidth(c.requested, c.minimum, 1);
    EXPECT_EQ(c.want, tabs.m_nItemWidth) << c.name;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(CRect(10 + c.left + i * c.want, 20, 10 + c.left + (i + 1) * c.want, 44), ItemRect(tabs, i))
          << c.name << ", tab " << i;
    }
  }

  // A new rectangle fits the tabs again with the stored request.
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 400, 100), 1, 1);
  AddTabs(tabs, 3);
  tabs.SetItemWidth(180, 100, 1);
  tabs.SetRect(CRect(0, 0, 600, 100));
  EXPECT_EQ(CRect(180, 0, 360, 24), ItemRect(tabs, 1));
  // The vertical rule keeps its own size the same way.
  tabs.SetTabType(TAB_TYPE_VERTICAL);
  tabs.SetItemHeight(60, 40, 0);
  EXPECT_EQ(40, tabs.m_nItemHeight) << "three in 100 high: share 33, minimum 40";
}

TEST(MTabCtrlTest, InsertionTakesTheIconsSizeAndLaysTabsOut) {
  testsupport::GdiplusSession gdiplus;
  ASSERT_TRUE(testsupport::WriteSkin(L"tabtest_icon.png", 48, 24, 0xFF00FF00));
  RecordingOwner owner;
  OpenTabCtrl tabs(&owner, 5, CRect(10, 20, 410, 120), 1, 1);
  tabs.SetLeftRightPading(5, 0);
  tabs.SetTopBottomPading(3, 0);
  ASSERT_EQ(1, tabs.InsertItem(7, L"first", L"tabtest_icon.png", nullptr, 2, 0));
  ASSERT_EQ(1, tabs.InsertItem(8, L"second", L"tabtest_missing.png", nullptr, -1, 0));
  const TabItemInfo* first = tabs.GetItemInfo(0);
  ASSERT_NE(nullptr, first->image);
  EXPECT_EQ(24, first->frameWidth);
  EXPECT_EQ(24, first->imageHeight);
  EXPECT_EQ(3, tabs.GetItemInfo(1)->frameCount) << "-1 frames means 3";
  EXPECT_EQ(nullptr, tabs.GetItemInfo(1)->image) << "a missing icon leaves the tab without one";
  EXPECT_EQ(CRect(15, 23, 39, 47), ItemRect(tabs, 0)) << "width and strip height from the first icon";
  EXPECT_EQ(CRect(39, 23, 63, 47), ItemRect(tabs, 1));
  EXPECT_EQ(CRect(), CRect(tabs.GetItemInfo(1)->buttonRect));
  EXPECT_EQ(7u, tabs.GetItemID(0));
  EXPECT_EQ(0u, tabs.GetItemID(2));
  EXPECT_EQ(0, tabs.GetItemVisible(-1));
  EXPECT_EQ(nullptr, tabs.GetItemInfo(2));
  EXPECT_FALSE(tabs.SetItemText(2, L"x"));
  ASSERT_FALSE(owner.updates.empty());
  EXPECT_EQ(1, owner.updates.back().redraw) << "an insertion re-renders the strip";

  // A zero frame count must not divide by zero.
  ASSERT_EQ(1, tabs.InsertItem(9, L"third", L"tabtest_icon.png", nullptr, 0, 0));
  EXPECT_EQ(48, tabs.GetItemInfo(2)->frameWidth);
}

TEST(MTabCtrlTest, SelectionNotifiesOnceAndShowsOnlyThatPage) {
  RecordingOwner owner;
  ProbeControl pages[3] = {{&owner, 1, CRect(0, 30, 400, 200)},
                           {&owner, 2, CRect(0, 30, 400, 200)},
                           {&owner, 3, CRect(0, 30, 400, 200)}};
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  AddTabs(tabs, 3, 50, {&pages[0], &pages[1], &pages[2]});
  for (auto& page : pages) EXPECT_EQ(0, page.IsVisible()) << "nothing is selected at first";
  EXPECT_EQ(-1, tabs.GetSelectItem());

  EXPECT_EQ(-1, tabs.SetSelectItem(1));
  ASSERT_EQ(1u, owner.messages.size());
  EXPECT_EQ(5u, owner.messages[0].id);
  EXPECT_EQ(static_cast<UINT>(NOTIFY_PRESSED), owner.messages[0].code);
  EXPECT_EQ(1u, owner.messages[0].wParam);
  EXPECT_EQ(0, pages[0].IsVisible());
  EXPECT_EQ(1, pages[1].IsVisible());
  EXPECT_EQ(0, pages[2].IsVisible());

  for (int index : {1, -1, 3, 100}) {
    EXPECT_EQ(1, tabs.SetSelectItem(index)) << index;
  }
  EXPECT_EQ(1u, owner.messages.size()) << "the current index and those out of range send nothing";

  EXPECT_EQ(1, tabs.SetSelectItem(2));
  EXPECT_EQ(2, tabs.GetSelectItem());
  EXPECT_EQ(1, tabs.m_nPrevious);
  EXPECT_EQ(0, pages[1].IsVisible());
  EXPECT_EQ(1, pages[2].IsVisible());

  // Hiding the strip hides every page; showing it brings back only the selected one.
  tabs.SetVisible(0);
  for (auto& page : pages) EXPECT_EQ(0, page.IsVisible());
  tabs.SetRect(CRect(0, 0, 300, 200));  // laid out again while hidden
  for (auto& page : pages) EXPECT_EQ(0, page.IsVisible()) << "a resized hidden strip shows no page";
  tabs.SetVisible(1);
  EXPECT_EQ(1, pages[2].IsVisible());
  EXPECT_EQ(0, pages[0].IsVisible());

  // A child's notification reaches the owner unchanged.
  tabs.OnBaseMessage(77, NOTIFY_CLICKED, 5, 6);
  ASSERT_EQ(3u, owner.messages.size());
  EXPECT_EQ(77u, owner.messages.back().id);
  EXPECT_EQ(6, owner.messages.back().lParam);
}

TEST(MTabCtrlTest, HidingAndDeletingTheSelectedTab) {
  RecordingOwner owner;
  ProbeControl::s_alive = 0;
  auto* pages = new std::vector<std::unique_ptr<ProbeControl>>();
  for (UINT id = 1; id <= 3; ++id) pages->emplace_back(new ProbeControl(&owner, id, CRect(0, 30, 400, 200)));
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  AddTabs(tabs, 3, 50, {(*pages)[0].get(), (*pages)[1].get(), (*pages)[2].get()});
  tabs.SetSelectItem(2);

  tabs.SetItemVisible(2, 0);
  EXPECT_EQ(2, tabs.GetSelectItem()) << "a hidden tab stays selected";
  EXPECT_EQ(1, (*pages)[2]->IsVisible());
  EXPECT_EQ(CRect(), ItemRect(tabs, 2)) << "a hidden tab has no rectangle";
  tabs.SetItemVisible(1, 0);

  tabs.DeleteItem(2);
  EXPECT_EQ(2, tabs.GetItemCount());
  EXPECT_EQ(0, tabs.GetSelectItem()) << "the last visible tab takes over";
  EXPECT_EQ(1, (*pages)[0]->IsVisible());
  EXPECT_EQ(3, ProbeControl::s_alive) << "a page the control did not create is not deleted";
  EXPECT_EQ(1u, owner.messages.size()) << "the takeover sends nothing";

  tabs.SetItemVisible(0, 0);
  tabs.DeleteItem(1);
  EXPECT_EQ(0, tabs.GetSelectItem()) << "a lower selection stays";
  tabs.DeleteItem(0);
  EXPECT_EQ(-1, tabs.GetSelectItem()) << "no tab left";
  tabs.DeleteItem(0);  // out of range: nothing
  tabs.DeleteItem(-1);
  EXPECT_EQ(0, tabs.GetItemCount());
  delete pages;
}

TEST(MTabCtrlTest, DeletingAnEarlierTabKeepsTheSameTabSelected) {
  RecordingOwner owner;
  ProbeControl pages[4] = {{&owner, 1, CRect(0, 30, 400, 200)},
                           {&owner, 2, CRect(0, 30, 400, 200)},
                           {&owner, 3, CRect(0, 30, 400, 200)},
                           {&owner, 4, CRect(0, 30, 400, 200)}};
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  AddTabs(tabs, 4, 50, {&pages[0], &pages[1], &pages[2], &pages[3]});
  tabs.SetSelectItem(2);
  const size_t sent = owner.messages.size();

  tabs.DeleteItem(0);
  EXPECT_EQ(1, tabs.GetSelectItem());
  EXPECT_EQ(102u, tabs.GetItemID(tabs.GetSelectItem())) << "the strip still marks the tab whose page is shown";
  EXPECT_EQ(1, pages[2].IsVisible());
  EXPECT_EQ(0, pages[3].IsVisible());
  tabs.DeleteItem(2);  // a later tab: the selection stays
  EXPECT_EQ(1, tabs.GetSelectItem());
  EXPECT_EQ(sent, owner.messages.size()) << "deleting sends nothing";
  EXPECT_EQ(1, tabs.SetSelectItem(0)) << "the first tab is selectable again";
  EXPECT_EQ(1, pages[1].IsVisible());
}

// Ticks until the slide ends; the count of ticks that moved it.
int TicksOfSlide(OpenTabCtrl& tabs) {
  int ticks = 0;
  while (tabs.OnControlTimer() && ticks < 5000) ++ticks;
  return ticks;
}

TEST(MTabCtrlTest, SlideTakesTenStepsOfATenthAndAlwaysEnds) {
  const struct {
    const char* name;
    TAB_TYPE type;
    int width, height, from, to;
    int wantTicks;
  } cases[] = {
      {"1000 wide, 0 to 2: ten ticks of 100", TAB_TYPE_HORIZONTAL, 1000, 200, 0, 2, 10},
      {"995 wide: eleven ticks of 99", TAB_TYPE_HORIZONTAL, 995, 200, 0, 2, 11},
      {"995 wide backwards: eleven ticks", TAB_TYPE_HORIZONTAL, 995, 200, 2, 0, 11},
      {"5 wide: a pixel per tick, five ticks", TAB_TYPE_HORIZONTAL, 5, 200, 0, 1, 5},
      {"vertical, 300 high: ten ticks of 30", TAB_TYPE_VERTICAL, 100, 300, 1, 0, 10},
  };
  for (const auto& c : cases) {
    RecordingOwner owner;
    OpenTabCtrl tabs(&owner, 5, CRect(0, 0, c.width, c.height), 1, 1);
    tabs.SetTabType(c.type);
    tabs.SetTabCtrlWidth(40);
    AddTabs(tabs, 3, 1);
    tabs.SetSelectItem(c.from);
    tabs.EnableAnimateChangeTab(1);
    tabs.SetUpdataRect(CRect(1, 2, 3, 4));
    tabs.SetSelectItem(c.to);
    owner.updates.clear();
    EXPECT_EQ(c.wantTicks, TicksOfSlide(tabs)) << c.name;
    EXPECT_EQ(0, tabs.m_bRunning) << c.name;
    ASSERT_EQ(static_cast<size_t>(c.wantTicks), owner.updates.size()) << c.name;
    EXPECT_EQ(CRect(1, 2, 3, 4), owner.updates.back().rect) << c.name;
    EXPECT_EQ(0, owner.updates.back().redraw) << c.name;
  }

  RecordingOwner owner;
  OpenTabCtrl still(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  AddTabs(still, 2);
  still.SetSelectItem(0);
  still.SetSelectItem(1);
  EXPECT_EQ(0, still.OnControlTimer()) << "no slide without the animation";
}

// The slide's window timer runs while the pages slide and stops with the slide.
TEST(MTabCtrlTest, TheSlideTimerStopsWhenTheSlideEnds) {
  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"tabs", WS_POPUP, 0, CRect(0, 0, 200, 100)));
  RecordingOwner owner;
  auto* tabs = new OpenTabCtrl(&owner, 5, CRect(0, 0, 200, 100), 1, 1);
  host.engine.AttachControl(1, tabs);
  AddTabs(*tabs, 2);
  tabs->SetSelectItem(0);
  tabs->EnableAnimateChangeTab(1);
  tabs->SetSelectItem(1);
  EXPECT_TRUE(host.engine.TimerRunning(tabs, 100));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return tabs->m_bRunning == 0; }, 3000)) << "ten steps of 30 ms";
  EXPECT_FALSE(host.engine.TimerRunning(tabs, 100));

  // A slide cut short by deleting its old tab stops the timer at its next step.
  tabs->SetSelectItem(0);
  tabs->DeleteItem(1);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !host.engine.TimerRunning(tabs, 100); }, 3000));
  host.DestroyWindow();
}

// A slide whose old tab is deleted on the way stops; nothing reads the gone tab.
TEST(MTabCtrlTest, ASlideFromADeletedTabStops) {
  RecordingOwner owner;
  ProbeControl pages[3] = {{&owner, 1, CRect(0, 30, 200, 100)},
                           {&owner, 2, CRect(0, 30, 200, 100)},
                           {&owner, 3, CRect(0, 30, 200, 100)}};
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 200, 100), 1, 1);
  AddTabs(tabs, 3, 50, {&pages[0], &pages[1], &pages[2]});
  tabs.SetSelectItem(2);
  tabs.EnableAnimateChangeTab(1);
  tabs.SetSelectItem(0);
  EXPECT_EQ(1, tabs.OnControlTimer());
  tabs.DeleteItem(2);
  EXPECT_EQ(0, tabs.OnControlTimer()) << "the old tab is gone";
  testsupport::DibSurface surface(200, 100, 0);
  HDC dc = surface.dc();
  EXPECT_EQ(0, tabs.DrawSubControls(dc, CRect(0, 0, 200, 100))) << "no page to slide out";
}

// Keys go to the selected tab's page; wheel steps too, while the pointer is on that tab.
TEST(MTabCtrlTest, KeysAndWheelReachTheSelectedPage) {
  RecordingOwner owner;
  // The pages cover the strip too: a page takes wheel steps only at points inside itself.
  ProbeControl first(&owner, 1, CRect(0, 0, 200, 100));
  ProbeControl second(&owner, 2, CRect(0, 0, 200, 100));
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 200, 100), 1, 1);
  EXPECT_EQ(0, tabs.OnControlKeyDown('A', 1, 0)) << "no tab selected";
  AddTabs(tabs, 2, 50, {&first, &second});
  tabs.SetSelectItem(1);
  EXPECT_EQ(1, tabs.OnControlKeyDown('A', 1, 0));
  EXPECT_EQ(0, tabs.OnControlScroll(1, 1, CPoint(20, 10))) << "over the other tab";
  EXPECT_EQ(1, tabs.OnControlScroll(1, 1, CPoint(70, 10)));
  EXPECT_EQ(1u, second.Points("key").size());
  EXPECT_EQ(1u, second.Points("scroll").size());
  EXPECT_TRUE(first.events.empty());
}

// Halfway through a slide the old page fills one half of the control and the new one the other.
TEST(MTabCtrlTest, SlidingPagesShareTheControlByTheOffset) {
  const struct {
    const char* name;
    int from, to;
    DWORD left, right;  // 0x00RRGGBB at x 50 and x 150
  } cases[] = {
      {"to a higher tab: the old page leaves to the left", 0, 1, 0xFF0000, 0x0000FF},
      {"to a lower tab: the old page leaves to the right", 1, 0, 0x0000FF, 0xFF0000},
  };
  for (const auto& c : cases) {
    RecordingOwner owner;
    testsupport::SolidControl red(&owner, 1, CRect(0, 30, 200, 100), RGB(255, 0, 0));
    testsupport::SolidControl blue(&owner, 2, CRect(0, 30, 200, 100), RGB(0, 0, 255));
    OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 200, 100), 1, 1);
    // The old page is the red one.
    AddTabs(tabs, 2, 50, c.from == 0 ? std::vector<MControl*>{&red, &blue} : std::vector<MControl*>{&blue, &red});
    tabs.SetSelectItem(c.from);
    tabs.EnableAnimateChangeTab(1);
    tabs.SetSelectItem(c.to);
    for (int tick = 0; tick < 5; ++tick) tabs.OnControlTimer();  // 5 of 10 steps of 20
    testsupport::DibSurface surface(200, 100, 0);
    HDC dc = surface.dc();
    tabs.Draw(dc, CRect(0, 0, 200, 100));
    EXPECT_EQ(c.left, surface.Pixel(50, 60)) << c.name;
    EXPECT_EQ(c.right, surface.Pixel(150, 60)) << c.name;
    EXPECT_EQ(0, red.IsVisible()) << c.name << ": the new page stays the shown one";
  }
}

TEST(MTabCtrlTest, TheStripTakesTheMouseOnlyOverItsTabs) {
  RecordingOwner owner;
  OpenTabCtrl tabs(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  AddTabs(tabs, 3, 100);
  tabs.SetItemVisible(1, 0);
  const struct {
    const char* name;
    CPoint pt;
    int want;
  } cases[] = {
      {"a tab", CPoint(50, 10), 1},
      {"the third tab, moved up to the first", CPoint(150, 10), 1},
      {"where the third tab was before the second was hidden", CPoint(250, 10), 0},
      {"the empty end of the strip", CPoint(350, 10), 0},
      {"the page area below the strip", CPoint(350, 100), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, tabs.OnCheckMouseResponse(0, c.pt)) << c.name;

  tabs.SetTabType(TAB_TYPE_VERTICAL);
  tabs.SetTabCtrlWidth(100);
  tabs.RefreshItems();
  EXPECT_EQ(1, tabs.OnCheckMouseResponse(0, CPoint(50, 10))) << "vertical: the first tab";
  EXPECT_EQ(0, tabs.OnCheckMouseResponse(0, CPoint(50, 150))) << "vertical: below the tabs";
  EXPECT_EQ(1, tabs.OnCheckMouseResponse(0, CPoint(250, 150))) << "vertical: the page area beside the strip";
}

TEST(MTabCtrlTest, ClicksThroughTheWindowSelectTabsAndLetTheEmptyStripGo) {
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"tabs", WS_POPUP, 0, CRect(0, 0, 400, 200)));
  RecordingOwner owner;
  auto* tabs = new OpenTabCtrl(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  host.engine.AttachControl(1, tabs);
  AddTabs(*tabs, 3, 100);

  // Hover: a move over a tab changes the hover index and repaints from the cache.
  owner.updates.clear();
  EXPECT_EQ(1, tabs->OnControlMouseMove(0, CPoint(150, 10)));
  EXPECT_EQ(1, tabs->m_nHover);
  ASSERT_EQ(1u, owner.updates.size());
  EXPECT_EQ(0, owner.updates[0].redraw);
  EXPECT_EQ(0, tabs->OnControlMouseMove(0, CPoint(160, 12))) << "still over the same tab";
  EXPECT_EQ(1, tabs->OnControlMouseMove(0, CPoint(500, 10)));
  EXPECT_EQ(-1, tabs->m_nHover) << "outside the control";

  const struct {
    const char* name;
    CPoint pt;
    bool taken;
  } cases[] = {
      {"the empty end of the strip", CPoint(350, 10), false},
      {"the third tab", CPoint(250, 10), true},
  };
  for (const auto& c : cases) {
    owner.messages.clear();
    host.engine.ArmTracking();
    host.engine.OnMouseMove(0, c.pt);
    host.engine.OnLButtonDown(MK_LBUTTON, c.pt);
    EXPECT_EQ(c.taken, host.engine.IsCaptured() != 0) << c.name;
    EXPECT_EQ(c.taken ? 1u : 0u, owner.messages.size()) << c.name;
    host.engine.OnLButtonUp(0, c.pt);
  }
  EXPECT_EQ(2, tabs->GetSelectItem());
  host.DestroyWindow();
}

// Pixels of the strip's caption colours in [left, right) x [top, bottom): highlighted blue
// against the normal white, on black.
struct CaptionInk {
  int blue = 0;
  int white = 0;
};
CaptionInk InkIn(const testsupport::DibSurface& s, int left, int top, int right, int bottom) {
  CaptionInk ink;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const DWORD p = s.Pixel(x, y);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (b > 120 && b > r + 60) ++ink.blue;
      if (r > 120 && g > 120 && b > 120 && b < r + 30) ++ink.white;
    }
  }
  return ink;
}

TEST(MTabCtrlTest, TheSelectedTabIsCopiedFromTheHighlightedCells) {
  testsupport::GdiplusSession gdiplus;
  ASSERT_TRUE(testsupport::WriteSkin(L"tabtest_icon.png", 48, 24, 0xFF00FF00));
  // The window's engine finds the installed face.
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"tabs", WS_POPUP, 0, CRect(0, 0, 400, 200)));
  RecordingOwner owner;
  testsupport::DibSurface surface(400, 200, 0);
  HDC dc = surface.dc();

  auto* horizontalTabs = new MTabCtrl(&owner, 5, CRect(0, 0, 400, 200), 1, 1);
  host.engine.AttachControl(1, horizontalTabs);
  MTabCtrl& horizontal = *horizontalTabs;
  horizontal.SetTabCtrlHeight(30);
  horizontal.SetFont(L"DejaVu Sans", 16, Gdiplus::FontStyleBold);
  for (UINT id = 0; id < 2; ++id) horizontal.InsertItem(id, L"MMMM", L"tabtest_icon.png", nullptr, 2, 150);
  horizontal.SetSelectItem(1);
  horizontal.Draw(dc, CRect(0, 0, 400, 200));
  EXPECT_EQ(0x00FF00u, surface.Pixel(10 + 12, 15)) << "the icon sits 10 from the tab's left";
  const CaptionInk normal = InkIn(surface, 40, 0, 150, 30);
  const CaptionInk selected = InkIn(surface, 190, 0, 300, 30);
  EXPECT_GT(normal.white, 10);
  EXPECT_EQ(0, normal.blue);
  EXPECT_GT(selected.blue, 10);
  EXPECT_EQ(0, selected.white);

  surface.Fill(0);
  MTabCtrl vertical(&owner, 6, CRect(0, 0, 200, 200), 1, 1);
  vertical.SetTabType(TAB_TYPE_VERTICAL);
  vertical.SetTabCtrlWidth(200);
  vertical.SetTabCtrlHeight(40);
  for (UINT id = 0; id < 3; ++id) vertical.InsertItem(id, L"", nullptr, nullptr, -1, 200);
  vertical.SetSelectItem(2);
  EXPECT_EQ(CRect(0, 80, 200, 120), CRect(vertical.GetItemInfo(2)->itemRect)) << "inserted edge to edge";
  vertical.RefreshItems();
  EXPECT_EQ(CRect(0, 82, 200, 122), CRect(vertical.GetItemInfo(2)->itemRect)) << "a pixel between laid-out tabs";
  vertical.Draw(dc, CRect(0, 0, 200, 200));
  EXPECT_EQ(0u, surface.Pixel(190, 20 + 41)) << "an unselected tab: background";
  EXPECT_EQ(0x596EE1u, surface.Pixel(190, 102)) << "the selected tab: the rounded highlight";
  host.DestroyWindow();
}

}  // namespace
