// The battery gauge composed to pixels: the level picture cut to the level (and to its own
// ends for levels outside 0 ... 100), the percentage or the charging picture, and missing
// pictures.
#include "ui/keyboard/BatteryCtrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"

using testsupport::ControlHost;
using testsupport::DibSurface;
using TESK::BatteryCtrl;

namespace {

constexpr UINT kId = 44;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kBattery = 0x0000FF, kLevel = 0x00FF00, kCharging = 0xFF0000;
// The gauge at (20, 20), 80 x 30: a battery of 40 x 30, a level picture of 30 x 30 and a
// charging picture of 10 x 10.
const CRect kGauge(20, 20, 100, 50);

class BatteryCtrlTest : public testing::Test {
protected:
  BatteryCtrlTest() : host(200, 100) {}
  void SetUp() override {
    host.GetPaintManager()->SetBackColor(kGround, kGround);
    ASSERT_TRUE(testsupport::WriteSkin(L"battery_body.png", 40, 30, 0xFF000000 | kBattery));
    ASSERT_TRUE(testsupport::WriteSkin(L"battery_level.png", 30, 30, 0xFF000000 | kLevel));
    ASSERT_TRUE(testsupport::WriteSkin(L"battery_charging.png", 10, 10, 0xFF000000 | kCharging));
  }
  BatteryCtrl* Gauge() {
    auto* gauge = host.Add<BatteryCtrl>(L"BatteryCtrl", kId, kGauge);
    if (!gauge) return nullptr;
    gauge->SetFont(testsupport::InstalledFontFamily(), 14, Gdiplus::FontStyleBold);
    gauge->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    return gauge;
  }
  // The width of the level picture's colour on the gauge's top row.
  static int LevelWidth(const DibSurface& s) { return s.Count(kGauge.left, kGauge.top, kGauge.right, kGauge.top + 1, kLevel); }
  // Text pixels (white family) over the battery.
  static int TextOnBattery(const DibSurface& s) {
    int ink = 0;
    for (int y = kGauge.top; y < kGauge.bottom; ++y) {
      for (int x = kGauge.left; x < kGauge.left + 40; ++x) {
        const DWORD c = s.Pixel(x, y);
        if (((c >> 16) & 0xFF) > 0x80 && ((c >> 8) & 0xFF) > 0x80 && (c & 0xFF) > 0x80) ++ink;
      }
    }
    return ink;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(BatteryCtrlTest, TheLevelCutsItsPictureAndShowsAsPercentUnlessCharging) {
  BatteryCtrl* gauge = Gauge();
  ASSERT_NE(nullptr, gauge);
  EXPECT_EQ(14, gauge->GetFontWidth());
  EXPECT_EQ(1, gauge->IsRunTimer());
  EXPECT_EQ(0, gauge->SetImage(L"battery_missing.png", 1));
  EXPECT_EQ(1, gauge->SetImage(L"battery_body.png", 1));
  EXPECT_EQ(1, gauge->SetBatteryIcon(L"battery_level.png", L"battery_charging.png"));

  const struct {
    int level, charging;
    int levelWidth;
    bool text;
  } cases[] = {
      {50, 0, 15, true},   // half of 30 px
      {100, 0, 30, true},
      {0, 0, 0, false},    // no text at 0
      {80, 1, 0, false},   // charging: the charging level, 0, and no text
      {150, 0, 30, true},  // cut at the picture's end
      {-5, 0, 0, true},    // and at its start
  };
  DibSurface s(host.width(), host.height());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    SCOPED_TRACE(c.charging);
    gauge->SetBatteryInfo(c.level, c.charging);
    host.Compose(s);
    EXPECT_EQ(c.levelWidth, LevelWidth(s));
    EXPECT_EQ(c.text, TextOnBattery(s) > 0);
    // The battery beyond the level picture, and the charging picture beside it, centred.
    EXPECT_EQ(kBattery, s.Pixel(kGauge.left + 35, kGauge.top + 2));
    EXPECT_EQ(c.charging ? kCharging : kGround, s.Pixel(kGauge.left + 45, kGauge.top + 10));
    EXPECT_EQ(c.charging ? kCharging : kGround, s.Pixel(kGauge.left + 54, kGauge.top + 19));
    EXPECT_EQ(kGround, s.Pixel(kGauge.left + 45, kGauge.top + 9));
    EXPECT_EQ(kGround, s.Pixel(kGauge.left + 55, kGauge.top + 10));
  }

  host.ClearJournal();
  gauge->SetBatteryInfo(-5, 0);
  EXPECT_TRUE(host.Repaints(kId).empty()) << "unchanged";
  gauge->SetBatteryInfo(-5, 1);
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId));
}

TEST_F(BatteryCtrlTest, MissingPicturesDrawNothing) {
  BatteryCtrl* gauge = Gauge();
  ASSERT_NE(nullptr, gauge);
  gauge->SetBatteryIcon(L"battery_none.png", L"battery_none_either.png");
  gauge->SetBatteryInfo(60, 1);
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kGauge.Width() * kGauge.Height(),
            s.Count(kGauge.left, kGauge.top, kGauge.right, kGauge.bottom, kGround));
}

}  // namespace
