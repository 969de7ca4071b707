// The on-screen keyboard's drawing: every staged layout, every key, every mode, in the test
// host's window over fixture pictures. Expected pixels come from the layout file's
// rectangles and the centring offsets, never from the control's records.
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

using testsupport::ControlHost;
using testsupport::DibSurface;
using testsupport::Layout;
using testsupport::LayoutKey;
using TESK::KEY_INFO;
using TESK::KeyboardCtrl;

constexpr DWORD kWindowRgb = 0x101418;
constexpr DWORD kPictureRgb = 0x283848;  // the keyboard picture
constexpr wchar_t kPicture[] = L"kbdtest_picture.png";
constexpr wchar_t kBadges[] = L"kbdtest_badges.png";
constexpr int kBadgeWidth = 20, kBadgeHeight = 10;
// One colour per badge cell: DKS, MT, TGL, RS, SOCD.
const std::vector<DWORD> kBadgeArgb = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF};
// Outline and fill colours the modes use (0x00RRGGBB).
constexpr DWORD kGrey = 0x646464, kOrange = 0xDC4F2E, kBlue = 0x00A1E3;
constexpr DWORD kBarChecked = 0xE8E8E8, kBarNormal = 0xC8C8C8;
constexpr DWORD kGreen = 0x21A939, kGold = 0xFFD700;

DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Per-key values, so that neighbours differ; all from the key's place in the file.
struct KeyValues {
  COLORREF colour;
  int checked, type, travel, switchType, progress, calibTravel;
};

KeyValues ValuesFor(int i) {
  KeyValues v;
  v.colour = RGB(40 + (i * 53) % 200, 30 + (i * 97) % 180, 50 + (i * 31) % 190);
  v.checked = i % 3 == 0;
  v.type = i % 5 == 1 ? 14 + (i / 5) % 6 : 2;
  v.travel = (i % 3) * 20;
  v.switchType = (i / 2) % 3 == 0 ? 0 : ((i / 2) % 3 == 1 ? 2 : 5);
  v.progress = (i % 4 == 0) ? 0 : ((i % 4 == 1) ? 1 : 255);
  v.calibTravel = 2 + i % 2;
  return v;
}

class KeyboardDrawTest : public testing::Test {
protected:
  void SetUp() override {
    // Larger than any control here, so that the stretched picture blends nothing in at its edges.
    ASSERT_TRUE(testsupport::WriteSkin(kPicture, 1100, 450, 0xFF000000 | kPictureRgb));
    ASSERT_TRUE(testsupport::WriteStrip(kBadges, kBadgeWidth, kBadgeHeight, kBadgeArgb));
    host.GetPaintManager()->SetBackColor(RGB(0x10, 0x14, 0x18), RGB(0x10, 0x14, 0x18));
  }

  // A keyboard made by class name 21 x 20 px larger than the layout, at (origin).
  KeyboardCtrl* AddKeyboard(const Layout& layout, CPoint origin, UINT id = 80) {
    auto* keyboard = host.Add<KeyboardCtrl>(
        L"KeyboardCtrl", id, CRect(origin.x, origin.y, origin.x + layout.width + 21, origin.y + layout.height + 20));
    if (!keyboard) return nullptr;
    keyboard->SetKeyState1Image(kBadges);
    keyboard->SetKeyboardImage(kPicture);
    testsupport::FillKeyboard(*keyboard, layout);
    return keyboard;
  }

