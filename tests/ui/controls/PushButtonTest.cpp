// Push buttons driven through a real window: the pointer and clicks go through the engine's
// routing (ControlHost), the cells shown are read by pixel from strips whose frames each have
// their own colour, and the owner's journal shows what was reported and in which order.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/controls/CHelpButton.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/CTimerButton.h"
#include "ui/controls/DownloadButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/UpgradeButton.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/MAirBladder.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

// The frames of the test strip, one colour each: normal, hover, down, disabled.
const DWORD kFrames[] = {0xFFD02020, 0xFF20D020, 0xFF2020D0, 0xFFD0D020};
const wchar_t kStrip[] = L"pushtest_strip.png";
constexpr int kFrameWidth = 40, kFrameHeight = 24;
const CRect kButton(20, 20, 140, 56);
const CPoint kIn(80, 40);     // in the button, away from its corners
const CPoint kOut(200, 150);  // in the window, off the button

DWORD Rgb(DWORD argb) { return argb & 0xFFFFFF; }

// Exposes what the balloon was given.
class OpenBalloon : public MAirBladder {
public:
  using MAirBladder::m_anchor;
  using MAirBladder::m_text;
};

// A timer button whose clock the test moves instead of waiting.
class TestTimerButton : public CTimerButton {
public:
  using CTimerButton::CTimerButton;
  using CTimerButton::Caption;
  void Age(DWORD ms) {
    m_dwStartTick -= ms;
    m_dwRefreshTick -= ms;
  }
};

class PushButtonTest : public testing::Test {
protected:
  void SetUp() override {
    std::vector<DWORD> frames(std::begin(kFrames), std::end(kFrames));
    ASSERT_TRUE(testsupport::WriteStrip(kStrip, kFrameWidth, kFrameHeight, frames));
  }

