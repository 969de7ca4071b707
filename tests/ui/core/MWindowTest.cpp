#include "ui/core/MWindow.h"

#include <gtest/gtest.h>

#include <vector>

#include "MessagePump.h"
#include "ProgramInstance.h"
#include "VirtualSlot.h"

using TESK::MWindow;

namespace {

constexpr UINT kScriptMessage = WM_APP + 1;

enum class Action { PostClose6, Destroy, Quit7, SendClose };

// A window that records its life and, on kScriptMessage, does one thing to end a modal loop.
class ProbeWindow : public MWindow {
public:
  explicit ProbeWindow(const wchar_t* className = L"MWindow") : m_className(className) {}
  ~ProbeWindow() override {
    if (m_hWnd && IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  }

  const wchar_t* GetWindowClassName() const override { return m_className; }
  int OnInitDialog() override {
    ++initCount;
    return 1;
  }
  void OnDestroyMessage(HWND hwnd) override { destroyed.push_back(hwnd); }
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE && failCreate) return -1;
    if (message == WM_DESTROY) ownerEnabledAtDestroy = ::IsWindowEnabled(GetWindow(m_hWnd, GW_OWNER));
    if (message == kScriptMessage) {
      ownerEnabledInLoop = ::IsWindowEnabled(GetWindow(m_hWnd, GW_OWNER));
      switch (static_cast<Action>(wParam)) {
        case Action::PostClose6: ::PostMessageW(m_hWnd, WM_CLOSE, 6, 0); break;
        case Action::Destroy: DestroyWindow(); break;
        case Action::Quit7: PostQuitMessage(7); break;
        case Action::SendClose: ::SendMessageW(m_hWnd, WM_CLOSE, 9, 0); break;
      }
      return 0;
    }
    return MWindow::OnWindowMessage(message, wParam, lParam);
  }

  int initCount = 0;
  bool failCreate = false;
  std::vector<HWND> destroyed;
  int ownerEnabledInLoop = -1;
  int ownerEnabledAtDestroy = -1;

private:
  const wchar_t* m_className;
};

class MWindowTest : public testing::Test {
protected:
  // Runs a modal loop that the window's script ends; a loop still running after 5 s is
  // ended by destroying the window, and the test fails.
  static UINT RunModal(ProbeWindow& window, Action action, bool disableOwner) {
    s_stuck = nullptr;
    const UINT_PTR guard = ::SetTimer(nullptr, 0, 5000, EndStuckLoop);
    s_stuck = window.GetSafeHwnd();
    s_timedOut = false;
    ::PostMessageW(window.GetSafeHwnd(), kScriptMessage, static_cast<WPARAM>(action), 0);
    const UINT result = disableOwner ? window.ShowModal(SW_SHOWNA) : window.ShowModal2(SW_SHOWNA);
    ::KillTimer(nullptr, guard);
    EXPECT_FALSE(s_timedOut) << "the modal loop did not end";
    return result;
  }

  static void CALLBACK EndStuckLoop(HWND, UINT, UINT_PTR, DWORD) {
    s_timedOut = true;
    if (s_stuck) ::DestroyWindow(s_stuck);
  }

  testsupport::ProgramInstance instance;
  static HWND s_stuck;
  static bool s_timedOut;
};

HWND MWindowTest::s_stuck = nullptr;
bool MWindowTest::s_timedOut = false;

