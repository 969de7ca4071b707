#include "ui/core/MRender.h"
#include "ui/core/RenderRules.h"
#include "ui/core/TeskModule.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "BitmapProbe.h"

using namespace TESK;
using testsupport::DibSurface;

namespace {

constexpr DWORD kBlack = 0x000000;
constexpr DWORD kWhite = 0xFFFFFF;

class MRenderTest : public ::testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
};

// A temporary file path in the test's working folder, removed at the end of the test.
class TempFile {
public:
  explicit TempFile(const wchar_t* name) : m_path(name) { DeleteFileW(m_path); }
  ~TempFile() { DeleteFileW(m_path); }
  const CString& path() const { return m_path; }
  void Write(const std::vector<BYTE>& bytes) const {
    HANDLE f = CreateFileW(m_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  std::vector<BYTE> Read() const {
    std::vector<BYTE> bytes;
    HANDLE f = CreateFileW(m_path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(f);
    return bytes;
  }

private:
  CString m_path;
};

TEST(RenderRulesTest, TransitionAlphaRunsLinearlyBetweenThePercentages) {
  const struct {
    int from, to, n, i, alpha;
  } cases[] = {
      {20, 80, 100, 0, 204},  {20, 80, 100, 99, 52}, {80, 20, 100, 0, 51},  {80, 20, 100, 99, 202},
      {0, 100, 100, 0, 255},  {0, 100, 100, 99, 2},  {100, 0, 100, 0, 0},   {0, 0, 10, 5, 255},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.alpha, render::TransitionAlpha(c.from, c.to, c.n, c.i))
        << "from " << c.from << " to " << c.to << ", row " << c.i << " of " << c.n;
  }
}

TEST(RenderRulesTest, SizesRadiiBandsAndDepths) {
  const struct {
    float w, h, divisor, rx, ry;
  } radii[] = {
      {120, 30, 6, 10, 2.5f},   // differ by 7.5: kept
      {120, 300, 6, 10, 10},    // differ by 15: both the smaller
      {120, 30, 0, 0, 0},       // no divisor: square corners, no division by zero
  };
  for (const auto& c : radii) {
    float rx = -1, ry = -1;
    render::RoundRectRadii(c.w, c.h, c.divisor, rx, ry);
    EXPECT_FLOAT_EQ(c.rx, rx) << c.w << " x " << c.h << " / " << c.divisor;
    EXPECT_FLOAT_EQ(c.ry, ry) << c.w << " x " << c.h << " / " << c.divisor;
  }
  EXPECT_EQ(20, render::LineTextHeight(19.0f));
  EXPECT_EQ(23, render::LineTextHeight(19.2f));
  EXPECT_EQ(21, render::WrappedTextHeight(19.0f, 15.0f)) << "one line: the line height rules";
  EXPECT_EQ(47, render::WrappedTextHeight(19.0f, 40.5f)) << "wrapped: the bounds rule, plus 5";

  const int bands[][2] = {{0, 2}, {3, 2}, {4, 4}, {10, 8}, {31, 16}, {32, 32}, {63, 32}, {64, 64}, {1000, 64}};
  for (const auto& b : bands) EXPECT_EQ(b[1], render::GradientBandCount(b[0])) << b[0] << " steps";
  const int depths[][2] = {{1, 1}, {4, 4}, {8, 8}, {16, 24}, {24, 24}, {32, 24}};
  for (const auto& d : depths) EXPECT_EQ(d[1], render::BitmapFileDepth(d[0])) << d[0] << "-bit display";

  EXPECT_EQ(255, render::CornerFadeAlpha(10, 0, 0));
  EXPECT_EQ(127, render::CornerFadeAlpha(10, 3, 4));
  EXPECT_EQ(0, render::CornerFadeAlpha(10, 6, 8));
  EXPECT_EQ(0, render::CornerFadeAlpha(10, 9, 9));
}

TEST(RenderRulesTest, OriginPointsAndBlackCorrection) {
  EXPECT_EQ(CPoint(35, 15), MRender::GetOriginPoint(100, 40, 30, 10, 1, 4));
  EXPECT_EQ(CPoint(70, 30), MRender::GetOriginPoint(100, 40, 30, 10, 2, 8));
  EXPECT_EQ(CPoint(0, 0), MRender::GetOriginPoint(100, 40, 30, 10, 0, 0));
  EXPECT_EQ(CPoint(-1, -2), MRender::GetOriginPoint(10, 10, 13, 15, 1, 4)) << "halves truncate towards zero";
  EXPECT_EQ(CPoint(35, 17), MRender::GetOriginPoint(CRect(0, 0, 100, 40), 30, 10, 1, 4));
  EXPECT_EQ(CPoint(45, 22), MRender::GetOriginPoint(CRect(10, 5, 110, 45), 30, 10, 1, 4));

  const DWORD colours[][2] = {{0x80000000, 0x80000001}, {0x80000001, 0x80000001}, {0, 1}, {0xFF000100, 0xFF000100}};
  for (const auto& c : colours) {
    DWORD colour = c[0];
    MRender::CheckAlphaColor(colour);
    EXPECT_EQ(c[1], colour) << std::hex << c[0];
  }
}

// A strip of frames, each a 3 x 3 grid of 10-pixel cells in its own nine colours.
std::unique_ptr<Gdiplus::Bitmap> NineCellStrip(int frames) {
  auto strip = std::make_unique<Gdiplus::Bitmap>(30 * frames, 30, PixelFormat32bppARGB);
  Gdiplus::Graphics g(strip.get());
  for (int f = 0; f < frames; ++f) {
    for (int cell = 0; cell < 9; ++cell) {
      Gdiplus::SolidBrush brush(Gdiplus::Color(255, 20 * cell + 10, 60 * f + 10, 200));
      g.FillRectangle(&brush, 30 * f + 10 * (cell % 3), 10 * (cell / 3), 10, 10);
    }
  }
  return strip;
}

DWORD CellColour(int frame, int cell) { return RGB(200, 60 * frame + 10, 20 * cell + 10); }  // as 0x00RRGGBB

TEST_F(MRenderTest, NineSliceKeepsCornersAndStretchesEdgesAndCentreOfTheChosenFrame) {
  auto strip = NineCellStrip(3);
  for (int frame = 0; frame < 3; ++frame) {
    DibSurface surface(220, 140);
    {
      Gdiplus::Graphics g(surface.dc());
      MRender::DrawImageFrame(g, strip.get(), CRect(10, 10, 210, 130), 30 * frame, 0, 30, 30, 10);
    }
    // Safe spots: the middle of each destination part, away from stretched edges.
    const struct {
      const char* part;
      int x, y, cell;
    } spots[] = {
        {"top-left", 15, 15, 0},     {"top", 110, 15, 1},    {"top-right", 205, 15, 2},
        {"left", 15, 70, 3},         {"centre", 110, 70, 4}, {"right", 205, 70, 5},
        {"bottom-left", 15, 125, 6}, {"bottom", 110, 125, 7}, {"bottom-right", 205, 125, 8},
    };
    for (const auto& s : spots) {
      EXPECT_EQ(CellColour(frame, s.cell), surface.Pixel(s.x, s.y)) << s.part << " of frame " << frame;
    }
    EXPECT_EQ(kBlack, surface.Pixel(5, 5)) << "nothing outside the destination";
  }
}

TEST_F(MRenderTest, NineSliceWithFourBordersPlacesEachBand) {
  auto strip = NineCellStrip(1);
  DibSurface surface(200, 100);
  {
    Gdiplus::Graphics g(surface.dc());
    // Left column 5 wide, top row 10 high, right column 10 wide, bottom row 5 high.
    MRender::DrawImageFrameMID(g, strip.get(), CRect(0, 0, 200, 100), 5, 0, 20, 25, 5, 10, 10, 5);
  }
  EXPECT_EQ(CellColour(0, 0), surface.Pixel(2, 5)) << "top-left";
  EXPECT_EQ(CellColour(0, 4), surface.Pixel(100, 50)) << "centre";
  EXPECT_EQ(CellColour(0, 5), surface.Pixel(195, 50)) << "right edge";
  EXPECT_EQ(CellColour(0, 7), surface.Pixel(100, 97)) << "bottom edge";
}

int BackgroundPixels(const DibSurface& s, int left, int top, int right, int bottom) {
  return s.Count(left, top, right, bottom, kBlack);
}

TEST_F(MRenderTest, RoundedRectangleRadiiFollowTheDivisor) {
  // The corner left outside an elliptic corner of radii rx, ry is rx * ry * (1 - pi / 4).
  const struct {
    const char* name;
    float w, h;
    double cutOff;
  } cases[] = {
      {"120 x 30: radii 10 and 2.5", 120, 30, 10 * 2.5 * 0.2146},
      {"120 x 300: both radii 10", 120, 300, 10 * 10 * 0.2146},
  };
  for (const auto& c : cases) {
    DibSurface surface(140, 320);
    {
      Gdiplus::Graphics g(surface.dc());
      g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
      MRender::DrawRoundRectange(g, 10, 10, c.w, c.h, 6.0f, Gdiplus::Color(255, 255, 255, 255), 0.0f, true,
                                 Gdiplus::Color(255, 255, 255, 255));
    }
    const int cut = BackgroundPixels(surface, 10, 10, 10 + 30, 10 + static_cast<int>(c.h) / 2);
    EXPECT_NEAR(c.cutOff, cut, 6) << c.name;
    EXPECT_EQ(kWhite, surface.Pixel(70, 10 + static_cast<int>(c.h) / 2)) << c.name << ": filled";
  }
}

TEST_F(MRenderTest, RoundedRectangleFramesOnlyWithAPen) {
  const Gdiplus::Color frame(255, 255, 0, 0), fill(255, 0, 0, 255);
  for (float pen : {0.0f, 3.0f}) {
    DibSurface surface(100, 60);
    {
      Gdiplus::Graphics g(surface.dc());
      MRender::DrawRoundRectange(g, 10, 10, 80, 40, 5, frame, pen, fill);
    }
    EXPECT_EQ(pen == 0 ? 0x0000FFu : 0xFF0000u, surface.Pixel(10, 30)) << "left edge with pen " << pen;
    EXPECT_EQ(0x0000FFu, surface.Pixel(50, 30)) << "inside with pen " << pen;
  }
}

TEST_F(MRenderTest, TransitionsGiveEachRowOrColumnItsAlpha) {
  DibSurface src(100, 100, kWhite);
  HDC srcDc = src.dc();
  {
    DibSurface dst(100, 100, kBlack);
    HDC dstDc = dst.dc();
    const CRect rect(0, 0, 10, 100);
    EXPECT_EQ(render::TransitionAlpha(20, 80, 100, 99),
              MRender::DrawVerticalTransition(dstDc, srcDc, rect, rect, 20, 80));
    for (int row : {0, 1, 50, 99}) {
      EXPECT_NEAR(render::TransitionAlpha(20, 80, 100, row), dst.Red(5, row), 1) << "row " << row;
    }
    EXPECT_EQ(kBlack, dst.Pixel(50, 50)) << "outside the rectangle";
  }
  {
    DibSurface dst(100, 100, kBlack);
    HDC dstDc = dst.dc();
    const CRect rect(0, 0, 100, 10);
    MRender::DrawHorizontalTransition(dstDc, srcDc, rect, rect, 100, 0);
    for (int column : {0, 40, 99}) {
      EXPECT_NEAR(render::TransitionAlpha(100, 0, 100, column), dst.Red(column, 5), 1) << "column " << column;
    }
  }
  {
    DibSurface dst(100, 100, kBlack);
    HDC dstDc = dst.dc();
    EXPECT_EQ(255, MRender::DrawVerticalTransition(dstDc, srcDc, CRect(), CRect(), 0, 100)) << "empty rectangle";
    EXPECT_EQ(0, dst.Count(0, 0, 100, 100, kWhite));
    MRender::DrawVerticalTransition(dstDc, srcDc, CRect(0, 0, 100, 100), CRect(0, 0, 100, 100), 0, 0);
    EXPECT_EQ(100 * 100, dst.Count(0, 0, 100, 100, kWhite)) << "0 and 0 copy every row fully";
  }
  {
    DibSurface dst(40, 40, kBlack);
    HDC dstDc = dst.dc();
    MRender::DrawRightBottomTransition(dstDc, srcDc, CRect(0, 0, 40, 40), 10, 0);
    EXPECT_EQ(kWhite, dst.Pixel(30, 30)) << "inner corner of the square";
    EXPECT_EQ(kBlack, dst.Pixel(39, 39)) << "outer corner";
    EXPECT_NEAR(127, dst.Red(33, 34), 1) << "distance 5";
    EXPECT_EQ(kBlack, dst.Pixel(29, 29)) << "outside the square";
  }
}

TEST_F(MRenderTest, GradientsDrawWhatTheirAlphaSays) {
  const RECT rect = {0, 0, 20, 80};
  const struct {
    const char* name;
    DWORD first, second;
    int top, bottom;  // expected red at the first and last row, -1 for "untouched"
  } cases[] = {
      {"alphas 0 and 1 draw nothing", 0x00FFFFFF, 0x01FFFFFF, 0, 0},
      {"opaque draws straight onto the DC", 0xFFFF0000, 0xFF000000, 255, 0},
      {"half alpha mixes into the background", 0x80FFFFFF, 0x80FFFFFF, 128, 128},
  };
  for (const auto& c : cases) {
    DibSurface surface(40, 100, kBlack);
    MRender::DrawGradient(surface.dc(), rect, c.first, c.second, true, 10);
    EXPECT_NEAR(c.top, surface.Red(10, 0), 3) << c.name;
    EXPECT_NEAR(c.bottom, surface.Red(10, 79), 3) << c.name;
    EXPECT_EQ(kBlack, surface.Pixel(30, 50)) << c.name << ": outside the rectangle";
  }
}

TEST_F(MRenderTest, BandFillDrawsTheBandsFromTheSecondColourUp) {
  // 10 steps give 8 bands of 10 rows; band 0 at the bottom is the second colour.
  DibSurface surface(20, 80, kBlack);
  render::DrawGradientWith(nullptr, nullptr, surface.dc(), RECT{0, 0, 20, 80}, 0xFFF00000, 0xFF000000, true, 10);
  for (int band = 0; band < 8; ++band) {
    const int expected = (0xF0 * band) >> 3;
    EXPECT_EQ(static_cast<DWORD>(expected) << 16, surface.Pixel(10, 80 - 10 * band - 5)) << "band " << band;
  }
  // Horizontal: band 0 at the right.
  DibSurface wide(80, 10, kBlack);
  render::DrawGradientWith(nullptr, nullptr, wide.dc(), RECT{0, 0, 80, 10}, 0xFFF00000, 0xFF000000, false, 10);
  EXPECT_EQ(0x000000u, wide.Pixel(75, 5));
  EXPECT_EQ(static_cast<DWORD>((0xF0 * 7) >> 3) << 16, wide.Pixel(5, 5));
}

TEST_F(MRenderTest, SoftwareFallbacksMatchTheSystemPath) {
  const RECT rect = {0, 0, 30, 30};
  DibSurface system(30, 30, 0x202020), software(30, 30, 0x202020);
  MRender::DrawGradient(system.dc(), rect, 0x80FF8040, 0x80FF8040, true, 10);
  render::DrawGradientWith(nullptr, nullptr, software.dc(), rect, 0x80FF8040, 0x80FF8040, true, 10);
  for (int shift : {0, 8, 16}) {
    const int expected = (0x20 * 127 + ((0xFF8040 >> shift) & 0xFF) * 128) / 255;
    EXPECT_NEAR(expected, (system.Pixel(15, 15) >> shift) & 0xFF, 2) << "system, channel at bit " << shift;
    EXPECT_NEAR(expected, (software.Pixel(15, 15) >> shift) & 0xFF, 2) << "software, channel at bit " << shift;
  }
}

TEST_F(MRenderTest, SoftwareBlendStretchesAndUsesPerPixelAlphaOnlyWhenAsked) {
  DibSurface src(1, 1);
  src.SetArgb(0, 0, 0x80FFFFFF);
  const BLENDFUNCTION perPixel = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  const BLENDFUNCTION constant = {AC_SRC_OVER, 0, 255, 0};
  DibSurface dst(8, 8, kBlack);
  ASSERT_TRUE(render::SoftwareAlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 1, 1, perPixel));
  ASSERT_TRUE(render::SoftwareAlphaBlend(dst.dc(), 4, 4, 4, 4, src.dc(), 0, 0, 1, 1, constant));
  EXPECT_NEAR(128, dst.Red(3, 3), 1) << "source alpha 0x80";
  EXPECT_EQ(kWhite, dst.Pixel(7, 7)) << "constant alpha only";
  EXPECT_EQ(kBlack, dst.Pixel(5, 2)) << "outside both rectangles";
}

TEST_F(MRenderTest, SolidFillsAndTranslucentColour) {
  DibSurface surface(20, 20, kBlack);
  HDC dc = surface.dc();
  MRender::FillSolidRect(dc, 0, 0, 10, 10, RGB(0, 0, 255));
  EXPECT_EQ(0xFFu, surface.Pixel(5, 5));
  EXPECT_EQ(RGB(0, 0, 255), GetBkColor(dc)) << "the DC keeps the fill colour";
  MRender::DrawColor(dc, RECT{10, 10, 20, 20}, 0x00FFFFFF);
  EXPECT_EQ(kBlack, surface.Pixel(15, 15)) << "alpha 0 draws nothing";
  MRender::DrawColor(dc, RECT{10, 10, 20, 20}, 0x80FFFFFF);
  EXPECT_NEAR(128, surface.Red(15, 15), 2);
}

TEST_F(MRenderTest, TextIsDrawnTransparentlyAndTheDcRestored) {
  DibSurface surface(200, 40, kBlack);
  HDC dc = surface.dc();
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(0, 255, 0));
  SetBkMode(dc, OPAQUE);
  CRect rect(0, 0, 200, 40);
  MRender::DrawTextW(dc, rect, nullptr, RGB(255, 255, 255), nullptr, 0);
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
  HFONT font = CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma");
  HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  MRender::DrawTextW(dc, rect, L"WWWW", RGB(255, 255, 255), font, DT_LEFT | DT_TOP | DT_SINGLELINE);
  EXPECT_GT(surface.Count(0, 0, 200, 40, kWhite), 20) << "the text is drawn in its colour";
  EXPECT_EQ(0, surface.Count(0, 0, 200, 40, 0x00FF00)) << "no opaque background";
  EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
  EXPECT_EQ(before, GetCurrentObject(dc, OBJ_FONT));
  DeleteObject(font);
}