  template <typename T>
  T* Add(const wchar_t* className, UINT id, const wchar_t* title = L"", CRect rect = kButton) {
    T* button = host.Add<T>(className, id, rect, title);
    if (button) button->SetImage(kStrip, 4);
    host.ClearJournal();
    return button;
  }
  // The cell the strip shows at the button's top-left corner (unscaled frame pixels), or -1.
  int CellShown(const MControl* button) {
    const DWORD pixel = host.PixelAt(button->GetRect().left + 3, button->GetRect().top + 3);
    for (int k = 0; k < 4; ++k) {
      if (pixel == Rgb(kFrames[k])) return k;
    }
    return -1;
  }
  OpenBalloon* Balloon() { return static_cast<OpenBalloon*>(host.GetPaintManager()->GetAirBladder()); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

// ---- Input ----

TEST_F(PushButtonTest, GesturesOnAButtonGiveTheirCellsAndNotifications) {
  enum What { Move, Press, Release };
  struct Step {
    What what;
    bool inside;
    int cell;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> notifications;
  } cases[] = {
      {"move in, press in, release in",
       {{Move, true, 1}, {Press, true, 2}, {Release, true, 1}},
       {"10 notify 1 (0, 0)", "10 notify 2 (0, 0)"}},
      {"press in, release out",
       {{Move, true, 1}, {Press, true, 2}, {Move, false, 2}, {Release, false, 0}},
       {"10 notify 1 (0, 0)"}},
      {"press out, release in", {{Move, false, 0}, {Press, false, 0}, {Move, true, 1}, {Release, true, 1}}, {}},
      {"a second release",
       {{Move, true, 1}, {Press, true, 2}, {Release, true, 1}, {Release, true, 1}},
       {"10 notify 1 (0, 0)", "10 notify 2 (0, 0)"}},
  };
  for (const auto& c : cases) {
    auto* button = Add<MButton>(L"MButton", 10);
    ASSERT_NE(nullptr, button);
    for (const Step& step : c.steps) {
      const CPoint at = step.inside ? kIn : kOut;
      if (step.what == Move) host.MoveTo(at);
      if (step.what == Press) host.Press(at);
      if (step.what == Release) {
        host.Release(at);
        EXPECT_EQ(nullptr, GetCapture()) << c.name;
        EXPECT_EQ(0, host.EngineCaptured()) << c.name;
      }
      EXPECT_EQ(step.cell, CellShown(button)) << c.name << ", step " << (&step - c.steps.data());
    }
    EXPECT_EQ(c.notifications, host.Notifications()) << c.name;
    host.GetPaintManager()->RemoveControl(button);
  }
}

// The owner hears of a state change after the button's own state is final; every state change
// repaints from the cells already rendered (redraw 0).
TEST_F(PushButtonTest, AClickRepaintsFromTheCellsAndNotifiesLast) {
  auto* button = Add<MButton>(L"MButton", 10);
  host.Click(kIn);
  EXPECT_EQ((std::vector<std::string>{"10 repaint 0", "10 repaint 0", "10 notify 1 (0, 0)", "10 repaint 0",
                                      "10 notify 2 (0, 0)"}),
            host.Journal());
  EXPECT_EQ(1, button->GetState());
}

TEST_F(PushButtonTest, EveryButtonClassRepaintsStateChangesWithoutRerendering) {
  const wchar_t* const classes[] = {L"MButton",     L"CImageButton", L"MImageButton", L"CTextButton",
                                    L"CIconButton", L"CTimerButton"};
  UINT id = 40;
  for (const wchar_t* name : classes) {
    MControl* button = Add<MControlFont>(name, id, L"Go");
    ASSERT_NE(nullptr, button) << CString(name).GetString();
    host.Click(kIn);
    host.MoveTo(kOut);
    const std::vector<int> flags = host.Repaints(id);
    EXPECT_LE(3u, flags.size()) << CString(name).GetString() << ": hover, down, (hover,) normal";
    for (int flag : flags) EXPECT_EQ(0, flag) << CString(name).GetString();
    host.GetPaintManager()->RemoveControl(button);
    ++id;
  }
}

TEST_F(PushButtonTest, TheIconButtonClicksOnEveryReleaseAndStaysDownUntilTheNextMove) {
  auto* button = Add<CIconButton>(L"CIconButton", 20, L"Go");
  host.MoveTo(kIn);
  host.Release(kIn);  // no press before it
  EXPECT_EQ((std::vector<std::string>{"20 notify 2 (0, 0)"}), host.Notifications());
  EXPECT_EQ(2, CellShown(button));
  host.MoveTo(kIn);
  EXPECT_EQ(1, CellShown(button));

  // It follows the pointer while pressed too.
  host.Press(kIn);
  host.MoveTo(kOut);
  EXPECT_EQ(0, button->GetState());
  host.Release(kOut);
  EXPECT_EQ((std::vector<std::string>{"20 notify 2 (0, 0)", "20 notify 1 (0, 0)"}), host.Notifications());
}

TEST_F(PushButtonTest, TheTextButtonReportsItsClickBeforeItsRepaint) {
  Add<CTextButton>(L"CTextButton", 12, L"Go");
  host.MoveTo(kIn);
  host.Press(kIn);
  host.ClearJournal();
  host.Release(kIn);
  EXPECT_EQ((std::vector<std::string>{"12 notify 2 (0, 0)", "12 repaint 0"}), host.Journal());
}

TEST_F(PushButtonTest, TheHelpButtonSendsNothing) {
  Add<CHelpButton>(L"CHelpButton", 22, L"Help");
  host.Click(kIn);
  host.MoveTo(kOut);
  EXPECT_TRUE(host.Notifications().empty());
}

TEST_F(PushButtonTest, ADisabledButtonShowsItsCellIgnoresTheMouseAndComesBackNormal) {
  auto* button = Add<MButton>(L"MButton", 10);
  host.MoveTo(kIn);
  button->SetEnabled(0);
  EXPECT_EQ(3, CellShown(button));
  host.ClearJournal();
  host.Click(kIn);
  host.MoveTo(kOut);
  host.MoveTo(kIn);
  EXPECT_TRUE(host.Journal().empty()) << "neither notifications nor repaints";
  EXPECT_EQ(3, CellShown(button));

  button->SetEnabled(1);
  EXPECT_EQ(0, CellShown(button)) << "normal under the pointer";
  host.MoveTo(CPoint(kIn.x + 1, kIn.y));
  EXPECT_EQ(1, CellShown(button));

  // Created disabled, it starts in its disabled cell.
  MControl* off = host.Add(L"MButton", 11, CRect(20, 80, 140, 116), L"", 1, 0);
  static_cast<MButton*>(off)->SetImage(kStrip, 4);
  EXPECT_EQ(3, CellShown(off));
}

// The owner may remove a button inside its notification: nothing follows it from the button.
TEST_F(PushButtonTest, AnOwnerMayRemoveTheButtonInsideItsNotification) {
  const struct {
    const wchar_t* name;
    UINT code;  // the notification inside which the owner removes it
  } cases[] = {{L"MButton", 1}, {L"MButton", 2}, {L"CTextButton", 2}, {L"CIconButton", 2}, {L"CTimerButton", 2}};
  for (const auto& c : cases) {
    MControl* button = Add<MControlFont>(c.name, 60);
    host.onNotify = [&](const testsupport::HostEvent& e) {
      if (e.code == c.code) host.GetPaintManager()->RemoveControl(button);
      return 0;
    };
    host.Click(kIn);
    const std::vector<testsupport::HostEvent> events = host.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(testsupport::HostEvent::Notification, events.back().kind) << CString(c.name).GetString();
    EXPECT_EQ(c.code, events.back().code) << CString(c.name).GetString() << ": the last word is the notification";
    EXPECT_EQ(nullptr, host.GetControl(60));
    host.onNotify = nullptr;
    host.MoveTo(kOut);
  }
}

// ---- Content changes re-render (redraw 1), and only when something changed ----

TEST_F(PushButtonTest, ContentChangesRerenderOnlyWhenTheValueChanges) {
  auto* text = Add<CTextButton>(L"CTextButton", 12, L"Go");
  text->SetTextButtonColor(Gdiplus::Color(0xFF000000), Gdiplus::Color(0xFF111111), Gdiplus::Color(0xFF222222),
                           Gdiplus::Color(0xFF333333));
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(12));
  EXPECT_EQ(0xFF000000u, text->GetTextColor()) << "the normal colour is the text colour";

  MControl* made = ConstructControl(PanelControlClasses(), L"UpgradeButton",
                                    ControlCreateArgs{static_cast<MObject*>(&host), 41, kButton, L"", 1, 1});
  host.Adopt(made);
  auto* upgrade = static_cast<UpgradeButton*>(made);
  made = ConstructControl(PanelControlClasses(), L"DownloadButton",
                          ControlCreateArgs{static_cast<MObject*>(&host), 42, CRect(20, 80, 140, 116), L"", 1, 1});
  host.Adopt(made);
  auto* download = static_cast<DownloadButton*>(made);
  for (int i = 0; i < 2; ++i) {
    upgrade->SetUpgradeStatus(3);
    download->SetDownloadProcess(37);
  }
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(41));
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(42));
}

