#include "ui/core/PaintManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/MControl.h"
#include "ui/core/MWindow.h"

using testsupport::ProbeControl;
using testsupport::RecordingOwner;
using testsupport::TickCounter;
using TESK::ControlClass;
using TESK::ControlCreateArgs;
using TESK::MControl;
using TESK::PaintManager;

namespace {

// The engine with its factory's last step and its tick id within reach of the tests.
class TestEngine : public PaintManager {
public:
  using PaintManager::AttachControl;
  void SetTickId(UINT id) { m_mTimerId = id; }
  size_t TickCount() const { return m_tickControls.size(); }
  size_t AreaCount() const { return m_areas.size(); }
};

// A window hosting an engine, as the dialogs do: bound after creation, torn down at the
// window's last message.
class HostWindow : public TESK::MWindow, public TESK::MObject {
public:
  int OnInitDialog() override {
    engine.Init(m_hWnd, this);
    return 1;
  }
  void OnDestroyMessage(HWND hwnd) override { engine.OnDestroyMessage(hwnd); }

  TestEngine engine;
};

class PaintManagerTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host.Create(nullptr, L"host", WS_POPUP, 0, CRect(0, 0, 200, 200)));
  }
  void TearDown() override { host.DestroyWindow(); }

  // A probe attached as the factory attaches, sharing the test's journal.
  ProbeControl* Attach(UINT kind, UINT id, CRect rect = CRect(0, 0, 100, 100)) {
    auto* probe = new ProbeControl(&host, id, rect);
    probe->journal = &journal;
    host.engine.AttachControl(kind, probe);
    return probe;
  }

  testsupport::ProgramInstance instance;
  std::vector<std::string> journal;  // outlives the host, whose controls write to it
  HostWindow host;
};

// The names the window engine's factory may know, in its order of comparison.
const wchar_t* const kEngineClassNames[] = {
    L"CArea",           L"MText",          L"MPicture",       L"CPhotoFrame",     L"CSliderPicture",
    L"CGifPicture",     L"MProgress",      L"MSlider",        L"MLevelCtrl",      L"MButton",
    L"CImageButton",    L"CTextButton",    L"CCheckButton",   L"CRadioButton",    L"CSelectButton",
    L"CColorButton",    L"MSpinButton",    L"CSpinButton",    L"CSwitchButton",   L"CIconButton",
    L"CTimerButton",    L"CHelpButton",    L"MEdit",          L"MRichEdit",       L"MEditEx",
    L"MComboBox",       L"MTabCtrl",       L"MTabLayout",     L"MListBox",        L"MPalette",
    L"CColorPalette",   L"CColorSelect",   L"CirclePalette",  L"CComboBoxList",   L"MenuItem",
    L"KeyboardCtrl",    L"CDeviceCtrl",    L"TextCheckButton", L"CTextArea",      L"BatteryCtrl",
    L"KeyFuncType",     L"KeyMenuFuncType", L"KeyDKSCtrl",    L"KeySOCDCtrl",     L"KeyStrokeCtrl",
    L"TachyonCtrl",     L"KeyFuncCtrl",    L"KeyFuncValue",   L"KeyDKSList",      L"KeyMTCtrl",
    L"CRoundArea",      L"ProfileList",    L"MImageButton",   L"MComboBox2",      L"KeyTypeTab",
    L"KeyFuncControl2", L"KeyValueList",   L"KeyboardTestCtrl", L"KeyLayerCtrl",
};

// The engine's table grows as control classes are built; it never knows a name that is not
// listed, never out of order, and every row builds a control with the caller's id and place.
TEST(ControlFactoryTest, EngineTableKnowsOnlyTheListedClassesInOrder) {
  static_assert(std::size(kEngineClassNames) == 59, "the engine factory lists 59 classes");
  RecordingOwner owner;
  size_t next = 0;
  for (const ControlClass& row : TESK::EngineControlClasses()) {
    size_t at = next;
    while (at < std::size(kEngineClassNames) && std::wcscmp(kEngineClassNames[at], row.name) != 0) ++at;
    ASSERT_LT(at, std::size(kEngineClassNames))
        << "unlisted, repeated or out of order: " << CString(row.name).GetString();
    next = at + 1;
    std::unique_ptr<MControl> control(row.construct(ControlCreateArgs{&owner, 77, CRect(1, 2, 3, 4), L"t", 1, 1}));
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(77u, control->GetControlID());
    EXPECT_EQ(CRect(1, 2, 3, 4), control->GetRect());
  }
}

