#include "ui/core/LoadingWnd.h"

#include <vector>

#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr UINT kAnimationTimer = 100;
constexpr UINT kAnimationPeriodMs = 18;
constexpr int kAnimationWidth = 232;
constexpr int kAnimationHeight = 58;
constexpr int kCloseCells = 4;
constexpr DWORD kHoverTimeMs = 400;
constexpr Gdiplus::ARGB kPlainBackground = 0xF0FFFFFF;

}  // namespace

LoadingWnd::LoadingWnd()
    : MTipWindow(Gdiplus::StringAlignmentCenter, Gdiplus::StringAlignmentCenter),
      m_fontName(L"Arial"),
      m_frameCount(0),
      m_running(0),
      m_closeCellWidth(0),
      m_closeCellHeight(0),
      m_closeState(0),
      m_tracking(0),
      m_currentFrame(0),
      m_frameLimit(18),
      m_tickCount(0),
      m_ticksPerFrame(2) {}

LoadingWnd::~LoadingWnd() {
  if (IsLive()) KillTimer(kAnimationTimer);
}

HWND LoadingWnd::CreateDlg(HWND parent, CRect rect) {
  LoadGifImage(L"loading\\loading.gif");
  m_logo.LoadSkin(L"logo\\logo_loading.png");
  return Create(parent, L"Loading Window", 0x96000000, 0, rect);
}

int LoadingWnd::LoadGifImage(CString file) {
  m_frameCount = 0;
  m_animation.LoadSkin(file);
  Gdiplus::Image* image = m_animation.image();
  const UINT dimensions = image ? image->GetFrameDimensionsCount() : 0;
  std::vector<GUID> list(dimensions);
  if (dimensions == 0 || image->GetFrameDimensionsList(list.data(), dimensions) != Gdiplus::Ok) {
    m_animation.Reset();
    return 0;
  }
  m_frameCount = static_cast<int>(image->GetFrameCount(&list[0]));
  m_frameLimit = m_frameCount;
  return 0;
}

int LoadingWnd::LoadAnimateImage(CString file, int index) {
  if (index < 0 || index >= kExtraFrames) return 0;
  return m_extraFrames[index].LoadSkin(file);
}

int LoadingWnd::OnInitDialog() {
  SetTimer(kAnimationTimer, kAnimationPeriodMs, nullptr);
  m_running = 1;
  m_closeButton.LoadSkin(L"img_sys_close.png");
  m_closeCellWidth = static_cast<int>(static_cast<unsigned>(m_closeButton.width()) / kCloseCells);
  m_closeCellHeight = m_closeButton.height();
  CRect client;
  GetClientRect(&client);
  m_closeRect = CRect(client.right - 39, 10, client.right - 39 + m_closeCellWidth, 10 + m_closeCellHeight);
  return 1;
}

// The window stays open: only its parent destroys it.
LONG LoadingWnd::OnUserCloseWindow(UINT, LONG) { return 1; }
void LoadingWnd::CloseWindow() {}
int LoadingWnd::OnKillFocus(MWindow*) { return 1; }

int LoadingWnd::OnClose() {
  StopAnimation();
  return 1;
}

int LoadingWnd::PostNcDestroy() {
  StopAnimation();
  return 0;
}

int LoadingWnd::OnDestroy() {
  StopAnimation();
  return 0;
}

// ---- Close button (the next animation step shows a new state) ----

bool LoadingWnd::InCloseButton(CPoint pt) const { return m_closeRect.PtInRect(pt) != 0; }

int LoadingWnd::OnMouseMove(UINT, CPoint pt) {
  if (!m_tracking) {
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, kHoverTimeMs};
    if (!::TrackMouseEvent(&track)) return 0;
    m_tracking = 1;
  }
  m_closeState = InCloseButton(pt) ? 1 : 0;
  return 0;
}

int LoadingWnd::OnMouseLeave(UINT, LONG) {
  m_closeState = 0;
  m_tracking = 0;
  return 0;
}

int LoadingWnd::OnLButtonDown(UINT, CPoint pt) {
  m_closeState = InCloseButton(pt) ? 2 : 0;
  return 0;
}

int LoadingWnd::OnLButtonUp(UINT, CPoint pt) {
  if (!InCloseButton(pt)) {
    m_closeState = 0;
    return 0;
  }
  m_closeState = 1;
  if (m_hParent) ::PostMessageW(m_hParent, WM_UI_LOADINGCLOSE, 0, 0);
  return 0;
}

// ---- Animation and drawing ----

void LoadingWnd::OnTimer(UINT id) {
  if (id != kAnimationTimer || !m_running) return;
  if (++m_tickCount < m_ticksPerFrame) return;
  m_tickCount = 0;
  if (++m_currentFrame >= m_frameLimit) m_currentFrame = 0;
  DrawWindow();
}

int LoadingWnd::OnPaint() {
  DrawWindow();
  return 1;
}

void LoadingWnd::DrawWindow() {
  PaintClient([this](HDC dc, int w, int h) { ComposeWindow(dc, w, h); }, true);
}

void LoadingWnd::ComposeWindow(HDC dc, int w, int h) {
  Gdiplus::Graphics g(dc);
  if (m_background) {
    MRender::DrawImageFrame(g, m_background.image(), CRect(0, 0, w, h), 0, 0, m_background.width(),
                            m_background.height(), 10);
  } else {
    Gdiplus::SolidBrush plain{Gdiplus::Color(kPlainBackground)};
    g.FillRectangle(&plain, 0, 0, w, h);
  }
  if (m_logo) {
    g.DrawImage(m_logo.image(), (w - m_logo.width()) / 2, (h - kAnimationHeight) / 2 - m_logo.height() - 20,
                m_logo.width(), m_logo.height());
  }
  if (m_animation && m_frameCount > 1) {
    if (m_currentFrame < m_frameCount) {
      m_animation.image()->SelectActiveFrame(&Gdiplus::FrameDimensionTime, static_cast<UINT>(m_currentFrame));
    }
    g.DrawImage(m_animation.image(), (w - kAnimationWidth) / 2, (h - kAnimationHeight) / 2, kAnimationWidth,
                kAnimationHeight);
  }
  if (m_closeButton) {
    g.DrawImage(m_closeButton.image(), Gdiplus::Rect(m_closeRect.left, m_closeRect.top, m_closeCellWidth, m_closeCellHeight),
                m_closeCellWidth * m_closeState, 0, m_closeCellWidth, m_closeCellHeight, Gdiplus::UnitPixel);
  }
}

}  // namespace TESK