// ---- Looks ----

TEST_F(PushButtonTest, TheDownloadButtonFillsItsShareWithTheSecondFrameWhateverTheState) {
  MControl* made = ConstructControl(PanelControlClasses(), L"DownloadButton",
                                    ControlCreateArgs{static_cast<MObject*>(&host), 42, CRect(0, 100, 200, 140), L"", 1, 0});
  host.Adopt(made);
  auto* download = static_cast<DownloadButton*>(made);
  download->SetImage(kStrip, 4);
  EXPECT_EQ(1, download->IsEnabled()) << "always created enabled";
  EXPECT_EQ(0, CellShown(download)) << "at 0 the state cells";

  download->SetDownloadProcess(37);  // 74 of 200 pixels
  host.MoveTo(CPoint(150, 120));
  for (int pass = 0; pass < 2; ++pass) {
    testsupport::DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    EXPECT_EQ(Rgb(kFrames[1]), surface.Pixel(3, 103)) << "pass " << pass;
    EXPECT_EQ(Rgb(kFrames[1]), surface.Pixel(70, 103)) << "pass " << pass;
    EXPECT_EQ(Rgb(kFrames[0]), surface.Pixel(78, 103)) << "pass " << pass;
    EXPECT_EQ(Rgb(kFrames[0]), surface.Pixel(196, 136)) << "pass " << pass;
    host.Press(CPoint(150, 120));  // the second pass is pressed: the look stays
  }
  host.Release(CPoint(150, 120));
}

