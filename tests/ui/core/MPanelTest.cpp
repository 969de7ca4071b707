#include "ui/core/MPanel.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <iterator>
#include <memory>
#include <vector>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "VirtualSlot.h"
#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/PaintManager.h"

using namespace TESK;
using testsupport::ProbeControl;
using testsupport::RecordingOwner;

namespace {

// A panel whose inner state tests may read, recording the repaint requests it receives.
class OpenPanel : public MPanel {
public:
  OpenPanel(MObject* owner, CRect rect) : MPanel(owner, 50, rect, 1) {}

  LRESULT OnControlUpdate(CRect rect, int redraw, MControl* control) override {
    updates.push_back({rect, redraw, control});
    return MPanel::OnControlUpdate(rect, redraw, control);
  }

  template <class T, class... Args>
  T* Add(UINT kind, Args... args) {
    T* control = new T(this, args...);
    AdoptControl(kind, control);
    return control;
  }
  ProbeControl* AddProbe(UINT id, CRect rect, int visible = 1, int enabled = 1) {
    return Add<ProbeControl>(1, id, rect, visible, enabled);
  }
  using MPanel::AdoptControl;

  int VirtualHeight() const { return m_nVirtualHeight; }
  int VirtualWidth() const { return m_nVirtualWidth; }
  CScrollVertical& Vertical() { return *m_pScrollV; }
  CScrollHorizontal& Horizontal() { return *m_pScrollH; }
  int AreaCount() const { return static_cast<int>(m_areas.size()); }
  int ChildCount() const { return static_cast<int>(m_children.size()); }

  std::vector<RecordingOwner::Update> updates;
};

TEST(MPanelTest, ChildrenBeyondThePanelGiveTheVirtualSizeAndPlaceTheBars) {
  const CRect wide(120, 70, 280, 180);   // right 280, bottom 180
  const CRect tall(130, 80, 250, 300);   // right 250, bottom 300
  for (bool tallFirst : {false, true}) {
    RecordingOwner owner;
    OpenPanel panel(&owner, CRect(100, 50, 300, 150));
    ProbeControl* first = panel.AddProbe(10, tallFirst ? tall : wide);
    ProbeControl* second = panel.AddProbe(11, tallFirst ? wide : tall);
    panel.SetControlRect(CRect(100, 50, 300, 150));

    EXPECT_EQ(250, panel.VirtualHeight()) << "tall first: " << tallFirst;
    EXPECT_EQ(180, panel.VirtualWidth()) << "tall first: " << tallFirst;
    EXPECT_TRUE(panel.Vertical().IsVisible());
    EXPECT_EQ(250, panel.Vertical().GetScrollMaxRange());
    EXPECT_FALSE(panel.Horizontal().IsVisible()) << "180 fits into 200";
    EXPECT_EQ(CRect(295, 50, 300, 150), panel.Vertical().GetRect());
    EXPECT_EQ(CRect(100, 145, 300, 150), panel.Horizontal().GetRect());
    EXPECT_EQ(panel.GetScrollVertical(), panel.GetControl(1));
    EXPECT_EQ(panel.GetScrollHorizontal(), panel.GetControl(2));
    EXPECT_EQ(nullptr, panel.GetControl(99));

    // Moving the panel moves the bars only.
    panel.SetControlRect(CRect(110, 60, 310, 160));
    EXPECT_EQ(CRect(305, 60, 310, 160), panel.Vertical().GetRect());
    EXPECT_EQ(CRect(110, 155, 310, 160), panel.Horizontal().GetRect());
    EXPECT_EQ(tallFirst ? tall : wide, first->GetRect());
    EXPECT_EQ(tallFirst ? wide : tall, second->GetRect());
  }
}

TEST(MPanelTest, BarsAppearWithTheirContentAndAskForTheirRepaint) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  EXPECT_FALSE(panel.Vertical().IsVisible()) << "an empty panel shows no bar";
  EXPECT_FALSE(panel.Horizontal().IsVisible());
  EXPECT_FALSE(panel.Vertical().IsThumbShown()) << "range 0: no thumb";