TEST_F(MWindowTest, ModalLoopResultsAndTheOwner) {
  struct Case {
    const char* name;
    Action action;
    bool disableOwner;
    UINT result;
    int ownerEnabledInLoop;
    int ownerEnabledAtDestroy;  // -1: the window outlives the loop
  } cases[] = {
      {"posted close gives its wParam", Action::PostClose6, true, 6, 0, 1},
      {"destroying without close gives 0", Action::Destroy, true, 0, 0, 0},
      {"a close sent past the queue gives 0", Action::SendClose, true, 0, 0, 0},
      {"quit ends the loop", Action::Quit7, true, 0, 0, -1},
      {"second loop leaves the owner enabled", Action::PostClose6, false, 6, 1, 1},
  };
  for (const Case& t : cases) {
    ProbeWindow owner;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP, 0, CRect(0, 0, 50, 50)));
    ProbeWindow window;
    ASSERT_NE(nullptr, window.Create(owner.GetSafeHwnd(), L"modal", WS_POPUP, 0, CRect(0, 0, 50, 50)));
    EXPECT_EQ(t.result, RunModal(window, t.action, t.disableOwner)) << t.name;
    EXPECT_EQ(t.ownerEnabledInLoop, window.ownerEnabledInLoop) << t.name;
    EXPECT_EQ(t.ownerEnabledAtDestroy, window.ownerEnabledAtDestroy) << t.name;
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd())) << t.name;
    MSG quit;
    const bool quitPending = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_EQ(t.action == Action::Quit7, quitPending) << t.name;
    if (quitPending) {
      EXPECT_EQ(7u, quit.wParam) << t.name;
    }
  }
}

TEST_F(MWindowTest, ModalLoopWithoutAWindowGivesAllOnes) {
  ProbeWindow window;
  EXPECT_EQ(0xFFFFFFFFu, window.ShowModal(SW_SHOW));
  EXPECT_EQ(0xFFFFFFFFu, window.ShowModal2(SW_SHOW));
}

TEST_F(MWindowTest, CreateBindsOnceAndUnbindsAtTheLastMessage) {
  ProbeWindow window;
  HWND first = window.Create(nullptr, L"probe", WS_POPUP, 0, CRect(0, 0, 40, 40));
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, window.Create(nullptr, L"again", WS_POPUP, 0, CRect(0, 0, 40, 40)));
  EXPECT_EQ(1, window.initCount);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrW(first, GWLP_USERDATA));

  EXPECT_NE(0, window.DestroyWindow());
  EXPECT_EQ(nullptr, window.GetSafeHwnd());
  EXPECT_EQ(std::vector<HWND>{first}, window.destroyed);
  // The object may create a new window afterwards.
  EXPECT_NE(nullptr, window.Create(nullptr));
  EXPECT_EQ(2, window.initCount);
}

TEST_F(MWindowTest, FailedCreationGivesNullAndNoInitialisation) {
  ProbeWindow window;
  window.failCreate = true;
  EXPECT_EQ(nullptr, window.Create(nullptr, L"fails", WS_POPUP, 0, CRect(0, 0, 40, 40)));
  EXPECT_EQ(0, window.initCount);
  EXPECT_EQ(nullptr, window.GetSafeHwnd());
  EXPECT_EQ(0xFFFFFFFFu, window.ShowModal(SW_SHOW));
}

TEST_F(MWindowTest, TwoClassesRegisteringOneClassNameBothCreate) {
  class Other : public ProbeWindow {
  public:
    Other() : ProbeWindow(L"ProbeSharedClass") {}
  };
  ProbeWindow first(L"ProbeSharedClass");
  Other second;
  EXPECT_NE(nullptr, first.Create(nullptr));
  EXPECT_NE(nullptr, second.Create(nullptr));
  EXPECT_EQ(1, second.RegisterWindowClass());
}

TEST_F(MWindowTest, SuperclassPassesMessagesToTheSystemClass) {
  class EditProbe : public ProbeWindow {
  public:
    EditProbe() : ProbeWindow(L"ProbeEditWindow") {}
    const wchar_t* GetSuperClassName() const override { return L"Edit"; }
  };
  EditProbe edit;
  HWND hwnd = edit.Create(nullptr, L"typed", WS_POPUP, 0, CRect(0, 0, 80, 20));
  ASSERT_NE(nullptr, hwnd);
  EXPECT_EQ(&edit, GetPropW(hwnd, L"Control"));
  edit.SetWindowTextW(L"abc");
  CString text;
  EXPECT_EQ(3, edit.GetWindowTextW(text));
  EXPECT_EQ(CString(L"abc"), text);
  edit.DestroyWindow();
  EXPECT_EQ(std::vector<HWND>{hwnd}, edit.destroyed);
}

