// Popup menus run as the program runs them: made under a point, filled, shown with ShowModal
// or ShowModal2 while a script on the thread's timer drives the pointer. The owner learns the
// choice from its notify message, seen here through a message hook of the thread.
#include "ui/core/MenuWnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "MessagePump.h"
#include "ModalScript.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/core/MRender.h"
#include "ui/core/MenuExWnd.h"
#include "ui/core/MenuItem.h"
#include "ui/keyboard/KeyMenuFuncType.h"

using testsupport::ControlHost;
using testsupport::ModalScript;
using TESK::MenuItem;
using TESK::MenuWnd;

namespace {

constexpr UINT kNotify = 1839;

// The notify messages the thread's loops take from the queue, whoever dispatches them.
struct Posted {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Posted> g_posted;
LRESULT CALLBACK RecordPosted(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == kNotify) {
    g_posted.push_back({msg->hwnd, msg->message, msg->wParam, msg->lParam});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A button of the owner, or the function menu's list: reports a release on it as a click
// with wParam (the list's row data).
class ClickProbe : public testsupport::ProbeControl {
public:
  using ProbeControl::ProbeControl;
  int OnControlLButtonUp(UINT keys, CPoint pt) override {
    ProbeControl::OnControlLButtonUp(keys, pt);
    SendMessageW(TESK::NOTIFY_CLICKED, wParam, 0);
    return 1;
  }
  WPARAM wParam = 0;
};

// Records what its items report.
class RecordingMenu : public MenuWnd {
public:
  RecordingMenu() : MenuWnd(nullptr) {}
  LONG OnMessage(UINT id, UINT code, UINT wParam, LONG lParam) override {
    reports.push_back(id * 100 + code);
    return MenuWnd::OnMessage(id, code, wParam, lParam);
  }
  std::vector<UINT> reports;
};

class MenuWndTest : public testing::Test {
protected:
  MenuWndTest() { m_hook = SetWindowsHookExW(WH_GETMESSAGE, RecordPosted, nullptr, GetCurrentThreadId()); }
  ~MenuWndTest() override { UnhookWindowsHookEx(m_hook); }
  void SetUp() override { g_posted.clear(); }

  // An item's centre in the menu's client coordinates.
  static CPoint Centre(MenuWnd& menu, UINT id) { return menu.GetControl(id)->GetRect().CenterPoint(); }
  // The width the menu measures an entry's text with.
  static int TextWidth(MenuWnd& menu, const wchar_t* text) {
    TESK::FallbackFontFamily fallback;
    Gdiplus::Font font(fallback.Or(menu.GetPaintManager()->FindTempFont(menu.GetMenuFontName())),
                       static_cast<Gdiplus::REAL>(menu.GetMenuFontSize()), menu.GetMenuFontStyle(), Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    return TESK::MRender::GetTextBounds(font, format, text).Width;
  }
  static CSize WindowSize(MenuWnd& menu) {
    CRect rect;
    menu.GetWindowRect(&rect);
    return CSize(rect.Width(), rect.Height());
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{300, 200};
  HHOOK m_hook;
};

TEST_F(MenuWndTest, LayoutStacksEntriesBetweenTheMarginsAndWidensToTheWidestText) {
  struct Case {
    const char* name;
    std::vector<char> entries;  // 'e' entry, 's' separator, 'h' hidden entry
    int top, bottom;
    int height;
  };
  const Case cases[] = {
      {"three entries", {'e', 'e', 'e'}, 12, 6, 12 + 3 * 30 + 6},
      {"a separator takes 4", {'e', 's', 'e'}, 12, 6, 12 + 30 + 4 + 30 + 6},
      {"a hidden entry takes none", {'e', 'h', 'e'}, 12, 6, 12 + 2 * 30 + 6},
      {"margins of 0 count as 2", {'e'}, 0, 0, 2 + 30 + 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MenuWnd menu(nullptr);
    menu.SetMargins(c.top, c.bottom);
    ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CPoint(100, 100), kNotify, L"", 0, 230, TESK::BACK_MODE_IMAGE));
    UINT id = 101;
    for (char kind : c.entries) {
      if (kind == 's') {
        menu.AddSeparator(id++, L"");
        continue;
      }
      menu.AddMenu(L"Entry", id, L"", 0, 0);
      if (kind == 'h') {
        menu.GetControl(id)->SetVisible(0);
        menu.SetMenuPoint();
      }
      ++id;
    }
    EXPECT_EQ(CSize(230, c.height), WindowSize(menu));
    EXPECT_EQ(CRect(5, c.top ? c.top : 2, 225, (c.top ? c.top : 2) + 30), menu.GetControl(101)->GetRect());
    menu.DestroyWindow();
  }

  // An entry wider than the menu's room widens it to the text plus indent and gap.
  MenuWnd menu(nullptr);
  ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CPoint(100, 100), kNotify, L"", 0, 230, TESK::BACK_MODE_IMAGE));
  const wchar_t* narrow = L"Short";
  std::wstring wide = L"A rather long entry of the performance menu";
  while (TextWidth(menu, wide.c_str()) <= 230 - 9) wide += L" and more";
  ASSERT_LE(TextWidth(menu, narrow), 230 - 9);
  menu.AddMenu(narrow, 101, L"", 0, 0);
  EXPECT_EQ(230, WindowSize(menu).cx);
  menu.AddMenu(wide.c_str(), 102, L"", 0, 0);
  EXPECT_EQ(TextWidth(menu, wide.c_str()) + 9, WindowSize(menu).cx);
  menu.DestroyWindow();
}

TEST_F(MenuWndTest, ChoosingAnEntryPostsItToTheOwnerAndLeavesTheOwnerUsable) {
  auto* button = new ClickProbe(static_cast<TESK::MObject*>(&host), 7, CRect(10, 10, 90, 40));
  host.Adopt(button);
  MenuWnd menu(nullptr);
  ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CPoint(400, 300), kNotify));
  menu.AddMenu(L"Profile 1", 100, L"", 0, 0);
  menu.AddMenu(L"Profile 2", 101, L"", 0, 0);
  HWND window = menu.GetSafeHwnd();
  {
    ModalScript script(window);
    script.At(100, [&] { testsupport::ClickWindow(window, Centre(menu, 101)); });
    EXPECT_EQ(0u, menu.ShowModal(SW_SHOW));
  }
  ASSERT_EQ(1u, g_posted.size());
  EXPECT_EQ(host.GetSafeHwnd(), g_posted[0].hwnd);
  EXPECT_EQ(0u, g_posted[0].wParam);
  EXPECT_EQ(101, g_posted[0].lParam);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(IsWindowEnabled(host.GetSafeHwnd()));
  EXPECT_EQ(nullptr, GetCapture());
  host.ClearJournal();
  host.Click(CPoint(50, 25));
  EXPECT_EQ((std::vector<std::string>{"7 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(MenuWndTest, AMenuRunFromAButtonsClickLeavesTheOwnersEngineFree) {
  auto* button = new ClickProbe(static_cast<TESK::MObject*>(&host), 7, CRect(10, 10, 90, 40));
  host.Adopt(button);
  UINT result = 1;
  host.onNotify = [&](const testsupport::HostEvent& e) -> LONG {
    if (e.id != 7 || result != 1) return 0;
    MenuWnd menu(nullptr);
    menu.Create(host.GetSafeHwnd(), CPoint(400, 300), kNotify);
    menu.AddMenu(L"Import", 201, L"", 0, 0);
    HWND window = menu.GetSafeHwnd();
    ModalScript script(window);
    script.At(100, [&] { testsupport::ClickWindow(window, Centre(menu, 201)); });
    result = menu.ShowModal(SW_SHOW);
    return 0;
  };
  host.Click(CPoint(50, 25));
  EXPECT_EQ(0u, result);
  ASSERT_EQ(1u, g_posted.size());
  EXPECT_EQ(201, g_posted[0].lParam);
  EXPECT_EQ(0, host.EngineCaptured());
  EXPECT_EQ(nullptr, GetCapture());
  host.onNotify = nullptr;
  host.ClearJournal();
  host.Click(CPoint(50, 25));
  EXPECT_EQ((std::vector<std::string>{"7 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(MenuWndTest, DismissalPostsNothing) {
  // ShowModal2 leaves the owner enabled: a click on it activates it (as the system does
  // before it delivers the press; the combo tests click through the system's input queue).
  {
    MenuWnd menu(nullptr);
    ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CPoint(700, 500), kNotify));
    menu.AddMenu(L"Entry", 101, L"", 0, 0);
    ModalScript script(menu.GetSafeHwnd());
    script.At(100, [&] {
      EXPECT_TRUE(IsWindowEnabled(host.GetSafeHwnd()));
      SetActiveWindow(host.GetSafeHwnd());
      host.Click(CPoint(150, 150));
    });
    EXPECT_EQ(0u, menu.ShowModal2(SW_SHOW));
  }
  // ShowModal: another window activated.
  {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 1000, 700, 100, 60, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    MenuWnd menu(nullptr);
    ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CPoint(700, 500), kNotify));
    menu.AddMenu(L"Entry", 101, L"", 0, 0);
    ModalScript script(menu.GetSafeHwnd());
    script.At(100, [&] {
      SetForegroundWindow(other);
      SetActiveWindow(other);
    });
    EXPECT_EQ(0u, menu.ShowModal(SW_SHOW));
    DestroyWindow(other);
  }
  EXPECT_TRUE(g_posted.empty());
  EXPECT_TRUE(IsWindowEnabled(host.GetSafeHwnd()));
}

TEST_F(MenuWndTest, ItemsShowTheirStateCellsAndADisabledItemIgnoresTheMouse) {
  RecordingMenu menu;
  ASSERT_EQ(1, menu.Create(nullptr, CPoint(600, 300), kNotify));
  menu.AddMenu(L"A", 101, L"", 0, 0);
  menu.AddMenu(L"B", 102, L"", 0, 0);
  menu.ShowWindow(SW_SHOWNOACTIVATE);
  HWND window = menu.GetSafeHwnd();
  CRect client;
  menu.GetClientRect(&client);
  testsupport::DibSurface surface(client.Width(), client.Height());
  auto pixel = [&](UINT id) {
    menu.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    const CRect r = menu.GetControl(id)->GetRect();
    return surface.Pixel(r.right - 20, r.top + r.Height() / 2);
  };
  auto* a = static_cast<MenuItem*>(menu.GetControl(101));
  const DWORD plain = pixel(101);
  testsupport::MoveInWindow(window, Centre(menu, 101));
  EXPECT_EQ(1, a->GetState());
  EXPECT_EQ(0x9FABFFu, pixel(101));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(menu, 101).x, Centre(menu, 101).y));
  EXPECT_EQ(2, a->GetState());
  EXPECT_EQ(0x596EFFu, pixel(101));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
  EXPECT_TRUE(menu.reports.empty()) << "a release outside reports nothing";

