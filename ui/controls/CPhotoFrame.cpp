#include "ui/controls/CPhotoFrame.h"

#include "ui/core/MRender.h"

namespace TESK {

namespace {

// Cells of the cached drawing: normal, hover, pressed, and the photo alone.
constexpr int kCells = 4;
constexpr int kOverlayBorder = 12;

}  // namespace

CPhotoFrame::CPhotoFrame(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_pPhoto(nullptr),
      m_nPhotoWidth(0),
      m_nPhotoHeight(0),
      m_nState(0) {
  m_nFrameCount = 1;
}

CPhotoFrame::~CPhotoFrame() {
  delete m_pPhoto;
  delete m_pImage;
}

int CPhotoFrame::SetImage(const wchar_t* file, int frames) {
  return PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount, PictureShow::LoadSkin(file),
                              frames);
}

int CPhotoFrame::SetImage(UINT id, CString type, int frames) {
  return PictureShow::Replace(m_pImage, m_nFrameWidth, m_nFrameHeight, &m_nFrameCount,
                              PictureShow::LoadResource(id, type), frames);
}

int CPhotoFrame::SetPhotoFrame(const wchar_t* file, int frames) {
  return PictureShow::Replace(m_pPhoto, m_nPhotoWidth, m_nPhotoHeight, nullptr, PictureShow::LoadSkin(file), frames);
}

int CPhotoFrame::SetPhotoFrame(UINT id, CString type, int frames) {
  return PictureShow::Replace(m_pPhoto, m_nPhotoWidth, m_nPhotoHeight, nullptr, PictureShow::LoadResource(id, type),
                              frames);
}

int CPhotoFrame::SetShowMode(enumShowMode mode, int parameter) { return m_show.Set(*this, mode, parameter); }

int CPhotoFrame::SetShowModeMID(int left, int top, int right, int bottom) {
  return m_show.SetMargins(*this, left, top, right, bottom);
}

int CPhotoFrame::ChangeState(int state) {
  if (state == m_nState) return 0;
  m_nState = state;
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 0, this);
  return 1;
}

int CPhotoFrame::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_nState == 2) return 0;
  return ChangeState(::PtInRect(&m_rect, pt) ? 1 : 0);
}

int CPhotoFrame::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !::PtInRect(&m_rect, pt)) return 0;
  const int changed = ChangeState(2);
  SendMessageW(NOTIFY_PRESSED, 0, 0);
  return changed;
}

int CPhotoFrame::OnControlLButtonUp(UINT, CPoint pt) {
  if (!m_bEnabled) return 0;
  const bool inside = ::PtInRect(&m_rect, pt) != 0;
  const bool click = inside && m_nState == 2;
  if (!ChangeState(inside ? 1 : 0)) return 0;
  if (click) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

void CPhotoFrame::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, kCells * w)) return;
    {
      Gdiplus::Graphics g(m_hCacheDC);
      m_show.Draw(g, m_pPhoto, 0, 0, w, h, 0, m_nPhotoWidth, m_nPhotoHeight, m_nAlignment, m_nVAlignment);
    }
    // Every state cell starts as the photo, with or without an overlay to put on it.
    for (int cell = 1; cell < kCells; ++cell) BitBlt(m_hCacheDC, cell * w, 0, w, h, m_hCacheDC, 0, 0, SRCCOPY);
    if (m_pImage) {
      Gdiplus::Graphics g(m_hCacheDC);
      for (int state = 0; state < kCells - 1; ++state) {
        const int frame = std::min(state, m_nFrameCount - 1);
        MRender::DrawImageFrame(g, m_pImage, CRect(state * w, 0, (state + 1) * w, h), frame * m_nFrameWidth, 0,
                                m_nFrameWidth, m_nFrameHeight, kOverlayBorder);
      }
    }
  }
  const int cell = m_nState >= 0 && m_nState < kCells ? m_nState : 0;
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, cell * w, 0, SRCCOPY);
}

}  // namespace TESK