  panel.AddProbe(10, CRect(0, 0, 150, 300));
  panel.SetControlRect(CRect(0, 0, 100, 100));
  ASSERT_TRUE(panel.Vertical().IsVisible());
  ASSERT_TRUE(panel.Horizontal().IsVisible());
  EXPECT_EQ(150, panel.Horizontal().GetScrollMaxRange());
  int barRequests = 0;
  for (const auto& u : panel.updates) {
    if (u.control == &panel.Vertical() || u.control == &panel.Horizontal()) {
      EXPECT_EQ(1, u.redraw);
      ++barRequests;
    }
  }
  EXPECT_EQ(2, barRequests) << "each bar that becomes visible asks once";

  // The content shrinks: both bars hide, and the next placing no longer repaints them.
  panel.RemoveControl(panel.GetControl(10));
  panel.SetControlRect(CRect(0, 0, 100, 100));
  EXPECT_FALSE(panel.Vertical().IsVisible());
  EXPECT_FALSE(panel.Horizontal().IsVisible());
  panel.updates.clear();
  panel.SetControlRect(CRect(0, 0, 100, 100));
  EXPECT_TRUE(panel.updates.empty());
}

// Content 300 high in a panel 100 high: the bar's range is 300, and position 150 of it
// scrolls the content by (300 - 100) x 150 / 300 = 100.
TEST(MPanelTest, ScrolledContentMapsPointsUnlessScrollingIsDisabled) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  ProbeControl* content = panel.AddProbe(10, CRect(0, 0, 100, 300));
  panel.SetControlRect(CRect(0, 0, 100, 100));
  panel.Vertical().SetScrollCurrentPos(150);

  CPoint pt(10, 10);
  EXPECT_EQ(1, panel.OnMousePointChange(pt));
  EXPECT_EQ(CPoint(10, 110), pt) << "the axis that fits is not shifted";
  panel.OnLButtonDown(0, CPoint(10, 10));
  EXPECT_EQ(std::vector<CPoint>{CPoint(10, 110)}, content->Points("ldown"));

  panel.SetEnableScroll(0);
  pt = CPoint(10, 10);
  EXPECT_EQ(0, panel.OnMousePointChange(pt));
  EXPECT_EQ(CPoint(10, 10), pt);
  EXPECT_EQ(0, panel.OnControlScroll(1, 1, CPoint(10, 10)));
}

TEST(MPanelTest, ChildrenAreDrawnOnlyWhileTheContentIsNotScrolled) {
  testsupport::DibSurface surface(120, 120, 0xFFFFFF);
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  auto* child = panel.Add<testsupport::SolidControl>(1, 10u, CRect(10, 10, 50, 200), RGB(255, 0, 0));
  panel.SetControlRect(CRect(0, 0, 100, 100));
  HDC dc = surface.dc();

  panel.Draw(dc, CRect(0, 0, 120, 120));
  EXPECT_EQ(0, child->renders.load()) << "overflowing content is the derived panel's to draw";
  EXPECT_EQ(0xFFFFFFu, surface.Pixel(20, 20));
  EXPECT_EQ(0xFFFFFFu, surface.Pixel(97, 10)) << "not even the bars";

  panel.SetEnableScroll(0);
  panel.Draw(dc, CRect(0, 0, 120, 120));
  EXPECT_EQ(1, child->renders.load());
  EXPECT_EQ(0xFF0000u, surface.Pixel(20, 20));
}

TEST(MPanelTest, ChildNotificationsReachTheOwnerUnchanged) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  ProbeControl* child = panel.AddProbe(7, CRect(0, 0, 10, 10));
  EXPECT_EQ(1, child->SendMessageW(NOTIFY_CLICKED, 11, 22)) << "the owner's result comes back";
  ASSERT_EQ(1u, owner.messages.size());
  EXPECT_EQ(7u, owner.messages[0].id);
  EXPECT_EQ(UINT(NOTIFY_CLICKED), owner.messages[0].code);
  EXPECT_EQ(WPARAM(11), owner.messages[0].wParam);
  EXPECT_EQ(LPARAM(22), owner.messages[0].lParam);
}

