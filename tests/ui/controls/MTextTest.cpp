// The static text: the marked substring, shadow, icon, wrapping and background as composed
// by a window, the setters' refusals and repaints, and how input passes through it.
#include "ui/controls/MText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/MRender.h"
#include "ui/controls/MScroll.h"

using namespace TESK;
using testsupport::ControlHost;
using testsupport::DibSurface;

namespace {

constexpr UINT kId = 40;
constexpr Gdiplus::ARGB kBlueText = 0xFF0000FF;
constexpr Gdiplus::ARGB kRedMark = 0xFFFF0000;
const wchar_t kFace[] = L"DejaVu Sans";
constexpr int kSize = 20;
// "ledger" + "HIKE" at index 6 + "lint": every piece begins and ends with an upright stroke.
const wchar_t kText[] = L"ledgerHIKElint";
const wchar_t kMark[] = L"HIKE";

// Ink by colour family on the host's black ground (anti-aliased edges included).
bool BlueInk(DWORD p) { return (p & 0xFF) > 60 && (p & 0xFF) > ((p >> 16) & 0xFF) + 40; }
bool RedInk(DWORD p) { return ((p >> 16) & 0xFF) > 60 && ((p >> 16) & 0xFF) > (p & 0xFF) + 40; }
bool GreyInk(DWORD p) {
  const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  return r > 30 && std::abs(r - g) < 8 && std::abs(g - b) < 8;
}

class MTextTest : public testing::Test {
protected:
  void SetUp() override { host.GetPaintManager()->SetBackColor(0x000000, 0x000000); }

  MText* AddText(const wchar_t* text, CRect rect) {
    MText* t = host.Add<MText>(L"MText", kId, rect, text);
    if (!t) return nullptr;
    t->SetFont(kFace, kSize, Gdiplus::FontStyleRegular);
    t->SetTextColor(Gdiplus::Color(kBlueText));
    return t;
  }

