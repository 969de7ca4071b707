// The in-place edit window: where it lies over its owner, what typing does to the owner's
// title and its parent's journal, its colours through the engine's reflection, and its end.
#include "ui/core/CEditWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/core/MControlFont.h"
#include "ui/core/PaintManager.h"

using testsupport::ControlHost;

namespace {

// A titled control that draws nothing: the owner whose text is edited.
class TitledOwner : public TESK::MControlFont {
public:
  TitledOwner(TESK::MObject* owner, UINT id, CRect rect, const wchar_t* title)
      : MControlFont(owner, id, rect, title, 1, 1, 1) {}
  void DrawControl(HDC&, CRect) override {}
};

// Counts its deletions, which only its window's end may cause.
class CountedEdit : public TESK::CEditWindow {
public:
  explicit CountedEdit(int* deleted) : m_deleted(deleted) {}
  ~CountedEdit() override { ++*m_deleted; }

private:
  int* m_deleted;
};

class CEditWindowTest : public testing::Test {
protected:
  void SetUp() override {
    owner = new TitledOwner(&host, 40, CRect(10, 20, 210, 60), L"Macro 1");
    owner->SetFontWidth(12);
    host.Adopt(owner);
  }

  // Shows an edit over the owner and registers the test's pointer, as owners do.
  CountedEdit* Open(CRect text = CRect()) {
    auto* edit = new CountedEdit(&deleted);
    edit->ShowEdit(owner, text);
    edit->SetOwnerPointer(&pointer);
    pointer = edit;
    return edit;
  }

  CRect ClientRectOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    return CRect(&r);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  TitledOwner* owner = nullptr;
  TESK::CEditWindow* pointer = nullptr;
  int deleted = 0;
};

TEST_F(CEditWindowTest, OpensOverTheOwnersTextLineFilledSelectedAndFocused) {
  CountedEdit* edit = Open();
  HWND hwnd = edit->GetSafeHwnd();
  ASSERT_NE(nullptr, hwnd);
  EXPECT_EQ(CRect(16, 33, 204, 47), ClientRectOf(hwnd));
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, 32);
  EXPECT_STREQ(L"FSEditWindow", className);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  CString text;
  edit->GetWindowTextW(text);
  EXPECT_EQ(CString(L"Macro 1"), text);
  DWORD start = 1, end = 0;
  SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(0u, start);
  EXPECT_EQ(7u, end);
  EXPECT_EQ(hwnd, GetFocus());
  EXPECT_EQ(120u, SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0));

  // A given text area is used as it is.
  edit->DestroyWindow();
  CountedEdit* placed = Open(CRect(30, 25, 130, 45));
  EXPECT_EQ(CRect(30, 25, 130, 45), ClientRectOf(placed->GetSafeHwnd()));
}

TEST_F(CEditWindowTest, EachChangedTextBecomesTheTitleAndIsReportedOnce) {
  CountedEdit* edit = Open();
  HWND hwnd = edit->GetSafeHwnd();
  host.ClearJournal();
  SendMessageW(hwnd, WM_CHAR, 'a', 1);
  SendMessageW(hwnd, WM_CHAR, 'b', 1);
  EXPECT_EQ(CString(L"ab"), owner->GetTitle());
  EXPECT_EQ((std::vector<std::string>{"40 notify 26 (0, 0)", "40 notify 26 (0, 0)"}), host.Notifications());

  host.ClearJournal();
  SetWindowTextW(hwnd, L"ab");
  EXPECT_TRUE(host.Notifications().empty()) << "the same text again reports nothing";
  SendMessageW(hwnd, EM_SETSEL, 2, 2);
  SendMessageW(hwnd, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(CString(L"a"), owner->GetTitle());
  EXPECT_EQ((std::vector<std::string>{"40 notify 26 (0, 0)"}), host.Notifications());
}

TEST_F(CEditWindowTest, ReflectedColourMessagesAnswerTheBackgroundBrushOrNothing) {
  CountedEdit* edit = Open();
  HWND hwnd = edit->GetSafeHwnd();
  HDC dc = GetDC(hwnd);
  // Sent to the host window: the engine reflects it to the edit at message + 0x2000.
  const auto ask = [&](UINT message) {
    return SendMessageW(host.GetSafeHwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
  };
  const LRESULT brush = ask(WM_CTLCOLOREDIT);
  EXPECT_NE(0, brush);
  EXPECT_EQ(brush, ask(WM_CTLCOLORSTATIC)) << "one brush, made once";
  EXPECT_EQ(RGB(0xFB, 0x0A, 0x00), GetTextColor(dc));
  LOGBRUSH info = {};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
  EXPECT_EQ(0x897368u, info.lbColor);

  // The reflected answer 0 lets the host window's default procedure choose the colours.
  edit->SetColor(0xFFFFFFFF, 0);
  EXPECT_EQ(0, SendMessageW(hwnd, WM_CTLCOLOREDIT + 0x2000, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  ReleaseDC(hwnd, dc);
}

TEST_F(CEditWindowTest, OverALayeredHostItIsAPopupAtScreenCoordinates) {
  host.GetPaintManager()->SetLayeredWindow(1);
  CountedEdit* edit = Open();
  HWND hwnd = edit->GetSafeHwnd();
  ASSERT_NE(nullptr, hwnd);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  RECT hostRect, editRect;
  GetWindowRect(host.GetSafeHwnd(), &hostRect);
  GetWindowRect(hwnd, &editRect);
  EXPECT_EQ(hostRect.left + 16, editRect.left);
  EXPECT_EQ(hostRect.top + 33, editRect.top);
  EXPECT_EQ(0, SendMessageW(hwnd, WM_PRINT, 0, PRF_CLIENT));

  // Its notifications still reach the engine (the owner window), which reflects them back.
  host.ClearJournal();
  SendMessageW(hwnd, WM_CHAR, 'z', 1);
  EXPECT_EQ(CString(L"z"), owner->GetTitle());
  EXPECT_EQ((std::vector<std::string>{"40 notify 26 (0, 0)"}), host.Notifications());
}

TEST_F(CEditWindowTest, TheWindowsEndClearsTheOwnersPointerAndDeletesTheObjectOnce) {
  CountedEdit* edit = Open();
  host.ClearJournal();
  EXPECT_NE(0, edit->DestroyWindow());
  EXPECT_EQ(nullptr, pointer);
  EXPECT_EQ(1, deleted);
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(40)) << "the owner is drawn again";

  // An owner that released it first is neither redrawn nor written.
  TESK::CEditWindow* kept = Open();
  kept->ReleaseOwner();
  host.ClearJournal();
  DestroyWindow(kept->GetSafeHwnd());
  EXPECT_EQ(2, deleted);
  EXPECT_NE(nullptr, pointer) << "a released owner's pointer is left alone";
  EXPECT_TRUE(host.Journal().empty());
}

}  // namespace