  void Render(KeyboardCtrl& keyboard, int mode) {
    keyboard.SetKeyboardCtrlMode(mode);
    keyboard.SetUpdate(0, 0);
    host.Compose(surface);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host{1400, 860};
  DibSurface surface{1400, 860};
};

// Where the samples of one key lie on the window, from the layout alone.
struct KeySpots {
  CRect r;  // the key's rectangle in window coordinates
  CPoint inside, upperInside, outline, badge, dot, gap;
  bool hasGap;
};

KeySpots SpotsFor(const LayoutKey& key, CPoint corner, const Layout& layout) {
  KeySpots s;
  s.r = testsupport::LayoutRect(key);
  s.r.OffsetRect(corner.x, corner.y);
  const CRect& r = s.r;
  s.inside = CPoint(r.left + 4, r.bottom - 8);
  s.upperInside = CPoint(r.left + 4, r.top + 12);
  s.outline = CPoint(r.left, r.bottom - 8);
  s.badge = CPoint(r.left + (r.Width() - kBadgeWidth) / 2 + kBadgeWidth / 2, 0);
  s.dot = CPoint(r.left + r.Width() / 2 + 3, r.bottom - 8);
  s.gap = CPoint(r.left - 2, r.top + r.Height() / 2);
  // The gap spot must lie clear of every key, outlines included.
  s.hasGap = true;
  for (const LayoutKey& other : layout.keys) {
    CRect zone = testsupport::LayoutRect(other);
    zone.OffsetRect(corner.x, corner.y);
    zone.InflateRect(2, 2);
    if (zone.PtInRect(s.gap)) s.hasGap = false;
  }
  return s;
}

TEST_F(KeyboardDrawTest, EveryStagedLayoutDrawsEveryKeyInEveryMode) {
  for (const std::string& model : testsupport::StagedModels()) {
    SCOPED_TRACE(model);
    const Layout layout = testsupport::ReadLayout(testsupport::LayoutPath(model));
    ASSERT_GT(layout.keys.size(), 20u);
    host.GetPaintManager()->ClearControls();
    const CPoint origin(151, 97);
    KeyboardCtrl* keyboard = AddKeyboard(layout, origin);
    ASSERT_NE(nullptr, keyboard);
    // The layout lies (21 / 2, 20 / 2) into the control.
    const CPoint corner(origin.x + 10, origin.y + 10);
    {
      keyboard->EnterCriSec();
      const std::vector<KEY_INFO*> keys = keyboard->GetKeyItems();
      for (size_t i = 0; i < keys.size(); ++i) {
        const KeyValues v = ValuesFor(static_cast<int>(i));
        keys[i]->color = v.colour;
        keys[i]->checked = v.checked;
        keys[i]->type = v.type;
        keys[i]->live_travel = v.travel;
        keys[i]->switch_type = v.switchType;
        keys[i]->calib_progress = v.progress;
        keys[i]->calib_travel = v.calibTravel;
      }
      keyboard->LeaveCriSec();
    }
    keyboard->EnableFrameSelect(1);
    for (int mode = 99; mode <= 107; ++mode) {
      SCOPED_TRACE("mode " + std::to_string(mode));
      Render(*keyboard, mode);
      int failures = 0;
      for (size_t i = 0; i < layout.keys.size() && failures < 5; ++i) {
        const KeyValues v = ValuesFor(static_cast<int>(i));
        const KeySpots s = SpotsFor(layout.keys[i], corner, layout);
        const bool advanced = v.type >= 14;
        std::vector<std::pair<CPoint, DWORD>> expect;
        const int badgeCell = v.type - 14;
        switch (mode) {
          case 100:
          case 104:
            expect.push_back({s.inside, Rgb(v.colour)});
            if (v.type >= 14 && v.type <= 16) {
              const int y = s.r.top + (s.r.Height() - kBadgeHeight) / 2 + kBadgeHeight / 2;
              expect.push_back({CPoint(s.badge.x, y), kBadgeArgb[badgeCell] & 0xFFFFFF});
            }
            break;
          case 101:
          case 102: {
            expect.push_back({s.inside, kPictureRgb});
            expect.push_back({s.outline, v.checked ? kOrange : kGrey});
            if (advanced) {
              const int y = s.r.bottom - kBadgeHeight - 2 + kBadgeHeight / 2;
              // The sixth kind has no cell in a five-cell strip: nothing is drawn there.
              expect.push_back({CPoint(s.badge.x, y), badgeCell < 5 ? kBadgeArgb[badgeCell] & 0xFFFFFF : kPictureRgb});
            }
            break;
          }
          case 103:
            expect.push_back({s.inside, Rgb(v.colour)});
            expect.push_back({s.outline, v.checked ? kOrange : kGrey});
            break;
          case 105: {
            const DWORD bar = v.checked ? kBarChecked : kBarNormal;
            expect.push_back({s.inside, v.travel == 40 ? bar : kPictureRgb});
            expect.push_back({s.upperInside, v.travel > 0 ? bar : kPictureRgb});
            expect.push_back({s.outline, v.checked ? kBlue : kGrey});
            expect.push_back({s.dot, v.switchType == 2 ? 0x30E27C : (v.switchType == 5 ? 0x98E5E3 : 0xFF0000)});
            break;
          }
          case 106: {
            DWORD fill = v.progress == 255 ? kGreen : (v.progress == 1 ? kGold : kPictureRgb);
            expect.push_back({s.inside, v.calibTravel > 2 ? kBarNormal : fill});
            expect.push_back({s.outline, kGrey});
            break;
          }
          default:  // 99 and 107 draw no keys
            expect.push_back({s.inside, kPictureRgb});
            expect.push_back({s.outline, kPictureRgb});
            break;
        }
        if (s.hasGap) expect.push_back({s.gap, kPictureRgb});
        for (const auto& [pt, rgb] : expect) {
          const DWORD seen = surface.Pixel(pt.x, pt.y);
          if (seen != rgb) {
            ++failures;
            ADD_FAILURE() << "key " << i << " (code " << std::hex << layout.keys[i].code << ") at (" << std::dec
                          << pt.x << ", " << pt.y << "): expected " << std::hex << rgb << ", saw " << seen;
          }
        }
      }
    }
    // Outside the control the window shows.
    EXPECT_EQ(kWindowRgb, surface.Pixel(origin.x - 1, origin.y + 5));
    EXPECT_EQ(kPictureRgb, surface.Pixel(origin.x + 2, origin.y + 2)) << "the picture is stretched over the control";
    EXPECT_EQ(kPictureRgb, surface.Pixel(origin.x + layout.width + 18, origin.y + layout.height + 17));
  }
}

// Three keys of 40 x 40 in a row, in a 200 x 100 control at (100, 100).
class SmallKeyboardTest : public KeyboardDrawTest {
protected:
  void SetUp() override {
    KeyboardDrawTest::SetUp();
    keyboard = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 81, CRect(100, 100, 300, 200));
    ASSERT_NE(nullptr, keyboard);
    keyboard->SetKeyboardImage(kPicture);
    keyboard->SetKeyState1Image(kBadges);
    for (int i = 0; i < 3; ++i) keyboard->AddKeyItem(L"", L"", 4 + i, CRect(i * 50, 0, i * 50 + 40, 40), L"", 0x0000FF);
    keyboard->SetWidthAndHeight(140, 40);  // offsets (30, 30): key i's inside at (130 + 50 i, 130)
  }
  KEY_INFO& Key(int i) { return *keyboard->GetKeyItems().at(static_cast<size_t>(i)); }

