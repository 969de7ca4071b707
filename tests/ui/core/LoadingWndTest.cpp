#include "ui/core/LoadingWnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "BitmapProbe.h"
#include "GifWriter.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/core/WindowMessages.h"

using TESK::LoadingWnd;

namespace {

// Twelve frames, each one colour, and the close strip's four cells.
const std::vector<DWORD> kFrames = {0xC00000, 0x00C000, 0x0000C0, 0xC0C000, 0xC000C0, 0x00C0C0,
                                    0x600000, 0x006000, 0x000060, 0x606000, 0x600060, 0x006060};
constexpr DWORD kCells[] = {0xE00000, 0x00E000, 0x0000E0, 0xE0E000};  // normal, hover, pressed, disabled
constexpr UINT kLoadingClose = WM_USER + 500;

class OpenLoadingWnd : public LoadingWnd {
public:
  using LoadingWnd::m_closeRect;
  using LoadingWnd::m_running;
  using LoadingWnd::m_tracking;
};

class LoadingWndTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    testsupport::WriteSkinGif(L"loading\\loading.gif", 232, 58, kFrames, 5);
    ASSERT_TRUE(testsupport::WriteStrip(L"img_sys_close.png", 24, 24,
                                        {0xFF000000 | kCells[0], 0xFF000000 | kCells[1], 0xFF000000 | kCells[2],
                                         0xFF000000 | kCells[3]}));
    ASSERT_TRUE(testsupport::WriteSkin(L"logo\\logo_loading.png", 160, 40, 0xFF808080));
  }
  void SetUp() override {
    ASSERT_NE(nullptr, parent.Create(nullptr, L"Loading parent", WS_POPUP, 0, CRect(0, 0, 40, 40)));
    ASSERT_NE(nullptr, loading.CreateDlg(parent.GetSafeHwnd(), CRect(100, 100, 500, 300)));
    // The test steps the animation itself.
    ASSERT_NE(0, KillTimer(loading.GetSafeHwnd(), 100)) << "the animation timer runs from creation";
  }
  void TearDown() override {
    loading.DestroyWindow();
    parent.DestroyWindow();
  }
  // The window's picture as the next animation step pushes it.
  void Compose() { loading.ComposeWindow(picture.dc(), 400, 200); }
  void Tick() { loading.SendMessageW(WM_TIMER, 100, 0); }
  // The shown close-button cell: 0 normal, 1 hover, 2 pressed; -1 for something else.
  int CloseCell() {
    Tick();
    Tick();
    Compose();
    const DWORD seen = picture.Pixel(loading.m_closeRect.left + 12, loading.m_closeRect.top + 12);
    for (int i = 0; i < 4; ++i) {
      if (seen == kCells[i]) return i;
    }
    return -1;
  }
  // Client point to screen point.
  POINT Screen(int x, int y) {
    POINT p = {x, y};
    ClientToScreen(loading.GetSafeHwnd(), &p);
    return p;
  }
  LPARAM Inside() { return MAKELPARAM(loading.m_closeRect.left + 5, loading.m_closeRect.top + 5); }

  testsupport::ProgramInstance instance;
  testsupport::GdiplusSession gdiplus;
  testsupport::DibSurface picture{400, 200};
  TESK::MWindow parent;
  OpenLoadingWnd loading;
};

TEST_F(LoadingWndTest, TimerStepsEveryFrameForTwoTicksAndWraps) {
  Compose();
  EXPECT_EQ(kFrames[0], picture.Pixel(200, 100));
  EXPECT_EQ(kFrames[0], picture.Pixel(84, 71)) << "a 400 x 200 client draws the animation at (84, 71)";
  EXPECT_EQ(kFrames[0], picture.Pixel(84 + 231, 71 + 57));
  EXPECT_NE(kFrames[0], picture.Pixel(83, 71));
  EXPECT_NE(kFrames[0], picture.Pixel(84, 70));
  EXPECT_NE(kFrames[0], picture.Pixel(84 + 232, 71 + 57));

  for (int tick = 1; tick <= 26; ++tick) {
    Tick();
    Compose();
    const size_t expected = static_cast<size_t>(tick / 2) % kFrames.size();
    EXPECT_EQ(kFrames[expected], picture.Pixel(200, 100)) << "after tick " << tick;
  }
}

