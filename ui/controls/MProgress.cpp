#include "ui/controls/MProgress.h"

#include <algorithm>

#include "ui/controls/PictureShow.h"
#include "ui/controls/ValueCaption.h"
#include "ui/core/MRender.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

constexpr int kStripCorner = 2;
constexpr int kCaptionWidth = 60;
constexpr int kCaptionHeight = 20;
constexpr INT kCaptionFormat = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;

}  // namespace

MProgress::MProgress(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nProgress(0),
      m_nMaxProgress(100),
      m_nTickCount(0),
      m_nTicksPerStep(3),
      m_nCapWidth(12),
      m_bShowText(0),
      m_nStripHeight(14),
      m_lineColor(0x64050505),
      m_fillColor(0xFFFFE100) {
  m_textColor = 0xFF808080;
  m_nAlignment = DT_CENTER;
  m_nVAlignment = DT_VCENTER;
  m_nFrameCount = 2;
}

int MProgress::SetProgress(int progress) {
  if (!m_bEnabled) return m_nProgress;
  progress = std::min(progress, m_nMaxProgress);
  if (progress >= 0 && progress != m_nProgress) {
    m_nProgress = progress;
    UpdateControl(1, 0);
  }
  return m_nProgress;
}

int MProgress::SetRun(int run, int value) {
  if (!m_bEnabled) return m_bRunning;
  bool changed = m_bRunning != run;
  m_bRunning = run;
  if (value >= 0 && value <= m_nMaxProgress && value != m_nProgress) {
    m_nProgress = value;
    changed = true;
  }
  if (changed) UpdateControl(1, 0);
  return m_bRunning;
}

// The value wraps once the next step would reach the maximum, so the bar cycles through
// 0 ... maximum - 1; a maximum that is not positive, or a progress left above a lowered
// maximum, wraps at once instead of climbing.
int MProgress::OnControlTimer() {
  if (!m_bRunning || !m_bVisible) return 0;
  if (++m_nTickCount < m_nTicksPerStep) return 0;
  m_nTickCount = 0;
  m_nProgress = m_nProgress + 1 >= m_nMaxProgress ? 0 : m_nProgress + 1;
  UpdateControl(1, 0);
  return 1;
}

bool MProgress::TakeCachedImage(BarImage& slot, ImgResInfo* info) {
  if (!info || !info->image) return false;
  slot.image = info->image;
  slot.frameWidth = static_cast<int>(info->frameWidth);
  slot.height = static_cast<int>(info->height);
  UpdateControl(1, 0);
  return true;
}

bool MProgress::SetBackGroundImage(CString name) {
  return m_pManager && TakeCachedImage(m_back, m_pManager->AddImgResInfo(name, 1));
}

bool MProgress::SetBackGroundImage(UINT id) {
  return m_pManager && TakeCachedImage(m_back, m_pManager->AddImgResInfo(id, L"PNG", 1, 1));
}

bool MProgress::SetForeGroundImage(CString name) {
  return m_pManager && TakeCachedImage(m_fore, m_pManager->AddImgResInfo(name, 1));
}

bool MProgress::SetForeGroundImage(UINT id) {
  return m_pManager && TakeCachedImage(m_fore, m_pManager->AddImgResInfo(id, L"PNG", 1, 1));
}

int MProgress::FillWidth(int width) const {
  if (m_nMaxProgress <= 0 || m_nProgress <= 0) return 0;
  const long long fill = static_cast<long long>(width) * m_nProgress / m_nMaxProgress;
  return static_cast<int>(std::min<long long>(fill, width));
}

void MProgress::DrawBar(Gdiplus::Graphics& g, int width, int height, int fill) {
  const int cap = m_nCapWidth;
  if (m_fore.image) {
    if (m_back.image) {
      MRender::DrawImageFrameMID(g, m_back.image, CRect(0, 0, width, height), 0, 0, m_back.frameWidth, m_back.height,
                                 cap, 0, cap, 0);
    }
    if (fill <= 0) return;
    if (fill < cap) {
      // Too short for both caps: the image's leftmost columns, stretched to the height.
      g.DrawImage(m_fore.image, Gdiplus::Rect(0, 0, fill, height), 0, 0, fill, m_fore.height, Gdiplus::UnitPixel);
    } else {
      MRender::DrawImageFrameMID(g, m_fore.image, CRect(0, 0, fill, height), 0, 0, m_fore.frameWidth, m_fore.height,
                                 cap, 0, cap, 0);
    }
  } else if (m_pImage) {
    MRender::DrawImageFrame(g, m_pImage, CRect(0, 0, width, m_nStripHeight), 0, 0, m_nFrameWidth, m_nFrameHeight,
                            kStripCorner);
    if (fill > 0 && m_nFrameCount > 1) {
      MRender::DrawImageFrame(g, m_pImage, CRect(0, 0, fill, m_nStripHeight), m_nFrameWidth, 0, m_nFrameWidth,
                              m_nFrameHeight, kStripCorner);
    }
  } else {
    Gdiplus::Pen line{Gdiplus::Color(m_lineColor), 1.0f};
    g.DrawLine(&line, 1, height - 2, width, height - 2);
    if (fill > 0) {
      Gdiplus::SolidBrush brush{Gdiplus::Color(m_fillColor)};
      g.FillRectangle(&brush, 0, height - 3, fill, 3);
    }
  }
}

void MProgress::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    DrawBar(g, w, h, FillWidth(w));
    if (m_bShowText) {
      const Gdiplus::RectF box(static_cast<float>((w - kCaptionWidth) / 2), 0.0f, static_cast<float>(kCaptionWidth),
                               static_cast<float>(kCaptionHeight));
      DrawTitleText(g, ValueCaption(m_strTitle, m_nProgress, m_nMaxProgress), box, kCaptionFormat, m_textRenderingHint);
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
