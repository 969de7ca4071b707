// The popup skeleton through the combo drop-down: creation and style, the list inset, the
// report of a choice and of the window's end, dismissal on deactivation, and position changes.
#include "ui/core/CComboBoxWnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "ModalScript.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/controls/CComboBoxList.h"

using testsupport::RecordingOwner;
using TESK::CComboBoxWnd;

namespace {

constexpr DWORD kHiddenPopup = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// Records what the popup's layout and repaint paths see.
class RecordingDropDown : public CComboBoxWnd {
public:
  void UISize(CRect client) override { sizes.push_back(client); }
  LRESULT OnControlUpdate(CRect rect, int redraw, TESK::MControl* control) override {
    if (control == GetList()) ++listRepaints;
    return CComboBoxWnd::OnControlUpdate(rect, redraw, control);
  }
  std::vector<CRect> sizes;
  int listRepaints = 0;
};

bool SameMessage(const RecordingOwner::Message& m, UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return m.id == id && m.code == code && m.wParam == wParam && m.lParam == lParam;
}

// A plain top-level window to take the activation away from a popup.
class OtherWindow {
public:
  OtherWindow() {
    m_hwnd = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 900, 600, 120, 80, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  ~OtherWindow() { DestroyWindow(m_hwnd); }
  HWND get() const { return m_hwnd; }

private:
  HWND m_hwnd;
};

class MPopupWndTest : public testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  RecordingOwner owner;
};

TEST_F(MPopupWndTest, DropDownIsAToolWindowWithItsListInsetAndReportsOnlyTheListsClick) {
  RecordingDropDown popup;
  popup.SetParent(&owner);
  ASSERT_NE(nullptr, popup.Create(nullptr, L"ComboWnd", kHiddenPopup, WS_EX_TOOLWINDOW, CRect(100, 100, 300, 262)));
  EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), popup.GetExStyle());
  EXPECT_EQ(0u, popup.GetStyle() & (WS_CAPTION | WS_THICKFRAME));
  ASSERT_NE(nullptr, popup.GetList());
  EXPECT_EQ(CRect(2, 2, 198, 160), popup.GetList()->GetRect());
  EXPECT_EQ(popup.GetList(), popup.GetControl(CComboBoxWnd::kListId));

  // Other controls' notifications and other codes of the list are answered 0 and close nothing.
  EXPECT_EQ(0, popup.OnMessage(5, TESK::NOTIFY_CLICKED, 1, 19));
  EXPECT_EQ(0, popup.OnMessage(CComboBoxWnd::kListId, TESK::NOTIFY_PRESSED, 1, 19));
  testsupport::PumpFor(50);
  EXPECT_TRUE(IsWindow(popup.GetSafeHwnd()));
  EXPECT_TRUE(owner.messages.empty());

  // The list's click: the choice reaches the parent at once, the end after the posted close.
  HWND window = popup.GetSafeHwnd();
  EXPECT_EQ(1, popup.OnMessage(CComboBoxWnd::kListId, TESK::NOTIFY_CLICKED, 1, 19));
  ASSERT_EQ(1u, owner.messages.size());
  EXPECT_TRUE(SameMessage(owner.messages[0], 0, TESK::NOTIFY_CLICKED, 1, 19));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(window); }, 2000));
  ASSERT_EQ(2u, owner.messages.size());
  EXPECT_TRUE(SameMessage(owner.messages[1], 0, CComboBoxWnd::kDestroyedCode, 0, 0));
}

TEST_F(MPopupWndTest, WithoutParentOrListNothingIsReported) {
  CComboBoxWnd popup;
  EXPECT_EQ(0, popup.SendMessageToParent(TESK::NOTIFY_CLICKED, 0, 0));
  EXPECT_EQ(-1, popup.AddItem(L"a", 1, L"", Gdiplus::Color(0)));
  popup.SetListAlignment(2);
  popup.UpdateList();
  ASSERT_NE(nullptr, popup.Create(nullptr, L"ComboWnd", kHiddenPopup, WS_EX_TOOLWINDOW, CRect(0, 0, 100, 60)));
  EXPECT_EQ(0, popup.AddItem(L"a", 1, L"", Gdiplus::Color(0)));
  popup.DestroyWindow();  // its end reports to no parent
}

TEST_F(MPopupWndTest, AlignmentRedrawsTheListOnlyWhenItChanges) {
  RecordingDropDown popup;
  ASSERT_NE(nullptr, popup.Create(nullptr, L"ComboWnd", kHiddenPopup, WS_EX_TOOLWINDOW, CRect(0, 0, 200, 100)));
  UINT h, v;
  popup.GetList()->GetAlignment(h, v);
  popup.SetListAlignment(h);
  EXPECT_EQ(0, popup.listRepaints);
  popup.SetListAlignment(2);
  EXPECT_EQ(1, popup.listRepaints);
  popup.DestroyWindow();
}

TEST_F(MPopupWndTest, MovingAndResizingFinishAndReachUISize) {
  RecordingDropDown popup;
  ASSERT_NE(nullptr, popup.Create(nullptr, L"ComboWnd", kHiddenPopup, WS_EX_TOOLWINDOW, CRect(0, 0, 200, 100)));
  popup.sizes.clear();
  // The frame recomputation inside WM_WINDOWPOSCHANGED sends that message again.
  EXPECT_NE(0, popup.SetWindowPos(nullptr, 50, 60, 240, 180, SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_FALSE(popup.sizes.empty());
  EXPECT_EQ(CRect(0, 0, 240, 180), popup.sizes.back());
  popup.SetupRegion(10);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, GetWindowRgn(popup.GetSafeHwnd(), region));
  DeleteObject(region);
  popup.DestroyWindow();
}

TEST_F(MPopupWndTest, ActivatingAnotherWindowDismissesThePopupAndShowModalGivesZero) {
  OtherWindow other;
  RecordingDropDown popup;
  popup.SetParent(&owner);
  ASSERT_NE(nullptr, popup.Create(nullptr, L"ComboWnd", kHiddenPopup, WS_EX_TOOLWINDOW, CRect(0, 0, 200, 100)));
  HWND window = popup.GetSafeHwnd();
  {
    testsupport::ModalScript script(window);
    script.At(100, [&] {
      SetForegroundWindow(other.get());
      SetActiveWindow(other.get());
    });
    EXPECT_EQ(0u, popup.ShowModal(SW_SHOW));
  }
  EXPECT_FALSE(IsWindow(window));
  ASSERT_FALSE(owner.messages.empty());
  EXPECT_TRUE(SameMessage(owner.messages.back(), 0, CComboBoxWnd::kDestroyedCode, 0, 0));
  EXPECT_EQ(0xFFFFFFFFu, popup.ShowModal(SW_SHOW)) << "a dismissed popup has no window to run";
}

}  // namespace
