#include "ui/controls/CPhotoFrame.h"
#include "ui/controls/CSliderPicture.h"
#include "ui/controls/MPicture.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/MPanel.h"

using namespace TESK;
using testsupport::DibSurface;
using testsupport::RecordingOwner;

namespace {

constexpr DWORD kBlue = 0x0000FF;  // the window surface below the controls
constexpr DWORD kRed = 0xFF0000;
constexpr DWORD kGreen = 0x00FF00;
constexpr DWORD kLight = 0xF2F2F2;  // what a slide has not covered yet

// A 30 x 20 frame, green with a red 10 x 5 corner at its top left, so every copy of the
// frame shows where its origin landed and how much of it was drawn.
const wchar_t kMarked[] = L"picture_marked.png";
// Three 30 x 20 frames side by side: red, then two green ones.
const wchar_t kStrip[] = L"picture_strip.png";
// 100 x 40: left half red, right half green.
const wchar_t kHalves[] = L"picture_halves.png";

class PictureTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    testsupport::GdiplusSession gdiplus;
    ASSERT_TRUE(testsupport::WriteSkin(
        kMarked, 30, 20, [](int x, int y) { return x < 10 && y < 5 ? 0xFF000000 | kRed : 0xFF000000 | kGreen; }));
    ASSERT_TRUE(testsupport::WriteSkin(kStrip, 90, 20,
                                       [](int x, int) { return x < 30 ? 0xFF000000 | kRed : 0xFF000000 | kGreen; }));
    ASSERT_TRUE(testsupport::WriteSkin(kHalves, 100, 40,
                                       [](int x, int) { return x < 50 ? 0xFF000000 | kRed : 0xFF000000 | kGreen; }));
  }

  // Renders control afresh onto surface, as the window does after a repaint with redraw.
  static void Render(MControl& control, DibSurface& surface) {
    HDC dc = surface.dc();
    control.SetUpdate(0, 0);
    control.DrawControl(dc, CRect(0, 0, surface.width(), surface.height()));
  }

  // The top-left corner of the red pixels, (-1, -1) when there are none.
  static CPoint FirstRed(const DibSurface& surface) {
    CPoint first(INT_MAX, INT_MAX);
    for (int y = 0; y < surface.height(); ++y) {
      for (int x = 0; x < surface.width(); ++x) {
        if (surface.Pixel(x, y) != kRed) continue;
        first.x = std::min<LONG>(first.x, x);
        first.y = std::min<LONG>(first.y, y);
      }
    }
    return first.x == INT_MAX ? CPoint(-1, -1) : first;
  }

  testsupport::GdiplusSession m_gdiplus;
  RecordingOwner m_owner;
};

// The control sits at (10, 10), 70 x 45, on a 100 x 80 surface.
const CRect kPlace(10, 10, 80, 55);

TEST_F(PictureTest, OwnSizeIsPlacedByTheAlignments) {
  const struct {
    UINT h, v;
    CPoint origin;  // in the control
  } cases[] = {
      {0, 0, {0, 0}},  {2, 8, {40, 25}}, {1, 4, {20, 12}},
      {2, 0, {40, 0}}, {0, 8, {0, 25}},  {7, 7, {20, 12}},  // unknown values centre
  };
  for (const auto& c : cases) {
    MPicture picture(&m_owner, 3, kPlace, 1, 1);
    ASSERT_EQ(1, picture.SetImage(kMarked, 1));
    picture.SetAlignment(c.h, c.v);
    DibSurface surface(100, 80, kBlue);
    Render(picture, surface);
    EXPECT_EQ(CPoint(kPlace.left + c.origin.x, kPlace.top + c.origin.y), FirstRed(surface)) << c.h << "/" << c.v;
    EXPECT_EQ(50, surface.Count(0, 0, 100, 80, kRed)) << "one whole frame, unscaled";
    EXPECT_EQ(550, surface.Count(0, 0, 100, 80, kGreen));
  }
}

