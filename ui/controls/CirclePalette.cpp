#include "ui/controls/CirclePalette.h"

#include <cmath>
#include <cstdlib>

#include "ui/controls/PictureShow.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kPickRadius = 90;
constexpr int kDragStep = 5;
constexpr int kThumbHalf = 5;
constexpr int kRing = 8;
constexpr Gdiplus::ARGB kRingOuter = 0xFEFFFFFF;
constexpr Gdiplus::ARGB kRingInner = 0xFE808080;

// The window's pixel under the cursor; CLR_INVALID when there is none to read.
COLORREF PixelUnderCursor(HWND window) {
  POINT cursor{};
  if (!window || !GetCursorPos(&cursor)) return CLR_INVALID;
  ScreenToClient(window, &cursor);
  HDC dc = GetDC(window);
  if (!dc) return CLR_INVALID;
  const COLORREF colour = GetPixel(dc, cursor.x, cursor.y);
  ReleaseDC(window, dc);
  return colour;
}

}  // namespace

CirclePalette::CirclePalette(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_nState(0), m_selectColor(0x0000FF) {}

int CirclePalette::SetImage(UINT id, CString type, int frames) { return LoadImageQuietly(id, type, frames); }

int CirclePalette::SetImage(const wchar_t* file, int frames) { return LoadImageQuietly(file, frames); }

int CirclePalette::GetDistanse(CPoint pt) const {
  const CPoint centre(m_rect.left + (m_rect.right - m_rect.left) / 2, m_rect.top + (m_rect.bottom - m_rect.top) / 2);
  const float dx = static_cast<float>(centre.x - pt.x);
  const float dy = static_cast<float>(centre.y - pt.y);
  const float squared = dx * dx + dy * dy;
  return static_cast<int>(static_cast<float>(std::sqrt(static_cast<double>(squared))));
}

// A pixel that cannot be read (the cursor off the window) is no colour: nothing changes.
int CirclePalette::MoveThumbPos(CPoint pt) {
  if (GetDistanse(pt) > kPickRadius) return 0;
  const CRect thumb(pt.x - kThumbHalf, pt.y - kThumbHalf, pt.x + kThumbHalf, pt.y + kThumbHalf);
  if (thumb == m_rcThumb) {
    m_lastPoint = pt;
    return 0;
  }
  const COLORREF colour = PixelUnderCursor(m_pManager ? m_pManager->GetPaintWnd() : nullptr);
  if (colour == CLR_INVALID) return 0;
  m_lastPoint = pt;
  m_rcThumb = thumb;
  m_selectColor = colour;
  UpdateControl(1, 0);
  SendMessageW(NOTIFY_COLORCHANGED, 0, colour);
  return 0;
}

int CirclePalette::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  m_nState = 2;
  MoveThumbPos(pt);
  return 1;
}

int CirclePalette::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_nState == 2) {
    if (std::abs(pt.x - m_lastPoint.x) > kDragStep || std::abs(pt.y - m_lastPoint.y) > kDragStep) MoveThumbPos(pt);
    return 1;
  }
  m_nState = m_rect.PtInRect(pt) && m_rcThumb.PtInRect(pt) ? 1 : 0;
  return 0;
}

int CirclePalette::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  m_nState = m_rcThumb.PtInRect(pt) ? 1 : 0;
  SendMessageW(NOTIFY_CLICKED, 0, m_selectColor);
  return 1;
}

void CirclePalette::SetControlRect(CRect rect) {
  if (rect == m_rect) return;
  m_rect = rect;
  m_rcThumb = CRect(rect.left + 100, rect.top + 30, rect.left + 110, rect.top + 40);
  UpdateControl(1, 0);
}

void CirclePalette::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    if (m_pImage) {
      g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, w, h), 0, 0, m_nFrameWidth, m_nFrameHeight, Gdiplus::UnitPixel);
    }
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    const int x = m_rcThumb.left - m_rect.left, y = m_rcThumb.top - m_rect.top;
    Gdiplus::Pen pen{Gdiplus::Color(kRingOuter), 1.0f};
    g.DrawEllipse(&pen, x, y, kRing, kRing);
    pen.SetColor(Gdiplus::Color(kRingInner));
    g.DrawEllipse(&pen, x + 1, y + 1, kRing, kRing);
  }
  ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
