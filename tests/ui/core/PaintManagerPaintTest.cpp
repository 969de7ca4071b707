#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::DibSurface;
using testsupport::PaintHost;
using testsupport::SolidControl;

namespace {

// As the window engine stores them: COLORREF 0x00BBGGRR read back as 0x00RRGGBB.
constexpr DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

using testsupport::WriteSkin;

class PaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host.Create(nullptr, L"paint", WS_POPUP, 0, CRect(0, 0, 120, 90)));
    // Shown, so that invalidation is tracked; the tests never pump, so nothing paints by itself.
    host.ShowWindow(SW_SHOWNOACTIVATE);
  }
  void TearDown() override { host.DestroyWindow(); }

  SolidControl* Add(UINT id, CRect rect, COLORREF colour, UINT kind = 1) {
    auto* control = new SolidControl(&host, id, rect, colour);
    host.engine.AttachControl(kind, control);
    return control;
  }
  // The window's picture for the whole client area, through the composing seam.
  void Compose(DibSurface& surface) {
    host.engine.ComposeWindow(surface.dc(), surface.bitmap(), CRect(0, 0, 120, 90), CRect(0, 0, 120, 90));
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  PaintHost host;
};

TEST_F(PaintTest, DefaultLookIsAFramedFillWithTheControlsOnTop) {
  Add(10, CRect(20, 20, 50, 40), RGB(200, 0, 0));
  DibSurface surface(120, 90);
  Compose(surface);
  const struct {
    const char* spot;
    int x, y;
    DWORD rgb;
  } spots[] = {
      {"frame, top-left", 0, 0, Rgb(0x120F0A)},       {"frame, bottom-right", 119, 89, Rgb(0x120F0A)},
      {"inside the frame", 1, 1, Rgb(0xCDCDCD)},      {"inner area", 60, 60, Rgb(0xCDCDCD)},
      {"control", 30, 30, Rgb(RGB(200, 0, 0))},
  };
  for (const auto& s : spots) EXPECT_EQ(s.rgb, surface.Pixel(s.x, s.y)) << s.spot;
}

TEST_F(PaintTest, LayeredWindowKeepsTransparencyAndMakesGdiDrawingOpaque) {
  ASSERT_TRUE(WriteSkin(L"paint_clear.png", 120, 90, 0x00000000));
  ASSERT_EQ(1, host.engine.LoadBKImage(L"paint_clear.png"));
  host.engine.SetLayeredWindow(1);
  Add(10, CRect(20, 20, 50, 40), RGB(200, 0, 0));
  DibSurface surface(120, 90, 0x123456);
  Compose(surface);
  EXPECT_EQ(0u, surface.Argb(80, 70)) << "transparent background";
  EXPECT_EQ(0xFFC80000u, surface.Argb(30, 30)) << "GDI-drawn control becomes opaque";
  EXPECT_EQ(0, host.engine.LoadBKImage(L"paint_missing.png")) << "a missing file leaves the colours";
}

TEST_F(PaintTest, RepaintRequestReRendersOnlyTheControlAndLaterOverlappingOnes) {
  SolidControl* below = Add(10, CRect(0, 0, 60, 60), RGB(0, 0, 200));  // earlier, overlaps
  SolidControl* changed = Add(11, CRect(20, 20, 50, 50), RGB(200, 0, 0));
  SolidControl* above = Add(12, CRect(40, 40, 90, 70), RGB(0, 200, 0));   // later, overlaps
  SolidControl* apart = Add(13, CRect(70, 0, 110, 30), RGB(0, 200, 200));  // later, apart
  DibSurface surface(120, 90);
  Compose(surface);
  for (SolidControl* c : {below, changed, above, apart}) ASSERT_EQ(1, c->renders.load());
  ValidateRect(host.GetSafeHwnd(), nullptr);

  changed->UpdateControl(1, 0);
  RECT dirty = {};
  ASSERT_TRUE(GetUpdateRect(host.GetSafeHwnd(), &dirty, FALSE));
  EXPECT_EQ(CRect(20, 20, 90, 70), CRect(dirty)) << "the union of the control and the one above it";
  Compose(surface);
  EXPECT_EQ(1, below->renders.load()) << "below";
  EXPECT_EQ(2, changed->renders.load()) << "changed";
  EXPECT_EQ(2, above->renders.load()) << "above and overlapping";
  EXPECT_EQ(1, apart->renders.load()) << "above but apart";
  EXPECT_EQ(Rgb(RGB(0, 200, 0)), surface.Pixel(45, 45)) << "the later control stays on top";
}

