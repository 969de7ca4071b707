// The performance page's key-travel bar, made through a page panel and driven by real input:
// the travel and dead zones as presses at known places show them, drags and releases, the
// bar's pixels, bad values from the program, and the device worker's live travel.
#include "ui/keyboard/KeyStrokeCtrl2.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::NotifyLine;

namespace {

constexpr UINT kId = 276;
constexpr DWORD kGround = 0x202020;
// The bar's control: its bar starts 20 px in, 60 px down; its press area runs 40 to 90 down.
const CRect kPlace(20, 40, 540, 140);
const int kBarLeft = kPlace.left + 20;
const int kBarY = kPlace.top + 63;

class KeyStrokeCtrl2Test : public testing::Test {
protected:
  KeyStrokeCtrl2Test() : host(560, 200) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
    bar = dynamic_cast<KeyStrokeCtrl2*>(page->CreateControl(L"KeyStrokeCtrl2", kId, kPlace, L"", 1, 1));
    ASSERT_NE(nullptr, bar);
  }
  // The press area is laid out by a paint.
  void Paint() {
    bar->SetUpdate(0, 0);
    host.Compose(surface);
  }
  // The actuation a click dx px right of the bar's left edge gives.
  int ClickAt(int dx) {
    Paint();
    host.Click(CPoint(kBarLeft + dx, kBarY));
    return bar->GetCurKeyActuation();
  }
  std::pair<int, int> Deadzones() const {
    std::pair<int, int> d(-1, -1);
    bar->GetDeadzoneValue(d.first, d.second);
    return d;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  testsupport::DibSurface surface{560, 200};
  KeyStrokeCtrl2* bar = nullptr;
};

TEST_F(KeyStrokeCtrl2Test, OnlyAPagePanelMakesIt) { EXPECT_EQ(nullptr, host.Add(L"KeyStrokeCtrl2", 4, kPlace)); }

// Limit 200 (a travel of 400), 2.05 px a step; the right end is the bar's last pixel.
TEST_F(KeyStrokeCtrl2Test, PressesShowTheTravelAndTheDeadZones) {
  constexpr int kRightEnd = 409;
  struct Case {
    const char* name;
    std::function<void(KeyStrokeCtrl2&)> set;
    int dx;
    int actuation;
    std::pair<int, int> deadzones;
  };
  const Case cases[] = {
      {"a press 205 px in is step 101", [](KeyStrokeCtrl2& b) { b.SetKeyStrokeInfo(3, 400); }, 205, 101, {0, 0}},
      {"the top is never shallower than 5", [](KeyStrokeCtrl2&) {}, 0, 5, {0, 0}},
      {"bottom rapid trigger (on at first) stays 10 above the bottom", [](KeyStrokeCtrl2&) {}, kRightEnd, 190, {0, 0}},
      {"dead zones shown: the upper bound is 200 - 20, less 10",
       [](KeyStrokeCtrl2& b) { b.SetDeadzoneValue(10, 20); }, kRightEnd, 170, {10, 20}},
      {"without bottom rapid trigger the upper bound itself",
       [](KeyStrokeCtrl2& b) { b.SetBottomrapidtriggerMode(0); }, kRightEnd, 180, {10, 20}},
      {"the top dead zone holds the shallow end", [](KeyStrokeCtrl2&) {}, 0, 10, {10, 20}},
      {"dead zones hidden: the whole travel, no top dead zone",
       [](KeyStrokeCtrl2& b) {
         b.ShowDeadZone(0);
         b.SetDeadzoneValue(10, 20);
       },
       kRightEnd, 200, {0, 0}},
      {"a shorter switch (332) lowers the limit to 166", [](KeyStrokeCtrl2& b) { b.SetKeyStrokeInfo(2, 332); },
       kRightEnd, 166, {0, 0}},
  };
  for (const Case& c : cases) {
    c.set(*bar);
    EXPECT_EQ(c.actuation, ClickAt(c.dx)) << c.name;
    EXPECT_EQ(c.deadzones, Deadzones()) << c.name;
  }
}

TEST_F(KeyStrokeCtrl2Test, ATravelBelowTheActuationLowersIt) {
  bar->SetKeyStrokeInfo(3, 400);
  bar->SetCurKeyActuation(190);
  bar->SetKeyStrokeInfo(5, 370);
  EXPECT_EQ(185, bar->GetCurKeyActuation());
  bar->SetKeyStrokeInfo(5, 400);
  EXPECT_EQ(185, bar->GetCurKeyActuation()) << "a longer travel leaves it";
}

TEST_F(KeyStrokeCtrl2Test, DragStepsReportChangesAndAReleaseAnywhereSettles) {
  bar->SetKeyStrokeInfo(3, 400);
  bar->SetBottomrapidtriggerMode(0);
  Paint();
  const auto at = [](int dx) { return CPoint(kBarLeft + dx, kBarY); };
  host.MoveTo(at(100));
  host.Press(at(100));
  EXPECT_EQ(49, bar->GetCurKeyActuation());
  host.MoveTo(at(101));  // less than 2 px: a tremor
  host.MoveTo(at(141));
  host.MoveTo(at(142));
  host.MoveTo(at(60));
  host.MoveTo(CPoint(kBarLeft + 300, kPlace.top + 5));  // off the bar but in the control: still dragged
  host.MoveTo(CPoint(10, 190));                          // outside the control: ignored
  host.Release(CPoint(10, 190));
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_CHANGING, 0, 69), NotifyLine(kId, NOTIFY_CHANGING, 0, 30),
                                      NotifyLine(kId, NOTIFY_CHANGING, 0, 147), NotifyLine(kId, NOTIFY_CLICKED, 0, 0)}),
            host.Notifications());

  host.ClearJournal();
  host.Click(CPoint(kPlace.left + 5, kPlace.top + 5));  // in the control, off the bar
  EXPECT_EQ((std::vector<std::string>{NotifyLine(kId, NOTIFY_CLICKED, 0, 0)}), host.Notifications());
  EXPECT_EQ(147, bar->GetCurKeyActuation());

  host.ClearJournal();
  bar->SetEnabled(0);
  host.Click(at(100));
  EXPECT_TRUE(host.Notifications().empty()) << "a disabled bar ignores the mouse";
  EXPECT_EQ(147, bar->GetCurKeyActuation());
}

