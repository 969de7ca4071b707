#include "MessagePump.h"

#include <gtest/gtest.h>

namespace {

void CALLBACK MarkWindow(HWND w, UINT, UINT_PTR, DWORD) { SetWindowLongPtrW(w, GWLP_USERDATA, 1); }

// A wait for a message that never comes must end at its time-out, not hang.
TEST(MessagePumpTest, WaitForAMissingMessageEndsAtItsTimeout) {
  bool arrived = false;
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(testsupport::PumpUntil([&] { return arrived; }, 300));
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, 280u);
  EXPECT_LT(took, 3000u);
}

TEST(MessagePumpTest, TimerMessageArrivesWhilePumping) {
  bool arrived = false;
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, window);
  SetTimer(window, 1, 20, MarkWindow);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return GetWindowLongPtrW(window, GWLP_USERDATA) == 1; }, 2000));
  arrived = true;
  EXPECT_TRUE(arrived);
  DestroyWindow(window);
}

}  // namespace