TEST_F(LoadingWndTest, WithoutAGifTheTimerRunsAndNothingAnimates) {
  loading.LoadGifImage(L"loading\\no such animation.gif");
  ASSERT_NE(0u, SetTimer(loading.GetSafeHwnd(), 100, 18, nullptr));
  testsupport::PumpFor(60);
  ASSERT_NE(0, KillTimer(loading.GetSafeHwnd(), 100)) << "still running";
  for (int tick = 0; tick < 4; ++tick) Tick();
  Compose();
  const DWORD background = picture.Pixel(20, 190);
  EXPECT_EQ(background, picture.Pixel(200, 100)) << "no animation is drawn";
}

TEST_F(LoadingWndTest, CloseButtonFollowsTheRealPointerAndNotifiesTheParent) {
  loading.ShowWindow(SW_SHOWNOACTIVATE);
  const POINT over = Screen(loading.m_closeRect.left + 5, loading.m_closeRect.top + 5);
  const POINT away = Screen(-60, -60);

  EXPECT_EQ(0, CloseCell());
  SetCursorPos(over.x, over.y);
  loading.SendMessageW(WM_MOUSEMOVE, 0, Inside());
  EXPECT_EQ(1, CloseCell()) << "hover";
  loading.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, Inside());
  EXPECT_EQ(2, CloseCell()) << "pressed";
  loading.SendMessageW(WM_LBUTTONUP, 0, Inside());
  EXPECT_EQ(1, CloseCell()) << "released inside";
  MSG posted;
  EXPECT_TRUE(PeekMessageW(&posted, parent.GetSafeHwnd(), kLoadingClose, kLoadingClose, PM_REMOVE))
      << "1524 posted to the parent";

  for (int round = 0; round < 2; ++round) {
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return loading.m_tracking == 0; }, 3000)) << "the pointer left";
    EXPECT_EQ(0, CloseCell()) << "normal after leaving, round " << round;
    SetCursorPos(over.x, over.y);
    loading.SendMessageW(WM_MOUSEMOVE, 0, Inside());
    EXPECT_EQ(1, CloseCell()) << "hover again after leaving, round " << round;
  }

  loading.SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, Inside());
  loading.SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(0, CloseCell()) << "released outside";
  EXPECT_FALSE(PeekMessageW(&posted, parent.GetSafeHwnd(), kLoadingClose, kLoadingClose, PM_REMOVE));
  SetCursorPos(away.x, away.y);
}

TEST_F(LoadingWndTest, CloseRequestLeavesItOpenAndWindowCloseStopsTheAnimation) {
  EXPECT_EQ(1, loading.SendMessageW(TESK::WM_UI_CLOSEDIALOG, 1, 0));
  testsupport::PumpFor(50);
  EXPECT_TRUE(IsWindow(loading.GetSafeHwnd()));
  EXPECT_EQ(1, loading.m_running);

  loading.SendMessageW(WM_CLOSE, 0, 0);
  EXPECT_EQ(0, loading.m_running);
}

TEST_F(LoadingWndTest, ExtraFramesOnlyInsideTheirTable) {
  for (int index : {-1, 19, 1000}) EXPECT_EQ(0, loading.LoadAnimateImage(L"img_sys_close.png", index)) << index;
  EXPECT_EQ(1, loading.LoadAnimateImage(L"img_sys_close.png", 0));
  EXPECT_EQ(1, loading.LoadAnimateImage(L"img_sys_close.png", 18));
  EXPECT_EQ(0, loading.LoadAnimateImage(L"no such frame.png", 3));
}

}  // namespace