TEST(MPanelTest, EnablingFlipsDirectChildrenOnlyAndRepaintsTheVisibleOnes) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  ProbeControl* shown = panel.AddProbe(10, CRect(0, 0, 20, 20));
  ProbeControl* grandchild = shown->AddChild(20, CRect(0, 0, 5, 5));
  ProbeControl* hidden = panel.AddProbe(11, CRect(30, 0, 50, 20), 0);
  ProbeControl* alreadyOff = panel.AddProbe(12, CRect(60, 0, 80, 20), 1, 0);
  panel.SetControlRect(CRect(0, 0, 100, 100));
  panel.updates.clear();

  panel.SetControlEnabled(0);
  EXPECT_EQ(0, panel.IsEnabled());
  EXPECT_EQ(0, shown->IsEnabled());
  EXPECT_EQ(0, hidden->IsEnabled());
  EXPECT_EQ(0, alreadyOff->IsEnabled());
  EXPECT_EQ(1, grandchild->IsEnabled()) << "grandchildren keep their flags";
  EXPECT_EQ(0, panel.Vertical().IsEnabled()) << "the bars are children too";
  ASSERT_EQ(1u, panel.updates.size()) << "only the visible child whose flag changed";
  EXPECT_EQ(shown, panel.updates[0].control);
  EXPECT_EQ(shown->GetRect(), panel.updates[0].rect);
  EXPECT_EQ(1, panel.updates[0].redraw);
}

TEST(MPanelTest, OneWheelNotchMovesOneRowAndRepaintsPanelAndBar) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  panel.AddProbe(10, CRect(0, 0, 100, 300));
  panel.SetControlRect(CRect(0, 0, 100, 100));
  panel.updates.clear();

  EXPECT_EQ(1, panel.OnScroll(1, 1, CPoint(50, 50))) << "towards the user";
  EXPECT_EQ(10, panel.Vertical().GetScrollCurrentPos()) << "one row is the bar's step";
  ASSERT_EQ(1u, owner.updates.size());
  EXPECT_EQ(&panel, owner.updates[0].control);
  EXPECT_EQ(CRect(0, 0, 100, 100), owner.updates[0].rect);
  EXPECT_EQ(1, owner.updates[0].redraw);
  ASSERT_EQ(1u, panel.updates.size());
  EXPECT_EQ(&panel.Vertical(), panel.updates[0].control);
  EXPECT_EQ(panel.Vertical().GetRect(), panel.updates[0].rect);
  EXPECT_EQ(1, panel.updates[0].redraw);

  EXPECT_EQ(1, panel.OnControlScroll(1, 0, CPoint(50, 50)));
  EXPECT_EQ(0, panel.Vertical().GetScrollCurrentPos());
  owner.updates.clear();
  panel.updates.clear();
  EXPECT_EQ(1, panel.OnControlScroll(1, 0, CPoint(50, 50))) << "at the top the wheel is still taken";
  EXPECT_TRUE(owner.updates.empty()) << "no movement, no repaint";
  EXPECT_TRUE(panel.updates.empty());
  EXPECT_TRUE(owner.messages.empty()) << "wheel scrolling sends no notification";

  OpenPanel fitting(&owner, CRect(0, 0, 100, 100));
  fitting.AddProbe(10, CRect(0, 0, 100, 50));
  fitting.SetControlRect(CRect(0, 0, 100, 100));
  EXPECT_EQ(0, fitting.OnControlScroll(1, 1, CPoint(50, 50))) << "content that fits does not scroll";
}

// A redraw request re-renders the requester and every later visible sibling that overlaps
// it, once the panel is initialised.
TEST(MPanelTest, RedrawRequestInvalidatesLaterOverlappingSiblings) {
  RecordingOwner owner;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  ProbeControl* before = panel.AddProbe(10, CRect(0, 0, 40, 40));
  ProbeControl* requester = panel.AddProbe(11, CRect(10, 10, 50, 50));
  ProbeControl* over = panel.AddProbe(12, CRect(40, 40, 60, 60));
  ProbeControl* apart = panel.AddProbe(13, CRect(70, 70, 90, 90));
  ProbeControl* hiddenOver = panel.AddProbe(14, CRect(20, 20, 30, 30), 0);
  const std::vector<ProbeControl*> all = {before, requester, over, apart, hiddenOver};
  auto validAll = [&] {
    for (ProbeControl* c : all) c->SetUpdate(1, 0);
  };

  validAll();
  EXPECT_EQ(0, panel.OnControlUpdate(requester->GetRect(), 1, requester));
  EXPECT_EQ(0, requester->GetUpdate());
  EXPECT_EQ(1, over->GetUpdate()) << "before InitControl siblings are not looked at";

  panel.InitControl(nullptr);
  validAll();
  panel.OnControlUpdate(requester->GetRect(), 1, requester);
  const struct {
    ProbeControl* control;
    int valid;
    const char* name;
  } expected[] = {
      {before, 1, "earlier sibling"},       {requester, 0, "requester"},  {over, 0, "later overlapping sibling"},
      {apart, 1, "later sibling elsewhere"}, {hiddenOver, 1, "hidden sibling"},
  };
  for (const auto& e : expected) EXPECT_EQ(e.valid, e.control->GetUpdate()) << e.name;

  validAll();
  panel.OnControlUpdate(requester->GetRect(), 0, requester);
  EXPECT_EQ(1, requester->GetUpdate()) << "redraw 0 keeps the requester's drawing";
  EXPECT_EQ(0, panel.OnControlUpdate(CRect(), 1, nullptr));
}

