#include "ui/controls/DownloadButton.h"

#include "ui/controls/ButtonInput.h"
#include "ui/core/CString.h"

namespace TESK {

namespace {

constexpr int kCells = 4;
constexpr int kFrameSize = 8;

}  // namespace

DownloadButton::DownloadButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1),
      m_nState(enabled ? BUTTON_NORMAL : BUTTON_DISABLED),
      m_nFrameSize(kFrameSize),
      m_nProgress(0) {
  m_nAlignment = 1;
}

void DownloadButton::SetDownloadProcess(int percent) {
  if (percent == m_nProgress) return;
  m_nProgress = percent;
  UpdateControl(1, 0);
}

int DownloadButton::SetIconImage(const wchar_t* file, int frames) { return m_icon.Load(file, frames); }

void DownloadButton::SetControlEnabled(int enabled) { ButtonInput::Enable(*this, m_nState, enabled); }

int DownloadButton::OnControlMouseMove(UINT, CPoint pt) {
  return ButtonInput::Move(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int DownloadButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ButtonInput::Press(*this, m_nState, pt, ButtonInput::Cursor::Keep);
}

int DownloadButton::OnControlLButtonUp(UINT, CPoint pt) { return ButtonInput::Click(*this, m_nState, pt); }

void DownloadButton::DrawProgress(Gdiplus::Graphics& g) {
  const int w = m_rect.Width(), h = m_rect.Height();
  ButtonCells::DrawStripFrame(g, *this, 0, CRect(0, 0, w, h), m_nFrameSize);
  ButtonCells::DrawStripFrame(g, *this, 1, CRect(0, 0, w * m_nProgress / 100, h), m_nFrameSize);
  CString caption;
  caption.Format(L"%d%%", m_nProgress);
  const auto font = ButtonCells::TitleFont(*this);
  ButtonCells::DrawTitle(g, *this, font.get(), caption, CRect(0, 0, w, h), m_textColor);
}

void DownloadButton::DrawControl(HDC& dc, CRect) {
  // While a download runs the drawing is one cell, shown in every state.
  const int cells = m_nProgress > 0 ? 1 : kCells;
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, cells)) {
    Gdiplus::Graphics g(m_hCacheDC);
    if (m_nProgress > 0) {
      DrawProgress(g);
    } else {
      const auto font = ButtonCells::TitleFont(*this);
      for (int k = 0; k < kCells; ++k) {
        ButtonCells::DrawPlainCell(g, *this, font.get(), m_strTitle, k, m_nFrameSize, CRect());
      }
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_nProgress > 0 ? 0 : m_nState, cells);
}

}  // namespace TESK
