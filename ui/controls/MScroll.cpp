#include "ui/controls/MScroll.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/core/PaintManager.h"

namespace TESK {

int ScrollThumbLength(int track, int page, int range, int endMargin) {
  const double share = range > 0 ? static_cast<double>(page) / range * track : static_cast<double>(track);
  int g = static_cast<int>(std::trunc(std::max(endMargin / 2.0, share)));
  if (g < 100) g = std::min(track - 50, 100);
  return g;
}

MScroll::MScroll(MObject* owner, UINT id, CRect rect, int visible)
    : MControlFont(owner, id, rect, L"", visible, 1, 1),
      m_nThumbState(0),
      m_bInside(0),
      m_bThumbShown(0),
      m_nEndMargin(0),
      m_nRange(1000),
      m_nPos(0),
      m_nPage(0),
      m_nStep(10),
      m_rcThumb{0, 0, 0, 0},
      m_bAutoPage(0),
      m_bChanging(0) {}

void MScroll::DrawControl(HDC&, CRect) {}

void MScroll::SetControlRect(CRect rect) {
  m_rect = rect;
  SetRange();
}

int MScroll::MoveRange(int) { return 0; }
int MScroll::SetRange() { return 0; }
int MScroll::SetRangeEx() { return 0; }

int MScroll::SetScrollCurrentPos(int pos) {
  m_nPos = pos;
  SetRange();
  return 1;
}

int MScroll::SetScrollCurrentPosEx(int pos) {
  m_nPos = pos;
  SetRangeEx();
  return 1;
}

int MScroll::SetScrollBeginPos() { return SetScrollCurrentPos(0); }

// Measured along the bar's own axis; with end margin 0 this is the range. The thumb stays.
int MScroll::SetScrollFinalPos() {
  const bool vertical = dynamic_cast<CScrollHorizontal*>(this) == nullptr;
  const int track = AxisLength(vertical) - 2 * m_nEndMargin;
  const int g = ScrollThumbLength(track, m_nPage, m_nRange, m_nEndMargin);
  m_nPos = track - g > 0 ? static_cast<int>(static_cast<long long>(AxisLength(vertical) - g) * m_nRange / (track - g))
                         : m_nRange;
  return 1;
}

int MScroll::SetScrollMaxRange(int range) {
  m_nRange = range;
  if (m_bAutoPage) m_nPage = 0;
  SetRange();
  return 1;
}

int MScroll::SetScrollSize(int page, int step) {
  m_nPage = page;
  if (page) m_bAutoPage = 0;
  if (step) m_nStep = step;
  SetRange();
  return 1;
}

int MScroll::SetScrollInfo(int range, int pos, int page, int step) {
  m_nRange = range;
  m_nPos = pos;
  return SetScrollSize(page, step);
}

int MScroll::ScrollRow(int rows) {
  const long long wanted = static_cast<long long>(m_nPos) + static_cast<long long>(rows) * m_nStep;
  const int next = static_cast<int>(std::max<long long>(0, std::min<long long>(wanted, m_nRange)));
  const int old = m_nPos;
  m_nPos = next;
  SetRange();
  return old != m_nPos;
}

int MScroll::AxisLength(bool vertical) const { return vertical ? m_rect.Height() : m_rect.Width(); }
int MScroll::AxisStart(bool vertical) const { return vertical ? m_rect.top : m_rect.left; }
int MScroll::AxisEnd(bool vertical) const { return vertical ? m_rect.bottom : m_rect.right; }
int MScroll::ThumbStart(bool vertical) const { return vertical ? m_rcThumb.top : m_rcThumb.left; }
int MScroll::ThumbEnd(bool vertical) const { return vertical ? m_rcThumb.bottom : m_rcThumb.right; }

void MScroll::ChoosePage(bool vertical) {
  if (m_nPage) return;
  const int length = AxisLength(vertical);
  m_nPage = m_nRange > 10 * length ? m_nRange / 10 : length;
  m_bAutoPage = 1;
}

void MScroll::PlaceThumb(bool vertical, double ratio) {
  const int track = AxisLength(vertical) - 2 * m_nEndMargin;
  const int g = ScrollThumbLength(track, m_nPage, m_nRange, m_nEndMargin);
  const int start = AxisStart(vertical) + m_nEndMargin;
  double p = ratio * (track - g) + start;
  p = std::max(p, static_cast<double>(start));
  p = std::min(p, static_cast<double>(AxisEnd(vertical) - m_nEndMargin - m_nEndMargin / 2));
  const int at = static_cast<int>(std::trunc(p));
  if (vertical) {
    m_rcThumb = {m_rect.left, at, m_rect.right, at + g};
  } else {
    m_rcThumb = {at, m_rect.top, at + g, m_rect.bottom};
  }
  m_bThumbShown = m_nPage < m_nRange;
}

int MScroll::PositionAt(int offset, bool vertical) const {
  const int track = AxisLength(vertical) - 2 * m_nEndMargin;
  const int span = track - ScrollThumbLength(track, m_nPage, m_nRange, m_nEndMargin);
  if (span <= 0) return 0;
  return static_cast<int>(static_cast<long long>(offset) * m_nRange / span);
}

int MScroll::MoveThumb(bool vertical, int d) {
  if (d == 0) return 0;
  const int low = AxisStart(vertical) + m_nEndMargin;
  const int high = AxisEnd(vertical) - m_nEndMargin;
  if (d < 0 && ThumbStart(vertical) + d < low) d = low - ThumbStart(vertical);
  if (d > 0 && ThumbEnd(vertical) + d > high) d = high - ThumbEnd(vertical);
  if (d == 0) return 0;
  if (vertical) {
    OffsetRect(&m_rcThumb, 0, d);
  } else {
    OffsetRect(&m_rcThumb, d, 0);
  }
  m_bChanging = 1;
  m_nPos = PositionAt(ThumbStart(vertical) - low, vertical);
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
  SendMessageW(NOTIFY_CHANGING, static_cast<WPARAM>(m_nPos), 0);
  m_bChanging = 0;
  return d;
}

// The cache is invalidated before the repaint so that the new thumb look is drawn.
void MScroll::RepaintState() {
  SetUpdate(0, 0);
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 0, this);
}

