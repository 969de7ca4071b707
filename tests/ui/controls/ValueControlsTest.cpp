// The value controls: a slider picked by press, drag and wheel, a level row picked by click,
// and a progress bar in its three looks and its running mode; pixels composed from a host
// window, notifications read from its journal.
#include "ui/controls/MLevelCtrl.h"
#include "ui/controls/MProgress.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/ValueCaption.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/core/Manager.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

constexpr DWORD Rgb(Gdiplus::ARGB argb) { return argb & 0xFFFFFF; }

class ValueControlsTest : public testing::Test {
 protected:
  // Notification lines of the journal with the given code.
  std::vector<std::string> Notified(int code) {
    std::vector<std::string> lines;
    for (const std::string& line : host.Notifications()) {
      if (line.find(" notify " + std::to_string(code) + " ") != std::string::npos) lines.push_back(line);
    }
    return lines;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

// ---- Slider ----

// 216 x 30 at (20, 50): track length 200, range 0 ... 10.
const CRect kSlider(20, 50, 236, 80);

TEST_F(ValueControlsTest, SliderPressPlacesTheThumbAndReportsTheValueThenTheRelease) {
  auto* slider = host.Add<MSlider>(L"MSlider", 1, kSlider);
  ASSERT_NE(nullptr, slider);
  slider->SetTextColor(Gdiplus::Color(0xFF404040));
  slider->SetSelectColor(Gdiplus::Color(0xFF00C000));
  host.ClearJournal();

  host.MoveTo(CPoint(120, 60));
  host.Press(CPoint(120, 60));
  EXPECT_EQ(5, slider->GetProgress()) << "100 x 11 / 200";
  EXPECT_EQ(CRect(120, 50, 136, 66), slider->GetThumbRect());
  EXPECT_EQ(2, slider->GetState()) << "the thumb jumped under the pointer: dragging";
  EXPECT_EQ(std::vector<std::string>{"1 notify 8 (5, 0)"}, host.Notifications());

  EXPECT_EQ(0xFFFFFFu, host.PixelAt(128, 58)) << "thumb centre";
  EXPECT_EQ(0x00C000u, host.PixelAt(60, 58)) << "fill up to the thumb";
  EXPECT_EQ(0x404040u, host.PixelAt(200, 58)) << "track past the thumb";

  host.Release(CPoint(128, 58));
  EXPECT_EQ((std::vector<std::string>{"1 notify 8 (5, 0)", "1 notify 2 (0, 0)"}), host.Notifications());
  EXPECT_EQ(1, slider->GetState()) << "released over the thumb";

  host.ClearJournal();
  host.Click(CPoint(128, 58));
  EXPECT_EQ(std::vector<std::string>{"1 notify 2 (0, 0)"}, host.Notifications())
      << "a release without a change still reports";
}

TEST_F(ValueControlsTest, SliderDragReportsEachChangeOnceAndStopsAtBothEnds) {
  auto* slider = host.Add<MSlider>(L"MSlider", 1, kSlider);
  slider->SetProgress(5);
  host.ClearJournal();
  host.MoveTo(CPoint(128, 58));
  host.Press(CPoint(128, 58));  // on the thumb at 5: no change
  for (int x : {60, 61, 5, 6, 300, 299}) host.MoveTo(CPoint(x, 58));
  host.Release(CPoint(299, 58));
  EXPECT_EQ(
      (std::vector<std::string>{"1 notify 8 (2, 0)", "1 notify 8 (0, 0)", "1 notify 8 (10, 0)", "1 notify 2 (0, 0)"}),
      host.Notifications());
  EXPECT_EQ(10, slider->GetProgress());
  EXPECT_EQ(CRect(220, 50, 236, 66), slider->GetThumbRect()) << "the thumb stops at the track's end";
}

TEST_F(ValueControlsTest, SliderWheelStepsWithinTheRangeAndIsAlwaysConsumed) {
  auto* slider = host.Add<MSlider>(L"MSlider", 1, kSlider);
  slider->SetProgress(10);
  host.ClearJournal();
  host.Wheel(CPoint(100, 60), 120);  // away from the user: up, but already at the maximum
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ(1, slider->OnControlScroll(1, 0, CPoint(100, 60))) << "consumed at the maximum";
  EXPECT_EQ(10, slider->GetProgress());

  host.Wheel(CPoint(100, 60), -120);
  host.Wheel(CPoint(100, 60), -120);
  EXPECT_EQ(8, slider->GetProgress());
  EXPECT_EQ((std::vector<std::string>{"1 notify 2 (0, 0)", "1 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(ValueControlsTest, SliderWithTheProgramsRangeYieldsEveryValueAndTakesZeroAtTheLeft) {
  auto* slider = host.Add<MSlider>(L"MSlider", 1, kSlider);
  slider->SetMinProgress(1);
  slider->SetMaxProgress(110);
  host.ClearJournal();
  host.MoveTo(CPoint(20, 58));
  host.Press(CPoint(20, 58));
  for (int x = 21; x <= 240; ++x) host.MoveTo(CPoint(x, 58));
  host.Release(CPoint(240, 58));
  std::vector<std::string> expected;
  for (int v = 1; v <= 110; ++v) expected.push_back("1 notify 8 (" + std::to_string(v) + ", 0)");
  EXPECT_EQ(expected, Notified(8));

  EXPECT_EQ(0, slider->SetProgress(0)) << "the minimum is not applied";
  EXPECT_EQ(20, slider->GetThumbRect().left);
  EXPECT_STREQ(L"0", ValueCaption(L"", slider->GetProgress(), slider->GetMaxProgress()).GetString());
  for (int i = 0; i < 3; ++i) host.Wheel(CPoint(100, 60), -120);
  EXPECT_EQ(1, slider->GetProgress()) << "the wheel stays within the range";
}

// The caption shows even where the control's face is neither private nor installed (the test
// program loads no fonts): the text falls back to an installed face instead of vanishing.
TEST_F(ValueControlsTest, SliderCaptionInkShowsInTheTextColourUnderTheTrack) {
  auto* slider = host.Add<MSlider>(L"MSlider", 1, CRect(20, 20, 236, 60));
  slider->SetTextColor(Gdiplus::Color(0xFF000080));
  slider->SetTitle(L"Speed ");
  slider->SetMaxProgress(100);
  slider->SetProgress(45);
  testsupport::DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  int ink = 0;
  for (int y = 40; y < 60; ++y) {
    for (int x = 20; x < 236; ++x) ink += (surface.Pixel(x, y) & 0xFF) > 0x80 && (surface.Pixel(x, y) >> 8) < 0x8080;
  }
  EXPECT_GT(ink, 20) << "caption pixels in the text colour";
}

TEST(ValueCaptionTest, PercentOnlyForAMaximumOf100) {
  EXPECT_STREQ(L"Speed 45%", ValueCaption(L"Speed ", 45, 100).GetString());
  EXPECT_STREQ(L"Speed 45", ValueCaption(L"Speed ", 45, 50).GetString());
  EXPECT_STREQ(L"0", ValueCaption(L"", 0, 110).GetString());
}

// ---- Level bar ----

TEST_F(ValueControlsTest, LevelClickChoosesTheSegmentUnderTheHitBoxAndLightsUpToIt) {
  auto* level = host.Add<MLevelCtrl>(L"MLevelCtrl", 3, CRect(20, 100, 320, 120));
  ASSERT_NE(nullptr, level);
  host.ClearJournal();
  host.Click(CPoint(20 + 42, 108));
  EXPECT_EQ(3, level->GetLevelValue());
  EXPECT_EQ(std::vector<std::string>{"3 notify 2 (3, 0)"}, host.Notifications());
  // Pitch 20, drawn segments 18 wide.
  for (int segment = 0; segment < 3; ++segment) {
    EXPECT_EQ(0x596EFFu, host.PixelAt(20 + segment * 20 + 9, 108)) << "segment " << segment + 1 << " lit";
  }
  EXPECT_EQ(0x687289u, host.PixelAt(20 + 3 * 20 + 9, 108)) << "segment 4 unlit";

  host.ClearJournal();
  host.Click(CPoint(20 + 57, 108));  // in the last 3 px of segment 3's drawing, outside its hit box
  EXPECT_EQ(3, level->GetLevelValue());
  EXPECT_TRUE(host.Notifications().empty());

  level->SetLevelValue(0);
  EXPECT_EQ(1, level->GetLevelValue());
  level->SetLevelValue(99);
  EXPECT_EQ(15, level->GetLevelValue());
}

// ---- Progress bar ----

TEST_F(ValueControlsTest, ProgressValuesAreCutToTheMaximumAndIgnoredWhileDisabled) {
  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(100, bar->SetProgress(150));
  EXPECT_EQ(100, bar->SetProgress(-5));
  EXPECT_EQ(45, bar->SetProgress(45));
  bar->SetEnabled(0);
  EXPECT_EQ(45, bar->SetProgress(60));
  EXPECT_EQ(0, bar->SetRun(1, 0)) << "a disabled bar does not start";
  EXPECT_EQ(45, bar->GetProgress());
}

TEST_F(ValueControlsTest, ProgressLineLookFillsTheBottomRowsUpToTheValue) {
  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  bar->SetProgress(50);  // fill 100 of 200
  EXPECT_EQ(0xFFE100u, host.PixelAt(20 + 50, 150 + 18));
  EXPECT_NE(0xFFE100u, host.PixelAt(20 + 150, 150 + 18));
  EXPECT_NE(0xFFE100u, host.PixelAt(20 + 50, 150 + 10)) << "only the bottom rows";
}

TEST_F(ValueControlsTest, ProgressStripLookDrawsFrameOneOverFrameZero) {
  ASSERT_TRUE(testsupport::WriteStrip(L"valuetest_strip.png", 20, 14, {0xFFC00000, 0xFF00C000}));
  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  ASSERT_EQ(1, bar->SetImage(L"valuetest_strip.png", 2));
  bar->SetProgress(50);
  EXPECT_EQ(0x00C000u, host.PixelAt(20 + 50, 157));
  EXPECT_EQ(0xC00000u, host.PixelAt(20 + 150, 157));
}

TEST_F(ValueControlsTest, ProgressImageLookKeepsTwelvePixelCapsAndTakesShortFillsFromTheLeftColumns) {
  // Foreground 40 wide: columns 0-9 blue, 10-19 green, 20-29 grey, 30-39 yellow.
  ASSERT_TRUE(testsupport::WriteStrip(L"valuetest_fore.png", 10, 20, {0xFF0000C0, 0xFF00C000, 0xFF808080, 0xFFC0C000}));
  ASSERT_TRUE(testsupport::WriteStrip(L"valuetest_back.png", 40, 20, {0xFFC00000}));
  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  EXPECT_TRUE(bar->SetBackGroundImage(CString(L"valuetest_back.png")));
  EXPECT_TRUE(bar->SetForeGroundImage(CString(L"valuetest_fore.png")));
  EXPECT_FALSE(bar->SetForeGroundImage(CString(L"valuetest_missing.png")));

  bar->SetProgress(50);  // fill 100
  EXPECT_EQ(0x0000C0u, host.PixelAt(20 + 4, 160)) << "left cap unscaled";
  EXPECT_EQ(0xC0C000u, host.PixelAt(20 + 97, 160)) << "right cap at the fill's end";
  EXPECT_EQ(0xC00000u, host.PixelAt(20 + 150, 160)) << "background past the fill";

  bar->SetProgress(3);  // fill 6: under a cap's width
  EXPECT_EQ(0x0000C0u, host.PixelAt(20 + 4, 160));
  EXPECT_EQ(0xC00000u, host.PixelAt(20 + 9, 160));
}

TEST_F(ValueControlsTest, ProgressRunningCyclesOneStepEveryThirdTick) {
  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  bar->SetMaxProgress(10);
  bar->SetRunTimer(1);
  bar->AddMTimer();
  EXPECT_EQ(1, bar->SetRun(1, 0));
  std::vector<int> steps;
  for (int tick = 1; tick <= 30; ++tick) {
    host.Tick();
    if (tick % 3 == 0) steps.push_back(bar->GetProgress());
  }
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}), steps);
  EXPECT_EQ(0, bar->SetRun(0, -1));
  host.Tick(), host.Tick(), host.Tick();
  EXPECT_EQ(0, bar->GetProgress()) << "stopped";
}

// ---- Degenerate ranges and sizes: the decided looks, nothing divides by zero ----

TEST_F(ValueControlsTest, DegenerateRangesChangeNothingAndDrawWithoutFault) {
  auto* narrow = host.Add<MSlider>(L"MSlider", 1, CRect(20, 50, 30, 80));  // narrower than its thumb
  auto* flat = host.Add<MSlider>(L"MSlider", 2, CRect(20, 100, 236, 130));
  flat->SetMinProgress(4);
  flat->SetMaxProgress(4);
  host.ClearJournal();
  for (MSlider* slider : {narrow, flat}) {
    EXPECT_EQ(0, slider->MoveThumbPos(CPoint(25, 60)));
    EXPECT_EQ(1, slider->OnControlScroll(1, 0, CPoint(25, 60)));
    EXPECT_EQ(1, slider->OnControlScroll(1, 1, CPoint(25, 60)));
    EXPECT_EQ(0, slider->GetProgress());
    EXPECT_EQ(slider->GetRect().left, slider->GetThumbRect().left);
  }
  host.Click(CPoint(25, 60));
  EXPECT_EQ(std::vector<std::string>{"1 notify 2 (0, 0)"}, host.Notifications()) << "a release still reports";
  host.ClearJournal();
  host.Click(CPoint(100, 110));
  EXPECT_EQ(std::vector<std::string>{"2 notify 2 (0, 0)"}, host.Notifications());
  EXPECT_NE(0xFFFFFFu, host.PixelAt(28, 108)) << "no thumb without a range";

  auto* bar = host.Add<MProgress>(L"MProgress", 5, CRect(20, 150, 220, 170));
  bar->SetProgress(5);
  bar->SetMaxProgress(0);
  EXPECT_NE(0xFFE100u, host.PixelAt(20 + 2, 150 + 18)) << "no fill without a maximum";
  bar->SetRunTimer(1);
  bar->AddMTimer();
  bar->SetRun(1, -1);
  for (int i = 0; i < 6; ++i) host.Tick();
  EXPECT_EQ(0, bar->GetProgress()) << "wraps at once and stays at 0";

  auto* level = host.Add<MLevelCtrl>(L"MLevelCtrl", 3, CRect(20, 200, 320, 220));
  level->SetRangeValue(5, 1);
  host.ClearJournal();
  host.Click(CPoint(30, 208));
  EXPECT_TRUE(host.Notifications().empty());
  EXPECT_EQ(0, level->GetLevelValue());
  host.PixelAt(30, 208);
}

TEST_F(ValueControlsTest, FactoriesPassVisibleAndEnabled) {
  UINT id = 40;
  for (const wchar_t* name : {L"MProgress", L"MSlider", L"MLevelCtrl"}) {
    for (int flag : {0, 1}) {
      MControl* control = host.Add(name, id++, CRect(0, 0, 50, 20), L"", flag, flag);
      ASSERT_NE(nullptr, control) << CString(name).GetString();
      EXPECT_EQ(flag, control->IsVisible()) << CString(name).GetString();
      EXPECT_EQ(flag, control->IsEnabled()) << CString(name).GetString();
    }
  }
}

}  // namespace
