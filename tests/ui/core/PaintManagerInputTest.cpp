#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "MessagePump.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "WindowSearch.h"
#include "ui/core/MAirBladder.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"

using testsupport::KeyState;
using testsupport::ProbeControl;
using TESK::MControl;
using TESK::PaintManager;

namespace {

class InputEngine : public PaintManager {
public:
  using PaintManager::AttachControl;
  void SetHover(MControl* control) { m_pHover = control; }
  int Pressed() const { return m_bPressed; }
  void ArmTracking() { m_bTracking = 1; }
};

// A window that hands every message to its engine, as the dialogs do, and lets the default
// procedure run when the engine answers 0.
class InputHost : public TESK::MWindow, public TESK::MObject {
public:
  int OnInitDialog() override {
    engine.Init(m_hWnd, this);
    return 1;
  }
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (const LRESULT result = engine.OnWindowMessage(msg, wParam, lParam)) return result;
    return MWindow::OnWindowMessage(msg, wParam, lParam);
  }
  void OnDestroyMessage(HWND hwnd) override { engine.OnDestroyMessage(hwnd); }

  InputEngine engine;
};

// Records the wheel direction as the point's x.
class WheelProbe : public ProbeControl {
public:
  using ProbeControl::ProbeControl;
  int OnControlScroll(int rows, UINT direction, CPoint) override {
    return ProbeControl::OnControlScroll(rows, direction, CPoint(static_cast<int>(direction), 0));
  }
};

// Takes one raw window message before the engine.
class GreedyProbe : public ProbeControl {
public:
  using ProbeControl::ProbeControl;
  LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override { return msg == taken ? 1 : 0; }
  UINT taken = 0;
};

class PaintManagerInputTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host.Create(nullptr, L"input", WS_POPUP, 0, CRect(100, 100, 400, 300)));
  }
  void TearDown() override { host.DestroyWindow(); }

  template <typename Probe = ProbeControl>
  Probe* Attach(UINT id, CRect rect = CRect(0, 0, 100, 100)) {
    auto* probe = new Probe(&host, id, rect);
    probe->journal = &journal;
    host.engine.AttachControl(1, probe);
    return probe;
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) { return host.engine.OnWindowMessage(msg, wParam, lParam); }
  HWND Window() const { return host.GetSafeHwnd(); }

  testsupport::GdiplusSession gdiplus;  // the balloon measures and draws its text
  testsupport::ProgramInstance instance;
  std::vector<std::string> journal;
  InputHost host;
};

TEST_F(PaintManagerInputTest, WheelStepsGoToTheListInOrderUntilOneTakesThem) {
  struct Case {
    const char* name;
    short delta;
    LRESULT result;
    std::vector<std::string> journal;
    std::vector<int> directions;  // of the probe that takes the steps
  };
  const Case cases[] = {
      {"one notch down", -120, 1, {"1 scroll", "2 scroll"}, {1}},
      {"two notches up", 240, 1, {"1 scroll", "2 scroll", "1 scroll", "2 scroll"}, {0, 0}},
      {"a partial notch", 60, 0, {}, {}},
  };
  auto* first = Attach<WheelProbe>(1);
  auto* second = Attach<WheelProbe>(2);
  Attach<WheelProbe>(3);
  first->handled = 0;
  for (const Case& c : cases) {
    journal.clear();
    second->events.clear();
    POINT screen = {50, 50};
    ClientToScreen(Window(), &screen);
    EXPECT_EQ(c.result, Send(WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta), MAKELPARAM(screen.x, screen.y))) << c.name;
    EXPECT_EQ(c.journal, journal) << c.name;
    std::vector<int> directions;
    for (const CPoint& pt : second->Points("scroll")) directions.push_back(pt.x);
    EXPECT_EQ(c.directions, directions) << c.name;
  }
}