class MPanelFactoryTest : public ::testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  RecordingOwner owner;
};

TEST_F(MPanelFactoryTest, AdoptedControlsGetThePanelsManagerAndTheListOfTheirKind) {
  PaintManager engine;
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  auto* orphan = panel.Add<ProbeControl>(1, 10u, CRect(0, 0, 10, 10));
  EXPECT_EQ(0, orphan->initCount) << "a panel without a manager gives none";

  panel.SetManager(&engine);
  EXPECT_EQ(&engine, panel.Vertical().GetManager()) << "the bars get the manager with the panel";
  EXPECT_EQ(&engine, panel.Horizontal().GetManager());
  EXPECT_EQ(0, orphan->initCount) << "earlier children stay without one";

  const int children = panel.ChildCount(), areas = panel.AreaCount();
  auto* area = panel.Add<ProbeControl>(0, 11u, CRect(0, 0, 10, 10));
  auto* child = panel.Add<ProbeControl>(1, 12u, CRect(0, 0, 10, 10));
  std::unique_ptr<ProbeControl> unlisted(panel.Add<ProbeControl>(2, 13u, CRect(0, 0, 10, 10)));
  for (ProbeControl* c : {area, child, unlisted.get()}) {
    EXPECT_EQ(1, c->initCount);
    EXPECT_EQ(&engine, c->initManager);
    EXPECT_EQ(&engine, c->GetManager());
  }
  EXPECT_EQ(areas + 1, panel.AreaCount());
  EXPECT_EQ(children + 1, panel.ChildCount());
  EXPECT_EQ(area, panel.GetControl(11));
  EXPECT_EQ(nullptr, panel.AdoptControl(1, nullptr));
  unlisted.reset();  // before the engine goes
}

TEST_F(MPanelFactoryTest, EmptyOrUnknownNamesCreateNothing) {
  OpenPanel panel(&owner, CRect(0, 0, 100, 100));
  const int children = panel.ChildCount(), areas = panel.AreaCount();
  for (const wchar_t* name : {L"", static_cast<const wchar_t*>(nullptr), L"NoSuchControl", L"mlistbox", L"MPanel"}) {
    EXPECT_EQ(nullptr, panel.CreateControl(1, &panel, name, 30, CRect(), L"", 1, 1));
    EXPECT_EQ(nullptr, panel.CreateControl(name, 30, CRect(), L"", 1, 1));
    EXPECT_EQ(nullptr, panel.CreateArea(name, 30, CRect(), L"", 1, 1));
  }
  EXPECT_EQ(children, panel.ChildCount());
  EXPECT_EQ(areas, panel.AreaCount());
}

// The library's strips: vertical 24 x 24 in three columns, horizontal 24 x 32 in four rows.
// The test program has a PNG 101 of its own, which must not be taken for the library's.
TEST_F(MPanelFactoryTest, BarsLoadTheLibrarysStripsWhenThePanelGetsAWindowsManager) {
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"panel", WS_POPUP, 0, CRect(0, 0, 200, 200)));
  {
    OpenPanel panel(&host, CRect(0, 0, 100, 100));
    panel.SetManager(&host.engine);
    EXPECT_EQ(CSize(8, 24), panel.Vertical().GetImageSize());
    EXPECT_EQ(CSize(24, 8), panel.Horizontal().GetImageSize());
  }
  host.DestroyWindow();
}

