#include "ui/controls/MSlider.h"

#include <algorithm>

#include "ui/controls/PictureShow.h"
#include "ui/controls/ValueCaption.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr int kTrackInset = 3;
constexpr int kTrackTop = 7;
constexpr int kTrackHeight = 3;
// The fill runs on under the thumb to its middle.
constexpr int kFillPastThumb = 10;
constexpr int kCaptionHeight = 20;
constexpr INT kCaptionFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

}  // namespace

MSlider::MSlider(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nState(0),
      m_nProgress(0),
      m_nMinProgress(0),
      m_nMaxProgress(10),
      m_nThumbWidth(16),
      m_nThumbHeight(16),
      m_nScale(1),
      m_rcThumb{},
      m_bShowText(1),
      m_selectColor(Manager::m_select_color) {
  m_nAlignment = DT_CENTER;
  m_nVAlignment = DT_VCENTER;
  SetProgress(0);
  SetControlRect(rect);
}

void MSlider::PlaceThumb(int offset) {
  offset = std::max(0, std::min(offset, TrackLength()));
  m_rcThumb = {m_rect.left + offset, m_rect.top, m_rect.left + offset + m_nThumbWidth, m_rect.top + m_nThumbHeight};
}

// Without a range or a track (a thumb as wide as the control) the thumb rests at the left.
void MSlider::SetControlRect(CRect rect) {
  MControlFont::SetControlRect(rect);
  const int length = TrackLength();
  int offset = 0;
  if (HasRange() && length > 0) {
    offset = static_cast<int>(static_cast<long long>(length) * (m_nProgress - m_nMinProgress) /
                              (m_nMaxProgress - m_nMinProgress));
  }
  PlaceThumb(offset);
}

int MSlider::SetProgress(int progress) {
  progress = std::min(progress, m_nMaxProgress);
  if (progress >= 0 && progress != m_nProgress) {
    m_nProgress = progress;
    SetControlRect(m_rect);
    UpdateControl(1, 0);
  }
  return m_nProgress;
}

void MSlider::SetSelectColor(Gdiplus::Color color) {
  m_selectColor = color.GetValue();
  UpdateControl(1, 0);
}

bool MSlider::TakeValueAt(CPoint pt) {
  const int length = TrackLength();
  if (!HasRange() || length <= 0) return false;
  const long long span = static_cast<long long>(m_nMaxProgress) - m_nMinProgress;
  long long value = m_nMinProgress + (static_cast<long long>(pt.x) - m_rect.left) * (span + 1) / length;
  value = std::max<long long>(m_nMinProgress, std::min<long long>(value, m_nMaxProgress));
  if (value == m_nProgress) return false;
  m_nProgress = static_cast<int>(value);
  PlaceThumb(static_cast<int>(length * (value - m_nMinProgress) / span));
  UpdateControl(1, 0);
  return true;
}

int MSlider::MoveThumbPos(CPoint pt) {
  if (TakeValueAt(pt)) SendMessageW(NOTIFY_CHANGING, static_cast<WPARAM>(m_nProgress), 0);
  return m_nProgress;
}

int MSlider::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  if (m_nState == 2) {
    MoveThumbPos(pt);
    return 1;
  }
  const int old = m_nState;
  if (!m_bPressedInside) m_nState = PtInRect(pt) && OnThumb(pt) ? 1 : 0;
  if (m_nState == old && m_bCacheValid) return 0;
  UpdateControl(1, 0);
  return 1;
}

// A press off the thumb makes the thumb jump there; the press drags when it now lies on it.
int MSlider::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const int old = m_nState;
  const bool onThumb = OnThumb(pt);
  const bool changed = TakeValueAt(pt);
  if (onThumb || OnThumb(pt)) m_nState = 2;
  if (m_nState != old) UpdateControl(0, 0);
  if (changed) SendMessageW(NOTIFY_CHANGING, static_cast<WPARAM>(m_nProgress), 0);
  return 1;
}

int MSlider::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  m_nState = OnThumb(pt) ? 1 : 0;
  UpdateControl(0, 0);
  SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

// The wheel is always consumed; a turn towards the user (direction 1) lowers the value.
int MSlider::OnControlScroll(int, UINT direction, CPoint) {
  if (!HasRange() || TrackLength() <= 0) return 1;
  int value = direction == 1 ? m_nProgress - 1 : m_nProgress + 1;
  value = std::max(m_nMinProgress, std::min(value, m_nMaxProgress));
  if (value != m_nProgress && SetProgress(value) == value) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

void MSlider::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    Gdiplus::SolidBrush track{Gdiplus::Color(m_textColor)};
    g.FillRectangle(&track, kTrackInset, kTrackTop, w - 2 * kTrackInset, kTrackHeight);
    if (HasRange()) {
      const int offset = m_rcThumb.left - m_rect.left;
      Gdiplus::SolidBrush fill{Gdiplus::Color(m_selectColor)};
      g.FillRectangle(&fill, kTrackInset, kTrackTop, offset + kFillPastThumb, kTrackHeight);
      Gdiplus::SolidBrush thumb{Gdiplus::Color(0xFFFFFFFF)};
      g.FillEllipse(&thumb, offset, 0, m_nThumbWidth, m_nThumbHeight);
    }
    if (m_bShowText) {
      const Gdiplus::RectF box(0.0f, static_cast<float>(h - kCaptionHeight), static_cast<float>(w),
                               static_cast<float>(kCaptionHeight));
      DrawTitleText(g, ValueCaption(m_strTitle, m_nProgress, m_nMaxProgress), box, kCaptionFormat,
                    Gdiplus::TextRenderingHintAntiAlias);
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
