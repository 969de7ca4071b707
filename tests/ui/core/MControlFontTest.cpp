#include "ui/core/MControlFont.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

#include <gtest/gtest.h>

#include <memory>

#include "BitmapProbe.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"

using namespace TESK;
using testsupport::RecordingOwner;

namespace {

class TitleControl : public MControlFont {
public:
  TitleControl(MObject* owner, UINT id, int visible = 1)
      : MControlFont(owner, id, CRect(10, 10, 110, 40), L"title", visible, 1, 1) {}
  void DrawControl(HDC&, CRect) override {}
  Gdiplus::ARGB TextColor() const { return m_textColor; }
  int FrameCount() const { return m_nFrameCount; }
  Gdiplus::Image* Image() const { return m_pImage; }
};

class MControlFontTest : public ::testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  RecordingOwner owner;
};

TEST_F(MControlFontTest, NewControlsTakeTheDefaultsOfTheirTime) {
  TitleControl before(&owner, 1);
  UINT h = 9, v = 9;
  before.GetAlignment(h, v);
  EXPECT_EQ(0u, h);
  EXPECT_EQ(4u, v);
  EXPECT_EQ(0xFF3F4440u, before.TextColor());
  EXPECT_STREQ(L"SourceHanSansCN-Regular", before.GetTextFont());
  EXPECT_EQ(14, before.GetFontWidth());
  EXPECT_EQ(4, before.FrameCount());
  EXPECT_EQ(nullptr, before.Image());
  EXPECT_STREQ(L"title", before.GetTitle());

  Manager::SetFont(L"Arial", 12);
  TitleControl after(&owner, 2);
  Manager::SetFont(L"SourceHanSansCN-Regular", 14);
  EXPECT_STREQ(L"Arial", after.GetTextFont());
  EXPECT_EQ(12, after.GetFontWidth());
  EXPECT_STREQ(L"SourceHanSansCN-Regular", before.GetTextFont()) << "an earlier control keeps its font";
}

TEST_F(MControlFontTest, AlignmentAndTitleRepaintOnlyWhenChangedAndVisible) {
  TitleControl visible(&owner, 1);
  TitleControl hidden(&owner, 2, 0);
  const struct {
    const char* step;
    std::function<void()> action;
    size_t repaints;  // total so far
  } steps[] = {
      {"alignment 1", [&] { visible.SetAlignment(1); }, 1},
      {"alignment 1 again", [&] { visible.SetAlignment(1); }, 1},
      {"alignment (1, 4) unchanged", [&] { visible.SetAlignment(1, 4); }, 1},
      {"vertical alignment 8", [&] { visible.SetVAlignment(8); }, 2},
      {"title", [&] { visible.SetTitle(L"new"); }, 3},
      {"title of a hidden control", [&] { hidden.SetTitle(L"stored"); }, 3},
      {"alignment of a hidden control", [&] { hidden.SetAlignment(2); }, 3},
      {"font, size, colour", [&] {
         visible.SetFont(L"X", 20, Gdiplus::FontStyleBold);
         visible.SetTextColor(Gdiplus::Color(0xFF112233));
       }, 3},
  };
  for (const auto& s : steps) {
    s.action();
    EXPECT_EQ(s.repaints, owner.updates.size()) << s.step;
  }
  for (const auto& update : owner.updates) {
    EXPECT_EQ(1, update.redraw);
    EXPECT_EQ(CRect(10, 10, 110, 40), update.rect);
  }
  EXPECT_STREQ(L"stored", hidden.GetTitle());
  EXPECT_EQ(0xFF112233u, visible.TextColor());
}