// The names a panel's factory may know, in its order of comparison.
const wchar_t* const kPanelClassNames[] = {
    L"CArea",          L"MText",           L"MPicture",        L"CPhotoFrame",    L"CSliderPicture",
    L"CGifPicture",    L"MProgress",       L"MSlider",         L"MLevelCtrl",     L"MButton",
    L"CImageButton",   L"CTextButton",     L"CCheckButton",    L"CRadioButton",   L"CSelectButton",
    L"CColorButton",   L"MSpinButton",     L"CSpinButton",     L"CSwitchButton",  L"CIconButton",
    L"CTimerButton",   L"CHelpButton",     L"MEdit",           L"MRichEdit",      L"MEditEx",
    L"MComboBox",      L"MTabCtrl",        L"MTabLayout",      L"MListBox",       L"MPalette",
    L"CColorPalette",  L"CColorSelect",    L"CirclePalette",   L"MenuItem",       L"KeyboardCtrl",
    L"KeyFuncControl", L"KeyFuncControl2", L"CRecordList",     L"CDeviceCtrl",    L"CDeviceList",
    L"UpgradeButton",  L"DownloadButton",  L"KeyLayerButton",  L"BatteryCtrl",    L"ImageView",
    L"ColorView",      L"KeyDKSCtrl",      L"KeySOCDCtrl",     L"KeyStrokeCtrl",  L"KeyStrokeCtrl2",
    L"TachyonCtrl",    L"KeyFuncCtrl",     L"KeyFuncValue",    L"KeyDKSList",     L"KeyMTCtrl",
    L"CRoundArea",     L"ProfileList",     L"MListBoxEx",      L"CKeyTestCtrl",   L"KeyDKSCtrlEx",
    L"KeyFuncType",    L"KeyMenuFuncType", L"MImageButton",    L"MComboBox2",     L"KeyLayerCtrl",
    L"KeyTypeTab",     L"KeyValueList",    L"KeyboardTestCtrl", L"KeySwitchCtrl", L"LightTypeTab",
};

// The panel's table grows as control classes are built: only listed names, in order; each
// row builds a control with the caller's owner, id and place, and a class that the engine
// also knows is built by the very same row there (the same arguments in both factories).
TEST_F(MPanelFactoryTest, PanelTableKnowsOnlyTheListedClassesInOrderAndAgreesWithTheEngine) {
  static_assert(std::size(kPanelClassNames) == 70, "the panel factory lists 70 classes");
  size_t next = 0;
  for (const ControlClass& row : PanelControlClasses()) {
    const CString name(row.name);
    size_t at = next;
    while (at < std::size(kPanelClassNames) && std::wcscmp(kPanelClassNames[at], row.name) != 0) ++at;
    ASSERT_LT(at, std::size(kPanelClassNames)) << "unlisted, repeated or out of order: " << name.GetString();
    next = at + 1;
    for (const ControlClass& engineRow : EngineControlClasses()) {
      if (std::wcscmp(engineRow.name, row.name) == 0) {
        EXPECT_EQ(engineRow.construct, row.construct) << name.GetString();
      }
    }
    OpenPanel panel(&owner, CRect(0, 0, 100, 100));
    MControl* control = panel.CreateControl(row.name, 77, CRect(1, 2, 3, 4), L"t", 1, 1);
    ASSERT_NE(nullptr, control) << name.GetString();
    EXPECT_EQ(77u, control->GetControlID()) << name.GetString();
    EXPECT_EQ(CRect(1, 2, 3, 4), control->GetRect()) << name.GetString();
    EXPECT_EQ(&panel, control->GetParantObject()) << name.GetString();
    EXPECT_EQ(control, panel.GetControl(77)) << name.GetString();
  }
}

TEST(MPanelLayoutTest, PanelOperationsFollowMControlFonts) {
  using testsupport::VirtualSlot;
  using CreateByKind = MControl* (MPanel::*)(UINT, MObject*, const wchar_t*, UINT, CRect, const wchar_t*, int, int);
  using CreateChild = MControl* (MPanel::*)(const wchar_t*, UINT, CRect, const wchar_t*, int, int);
  const auto last = VirtualSlot(&MControlFont::GetControlTitle);
  EXPECT_EQ(last + 1, VirtualSlot(&MPanel::CreateArea));
  EXPECT_EQ(last + 2, VirtualSlot(static_cast<CreateByKind>(&MPanel::CreateControl)));
  EXPECT_EQ(last + 3, VirtualSlot(static_cast<CreateChild>(&MPanel::CreateControl)));
  EXPECT_EQ(last + 4, VirtualSlot(&MPanel::OnControlKeyUp));
}

}  // namespace
