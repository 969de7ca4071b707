// The key test's keyboard picture: key colours by state, the centred layout and its frame,
// composed to pixels.
#include "ui/keyboard/KeyboardTestCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kPictureId = 32;
constexpr DWORD kGround = 0x000000;
constexpr DWORD kGrey = 0xE8E8E8, kRed = 0xE74250, kGreen = 0x21A939, kOutline = 0x646464;
constexpr DWORD kKeyPicture = 0x0080FF;
constexpr wchar_t kKeyPictureFile[] = L"kc5_testkey.png";

class KeyboardTestCtrlTest : public testing::Test {
protected:
  KeyboardTestCtrlTest() : host(640, 240) {}
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }

  // A 400 x 200 picture at (20, 20) with a 300 x 100 layout: keys A (code 4), B (code 4 again)
  // and C (code 5), 50 px squares at layout x 0, 60 and 120.
  KeyboardTestCtrl* Picture() {
    auto* picture = host.Add<KeyboardTestCtrl>(L"KeyboardTestCtrl", kPictureId, CRect(20, 20, 420, 220));
    if (!picture) return nullptr;
    picture->SetWidthAndHeight(300, 100);
    picture->AddKeyItem(L"", 4, L"", CRect(0, 0, 50, 50));
    picture->AddKeyItem(L"", 4, L"", CRect(60, 0, 110, 50));
    picture->AddKeyItem(L"", 5, L"", CRect(120, 0, 170, 50));
    return picture;
  }
  // The middle of the key at layout x, in the window, for a picture at origin with that offset.
  static CPoint Key(int x, CPoint origin = CPoint(20, 20), CPoint offset = CPoint(50, 50)) {
    return CPoint(origin.x + offset.x + x + 25, origin.y + offset.y + 25);
  }
  std::vector<DWORD> Keys(CPoint origin = CPoint(20, 20), CPoint offset = CPoint(50, 50)) {
    DibSurface s(host.width(), host.height());
    host.Compose(s);
    std::vector<DWORD> colours;
    for (int x : {0, 60, 120}) colours.push_back(s.Pixel(Key(x, origin, offset).x, Key(x, origin, offset).y));
    return colours;
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(KeyboardTestCtrlTest, BothFactoriesMakeIt) {
  EXPECT_NE(nullptr, host.Add<KeyboardTestCtrl>(L"KeyboardTestCtrl", 4, CRect(0, 0, 100, 100)));
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, 200, 200));
  ASSERT_NE(nullptr, page);
  EXPECT_NE(nullptr,
            dynamic_cast<KeyboardTestCtrl*>(page->CreateControl(L"KeyboardTestCtrl", 5, CRect(0, 0, 100, 100), L"", 1, 1)));
}

TEST_F(KeyboardTestCtrlTest, KeysTakeTheColourOfTheirStateTheFirstOfACodeOnly) {
  KeyboardTestCtrl* picture = Picture();
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ((std::vector<DWORD>{kGrey, kGrey, kGrey}), Keys());
  const struct {
    int code, state;
    std::vector<DWORD> colours;
  } steps[] = {
      {4, 2, {kGreen, kGrey, kGrey}},  // held: only the first key of code 4
      {4, 1, {kRed, kGrey, kGrey}},    // released
      {5, 7, {kRed, kGrey, kGrey}},    // another state draws grey
      {5, 2, {kRed, kGrey, kGreen}},
      {99, 1, {kRed, kGrey, kGreen}},  // no key of that code
  };
  for (const auto& step : steps) {
    host.ClearJournal();
    picture->SetKeyState(step.code, step.state);
    EXPECT_EQ(std::vector<int>{1}, host.Repaints(kPictureId)) << "code " << step.code;
    EXPECT_EQ(step.colours, Keys()) << "code " << step.code << " state " << step.state;
  }
  picture->ResetKeyState();
  EXPECT_EQ((std::vector<DWORD>{kGrey, kGrey, kGrey}), Keys());
  picture->ClearItem();
  EXPECT_EQ((std::vector<DWORD>{kGround, kGround, kGround}), Keys());
  picture->SetKeyState(4, 1);  // on an empty picture
  EXPECT_EQ((std::vector<DWORD>{kGround, kGround, kGround}), Keys());
}

TEST_F(KeyboardTestCtrlTest, TheLayoutIsCentredInTheControlAndFramed) {
  auto* picture = host.Add<KeyboardTestCtrl>(L"KeyboardTestCtrl", kPictureId, CRect(20, 20, 420, 220));
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(CPoint(6, 6), picture->GetLayoutOffset()) << "before the layout has a size";
  picture->AddKeyItem(L"", 4, L"", CRect(0, 0, 50, 50));
  EXPECT_EQ(kGrey, host.PixelAt(20 + 6 + 25, 20 + 6 + 25));

  picture->SetWidthAndHeight(300, 100);
  EXPECT_EQ(CPoint(50, 50), picture->GetLayoutOffset());
  picture->SetRect(CRect(20, 20, 620, 221));  // 600 x 201: (600 - 300) / 2, (201 - 100) / 2
  EXPECT_EQ(CPoint(150, 50), picture->GetLayoutOffset());
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  EXPECT_EQ(kGrey, s.Pixel(Key(0, CPoint(20, 20), CPoint(150, 50)).x, Key(0, CPoint(20, 20), CPoint(150, 50)).y));
  // The key's 2-px outline runs 2 px inside its left edge; the frame's left side at
  // (600 - 300 - 60) / 2 = 120, from y 3 to 3 + 201 - 6.
  const int keyLeft = 20 + 150;
  const int frameLeft = 20 + 120;
  auto hasOutline = [&](int x0, int y) {
    for (int x = x0 - 1; x <= x0 + 1; ++x) {
      if (s.Pixel(x, y) == kOutline) return true;
    }
    return false;
  };
  EXPECT_TRUE(hasOutline(keyLeft + 2, 20 + 50 + 25));
  EXPECT_TRUE(hasOutline(frameLeft, 20 + 100));
  EXPECT_FALSE(hasOutline(frameLeft - 10, 20 + 100));
  EXPECT_EQ(kGround, s.Pixel(frameLeft + 10, 20 + 100)) << "inside the frame, outside the keys";
}

TEST_F(KeyboardTestCtrlTest, AKeyPictureIsDrawnUnscaledInTheMiddleOfItsKey) {
  ASSERT_TRUE(testsupport::WriteStrip(kKeyPictureFile, 10, 10, {0xFF000000 | kKeyPicture}));
  auto* picture = host.Add<KeyboardTestCtrl>(L"KeyboardTestCtrl", kPictureId, CRect(20, 20, 420, 220));
  ASSERT_NE(nullptr, picture);
  picture->SetWidthAndHeight(300, 100);
  EXPECT_EQ(0, picture->AddKeyItem(L"Esc", 41, kKeyPictureFile, CRect(0, 0, 50, 50)));
  EXPECT_EQ(1, picture->AddKeyItem(L"", 42, L"no_such_key.png", CRect(60, 0, 110, 50)));
  DibSurface s(host.width(), host.height());
  host.Compose(s);
  const CPoint middle = Key(0);
  EXPECT_EQ(kKeyPicture, s.Pixel(middle.x, middle.y));
  EXPECT_EQ(kKeyPicture, s.Pixel(middle.x - 5, middle.y - 5));
  EXPECT_EQ(kGrey, s.Pixel(middle.x - 7, middle.y)) << "10 px wide, not stretched";
  EXPECT_EQ(kGrey, s.Pixel(Key(60).x, Key(60).y)) << "a picture that does not load leaves the key plain";
}

}  // namespace
