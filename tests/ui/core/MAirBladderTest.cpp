#include "ui/core/MAirBladder.h"
#include "ui/core/CKeyboardTips.h"
#include "ui/core/KBToolTips.h"
#include "ui/core/LoadingWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "BitmapProbe.h"
#include "ProgramInstance.h"
#include "VirtualSlot.h"
#include "ui/core/TeskModule.h"

using TESK::AIRBLADDER_MODE;
using TESK::AIRBLADDER_TYPE;
using TESK::MAirBladder;

namespace {

AIRBLADDER_TYPE Type(int t) { return static_cast<AIRBLADDER_TYPE>(t); }
AIRBLADDER_MODE Mode(int m) { return static_cast<AIRBLADDER_MODE>(m); }

TEST(MAirBladderFitTest, RectangleForEveryMode) {
  const POINT anchor = {500, 300};
  struct Case {
    int mode;
    CRect expected;
  } cases[] = {
      {1, CRect(500, 300, 640, 340)}, {2, CRect(360, 273, 500, 313)}, {3, CRect(475, 300, 615, 350)},
      {4, CRect(435, 260, 565, 300)}, {5, CRect(500, 290, 640, 290)}, {0, CRect()},
      {6, CRect()},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(t.expected, MAirBladder::FitRect(t.mode, anchor, 100, 20)) << "mode " << t.mode;
  }
  EXPECT_EQ(CRect(500, 290, 640, 355), MAirBladder::FitRect(5, anchor, 100, 100)) << "mode 5 with room to spare";
}

class Balloon : public MAirBladder {
public:
  using MAirBladder::m_pFontFamily;
  using MAirBladder::m_pFormat;
};

std::wstring FamilyName(const Gdiplus::FontFamily& family) {
  wchar_t name[LF_FACESIZE] = {};
  family.GetFamilyName(name);
  return name;
}

class MAirBladderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, owner.Create(nullptr));
    ASSERT_NE(nullptr, tip.Create(owner.GetSafeHwnd(), L"AirBladder Window", 0x96000080 & ~WS_VISIBLE, 0, CRect()));
  }
  // The windows go before their objects: a later test that pumps messages (the tip's hide
  // timer) must not reach a deleted object.
  void TearDown() override {
    tip.DestroyWindow();
    owner.DestroyWindow();
  }
  CRect Placed() {
    RECT r;
    tip.GetWindowRect(&r);
    return CRect(r);
  }
  // Whether the hide timer was running; stops it.
  bool HideTimerWasRunning() { return ::KillTimer(tip.GetSafeHwnd(), 10) != 0; }

  testsupport::ProgramInstance instance;
  testsupport::GdiplusSession gdiplus;
  TESK::MWindow owner;
  Balloon tip;
};

TEST_F(MAirBladderTest, OneLineIsCentredAndTwoLinesAreTwiceAsTall) {
  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Hello", POINT{100, 100}, Type(1), Mode(1)));
  const CRect one = Placed();
  EXPECT_EQ(CPoint(100, 100), one.TopLeft());
  EXPECT_EQ(Gdiplus::StringAlignmentCenter, tip.m_pFormat->GetAlignment());
  EXPECT_GT(one.Width(), 40);

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Hello\nWorld", POINT{100, 100}, Type(1), Mode(1)));
  const CRect two = Placed();
  EXPECT_EQ(Gdiplus::StringAlignmentNear, tip.m_pFormat->GetAlignment());
  EXPECT_EQ(2 * (one.Height() - 20), two.Height() - 20);

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"Hello\nWorld", POINT{100, 100}, Type(1), Mode(4)));
  EXPECT_EQ(Gdiplus::StringAlignmentCenter, tip.m_pFormat->GetAlignment()) << "mode 4 centres every text";
  EXPECT_EQ(100, Placed().bottom);

  EXPECT_EQ(1, tip.SetAirBladderMsg(L"x", POINT{100, 100}, Type(1), Mode(5)));
  EXPECT_GE(Placed().Height(), 0) << "a text shorter than mode 5 assumes";
  EXPECT_EQ(1, tip.SetAirBladderMsg(L"x", POINT{100, 100}, Type(1), Mode(9)));
  EXPECT_EQ(CRect(0, 0, 0, 0), Placed());
}

TEST_F(MAirBladderTest, TheSameMessageTwiceKeepsTheHideTimerAndNullChangesNothing) {
  tip.SetAirBladderMsg(L"Tip", POINT{50, 60}, Type(1), Mode(3));
  EXPECT_TRUE(HideTimerWasRunning());
  tip.SetAirBladderMsg(L"Tip", POINT{50, 60}, Type(1), Mode(3));
  EXPECT_FALSE(HideTimerWasRunning()) << "an identical message does not restart it";
  tip.SetAirBladderMsg(L"Tip", POINT{51, 60}, Type(1), Mode(3));
  EXPECT_TRUE(HideTimerWasRunning());
  tip.SetAirBladderMsg(L"Tip", POINT{51, 60}, Type(4), Mode(3));
  EXPECT_FALSE(HideTimerWasRunning()) << "type 4 stays until focus loss";

  const CRect before = Placed();
  EXPECT_EQ(0, tip.SetAirBladderMsg(nullptr, POINT{1, 1}, Type(1), Mode(1)));
  EXPECT_EQ(before, Placed());
  EXPECT_FALSE(HideTimerWasRunning());
}