TEST_F(KeyStrokeCtrl2Test, TheBarIsFilledUpToTheThumb) {
  bar->SetKeyStrokeInfo(3, 400);
  bar->SetCurKeyActuation(100);  // 205 px filled; the thumb covers 208 to 225
  Paint();
  const int x0 = kPlace.left;
  EXPECT_EQ(0x596EFFu, surface.Pixel(x0 + 40, kBarY));
  EXPECT_EQ(0x596EFFu, surface.Pixel(x0 + 200, kBarY));
  EXPECT_EQ(0xFFFFFFu, surface.Pixel(x0 + 216, kBarY));
  EXPECT_EQ(0xFFFFFFu, surface.Pixel(x0 + 216, kPlace.top + 58));
  EXPECT_EQ(0x687289u, surface.Pixel(x0 + 240, kBarY));
  EXPECT_EQ(0x687289u, surface.Pixel(x0 + 420, kBarY));
  EXPECT_EQ(kGround, surface.Pixel(x0 + 240, kPlace.top + 58)) << "above the bar";
  const RECT ink = surface.InkBox({x0 + 430, kPlace.top + 50, x0 + 500, kPlace.top + 80},
                                  [](DWORD rgb) { return rgb != kGround; });
  EXPECT_GT(ink.right, ink.left) << "the value is written right of the bar";

  bar->SetCurKeyActuation(10);
  Paint();
  EXPECT_EQ(0x687289u, surface.Pixel(x0 + 200, kBarY)) << "a repaint follows the actuation";
}

// Values no program should give leave a control that paints and takes presses.
TEST_F(KeyStrokeCtrl2Test, BadValuesLeaveAUsableBar) {
  bar->SetKeyStrokeInfo(3, 400);
  for (int travel : {0, 1, -5}) {
    bar->SetKeyStrokeInfo(3, travel);
    EXPECT_EQ(101, ClickAt(205)) << "travel " << travel << " is ignored: limit and scale stay";
  }
  for (int type : {9, -1}) {
    bar->SetKeyStrokeInfo(type, 400);
    bar->SetBottomrapidtriggerMode(0);
    bar->SetDeadzoneValue(10, 20);
    EXPECT_EQ((std::pair<int, int>(10, 0)), Deadzones()) << "type " << type << ": no table entry";
    EXPECT_EQ(200, ClickAt(409)) << "type " << type << " keeps the upper bound";
  }
  bar->SetKeyStrokeInfo(3, INT_MAX);
  EXPECT_GE(ClickAt(205), 5);
  bar->SetKeyStrokeInfo(3, 400);
  for (int actuation : {INT_MIN, INT_MAX, -1}) {
    bar->SetCurKeyActuation(actuation);
    Paint();
    const DWORD p = surface.Pixel(kPlace.left + 240, kBarY);
    EXPECT_TRUE(p == 0x687289u || p == 0x596EFFu) << actuation << ": " << std::hex << p;
  }
  bar->SetDeadzoneValue(INT_MIN, INT_MAX);
  bar->SetDeadzoneValue(INT_MAX, INT_MIN);
  EXPECT_NO_FATAL_FAILURE(ClickAt(100));

  // Missing pictures are simply absent.
  bar->SetDeadzoneValue(0, 0);
  bar->SetCurKeyActuation(100);
  Paint();
  const DWORD before = surface.Pixel(kPlace.left + 100, kBarY);
  bar->SetImage(L"kc6test_none.gif", L"icon\\kc6test_none.png");
  bar->SetThumbImage(L"kc6test_none.png");
  bar->SetImage(L"switchtype2.gif", L"icon\\key_switch_fore.png");
  Paint();
  EXPECT_EQ(before, surface.Pixel(kPlace.left + 100, kBarY)) << "the pictures are kept, not drawn";
}

// The device worker streams live travel while the window paints; the last value stays.
class LiveTravelProbe : public KeyStrokeCtrl2 {
public:
  using KeyStrokeCtrl2::KeyStrokeCtrl2;
  int Live() const { return m_liveTravel; }
};

TEST_F(KeyStrokeCtrl2Test, TheWorkersLiveTravelWhileTheWindowPaints) {
  auto* probe = new LiveTravelProbe(&host, 277, CRect(20, 150, 540, 200), 1, 1);
  host.Adopt(probe);
  std::atomic<bool> done(false);
  std::thread worker([&] {
    for (int i = 0; i < 100000; ++i) probe->SetKeyActuation(i % 41);
    probe->SetKeyActuation(17);
    done = true;
  });
  int paints = 0;
  while (!testsupport::PumpUntil([&] { return done.load(); }, 5)) {
    if (++paints > 20000) break;  // bounded
    host.Compose(surface);
  }
  worker.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(17, probe->Live());
  testsupport::PumpFor(50);
  EXPECT_EQ(17, probe->Live());
}

}  // namespace