TEST_F(MRenderTest, TextBoundsGrowWithTheTextAndWrapAtTheWidth) {
  // Any installed family serves; Wine offers the host's fonts under their own names.
  std::unique_ptr<Gdiplus::FontFamily> family;
  for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
    family = std::make_unique<Gdiplus::FontFamily>(name);
    if (family->IsAvailable()) break;
  }
  ASSERT_TRUE(family->IsAvailable()) << "no usable font family installed";
  Gdiplus::Font font(family.get(), 16, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
  ASSERT_EQ(Gdiplus::Ok, font.GetLastStatus());
  const Gdiplus::Size one = MRender::GetTextBounds(font, L"abc");
  const Gdiplus::Size two = MRender::GetTextBounds(font, L"abc abc");
  EXPECT_GT(one.Width, 10);
  EXPECT_GT(two.Width, one.Width);
  EXPECT_EQ(render::LineTextHeight(font.GetHeight(0.0f)), one.Height);
  Gdiplus::StringFormat format;
  const Gdiplus::Size wrapped = MRender::GetTextBounds(font, format, 40, L"abc abc abc abc");
  EXPECT_LE(wrapped.Width, 40);
  // Wine's GDI+ lays every line of a path string on the first line, so the height of
  // wrapped text is not measurable here; the width shows that the text wrapped.
  EXPECT_GE(wrapped.Height, render::WrappedTextHeight(font.GetHeight(0.0f), 0.0f));
}