TEST_F(PaintManagerInputTest, TabMovesFocusAmongTabStopsAndWraps) {
  enum Focus { None = -1, A = 0, B = 1, C = 2, Outsider = 3 };
  struct Case {
    const char* name;
    unsigned tabStops;  // bit i: probe i is a tab stop
    Focus focus;
    bool shift, ctrl;
    int consumed;
    Focus after;
  };
  const Case cases[] = {
      {"Tab moves forward", 0b111, A, false, false, 1, B},
      {"Tab wraps from the last", 0b111, C, false, false, 1, A},
      {"Tab skips a control that is no tab stop", 0b101, A, false, false, 1, C},
      {"Tab without focus takes the first", 0b111, None, false, false, 1, A},
      {"Shift+Tab moves backwards", 0b111, B, true, false, 1, A},
      {"Shift+Tab wraps from the first", 0b111, A, true, false, 1, C},
      {"Ctrl+Tab does nothing", 0b111, A, false, true, 0, A},
      {"Ctrl+Shift+Tab does nothing", 0b111, A, true, true, 0, A},
      {"a single tab stop with the focus is not consumed", 0b010, B, false, false, 0, B},
      {"a focus outside the list is cleared", 0b111, Outsider, false, false, 1, None},
  };
  ProbeControl* probes[] = {Attach(1), Attach(2), Attach(3)};
  ProbeControl outsider(&host, 9, CRect(0, 0, 10, 10));
  auto pointer = [&](Focus f) -> MControl* {
    return f == None ? nullptr : f == Outsider ? static_cast<MControl*>(&outsider) : probes[f];
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 3; ++i) probes[i]->SetTabStop((c.tabStops >> i) & 1);
    host.engine.SetFocusControl(pointer(c.focus));
    KeyState keys(c.shift, c.ctrl);
    MSG msg = {};
    msg.hwnd = Window();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_EQ(c.consumed, host.engine.PreTranslateMessage(&msg)) << c.name;
    EXPECT_EQ(pointer(c.after), host.engine.GetFocusControl()) << c.name;
  }
  host.engine.SetFocusControl(nullptr);
}

TEST_F(PaintManagerInputTest, KeysGoToTheHoverControlThenToTheListNeverToTheFocus) {
  auto* first = Attach(1);
  auto* hover = Attach(2);
  auto* focus = Attach(3);
  host.engine.SetFocusControl(focus);
  host.engine.SetHover(hover);
  journal.clear();
  {
    KeyState keys(true, true);
    EXPECT_EQ(1, Send(WM_KEYDOWN, 'A', 0));
  }
  EXPECT_EQ(std::vector<std::string>{"2 key"}, journal);
  EXPECT_EQ(CPoint('A', 0x11), hover->Points("key").at(0)) << "Ctrl with Shift gives the Ctrl value";

  hover->handled = 0;
  journal.clear();
  EXPECT_EQ(1, Send(WM_KEYDOWN, 'B', 0));
  EXPECT_EQ((std::vector<std::string>{"2 key", "1 key"}), journal) << "the list in order until one takes it";
  EXPECT_TRUE(first->events.size() == 1 && focus->Points("key").empty());
  host.engine.SetFocusControl(nullptr);
}

TEST_F(PaintManagerInputTest, PressReleaseAndDeactivation) {
  auto* greedy = Attach<GreedyProbe>(1);
  auto* probe = Attach(2);
  host.engine.SetHover(probe);

  greedy->taken = WM_LBUTTONDOWN;
  EXPECT_EQ(0, Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)));
  EXPECT_TRUE(probe->events.empty()) << "a control that takes the raw press stops the engine's handling";
  EXPECT_EQ(0, host.engine.Pressed());
  greedy->taken = 0;

  EXPECT_EQ(1, Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)));
  EXPECT_EQ(1, host.engine.Pressed());
  EXPECT_EQ(probe, host.engine.GetFocusControl());
  EXPECT_EQ(1, host.engine.IsCaptured());
  EXPECT_EQ(Window(), GetCapture());
  EXPECT_EQ(1, Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 10)));
  EXPECT_EQ(0, host.engine.IsCaptured());
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(nullptr, host.engine.GetHoverControl()) << "released outside the control";
  EXPECT_EQ((std::vector<CPoint>{{10, 10}}), probe->Points("ldown"));
  EXPECT_EQ((std::vector<CPoint>{{150, 10}}), probe->Points("lup"));

  // Deactivated while pressed: the pressed control gets its release nowhere.
  host.engine.SetHover(probe);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  EXPECT_EQ(1, Send(WM_NCACTIVATE, FALSE, 0));
  EXPECT_EQ((CPoint{-1, -1}), probe->Points("lup").back());
  EXPECT_EQ(0, host.engine.Pressed());
  EXPECT_EQ(0, host.engine.IsCaptured());
  EXPECT_EQ(nullptr, host.engine.GetHoverControl());
  ReleaseCapture();

  // Deactivated while only hovering: a move nowhere.
  host.engine.SetHover(probe);
  Send(WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ((CPoint{-1, -1}), probe->Points("move").back());
  EXPECT_EQ(2u, probe->Points("lup").size());
}