  KeyboardCtrl* keyboard = nullptr;
};

TEST_F(SmallKeyboardTest, AFrozenPictureKeepsItsLookUntilMarkedStale) {
  Render(*keyboard, TESK::KBMODE_NONE);
  EXPECT_EQ(0xFF0000u, surface.Pixel(134, 160));
  keyboard->SetUpdate(1, 0);
  keyboard->SetKeyColor(4, 0x00FF00);
  host.Compose(surface);
  EXPECT_EQ(0xFF0000u, surface.Pixel(134, 160)) << "the cached picture is reused";
  keyboard->SetUpdate(0, 0);
  host.Compose(surface);
  EXPECT_EQ(0x00FF00u, surface.Pixel(134, 160));
}

TEST_F(SmallKeyboardTest, PerformanceModeRaisesTooSmallValuesInTheRecord) {
  Key(0).key_actuation = 3;
  Key(0).rt_press = 0;
  Key(0).rt_release = -2;
  Key(1).key_actuation = 3;
  Key(1).rt_press = 0;  // rapid trigger off: left as it is
  Key(0).key_mode = 0x21;
  Render(*keyboard, TESK::KBMODE_PERF);
  int sw, mode, act, press, release, pdz, rdz, state;
  keyboard->GetKeyPerfInfo(4, sw, mode, act, press, release, pdz, rdz, state);
  EXPECT_EQ(5, act);
  EXPECT_EQ(1, press);
  EXPECT_EQ(1, release);
  EXPECT_EQ(5, Key(1).key_actuation);
  EXPECT_EQ(0, Key(1).rt_press);
}