TEST_F(MAirBladderTest, HideTimerAndFocusLossHideTheTip) {
  tip.SetAirBladderMsg(L"Tip", POINT{50, 60}, Type(1), Mode(3));
  tip.ShowWindow(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(tip.IsWindowVisible());
  tip.OnTimer(10);
  EXPECT_FALSE(tip.IsWindowVisible());

  tip.SetAirBladderMsg(L"Sticky", POINT{50, 60}, Type(1), Mode(5));
  tip.ShowWindow(SW_SHOWNOACTIVATE);
  tip.OnKillFocus(nullptr);
  EXPECT_TRUE(tip.IsWindowVisible()) << "mode 5 survives focus loss";
  tip.SetAirBladderMsg(L"Plain", POINT{50, 60}, Type(1), Mode(1));
  tip.OnKillFocus(nullptr);
  EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(MAirBladderTest, CreationMakesAToolWindowWithoutFrame) {
  EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), tip.GetExStyle() & ~static_cast<DWORD>(WS_EX_LAYERED));
  EXPECT_EQ(0u, tip.GetStyle() & (WS_CAPTION | WS_THICKFRAME));
}

TEST_F(MAirBladderTest, FaceComesFromTheLibrarysFontResourceOrFallsBackToAnInstalledOne) {
  HMODULE library = TESK::GetLibraryModule();
  HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(106), L"ttf");
  ASSERT_NE(nullptr, found) << "tesk.dll carries the tip's font";
  Gdiplus::PrivateFontCollection embedded;
  ASSERT_EQ(Gdiplus::Ok, embedded.AddMemoryFont(LockResource(LoadResource(library, found)),
                                                static_cast<INT>(SizeofResource(library, found))));
  Gdiplus::FontFamily face;
  INT families = 0;
  ASSERT_EQ(Gdiplus::Ok, embedded.GetFamilies(1, &face, &families));
  ASSERT_EQ(1, families);
  ASSERT_NE(nullptr, tip.m_pFontFamily);
  EXPECT_EQ(FamilyName(face), FamilyName(*tip.m_pFontFamily)) << "the created tip uses the embedded face";

  Gdiplus::PrivateFontCollection empty;
  for (const Gdiplus::FontCollection* fonts : {static_cast<const Gdiplus::FontCollection*>(nullptr),
                                               static_cast<const Gdiplus::FontCollection*>(&empty)}) {
    std::unique_ptr<Gdiplus::FontFamily> fallback(MAirBladder::TipFontFamily(fonts));
    ASSERT_NE(nullptr, fallback) << "the library's fall-back face without embedded fonts";
    EXPECT_TRUE(fallback->IsAvailable());
  }
}

// Windows of the tip family override these by position: the three share one layout.
template <class Tip>
void ExpectTipLayout(const char* name) {
  using testsupport::VirtualSlot;
  EXPECT_EQ(9, VirtualSlot(&Tip::OnUserCloseWindow)) << name << ": first after MWindow's eight";
  EXPECT_EQ(10, VirtualSlot(&Tip::CloseWindow)) << name;
  EXPECT_EQ(13, VirtualSlot(&Tip::OnMouseMove)) << name;
  EXPECT_EQ(17, VirtualSlot(&Tip::OnLButtonDown)) << name;
  EXPECT_EQ(26, VirtualSlot(&Tip::OnNcCalcSize)) << name;
  EXPECT_EQ(28, VirtualSlot(&Tip::OnSetFocus)) << name;
  EXPECT_EQ(29, VirtualSlot(&Tip::OnKillFocus)) << name;
  EXPECT_EQ(32, VirtualSlot(&Tip::OnPaint)) << name;
  EXPECT_EQ(33, VirtualSlot(&Tip::OnTimer)) << name;
  EXPECT_EQ(37, VirtualSlot(&Tip::OnDestroy)) << name << ": the 37th operation (the destructor fills two slots)";
}

TEST(TipWindowLayoutTest, ThirtySevenVirtualOperationsInEveryTipWindow) {
  ExpectTipLayout<MAirBladder>("balloon tip");
  ExpectTipLayout<TESK::CKeyboardTips>("key tip");
  ExpectTipLayout<TESK::LoadingWnd>("loading window");
}

TEST(TipWindowLayoutTest, BareKeyTipHasThirteen) {
  using testsupport::VirtualSlot;
  using TESK::KBToolTips;
  EXPECT_EQ(5, VirtualSlot(&KBToolTips::OnWindowMessage));
  EXPECT_EQ(9, VirtualSlot(&KBToolTips::OnUserCloseWindow));
  EXPECT_EQ(10, VirtualSlot(&KBToolTips::CloseWindow));
  EXPECT_EQ(11, VirtualSlot(&KBToolTips::OnCreate));
  EXPECT_EQ(12, VirtualSlot(&KBToolTips::OnSize));
  EXPECT_EQ(13, VirtualSlot(&KBToolTips::OnPaint)) << "the 13th operation";
}

}  // namespace
