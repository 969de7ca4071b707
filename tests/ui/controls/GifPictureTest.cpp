#include "ui/controls/CGifPicture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "BitmapProbe.h"
#include "GifWriter.h"
#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ui/core/PaintManager.h"

using namespace TESK;
using testsupport::DibSurface;
using testsupport::RecordingOwner;

namespace {

// Eight frames, each one colour, stored with a delay of a whole second that the control
// does not follow.
const std::vector<DWORD> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000};
const wchar_t kEight[] = L"gif_eight.gif";
const wchar_t kSingle[] = L"gif_single.gif";
const wchar_t kStill[] = L"gif_still.png";
const CRect kPlace(5, 5, 25, 20);
constexpr DWORD kBackground = 0x404040;

class GifPictureTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    testsupport::GdiplusSession gdiplus;
    testsupport::WriteSkinGif(kEight, 8, 6, kColours, 100);
    testsupport::WriteSkinGif(kSingle, 8, 6, {0xFF0000}, 100);
    ASSERT_TRUE(testsupport::WriteSkin(kStill, 8, 6, 0xFF00FF00));
  }

  // A picture of this window engine (whose image cache it uses), showing file.
  std::unique_ptr<CGifPicture> Picture(const wchar_t* file, int visible = 1) {
    std::unique_ptr<CGifPicture> picture(new CGifPicture(&m_owner, 7, kPlace, visible, 1));
    picture->SetManager(&m_engine);
    EXPECT_EQ(0, picture->SetImage(file, 1)) << "always 0";
    m_owner.updates.clear();
    return picture;
  }

  // The colour the picture shows after a repaint with redraw.
  static DWORD Shown(CGifPicture& picture) {
    DibSurface surface(30, 30, kBackground);
    HDC dc = surface.dc();
    picture.SetUpdate(0, 0);
    picture.DrawControl(dc, CRect(0, 0, 30, 30));
    return surface.Pixel(kPlace.left + 10, kPlace.top + 7);
  }

  testsupport::GdiplusSession m_gdiplus;
  RecordingOwner m_owner;
  PaintManager m_engine;
};

TEST_F(GifPictureTest, EveryFifthTickShowsTheNextFrameAndWraps) {
  std::unique_ptr<CGifPicture> picture = Picture(kEight);
  EXPECT_EQ(8, picture->GetFrameCount());
  EXPECT_EQ(1, picture->IsAnimate());
  EXPECT_EQ(1, picture->IsRunTimer()) << "ticks reach it from the start";
  EXPECT_EQ(kColours[0], Shown(*picture));

  for (int i = 0; i < 10; ++i) picture->OnTimer();
  EXPECT_EQ(0, picture->GetCurrentFrame()) << "stopped: ticks change nothing";
  EXPECT_TRUE(m_owner.updates.empty());

  ASSERT_EQ(1, picture->SetRunState(1, 0));
  m_owner.updates.clear();
  // At a tick of 10 ms, a frame every 50 ms; a second of stored delay plays no part.
  for (int frame = 1; frame <= 8; ++frame) {
    for (int tick = 1; tick < 5; ++tick) EXPECT_EQ(0, picture->OnTimer());
    EXPECT_EQ((frame - 1) % 8, picture->GetCurrentFrame()) << "after 4 more ticks";
    picture->OnTimer();
    EXPECT_EQ(frame % 8, picture->GetCurrentFrame()) << "the 5th tick moves on";
    ASSERT_EQ(static_cast<size_t>(frame), m_owner.updates.size());
    EXPECT_EQ(1, m_owner.updates.back().redraw) << "a new frame is rendered";
    EXPECT_EQ(kPlace, m_owner.updates.back().rect);
    EXPECT_EQ(kColours[static_cast<size_t>(frame % 8)], Shown(*picture)) << "frame " << frame % 8;
  }

  picture->SetRunState(0, 3);
  for (int i = 0; i < 10; ++i) picture->OnTimer();
  EXPECT_EQ(3, picture->GetCurrentFrame()) << "stopped on the frame asked for";
  EXPECT_EQ(kColours[3], Shown(*picture));

  picture->SetVisible(0);
  picture->SetRunState(1, 3);
  for (int i = 0; i < 10; ++i) picture->OnTimer();
  EXPECT_EQ(3, picture->GetCurrentFrame()) << "a hidden picture does not tick";
}

TEST_F(GifPictureTest, StoredFramesOutsideTheImageAreNeverShownOrAdvanced) {
  std::unique_ptr<CGifPicture> picture = Picture(kEight);
  picture->SetRunState(1, 2);
  EXPECT_EQ(kColours[2], Shown(*picture));
  for (int frame : {8, 9, -1, 1000}) {
    ASSERT_EQ(1, picture->SetRunState(1, frame)) << "any frame is taken";
    m_owner.updates.clear();
    for (int i = 0; i < 20; ++i) picture->OnTimer();
    EXPECT_EQ(frame, picture->GetCurrentFrame()) << frame << " stays";
    EXPECT_TRUE(m_owner.updates.empty()) << frame << ": nothing to repaint";
    EXPECT_EQ(kColours[2], Shown(*picture)) << frame << ": the last frame chosen stays on show";
    picture->SelectActiveFrame(frame);
    EXPECT_EQ(kColours[2], Shown(*picture)) << frame;
  }
}