int MScroll::MouseMove(bool vertical, CPoint pt, int& anchor) {
  if (!m_bThumbShown) return 0;
  if (m_bEnabled && m_nThumbState == 2) {
    const int d = MoveRange(Coordinate(pt, vertical) - anchor);
    anchor += d;
    return 1;
  }
  const int oldState = m_nThumbState, oldInside = m_bInside;
  if (m_bEnabled && !m_bPressedInside) {
    m_bInside = ::PtInRect(&m_rect, pt) ? 1 : 0;
    m_nThumbState = (m_bInside && ::PtInRect(&m_rcThumb, pt)) ? 1 : 0;
  }
  if (oldState == m_nThumbState && oldInside == m_bInside && m_bCacheValid) return 0;
  RepaintState();
  return 1;
}

int MScroll::LButtonDown(bool vertical, CPoint pt, int& anchor) {
  if (!m_bThumbShown) return 0;
  const int oldState = m_nThumbState;
  if (m_bEnabled && !::PtInRect(&m_rcThumb, pt)) {
    const int track = AxisLength(vertical) - 2 * m_nEndMargin;
    const int amount = static_cast<int>(static_cast<long long>(track) * m_nPage / m_nRange);
    return MoveRange(Coordinate(pt, vertical) < ThumbStart(vertical) ? -amount : amount);
  }
  if (m_bEnabled) {
    m_nThumbState = 2;
    anchor = Coordinate(pt, vertical);
  }
  if (oldState == m_nThumbState) return 0;
  RepaintState();
  return 1;
}

int MScroll::LButtonUp(CPoint pt, int& anchor) {
  if (!m_bThumbShown) return 0;
  const int oldState = m_nThumbState;
  if (m_bEnabled) {
    anchor = -1;
    m_nThumbState = ::PtInRect(&m_rcThumb, pt) ? 1 : 0;
  }
  if (oldState == m_nThumbState) return 0;
  RepaintState();
  return 1;
}

ImgResInfo* MScroll::LoadStrip(UINT id, CString type, int frames) {
  if (!m_pManager || frames < 1) return nullptr;
  ImgResInfo* info = m_pManager->AddImgResInfo(id, type, frames, 0);
  if (info && info->image) m_pImage = info->image;
  return info && info->image ? info : nullptr;
}

ImgResInfo* MScroll::LoadStrip(const wchar_t* file, int frames) {
  if (!m_pManager || frames < 1) return nullptr;
  ImgResInfo* info = m_pManager->AddImgResInfo(file, frames);
  if (info && info->image) m_pImage = info->image;
  return info && info->image ? info : nullptr;
}

void MScroll::DrawCached(HDC& dc, void (*drawThumb)(MScroll& bar, HDC cache)) {
  const int cx = m_rect.Width(), cy = m_rect.Height();
  if (cx <= 0 || cy <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, cx, cy);
    if (!m_hCacheDC) return;
    BitBlt(m_hCacheDC, 0, 0, cx, cy, dc, m_rect.left, m_rect.top, SRCCOPY);
    if (m_bThumbShown) drawThumb(*this, m_hCacheDC);
  }
  BitBlt(dc, m_rect.left, m_rect.top, cx, cy, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