TEST_F(PictureTest, TilesFillTheControlAndCutTheLastRowAndColumn) {
  MPicture picture(&m_owner, 3, kPlace, 1, 1);
  ASSERT_EQ(1, picture.SetImage(kMarked, 1));
  ASSERT_EQ(1, picture.SetShowMode(SHOW_MODE_TILE, 0));
  DibSurface surface(100, 80, kBlue);
  Render(picture, surface);
  // 3 x 3 tiles: each one, the 10-pixel last column and the 5-pixel last row included,
  // still holds its whole red corner.
  EXPECT_EQ(9 * 50, surface.Count(0, 0, 100, 80, kRed));
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(kRed, surface.Pixel(kPlace.left + c * 30, kPlace.top + r * 20)) << "tile " << c << "," << r;
      EXPECT_EQ(kRed, surface.Pixel(kPlace.left + c * 30 + 9, kPlace.top + r * 20 + 4)) << "tile " << c << "," << r;
    }
  }
  EXPECT_EQ(kGreen, surface.Pixel(kPlace.left + 45, kPlace.top + 42)) << "last row, middle tile";
  EXPECT_EQ(70 * 45 - 9 * 50, surface.Count(0, 0, 100, 80, kGreen)) << "the control is covered, nothing more";
  EXPECT_EQ(100 * 80 - 70 * 45, surface.Count(0, 0, 100, 80, kBlue));
}

TEST_F(PictureTest, ScaledModesUseTheirBordersAndParts) {
  struct Sample {
    int x, y;  // in the control
    DWORD colour;
  };
  const struct {
    const char* name;
    enumShowMode mode;
    Sample samples[4];
  } cases[] = {
      {"stretched: the red corner grows to a third by a quarter",
       SHOW_MODE_STRETCH,
       {{2, 2, kRed}, {20, 9, kRed}, {28, 2, kGreen}, {66, 41, kGreen}}},
      {"nine-slice border 5: corner unscaled, top edge stretched",
       SHOW_MODE_FRAME,
       {{2, 2, kRed}, {12, 2, kRed}, {40, 2, kGreen}, {12, 20, kGreen}}},
      {"nine-slice margins 10, 5, 3, 3: the corner is exactly the red part",
       SHOW_MODE_FRAME_MID,
       {{9, 4, kRed}, {11, 2, kGreen}, {5, 6, kGreen}, {66, 41, kGreen}}},
      {"custom part: the red corner scaled over everything",
       SHOW_MODE_CUSTOM,
       {{10, 10, kRed}, {35, 22, kRed}, {60, 30, kRed}, {5, 30, kRed}}},
  };
  for (const auto& c : cases) {
    MPicture picture(&m_owner, 3, kPlace, 1, 1);
    ASSERT_EQ(1, picture.SetImage(kMarked, 1));
    if (c.mode == SHOW_MODE_FRAME_MID) {
      EXPECT_EQ(1, picture.SetShowModeMID(10, 5, 3, 3));
    } else {
      EXPECT_EQ(1, picture.SetShowMode(c.mode, 5));
    }
    picture.SetCustomRect(CRect(0, 0, 10, 5));
    EXPECT_EQ(c.mode, picture.GetShowMode());
    DibSurface surface(100, 80, kBlue);
    Render(picture, surface);
    for (const Sample& s : c.samples) {
      EXPECT_EQ(s.colour, surface.Pixel(kPlace.left + s.x, kPlace.top + s.y)) << c.name << " at " << s.x << "," << s.y;
    }
    const int blueInside = surface.Count(kPlace.left, kPlace.top, kPlace.right, kPlace.bottom, kBlue);
    EXPECT_EQ(100 * 80 - 70 * 45, surface.Count(0, 0, 100, 80, kBlue) - blueInside) << c.name << ": nothing outside";
    // (Under Wine a stretched part taken from inside the image leaves its first column out,
    // so the nine-slice seams are not checked for full cover.)
    if (c.mode == SHOW_MODE_STRETCH || c.mode == SHOW_MODE_CUSTOM) {
      EXPECT_EQ(0, blueInside) << c.name;
    }
  }
}