TEST_F(PaintTest, MessageOverlayHoldsThenFadesAway) {
  PaintManager& engine = host.engine;
  engine.SetMessage(L"first", CRect(10, 10, 110, 60), MSG_LEVEL_INFO);
  engine.SetMessage(L"second", CRect(10, 10, 110, 60), MSG_LEVEL_INFO);
  EXPECT_STREQ(L"second", host.engine.m_overlayText) << "only the second text shows";
  EXPECT_EQ(255, host.engine.m_overlayAlpha);
  engine.OnTimer(PaintManager::kMessageHoldTimer);
  for (int tick = 1; tick <= 23; ++tick) {
    engine.OnTimer(PaintManager::kOverlayFadeTimer);
    ASSERT_EQ(255 - 10 * tick, host.engine.m_overlayAlpha) << "fade tick " << tick;
  }
  DibSurface during(120, 90);
  Compose(during);
  engine.OnTimer(PaintManager::kOverlayFadeTimer);
  EXPECT_EQ(0, host.engine.m_overlayAlpha) << "gone after 24 fade ticks";
  DibSurface after(120, 90);
  Compose(after);
  EXPECT_NE(Rgb(0xCDCDCD), during.Pixel(12, 30)) << "overlay frame still drawn while fading";
  EXPECT_EQ(Rgb(0xCDCDCD), after.Pixel(12, 30)) << "nothing left after the fade";
}

TEST_F(PaintTest, ProgressOverlayStepsExactlyToItsTarget) {
  PaintManager& engine = host.engine;
  const CRect rect(0, 30, 120, 90);
  engine.SetProgress(31, L"loading", rect);
  EXPECT_EQ(0, host.engine.m_overlayProgress) << "more than 5 to go: animated";
  for (int step = 1; step <= 16; ++step) engine.OnTimer(PaintManager::kProgressTimer);
  EXPECT_EQ(31, host.engine.m_overlayProgress) << "steps of 2 end on the odd target";
  engine.SetProgress(31, L"other text", rect);
  EXPECT_STREQ(L"loading", host.engine.m_overlayText) << "an equal value does nothing";
  engine.SetProgress(34, L"near", rect);
  EXPECT_EQ(34, host.engine.m_overlayProgress) << "5 or less to go: at once";

  host.engine.m_overlayProgress = 96;
  engine.SetProgress(100, L"done", rect);
  EXPECT_EQ(100, host.engine.m_overlayProgress);
  DibSurface surface(120, 90);
  Compose(surface);
  // Bar from L + 10 over R - L - 20 pixels; the line above it ends 10 pixels earlier.
  const auto yellow = [&](int x, int y) { return (surface.Pixel(x, y) & 0xFCFCFC) == 0xFCE000; };
  EXPECT_TRUE(yellow(105, 90 - 15)) << "bar at 100 % reaches R - 15";
  EXPECT_FALSE(yellow(105, 90 - 20)) << "only 3 pixels high";
  EXPECT_FALSE(yellow(115, 90 - 15)) << "and ends at R - 10";
}

// The rich edit's part the caret needs: its focus flag and its text colour.
class CaretOwner : public MControlFont {
public:
  explicit CaretOwner(MObject* owner) : MControlFont(owner, 30, CRect(0, 0, 120, 90), L"", 1, 1, 1) {
    SetTextColor(Gdiplus::Color(255, 200, 0, 0));
  }
  void DrawControl(HDC&, CRect) override {}
  void SetFocused(int focused) { m_bFocused = focused; }
};

TEST_F(PaintTest, CaretShowsInTheOwnersColourOnlyWhileOwnerAndWindowHaveTheFocus) {
  PaintManager& engine = host.engine;
  auto* owner = new CaretOwner(&host);
  host.engine.AttachControl(1, owner);
  const HWND window = host.GetSafeHwnd();
  ASSERT_EQ(1, engine.CreateCaret(nullptr, 2, 20));
  ASSERT_EQ(1, engine.SetCaretPos(owner, 30, 30));
  EXPECT_EQ(owner, engine.GetCurrentCaretObject());
  const auto caretDrawn = [&] {
    DibSurface surface(120, 90);
    Compose(surface);
    const DWORD p = surface.Pixel(31, 40);
    // Alpha 0xFE over the grey background leaves at most one step of it.
    return (p >> 16) >= 199 && ((p >> 8) & 0xFF) <= 1 && (p & 0xFF) <= 1;
  };
  // The caret timer, restarted with each step; whether it still ran when the step ended.
  const auto timerRan = [&] { return ::KillTimer(window, PaintManager::kCaretTimer) != 0; };

  const struct {
    const char* step;
    int ownerFocused;
    bool windowFocused;
    bool drawn;
  } steps[] = {
      {"owner and window focused", 1, true, true},
      {"owner without focus", 0, true, false},
      {"window without focus", 1, false, false},
  };
  for (const auto& s : steps) {
    owner->SetFocused(s.ownerFocused);
    ::SetFocus(s.windowFocused ? window : nullptr);
    ASSERT_EQ(s.windowFocused, ::GetFocus() == window) << s.step;
    engine.ShowCaret(0);
    engine.ShowCaret(1);
    ASSERT_EQ(1, host.engine.m_bCaretOn) << s.step;
    ValidateRect(window, nullptr);
    EXPECT_EQ(s.drawn, caretDrawn()) << s.step;
    EXPECT_EQ(s.drawn, timerRan()) << s.step << ": blinking";
    EXPECT_EQ(s.drawn ? 1 : 0, host.engine.m_bCaretOn) << s.step;
    RECT dirty = {};
    EXPECT_EQ(!s.drawn, GetUpdateRect(window, &dirty, FALSE) != 0) << s.step << ": a stopped caret is repainted away";
  }

  engine.RemoveControl(owner);
  EXPECT_EQ(nullptr, engine.GetCurrentCaretObject()) << "forgotten with its control";
  DibSurface surface(120, 90);
  Compose(surface);
}