  // A release on a hovered entry that was not pressed reports nothing.
  testsupport::MoveInWindow(window, Centre(menu, 101));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(Centre(menu, 101).x, Centre(menu, 101).y));
  EXPECT_TRUE(menu.reports.empty());

  auto* b = static_cast<MenuItem*>(menu.GetControl(102));
  b->SetEnabled(0);
  EXPECT_EQ(3, b->GetState());
  EXPECT_EQ(plain, pixel(102)) << "the disabled cell is plain";
  testsupport::ClickWindow(window, Centre(menu, 102));
  EXPECT_EQ(3, b->GetState());
  EXPECT_TRUE(menu.reports.empty());
  menu.DestroyWindow();
}

// The function menu's list is a real KeyMenuFuncType made by the engine's factory: inset by
// 10 px, filled by AddItem, its hovered row on a plate, and a row chosen with the pointer
// posted to the owner as (notify, the row's data, the list's id).
TEST_F(MenuWndTest, FunctionMenuFillsItsListAndReportsTheChosenRowsData) {
  TESK::KeyMenuWnd menu(nullptr);
  menu.AddItem(L"Early", L"before the window", 99, L"");
  EXPECT_EQ(nullptr, menu.GetList()) << "AddItem before Create does nothing";
  ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CRect(100, 100, 400, 500), kNotify, L""));
  TESK::KeyMenuFuncType* list = menu.GetList();
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(CRect(10, 10, 290, 390), list->GetRect());
  EXPECT_EQ(CString(L"SourceHanSansCN-Bold"), list->GetTextFont());
  EXPECT_EQ(18, list->GetFontWidth());
  menu.AddItem(L"Copy", L"Ctrl+C", 5, L"");
  menu.AddItem(L"Paste", L"Ctrl+V", 6, L"no_such_icon.png");
  menu.AddItem(L"Cut", L"Ctrl+X", 7, L"");
  EXPECT_EQ(3, list->GetItemCount()) << "only the rows added to the list";

  // Row 2 spans list y 140 to 210; the plate shows right of its texts while it is hovered.
  menu.ShowWindow(SW_SHOWNOACTIVATE);
  HWND window = menu.GetSafeHwnd();
  CRect client;
  menu.GetClientRect(&client);
  testsupport::DibSurface surface(client.Width(), client.Height());
  const CPoint third(10 + 140, 10 + 140 + 35), plateSpot(10 + 265, 10 + 140 + 8);
  auto pixel = [&] {
    menu.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    return surface.Pixel(plateSpot.x, plateSpot.y);
  };
  EXPECT_EQ(0x161A23u, pixel()) << "the menu's own colour (COLORREF 0x231A16) around the rows";
  testsupport::MoveInWindow(window, third);
  EXPECT_EQ(0x393B50u, pixel()) << "the hovered row's plate";
  {
    ModalScript script(window);
    script.At(100, [&] { testsupport::ClickWindow(window, third); });
    EXPECT_EQ(0u, menu.ShowModal(SW_SHOW));
  }
  ASSERT_EQ(1u, g_posted.size());
  EXPECT_EQ(host.GetSafeHwnd(), g_posted[0].hwnd);
  EXPECT_EQ(7u, g_posted[0].wParam);
  EXPECT_EQ(100, g_posted[0].lParam);
  EXPECT_FALSE(IsWindow(window));
}

// Any control of the menu with the list's id reports for the list: a click on it closes the
// menu with its data posted.
TEST_F(MenuWndTest, FunctionMenuReportsWhatItsListsIdReports) {
  TESK::MenuExWnd menu(nullptr);
  ASSERT_EQ(1, menu.Create(host.GetSafeHwnd(), CRect(100, 100, 400, 500), kNotify, L""));
  auto* row = new ClickProbe(static_cast<TESK::MObject*>(&menu), TESK::MenuExWnd::kListId, CRect(10, 10, 290, 390));
  row->wParam = 7;
  static_cast<testsupport::OpenPaintManager*>(menu.GetPaintManager())->AttachControl(1, row);
  HWND window = menu.GetSafeHwnd();
  {
    ModalScript script(window);
    script.At(100, [&] { testsupport::ClickWindow(window, CPoint(100, 100)); });
    EXPECT_EQ(0u, menu.ShowModal(SW_SHOW));
  }
  ASSERT_EQ(1u, g_posted.size());
  EXPECT_EQ(7u, g_posted[0].wParam);
  EXPECT_EQ(100, g_posted[0].lParam);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
