#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::RecordingOwner;

namespace {

// A vertical bar 10 x 200 at the window's origin, as in the cases below.
const CRect kVerticalBar(0, 0, 10, 200);

TEST(ScrollBarTest, ThumbGeometry) {
  const struct {
    const char* name;
    bool vertical;
    CRect rect;
    int range, pos, page;  // page 0: chosen by the bar
    int wantPage, wantStart, wantLength, wantPos;
    bool shown;
  } cases[] = {
      {"200 high, range 1000: page 200, minimum thumb 100, middle", true, kVerticalBar, 1000, 500, 0, 200, 50, 100, 500,
       true},
      {"range over 10 x length: page is a tenth of it", true, kVerticalBar, 5000, 0, 0, 500, 0, 100, 0, true},
      {"120 high: thumb is length - 50", true, CRect(0, 0, 10, 120), 1000, 0, 0, 120, 0, 70, 0, true},
      {"page 500 of 1000: half the track", true, kVerticalBar, 1000, 1000, 500, 500, 100, 100, 1000, true},
      {"page share above the minimum", true, CRect(0, 0, 10, 400), 1000, 1000, 600, 600, 160, 240, 1000, true},
      {"vertical past the end: pulled back, position recomputed", true, kVerticalBar, 1000, 2000, 0, 200, 100, 100,
       1000, true},
      {"horizontal past the end: left as placed", false, CRect(0, 0, 200, 10), 1000, 2000, 0, 200, 200, 100, 2000,
       true},
      {"horizontal keeps the bar's offset", false, CRect(50, 300, 250, 310), 1000, 500, 0, 200, 50, 100, 500, true},
      {"range 0 (empty panel): no thumb", true, kVerticalBar, 0, 0, 0, 200, 0, 100, 0, false},
      {"range 0 horizontal: no thumb", false, CRect(0, 0, 200, 10), 0, 0, 0, 200, 0, 100, 0, false},
      {"page equal to the range: no thumb", true, kVerticalBar, 1000, 0, 1000, 1000, 0, 200, 0, false},
  };
  RecordingOwner owner;
  for (const auto& c : cases) {
    std::unique_ptr<MScroll> bar;
    if (c.vertical) {
      bar.reset(new CScrollVertical(&owner, 1, c.rect, 1));
    } else {
      bar.reset(new CScrollHorizontal(&owner, 2, c.rect, 1));
    }
    bar->SetScrollInfo(c.range, c.pos, c.page, 0);
    const CRect thumb = bar->GetThumbRect();
    EXPECT_EQ(c.wantPage, bar->GetScrollPage()) << c.name;
    EXPECT_EQ(c.wantPos, bar->GetScrollCurrentPos()) << c.name;
    EXPECT_EQ(c.shown, bar->IsThumbShown() != 0) << c.name;
    if (!c.shown) continue;
    const int start = c.vertical ? thumb.top - c.rect.top : thumb.left - c.rect.left;
    const int length = c.vertical ? thumb.Height() : thumb.Width();
    EXPECT_EQ(c.wantStart, start) << c.name;
    EXPECT_EQ(c.wantLength, length) << c.name;
    EXPECT_EQ(c.vertical ? c.rect.Width() : c.rect.Height(), c.vertical ? thumb.Width() : thumb.Height()) << c.name;
  }
  EXPECT_TRUE(owner.messages.empty()) << "placing the thumb reports nothing";
}

TEST(ScrollBarTest, ScrollRowStopsAtTheEnds) {
  const struct {
    int pos, rows, want, result;
  } cases[] = {
      {995, 1, 1000, 1}, {1000, 1, 1000, 0}, {5, -1, 0, 1}, {0, -1, 0, 0}, {500, 3, 530, 1}, {500, -2, 480, 1},
  };
  RecordingOwner owner;
  for (const auto& c : cases) {
    CScrollVertical bar(&owner, 1, kVerticalBar, 1);
    bar.SetScrollCurrentPos(c.pos);
    EXPECT_EQ(c.result, bar.ScrollRow(c.rows)) << c.pos << " by " << c.rows;
    EXPECT_EQ(c.want, bar.GetScrollCurrentPos()) << c.pos << " by " << c.rows;
  }
  EXPECT_TRUE(owner.messages.empty());
}

TEST(ScrollBarTest, AutomaticPageIsChosenAgainUntilAPageIsGiven) {
  RecordingOwner owner;
  CScrollVertical bar(&owner, 1, kVerticalBar, 1);
  EXPECT_EQ(200, bar.GetScrollPage());
  bar.SetScrollMaxRange(5000);
  EXPECT_EQ(500, bar.GetScrollPage());
  bar.SetScrollSize(300, 0);
  bar.SetScrollMaxRange(8000);
  EXPECT_EQ(300, bar.GetScrollPage());
  EXPECT_EQ(10, bar.GetScrollStep()) << "step 0 keeps the step";
}

TEST(ScrollBarTest, FinalPositionIsMeasuredOnTheBarsOwnAxis) {
  RecordingOwner owner;
  CScrollHorizontal horizontal(&owner, 2, CRect(0, 0, 200, 10), 1);
  CScrollVertical vertical(&owner, 1, kVerticalBar, 1);
  for (MScroll* bar : {static_cast<MScroll*>(&horizontal), static_cast<MScroll*>(&vertical)}) {
    bar->SetScrollFinalPos();
    EXPECT_EQ(1000, bar->GetScrollCurrentPos()) << bar->GetControlID();
    EXPECT_EQ(0, bar->GetThumbRect().top) << "the thumb is not moved";
  }
}

TEST(ScrollBarTest, TrackClickPagesAndReportsUntilTheEnd) {
  RecordingOwner owner;
  CScrollVertical bar(&owner, 1, kVerticalBar, 1);
  EXPECT_EQ(40, bar.OnControlLButtonDown(MK_LBUTTON, CPoint(5, 150))) << "track x page / range";
  EXPECT_EQ(40, bar.GetThumbRect().top);
  ASSERT_EQ(1u, owner.messages.size());
  EXPECT_EQ(1u, owner.messages[0].id);
  EXPECT_EQ(static_cast<UINT>(NOTIFY_CHANGING), owner.messages[0].code);
  EXPECT_EQ(400u, owner.messages[0].wParam);
  ASSERT_EQ(1u, owner.updates.size());
  EXPECT_EQ(1, owner.updates[0].redraw);
  EXPECT_EQ(kVerticalBar, owner.updates[0].rect);
  EXPECT_EQ(0, bar.IsChangeing());

  EXPECT_EQ(-40, bar.OnControlLButtonDown(MK_LBUTTON, CPoint(5, 10))) << "a click above pages back";
  EXPECT_EQ(0u, owner.messages.back().wParam);

  bar.SetScrollCurrentPos(1000);
  owner.messages.clear();
  EXPECT_EQ(0, bar.OnControlLButtonDown(MK_LBUTTON, CPoint(5, 250))) << "the thumb is at the end";
  EXPECT_TRUE(owner.messages.empty());
}

TEST(ScrollBarTest, DragReportsEveryMoveAndStopsAtTheEnd) {
  RecordingOwner owner;
  CScrollVertical bar(&owner, 1, kVerticalBar, 1);
  EXPECT_EQ(1, bar.OnControlLButtonDown(MK_LBUTTON, CPoint(5, 50))) << "press on the thumb starts a drag";
  EXPECT_TRUE(owner.messages.empty());
  ASSERT_EQ(1u, owner.updates.size());
  EXPECT_EQ(0, owner.updates[0].redraw);

  const struct {
    int y, thumbTop;
    size_t messages;
    WPARAM pos;
  } moves[] = {{80, 30, 1, 300}, {90, 40, 2, 400}, {200, 100, 3, 1000}, {260, 100, 3, 1000}, {100, 50, 4, 500}};
  for (const auto& m : moves) {
    EXPECT_EQ(1, bar.OnControlMouseMove(MK_LBUTTON, CPoint(5, m.y))) << m.y;
    EXPECT_EQ(m.thumbTop, bar.GetThumbRect().top) << m.y;
    ASSERT_EQ(m.messages, owner.messages.size()) << m.y;
    EXPECT_EQ(m.pos, owner.messages.back().wParam) << m.y;
  }
  EXPECT_EQ(1, bar.OnControlLButtonUp(0, CPoint(5, 100))) << "release on the thumb: hover state";
  bar.OnControlMouseMove(0, CPoint(5, 120));
  EXPECT_EQ(50, bar.GetThumbRect().top) << "no drag after the release";
  EXPECT_EQ(4u, owner.messages.size());
}

TEST(ScrollBarTest, WithoutAThumbTheMouseIsIgnored) {
  RecordingOwner owner;
  CScrollVertical empty(&owner, 1, kVerticalBar, 1);
  empty.SetScrollMaxRange(0);
  CScrollHorizontal full(&owner, 2, CRect(0, 0, 200, 10), 1);
  full.SetScrollSize(1000, 0);
  for (MScroll* bar : {static_cast<MScroll*>(&empty), static_cast<MScroll*>(&full)}) {
    EXPECT_EQ(0, bar->OnControlLButtonDown(MK_LBUTTON, CPoint(5, 5)));
    EXPECT_EQ(0, bar->OnControlLButtonDown(MK_LBUTTON, CPoint(150, 150)));
    EXPECT_EQ(0, bar->OnControlMouseMove(MK_LBUTTON, CPoint(5, 5)));
    EXPECT_EQ(0, bar->OnControlLButtonUp(0, CPoint(5, 5)));
    EXPECT_EQ(0, bar->ScrollRow(1) && bar->IsThumbShown());
  }
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_TRUE(owner.updates.empty());
}

TEST(ScrollBarTest, VerticalBarDrawsTrackAndThumbOverTheBackground) {
  testsupport::GdiplusSession gdiplus;
  RecordingOwner owner;
  CScrollVertical bar(&owner, 1, CRect(20, 0, 30, 200), 1);
  bar.SetScrollCurrentPos(500);
  testsupport::DibSurface surface(60, 200, 0x00FFFFFF);
  HDC dc = surface.dc();
  bar.DrawControl(dc, CRect(0, 0, 60, 200));
  EXPECT_EQ(0x00687389u, surface.Pixel(25, 20)) << "track above the thumb";
  EXPECT_EQ(0x00596EFFu, surface.Pixel(25, 100)) << "thumb";
  EXPECT_EQ(0x00FFFFFFu, surface.Pixel(10, 100)) << "beside the bar";

  bar.OnControlLButtonDown(MK_LBUTTON, CPoint(25, 100));
  bar.DrawControl(dc, CRect(0, 0, 60, 200));
  EXPECT_EQ(0x009FABFFu, surface.Pixel(25, 100)) << "the pressed thumb is drawn again, lighter";
}

// The library's horizontal strip (rows of 8 pixels: 1 normal, 2 hover, 3 dragged) stretched
// over a thumb 10 high; the middle of each row is one flat colour.
TEST(ScrollBarTest, HorizontalBarDrawsItsThumbFromTheStripRowOfItsState) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"bar", WS_POPUP, 0, CRect(0, 0, 10, 10)));
  {
    RecordingOwner owner;
    CScrollHorizontal bar(&owner, 2, CRect(0, 0, 200, 10), 1);
    bar.SetManager(&host.engine);
    bar.SetScrollInfo(1000, 0, 0, 0);  // page 200: thumb 0 ... 100
    testsupport::DibSurface surface(200, 10, 0x00FFFFFF);
    HDC dc = surface.dc();
    auto matches = [&](DWORD want, int x, int y) {
      const DWORD got = surface.Pixel(x, y);
      for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 3) return false;
      }
      return true;
    };
    const struct {
      const char* state;
      std::function<void()> enter;
      DWORD rgb;
    } states[] = {
        {"normal", [] {}, 0x4A4D58},
        {"hover", [&] { bar.OnControlMouseMove(0, CPoint(50, 5)); }, 0x626675},
        {"dragged", [&] { bar.OnControlLButtonDown(MK_LBUTTON, CPoint(50, 5)); }, 0x596EFF},
    };
    for (const auto& s : states) {
      s.enter();
      surface.Fill(0x00FFFFFF);
      bar.DrawControl(dc, CRect(0, 0, 200, 10));
      EXPECT_TRUE(matches(s.rgb, 50, 5)) << s.state << ": " << std::hex << surface.Pixel(50, 5);
      EXPECT_TRUE(matches(s.rgb, 8, 5)) << s.state << " (left piece): " << std::hex << surface.Pixel(8, 5);
    }
    EXPECT_LT(surface.Red(150, 5), 0x80) << "the line across the track";
    EXPECT_EQ(0x00FFFFFFu, surface.Pixel(150, 1)) << "the track itself is not drawn";
  }
  host.DestroyWindow();
}

}  // namespace