// Values from a device or a file that lie outside what the drawing expects are drawn safely.
TEST_F(SmallKeyboardTest, UntrustedValuesDrawSafely) {
  Key(0).live_travel = 60;
  Key(1).live_travel = -3;
  Key(2).live_travel = 40;
  Key(0).checked = 1;
  Render(*keyboard, TESK::KBMODE_PERF);
  EXPECT_EQ(kBarChecked, surface.Pixel(134, 162)) << "travel 60 draws as a full bar";
  EXPECT_EQ(kPictureRgb, surface.Pixel(184, 142)) << "travel -3 draws no bar";
  EXPECT_EQ(kBarNormal, surface.Pixel(234, 162));
  EXPECT_EQ(60, Key(0).live_travel) << "the record keeps what was sent";
  EXPECT_EQ(-3, Key(1).live_travel);

  // Rectangles far outside, negative or reversed; a type beyond the badge strip in every mode.
  const CRect wild[] = {CRect(-5000, -5000, -4000, -4000), CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
                        CRect(INT_MAX - 10, 10, INT_MAX, 50), CRect(30, 30, -30, -30)};
  for (const CRect& r : wild) keyboard->AddKeyItem(L"Wild", L"W", 0x50, r, L"", 0x00FF00);
  for (KEY_INFO* key : keyboard->GetKeyItems()) key->type = 19;
  for (int mode = 100; mode <= 106; ++mode) Render(*keyboard, mode);
  EXPECT_EQ(kWindowRgb, surface.Pixel(99, 150)) << "nothing is drawn outside the control";
  EXPECT_EQ(kWindowRgb, surface.Pixel(150, 201));
  EXPECT_EQ(kWindowRgb, surface.Pixel(301, 150));
}

TEST_F(SmallKeyboardTest, MissingPicturesAndOddSizesDrawWithoutThem) {
  keyboard->SetKeyboardImage(L"kbdtest_no_such_picture.png");
  keyboard->SetKeyState1Image(L"kbdtest_no_such_strip.png");
  Key(0).type = 14;
  Render(*keyboard, TESK::KBMODE_CUSTOM);
  EXPECT_EQ(kWindowRgb, surface.Pixel(134, 160)) << "without a picture the window shows through";
  EXPECT_EQ(kGrey, surface.Pixel(130, 160));
  EXPECT_EQ(kWindowRgb, surface.Pixel(150, 164)) << "no badge without a strip";

  keyboard->SetWidthAndHeight(600, 300);  // larger than the control
  Render(*keyboard, TESK::KBMODE_NONE);
  EXPECT_EQ(kWindowRgb, surface.Pixel(99, 150));
  keyboard->SetRect(CRect(100, 100, 100, 100));  // zero size
  Render(*keyboard, TESK::KBMODE_NONE);
  EXPECT_EQ(kWindowRgb, surface.Pixel(130, 130));
}

}  // namespace
