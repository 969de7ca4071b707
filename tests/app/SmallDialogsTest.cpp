// The shell's language texts and its small dialogs: the message box read back from its
// window and controls, closed by its buttons and from outside, also from a second thread;
// the wait dialog closed by a real worker however quickly the task ends; the upgrade
// progress dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "FileBytes.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "RecordingDeviceLink.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/UpdateTipDlg.h"
#include "app/WaitDlg.h"
#include "ui/controls/CGifPicture.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MProgress.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

using testsupport::PumpUntil;

namespace {

// ---- Language texts ----

// A language id of the tests' own; its file is written beside the test executable.
constexpr int kFixtureLanguage = 9901;

class LanguageTextTest : public testing::Test {
protected:
  void SetUp() override {
    m_saved = CurrentLanguage.load();
    CreateDirectoryW(TESK::GetProgramFolder() + L"language", nullptr);
    // UTF-16 with its byte-order mark, as the platform's profile reader takes it.
    std::wstring text = L"\xFEFF[KB.DIALOG]\r\n20=OK\r\n";
    text += L"820=\x5347\x7EA7\x4E2D \xD834\xDD1E\r\n";  // CJK and a surrogate pair
    text += L"900=" + std::wstring(300, L'x') + L"\r\n";
    text += L"[CAPTION]\r\n1=Frame caption\r\n";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    testsupport::WriteFileBytes(std::wstring(LanguageFilePath(kFixtureLanguage)),
                                std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t)));
  }
  void TearDown() override {
    DeleteFileW(LanguageFilePath(kFixtureLanguage));
    CurrentLanguage = m_saved;
  }

  int m_saved = 1033;
};

TEST_F(LanguageTextTest, TextsComeFromTheCurrentLanguagesFileAndMissingOnesAreEmpty) {
  CurrentLanguage = kFixtureLanguage;
  EXPECT_STREQ(L"OK", LoadLanString(L"KB.DIALOG", 20).GetString());
  EXPECT_STREQ(L"\x5347\x7EA7\x4E2D \xD834\xDD1E", LoadLanString(L"KB.DIALOG", 820).GetString());
  EXPECT_STREQ(L"Frame caption", LoadLanString(L"CAPTION", 1).GetString());
  EXPECT_EQ(std::wstring(259, L'x'), std::wstring(LoadLanString(L"KB.DIALOG", 900).GetString()))
      << "cut to the reader's 259 characters";

  EXPECT_STREQ(L"", LoadLanString(L"KB.DIALOG", 21).GetString()) << "missing key";
  EXPECT_STREQ(L"", LoadLanString(L"NO.SECTION", 20).GetString()) << "missing section";
  CurrentLanguage = kFixtureLanguage + 1;
  EXPECT_STREQ(L"", LoadLanString(L"KB.DIALOG", 20).GetString()) << "missing file";
}

TEST_F(LanguageTextTest, ShippedLanguagesHoldTheShellsTexts) {
  for (int language : {1033, 2052}) {
    CurrentLanguage = language;
    for (int id : {20, 23, 25, 820, 821}) {
      EXPECT_FALSE(LoadLanString(L"KB.DIALOG", id).IsEmpty()) << "language " << language << " text " << id;
    }
  }
}

// ---- Message box ----

