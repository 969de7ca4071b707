// The key test of the real program, opened from the home page's tool page without a keyboard:
// keys sent through the system's input queue mark the dialog's keys while it is in front and
// reach another window while that one is in front; the reset button clears the marks, the close
// button ends the test, and a second click on the link opens no second dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "HeldKey.h"
#include "MessagePump.h"
#include "ProgramHarness.h"

using testsupport::PostClick;
using testsupport::ProgramHarness;

namespace {

constexpr DWORD kWaitMs = 15000;
constexpr int kWidth = 1400, kHeight = 650;
// Points of the main window's client area: the home page's tool tab and its key test link.
constexpr POINT kToolTab = {90, 290}, kKeyTestLink = {400, 115};
// The dialog's key picture, reset and close buttons (client points).
constexpr RECT kPicture = {50, 70, 1350, 540};
constexpr POINT kResetButton = {kWidth / 2 - 85, kHeight - 35}, kCloseButton = {kWidth / 2 + 85, kHeight - 35};
// A held key's interior, a released one's.
constexpr DWORD kGreen = 0x21A939, kRed = 0xE74250;

// The dialog's windows of that title, shown.
int ShownKeyTests() {
  int count = 0;
  for (HWND hwnd = FindWindowW(L"MWindow", L"KeyTestDlg"); hwnd;
       hwnd = FindWindowExW(nullptr, hwnd, L"MWindow", L"KeyTestDlg")) {
    count += IsWindowVisible(hwnd) ? 1 : 0;
  }
  return count;
}

class KeyTestProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    program.SetKeyboards("0");
    ASSERT_EQ(0, program.Start());
    ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs));
  }
  void TearDown() override {
    if (edit) DestroyWindow(edit);
  }

  // The dialog's picture as the screen shows it, once the marks settled.
  std::unique_ptr<testsupport::DibSurface> Shot() {
    testsupport::PumpFor(100);
    RECT rect;
    GetWindowRect(dialog, &rect);
    auto surface = std::make_unique<testsupport::DibSurface>(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    BitBlt(surface->dc(), 0, 0, kWidth, kHeight, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return surface;
  }
  int Count(DWORD rgb) {
    return Shot()->Count(kPicture.left, kPicture.top, kPicture.right, kPicture.bottom, rgb);
  }
  RECT Marked(DWORD rgb) {
    return Shot()->InkBox(kPicture, [rgb](DWORD pixel) { return pixel == rgb; });
  }
  void Key(WORD vk, bool up) {
    ASSERT_TRUE(testsupport::SendKeyEvent(vk, up));
  }
  void Front(HWND window) {
    SetForegroundWindow(window);
    testsupport::PumpUntil([&] { return GetForegroundWindow() == window; }, 2000);
  }

  ProgramHarness program;
  HWND dialog = nullptr;
  HWND edit = nullptr;
};

TEST_F(KeyTestProgramTest, KeysAreMarkedWhileTheDialogIsInFrontAndReachOtherWindowsOtherwise) {
  program.Click(kToolTab);
  testsupport::PumpFor(500);
  program.Click(kKeyTestLink);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return ShownKeyTests() == 1; }, kWaitMs));
  dialog = FindWindowW(L"MWindow", L"KeyTestDlg");
  RECT rect, main;
  GetWindowRect(dialog, &rect);
  GetWindowRect(program.Window(), &main);
  EXPECT_EQ(kWidth, rect.right - rect.left);
  EXPECT_EQ(kHeight, rect.bottom - rect.top);
  EXPECT_NEAR((main.left + main.right) / 2, (rect.left + rect.right) / 2, 1) << "centred over the main window";
  EXPECT_NEAR((main.top + main.bottom) / 2, (rect.top + rect.bottom) / 2, 1);
  Front(dialog);
  EXPECT_EQ(0, Count(kGreen) + Count(kRed)) << "every key grey";

  Key('A', false);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Count(kGreen) > 0; }, 5000)) << "A held";
  Key('A', true);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Count(kGreen) == 0 && Count(kRed) > 0; }, 5000)) << "A released";

  // Alt and Tab both marked, the dialog still in front.
  Key(VK_LMENU, false);
  Key(VK_TAB, false);
  Key(VK_TAB, true);
  Key(VK_LMENU, true);
  RECT withAltTab = {};
  const auto twoKeys = [&] {
    withAltTab = Marked(kRed);
    return withAltTab.right - withAltTab.left > 100;  // Tab's row and Alt's
  };
  EXPECT_TRUE(testsupport::PumpUntil(twoKeys, 5000));
  EXPECT_EQ(dialog, GetForegroundWindow());

  // Mute marks a key of the media row, below Alt's row.
  PostClick(dialog, kResetButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Count(kRed) == 0; }, 5000)) << "the reset clears the marks";
  Key(VK_VOLUME_MUTE, false);
  Key(VK_VOLUME_MUTE, true);
  RECT mute = {};
  EXPECT_TRUE(testsupport::PumpUntil([&] { return (mute = Marked(kRed)).bottom > 0; }, 5000));
  EXPECT_GT(mute.top, withAltTab.bottom) << "Mute's key lies below the Alt key";
  PostClick(dialog, kResetButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Count(kRed) == 0; }, 5000));

  // A second click on the link opens no second dialog.
  program.Click(kKeyTestLink);
  testsupport::PumpFor(1000);
  EXPECT_EQ(1, ShownKeyTests());

  // With a window of the test in front the keys go there and mark nothing.
  edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 240, 300, 200, 30, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, edit);
  Front(edit);
  SetFocus(edit);
  Key('A', false);
  Key('A', true);
  testsupport::PumpFor(1000);
  EXPECT_EQ(1, GetWindowTextLengthW(edit));
  EXPECT_EQ(0, Count(kRed) + Count(kGreen));

  // Closed, the keys reach other windows again.
  PostClick(dialog, kCloseButton);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ShownKeyTests() == 0; }, kWaitMs));
  Front(edit);
  SetFocus(edit);
  Key('B', false);
  Key('B', true);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return GetWindowTextLengthW(edit) == 2; }, 5000));
  EXPECT_TRUE(program.IsRunning());
}

}  // namespace