TEST_F(PaintManagerInputTest, MovesPickTheLastControlUnderThePointAndLeaveDropsIt) {
  auto* under = Attach(1, CRect(0, 0, 100, 100));
  auto* top = Attach(2, CRect(50, 50, 100, 100));
  host.engine.ArmTracking();
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  EXPECT_EQ(top, host.engine.GetHoverControl());
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(under, host.engine.GetHoverControl());
  EXPECT_FALSE(top->Points("move").empty()) << "every control sees the move that takes the hover from it";
  EXPECT_EQ(1, Send(WM_MOUSELEAVE, 0, 0));
  EXPECT_EQ(nullptr, host.engine.GetHoverControl());
  EXPECT_EQ((CPoint{-1, -1}), under->Points("move").back());
}

// A child window that answers reflected messages with a value of its own.
std::vector<UINT> g_childMessages;
LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= 0x2000) {
    g_childMessages.push_back(msg);
    return 0x5151;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(PaintManagerInputTest, CommandAndColourMessagesAreReflectedToTheChild) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ChildProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ReflectProbe";
  RegisterClassW(&wc);
  HWND child = CreateWindowExW(0, L"ReflectProbe", L"", WS_CHILD, 0, 0, 10, 10, Window(), nullptr, wc.hInstance,
                               nullptr);
  ASSERT_NE(nullptr, child);
  g_childMessages.clear();
  const auto lParam = reinterpret_cast<LPARAM>(child);
  EXPECT_EQ(0x5151, Send(WM_COMMAND, MAKEWPARAM(7, EN_CHANGE), lParam));
  EXPECT_EQ(0x5151, Send(WM_CTLCOLOREDIT, 0, lParam));
  EXPECT_EQ(0x5151, Send(WM_CTLCOLORSTATIC, 0, lParam));
  EXPECT_EQ(0, Send(WM_COMMAND, 7, 0));
  EXPECT_EQ((std::vector<UINT>{WM_COMMAND + 0x2000, WM_CTLCOLOREDIT + 0x2000, WM_CTLCOLORSTATIC + 0x2000}),
            g_childMessages);
  DestroyWindow(child);
}

TEST_F(PaintManagerInputTest, HoveringAControlShowsItsTooltipAndClearingEmptiesIt) {
  auto* probe = Attach(4, CRect(0, 0, 100, 100));
  probe->SetTooltip(L"Lighting layer");
  host.engine.ArmTracking();
  Send(WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(4, host.engine.GetTooltipCtrlID());
  HWND tip = testsupport::FindOwnedWindow(Window(), L"tooltips_class32");
  ASSERT_NE(nullptr, tip);

  wchar_t text[80] = {};
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = Window();
  info.uId = 0x521;
  info.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(1, SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(L"Lighting layer", text);
  EXPECT_EQ(256, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
  EXPECT_EQ(0xF5F5F5, SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0));
  EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_STYLE) & TTS_NOPREFIX);

  host.engine.ClearTooltip();
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(L"", text);
  EXPECT_EQ(0, host.engine.GetTooltipCtrlID());
}

// A press on empty space with window dragging enabled lets the system move the window.
TEST_F(PaintManagerInputTest, PressingEmptySpaceMovesTheWindowOnlyWhenDraggingIsEnabled) {
  ShowWindow(Window(), SW_SHOW);
  SetForegroundWindow(Window());
  testsupport::PumpFor(100);
  for (int enabled : {0, 1}) {
    host.engine.EnableWndDrag(enabled);
    RECT before;
    GetWindowRect(Window(), &before);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    auto absolute = [&](int x, int y) {
      INPUT input = {};
      input.type = INPUT_MOUSE;
      input.mi.dx = x * 65535 / (screenW - 1);
      input.mi.dy = y * 65535 / (screenH - 1);
      input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      return input;
    };
    std::vector<INPUT> inputs = {absolute(before.left + 150, before.top + 150)};
    inputs.push_back(inputs[0]);
    inputs.back().mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    for (int step = 1; step <= 4; ++step) inputs.push_back(absolute(before.left + 150 + 10 * step, before.top + 150 + 5 * step));
    inputs.push_back(inputs.back());
    inputs.back().mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    RECT after;
    auto moved = [&] {
      GetWindowRect(Window(), &after);
      return after.left != before.left || after.top != before.top;
    };
    testsupport::PumpUntil(moved, enabled ? 3000 : 500);
    testsupport::PumpFor(100);
    GetWindowRect(Window(), &after);
    if (enabled) {
      EXPECT_EQ(before.left + 40, after.left);
      EXPECT_EQ(before.top + 20, after.top);
    } else {
      EXPECT_EQ(before.left, after.left);
      EXPECT_EQ(before.top, after.top);
    }
  }
}