TEST_F(MWindowTest, WrappersOnAMissingWindowCallNothing) {
  ProbeWindow window;
  RECT rect;
  CString text;
  POINT point = {1, 2};
  EXPECT_EQ(0, window.GetClientRect(&rect));
  EXPECT_EQ(0, window.GetWindowTextW(text));
  EXPECT_EQ(-1, window.GetWindowTextLengthW());
  EXPECT_EQ(0, window.ClientToScreen(&point));
  EXPECT_EQ(nullptr, window.SetCapture());
  EXPECT_EQ(0u, window.SetTimer(1, 10, nullptr));
  EXPECT_EQ(0, window.ShowWindow(SW_SHOW));
  EXPECT_EQ(0u, window.GetStyle());
  EXPECT_EQ(0, window.SendMessageW(WM_USER, 0, 0));
  EXPECT_EQ(0, window.ModifyStyle(0, WS_VISIBLE, 0));
  EXPECT_EQ(0, window.DestroyWindow());
}

TEST_F(MWindowTest, ModifyStyleReportsOnlyChanges) {
  ProbeWindow window;
  ASSERT_NE(nullptr, window.Create(nullptr, L"styled", WS_POPUP, 0, CRect(0, 0, 40, 40)));
  EXPECT_EQ(1, window.ModifyExStyle(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED));
  EXPECT_TRUE(window.GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_EQ(0, window.ModifyExStyle(0, WS_EX_TOOLWINDOW, SWP_FRAMECHANGED));
  EXPECT_EQ(1, window.ModifyStyle(WS_POPUP, WS_CHILD, 0));
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD), window.GetStyle() & (WS_CHILD | WS_POPUP));
}

TEST_F(MWindowTest, CenteringKeepsTheWindowInsideTheWorkArea) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  const CRect work(info.rcWork);
  struct Case {
    const char* name;
    CSize size;
    CPoint expected;
  } cases[] = {
      {"larger than the work area: top left", CSize(work.Width() + 200, work.Height() + 100), work.TopLeft()},
      {"smaller: centred", CSize(200, 100),
       CPoint((work.left + work.right) / 2 - 100, (work.top + work.bottom) / 2 - 50)},
  };
  for (const Case& t : cases) {
    ProbeWindow window;
    ASSERT_NE(nullptr, window.Create(nullptr, L"centred", WS_POPUP, 0, CRect(CPoint(7, 9), t.size)));
    window.CenterWindow(nullptr);
    RECT placed;
    window.GetWindowRect(&placed);
    EXPECT_EQ(t.expected, CRect(placed).TopLeft()) << t.name;
  }
}

// Derived windows in other modules override these by position.
TEST(MWindowLayoutTest, EightVirtualOperationsInTheirOrder) {
  using testsupport::VirtualSlot;
  struct Appended : MWindow {
    virtual int Appended1() { return 0; }
  };
  EXPECT_EQ(2, VirtualSlot(&MWindow::GetWindowClassName)) << "after the destructor's two slots";
  EXPECT_EQ(3, VirtualSlot(&MWindow::GetSuperClassName));
  EXPECT_EQ(4, VirtualSlot(&MWindow::ShowWindow));
  EXPECT_EQ(5, VirtualSlot(&MWindow::OnWindowMessage));
  EXPECT_EQ(6, VirtualSlot(&MWindow::PreTranslateMessage));
  EXPECT_EQ(7, VirtualSlot(&MWindow::OnInitDialog));
  EXPECT_EQ(8, VirtualSlot(&MWindow::OnDestroyMessage));
  EXPECT_EQ(9, VirtualSlot(&Appended::Appended1)) << "a derived class's first own operation follows the eight";
  EXPECT_EQ(-1, VirtualSlot(&MWindow::DestroyWindow)) << "DestroyWindow is a plain member";
}

}  // namespace
