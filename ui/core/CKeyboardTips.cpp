#include "ui/core/CKeyboardTips.h"

#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/core/NativeEdit.h"

namespace TESK {

namespace {

constexpr int kStickyMode = 5;
constexpr int kKeyTipType = 5;
constexpr int kKeyTipMode = 4;
constexpr int kWidth = 190;
constexpr int kHeight = 100;
constexpr COLORREF kFrameColour = RGB(0x50, 0x50, 0x50);
constexpr COLORREF kInsideColour = RGB(0x14, 0x14, 0x14);
constexpr UINT kLineFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS;

// A null line compares and stores as an empty one.
const wchar_t* Line(const wchar_t* text) { return text ? text : L""; }

}  // namespace

CKeyboardTips::CKeyboardTips()
    : MTipWindow(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter),
      m_anchor{0, 0},
      m_type(1),
      m_mode(3),
      m_pFontFamily(nullptr) {}

CKeyboardTips::~CKeyboardTips() { delete m_pFontFamily; }

int CKeyboardTips::OnInitDialog() {
  LoadTempFont();
  return 1;
}

int CKeyboardTips::OnKillFocus(MWindow*) { return HideOnFocusLoss(m_mode == kStickyMode); }

int CKeyboardTips::SetAirBladderMsg(const wchar_t* title, const wchar_t* text, const wchar_t* value, POINT anchor) {
  if (RefusesMessage(m_title, title, text)) return 0;
  if (m_title == title && m_text == text && m_value == Line(value) && m_anchor.x == anchor.x && m_anchor.y == anchor.y) {
    return 1;
  }
  m_title = title;
  m_text = Line(text);
  m_value = Line(value);
  m_anchor = anchor;
  m_type = kKeyTipType;
  m_mode = kKeyTipMode;
  AutoFit();
  return 1;
}

bool CKeyboardTips::RefusesMessage(const CString& currentTitle, const wchar_t* title, const wchar_t* text) {
  return !title || (currentTitle == title && !text);
}

void CKeyboardTips::AutoFit() {
  if (m_title.IsEmpty() || !IsLive()) return;
  MoveWindow(m_anchor.x - kWidth / 2, m_anchor.y - kHeight, kWidth, kHeight, TRUE);
  OnPaint();
}

HFONT CKeyboardTips::GetGDIFont11() {
  if (!m_smallFont) m_smallFont.reset(CreateStyledFont(Manager::GetFontName(), -14, 0));
  return m_smallFont.get();
}

HFONT CKeyboardTips::GetGDIFont2() {
  if (!m_largeFont) m_largeFont.reset(CreateStyledFont(Manager::GetFontName(), -18, 0));
  return m_largeFont.get();
}

void CKeyboardTips::ComposeTip(HDC dc, int w, int h) {
  // The inner rectangle ends at w - 2 and h - 2: the frame is one pixel wide at the left
  // and top, two at the right and bottom.
  MRender::FillSolidRect(dc, 0, 0, w, h, kFrameColour);
  const RECT inside = {1, 1, w - 2, h - 2};
  MRender::FillSolidRect(dc, &inside, kInsideColour);
  if (m_title.IsEmpty()) return;
  struct LineSpec {
    const CString& text;
    CRect rect;
    COLORREF colour;
    HFONT font;
  } lines[] = {
      {m_title, CRect(10, 10, w - 20, 23), RGB(0xE6, 0xE6, 0xE6), GetGDIFont11()},
      {m_text, CRect(10, 39, w - 20, 59), RGB(0xFF, 0xFF, 0xFF), GetGDIFont11()},
      {m_value, CRect(10, 67, w - 20, 87), RGB(0xFF, 0xFF, 0xFF), GetGDIFont2()},
  };
  for (LineSpec& line : lines) MRender::DrawTextW(dc, line.rect, line.text, line.colour, line.font, kLineFormat);
}

// The key tip is opaque: its picture is copied onto the window.
int CKeyboardTips::OnPaint() {
  PaintClient([this](HDC dc, int w, int h) { ComposeTip(dc, w, h); }, false);
  return 1;
}

void CKeyboardTips::LoadTempFont() {
  if (!m_pFontFamily) m_pFontFamily = NewEmbeddedFontFamily();
}

}  // namespace TESK
