#include "ui/core/CKeyboardTips.h"
#include "ui/core/KBToolTips.h"

#include <gtest/gtest.h>

#include <string>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/core/Manager.h"
#include "ui/core/WindowMessages.h"

using TESK::CKeyboardTips;
using TESK::KBToolTips;

namespace {

constexpr DWORD kFrame = 0x505050;
constexpr DWORD kInside = 0x141414;

// Counts every paint, whether asked for by WM_PAINT or by the tip itself.
class CountingTip : public CKeyboardTips {
public:
  using CKeyboardTips::GetGDIFont11;
  using CKeyboardTips::GetGDIFont2;
  int OnPaint() override {
    ++paints;
    return CKeyboardTips::OnPaint();
  }
  int paints = 0;
};

class CKeyboardTipsTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, owner.Create(nullptr, L"Key tip owner", WS_POPUP, 0, CRect(0, 0, 40, 40)));
    ASSERT_NE(nullptr, tip.Create(owner.GetSafeHwnd(), L"KeyboardTip Window", 0x96000080 & ~WS_VISIBLE, 0, CRect()));
  }
  void TearDown() override {
    tip.DestroyWindow();
    owner.DestroyWindow();
  }
  CRect Placed() {
    RECT r;
    tip.GetWindowRect(&r);
    return CRect(r);
  }
  // Lets pending paints and moves arrive.
  void Settle() { testsupport::PumpFor(50); }
  // Pixels that are not the background colour inside [left, right) x [top, bottom).
  static int Ink(const testsupport::DibSurface& s, int left, int top, int right, int bottom) {
    return (right - left) * (bottom - top) - s.Count(left, top, right, bottom, kInside);
  }
  // Rows holding ink inside the given columns and rows.
  static int InkRows(const testsupport::DibSurface& s, int left, int top, int right, int bottom) {
    int rows = 0;
    for (int y = top; y < bottom; ++y) rows += Ink(s, left, y, right, y + 1) > 0 ? 1 : 0;
    return rows;
  }

  testsupport::ProgramInstance instance;
  testsupport::GdiplusSession gdiplus;
  TESK::MWindow owner;
  CountingTip tip;
};

TEST_F(CKeyboardTipsTest, BoxSitsAboveTheAnchorWithFrameBackgroundAndThreeLines) {
  ASSERT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Wg 1", L"Wg 1", POINT{400, 300}));
  EXPECT_EQ(CRect(305, 200, 495, 300), Placed());
  tip.ShowWindow(SW_SHOWNOACTIVATE);
  Settle();

  testsupport::DibSurface seen(190, 100, 0xFF00FF);
  ASSERT_TRUE(seen.CopyFromWindow(tip.GetSafeHwnd()));
  struct Spot {
    int x, y;
    DWORD rgb;
    const char* what;
  } spots[] = {
      {0, 50, kFrame, "left frame"},      {50, 0, kFrame, "top frame"},       {1, 50, kInside, "inside the left frame"},
      {50, 1, kInside, "below the top frame"}, {188, 50, kFrame, "right frame, inner"},
      {187, 50, kInside, "left of the right frame"}, {50, 98, kFrame, "bottom frame, inner"},
      {50, 97, kInside, "above the bottom frame"}, {5, 30, kInside, "margin"},
  };
  for (const Spot& s : spots) EXPECT_EQ(s.rgb, seen.Pixel(s.x, s.y)) << s.what;
  // The window's rounded region leaves out the last column and row; the picture has them.
  testsupport::DibSurface drawn(190, 100);
  tip.ComposeTip(drawn.dc(), 190, 100);
  EXPECT_EQ(kFrame, drawn.Pixel(189, 50)) << "right frame, outer";
  EXPECT_EQ(kFrame, drawn.Pixel(50, 99)) << "bottom frame, outer";

  // The lines are centred in (10, 10, 170, 23), (10, 39, 170, 59) and (10, 67, 170, 87).
  EXPECT_GT(Ink(seen, 10, 10, 170, 23), 0) << "title";
  EXPECT_GT(Ink(seen, 10, 39, 170, 59), 0) << "text";
  EXPECT_GT(Ink(seen, 10, 67, 170, 87), 0) << "value";
  EXPECT_EQ(0, Ink(seen, 10, 24, 170, 38)) << "nothing between title and text";
  EXPECT_GT(InkRows(seen, 10, 67, 170, 87), InkRows(seen, 10, 39, 170, 59)) << "the value's font is larger (same text)";
}

TEST_F(CKeyboardTipsTest, TheSameFourArgumentsNeitherMoveNorRepaint) {
  tip.ShowWindow(SW_SHOWNOACTIVATE);
  ASSERT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Single key", L"1", POINT{400, 300}));
  Settle();
  const int painted = tip.paints;
  ASSERT_GT(painted, 0);

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Single key", L"1", POINT{400, 300}));
  Settle();
  EXPECT_EQ(painted, tip.paints) << "an identical message paints nothing";

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Single key", L"1", POINT{420, 300}));
  Settle();
  EXPECT_GT(tip.paints, painted) << "a new anchor paints";
  EXPECT_EQ(CRect(325, 200, 515, 300), Placed());
}