TEST_F(MRenderTest, SavesASmallBitmapAsA24BitFileAndLoadsItBack) {
  HDC screen = GetDC(nullptr);
  ASSERT_GT(GetDeviceCaps(screen, BITSPIXEL), 8) << "the display runs at true colour";
  ReleaseDC(nullptr, screen);
  DibSurface bitmapSource(3, 2, 0x123456);
  TempFile file(L"mrender_save.bmp");
  // The bitmap must not be selected into a DC for GetDIBits.
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(CopyImage(bitmapSource.bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(1, MRender::SaveBitmapToFile(bitmap, file.path()));
  DeleteObject(bitmap);
  const std::vector<BYTE> bytes = file.Read();
  ASSERT_EQ(78u, bytes.size());
  const auto* header = reinterpret_cast<const BITMAPFILEHEADER*>(bytes.data());
  const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + sizeof(BITMAPFILEHEADER));
  EXPECT_EQ(0x4D42, header->bfType);
  EXPECT_EQ(78u, header->bfSize);
  EXPECT_EQ(54u, header->bfOffBits);
  EXPECT_EQ(3, info->biWidth);
  EXPECT_EQ(2, info->biHeight);
  EXPECT_EQ(24, info->biBitCount);
  EXPECT_EQ(0x56, bytes[54]) << "blue of the first pixel";
  EXPECT_EQ(0x12, bytes[56]) << "red of the first pixel";

  std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromFile(file.path()));
  ASSERT_TRUE(image);
  EXPECT_EQ(3u, image->GetWidth());
  std::unique_ptr<Gdiplus::Image> same(MRender::LoadImageFromFileEx(file.path(), 0, 0));
  ASSERT_TRUE(same);
  EXPECT_EQ(2u, same->GetHeight());
  std::unique_ptr<Gdiplus::Image> scaled(MRender::LoadImageFromFileEx(file.path(), 6, 4));
  ASSERT_TRUE(scaled);
  EXPECT_EQ(6u, scaled->GetWidth());
  EXPECT_EQ(4u, scaled->GetHeight());
}

