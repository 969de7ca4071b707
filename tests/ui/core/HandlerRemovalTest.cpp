// Controls removed or deleted from inside handlers while the window's multimedia timer ticks
// every millisecond: nothing deadlocks, nothing runs on freed memory (a crash ends the test
// process), a removed control is freed only after the handlers on the stack returned, and
// the engine keeps no pointer to a control that went.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "Watchdog.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/core/HandlerScope.h"
#include "ui/core/MPanel.h"

using testsupport::ProbeControl;
using testsupport::RecordingOwner;
using testsupport::TickCounter;
using TESK::MControl;

namespace {

constexpr int kRounds = 25;
constexpr DWORD kScenarioLimitMs = 30000;

// Controls that say when they go.
template <typename Base>
class Counted : public Base {
public:
  using Base::Base;
  ~Counted() override {
    if (gone) *gone = true;
  }
  bool* gone = nullptr;
};
using CountedTabs = Counted<TESK::MTabCtrl>;
using CountedBar = Counted<TESK::CScrollVertical>;

class OpenPanel : public TESK::MPanel {
public:
  using MPanel::AdoptControl;
  using MPanel::MPanel;
};

class HandlerRemovalTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host.Create(nullptr, L"removal", WS_POPUP, 0, CRect(0, 0, 400, 300)));
    owner.forwardUpdates = &host;
    // A ticking container with a ticking child beside every scenario: each tick walks a
    // child list on the timer thread.
    TickCounter* ticker = AttachTicking(1, CRect(350, 250, 400, 300));
    TickCounter* child = ticker->Append(new TickCounter(ticker, 2, CRect(350, 250, 360, 260)));
    child->SetRunTimer(1);
    child->handled = 0;
    host.engine.SetMTimer(1);
  }
  void TearDown() override {
    host.engine.KillMTimer();
    host.DestroyWindow();
  }

  // A container the timer ticks, as the engine's control kind; it leaves keys to others.
  TickCounter* AttachTicking(UINT id, CRect rect) {
    auto* control = new TickCounter(&host, id, rect);
    control->handled = 0;
    Attach(control);
    control->SetRunTimer(1);
    control->AddMTimer();
    return control;
  }
  template <typename Control>
  Control* Attach(Control* control) {
    host.engine.AttachControl(1, control);
    return control;
  }

  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(host.GetSafeHwnd(), msg, wParam, lParam);
  }
  void Press(CPoint pt) {
    host.engine.ArmTracking();
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  }
  void Key() { Send(WM_KEYDOWN, 'K', 0); }

  // Every control the engine reaches through its control list.
  std::set<const MControl*> Tree() {
    std::set<const MControl*> tree;
    std::vector<MControl*> pending = *host.engine.GetControls();
    while (!pending.empty()) {
      MControl* control = pending.back();
      pending.pop_back();
      tree.insert(control);
      for (MControl* child : control->GetControls()) pending.push_back(child);
    }
    return tree;
  }

  void ExpectNoFreedPointer(const std::string& scenario) {
    const std::set<const MControl*> tree = Tree();
    const auto known = [&tree](const MControl* c) { return !c || tree.count(c) != 0; };
    EXPECT_TRUE(known(host.engine.GetHoverControl())) << scenario << ": hover";
    EXPECT_TRUE(known(host.engine.GetFocusControl())) << scenario << ": focus";
    {
      TESK::CriticalSectionLock ticks(host.engine.GetTickLock());
      for (const MControl* c : host.engine.m_tickControls) EXPECT_TRUE(known(c)) << scenario << ": tick list";
    }
    for (const auto* record : host.engine.m_timerRecords) {
      EXPECT_TRUE(known(record->control)) << scenario << ": window timers";
    }
    for (const MControl* c : tree) {
      if (const auto* probe = dynamic_cast<const ProbeControl*>(c)) {
        EXPECT_TRUE(known(probe->CurrentChild())) << scenario << ": a container's current child";
      }
    }
  }

  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
  RecordingOwner owner;  // the owner of the strip and the bar, which deletes them
};