TEST_F(PushButtonTest, TheUpgradeButtonCarriesARedBadgeForAnyStatusButZero) {
  MControl* made = ConstructControl(PanelControlClasses(), L"UpgradeButton",
                                    ControlCreateArgs{static_cast<MObject*>(&host), 41, kButton, L"", 1, 0});
  host.Adopt(made);
  auto* upgrade = static_cast<UpgradeButton*>(made);
  upgrade->SetImage(kStrip, 4);
  EXPECT_EQ(1, upgrade->IsEnabled()) << "always created enabled";
  const CPoint badge(kButton.right - 12, kButton.top + 8);  // in the disc, left of its "1"
  EXPECT_EQ(Rgb(kFrames[0]), host.PixelAt(badge.x, badge.y));
  upgrade->SetUpgradeStatus(3);
  EXPECT_EQ(0xFF0000u, host.PixelAt(badge.x, badge.y));
  EXPECT_EQ(Rgb(kFrames[0]), host.PixelAt(kButton.right - 20, kButton.top + 3)) << "left of the disc";
  upgrade->SetUpgradeStatus(0);
  EXPECT_EQ(Rgb(kFrames[0]), host.PixelAt(badge.x, badge.y));
}

TEST_F(PushButtonTest, AButtonWithoutStripDrawsTheGroundAndItsTitleOnly) {
  auto* button = host.Add<MButton>(L"MButton", 10, kButton, L"WWW");
  // Any installed face draws the title.
  Gdiplus::InstalledFontCollection installed;
  Gdiplus::FontFamily family;
  INT found = 0;
  ASSERT_EQ(Gdiplus::Ok, installed.GetFamilies(1, &family, &found));
  ASSERT_EQ(1, found);
  WCHAR face[LF_FACESIZE] = {};
  family.GetFamilyName(face);
  button->SetTextFont(face);
  button->SetFontWidth(20);
  testsupport::DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  const DWORD ground = surface.Pixel(host.width() - 10, host.height() - 10);
  EXPECT_EQ(ground, surface.Pixel(kButton.left + 2, kButton.top + 2));
  const int plain = surface.Count(kButton.left, kButton.top, kButton.right, kButton.bottom, ground);
  EXPECT_LT(plain, kButton.Width() * kButton.Height()) << "the title is drawn";
  EXPECT_GT(plain, kButton.Width() * kButton.Height() / 2) << "and nothing else";
}

// ---- Countdown ----

TEST_F(PushButtonTest, TheTimerButtonCountsDownOnTicksAndClicksItselfOnce) {
  auto* button = new TestTimerButton(static_cast<MObject*>(&host), 21, kButton, L"Resend", 1, 1);
  host.Adopt(button);
  button->AddMTimer();
  EXPECT_EQ(1, button->SetRun(1));
  EXPECT_EQ(CString(L"Resend(10s)"), button->Caption());
  host.ClearJournal();

  host.Tick();  // the first tick refreshes
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(21));
  host.Tick();  // within 800 ms of it: nothing rendered
  EXPECT_EQ((std::vector<int>{1}), host.Repaints(21));
  EXPECT_EQ(CString(L"Resend(10s)"), button->Caption());

  button->Age(10500);
  host.ClearJournal();
  host.Tick();
  host.Tick();
  EXPECT_EQ((std::vector<std::string>{"21 repaint 1", "21 notify 2 (0, 0)"}), host.Journal()) << "one click, once";
  EXPECT_EQ(0, button->IsRun());
  EXPECT_EQ(CString(L"Resend"), button->Caption());
}

TEST_F(PushButtonTest, AClickEndsTheCountdownAndADisabledTimerButtonKeepsItsFlag) {
  auto* button = new TestTimerButton(static_cast<MObject*>(&host), 21, kButton, L"Resend", 1, 1);
  host.Adopt(button);
  button->AddMTimer();
  button->SetRun(1);
  host.Click(kIn);
  EXPECT_EQ(0, button->IsRun());
  button->Age(20000);
  host.Tick();
  EXPECT_EQ((std::vector<std::string>{"21 notify 1 (0, 0)", "21 notify 2 (0, 0)"}), host.Notifications());

  button->SetRun(1);
  button->SetEnabled(0);
  EXPECT_EQ(1, button->SetRun(0)) << "the running flag, unchanged";
  EXPECT_EQ(1, button->IsRun());
}

// ---- Balloons ----