TEST_F(PaintTest, ControlTimersGetFreeIdsAndReachTheirControl) {
  SolidControl* a = Add(10, CRect(0, 0, 10, 10), RGB(1, 1, 1));
  SolidControl* b = Add(11, CRect(0, 0, 10, 10), RGB(1, 1, 1));
  PaintManager& engine = host.engine;
  ASSERT_EQ(1, engine.SetTimer(a, 1, 1000));
  EXPECT_EQ(17, host.engine.TimerId(a, 1)) << "first id: (4096 + 1) mod 240";
  EXPECT_EQ(0, engine.SetTimer(a, 1, 500)) << "already running";
  EXPECT_EQ(1, engine.KillTimer(a, 1));
  EXPECT_EQ(0, engine.KillTimer(a, 1)) << "already stopped";
  EXPECT_EQ(1, engine.SetTimer(a, 1, 1000));
  EXPECT_EQ(17, host.engine.TimerId(a, 1)) << "a restart keeps the id";

  engine.OnTimer(17);
  EXPECT_EQ(1, a->ticks.load());
  EXPECT_EQ(0, b->ticks.load());

  // Every other id, through the wrap: each handed out once, none of the engine's own.
  std::set<int> ids = {17};
  for (UINT key = 0; key < 300; ++key) {
    if (!engine.SetTimer(b, key, 1000)) break;
    ids.insert(host.engine.TimerId(b, key));
  }
  EXPECT_EQ(240u - 3u, ids.size());
  for (int reserved : {66, 88, 99}) EXPECT_EQ(0u, ids.count(reserved)) << reserved;
  engine.KillTimer(b);
  EXPECT_EQ(-1, host.engine.TimerId(b, 0));
}

TEST_F(PaintTest, ImageCacheKeepsTheFirstEntryAndDoesNotCacheMisses) {
  ASSERT_TRUE(WriteSkin(L"paint_strip.png", 40, 10, 0xFF00FF00));
  PaintManager& engine = host.engine;
  ImgResInfo* first = engine.AddImgResInfo(L"paint_strip.png", 4);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(10u, first->frameWidth);
  EXPECT_EQ(10u, first->height);
  EXPECT_EQ(first, engine.AddImgResInfo(L"paint_strip.png", 1)) << "same entry, first frame count";
  EXPECT_EQ(10u, first->frameWidth);
  EXPECT_EQ(40u, engine.AddImgResInfo(L"paint_strip.png", 0) ? 40u : 0u);

  DeleteFileW(GetSkinFolder() + L"paint_late.png");
  EXPECT_EQ(nullptr, engine.AddImgResInfo(L"paint_late.png", 1));
  ASSERT_TRUE(WriteSkin(L"paint_late.png", 8, 8, 0xFF0000FF));
  EXPECT_NE(nullptr, engine.AddImgResInfo(L"paint_late.png", 0)) << "a miss is not remembered; 0 frames count as 1";
  EXPECT_EQ(nullptr, engine.AddImgResInfo(4711, L"PNG", 1, 1));
  EXPECT_EQ(nullptr, engine.AddImgResInfo(4711, L"PNG", 1, 0));
  // Resource 101 is the library's horizontal scroll strip and, in this test program, the
  // vertical one, a picture of another height: one id, two entries.
  ImgResInfo* library = engine.AddImgResInfo(101, L"PNG", 1, 0);
  ImgResInfo* program = engine.AddImgResInfo(101, L"PNG", 1, 1);
  ASSERT_NE(nullptr, library);
  ASSERT_NE(nullptr, program);
  EXPECT_NE(library, program);
  EXPECT_EQ(101u, library->resId);
  EXPECT_NE(library->height, program->height);
  EXPECT_EQ(program, engine.AddImgResInfo(101, L"PNG", 3, 1));
  EXPECT_EQ(library, engine.AddImgResInfo(101, L"PNG", 4, 0));
}

