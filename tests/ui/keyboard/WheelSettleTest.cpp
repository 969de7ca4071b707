// The settling of the controls set with the mouse wheel: notches report at once where the
// wheel changes a value, and one NOTIFY_CLICKED follows on the window's thread once 200 ms
// have passed without a notch, carried by the window's multimedia ticks. A control removed
// before that call runs is not notified.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/MControl.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyStrokeCtrl.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::HostEvent;
using testsupport::NotifyLine;

namespace {

constexpr UINT kId = 60;
const CRect kPlace(10, 10, 510, 110);
const CPoint kOver(200, 60);

struct WheelCase {
  const wchar_t* className;
  // The actuation after each of three notches towards the user; none where the wheel
  // changes nothing.
  std::vector<int> changes;
};

const WheelCase kCases[] = {
    {L"KeyStrokeCtrl", {21, 22, 23}},
    {L"KeyStrokeCtrl2", {21, 22, 23}},
    {L"KeySwitchCtrl", {}},
};

class WheelSettleTest : public testing::TestWithParam<WheelCase> {
protected:
  WheelSettleTest() : host(520, 120) {}
  // The control on a page panel, which knows every class here.
  MControl* Make() {
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    if (!page) return nullptr;
    MControl* control = page->CreateControl(GetParam().className, kId, kPlace, L"", 1, 1);
    if (auto* stroke = dynamic_cast<KeyStrokeBase*>(control)) {
      // Limit 200 in both pictures, so three notches from 20 go freely deeper.
      if (auto* column = dynamic_cast<KeyStrokeCtrl*>(stroke)) column->SetKeyStrokeInfo(0, 200);
      if (auto* bar = dynamic_cast<KeyStrokeCtrl2*>(stroke)) bar->SetKeyStrokeInfo(0, 400);
    }
    return control;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_P(WheelSettleTest, NotchesReportAndOneClickFollowsOnTheWindowsThread) {
  MControl* control = Make();
  ASSERT_NE(nullptr, control);
  host.SetMTimer(16);
  control->AddMTimer();
  host.Wheel(kOver, -120);
  host.Wheel(kOver, -120);
  const testsupport::ElapsedTime sinceLastNotch;
  host.Wheel(kOver, -120);
  std::vector<std::string> expected;
  for (int actuation : GetParam().changes) expected.push_back(NotifyLine(kId, NOTIFY_CHANGING, 0, actuation));
  EXPECT_EQ(expected, host.Notifications()) << "at once";

  expected.push_back(NotifyLine(kId, NOTIFY_CLICKED, 0, 0));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return host.Notifications().size() == expected.size(); }, 2000));
  const double settledAfter = sinceLastNotch.Ms();
  EXPECT_GE(settledAfter, 200.0);
  EXPECT_LT(settledAfter, 1000.0);
  const HostEvent settled = host.Events().back();
  EXPECT_EQ(GetCurrentThreadId(), settled.thread) << "handed to the window's thread";
  testsupport::PumpFor(300);
  EXPECT_EQ(expected, host.Notifications()) << "one click, and no more without a notch";
}

TEST_P(WheelSettleTest, AControlRemovedBeforeTheClickRunsIsNotNotified) {
  MControl* control = Make();
  ASSERT_NE(nullptr, control);
  control->AddMTimer();
  host.Wheel(kOver, 120);
  Sleep(250);
  host.ClearJournal();
  host.Tick();  // posts the click to the window's thread
  auto* page = dynamic_cast<MTabLayout*>(host.GetControl(9));
  ASSERT_NE(nullptr, page);
  page->RemoveControl(control);
  testsupport::PumpFor(100);
  EXPECT_TRUE(host.Notifications().empty());
}

INSTANTIATE_TEST_SUITE_P(Controls, WheelSettleTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WheelCase>& info) {
                           std::string name;
                           for (const wchar_t* c = info.param.className; *c; ++c) name += static_cast<char>(*c);
                           return name;
                         });

}  // namespace