TEST_F(GifPictureTest, PicturesWithoutSeveralFramesRefuseToRun) {
  for (const wchar_t* file : {kSingle, kStill, L"gif_missing.gif"}) {
    std::unique_ptr<CGifPicture> picture = Picture(file);
    EXPECT_EQ(0, picture->IsAnimate()) << CString(file).GetString();
    EXPECT_EQ(0, picture->SetRunState(1, 0)) << CString(file).GetString();
    EXPECT_EQ(0, picture->IsRunning()) << CString(file).GetString();
    for (int i = 0; i < 10; ++i) picture->OnTimer();
    EXPECT_EQ(0, picture->GetCurrentFrame());
    EXPECT_TRUE(m_owner.updates.empty()) << CString(file).GetString();
  }
  std::unique_ptr<CGifPicture> missing = Picture(L"gif_missing.gif");
  EXPECT_EQ(kBackground, Shown(*missing)) << "no image: the surface below shows";
  std::unique_ptr<CGifPicture> single = Picture(kSingle);
  EXPECT_EQ(0xFF0000u, Shown(*single)) << "a single frame is still shown";
}

TEST_F(GifPictureTest, PicturesOfOneFileShowTheirOwnFrames) {
  std::unique_ptr<CGifPicture> first = Picture(kEight);
  std::unique_ptr<CGifPicture> second = Picture(kEight);
  first->SetRunState(0, 2);
  second->SetRunState(0, 5);
  EXPECT_EQ(kColours[2], Shown(*first));
  EXPECT_EQ(kColours[5], Shown(*second));
  EXPECT_EQ(kColours[2], Shown(*first)) << "the shared image's frame is chosen again for each drawing";

  first->SelectActiveFrame(0);
  for (size_t i = 1; i <= 9; ++i) {
    first->ActiveNextFrame();
    DibSurface surface(30, 30, kBackground);
    Gdiplus::Graphics g(surface.dc());
    // The image itself, whose active frame ActiveNextFrame chose.
    g.DrawImage(m_engine.AddImgResInfo(kEight, 4)->image, 0, 0);
    EXPECT_EQ(kColours[i % 8], surface.Pixel(2, 2)) << "step " << i;
  }
}

TEST_F(GifPictureTest, MouseActivationRunsOnlyWhileThePointerIsOver) {
  std::unique_ptr<CGifPicture> picture = Picture(kEight);
  const CPoint inside(10, 10), outside(40, 40);
  picture->OnControlMouseMove(0, inside);
  EXPECT_EQ(0, picture->IsRunning()) << "off until asked for";

  picture->SetMouseMoveActive(true);
  EXPECT_EQ(0, picture->OnControlMouseMove(0, inside));
  EXPECT_EQ(1, picture->IsRunning()) << "entering starts it";
  EXPECT_EQ(0, picture->GetCurrentFrame());
  for (int i = 0; i < 10; ++i) picture->OnTimer();
  EXPECT_EQ(2, picture->GetCurrentFrame());
  picture->OnControlMouseMove(0, CPoint(12, 11));
  EXPECT_EQ(2, picture->GetCurrentFrame()) << "moving over it does not restart it";

  m_owner.updates.clear();
  picture->OnControlMouseMove(0, outside);
  EXPECT_EQ(0, picture->IsRunning()) << "leaving stops it";
  EXPECT_EQ(0, picture->GetCurrentFrame());
  ASSERT_EQ(1u, m_owner.updates.size());
  EXPECT_EQ(1, m_owner.updates[0].redraw) << "frame 0 has to be rendered again";
  EXPECT_EQ(kColours[0], Shown(*picture));
  picture->OnControlMouseMove(0, outside);
  EXPECT_EQ(1u, m_owner.updates.size()) << "moves outside a stopped picture change nothing";

  picture->SetEnabled(0);
  picture->OnControlMouseMove(0, inside);
  EXPECT_EQ(0, picture->IsRunning()) << "a disabled picture ignores the pointer";
}

TEST_F(GifPictureTest, WindowTicksAdvanceTheFramesThroughTheEngine) {
  testsupport::PaintHost window;
  ASSERT_NE(nullptr, window.Create(nullptr, L"gif", WS_POPUP, 0, CRect(0, 0, 60, 40)));
  auto* picture = static_cast<CGifPicture*>(window.engine.CreateControl(&window, L"CGifPicture", 7, kPlace, L"", 1, 1));
  ASSERT_NE(nullptr, picture);
  picture->SetImage(kEight, 1);
  picture->AddMTimer();
  window.ShowWindow(SW_SHOWNOACTIVATE);
  window.engine.SetMTimer(10);
  ASSERT_EQ(1, picture->SetRunState(1, 0));
  const int paints = window.paints.load();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return picture->GetCurrentFrame() >= 3; }, 5000))
      << "frame " << picture->GetCurrentFrame();
  EXPECT_GT(window.paints.load(), paints) << "new frames are painted";
  // Stopping from the window's thread while ticks run takes the tick lock in turn.
  EXPECT_EQ(1, picture->SetRunState(0, 1));
  testsupport::PumpFor(100);
  EXPECT_EQ(1, picture->GetCurrentFrame()) << "stopped";
  window.DestroyWindow();
}

}  // namespace
