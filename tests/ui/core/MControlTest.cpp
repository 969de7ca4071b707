#include "ui/core/MControl.h"

#include <gtest/gtest.h>

#include "ProbeControl.h"

using testsupport::ProbeControl;
using testsupport::RecordingOwner;
using TESK::FS_POSITION_ITEM;
using TESK::MControl;

namespace {

// A scrolled container P (content offset (10, 20)) with a child A, a vertical scroll bar S
// (id 1, placed in window coordinates) and a child C that overlaps A and comes later.
class MControlTreeTest : public testing::Test {
protected:
  MControlTreeTest() : p(&owner, 100, CRect(0, 0, 300, 300)) {
    p.mapOffset = CPoint(10, 20);
    a = p.AddChild(10, CRect(0, 0, 100, 100));
    s = p.AddChild(1, CRect(200, 0, 210, 300));
    c = p.AddChild(11, CRect(50, 50, 150, 150));
  }

  RecordingOwner owner;
  ProbeControl p;
  ProbeControl* a;
  ProbeControl* s;
  ProbeControl* c;
};

TEST_F(MControlTreeTest, MoveReachesEveryChildWithItsPointAndTheLastHitBecomesCurrent) {
  EXPECT_EQ(1, p.OnMouseMove(0, CPoint(45, 35)));
  const CPoint mapped(55, 55);
  EXPECT_EQ(std::vector<CPoint>{mapped}, p.Points("move"));
  EXPECT_EQ(std::vector<CPoint>{mapped}, a->Points("move"));
  EXPECT_EQ(std::vector<CPoint>{CPoint(45, 35)}, s->Points("move")) << "scroll bars get the unmapped point";
  EXPECT_EQ(std::vector<CPoint>{mapped}, c->Points("move"));
  EXPECT_EQ(c, p.CurrentChild()) << "the later of two children under the point wins";

  // Leaving C for a point only A covers moves the current child.
  p.OnMouseMove(0, CPoint(5, 5));
  EXPECT_EQ(a, p.CurrentChild());
  // A move the current child accepts goes to it alone.
  p.OnMouseMove(0, CPoint(6, 6));
  EXPECT_EQ(3u, a->Points("move").size());
  EXPECT_EQ(2u, c->Points("move").size());
}

TEST_F(MControlTreeTest, PressKeepsTheCurrentChildWhileTheMouseLeavesIt) {
  EXPECT_EQ(1, p.OnLButtonDown(0, CPoint(15, 15)));
  EXPECT_EQ(a, p.CurrentChild());
  EXPECT_EQ(std::vector<CPoint>{CPoint(25, 35)}, a->Points("ldown"));
  EXPECT_TRUE(p.Points("ldown").empty());

  p.OnMouseMove(MK_LBUTTON, CPoint(250, 250));
  EXPECT_EQ(std::vector<CPoint>{CPoint(260, 270)}, a->Points("move"));
  EXPECT_TRUE(c->Points("move").empty());
  EXPECT_TRUE(p.Points("move").empty());

  EXPECT_EQ(1, p.OnLButtonUp(0, CPoint(250, 250)));
  EXPECT_EQ(std::vector<CPoint>{CPoint(260, 270)}, a->Points("lup"));
  // Released: the next move outside A gives it up.
  p.OnMouseMove(0, CPoint(250, 250));
  EXPECT_EQ(nullptr, p.CurrentChild());
}

TEST_F(MControlTreeTest, PressOnTheScrollBarUsesTheUnmappedPoint) {
  EXPECT_EQ(1, p.OnLButtonDown(0, CPoint(205, 10)));
  EXPECT_EQ(s, p.CurrentChild());
  EXPECT_EQ(std::vector<CPoint>{CPoint(205, 10)}, s->Points("ldown"));
}

TEST_F(MControlTreeTest, HiddenOrUnresponsiveControlsGetNothing) {
  a->SetVisible(0, 0);
  p.OnMouseMove(0, CPoint(5, 5));
  p.OnLButtonDown(0, CPoint(5, 5));
  EXPECT_TRUE(a->events.empty());
  EXPECT_EQ(1u, p.Points("ldown").size()) << "with no child under the point the press is P's own";

  for (auto hide : {+[](ProbeControl& x) { x.SetVisible(0, 0); }, +[](ProbeControl& x) { x.SetRresponse(0); }}) {
    ProbeControl q(&owner, 1, CRect(0, 0, 50, 50));
    ProbeControl* child = q.AddChild(2, CRect(0, 0, 50, 50));
    hide(q);
    EXPECT_EQ(0, q.OnMouseMove(0, CPoint(5, 5)));
    EXPECT_EQ(0, q.OnLButtonDown(0, CPoint(5, 5)));
    EXPECT_EQ(0, q.OnLButtonDblClk(0, CPoint(5, 5)));
    EXPECT_EQ(0, q.OnRButtonUp(0, CPoint(5, 5)));
    EXPECT_EQ(0, q.OnScroll(1, 1, CPoint(5, 5)));
    EXPECT_EQ(0, q.OnKeyDown('A', 1, 0));
    EXPECT_TRUE(q.events.empty());
    EXPECT_TRUE(child->events.empty());
  }
}

TEST_F(MControlTreeTest, KeysGoToTheDeepestFocusedDescendantOnly) {
  ProbeControl* a1 = a->AddChild(20, CRect(0, 0, 10, 10));
  a->SetFocusedFlag(1);
  a1->SetFocusedFlag(1);
  EXPECT_EQ(1, p.OnKeyDown('K', 1, 0x11));
  EXPECT_EQ(std::vector<CPoint>{CPoint('K', 0x11)}, a1->Points("key"));
  EXPECT_TRUE(a->Points("key").empty());
  EXPECT_TRUE(p.Points("key").empty());

  a1->SetVisible(0, 0);
  EXPECT_EQ(0, p.OnKeyDown('K', 1, 0)) << "a hidden focused descendant swallows nothing and nobody else sees the key";
  EXPECT_EQ(1u, a1->Points("key").size());
  EXPECT_TRUE(a->Points("key").empty());
}

TEST(MControlTest, HotKeyNeedsTheKeyAndExactlyItsModifiers) {
  RecordingOwner owner;
  ProbeControl p(&owner, 1, CRect(0, 0, 10, 10));
  p.handled = 0;
  p.SetHotKey(VK_F5, 0x11);
  EXPECT_EQ(1, p.OnKeyDown(VK_F5, 1, 0x11));
  EXPECT_EQ(0, p.OnKeyDown(VK_F5, 1, 0x12));
  EXPECT_EQ(0, p.OnKeyDown(VK_F6, 1, 0x11));
}

TEST(MControlTest, DoubleClickBecomesAPressUnlessTheFlagIsSet) {
  RecordingOwner owner;
  for (int flag : {0, 1}) {
    ProbeControl p(&owner, 1, CRect(0, 0, 10, 10));
    p.SetDblClk(flag);
    EXPECT_EQ(1, p.OnLButtonDblClk(0, CPoint(3, 3)));
    EXPECT_EQ(1, p.OnRButtonDblClk(0, CPoint(3, 3)));
    std::vector<std::string> seen;
    for (const auto& e : p.events) seen.push_back(e.what);
    EXPECT_EQ(flag ? std::vector<std::string>({"ldbl", "rdbl"}) : std::vector<std::string>({"ldown", "rdown"}), seen)
        << "double-click flag " << flag;
  }
}

TEST_F(MControlTreeTest, WheelGoesToTheControlThenToTheFirstChildUnderThePoint) {
  p.handled = 0;
  EXPECT_EQ(1, p.OnScroll(1, 1, CPoint(60, 60)));
  EXPECT_EQ(1u, p.Points("scroll").size());
  EXPECT_EQ(1u, a->Points("scroll").size()) << "A is first in the list";
  EXPECT_TRUE(c->Points("scroll").empty());

  EXPECT_EQ(0, p.OnScroll(1, 1, CPoint(400, 400))) << "outside the control";
  p.SetEnabled(0);
  EXPECT_EQ(0, p.OnScroll(1, 1, CPoint(60, 60))) << "disabled";
}

TEST_F(MControlTreeTest, TicksReachRunningVisibleChildren) {
  a->SetRunTimer(1);
  c->SetRunTimer(1);
  c->SetVisible(0, 0);
  p.handled = 0;
  EXPECT_EQ(1, p.OnTimer());
  EXPECT_EQ(1u, p.Points("timer").size());
  EXPECT_EQ(1u, a->Points("timer").size());
  EXPECT_TRUE(s->Points("timer").empty()) << "not running";
  EXPECT_TRUE(c->Points("timer").empty()) << "hidden";
}

TEST_F(MControlTreeTest, GetControlSearchesDepthFirstAndChildrenBeforeAreas) {
  ProbeControl* grandchild = a->AddChild(11, CRect());
  p.AddArea(10, CRect());
  ProbeControl* area = p.AddArea(30, CRect());
  EXPECT_EQ(grandchild, p.GetControl(11)) << "A's child comes before the later child C";
  EXPECT_EQ(a, p.GetControl(10)) << "a child before an area";
  EXPECT_EQ(area, p.GetControl(30));
  EXPECT_EQ(nullptr, p.GetControl(99));
}

TEST_F(MControlTreeTest, RemoveControlDeletesTheChildAndForgetsIt) {
  p.OnMouseMove(0, CPoint(5, 5));
  ASSERT_EQ(a, p.CurrentChild());
  ProbeControl stranger(&owner, 5, CRect());
  ProbeControl* area = p.AddArea(40, CRect());
  ProbeControl::ResetCounts();

  p.RemoveControl(&stranger);
  p.RemoveControl(area);
  EXPECT_EQ(0, ProbeControl::s_destroyed) << "neither a stranger nor an area is removed";

  p.RemoveControl(a);
  EXPECT_EQ(1, ProbeControl::s_destroyed);
  EXPECT_EQ(nullptr, p.CurrentChild());
  EXPECT_EQ(nullptr, p.GetControl(10));
  EXPECT_EQ(2u, p.GetControls().size());
}

// Without a window: the dispatchers alone keep removed controls alive until they return.
TEST_F(MControlTreeTest, ControlsRemovedInsideAHandlerGoWhenTheDispatchReturns) {
  std::vector<std::string> journal;
  for (ProbeControl* probe : {a, s, c}) probe->journal = &journal;
  a->react = [&](const std::string& what) {
    if (what != "ldown") return;
    p.RemoveControl(c);
    p.RemoveControl(a);
    EXPECT_TRUE(a->IsRemoved() && c->IsRemoved());
    journal.push_back("handler done");
  };
  p.OnLButtonDown(0, CPoint(5, 5));
  EXPECT_EQ((std::vector<std::string>{"10 ldown", "handler done", "11 destroyed", "10 destroyed"}), journal);
  EXPECT_EQ(std::vector<TESK::MControl*>{s}, p.GetControls());
  EXPECT_EQ(nullptr, p.CurrentChild());

  // A move that reaches every child: the first removes the later one, which is skipped.
  p.OnLButtonUp(0, CPoint(5, 5));
  ProbeControl* d = p.AddChild(12, CRect(0, 0, 10, 10));
  ProbeControl* e = p.AddChild(13, CRect(0, 0, 10, 10));
  d->journal = e->journal = &journal;
  journal.clear();
  d->react = [&](const std::string& what) {
    if (what == "move") p.RemoveControl(e);
  };
  p.OnMouseMove(0, CPoint(100, 100));
  EXPECT_EQ((std::vector<std::string>{"1 move", "12 move", "13 destroyed"}), journal);
  s->journal = d->journal = nullptr;  // the journal goes before them
}

TEST(MControlTest, RepaintRequestsOfVisibilityStateAndGeometry) {
  const CRect home(10, 10, 50, 30);
  struct Case {
    const char* name;
    int startVisible;
    void (*act)(MControl&);
    std::vector<RecordingOwner::Update> expected;  // control filled in below
  } cases[] = {
      {"hiding asks for its rectangle with redraw", 1, [](MControl& c) { c.SetVisible(0); }, {{home, 1, nullptr}}},
      {"showing asks too", 0, [](MControl& c) { c.SetVisible(1); }, {{home, 1, nullptr}}},
      {"unchanged visibility asks nothing", 1, [](MControl& c) { c.SetVisible(1); }, {}},
      {"hiding without notice asks nothing", 1, [](MControl& c) { c.SetVisible(0, 0); }, {}},
      {"moving asks for the union", 1, [](MControl& c) { c.SetRect(100, 5, 20, 20); },
       {{CRect(10, 5, 120, 30), 1, nullptr}}},
      {"moving a hidden control asks nothing", 0, [](MControl& c) { c.SetRect(CRect(0, 0, 5, 5)); }, {}},
      {"disabling asks", 1, [](MControl& c) { c.SetEnabled(0); }, {{home, 1, nullptr}}},
      {"unchanged enabling asks nothing", 1, [](MControl& c) { c.SetEnabled(1); }, {}},
      {"update from the cache", 1, [](MControl& c) { c.UpdateControl(0, 0); }, {{home, 0, nullptr}}},
      {"update of a hidden control asks nothing", 0, [](MControl& c) { c.UpdateControl(1, 0); }, {}},
      {"forced update of a hidden control asks", 0, [](MControl& c) { c.UpdateControl(CRect(1, 2, 3, 4), 1, 1); },
       {{CRect(1, 2, 3, 4), 1, nullptr}}},
  };
  for (const Case& t : cases) {
    RecordingOwner owner;
    ProbeControl control(&owner, 7, home, t.startVisible);
    t.act(control);
    ASSERT_EQ(t.expected.size(), owner.updates.size()) << t.name;
    for (size_t i = 0; i < t.expected.size(); ++i) {
      EXPECT_EQ(t.expected[i].rect, owner.updates[i].rect) << t.name;
      EXPECT_EQ(t.expected[i].redraw, owner.updates[i].redraw) << t.name;
      EXPECT_EQ(&control, owner.updates[i].control) << t.name;
    }
  }
}

TEST(MControlTest, PositionItem2ValueResolvesEachMode) {
  struct Case {
    FS_POSITION_ITEM item;
    int expected;
  } cases[] = {
      {{0, 0, 10.0f}, 10}, {{0, 1, 10.0f}, 90},  {{1, 0, 10.0f}, 60},  {{1, 1, 10.0f}, 40},
      {{2, 0, 25.9f}, 25}, {{2, 0, 150.0f}, 100}, {{3, 0, 10.0f}, 0}, {{0, 0, -3.7f}, -3},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(t.expected, MControl::PositionItem2Value(t.item, 0, 100))
        << "mode " << t.item.mode << " from end " << t.item.fromEnd << " value " << t.item.value;
  }
}

TEST(MControlTest, SetCursorExKnowsExactNamesOnly) {
  RecordingOwner owner;
  ProbeControl p(&owner, 1, CRect(0, 0, 10, 10));
  p.SetCursorEx(L"hand");
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), p.Cursor());
  p.SetCursorEx(L"Hand");
  p.SetCursorEx(nullptr);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), p.Cursor());
  EXPECT_EQ(1, p.OnControlSetCursor(0, CPoint(5, 5)));
  EXPECT_EQ(0, p.OnControlSetCursor(0, CPoint(50, 5)));
}