// Constructors of the shapes the factories use, recording what they were given.
struct Given {
  CString title;
  int visible = -1;
  int enabled = -1;
  int type = -1;
};
Given g_given;

// The type argument of the controls that draw horizontally (0) or vertically (1).
enum ShapeType { SHAPE_HORIZONTAL = 0, SHAPE_VERTICAL = 1 };

class ShapedProbe : public ProbeControl {
public:
  ShapedProbe(TESK::MObject* owner, UINT id, CRect rect, int visible) : ProbeControl(owner, id, rect, visible) {
    g_given = {L"", visible, -1};
  }
  ShapedProbe(TESK::MObject* owner, UINT id, CRect rect, int visible, int enabled)
      : ProbeControl(owner, id, rect, visible, enabled) {
    g_given = {L"", visible, enabled};
  }
  ShapedProbe(TESK::MObject* owner, UINT id, CRect rect, int visible, int enabled, ShapeType type)
      : ProbeControl(owner, id, rect, visible, enabled) {
    g_given = {L"", visible, enabled, type};
  }
  ShapedProbe(TESK::MObject* owner, UINT id, CRect rect, CString title, int visible)
      : ProbeControl(owner, id, rect, visible) {
    g_given = {title, visible, -1};
  }
  ShapedProbe(TESK::MObject* owner, UINT id, CRect rect, CString title, int visible, int enabled)
      : ProbeControl(owner, id, rect, visible, enabled) {
    g_given = {title, visible, enabled};
  }
};

TEST(ControlFactoryTest, LookupIsExactAndRowsPassTheirArgumentShapes) {
  const ControlClass rows[] = {
      {L"Visible", &TESK::NewVisible<ShapedProbe>},
      {L"VisibleEnabled", &TESK::NewVisibleEnabled<ShapedProbe>},
      {L"VisibleOne", &TESK::NewVisibleOne<ShapedProbe>},
      {L"VisibleOneType", &TESK::NewVisibleOneType<ShapedProbe, ShapeType, SHAPE_VERTICAL>},
      {L"TitleVisible", &TESK::NewTitleVisible<ShapedProbe>},
      {L"TitleVisibleEnabled", &TESK::NewTitleVisibleEnabled<ShapedProbe>},
      {L"TitleVisibleOne", &TESK::NewTitleVisibleOne<ShapedProbe>},
  };
  const TESK::ControlClassTable table{rows, std::size(rows)};
  RecordingOwner owner;
  const ControlCreateArgs args{&owner, 5, CRect(0, 0, 9, 9), L"caption", 1, 0};
  struct Case {
    const wchar_t* name;
    const wchar_t* title;
    int visible;
    int enabled;
    int type = -1;
  } cases[] = {
      {L"Visible", L"", 1, -1},          {L"VisibleEnabled", L"", 1, 0},
      {L"VisibleOne", L"", 1, 1},        {L"VisibleOneType", L"", 1, 1, SHAPE_VERTICAL},
      {L"TitleVisible", L"caption", 1, -1},
      {L"TitleVisibleEnabled", L"caption", 1, 0}, {L"TitleVisibleOne", L"caption", 1, 1},
  };
  for (const Case& t : cases) {
    g_given = {};
    std::unique_ptr<MControl> control(TESK::ConstructControl(table, t.name, args));
    ASSERT_NE(nullptr, control) << CString(t.name).GetString();
    EXPECT_EQ(CString(t.title), g_given.title) << CString(t.name).GetString();
    EXPECT_EQ(t.visible, g_given.visible) << CString(t.name).GetString();
    EXPECT_EQ(t.enabled, g_given.enabled) << CString(t.name).GetString();
    EXPECT_EQ(t.type, g_given.type) << CString(t.name).GetString();
  }
  const int before = ProbeControl::s_alive;
  for (const wchar_t* name : {L"visible", L"Visible ", L"", static_cast<const wchar_t*>(nullptr), L"Unknown"}) {
    EXPECT_EQ(nullptr, TESK::ConstructControl(table, name, args));
  }
  EXPECT_EQ(before, ProbeControl::s_alive) << "nothing is constructed for a name that does not match";
}

