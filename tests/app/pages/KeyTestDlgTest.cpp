// The key test dialog with keys sent through the system's input queue: a key is green while
// held and red once released, Mute marks its own media key rather than Left Alt, the reset
// button clears the marks, and with another window in front nothing is marked and the keys
// reach that window.
#include "app/pages/KeyTestDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "BitmapProbe.h"
#include "HeldKey.h"
#include "MessagePump.h"
#include "app/AppMessages.h"
#include "ProgramInstance.h"
#include "ui/core/MObject.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyboardTestCtrl.h"

namespace {

constexpr DWORD kGrey = 0xE8E8E8, kRed = 0xE74250, kGreen = 0x21A939;

class KeyTestDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.CreateCentered(nullptr));
    SetForegroundWindow(dialog_.GetSafeHwnd());
    testsupport::PumpFor(100);
  }
  void TearDown() override {
    dialog_.Close();
    dialog_.DestroyWindow();
    if (edit_) DestroyWindow(edit_);
  }

  // The colour inside a key of the layout, near its lower left corner (clear of its label).
  DWORD KeyColour(const CRect& key) {
    testsupport::DibSurface surface(KeyTestDlg::kWidth, KeyTestDlg::kHeight);
    const CRect client(0, 0, KeyTestDlg::kWidth, KeyTestDlg::kHeight);
    dialog_.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    TESK::KeyboardTestCtrl* picture = dialog_.Picture();
    const CRect real = picture->GetRealRect(key);
    const CRect control = picture->GetRect();
    return surface.Pixel(control.left + real.left + 6, control.top + real.bottom - 6);
  }

  void Tap(WORD vk) {
    ASSERT_TRUE(testsupport::TapKey(vk));
    testsupport::PumpFor(150);
  }

  testsupport::GdiplusSession gdiplus_;
  testsupport::ProgramInstance instance_;
  KeyTestDlg dialog_;
  HWND edit_ = nullptr;
};

const CRect kKeyA(88, 162, 138, 212);
const CRect kAltLeft(146, 264, 216, 314);
const CRect kMute(795, 319, 845, 369);  // the 16th media key of row 7
const CRect kTab(0, 111, 70, 161);

TEST_F(KeyTestDlgTest, AKeyIsGreenWhileHeldAndRedOnceReleasedAndTheResetClearsTheMarks) {
  EXPECT_EQ(kGrey, KeyColour(kKeyA));
  // The hook swallows the key, so the system never reports it down: no HeldKey here.
  ASSERT_TRUE(testsupport::SendKeyEvent('A', false));
  testsupport::PumpFor(150);
  EXPECT_EQ(kGreen, KeyColour(kKeyA));
  ASSERT_TRUE(testsupport::SendKeyEvent('A', true));
  testsupport::PumpFor(150);
  EXPECT_EQ(kRed, KeyColour(kKeyA));
  EXPECT_EQ(kGrey, KeyColour(kTab)) << "untouched";
  dialog_.OnMessage(KeyTestDlg::kResetId, TESK::NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(kGrey, KeyColour(kKeyA));
}

TEST_F(KeyTestDlgTest, MuteAndLeftAltEachMarkTheirOwnKey) {
  const struct {
    WORD vk;
    CRect marked, untouched;
  } cases[] = {{VK_VOLUME_MUTE, kMute, kAltLeft}, {VK_LMENU, kAltLeft, kMute}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vk);
    dialog_.OnMessage(KeyTestDlg::kResetId, TESK::NOTIFY_CLICKED, 0, 0);
    Tap(c.vk);
    EXPECT_EQ(kRed, KeyColour(c.marked));
    EXPECT_EQ(kGrey, KeyColour(c.untouched));
  }
}

TEST_F(KeyTestDlgTest, WithAnotherWindowInFrontKeysAreNotMarkedAndReachThatWindow) {
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 240, 300, 200, 30, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(edit_);
  SetForegroundWindow(edit_);
  SetFocus(edit_);
  testsupport::PumpFor(100);
  Tap('A');
  EXPECT_EQ(kGrey, KeyColour(kKeyA));
  EXPECT_EQ(1, GetWindowTextLengthW(edit_));

  // Back in front, the key is taken and goes no further.
  SetForegroundWindow(dialog_.GetSafeHwnd());
  testsupport::PumpFor(100);
  Tap('A');
  EXPECT_EQ(kRed, KeyColour(kKeyA));
  EXPECT_EQ(1, GetWindowTextLengthW(edit_));
}

TEST_F(KeyTestDlgTest, AHookMessageThatIsNotTheDispatchedEventIsNeitherReadNorAnswered) {
  // An address no event record lives at: reading it would crash.
  EXPECT_EQ(0, dialog_.OnHookInput(WM_KEYDOWN, 0x10));
  EXPECT_EQ(0, SendMessageW(dialog_.GetSafeHwnd(), WM_KB_HOOK_INPUT, WM_KEYDOWN, 0x10));
}

}  // namespace