TEST_F(PictureTest, OnlyTheFirstFrameOfAStripIsShown) {
  MPicture picture(&m_owner, 3, kPlace, 1, 1);
  ASSERT_EQ(1, picture.SetImage(kStrip, 3));
  EXPECT_EQ(CSize(30, 20), picture.GetImageSize());
  picture.SetShowMode(SHOW_MODE_STRETCH, 0);
  DibSurface surface(100, 80, kBlue);
  Render(picture, surface);
  EXPECT_EQ(0, surface.Count(kPlace.left + 1, kPlace.top + 1, kPlace.right - 1, kPlace.bottom - 1, kGreen));
}

TEST_F(PictureTest, MissingImageShowsTheSurfaceBelow) {
  MPicture picture(&m_owner, 3, kPlace, 1, 1);
  ASSERT_EQ(1, picture.SetImage(kMarked, 1));
  m_owner.updates.clear();
  EXPECT_EQ(0, picture.SetImage(L"no_such_picture.png", 1));
  ASSERT_EQ(1u, m_owner.updates.size()) << "a file is repainted whether or not it loaded";
  EXPECT_EQ(1, m_owner.updates[0].redraw);
  EXPECT_EQ(0, picture.SetImage(4242, L"PNG", 1)) << "no such resource";
  EXPECT_EQ(1u, m_owner.updates.size()) << "a resource repaints only when it loaded";
  EXPECT_EQ(0, picture.SetImage(kMarked, 0)) << "a strip of no frames";

  DibSurface surface(100, 80, kBlue);
  Render(picture, surface);
  EXPECT_EQ(100 * 80, surface.Count(0, 0, 100, 80, kBlue)) << "the old picture went with the failed load";
}

TEST_F(PictureTest, ShowModeRepaintsOnlyOnAChange) {
  MPicture picture(&m_owner, 3, kPlace, 1, 1);
  const struct {
    enumShowMode mode;
    int parameter;
    int result;
  } steps[] = {
      {SHOW_MODE_FRAME, 4, 1},   {SHOW_MODE_FRAME, 6, 1},   {SHOW_MODE_FRAME, 6, 0},
      {SHOW_MODE_STRETCH, 9, 1}, {SHOW_MODE_STRETCH, 9, 0}, {SHOW_MODE_STRETCH, 3, 0},
  };
  size_t repaints = 0;
  for (const auto& s : steps) {
    EXPECT_EQ(s.result, picture.SetShowMode(s.mode, s.parameter)) << s.mode << "," << s.parameter;
    repaints += static_cast<size_t>(s.result);
    EXPECT_EQ(repaints, m_owner.updates.size()) << s.mode << "," << s.parameter;
  }
  EXPECT_EQ(1, picture.SetShowModeMID(1, 1, 1, 1));
  EXPECT_EQ(1, picture.SetShowModeMID(1, 1, 1, 1)) << "margins always repaint";
  EXPECT_EQ(repaints + 2, m_owner.updates.size());

  MPicture hidden(&m_owner, 4, kPlace, 0, 1);
  EXPECT_EQ(1, hidden.SetShowMode(SHOW_MODE_TILE, 0));
  EXPECT_EQ(repaints + 2, m_owner.updates.size()) << "a hidden picture asks for no repaint";
}

TEST_F(PictureTest, FactoriesBuildThePicturesWithTheCallersFlags) {
  testsupport::OpenPaintManager engine;
  MPanel panel(&m_owner, 50, CRect(0, 0, 200, 200), 1);
  panel.SetManager(&engine);
  for (const wchar_t* name : {L"MPicture", L"CPhotoFrame", L"CSliderPicture", L"CGifPicture"}) {
    for (int flag : {0, 1}) {
      // Kind 2: in no list, the caller owns the control.
      std::unique_ptr<MControl> made[] = {
          std::unique_ptr<MControl>(engine.CreateControl(2, &m_owner, name, 9, kPlace, L"", flag, flag)),
          std::unique_ptr<MControl>(panel.CreateControl(2, &panel, name, 9, kPlace, L"", flag, flag)),
      };
      for (const auto& control : made) {
        ASSERT_NE(nullptr, control) << CString(name).GetString();
        EXPECT_EQ(flag, control->IsVisible()) << CString(name).GetString();
        EXPECT_EQ(flag, control->IsEnabled()) << CString(name).GetString();
        EXPECT_EQ(&engine, control->GetManager());
      }
    }
  }
}