TEST_F(PaintManagerTest, CreateControlWithAnUnknownNameGivesNullAndListsNothing) {
  TestEngine& engine = host.engine;
  for (const wchar_t* name : {L"NoSuchControl", L"marea", L"", static_cast<const wchar_t*>(nullptr)}) {
    EXPECT_EQ(nullptr, engine.CreateControl(1, &host, name, 1, CRect(), L"", 1, 1));
    EXPECT_EQ(nullptr, engine.CreateArea(&host, name, 1, CRect(), L"", 1, 1));
    EXPECT_EQ(nullptr, engine.CreateControl(&host, name, 1, CRect(), L"", 1, 1));
  }
  EXPECT_TRUE(engine.GetControls()->empty());
  EXPECT_EQ(0u, engine.AreaCount());
}

TEST_F(PaintManagerTest, AttachingPutsTheControlWhereItsKindSaysAndInitialisesItOnce) {
  TestEngine& engine = host.engine;
  ProbeControl* area = Attach(0, 1);
  ProbeControl* control = Attach(1, 2);
  std::unique_ptr<ProbeControl> loose(Attach(2, 3));
  for (ProbeControl* probe : {area, control, loose.get()}) {
    EXPECT_EQ(&engine, probe->GetManager());
    EXPECT_EQ(1, probe->initCount);
    EXPECT_EQ(&engine, probe->initManager);
  }
  EXPECT_EQ(1u, engine.AreaCount());
  EXPECT_EQ(std::vector<MControl*>{control}, *engine.GetControls());
  EXPECT_EQ(area, engine.GetControl(1));
  EXPECT_EQ(nullptr, engine.GetControl(3)) << "kind 2 is in neither list";
}

TEST(PaintManagerInitTest, InitBindsOnlyALiveWindow) {
  testsupport::ProgramInstance instance;
  PaintManager engine;
  EXPECT_EQ(0u, engine.GetScrollVID());
  EXPECT_EQ(0u, engine.GetScrollHID());

  TESK::MWindow window;
  HWND hwnd = window.Create(nullptr);
  ASSERT_NE(nullptr, hwnd);
  window.DestroyWindow();
  engine.Init(hwnd, &window);
  engine.Init(nullptr, &window);
  EXPECT_EQ(nullptr, engine.GetPaintWnd());
  EXPECT_EQ(nullptr, engine.GetMDialog());
  EXPECT_EQ(0u, engine.GetScrollVID());

  // The fonts folder beside the test program does not exist: nothing to load, no error.
  hwnd = window.Create(nullptr);
  engine.Init(hwnd, &window);
  EXPECT_EQ(hwnd, engine.GetPaintWnd());
  EXPECT_EQ(&window, engine.GetMDialog());
  EXPECT_NE(nullptr, engine.GetPaintDC());
  EXPECT_EQ(102u, engine.GetScrollVID());
  EXPECT_EQ(101u, engine.GetScrollHID());
  window.DestroyWindow();
}

TEST_F(PaintManagerTest, GetControlAndRemoveControlWalkTheControlsFirst) {
  TestEngine& engine = host.engine;
  ProbeControl* first = Attach(1, 5);
  ProbeControl* nested = first->AddChild(7, CRect());
  Attach(1, 7);
  ProbeControl* area = Attach(0, 5);
  EXPECT_EQ(nested, engine.GetControl(7)) << "a child of an earlier control before a later control";
  EXPECT_EQ(first, engine.GetControl(5)) << "controls before areas";

  engine.RemoveControl(area);
  engine.RemoveControl(nullptr);
  EXPECT_EQ(2u, engine.GetControls()->size());
  EXPECT_EQ(1u, engine.AreaCount());
  EXPECT_TRUE(journal.empty());

  engine.SetFocusControl(first);
  journal.clear();
  engine.RemoveControl(first);
  EXPECT_EQ((std::vector<std::string>{"5 focus 0", "7 focus 0", "5 destroyed", "7 destroyed"}), journal)
      << "the focus is taken before the control goes, with its subtree";
  EXPECT_EQ(nullptr, engine.GetFocusControl());
  EXPECT_EQ(1u, engine.GetControls()->size());
}

