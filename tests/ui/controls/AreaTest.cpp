// The decorating areas: CArea, CRoundArea and CTextArea as composed by a window, their
// re-rendering setters and their factory rows.
#include "ui/controls/CArea.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CTextArea.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr COLORREF kGround = RGB(0, 0, 255);  // the window's background
constexpr DWORD kBlue = 0x0000FF, kGreen = 0x00FF00, kRed = 0xFF0000;
const CPoint kOrigin(20, 20);  // where each area is placed

class AreaTest : public testing::Test {
protected:
  void SetUp() override { host.GetPaintManager()->SetBackColor(kGround, kGround); }
  // The composed colour at a point of the area placed at kOrigin.
  DWORD At(int x, int y) { return host.PixelAt(kOrigin.x + x, kOrigin.y + y); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(AreaTest, RoundAreaFillsCornersAndFramesByItsFlags) {
  struct Sample {
    int x, y;
    DWORD colour;
  };
  const struct {
    const char* name;
    int w, h;
    int round;
    int frameOn, frameWidth;
    std::vector<Sample> samples;
  } cases[] = {
      {"rounded, too narrow: a plain rectangle", 8, 40, 1, 0, 1, {{0, 0, kGreen}, {7, 39, kGreen}, {4, 20, kGreen}}},
      {"rounded, too narrow: no frame either", 8, 40, 1, 1, 3, {{0, 0, kGreen}, {0, 20, kGreen}}},
      {"rounded", 100, 40, 1, 0, 1, {{0, 0, kBlue}, {99, 39, kBlue}, {50, 20, kGreen}, {50, 0, kGreen}}},
      {"plain with a 1-px frame inset by 1",
       100,
       40,
       0,
       1,
       1,
       {{0, 0, kGreen}, {0, 20, kGreen}, {1, 20, kRed}, {50, 1, kRed}, {50, 20, kGreen}, {99, 20, kRed}}},
      {"rounded with a frame of 3",
       100,
       40,
       1,
       1,
       3,
       {{0, 20, kBlue}, {1, 20, kBlue}, {3, 20, kRed}, {50, 0, kBlue}, {50, 3, kRed}, {50, 20, kGreen}}},
  };
  UINT id = 50;
  for (const auto& c : cases) {
    auto* area = host.Add<CRoundArea>(L"CRoundArea", ++id, CRect(kOrigin, CSize(c.w, c.h)));
    ASSERT_NE(nullptr, area) << c.name;
    area->SetColor(Gdiplus::Color(0xFF00FF00));
    area->SetRound(c.round);
    area->SetFrame(c.frameOn, Gdiplus::Color(0xFFFF0000), c.frameWidth);
    for (const Sample& s : c.samples) {
      EXPECT_EQ(s.colour, At(s.x, s.y)) << c.name << " at " << s.x << "," << s.y;
    }
    area->SetVisible(0);
  }
}

TEST_F(AreaTest, AreaFillsWithItsColourAtAlpha230WhateverTheTwoIntegers) {
  auto* area = host.Add<CArea>(L"CArea", 60, CRect(kOrigin, CSize(80, 40)));
  ASSERT_NE(nullptr, area);
  EXPECT_EQ(0xE6E6FFu, At(40, 20)) << "white by default, 230 parts over 25 of the blue ground";
  for (const auto& pair : {std::make_pair(80, 80), std::make_pair(0, 0), std::make_pair(255, -7)}) {
    area->SetTransparent(pair.first, pair.second, RGB(255, 0, 0));
    const DWORD centre = At(40, 20);
    // 230 parts red over 25 parts of the blue ground.
    EXPECT_NEAR(230, static_cast<int>(centre >> 16), 1) << pair.first << "," << pair.second;
    EXPECT_EQ(0, static_cast<int>((centre >> 8) & 0xFF));
    EXPECT_NEAR(25, static_cast<int>(centre & 0xFF), 1);
  }
  EXPECT_EQ(kBlue, At(0, 0)) << "rounded corner";
  area->SetFrame(4, Gdiplus::Color(0xFF00FF00), 1);
  EXPECT_EQ(kBlue, At(0, 0)) << "no frame is drawn";
  EXPECT_EQ(0x00u, (At(2, 20) >> 8) & 0xFF) << "no frame is drawn";
}

TEST_F(AreaTest, TextAreaFramesItsBackgroundAndCentresItsTitle) {
  auto* area = host.Add<CTextArea>(L"CTextArea", 61, CRect(kOrigin, CSize(160, 40)), L"MMM");
  ASSERT_NE(nullptr, area);
  area->SetFont(L"DejaVu Sans", 20, Gdiplus::FontStyleRegular);
  area->SetTextColor(Gdiplus::Color(0xFF0000FF));
  area->SetTransparent(1, 2, RGB(0, 255, 0));
  EXPECT_EQ(kGreen, At(0, 20)) << "no frame: the background to the edge";
  area->SetFrame(1, Gdiplus::Color(0xFFFF0000), 7);
  DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_EQ(kRed, surface.Pixel(kOrigin.x, kOrigin.y + 20));
  EXPECT_EQ(kRed, surface.Pixel(kOrigin.x + 80, kOrigin.y + 39));
  EXPECT_EQ(kGreen, surface.Pixel(kOrigin.x + 1, kOrigin.y + 20)) << "the background inside the 1-px frame";
  EXPECT_EQ(kGreen, surface.Pixel(kOrigin.x + 5, kOrigin.y + 5));
  const RECT ink = surface.InkBox(CRect(kOrigin, CSize(160, 40)),
                                  [](DWORD p) { return (p & 0xFF) > 80 && ((p >> 8) & 0xFF) < 200; });
  ASSERT_GT(ink.right, 0) << "the title is drawn";
  EXPECT_NEAR(kOrigin.x + 80, (ink.left + ink.right) / 2, 3) << "centred across";
  EXPECT_NEAR(kOrigin.y + 20, (ink.top + ink.bottom) / 2, 3) << "centred down";
}

TEST_F(AreaTest, SettersReRender) {
  auto* round = host.Add<CRoundArea>(L"CRoundArea", 70, CRect(0, 0, 50, 50));
  auto* area = host.Add<CArea>(L"CArea", 71, CRect(0, 0, 50, 50));
  auto* text = host.Add<CTextArea>(L"CTextArea", 72, CRect(0, 0, 50, 50), L"t");
  ASSERT_TRUE(round && area && text);
  host.ClearJournal();
  round->SetColor(Gdiplus::Color(0xFF010203));
  round->SetRound(0);
  round->SetFrame(1, Gdiplus::Color(0xFF010203), 2);
  area->SetTransparent(1, 2, 3);
  area->SetFrame(1, Gdiplus::Color(0xFF010203), 2);
  text->SetTransparent(1, 2, 3);
  text->SetFrame(1, Gdiplus::Color(0xFF010203), 2);
  EXPECT_EQ((std::vector<int>{1, 1, 1}), host.Repaints(70));
  EXPECT_EQ((std::vector<int>{1, 1}), host.Repaints(71));
  EXPECT_EQ((std::vector<int>{1, 1}), host.Repaints(72));
  EXPECT_TRUE(host.Notifications().empty());
}

TEST_F(AreaTest, FactoriesMakeTheAreasEnabledWithTheCallersTitleAndVisibility) {
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 80, CRect(0, 0, 200, 100));
  ASSERT_NE(nullptr, page);
  const struct {
    const wchar_t* name;
    bool onPanel;
  } rows[] = {{L"CArea", true}, {L"CRoundArea", true}, {L"CTextArea", false}};
  UINT id = 80;
  for (const auto& row : rows) {
    MControl* made = host.Add(row.name, ++id, CRect(0, 0, 10, 10), L"title", 0, 0);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(1, made->IsEnabled());
    EXPECT_EQ(0, made->IsVisible());
    MControl* paged = page->CreateControl(row.name, ++id, CRect(0, 0, 10, 10), L"title", 1, 0);
    EXPECT_EQ(row.onPanel, paged != nullptr) << "a panel knows no CTextArea";
    if (paged) EXPECT_EQ(1, paged->IsEnabled());
  }
  auto* text = host.Add<CTextArea>(L"CTextArea", 90, CRect(0, 0, 10, 10), L"caption", 1, 0);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(CString(L"caption"), text->GetTitle());
}

}  // namespace