// Runs ShowMessageBox on a thread of its own, as the worker does, and finds its window.
class BoxOnThread {
public:
  BoxOnThread(const wchar_t* message, int mode)
      : m_thread([this, message, mode] {
          m_threadId = GetCurrentThreadId();
          m_result = ShowMessageBox(nullptr, message, L"Title", mode);
        }) {
    PumpUntil([this] { return (m_hwnd = FindBox()) != nullptr && IsWindowVisible(m_hwnd); }, 5000);
    // The window shows before its controls are made; a sent message is answered only once the
    // box's thread waits in its modal loop, with every control in place.
    if (m_hwnd) SendMessageTimeoutW(m_hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
  }
  ~BoxOnThread() {
    if (m_thread.joinable()) {
      if (m_hwnd) PostMessageW(m_hwnd, WM_CLOSE, 2, 0);
      m_thread.join();
    }
  }
  HWND hwnd() const { return m_hwnd; }
  CUIMessageBox* box() const {
    return m_hwnd ? dynamic_cast<CUIMessageBox*>(reinterpret_cast<TESK::MWindow*>(
                        GetWindowLongPtrW(m_hwnd, GWLP_USERDATA)))
                  : nullptr;
  }
  // The box's result once its loop has ended, or -1 after five seconds.
  int Result() {
    if (!PumpUntil([this] { return m_result != -1; }, 5000)) return -1;
    m_thread.join();
    return m_result;
  }
  // Posts a press and a release at the centre of control id, with the pointer there.
  void ClickControl(UINT id) {
    const CRect r = box()->GetControl(id)->GetRect();
    testsupport::PostClick(m_hwnd, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

private:
  HWND FindBox() const {
    HWND found = nullptr;
    EnumThreadWindows(m_threadId, &MatchBox, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK MatchBox(HWND hwnd, LPARAM out) {
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    if (std::wstring(title) != L"MessageBox") return TRUE;
    *reinterpret_cast<HWND*>(out) = hwnd;
    return FALSE;
  }

  std::atomic<DWORD> m_threadId{0};
  std::atomic<int> m_result{-1};
  HWND m_hwnd = nullptr;
  std::thread m_thread;
};

class MessageBoxTest : public testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
};

CString Title(TESK::MControl* control) {
  auto* font = dynamic_cast<TESK::MControlFont*>(control);
  return font ? font->GetTitle() : CString(L"<none>");
}

TEST_F(MessageBoxTest, ModesGiveTheirButtonsAndTextsInACentredBox) {
  const struct {
    int mode;
    std::vector<UINT> buttons;
  } cases[] = {{0, {33}}, {4, {33, 34}}, {7, {}}};
  for (const auto& c : cases) {
    BoxOnThread box(L"Message", c.mode);
    ASSERT_NE(nullptr, box.box()) << "mode " << c.mode;
    RECT frame{};
    GetWindowRect(box.hwnd(), &frame);
    EXPECT_EQ(500, frame.right - frame.left);
    EXPECT_EQ(260, frame.bottom - frame.top);
    EXPECT_NEAR((GetSystemMetrics(SM_CXSCREEN) - 500) / 2, frame.left, 1) << "centred";
    EXPECT_EQ(WS_EX_TOOLWINDOW, GetWindowLongPtrW(box.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_STREQ(L"Title", Title(box.box()->GetControl(31)).GetString());
    EXPECT_STREQ(L"Message", Title(box.box()->GetControl(32)).GetString());
    for (UINT id : {33u, 34u}) {
      const bool wanted = std::find(c.buttons.begin(), c.buttons.end(), id) != c.buttons.end();
      EXPECT_EQ(wanted, box.box()->GetControl(id) != nullptr) << "mode " << c.mode << " button " << id;
    }
    if (c.mode == 0) {
      EXPECT_EQ(CRect(100, 210, 400, 246), box.box()->GetControl(33)->GetRect());
      EXPECT_STREQ(LoadLanString(L"KB.DIALOG", 20).GetString(), Title(box.box()->GetControl(33)).GetString());
    }
    if (c.mode == 4) {
      EXPECT_EQ(CRect(130, 210, 230, 246), box.box()->GetControl(33)->GetRect());
      EXPECT_EQ(CRect(270, 210, 370, 246), box.box()->GetControl(34)->GetRect()) << "40 px apart around the middle";
      EXPECT_STREQ(LoadLanString(L"KB.DIALOG", 23).GetString(), Title(box.box()->GetControl(33)).GetString());
      EXPECT_STREQ(LoadLanString(L"KB.DIALOG", 25).GetString(), Title(box.box()->GetControl(34)).GetString());
    }
  }
}

TEST_F(MessageBoxTest, ButtonsAndACloseFromOutsideGiveTheResults) {
  {
    BoxOnThread box(L"One", 0);
    ASSERT_NE(nullptr, box.box());
    box.ClickControl(33);
    EXPECT_EQ(1, box.Result());
  }
  {
    BoxOnThread box(L"Two", 4);
    ASSERT_NE(nullptr, box.box());
    box.ClickControl(34);
    EXPECT_EQ(2, box.Result());
  }
  for (int mode : {4, 7}) {
    BoxOnThread box(L"Closed", mode);
    ASSERT_NE(nullptr, box.hwnd());
    PostMessageW(box.hwnd(), WM_CLOSE, 2, 0);
    EXPECT_EQ(2, box.Result()) << "mode " << mode;
  }
}

// The message's ink lies within its rectangle and spreads over several lines.
TEST_F(MessageBoxTest, ALongMessageIsDrawnCentredOnSeveralLines) {
  BoxOnThread box(L"A message long enough that it cannot stand on one line of a box five hundred pixels wide, "
                  L"so it wraps",
                  0);
  ASSERT_NE(nullptr, box.box());
  // Composed on the box's own thread: its controls' drawings belong to that thread.
  testsupport::DibSurface surface(500, 260);
  const CRect client(0, 0, 500, 260);
  std::atomic<bool> composed{false};
  TESK::PaintManager* engine = box.box()->GetPaintManager();
  ASSERT_TRUE(engine->PostCallable([&] {
    engine->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    composed = true;
  }));
  ASSERT_TRUE(PumpUntil([&] { return composed.load(); }, 5000));
  const CRect text = box.box()->GetControl(32)->GetRect();
  const DWORD paper = surface.Pixel(250, text.top - 8);
  int rowsWithInk = 0, inkOutside = 0;
  for (int y = text.top - 6; y < text.bottom + 6; ++y) {
    bool ink = false;
    for (int x = 10; x < 490; ++x) {
      if (surface.Pixel(x, y) == paper) continue;
      if (text.PtInRect(POINT{x, y})) {
        ink = true;
      } else {
        ++inkOutside;
      }
    }
    rowsWithInk += ink;
  }
  EXPECT_EQ(0, inkOutside);
  EXPECT_GT(rowsWithInk, 25) << "more than one line of 16-px text";
}

// ---- Wait dialog ----

class WaitDialogTest : public testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
};

TEST_F(WaitDialogTest, ATaskThatEndsAtOnceStillClosesItsDialog) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 80, 800, 600, nullptr, nullptr,
                               nullptr, nullptr);
  testsupport::RecordingDeviceLink link;
  link.m_connected = true;
  link.m_deviceReady = true;
  link.Start();
  for (int round = 0; round < 200; ++round) {
    const DWORD started = GetTickCount();
    ASSERT_EQ(1u, RunWaitDialog(link, owner, TASK_APPLY_PROFILE)) << "round " << round;
    ASSERT_LT(GetTickCount() - started, 1000u) << "round " << round;
  }
  link.Stop();
  DestroyWindow(owner);
}

TEST_F(WaitDialogTest, TheDialogSitsTopmostInTheMiddleOfItsOwnerAndAnimates) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 80, 800, 600, nullptr, nullptr,
                               nullptr, nullptr);
  WaitDlg dialog;
  ASSERT_NE(nullptr, dialog.CreateCentered(owner));
  RECT frame{};
  GetWindowRect(dialog.GetSafeHwnd(), &frame);
  EXPECT_EQ(100 + (800 - 102) / 2, frame.left);
  EXPECT_EQ(80 + (600 - 102) / 2, frame.top);
  EXPECT_EQ(102, frame.right - frame.left);
  EXPECT_EQ(102, frame.bottom - frame.top);
  EXPECT_TRUE(GetWindowLongPtrW(dialog.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  auto* animation = dynamic_cast<TESK::CGifPicture*>(dialog.GetControl(WaitDlg::kAnimationId));
  ASSERT_NE(nullptr, animation);
  EXPECT_TRUE(animation->IsRunning());
  const int first = animation->GetCurrentFrame();
  EXPECT_TRUE(PumpUntil([&] { return animation->GetCurrentFrame() != first; }, 3000))
      << "the window's ticks advance the animation";
  dialog.DestroyWindow();
  DestroyWindow(owner);
}

// ---- Upgrade progress dialog ----

TEST_F(WaitDialogTest, ProgressDialogShowsCaptionAndPercentOnceItsControlsExist) {
  UpdateTipDlg dialog;
  dialog.SetProgress(10, L"Early");
  EXPECT_STREQ(L"Early: 10%", dialog.GetText().GetString()) << "before the window only the text changes";

  ASSERT_NE(nullptr, dialog.Create(nullptr, L"UpdateTipDlg", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW,
                                   CRect(0, 0, 391, 71)));
  auto* caption = dynamic_cast<TESK::MText*>(dialog.GetControl(UpdateTipDlg::kCaptionId));
  auto* bar = dynamic_cast<TESK::MProgress*>(dialog.GetControl(UpdateTipDlg::kProgressId));
  ASSERT_NE(nullptr, caption);
  ASSERT_NE(nullptr, bar);
  dialog.SetProgress(40, L"Firmware");
  EXPECT_STREQ(L"Firmware: 40%", caption->GetTitle().GetString());
  EXPECT_EQ(40, bar->GetProgress());
  dialog.DestroyWindow();
}

TEST_F(WaitDialogTest, ProgressDialogShowCenteredMakesItsWindowAndEndsOnDoOK) {
  UpdateTipDlg dialog;
  std::thread closer([&] {
    PumpUntil([&] { return dialog.GetSafeHwnd() != nullptr && IsWindowVisible(dialog.GetSafeHwnd()); }, 5000);
    RECT frame{};
    GetWindowRect(dialog.GetSafeHwnd(), &frame);
    EXPECT_EQ(391, frame.right - frame.left);
    EXPECT_EQ(71, frame.bottom - frame.top);
    dialog.DoOK();
  });
  EXPECT_EQ(1u, dialog.ShowCentered(nullptr));
  closer.join();
}

}  // namespace