TEST(MControlTest, IsClassComparesTheClassNameExactly) {
  RecordingOwner owner;
  ProbeControl p(&owner, 1, CRect());
  EXPECT_EQ(1, p.IsClass(L"MControl"));
  EXPECT_EQ(0, p.IsClass(L"mcontrol"));
  EXPECT_EQ(0, owner.IsClass(L"MControl")) << "an object without a class name matches nothing";
  EXPECT_EQ(0, owner.IsClass(nullptr));
}

TEST(MControlTest, SendMessageNotifiesTheOwnerWithTheControlId) {
  RecordingOwner owner;
  ProbeControl p(&owner, 42, CRect());
  EXPECT_EQ(1, p.SendMessageW(TESK::NOTIFY_CLICKED, 3, 4));
  ASSERT_EQ(1u, owner.messages.size());
  EXPECT_EQ(42u, owner.messages[0].id);
  EXPECT_EQ(static_cast<UINT>(TESK::NOTIFY_CLICKED), owner.messages[0].code);
  EXPECT_EQ(3u, owner.messages[0].wParam);
  EXPECT_EQ(4, owner.messages[0].lParam);
}

TEST(MControlTest, ParentVisibilityWalksUpToTheHostingWindow) {
  RecordingOwner window;
  ProbeControl outer(&window, 1, CRect());
  ProbeControl* inner = outer.AddChild(2, CRect());
  ProbeControl orphan(nullptr, 3, CRect());
  EXPECT_EQ(1, inner->IsParentVisible());
  outer.SetVisible(0, 0);
  EXPECT_EQ(0, inner->IsParentVisible());
  EXPECT_EQ(0, orphan.IsParentVisible());
}

TEST(MControlTest, CacheSurfaceIsRebuiltOnlyWhenItsSizeChanges) {
  RecordingOwner owner;
  ProbeControl p(&owner, 1, CRect());
  HDC screen = GetDC(nullptr);
  p.UpdateMemDC(screen, 20, 10);
  HDC first = p.CacheDC();
  EXPECT_NE(nullptr, first);
  EXPECT_EQ(1, p.GetUpdate());
  p.SetUpdate(0, 0);
  EXPECT_EQ(0, p.GetUpdate());
  p.UpdateMemDC(screen, 20, 10);
  EXPECT_EQ(first, p.CacheDC());
  p.UpdateMemDC(screen, 30, 10);
  EXPECT_NE(nullptr, p.CacheDC());
  ReleaseDC(nullptr, screen);
}

}  // namespace