TEST_F(MRenderTest, SavingToAnUnwritablePathFailsCleanly) {
  DibSurface surface(3, 2);
  EXPECT_EQ(0, MRender::SaveBitmapToFile(surface.bitmap(), L"no_such_folder\\sub\\x.bmp"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"no_such_folder"));
}

TEST_F(MRenderTest, BadImageFilesAndResourcesGiveNoImage) {
  TempFile empty(L"mrender_empty.png"), noise(L"mrender_noise.png");
  empty.Write({});
  std::vector<BYTE> bytes(4096);
  std::srand(7);
  for (BYTE& b : bytes) b = static_cast<BYTE>(std::rand());
  noise.Write(bytes);
  for (const CString& path : {CString(L"mrender_missing.png"), empty.path(), noise.path()}) {
    EXPECT_EQ(nullptr, MRender::LoadImageFromFile(path)) << static_cast<const wchar_t*>(path);
    EXPECT_EQ(nullptr, MRender::LoadImageFromFileEx(path, 10, 10)) << static_cast<const wchar_t*>(path);
  }
  EXPECT_EQ(nullptr, MRender::LoadImageFromIDResource(4711, L"PNG", GetLibraryModule()));
  // The library's version resource is data but no image: an image that reports it.
  std::unique_ptr<Gdiplus::Image> notImage(MRender::LoadImageFromIDResource(1, L"#16", GetLibraryModule()));
  ASSERT_TRUE(notImage);
  EXPECT_NE(Gdiplus::Ok, notImage->GetLastStatus());
}

}  // namespace