// ---- Photo frame ----

// A 90 x 30 overlay strip of three frames, each a 12-pixel border around a clear centre in
// its own colour: dark red, dark green, grey.
const wchar_t kOverlay[] = L"photo_overlay.png";
constexpr DWORD kOverlayColours[] = {0x800000, 0x008000, 0x808080};

TEST_F(PictureTest, PhotoFrameStatesFollowTheMouseAndReportTheClick) {
  CPhotoFrame frame(&m_owner, 4, kPlace, 1, 1);
  const CPoint inside(20, 20), outside(5, 5);
  const struct {
    const char* what;
    int (CPhotoFrame::*handler)(UINT, CPoint);
    CPoint pt;
    int result, state;
    UINT message;  // 0: none
  } steps[] = {
      {"move in: hover", &CPhotoFrame::OnControlMouseMove, inside, 1, 1, 0},
      {"move within: unchanged", &CPhotoFrame::OnControlMouseMove, inside, 0, 1, 0},
      {"press: pressed", &CPhotoFrame::OnControlLButtonDown, inside, 1, 2, NOTIFY_PRESSED},
      {"move out while pressed: kept", &CPhotoFrame::OnControlMouseMove, outside, 0, 2, 0},
      {"release outside: no click", &CPhotoFrame::OnControlLButtonUp, outside, 1, 0, 0},
      {"release again: unchanged", &CPhotoFrame::OnControlLButtonUp, outside, 0, 0, 0},
      {"press outside: ignored", &CPhotoFrame::OnControlLButtonDown, outside, 0, 0, 0},
      {"press inside", &CPhotoFrame::OnControlLButtonDown, inside, 1, 2, NOTIFY_PRESSED},
      {"release inside: click, hover", &CPhotoFrame::OnControlLButtonUp, inside, 1, 1, NOTIFY_CLICKED},
  };
  for (const auto& s : steps) {
    m_owner.messages.clear();
    m_owner.updates.clear();
    EXPECT_EQ(s.result, (frame.*s.handler)(0, s.pt)) << s.what;
    EXPECT_EQ(s.state, frame.GetState()) << s.what;
    ASSERT_EQ(s.message ? 1u : 0u, m_owner.messages.size()) << s.what;
    if (s.message) {
      EXPECT_EQ(s.message, m_owner.messages[0].code) << s.what;
      EXPECT_EQ(4u, m_owner.messages[0].id) << s.what;
    }
    ASSERT_EQ(static_cast<size_t>(s.result), m_owner.updates.size()) << s.what;
    if (s.result) {
      EXPECT_EQ(0, m_owner.updates[0].redraw) << s.what << ": a state only picks another cell";
    }
  }

  frame.SetEnabled(0);
  m_owner.messages.clear();
  EXPECT_EQ(0, frame.OnControlLButtonDown(0, inside));
  EXPECT_EQ(0, frame.OnControlMouseMove(0, outside));
  EXPECT_TRUE(m_owner.messages.empty()) << "a disabled frame ignores the mouse";
  EXPECT_EQ(1, frame.GetState());
}

