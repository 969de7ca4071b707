#include "ui/controls/CCheckButton.h"

#include "ui/controls/ButtonCells.h"

namespace TESK {

namespace {

constexpr int kCells = 8;
constexpr int kTitleGap = 8;
// Alpha 254: the check box's disabled title.
constexpr Gdiplus::ARGB kDisabledTitle = 0xFE808080;

}  // namespace

CCheckButton::CCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled)
    : MControlFont(owner, id, rect, title, visible, enabled, 1), m_toggle(&ToggleInput::EightCells) {
  m_nFrameCount = kCells;
  m_nVAlignment = 4;
  m_bTabStop = 1;
  m_toggle.state = enabled ? 0 : 3;
}

int CCheckButton::SetImage(UINT id, CString type, int frames) { return LoadImageQuietly(id, type, frames); }

int CCheckButton::SetImage(const wchar_t* file, int frames) { return LoadImageQuietly(file, frames); }

int CCheckButton::SetCheck(int check) { return ToggleInput::SetCheck(*this, m_toggle, check); }

int CCheckButton::SetControlFocus(int focus) { return ToggleInput::Focus(*this, m_bFocused, focus); }

void CCheckButton::SetControlEnabled(int enabled) { ToggleInput::Enable(*this, m_toggle, enabled); }

int CCheckButton::OnControlMouseMove(UINT, CPoint pt) { return ToggleInput::Move(*this, m_toggle, pt); }

int CCheckButton::OnControlLButtonDown(UINT, CPoint pt) {
  return ToggleInput::Press(*this, m_toggle, pt, m_bFocused);
}

int CCheckButton::OnControlLButtonUp(UINT, CPoint pt) {
  return ToggleInput::ToggleOnRelease(*this, m_toggle, ToggleInput::Up(*this, m_toggle, pt));
}

int CCheckButton::OnControlKeyDown(UINT, UINT, UINT) { return 0; }

void CCheckButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const int w = m_rect.Width(), h = m_rect.Height();
    const int top = (h - m_nFrameHeight) / 2;
    Gdiplus::Graphics g(m_hCacheDC);
    const auto font = ButtonCells::TitleFont(*this);
    for (int k = 0; k < kCells; ++k) {
      ButtonCells::DrawStripFrameAt(g, *this, k, k * w, top);
      const CRect box(CPoint(k * w + m_nFrameWidth + kTitleGap, top),
                      CSize(w - m_nFrameWidth - kTitleGap, m_nFrameHeight));
      ButtonCells::DrawTitle(g, *this, font.get(), m_strTitle, box, k % 4 == 3 ? kDisabledTitle : m_textColor,
                             Gdiplus::StringAlignmentNear, Gdiplus::StringAlignmentCenter);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
