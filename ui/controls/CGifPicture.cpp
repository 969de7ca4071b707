#include "ui/controls/CGifPicture.h"

#include <vector>

#include "ui/controls/PictureShow.h"
#include "ui/controls/TickGuard.h"

namespace TESK {

namespace {

// Ticks per shown frame: at the usual 10 ms tick a frame lasts 50 ms.
constexpr int kTicksPerFrame = 5;

}  // namespace

CGifPicture::CGifPicture(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_nGifFrames(0),
      m_nNextFrame(0),
      m_dimension(Gdiplus::FrameDimensionTime),
      m_nCurrentFrame(0),
      m_bMouseMoveActive(false),
      m_nTick(0) {
  m_bRunTimer = 1;
  m_bRunning = 0;
}

// The image belongs to the engine's cache.
CGifPicture::~CGifPicture() = default;

int CGifPicture::SetImage(const wchar_t* file, int) {
  // The cache entry is a strip of 4 whatever the caller says; only its frames matter here.
  if (MControlFont::SetImage(file, 4)) OnSetImage();
  return 0;
}

void CGifPicture::OnSetImage() {
  TickGuard guard(m_pManager);
  m_nGifFrames = 0;
  m_nNextFrame = 0;
  const UINT dimensions = m_pImage ? m_pImage->GetFrameDimensionsCount() : 0;
  if (dimensions == 0) {
    m_pImage = nullptr;
    return;
  }
  std::vector<GUID> list(dimensions);
  if (m_pImage->GetFrameDimensionsList(list.data(), dimensions) != Gdiplus::Ok) {
    m_pImage = nullptr;
    return;
  }
  m_dimension = list[0];
  m_nGifFrames = static_cast<int>(m_pImage->GetFrameCount(&m_dimension));
}

int CGifPicture::SetRunState(int run, int frame) {
  if (m_nGifFrames < 2) return 0;
  ChangeState(run != 0, frame);
  return 1;
}

void CGifPicture::ChangeState(int run, int frame) {
  bool frameChanged;
  {
    TickGuard guard(m_pManager);
    frameChanged = frame != m_nCurrentFrame;
    m_nCurrentFrame = frame;
    // A start gives the first frame its full time.
    if (run && !m_bRunning) m_nTick = 0;
    m_bRunning = run;
  }
  // A new frame has to be rendered; otherwise showing the cached drawing again is enough.
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, frameChanged ? 1 : 0, this);
}

void CGifPicture::SelectActiveFrame(int index) {
  if (m_pImage && m_nGifFrames >= 2 && index >= 0 && index < m_nGifFrames) {
    m_pImage->SelectActiveFrame(&m_dimension, static_cast<UINT>(index));
  }
}

void CGifPicture::ActiveNextFrame() {
  if (m_nGifFrames < 2) return;
  m_nNextFrame = m_nNextFrame + 1 >= m_nGifFrames || m_nNextFrame < 0 ? 0 : m_nNextFrame + 1;
  SelectActiveFrame(m_nNextFrame);
}

int CGifPicture::OnControlTimer() {
  if (!m_bRunning || !m_bVisible || !m_pImage) return 0;
  if (++m_nTick < kTicksPerFrame) return 0;
  m_nTick = 0;
  // A frame outside the image (SetRunState takes any) stays, and nothing is repainted.
  if (m_nCurrentFrame < 0 || m_nCurrentFrame >= m_nGifFrames) return 0;
  m_nCurrentFrame = m_nCurrentFrame + 1 == m_nGifFrames ? 0 : m_nCurrentFrame + 1;
  if (m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
  return 0;
}

int CGifPicture::OnControlMouseMove(UINT, CPoint pt) {
  if (!m_bEnabled || m_bPressedInside || !m_bMouseMoveActive || m_nGifFrames < 2) return 0;
  const bool inside = ::PtInRect(&m_rect, pt) != 0;
  // Entering starts at frame 0 and leaving stops on frame 0; further moves inside leave a
  // running animation alone instead of restarting it.
  if (inside && !m_bRunning) {
    ChangeState(1, 0);
  } else if (!inside && (m_bRunning || m_nCurrentFrame != 0)) {
    ChangeState(0, 0);
  }
  return 0;
}

void CGifPicture::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    if (!PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
    if (m_pImage) {
      // The cached image is shared, so the frame is chosen again each time it is drawn.
      SelectActiveFrame(m_nCurrentFrame);
      Gdiplus::Graphics g(m_hCacheDC);
      g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, w, h));
    }
  }
  BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

}  // namespace TESK