TEST_F(PushButtonTest, TheImageButtonShowsItsTitleInTheBalloonWhileHovered) {
  auto* none = Add<CImageButton>(L"CImageButton", 11, L"Tip", CRect(20, 80, 140, 116));
  none->SetImage(kStrip, 1);
  host.MoveTo(CPoint(60, 90));
  EXPECT_EQ(nullptr, Balloon()) << "mode 0 makes none";

  auto* button = Add<CImageButton>(L"CImageButton", 12, L"Tip");
  button->SetAlrBladderMode(static_cast<AIRBLADDER_MODE>(1));
  host.MoveTo(kIn);
  ASSERT_NE(nullptr, Balloon());
  EXPECT_TRUE(Balloon()->IsWindowVisible());
  EXPECT_EQ(host.ToScreen(CPoint(kButton.right, kButton.top + kButton.Height() / 2)), CPoint(Balloon()->m_anchor));
  EXPECT_EQ(CString(L"Tip"), Balloon()->m_text);
  host.MoveTo(kOut);
  EXPECT_FALSE(Balloon()->IsWindowVisible());
}

TEST_F(PushButtonTest, TheHelpButtonHidesOnlyTheBalloonItShowed) {
  Add<CHelpButton>(L"CHelpButton", 22, L"Help");
  host.MoveTo(kIn);
  ASSERT_NE(nullptr, Balloon());
  EXPECT_TRUE(Balloon()->IsWindowVisible());
  EXPECT_EQ(host.ToScreen(CPoint(kButton.left - 2, kButton.top)), CPoint(Balloon()->m_anchor)) << "mode 2";
  host.MoveTo(kOut);
  EXPECT_FALSE(Balloon()->IsWindowVisible());

  host.MoveTo(kIn);
  host.GetPaintManager()->ShowAirBladder(1, 99);  // another control claims the balloon
  host.MoveTo(kOut);
  EXPECT_TRUE(Balloon()->IsWindowVisible());
}

// ---- Factory rows and bad input ----

TEST_F(PushButtonTest, FactoryRowsPassTitleAndEnabledFlag) {
  const struct {
    const wchar_t* name;
    bool panelOnly;
    const wchar_t* title;  // what the button shows of the caller's title
    int enabled;           // of a button asked for disabled
  } rows[] = {
      {L"MButton", false, L"T", 0},       {L"CImageButton", false, L"T", 0}, {L"CTextButton", false, L"T", 0},
      {L"CIconButton", false, L"T", 0},   {L"CTimerButton", false, L"T", 0}, {L"CHelpButton", false, L"T", 0},
      {L"MImageButton", false, L"", 1},   {L"UpgradeButton", true, L"T", 1}, {L"DownloadButton", true, L"T", 1},
  };
  testsupport::RecordingOwner owner;
  for (const auto& row : rows) {
    for (const ControlClassTable& table : {EngineControlClasses(), PanelControlClasses()}) {
      const bool engine = table.begin() == EngineControlClasses().begin();
      std::unique_ptr<MControl> made(
          ConstructControl(table, row.name, ControlCreateArgs{&owner, 7, kButton, L"T", 1, 0}));
      if (engine && row.panelOnly) {
        EXPECT_EQ(nullptr, made) << CString(row.name).GetString();
        continue;
      }
      ASSERT_NE(nullptr, made) << CString(row.name).GetString();
      auto* font = dynamic_cast<MControlFont*>(made.get());
      ASSERT_NE(nullptr, font);
      EXPECT_EQ(CString(row.title), font->GetTitle()) << CString(row.name).GetString();
      EXPECT_EQ(row.enabled, made->IsEnabled()) << CString(row.name).GetString();
      EXPECT_STREQ(L"MControl", made->GetClassNameW());
    }
  }
}

TEST_F(PushButtonTest, MissingIconsAndEmptyStripsAreSurvived) {
  auto* button = Add<MButton>(L"MButton", 10);
  EXPECT_EQ(1, button->SetIconImage(kStrip, 0)) << "no frames counts as one";
  EXPECT_EQ(0, button->SetIconImage(L"pushtest_missing.png", 4));
  auto* icon = Add<CIconButton>(L"CIconButton", 20, L"Go", CRect(20, 80, 140, 116));
  EXPECT_EQ(0, icon->SetIconImage(L"pushtest_missing.png", 4));
  EXPECT_EQ(1, icon->SetIconImage(kStrip, 0));
  EXPECT_EQ(0, button->SetImage(kStrip, 0)) << "a strip of no frames is refused";
  host.PixelAt(1, 1);  // draws every button
  host.Click(kIn);
}

}  // namespace