TEST_F(CKeyboardTipsTest, NullAndEmptyArguments) {
  ASSERT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Text", L"Value", POINT{400, 300}));
  const CRect placed = Placed();

  EXPECT_EQ(0, tip.SetAirBladderMsg(nullptr, L"Text", L"Value", POINT{10, 10})) << "null title";
  EXPECT_EQ(0, tip.SetAirBladderMsg(L"Key A", nullptr, L"Value", POINT{10, 10})) << "null text, same title";
  EXPECT_EQ(placed, Placed());

  testsupport::DibSurface drawn(190, 100);
  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Key B", nullptr, nullptr, POINT{400, 300})) << "null text, new title";
  tip.ComposeTip(drawn.dc(), 190, 100);
  EXPECT_GT(Ink(drawn, 10, 10, 170, 23), 0) << "title";
  EXPECT_EQ(0, Ink(drawn, 10, 39, 170, 59)) << "an empty second line";
  EXPECT_EQ(0, Ink(drawn, 10, 67, 170, 87)) << "an empty value";

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"", L"Text", L"Value", POINT{100, 100})) << "empty title";
  EXPECT_EQ(placed, Placed()) << "an empty title is stored without a move";
  tip.ComposeTip(drawn.dc(), 190, 100);
  EXPECT_EQ(0, Ink(drawn, 1, 1, 188, 98)) << "only frame and background";
  EXPECT_EQ(kFrame, drawn.Pixel(0, 0));
}

TEST_F(CKeyboardTipsTest, FocusLossAndTimerTenHideTheBox) {
  TESK::MWindow other;
  ASSERT_NE(nullptr, other.Create(nullptr, L"Other", WS_POPUP | WS_VISIBLE, 0, CRect(600, 600, 640, 640)));
  ASSERT_EQ(1, tip.SetAirBladderMsg(L"Key A", L"Text", L"Value", POINT{400, 300}));
  tip.ShowWindow(SW_SHOW);
  tip.SetFocus();
  ASSERT_EQ(tip.GetSafeHwnd(), GetFocus());
  SetActiveWindow(other.GetSafeHwnd());
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !tip.IsWindowVisible(); }, 2000))
      << "activating another window hides the key tip";

  tip.ShowWindow(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(tip.IsWindowVisible());
  tip.SendMessageW(WM_TIMER, 10, 0);
  EXPECT_FALSE(tip.IsWindowVisible()) << "timer 10";
  other.DestroyWindow();
}

TEST(KeyTipFontTest, LinesUseTheLibraryFaceCutToLeaveRoomForTheTerminator) {
  const CString previous = TESK::Manager::GetFontName();
  TESK::Manager::SetFontName(std::wstring(40, L'F').c_str());
  CountingTip tip;
  LOGFONTW small = {}, large = {};
  GetObjectW(tip.GetGDIFont11(), sizeof(small), &small);
  GetObjectW(tip.GetGDIFont2(), sizeof(large), &large);
  TESK::Manager::SetFontName(previous);
  EXPECT_EQ(std::wstring(31, L'F'), std::wstring(small.lfFaceName));
  EXPECT_EQ(-14, small.lfHeight);
  EXPECT_EQ(-18, large.lfHeight);
  EXPECT_EQ(DEFAULT_CHARSET, large.lfCharSet);
  EXPECT_EQ(tip.GetGDIFont11(), tip.GetGDIFont11()) << "made once";
}

TEST(KBToolTipsTest, ChecksItsArgumentsKeepsNothingAndClosesOnRequest) {
  testsupport::ProgramInstance instance;
  KBToolTips tips;
  EXPECT_EQ(0, tips.SetAirBladderMsg(nullptr, L"t", L"v", POINT{1, 1}));
  EXPECT_EQ(0, tips.SetAirBladderMsg(L"", nullptr, L"v", POINT{1, 1})) << "null text with the (empty) current title";
  EXPECT_EQ(1, tips.SetAirBladderMsg(L"Key", nullptr, nullptr, POINT{1, 1}));
  EXPECT_EQ(0, tips.SetAirBladderMsg(L"", nullptr, nullptr, POINT{1, 1})) << "the title was not kept";

  ASSERT_NE(nullptr, tips.Create(nullptr, L"KB tips", WS_POPUP, 0, CRect(0, 0, 30, 30)));
  EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), tips.GetExStyle());
  EXPECT_EQ(1, tips.SendMessageW(TESK::WM_UI_CLOSEDIALOG, 2, 0));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return tips.GetSafeHwnd() == nullptr; }, 2000)) << "WM_CLOSE was posted";
}

}  // namespace