TEST_F(PictureTest, PhotoFrameDrawsEachStateWithItsOverlayFrame) {
  ASSERT_TRUE(testsupport::WriteSkin(kOverlay, 90, 30, [](int x, int y) -> DWORD {
    const int fx = x % 30;
    const bool border = fx < 12 || fx >= 18 || y < 12 || y >= 18;
    return border ? 0xFF000000 | kOverlayColours[x / 30] : 0;
  }));
  CPhotoFrame frame(&m_owner, 4, kPlace, 1, 1);
  ASSERT_EQ(1, frame.SetPhotoFrame(kHalves, 1));
  ASSERT_EQ(1, frame.SetShowMode(SHOW_MODE_STRETCH, 0));
  m_owner.updates.clear();
  ASSERT_EQ(1, frame.SetImage(kOverlay, 3));
  EXPECT_TRUE(m_owner.updates.empty()) << "loading the overlay asks for no repaint";

  const CPoint to[] = {{-1, -1}, {20, 20}, {20, 20}};  // normal (no move), hover, pressed
  for (int state = 0; state < 3; ++state) {
    if (state == 1) frame.OnControlMouseMove(0, to[state]);
    if (state == 2) frame.OnControlLButtonDown(0, to[state]);
    ASSERT_EQ(state, frame.GetState());
    DibSurface surface(100, 80, kBlue);
    HDC dc = surface.dc();
    // Re-rendered for the first state only: the others are cells of the same drawing.
    if (state == 0) frame.SetUpdate(0, 0);
    frame.DrawControl(dc, CRect(0, 0, 100, 80));
    EXPECT_EQ(kOverlayColours[state], surface.Pixel(kPlace.left + 3, kPlace.top + 3)) << "state " << state;
    EXPECT_EQ(kOverlayColours[state], surface.Pixel(kPlace.right - 3, kPlace.bottom - 3)) << "state " << state;
    EXPECT_EQ(kRed, surface.Pixel(kPlace.left + 20, kPlace.top + 22)) << "photo's left half in the centre";
    EXPECT_EQ(kGreen, surface.Pixel(kPlace.left + 50, kPlace.top + 22)) << "photo's right half in the centre";
  }

  CPhotoFrame bare(&m_owner, 5, kPlace, 1, 1);
  ASSERT_EQ(1, bare.SetPhotoFrame(kHalves, 1));
  bare.SetShowMode(SHOW_MODE_STRETCH, 0);
  bare.OnControlMouseMove(0, CPoint(20, 20));
  DibSurface surface(100, 80, kBlue);
  Render(bare, surface);
  EXPECT_EQ(kRed, surface.Pixel(kPlace.left + 3, kPlace.top + 3)) << "without an overlay, hover shows the photo";
  EXPECT_EQ(kGreen, surface.Pixel(kPlace.right - 3, kPlace.bottom - 3));
  EXPECT_EQ(0, bare.SetPhotoFrame(L"no_such_photo.png", 1));
}

// ---- Slide picture ----

TEST_F(PictureTest, SlideStepsUntilItsTarget) {
  const struct {
    const char* name;
    CRect rect;
    SLIDER_MODE mode;
    int start, target, step, ticks;  // ticks until the slide ends
  } cases[] = {
      {"from the left, 250 wide: 2 a step", CRect(10, 10, 260, 50), SLIDER_MODE_LEFT, 0, 250, 2, 125},
      {"from the left, 350 wide: overshoots its end", CRect(0, 0, 350, 20), SLIDER_MODE_LEFT, 0, 350, 3, 117},
      {"from the top, window coordinates", CRect(5, 20, 45, 320), SLIDER_MODE_TOP, 20, 320, 3, 100},
      {"from the right down to the left edge", CRect(30, 0, 430, 10), SLIDER_MODE_RIGHT, 430, 30, -4, 100},
      {"under 100 wide still moves a pixel a step", CRect(0, 0, 50, 10), SLIDER_MODE_LEFT, 0, 50, 1, 50},
      {"under 100 wide from the right", CRect(10, 0, 60, 10), SLIDER_MODE_RIGHT, 60, 10, -1, 50},
  };
  for (const auto& c : cases) {
    CSliderPicture slide(&m_owner, 5, c.rect, 1, 1);
    EXPECT_EQ(0, slide.OnControlTimer()) << c.name << ": nothing before a start";
    m_owner.updates.clear();
    EXPECT_EQ(1, slide.SetRun(1, c.mode)) << c.name;
    EXPECT_EQ(1u, m_owner.updates.size()) << c.name << ": a start repaints";
    EXPECT_EQ(c.start, slide.GetPosition()) << c.name;
    EXPECT_EQ(1, slide.OnTimer()) << c.name;
    EXPECT_EQ(c.start + c.step, slide.GetPosition()) << c.name;
    int ticks = 1;
    while (slide.IsRunning() && ticks < 1000) ticks += slide.OnTimer();
    EXPECT_EQ(c.ticks, ticks) << c.name;
    EXPECT_EQ(c.start + c.ticks * c.step, slide.GetPosition()) << c.name;
    EXPECT_EQ(0, slide.OnTimer()) << c.name << ": over";
  }

  CSliderPicture disabled(&m_owner, 6, CRect(0, 0, 200, 10), 1, 0);
  EXPECT_EQ(0, disabled.SetRun(1, SLIDER_MODE_LEFT)) << "a disabled slide keeps its state";
  EXPECT_EQ(0, disabled.OnTimer());
}