  // The width MText gives a piece: measured in its face and size on one line.
  static int Measured(const wchar_t* piece) {
    Gdiplus::FontFamily family(kFace);
    Gdiplus::Font font(&family, static_cast<Gdiplus::REAL>(kSize), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    return MRender::GetTextBounds(font, format, piece).Width;
  }

  RECT Ink(bool (*family)(DWORD), CRect area) {
    DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    return surface.InkBox(area, family);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

const CRect kLine(10, 10, 390, 50);

TEST_F(MTextTest, TheMarkSitsTwoPixelsAfterTheMeasuredPrefixAndTheSuffixTwoAfterIt) {
  MText* text = AddText(kText, kLine);
  ASSERT_NE(nullptr, text);
  text->SetMarkText(kMark, Gdiplus::Color(kRedMark), 0);
  const int x0 = kLine.left;
  const int prefix = Measured(L"ledger"), mark = Measured(kMark);
  const RECT markInk = Ink(RedInk, kLine);
  const RECT prefixInk = Ink(BlueInk, CRect(kLine.left, kLine.top, markInk.left, kLine.bottom));
  const RECT suffixInk = Ink(BlueInk, CRect(markInk.right, kLine.top, kLine.right, kLine.bottom));
  // Ink begins a few pixels after the point a piece is drawn from (the layout's leading
  // space and the glyph's side bearing), the same few for each piece: all begin upright.
  const int lead = prefixInk.left - x0;
  EXPECT_GE(lead, 0);
  EXPECT_LE(lead, 6);
  EXPECT_NEAR(x0 + prefix + 2 + lead, markInk.left, 1);
  EXPECT_NEAR(x0 + prefix + 2 + mark + 2 + lead, suffixInk.left, 1);
  EXPECT_LT(prefixInk.right, markInk.left + 1) << "the prefix ends before the mark begins";
  EXPECT_GT(markInk.bottom, kLine.top + 25) << "the marked line lies where the unmarked one does, not above";
}

TEST_F(MTextTest, AStartThatDoesNotReachTheMarkDrawsNoMarkColour) {
  const struct {
    int start;
    const char* why;
  } cases[] = {{7, "the only occurrence is before the start"},
               {-1, "a negative start"},
               {15, "a start beyond the text"},
               {6, "control: the occurrence at the start is marked"}};
  MText* text = AddText(kText, kLine);
  ASSERT_NE(nullptr, text);
  for (const auto& c : cases) {
    text->SetMarkText(kMark, Gdiplus::Color(kRedMark), c.start);
    const bool marked = Ink(RedInk, kLine).right > 0;
    EXPECT_EQ(c.start == 6, marked) << c.why;
    EXPECT_GT(Ink(BlueInk, kLine).right, 0) << c.why;
  }
  EXPECT_EQ(-1, MText::MarkPosition(L"abc", L"", 0)) << "an empty mark";
  EXPECT_EQ(-1, MText::MarkPosition(L"abcABC", L"Bc", 0)) << "case matters";
  EXPECT_EQ(3, MText::MarkPosition(L"abcabc", L"abc", 1));
  EXPECT_EQ(-1, MText::MarkPosition(L"abc", L"c", 4));
}

TEST_F(MTextTest, TheShadowLiesOnePixelRightAndDownOfTheText) {
  MText* text = AddText(L"Hill", kLine);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(0, Ink(GreyInk, kLine).right) << "no shadow by default";
  text->EnableShadow(1);
  text->SetTitle(L"Hill");  // the flag waits for the next rendering
  const RECT ink = Ink(BlueInk, kLine), shadow = Ink(GreyInk, kLine);
  EXPECT_EQ(ink.right + 1, shadow.right);
  EXPECT_EQ(ink.bottom + 1, shadow.bottom);
}

TEST_F(MTextTest, AStripPutsItsFirstFrameBeforeTheText) {
  ASSERT_TRUE(testsupport::WriteStrip(L"mtext_icon.png", 16, 16, {0xFF00FF00, 0xFFFFFF00}));
  MText* text = AddText(L"Hill", kLine);
  ASSERT_NE(nullptr, text);
  const int lead = Ink(BlueInk, kLine).left - kLine.left;  // where the text's ink begins without an icon
  ASSERT_EQ(1, text->SetImage(L"mtext_icon.png", 2));
  EXPECT_EQ(0x00FF00u, host.PixelAt(kLine.left + 8, kLine.top + 20)) << "frame 0, centred vertically";
  EXPECT_EQ(0u, host.PixelAt(kLine.left + 8, kLine.top + 10));
  EXPECT_EQ(kLine.left + 16 + 5 + lead, Ink(BlueInk, kLine).left) << "the text starts at frame width + 5";
}

TEST_F(MTextTest, MultiLineWrapsAndVerticalCentringCentresTheBlock) {
  const CRect box(10, 10, 210, 290);
  std::wstring words;
  for (int i = 0; i < 20; ++i) words += L"Illi ";
  MText* text = AddText(words.c_str(), box);
  ASSERT_NE(nullptr, text);
  text->SetVAlignment(0);
  RECT ink = Ink(BlueInk, box);
  const int lineInk = ink.bottom - ink.top;
  EXPECT_LT(lineInk, 2 * kSize) << "one line without the flag";
  text->EnableMultiLine(1);
  text->SetTitle(text->GetTitle());
  ink = Ink(BlueInk, box);
  EXPECT_GT(ink.bottom - ink.top, 3 * lineInk) << "four lines or more";
  EXPECT_LT(ink.top - box.top, 10) << "at the top while the vertical alignment is 0";
  text->EnableVCenter(1);
  text->SetTitle(text->GetTitle());
  ink = Ink(BlueInk, box);
  const int above = ink.top - box.top, below = box.bottom - ink.bottom;
  EXPECT_GT(above, 40);
  EXPECT_NEAR(above, below, 8) << "the block is centred (glyph ink, not line boxes, is compared)";
}

TEST_F(MTextTest, TheTextBackgroundKeepsItsColourWhileTheFlagStaysOn) {
  MText* text = AddText(L"", kLine);
  ASSERT_NE(nullptr, text);
  const CPoint inside(kLine.left + 5, kLine.top + 5);
  const struct {
    int on;
    Gdiplus::ARGB colour;
    DWORD shown;
  } steps[] = {{1, 0xFF00FF00, 0x00FF00}, {1, 0xFFFF00FF, 0x00FF00}, {0, 0xFFFF00FF, 0x000000},
               {1, 0xFFFF00FF, 0xFF00FF}};
  for (const auto& s : steps) {
    host.ClearJournal();
    text->EnableTextBack(s.on, Gdiplus::Color(s.colour));
    EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId)) << "re-rendered in every case";
    EXPECT_EQ(s.shown, host.PixelAt(inside.x, inside.y)) << s.on << " " << std::hex << s.colour;
  }
}

TEST_F(MTextTest, SettersRefuseNullsAndRepaintOnlyForAChange) {
  MText* text = AddText(kText, kLine);
  ASSERT_NE(nullptr, text);
  const Gdiplus::Color red(kRedMark);
  const struct {
    const char* name;
    std::function<void()> call;
    int repaints;
    const wchar_t* title;
  } steps[] = {
      {"null mark", [&] { text->SetMarkText(nullptr); }, 0, kText},
      {"new mark", [&] { text->SetMarkText(kMark); }, 1, kText},
      {"same mark", [&] { text->SetMarkText(kMark); }, 0, kText},
      {"null mark with colour", [&] { text->SetMarkText(nullptr, red, 0); }, 0, kText},
      {"new colour", [&] { text->SetMarkText(kMark, red, 0); }, 1, kText},
      {"same mark, colour and start", [&] { text->SetMarkText(kMark, red, 0); }, 0, kText},
      {"null text", [&] { text->SetMarkText(nullptr, kMark, red, 0); }, 0, kText},
      {"null mark, same text", [&] { text->SetMarkText(kText, nullptr, red, 0); }, 0, kText},
      {"all four unchanged", [&] { text->SetMarkText(kText, kMark, red, 0); }, 0, kText},
      {"title and mark, null text", [&] { text->SetTitleMarkText(nullptr, kMark, 0); }, 0, kText},
      {"title and mark unchanged", [&] { text->SetTitleMarkText(kText, kMark, 9); }, 0, kText},
      {"new title", [&] { text->SetTitleMarkText(L"HIKE on", kMark, 0); }, 1, L"HIKE on"},
      {"flags store only", [&] { text->EnableMultiLine(1), text->EnableShadow(1), text->EnableVCenter(1); }, 0,
       L"HIKE on"},
      {"null mark, new text", [&] { text->SetMarkText(kText, nullptr, red, 0); }, 1, kText},
  };
  for (const auto& s : steps) {
    host.ClearJournal();
    s.call();
    EXPECT_EQ(std::vector<int>(s.repaints, 1), host.Repaints(kId)) << s.name;
    EXPECT_EQ(CString(s.title), text->GetTitle()) << s.name;
  }
  text->EnableMultiLine(0);
  text->EnableShadow(0);
  EXPECT_EQ(0, Ink(RedInk, kLine).right) << "the null mark given with the new text was stored as an empty one";
  EXPECT_EQ(0, text->GetVirtualHeight());
}

TEST_F(MTextTest, AChildWithIdOneReportingAChangeReRendersTheText) {
  MText* text = AddText(kText, kLine);
  ASSERT_NE(nullptr, text);
  const struct {
    UINT id, code;
    int repaints;
  } cases[] = {{1, NOTIFY_CHANGING, 1}, {2, NOTIFY_CHANGING, 0}, {1, NOTIFY_CLICKED, 0}};
  for (const auto& c : cases) {
    host.ClearJournal();
    EXPECT_EQ(0, text->OnBaseMessage(c.id, c.code, 0, 0));
    EXPECT_EQ(std::vector<int>(c.repaints, 1), host.Repaints(kId)) << c.id << "/" << c.code;
    EXPECT_TRUE(host.Notifications().empty()) << "nothing is passed on";
  }
}

TEST_F(MTextTest, BothFactoriesMakeItDisabledWithTitleAndVisibility) {
  MText* shown = host.Add<MText>(L"MText", 41, CRect(0, 0, 50, 20), L"caption", 1, 1);
  MText* hidden = host.Add<MText>(L"MText", 42, CRect(0, 0, 50, 20), L"other", 0, 1);
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 43, CRect(0, 0, 200, 100));
  ASSERT_TRUE(shown && hidden && page);
  auto* onPanel = dynamic_cast<MText*>(page->CreateControl(L"MText", 44, CRect(0, 0, 50, 20), L"paged", 1, 1));
  ASSERT_NE(nullptr, onPanel);
  for (MText* t : {shown, hidden, onPanel}) EXPECT_EQ(0, t->IsEnabled());
  EXPECT_EQ(CString(L"caption"), shown->GetTitle());
  EXPECT_EQ(CString(L"paged"), onPanel->GetTitle());
  EXPECT_EQ(1, shown->IsVisible());
  EXPECT_EQ(0, hidden->IsVisible());
}

TEST_F(MTextTest, WheelOverTheTextScrollsItsPanelAndAClickSendsNothing) {
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 43, CRect(0, 0, 200, 100));
  ASSERT_NE(nullptr, page);
  ASSERT_NE(nullptr, page->CreateControl(L"MText", 44, CRect(10, 10, 180, 300), L"tall", 1, 1));
  page->SetControlRect(page->GetRect());
  auto* bar = dynamic_cast<MScroll*>(page->GetScrollVertical());
  ASSERT_NE(nullptr, bar);
  ASSERT_EQ(0, bar->GetScrollCurrentPos());
  host.MoveTo(CPoint(50, 50));
  host.Wheel(CPoint(50, 50), -WHEEL_DELTA);
  EXPECT_GT(bar->GetScrollCurrentPos(), 0) << "the panel took the notch";
  host.ClearJournal();
  host.Click(CPoint(50, 50));
  EXPECT_TRUE(host.Notifications().empty());
}

}  // namespace
