// The control tests' host: what it drives reaches the engine's routing as a user's input does,
// and what the controls report lands in its journal in order.
#include "ControlHost.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/core/CIDropTarget.h"
#include "ui/core/GdiplusHeaders.h"

using testsupport::ControlHost;
using testsupport::ProbeControl;

namespace {

// Reports a release as a click and asks for a repaint on each press, as a button would.
class ClickProbe : public ProbeControl {
public:
  using ProbeControl::ProbeControl;
  int OnControlLButtonDown(UINT keys, CPoint pt) override {
    UpdateControl(0, 1);
    return ProbeControl::OnControlLButtonDown(keys, pt);
  }
  int OnControlLButtonUp(UINT keys, CPoint pt) override {
    SendMessageW(TESK::NOTIFY_CLICKED, 0, pt.x);
    return ProbeControl::OnControlLButtonUp(keys, pt);
  }
};

class ControlHostTest : public testing::Test {
protected:
  template <typename Probe = ProbeControl>
  Probe* AddProbe(UINT id, CRect rect) {
    auto* probe = new Probe(static_cast<TESK::MObject*>(&host), id, rect);
    probe->journal = &calls;
    host.Adopt(probe);
    return probe;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  std::vector<std::string> calls;  // the probes' handler calls
};

TEST_F(ControlHostTest, AClickRunsTheEnginesHoverAndCaptureAndJournalsInOrder) {
  AddProbe<ClickProbe>(7, CRect(10, 10, 60, 40));
  host.MoveTo(CPoint(20, 20));
  host.Press(CPoint(20, 20));
  EXPECT_EQ(host.GetSafeHwnd(), GetCapture()) << "the engine captured the press";
  EXPECT_EQ(1, host.EngineCaptured());
  host.Release(CPoint(25, 20));
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(0, host.EngineCaptured());
  EXPECT_EQ((std::vector<std::string>{"7 move", "7 ldown", "7 lup"}), calls);
  EXPECT_EQ((std::vector<std::string>{"7 repaint 0", "7 notify 2 (0, 25)"}), host.Journal());
  EXPECT_EQ((std::vector<std::string>{"7 notify 2 (0, 25)"}), host.Notifications());
  EXPECT_EQ((std::vector<int>{0}), host.Repaints(7));

  // The answer of the test's handler is the dialog's, and it runs after the entry is written.
  size_t seen = 0;
  host.onNotify = [&](const testsupport::HostEvent& e) {
    seen = host.Events().size();
    return static_cast<LONG>(e.code) * 10;
  };
  host.ClearJournal();
  host.Click(CPoint(30, 30));
  EXPECT_EQ(2u, seen);
}

// Pointer messages the host did not drive (the system's own, or another process's pointer)
// never reach the engine; driven wheel steps arrive in client coordinates.
TEST_F(ControlHostTest, TheJournalKeepsEachEntrysThreadAndTheDropMessages) {
  ProbeControl* probe = AddProbe(7, CRect(10, 10, 60, 40));
  probe->SendMessageW(TESK::NOTIFY_CHANGING, 3, 0);
  std::thread([probe] { probe->SendMessageW(TESK::NOTIFY_CHANGING, 4, 0); }).join();
  ::SendMessageW(host.GetSafeHwnd(), TESK::WM_UI_DRAGOVER, 0, MAKELPARAM(5, 6));
  ::SendMessageW(host.GetSafeHwnd(), TESK::WM_UI_DROP, 0, MAKELPARAM(5, 6));
  const std::vector<testsupport::HostEvent> events = host.Events();
  ASSERT_EQ(4u, events.size());
  EXPECT_EQ(GetCurrentThreadId(), events[0].thread);
  EXPECT_NE(GetCurrentThreadId(), events[1].thread) << "sent from a worker";
  EXPECT_EQ((std::vector<std::string>{"7 notify 8 (3, 0)", "7 notify 8 (4, 0)",
                                      "drag over (0, " + std::to_string(MAKELPARAM(5, 6)) + ")",
                                      "drop (0, " + std::to_string(MAKELPARAM(5, 6)) + ")"}),
            host.Journal());
  EXPECT_EQ(2u, host.Notifications().size()) << "drop messages are no notifications";
}

TEST_F(ControlHostTest, OnlyDrivenPointerInputReachesTheEngine) {
  AddProbe(3, CRect(0, 0, 100, 100));
  PostMessageW(host.GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  PostMessageW(host.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
  host.PumpPosted();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(nullptr, GetCapture());

  host.MoveTo(CPoint(40, 30));
  host.Wheel(CPoint(40, 30), -120);
  ASSERT_EQ((std::vector<std::string>{"3 move", "3 scroll"}), calls);

  host.Leave();
  EXPECT_EQ(nullptr, host.GetPaintManager()->GetHoverControl());
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(host.ToScreen(CPoint(-20, -20)), CPoint(cursor.x, cursor.y)) << "the cursor left the window";
}

// Posted keys pass the dialog's PreTranslateMessage as in the modal loop (Tab moves the focus);
// sent keys carry the modifiers set in the thread's key state.
TEST_F(ControlHostTest, KeysTakeTheModalLoopsPathAndTheModifiersOfKeyState) {
  ProbeControl* first = AddProbe(1, CRect(0, 0, 50, 50));
  ProbeControl* second = AddProbe(2, CRect(60, 0, 110, 50));
  first->SetTabStop(1);
  second->SetTabStop(1);
  host.PostKey(VK_TAB);
  host.PostKey(VK_TAB);
  EXPECT_EQ((std::vector<std::string>{"1 focus 1", "1 focus 0", "2 focus 1"}), calls);
  EXPECT_EQ(second, host.GetPaintManager()->GetFocusControl());

  host.MoveTo(CPoint(70, 10));
  first->events.clear();
  second->events.clear();
  {
    testsupport::KeyState shift(true, false);
    host.Key('A');
  }
  ASSERT_EQ(1u, second->Points("key").size());
  EXPECT_EQ(CPoint('A', 0x10), second->Points("key")[0]) << "key and Shift reach the hovered control";
  EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0) << "the key state is restored";
}

TEST_F(ControlHostTest, ComposesTheClientAreaWithItsControls) {
  host.Adopt(new testsupport::SolidControl(static_cast<TESK::MObject*>(&host), 5, CRect(20, 20, 40, 40), RGB(0, 0, 255)));
  testsupport::DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_EQ(0x0000FFu, surface.Pixel(30, 30));
  EXPECT_NE(0x0000FFu, surface.Pixel(10, 10));
  EXPECT_EQ(0x0000FFu, host.PixelAt(21, 39));

  EXPECT_NE(nullptr, host.Add(L"MPicture", 9, CRect(50, 50, 60, 60))) << "made by class name";
}

TEST_F(ControlHostTest, StripFramesEachHaveTheirOwnColour) {
  ASSERT_TRUE(testsupport::WriteStrip(L"hosttest_strip.png", 4, 3, {0xFF112233, 0xFF445566}));
  TESK::ImgResInfo* strip = host.GetPaintManager()->AddImgResInfo(L"hosttest_strip.png", 2);
  ASSERT_NE(nullptr, strip);
  EXPECT_EQ(4u, strip->frameWidth);
  auto* bitmap = static_cast<Gdiplus::Bitmap*>(strip->image);
  Gdiplus::Color colour;
  const struct {
    INT x;
    DWORD argb;
  } samples[] = {{0, 0xFF112233}, {3, 0xFF112233}, {4, 0xFF445566}, {7, 0xFF445566}};
  for (const auto& s : samples) {
    bitmap->GetPixel(s.x, 2, &colour);
    EXPECT_EQ(s.argb, colour.GetValue()) << "x " << s.x;
  }
}

}  // namespace