TEST_F(PaintManagerTest, PressHandsTheFocusOverAndDeletionForgetsIt) {
  TestEngine& engine = host.engine;
  ProbeControl* x = Attach(1, 1, CRect(0, 0, 50, 50));
  ProbeControl* y = Attach(1, 2, CRect(60, 0, 100, 50));
  ProbeControl* inner = y->AddChild(3, CRect(60, 0, 80, 20));

  x->OnLButtonDown(0, CPoint(5, 5));
  EXPECT_EQ(x, engine.GetFocusControl());
  inner->OnLButtonDown(0, CPoint(65, 5));
  EXPECT_EQ(inner, engine.GetFocusControl());
  EXPECT_EQ((std::vector<std::string>{"1 focus 1", "1 ldown", "1 focus 0", "3 focus 1", "3 ldown"}), journal);

  // Deleting the parent deletes the focused descendant: the engine forgets it.
  engine.RemoveControl(y);
  EXPECT_EQ(nullptr, engine.GetFocusControl());
  engine.AddMTimer(x);
  x->RemoveControl(nullptr);
  engine.ClearControls();
  EXPECT_EQ(0u, engine.TickCount()) << "tick registrations go with the control";
}

TEST_F(PaintManagerTest, TicksReachRunningVisibleControlsOfTheirOwnTimerOnly) {
  TestEngine& engine = host.engine;
  ProbeControl* running = Attach(1, 1);
  ProbeControl* idle = Attach(1, 2);
  ProbeControl* hidden = Attach(1, 3);
  ProbeControl* twice = Attach(1, 4);
  for (ProbeControl* probe : {running, idle, hidden, twice}) probe->AddMTimer();
  twice->AddMTimer();
  running->SetRunTimer(1);
  hidden->SetRunTimer(1);
  hidden->SetVisible(0, 0);
  twice->SetRunTimer(1);
  engine.SetTickId(42);

  engine.OnMTimer(41);
  EXPECT_TRUE(journal.empty()) << "another timer's tick";
  engine.OnMTimer(42);
  EXPECT_EQ((std::vector<std::string>{"1 timer", "4 timer", "4 timer"}), journal);

  EXPECT_EQ(1, engine.DeleteFSTimer(twice));
  EXPECT_EQ(1, engine.DeleteFSTimer(twice));
  EXPECT_EQ(0, engine.DeleteFSTimer(twice));
}

TEST_F(PaintManagerTest, TeardownDeletesEveryControlOnceAndIsHarmlessTwice) {
  TestEngine& engine = host.engine;
  ProbeControl::ResetCounts();
  const int aliveBefore = ProbeControl::s_alive;
  ProbeControl* a = Attach(1, 1);
  a->AddChild(2, CRect())->AddChild(3, CRect());
  a->AddArea(4, CRect())->AddChild(5, CRect());
  ProbeControl* area = Attach(0, 6);
  area->AddChild(7, CRect());
  Attach(1, 8)->AddMTimer();
  engine.SetFocusControl(a);
  journal.clear();

  host.DestroyWindow();
  EXPECT_EQ(8, ProbeControl::s_destroyed);
  EXPECT_EQ(aliveBefore, ProbeControl::s_alive);
  EXPECT_TRUE(engine.GetControls()->empty());
  EXPECT_EQ(0u, engine.AreaCount());
  EXPECT_EQ(nullptr, engine.GetFocusControl());
  EXPECT_EQ(0u, engine.TickCount());
  for (const std::string& entry : journal) {
    EXPECT_NE(std::string::npos, entry.find("destroyed")) << "called during teardown: " << entry;
  }

  engine.DestroyData();
  engine.ClearAllControls();
  EXPECT_EQ(8, ProbeControl::s_destroyed);
}

// Controls come and go while the multimedia timer ticks them on its own thread.
TEST_F(PaintManagerTest, RemovingControlsWhileTicksRunNeverTicksADeletedControl) {
  TestEngine& engine = host.engine;
  engine.SetMTimer(1);
  for (int round = 0; round < 100; ++round) {
    auto* counter = new TickCounter(&host, 1, CRect(0, 0, 10, 10));
    engine.AttachControl(1, counter);
    counter->SetRunTimer(1);
    counter->AddMTimer();
    Sleep(round % 3);
    engine.RemoveControl(counter);
  }
  engine.KillMTimer();
  EXPECT_GT(TickCounter::s_ticks.load(), 0) << "the timer ticked the controls";
  EXPECT_EQ(0, TickCounter::s_lateTicks.load());
}

}  // namespace
