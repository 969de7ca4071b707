#include "ui/controls/CSliderPicture.h"

#include "ui/controls/TickGuard.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr COLORREF kUncoveredFill = RGB(0xF2, 0xF2, 0xF2);

// A hundredth of the length per step, but at least one pixel: a picture under 100 pixels
// would otherwise never move and its slide never end.
int SlideStep(int length) { return std::max(1, length / 100); }

}  // namespace

CSliderPicture::CSliderPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_slideMode(SLIDER_MODE_LEFT),
      m_nTick(0),
      m_nTicksPerStep(1),
      m_nPosition(0),
      m_nTarget(0) {
  m_bRunTimer = 1;
  m_bRunning = 0;
}

CSliderPicture::~CSliderPicture() { delete m_pImage; }

int CSliderPicture::SetImage(const wchar_t* file, int frames) {
  return PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount, PictureShow::LoadSkin(file),
                              frames);
}

int CSliderPicture::SetImage(UINT id, CString type, int frames) {
  return PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount,
                              PictureShow::LoadResource(id, type), frames);
}

int CSliderPicture::SetShowMode(enumShowMode mode, int parameter) { return m_show.Set(*this, mode, parameter); }

int CSliderPicture::SetShowModeMID(int left, int top, int right, int bottom) {
  return m_show.SetMargins(*this, left, top, right, bottom);
}

int CSliderPicture::SetRun(int run, SLIDER_MODE mode) {
  if (!m_bEnabled) return m_bRunning;
  int was;
  {
    TickGuard guard(m_pManager);
    was = m_bRunning;
    m_bRunning = run;
    m_slideMode = mode;
    m_nTick = 0;
    switch (mode) {
      case SLIDER_MODE_LEFT:
        m_nPosition = 0;
        m_nTarget = m_rect.Width();
        break;
      case SLIDER_MODE_TOP:
        m_nPosition = m_rect.top;
        m_nTarget = m_rect.bottom;
        break;
      case SLIDER_MODE_RIGHT:
        m_nPosition = m_rect.right;
        m_nTarget = m_rect.left;
        break;
      default:
        break;
    }
  }
  if (was != run) RepaintIfVisible();
  return run;
}

int CSliderPicture::OnControlTimer() {
  if (!m_bRunning || !m_bVisible) return 0;
  if (++m_nTick < m_nTicksPerStep) return 0;
  m_nTick = 0;
  switch (m_slideMode) {
    case SLIDER_MODE_LEFT:
      m_nPosition += SlideStep(m_rect.Width());
      if (m_nPosition >= m_nTarget) m_bRunning = 0;
      break;
    case SLIDER_MODE_TOP:
      m_nPosition += SlideStep(m_rect.Height());
      if (m_nPosition >= m_nTarget) m_bRunning = 0;
      break;
    case SLIDER_MODE_RIGHT:
      m_nPosition -= SlideStep(m_rect.Width());
      if (m_nPosition <= m_nTarget) m_bRunning = 0;
      break;
    default:
      break;
  }
  // Invalidation is safe from the timer thread; the window paints the new step itself.
  if (m_pManager) m_pManager->InvalidateRect(m_rect, 0);
  return 1;
}

void CSliderPicture::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    if (m_pImage) {
      Gdiplus::Graphics g(m_hCacheDC);
      m_show.Draw(g, m_pImage, 0, 0, w, h, 0, m_nFrameWidth, m_nFrameHeight, m_nAlignment, m_nVAlignment);
    }
  }
  const int L = m_rect.left, T = m_rect.top, R = m_rect.right, B = m_rect.bottom;
  // A step may overshoot its target; the part shown never leaves the rectangle.
  switch (m_slideMode) {
    case SLIDER_MODE_LEFT: {
      const int p = std::min(std::max(m_nPosition, 0), w);
      BitBlt(dc, L, T, p, h, m_hCacheDC, w - p, 0, SRCCOPY);
      MRender::FillSolidRect(dc, L + p, T, w - p, h, kUncoveredFill);
      break;
    }
    case SLIDER_MODE_TOP: {
      const int p = std::min(std::max(m_nPosition, T), B);
      BitBlt(dc, L, T, w, p - T, m_hCacheDC, 0, B - p, SRCCOPY);
      MRender::FillSolidRect(dc, L, p, w, B - p, kUncoveredFill);
      break;
    }
    case SLIDER_MODE_RIGHT: {
      const int p = std::min(std::max(m_nPosition, L), R);
      BitBlt(dc, p, T, R - p, h, m_hCacheDC, 0, 0, SRCCOPY);
      MRender::FillSolidRect(dc, L, T, p - L, h, kUncoveredFill);
      break;
    }
    default:
      break;
  }
  // Once the slide is over the picture leaves the window.
  if (!m_bRunning && m_bVisible) {
    SetControlVisible(0);
    if (m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
  }
}

}  // namespace TESK
