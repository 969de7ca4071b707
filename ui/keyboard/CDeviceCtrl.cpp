#include "ui/keyboard/CDeviceCtrl.h"

#include <algorithm>

#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kBackColor = 0x3CFFFFFF;
constexpr Gdiplus::ARGB kCaption = 0xFFFFFFFF;
// The name of an inactive device.
constexpr Gdiplus::ARGB kInactiveCaption = 0xFF808080;
constexpr Gdiplus::ARGB kInactiveWideCaption = 0xFFC8C8C8;
// Show mode 0: the name in the tile's bottom 35 px, the picture centred above it.
constexpr int kCaptionSpace = 30;
constexpr int kCaptionFromBottom = 35;
constexpr int kCaptionHeight = 30;
// Wide tiles: the picture at the left, the name beside it.
constexpr int kWidePictureLeft = 5;
constexpr int kWideCaptionLeft = 238;
constexpr int kWideCaptionTop = 60;
constexpr int kWideCaptionWidth = 190;
constexpr int kCells = 2;
constexpr int kNormal = 0, kHover = 1, kPressed = 2;

}  // namespace

CDeviceCtrl::CDeviceCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1),
      m_backColor(kBackColor),
      m_nStatus(0),
      m_nMouseState(kNormal),
      m_nShowMode(0),
      m_nPictureWidth(0),
      m_nPictureHeight(0),
      m_nPictureFrames(1) {
  m_textColor = kCaption;
}

CDeviceCtrl::~CDeviceCtrl() = default;

int CDeviceCtrl::SetImage(const wchar_t* path, int frames) {
  m_picture.reset(path && *path ? MRender::LoadImageFromFile(path) : nullptr);
  m_nPictureFrames = std::max(1, frames);
  m_nPictureWidth = m_picture ? static_cast<int>(m_picture->GetWidth()) / m_nPictureFrames : 0;
  m_nPictureHeight = m_picture ? static_cast<int>(m_picture->GetHeight()) : 0;
  RepaintIfVisible();
  return m_picture ? 1 : 0;
}

void CDeviceCtrl::SetDeviceStatus(int status) {
  m_nStatus = status;
  RepaintIfVisible();
}

void CDeviceCtrl::SetShowMode(int mode) {
  if (mode == m_nShowMode) return;
  m_nShowMode = mode;
  RepaintIfVisible();
}

// ---- Mouse ----

void CDeviceCtrl::ChangeState(int state) {
  if (state == m_nMouseState) return;
  m_nMouseState = state;
  UpdateControl(0, 0);
}

int CDeviceCtrl::OnControlMouseMove(UINT, CPoint pt) {
  if (!TakesMouse()) return 0;
  if (m_nMouseState != kPressed) ChangeState(m_rect.PtInRect(pt) ? kHover : kNormal);
  return 1;
}

int CDeviceCtrl::OnControlLButtonDown(UINT, CPoint pt) {
  if (!TakesMouse()) return 0;
  if (m_rect.PtInRect(pt)) {
    ChangeState(kPressed);
    SendMessageW(NOTIFY_PRESSED, 0, 0);
  }
  return 1;
}

int CDeviceCtrl::OnControlLButtonUp(UINT, CPoint pt) {
  if (!TakesMouse()) return 0;
  // A press dragged out and released there ends too: the tile does not stay pressed.
  ChangeState(kNormal);
  if (m_rect.PtInRect(pt)) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

// ---- Drawing ----

void CDeviceCtrl::DrawControl(HDC& dc, CRect) {
  if (!GetUpdate()) {
    if (!PrepareCells(dc, kCells)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int cell = 0; cell < kCells; ++cell) RenderCell(g, cell);
  }
  ShowCell(dc, m_nMouseState == kHover || m_nMouseState == kPressed ? 1 : 0);
}

void CDeviceCtrl::RenderCell(Gdiplus::Graphics& g, int cell) {
  const int width = m_rect.Width();
  const int height = m_rect.Height();
  const int x = cell * width;
  // The pressed look is the normal one moved a pixel right and down.
  const int shift = cell;
  if (m_nShowMode != 0) {
    const Gdiplus::SolidBrush back{Gdiplus::Color(m_backColor)};
    g.FillRectangle(&back, x, 0, width, height);
  }
  const bool wide = m_nShowMode != 0 && !m_strTitle.IsEmpty();
  if (Gdiplus::Image* picture = m_picture.get()) {
    const int px = wide ? x + kWidePictureLeft : x + (width - m_nPictureWidth) / 2;
    const int py = wide ? 0 : (height - m_nPictureHeight - kCaptionSpace) / 2;
    g.DrawImage(picture, Gdiplus::Rect(px + shift, py + shift, m_nPictureWidth, m_nPictureHeight), 0, 0,
                m_nPictureWidth, m_nPictureHeight, Gdiplus::UnitPixel);
  }
  if (m_strTitle.IsEmpty()) return;
  const Gdiplus::ARGB colour =
      m_nStatus != 0 ? m_textColor : m_nShowMode == 0 ? kInactiveCaption : kInactiveWideCaption;
  const Gdiplus::RectF box =
      wide ? Gdiplus::RectF(static_cast<float>(x + kWideCaptionLeft + shift), static_cast<float>(kWideCaptionTop + shift),
                            static_cast<float>(kWideCaptionWidth), static_cast<float>(kCaptionHeight))
           : Gdiplus::RectF(static_cast<float>(x + shift), static_cast<float>(height - kCaptionFromBottom + shift),
                            static_cast<float>(width), static_cast<float>(kCaptionHeight));
  DrawTitleText(g, m_strTitle, box,
                Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces,
                m_textRenderingHint, wide ? 0 : DT_CENTER, DT_VCENTER, colour);
}

}  // namespace TESK