TEST(PaintFontsTest, FontsFolderFilesGarbageAndInstalledFaces) {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  const CString folder = GetProgramFolder() + L"fonts";
  const CString target = folder + L"\\SourceHanSansCN-Regular.otf";
  const CString source = CString(_wgetenv(L"TAVIR_PROGRAM_DIR")) + L"\\fonts\\SourceHanSansCN-Regular.otf";
  CreateDirectoryW(folder, nullptr);
  ASSERT_TRUE(CopyFileW(source, target, FALSE)) << "the staged program folder ships the font";
  {
    PaintHost host;
    ASSERT_NE(nullptr, host.Create(nullptr, L"fonts", WS_POPUP, 0, CRect(0, 0, 10, 10)));
    Gdiplus::FontFamily* family = host.engine.FindTempFont(L"SourceHanSansCN-Regular");
    ASSERT_NE(nullptr, family);
    Gdiplus::Font font(family, 16, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    EXPECT_EQ(Gdiplus::Ok, font.GetLastStatus());
    Gdiplus::FontFamily* installed = host.engine.FindTempFont(L"DejaVu Sans");
    EXPECT_NE(nullptr, installed) << "an installed face";
    EXPECT_EQ(installed, host.engine.FindTempFont(L"DejaVu Sans")) << "cached";
    EXPECT_EQ(nullptr, host.engine.FindTempFont(L"No Such Face 123"));
    host.DestroyWindow();
  }
  HANDLE f = CreateFileW(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, "not a font at all", 17, &written, nullptr);
  CloseHandle(f);
  {
    PaintHost host;
    ASSERT_NE(nullptr, host.Create(nullptr, L"garbage", WS_POPUP, 0, CRect(0, 0, 10, 10)));
    EXPECT_EQ(nullptr, host.engine.FindTempFont(L"SourceHanSansCN-Regular")) << "a garbage file gives no font";
    host.engine.SetMessage(L"still drawn", CRect(0, 0, 10, 10), MSG_LEVEL_INFO);
    DibSurface surface(10, 10);
    host.engine.ComposeWindow(surface.dc(), surface.bitmap(), CRect(0, 0, 10, 10), CRect(0, 0, 10, 10));
    host.DestroyWindow();
  }
  DeleteFileW(target);
  RemoveDirectoryW(folder);
}

TEST_F(PaintTest, MinimisedWindowDoesNotRepaintWithoutEnd) {
  PaintHost window;
  ASSERT_NE(nullptr, window.Create(nullptr, L"minimised", WS_OVERLAPPEDWINDOW, 0, CRect(0, 0, 200, 150)));
  window.ShowWindow(SW_SHOWMINNOACTIVE);
  testsupport::PumpFor(100);
  ASSERT_TRUE(IsIconic(window.GetSafeHwnd()));
  // Painting a minimised window draws nothing but must leave no update region behind.
  InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
  RECT pending = {};
  if (GetUpdateRect(window.GetSafeHwnd(), &pending, FALSE)) {
    EXPECT_EQ(1, window.engine.OnPaint());
    EXPECT_FALSE(GetUpdateRect(window.GetSafeHwnd(), &pending, FALSE)) << "update region validated";
  }
  InvalidateRect(window.GetSafeHwnd(), nullptr, FALSE);
  window.paints = 0;
  testsupport::PumpFor(200);
  EXPECT_LE(window.paints.load(), 2);
  window.DestroyWindow();
}

TEST_F(PaintTest, TicksThatRepaintRunBesidePaintingWithoutDeadlock) {
  for (int round = 0; round < 2; ++round) {
    PaintHost window;
    ASSERT_NE(nullptr, window.Create(nullptr, L"ticks", WS_POPUP, 0, CRect(0, 0, 600, 300)));
    std::vector<SolidControl*> ticking;
    for (int i = 0; i < 300; ++i) {
      auto* control = new SolidControl(&window, 100 + i, CRect((i % 30) * 20, (i / 30) * 30, (i % 30) * 20 + 24,
                                                                (i / 30) * 30 + 34),
                                       RGB(i, 255 - i % 256, 128));
      window.engine.AttachControl(1, control);
      if (i % 30 == 0) {
        control->repaintOnTick = true;
        control->SetRunTimer(1);
        control->AddMTimer();
        ticking.push_back(control);
      }
    }
    window.ShowWindow(SW_SHOWNOACTIVATE);
    window.engine.SetMTimer(16);
    testsupport::PumpFor(5000);
    EXPECT_GT(ticking.front()->ticks.load(), 50) << "round " << round;
    EXPECT_GT(ticking.front()->renders.load(), 5) << "ticks led to repaints, round " << round;
    window.DestroyWindow();
  }
}

}  // namespace