TEST_F(PaintManagerInputTest, BalloonIsMadeOnFirstUseAndOnlyItsClaimantHidesIt) {
  const auto type = static_cast<TESK::AIRBLADDER_TYPE>(1);
  const auto mode = static_cast<TESK::AIRBLADDER_MODE>(3);
  PaintManager& engine = host.engine;
  EXPECT_EQ(0, engine.ShowAirBladder(1, 0)) << "no balloon yet";
  EXPECT_EQ(nullptr, engine.GetAirBladder());

  ASSERT_EQ(1, engine.SetAirBladderMsg(L"Saved", POINT{300, 200}, type, mode));
  TESK::MAirBladder* balloon = engine.GetAirBladder();
  ASSERT_NE(nullptr, balloon);
  const HWND tip = balloon->GetSafeHwnd();
  ASSERT_TRUE(IsWindow(tip));
  EXPECT_EQ(Window(), GetWindow(tip, GW_OWNER));
  CString title;
  balloon->GetWindowTextW(title);
  EXPECT_STREQ(L"AirBladder Window", title);
  RECT placed = {};
  GetWindowRect(tip, &placed);
  EXPECT_EQ(CPoint(275, 200), CRect(placed).TopLeft()) << "placed by the balloon for mode 3";
  EXPECT_EQ(1, engine.SetAirBladderMsg(L"Again", POINT{300, 200}, type, mode));
  EXPECT_EQ(balloon, engine.GetAirBladder());
  EXPECT_EQ(tip, balloon->GetSafeHwnd()) << "one balloon window per engine";
  EXPECT_EQ(0, engine.SetAirBladderMsg(nullptr, POINT{300, 200}, type, mode)) << "the balloon's answer";

  const struct {
    const char* step;
    int show, key;
    bool visibleAfter;
  } steps[] = {
      {"shown by requester 7", SW_SHOWNOACTIVATE, 7, true},
      {"requester 8 may not hide it", SW_HIDE, 8, true},
      {"requester 7 hides it", SW_HIDE, 7, false},
      {"shown without a key", SW_SHOWNOACTIVATE, 0, true},
      {"requester 8 still may not", SW_HIDE, 8, true},
      {"hidden without a key", SW_HIDE, 0, false},
  };
  for (const auto& s : steps) {
    engine.ShowAirBladder(s.show, s.key);
    EXPECT_EQ(s.visibleAfter, IsWindowVisible(tip) != 0) << s.step;
  }

  // The balloon's window goes with the engine's window; a new window of the engine gets a new one.
  host.DestroyWindow();
  EXPECT_FALSE(IsWindow(tip));
  ASSERT_NE(nullptr, host.Create(nullptr, L"input again", WS_POPUP, 0, CRect(100, 100, 400, 300)));
  ASSERT_EQ(1, engine.SetAirBladderMsg(L"Back", POINT{300, 200}, type, mode));
  EXPECT_EQ(Window(), GetWindow(engine.GetAirBladder()->GetSafeHwnd(), GW_OWNER));
}

TEST(PaintManagerBalloonTest, DeletingTheEngineTakesTheBalloonWindowWithIt) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  TESK::MWindow window;
  ASSERT_NE(nullptr, window.Create(nullptr, L"owner", WS_POPUP, 0, CRect(0, 0, 100, 100)));
  HWND tip = nullptr;
  {
    PaintManager engine;
    engine.Init(window.GetSafeHwnd(), &window);
    engine.SetAirBladderMsg(L"Bye", POINT{50, 50}, static_cast<TESK::AIRBLADDER_TYPE>(4),
                            static_cast<TESK::AIRBLADDER_MODE>(1));
    tip = engine.GetAirBladder()->GetSafeHwnd();
    ASSERT_TRUE(IsWindow(tip));
  }
  EXPECT_FALSE(IsWindow(tip)) << "no window left calling a deleted balloon";
  EXPECT_TRUE(IsWindow(window.GetSafeHwnd()));
  window.DestroyWindow();
}

}  // namespace
