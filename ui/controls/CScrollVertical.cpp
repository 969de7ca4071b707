#include "ui/controls/CScrollVertical.h"

#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

CScrollVertical::CScrollVertical(MObject* owner, UINT id, CRect rect, int visible)
    : MScroll(owner, id, rect, visible), m_nDragAnchor(-1) {
  SetRange();
}

void CScrollVertical::InitControl(PaintManager* manager) {
  MScroll::InitControl(manager);
  m_pManager = manager;
  if (!manager) return;
  if (manager->GetScrollVID()) {
    SetImage(manager->GetScrollVID(), L"PNG", 4);
  } else {
    SetImage(L"img_scroll_v.png", 1);
  }
}

// The track over the full height, the thumb on it; the dragged thumb is lighter.
void CScrollVertical::DrawControl(HDC& dc, CRect) {
  DrawCached(dc, [](MScroll& bar, HDC cache) { static_cast<CScrollVertical&>(bar).DrawFlat(cache); });
}

void CScrollVertical::DrawFlat(HDC cache) {
  CRect thumb(m_rcThumb);
  thumb.OffsetRect(-m_rect.left, -m_rect.top);
  MRender::DrawColor(cache, CRect(thumb.left, 0, thumb.right, m_rect.Height()), 0xFF687389);
  MRender::DrawColor(cache, thumb, m_nThumbState == 2 ? 0xFF9FABFF : 0xFF596EFF);
}

int CScrollVertical::OnControlMouseMove(UINT, CPoint pt) { return MouseMove(true, pt, m_nDragAnchor); }

int CScrollVertical::OnControlLButtonDown(UINT, CPoint pt) { return LButtonDown(true, pt, m_nDragAnchor); }

int CScrollVertical::OnControlLButtonUp(UINT, CPoint pt) { return LButtonUp(pt, m_nDragAnchor); }

// Three columns (normal, hover, dragged) of the full height, for files and resources alike.
int CScrollVertical::SetImage(UINT id, CString type, int frames) {
  ImgResInfo* info = LoadStrip(id, type, frames);
  if (!info) return 0;
  m_nFrameWidth = static_cast<int>(info->image->GetWidth() / 3);
  m_nFrameHeight = static_cast<int>(info->image->GetHeight());
  return 1;
}

int CScrollVertical::SetImage(const wchar_t* file, int frames) {
  ImgResInfo* info = LoadStrip(file, frames);
  if (!info) return 0;
  m_nFrameWidth = static_cast<int>(info->image->GetWidth() / 3);
  m_nFrameHeight = static_cast<int>(info->image->GetHeight());
  return 1;
}

int CScrollVertical::MoveRange(int delta) { return MoveThumb(true, delta); }

int CScrollVertical::SetRange() {
  ChoosePage(true);
  PlaceThumb(true, m_nRange > 0 ? static_cast<double>(m_nPos) / m_nRange : 0.0);
  PullBackThumb();
  return m_nPos;
}

// The position counts against the scrollable extent: the content minus the visible height.
int CScrollVertical::SetRangeEx() {
  ChoosePage(true);
  const int extent = m_nRange - m_rect.Height();
  PlaceThumb(true, extent > 0 ? static_cast<double>(m_nPos) / extent : 0.0);
  PullBackThumb();
  return m_nPos;
}

void CScrollVertical::PullBackThumb() {
  if (m_rcThumb.bottom <= m_rect.bottom) return;
  OffsetRect(&m_rcThumb, 0, m_rect.bottom - m_rcThumb.bottom);
  m_nPos = PositionAt(m_rcThumb.top - m_rect.top - m_nEndMargin, true);
}

}  // namespace TESK