TEST_F(PictureTest, SlideShowsTheCoveredPartAndHidesItselfWhenOver) {
  const CRect rect(10, 10, 110, 50);  // 100 x 40: a pixel a step
  struct Sample {
    int x, y;  // in the window
    DWORD colour;
  };
  const struct {
    const char* name;
    SLIDER_MODE mode;
    Sample samples[4];
  } cases[] = {
      {"left: the picture's right part enters first",
       SLIDER_MODE_LEFT,
       {{10, 20, kGreen}, {39, 20, kGreen}, {40, 20, kLight}, {109, 49, kLight}}},
      {"top: the picture's bottom rows enter first",
       SLIDER_MODE_TOP,
       {{10, 10, kRed}, {100, 10, kGreen}, {10, 19, kRed}, {10, 20, kLight}}},
      {"right: the picture's left part enters first",
       SLIDER_MODE_RIGHT,
       {{80, 20, kRed}, {109, 20, kRed}, {79, 20, kLight}, {10, 49, kLight}}},
  };
  for (const auto& c : cases) {
    CSliderPicture slide(&m_owner, 5, rect, 1, 1);
    ASSERT_EQ(1, slide.SetImage(kHalves, 1));
    slide.SetShowMode(SHOW_MODE_STRETCH, 0);
    slide.SetRun(1, c.mode);
    for (int i = 0; i < 30 / (c.mode == SLIDER_MODE_TOP ? 3 : 1); ++i) slide.OnTimer();
    DibSurface surface(120, 60, kBlue);
    Render(slide, surface);
    for (const Sample& s : c.samples) {
      EXPECT_EQ(s.colour, surface.Pixel(s.x, s.y)) << c.name << " at " << s.x << "," << s.y;
    }
    EXPECT_EQ(120 * 60 - 100 * 40, surface.Count(0, 0, 120, 60, kBlue)) << c.name << ": nothing outside";
    EXPECT_EQ(1, slide.IsVisible()) << c.name << ": visible while it slides";
  }

  CSliderPicture slide(&m_owner, 5, rect, 1, 1);
  ASSERT_EQ(1, slide.SetImage(kHalves, 1));
  slide.SetShowMode(SHOW_MODE_STRETCH, 0);
  slide.SetRun(1, SLIDER_MODE_LEFT);
  while (slide.IsRunning()) slide.OnTimer();
  m_owner.updates.clear();
  DibSurface surface(120, 60, kBlue);
  Render(slide, surface);
  EXPECT_EQ(kRed, surface.Pixel(20, 20)) << "the last step shows the whole picture";
  EXPECT_EQ(kGreen, surface.Pixel(100, 40));
  EXPECT_EQ(0, slide.IsVisible()) << "then the picture leaves";
  ASSERT_EQ(1u, m_owner.updates.size());
  EXPECT_EQ(1, m_owner.updates[0].redraw);
  EXPECT_EQ(rect, m_owner.updates[0].rect);
}

}  // namespace
