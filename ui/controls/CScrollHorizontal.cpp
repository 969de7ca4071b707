#include "ui/controls/CScrollHorizontal.h"

#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

CScrollHorizontal::CScrollHorizontal(MObject* owner, UINT id, CRect rect, int visible)
    : MScroll(owner, id, rect, visible), m_nDragAnchor(-1) {
  SetRange();
}

void CScrollHorizontal::InitControl(PaintManager* manager) {
  MScroll::InitControl(manager);
  m_pManager = manager;
  if (!manager) return;
  if (manager->GetScrollHID()) {
    SetImage(manager->GetScrollHID(), L"PNG", 4);
  } else {
    SetImage(L"img_scroll_h.png", 1);
  }
}

// A line across the middle, then the thumb from the strip row of its state: the row's left
// and right 6 pixels unscaled, its middle stretched over the rest of the thumb.
void CScrollHorizontal::DrawControl(HDC& dc, CRect) {
  DrawCached(dc, [](MScroll& bar, HDC cache) { static_cast<CScrollHorizontal&>(bar).DrawStrip(cache); });
}

void CScrollHorizontal::DrawStrip(HDC cache) {
  Gdiplus::Graphics g(cache);
  const int cy = m_rect.Height();
  Gdiplus::Pen line(Gdiplus::Color(0xC8141414), 1.0f);
  g.DrawLine(&line, 0, cy / 2, m_rect.Width(), cy / 2);
  if (!m_pImage || m_nFrameHeight <= 0) return;
  CRect thumb(m_rcThumb);
  thumb.OffsetRect(-m_rect.left, -m_rect.top);
  const int row = m_nThumbState + 1;
  MRender::DrawImageFrameMID(g, m_pImage, thumb, 0, row * m_nFrameHeight, m_nFrameWidth, m_nFrameHeight, 6, 0, 6,
                             0);
}

int CScrollHorizontal::OnControlMouseMove(UINT, CPoint pt) { return MouseMove(false, pt, m_nDragAnchor); }

int CScrollHorizontal::OnControlLButtonDown(UINT, CPoint pt) { return LButtonDown(false, pt, m_nDragAnchor); }

int CScrollHorizontal::OnControlLButtonUp(UINT, CPoint pt) { return LButtonUp(pt, m_nDragAnchor); }

// Four rows (track, normal, hover, dragged); a resource row spans the whole width, a file
// holds three columns.
int CScrollHorizontal::SetImage(UINT id, CString type, int frames) {
  ImgResInfo* info = LoadStrip(id, type, frames);
  if (!info) return 0;
  m_nFrameWidth = static_cast<int>(info->image->GetWidth());
  m_nFrameHeight = static_cast<int>(info->image->GetHeight() / 4);
  return 1;
}

int CScrollHorizontal::SetImage(const wchar_t* file, int frames) {
  ImgResInfo* info = LoadStrip(file, frames);
  if (!info) return 0;
  m_nFrameWidth = static_cast<int>(info->image->GetWidth() / 3);
  m_nFrameHeight = static_cast<int>(info->image->GetHeight() / 4);
  return 1;
}

int CScrollHorizontal::MoveRange(int delta) { return MoveThumb(false, delta); }

// A thumb placed past the end stays where it is.
int CScrollHorizontal::SetRange() {
  ChoosePage(false);
  PlaceThumb(false, m_nRange > 0 ? static_cast<double>(m_nPos) / m_nRange : 0.0);
  return m_nPos;
}

}  // namespace TESK