TEST_F(MControlFontTest, GdiFontFollowsTheStyleBitsAndTheLibraryFace) {
  LOGFONTW base = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
  const struct {
    int style;
    LONG weight;
    BYTE italic, underline;
  } cases[] = {
      {0, base.lfWeight, 0, 0},
      {1, base.lfWeight + 700, 0, 0},
      {2, base.lfWeight, 1, 0},
      {5, base.lfWeight + 700, 0, 1},
      {8, base.lfWeight, 0, 0},  // strikeout: no effect
  };
  for (const auto& c : cases) {
    TitleControl control(&owner, 1);
    control.SetFont(L"ignored for GDI", 18, static_cast<Gdiplus::FontStyle>(c.style));
    LOGFONTW font = {};
    ASSERT_EQ(static_cast<int>(sizeof(font)), GetObjectW(control.GetGDIFont(), sizeof(font), &font));
    EXPECT_EQ(c.weight, font.lfWeight) << "style " << c.style;
    EXPECT_EQ(c.italic, font.lfItalic) << "style " << c.style;
    EXPECT_EQ(c.underline, font.lfUnderline) << "style " << c.style;
    EXPECT_FALSE(font.lfStrikeOut);
    EXPECT_EQ(-18, font.lfHeight);
    EXPECT_STREQ(L"SourceHanSansCN-Regular", font.lfFaceName);
  }

  TitleControl control(&owner, 1);
  HFONT first = control.GetGDIFont();
  control.SetFont(L"x", 30, Gdiplus::FontStyleRegular);
  EXPECT_EQ(first, control.GetGDIFont()) << "kept until cleared";
  control.ClearGDIFont();
  LOGFONTW font = {};
  GetObjectW(control.GetGDIFont(), sizeof(font), &font);
  EXPECT_EQ(-30, font.lfHeight);

  const wchar_t* longName = L"AVeryLongFontFamilyNameOfFortyCharacters";
  Manager::SetFontName(longName);
  TitleControl longFace(&owner, 2);
  GetObjectW(longFace.GetGDIFont(), sizeof(font), &font);
  Manager::SetFontName(L"SourceHanSansCN-Regular");
  EXPECT_EQ(CString(longName).Left(31), CString(font.lfFaceName)) << "cut to 31 with its terminator";
}

TEST_F(MControlFontTest, ImageStripsComeFromTheWindowsCacheWithEachControlsFrameCount) {
  ASSERT_TRUE(testsupport::WriteSkin(L"mcf_button.png", 400, 30, 0xFF808080));
  testsupport::PaintHost host;
  ASSERT_NE(nullptr, host.Create(nullptr, L"strips", WS_POPUP, 0, CRect(0, 0, 50, 50)));
  auto* first = new TitleControl(&host, 1);
  auto* second = new TitleControl(&host, 2);
  host.engine.AttachControl(1, first);
  host.engine.AttachControl(1, second);

  ASSERT_EQ(1, first->SetImage(L"mcf_button.png", 4));
  EXPECT_EQ(CSize(100, 30), first->GetImageSize());
  EXPECT_EQ(4, first->FrameCount());
  ASSERT_EQ(1, second->SetImage(L"mcf_button.png", 1));
  EXPECT_EQ(CSize(100, 30), second->GetImageSize()) << "the cache entry of the first request";
  EXPECT_EQ(1, second->FrameCount());
  EXPECT_EQ(first->Image(), second->Image()) << "one image shared";

  Gdiplus::Image* kept = first->Image();
  EXPECT_EQ(0, first->SetImage(L"mcf_missing.png", 2)) << "missing file";
  EXPECT_EQ(0, first->SetImage(L"mcf_button.png", 0)) << "no frames";
  EXPECT_EQ(0, first->SetImage(4711, L"PNG", 1)) << "missing resource";
  EXPECT_EQ(kept, first->Image());
  EXPECT_EQ(4, first->FrameCount());

  TitleControl orphan(&owner, 3);
  EXPECT_EQ(0, orphan.SetImage(L"mcf_button.png", 4)) << "no manager";
  EXPECT_EQ(nullptr, orphan.GetFontFamily(L"DejaVu Sans")) << "no manager";
  Gdiplus::FontFamily* family = first->GetFontFamily(L"DejaVu Sans");
  ASSERT_NE(nullptr, family);
  EXPECT_NE(host.engine.FindTempFont(L"DejaVu Sans"), family) << "the control keeps its own copy";
  EXPECT_EQ(nullptr, first->GetFontFamily(L"No Such Face 123"));
  host.DestroyWindow();
}

}  // namespace
