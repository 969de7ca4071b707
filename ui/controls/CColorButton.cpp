#include "ui/controls/CColorButton.h"

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ButtonGroup.h"
#include "ui/controls/ButtonInput.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr Gdiplus::ARGB kBorderOuter = 0xFFEBEBEB;
constexpr Gdiplus::ARGB kBorderInner = 0xFF050505;
// The ring around a plain swatch: normal, hover, down, disabled.
constexpr Gdiplus::ARGB kRing[kCells] = {0xFFB4B4B4, 0xFF333333, 0xFF333333, 0xFF808080};
constexpr float kRingWidth = 2.0f;

Gdiplus::Color Opaque(COLORREF colour) {
  return Gdiplus::Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

void FillEllipse(Gdiplus::Graphics& g, Gdiplus::Color colour, int x, int y, int w, int h) {
  Gdiplus::SolidBrush brush(colour);
  g.FillEllipse(&brush, x, y, w, h);
}

}  // namespace

CColorButton::CColorButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nCheck(0),
      m_color(0x00FFFFFF),
      m_bBorder(false) {}

const wchar_t* CColorButton::GetClassNameW() const { return L"ColorButton"; }

void CColorButton::SetColor(COLORREF colour) {
  if (colour == m_color) return;
  m_color = colour;
  UpdateControl(1, 0);
}

int CColorButton::ResetGroupCheck() { return ButtonGroup::Reset(*this, true); }

void CColorButton::ClearByGroup() {
  m_nCheck = 0;
  m_nState = BUTTON_NORMAL;
  UpdateControl(0, 0);
}

int CColorButton::SetCheck(int check) {
  if (!m_bEnabled) return m_nCheck;
  const bool changed = check != m_nCheck;
  m_nCheck = check;
  m_nState = check ? BUTTON_DOWN : BUTTON_NORMAL;
  if (changed) {
    ResetGroupCheck();
    UpdateControl(0, 0);
  }
  return m_nCheck;
}

void CColorButton::SetControlCheck(int check) {
  m_nCheck = check;
  m_nState = check ? BUTTON_DOWN : BUTTON_NORMAL;
  UpdateControl(0, 0);
}

void CColorButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int CColorButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Hand);
}

int CColorButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  ButtonInput::SetCursorFor(true);
  m_nCheck = 1;
  ResetGroupCheck();
  const int changed = ButtonInput::Change(*this, m_nState, BUTTON_DOWN);
  SendMessageW(NOTIFY_PRESSED, 0, 0);
  return changed;
}

int CColorButton::OnControlLButtonUp(UINT, CPoint pt) { return ButtonInput::Click(*this, m_nState, pt); }

void CColorButton::DrawSwatch(Gdiplus::Graphics& g, int k) {
  const int w = m_rect.Width(), h = m_rect.Height(), x0 = k * w;
  if (m_bBorder) {
    FillEllipse(g, Gdiplus::Color(kBorderOuter), x0, 0, w, h);
    FillEllipse(g, Gdiplus::Color(kBorderInner), x0 + 1, 1, w - 2, h - 2);
    FillEllipse(g, Opaque(m_color), x0 + 3, 3, w - 6, h - 6);
    return;
  }
  if (m_pImage) {
    const int frame = std::min(k, m_nFrameCount - 1);
    g.DrawImage(m_pImage, Gdiplus::Rect(x0, 0, w, h), frame * m_nFrameWidth, 0, m_nFrameWidth, m_nFrameHeight,
                Gdiplus::UnitPixel);
  } else {
    FillEllipse(g, Opaque(m_color), x0 + 1, 1, w - 2, h - 2);
  }
  Gdiplus::Pen ring(Gdiplus::Color(kRing[k]), kRingWidth);
  g.DrawEllipse(&ring, x0 + 1, 1, w - 2, h - 2);
}

void CColorButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    for (int k = 0; k < kCells; ++k) DrawSwatch(g, k);
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, GetCell(), kCells);
}

}  // namespace TESK
