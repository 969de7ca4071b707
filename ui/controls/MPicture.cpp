#include "ui/controls/MPicture.h"

namespace TESK {

MPicture::MPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_customRect{0, 0, 0, 0} {
  m_nFrameCount = 1;
}

MPicture::~MPicture() { delete m_pImage; }

int MPicture::SetImage(const wchar_t* file, int frames) {
  const int loaded = PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount,
                                          PictureShow::LoadSkin(file), frames);
  RepaintIfVisible();
  return loaded;
}

int MPicture::SetImage(UINT id, CString type, int frames) {
  if (!PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount,
                            PictureShow::LoadResource(id, type), frames)) {
    return 0;
  }
  RepaintIfVisible();
  return 1;
}

int MPicture::SetShowMode(enumShowMode mode, int parameter) { return m_show.Set(*this, mode, parameter); }

int MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
  return m_show.SetMargins(*this, left, top, right, bottom);
}

void MPicture::SetCustomRect(CRect rect) { m_customRect = rect; }

void MPicture::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    if (m_pImage) {
      Gdiplus::Graphics g(m_hCacheDC);
      if (m_show.mode == SHOW_MODE_CUSTOM) {
        const CRect part(m_customRect);
        if (part.Width() > 0 && part.Height() > 0) {
          g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, w, h), part.left, part.top, part.Width(), part.Height(),
                      Gdiplus::UnitPixel);
        }
      } else {
        m_show.Draw(g, m_pImage, 0, 0, w, h, 0, m_nFrameWidth, m_nFrameHeight, m_nAlignment, m_nVAlignment);
      }
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