TEST_F(HandlerRemovalTest, HandlersRemoveControlsWhileTicksRun) {
  TESK::PaintManager& engine = host.engine;
  const struct {
    const char* name;
    std::function<void()> round;
  } scenarios[] = {
      {"a key handler removes a sibling",
       [&] {
         TickCounter* parent = AttachTicking(10, CRect(0, 0, 300, 200));
         ProbeControl* a = parent->AddChild(11, CRect(0, 0, 50, 50));
         ProbeControl* b = parent->AddChild(12, CRect(60, 0, 110, 50));
         DWORD bGone = 0;
         b->destroyedOn = &bGone;
         a->react = [&](const std::string& what) {
           if (what != "key") return;
           Sleep(2);  // long enough for a tick to start while the key is being routed
           parent->RemoveControl(b);
           EXPECT_EQ(0u, bGone) << "freed only after the handlers return";
         };
         Key();
         EXPECT_NE(0u, bGone);
         EXPECT_EQ(std::vector<MControl*>{a}, parent->GetControls());
         engine.RemoveControl(parent);
       }},
      {"a mouse handler removes itself",
       [&] {
         TickCounter* self = AttachTicking(20, CRect(0, 0, 50, 50));
         DWORD gone = 0;
         self->destroyedOn = &gone;
         self->react = [&](const std::string& what) {
           if (what == "ldown") engine.RemoveControl(self);
         };
         Press(CPoint(10, 10));
         EXPECT_NE(0u, gone);
         EXPECT_EQ(nullptr, engine.GetHoverControl());
       }},
      {"the owner deletes the tab strip inside NOTIFY_PRESSED",
       [&] {
         bool gone = false;
         auto* tabs = Attach(new CountedTabs(&owner, 30, CRect(0, 0, 300, 200), 1, 1));
         tabs->gone = &gone;
         tabs->SetTabCtrlHeight(24);
         tabs->InsertItem(100, L"a", nullptr, nullptr, -1, 100);
         tabs->InsertItem(101, L"b", nullptr, nullptr, -1, 100);
         tabs->EnableAnimateChangeTab(1);
         owner.react = [&](const RecordingOwner::Message& m) {
           if (m.code != TESK::NOTIFY_PRESSED) return;
           engine.RemoveControl(tabs);
           EXPECT_FALSE(gone) << "the strip stays valid until its handlers return";
         };
         Press(CPoint(150, 10));
         owner.react = nullptr;
         EXPECT_TRUE(gone);
       }},
      {"the owner deletes the scroll bar inside NOTIFY_CHANGING",
       [&] {
         bool gone = false;
         auto* bar = Attach(new CountedBar(&owner, 40, CRect(0, 0, 10, 200), 1));
         bar->gone = &gone;
         owner.react = [&](const RecordingOwner::Message& m) {
           if (m.code != TESK::NOTIFY_CHANGING) return;
           engine.RemoveControl(bar);
           EXPECT_FALSE(gone) << "the bar stays valid until its handlers return";
         };
         Press(CPoint(5, 150));  // a click on the track pages and reports
         owner.react = nullptr;
         EXPECT_TRUE(gone);
       }},
      {"a tick handler of one ticking control removes another",
       [&] {
         TickCounter* parent = AttachTicking(50, CRect(0, 0, 300, 200));
         auto* x = parent->Append(new TickCounter(parent, 51, CRect(0, 0, 50, 50)));
         auto* y = parent->Append(new TickCounter(parent, 52, CRect(60, 0, 110, 50)));
         x->SetRunTimer(1);
         y->SetRunTimer(1);
         DWORD goneOn = 0;
         y->destroyedOn = &goneOn;
         std::atomic<bool> fired{false};
         x->onTick = [&] {
           if (!fired.exchange(true)) parent->RemoveControl(y);
         };
         EXPECT_TRUE(testsupport::PumpUntil([&] { return goneOn != 0; }, 3000));
         EXPECT_EQ(GetCurrentThreadId(), goneOn) << "freed on the window's thread";
         EXPECT_EQ(std::vector<MControl*>{x}, parent->GetControls());
         engine.RemoveControl(parent);
       }},
      {"a panel's child removes the panel's other children",
       [&] {
         auto* panel = Attach(new OpenPanel(&host, 60, CRect(0, 0, 300, 200), 1));
         panel->SetRunTimer(1);
         panel->AddMTimer();
         ProbeControl* kept = nullptr;
         for (UINT id : {61u, 62u, 63u}) {
           auto* child = new ProbeControl(panel, id, CRect(0, 0, 50, 50));
           panel->AdoptControl(1, child);
           if (!kept) kept = child;
         }
         kept->react = [&](const std::string& what) {
           if (what != "key") return;
           Sleep(2);
           const std::vector<MControl*> children = panel->GetControls();
           for (MControl* child : children) {
             if (child != kept && child != panel->GetScrollVertical() && child != panel->GetScrollHorizontal()) {
               panel->RemoveControl(child);
             }
           }
         };
         Key();
         EXPECT_EQ((std::vector<MControl*>{panel->GetScrollVertical(), panel->GetScrollHorizontal(), kept}),
                   panel->GetControls());
         engine.RemoveControl(panel);
       }},
  };
  for (const auto& scenario : scenarios) {
    testsupport::Watchdog watchdog(kScenarioLimitMs, scenario.name);
    for (int round = 0; round < kRounds; ++round) {
      scenario.round();
      ExpectNoFreedPointer(scenario.name);
      if (HasFailure()) return;
    }
  }
  EXPECT_EQ(0, TickCounter::s_lateTicks.load()) << "no tick reached a deleted control";
}

// An engine that goes while controls it removed still wait (a window object deleted inside
// a handler): they leave it and are freed without it when the handlers have returned.
TEST(HandlerScopeTest, ControlsWaitingWhenTheirEngineGoesAreFreedWithoutIt) {
  RecordingOwner owner;
  auto* engine = new testsupport::OpenPaintManager();
  auto* probe = new ProbeControl(&owner, 1, CRect(0, 0, 10, 10));
  engine->AttachControl(1, probe);
  ProbeControl* child = probe->AddChild(2, CRect(0, 0, 5, 5));
  DWORD probeGone = 0, childGone = 0;
  probe->destroyedOn = &probeGone;
  child->destroyedOn = &childGone;
  {
    TESK::HandlerScope handler;
    engine->RemoveControl(probe);
    EXPECT_TRUE(probe->IsRemoved());
    delete engine;
    EXPECT_EQ(0u, probeGone) << "still waiting for the handler";
    EXPECT_EQ(nullptr, probe->GetManager());
    EXPECT_EQ(nullptr, child->GetManager());
  }
  EXPECT_NE(0u, probeGone);
  EXPECT_NE(0u, childGone);
}

}  // namespace
