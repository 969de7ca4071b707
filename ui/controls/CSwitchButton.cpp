#include "ui/controls/CSwitchButton.h"

namespace TESK {

namespace {

constexpr int kCells = 4;

// The switch's looks do not depend on the check state: it picks the strip instead.
int SwitchCells(int base, int) { return base; }

}  // namespace

CSwitchButton::CSwitchButton(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_toggle(&SwitchCells) {
  m_bTabStop = 1;
  m_toggle.state = enabled ? 0 : 3;
}

int CSwitchButton::SetImage(const wchar_t* on, const wchar_t* off, int frames) {
  m_on.Load(on, frames);
  m_off.Load(off, frames);
  m_nFrameCount = frames < 1 ? 1 : frames;
  return 1;
}

int CSwitchButton::SetCheck(int check) {
  const bool changed = check != m_toggle.check;
  m_toggle.check = check;
  // A disabled switch keeps its disabled look.
  m_toggle.state = m_bEnabled ? 0 : 3;
  if (changed) UpdateControl(1, 0);
  return m_toggle.check;
}

void CSwitchButton::SetControlEnabled(int enabled) { ToggleInput::Enable(*this, m_toggle, enabled); }

int CSwitchButton::OnControlMouseMove(UINT, CPoint pt) { return ToggleInput::Move(*this, m_toggle, pt); }

int CSwitchButton::OnControlLButtonDown(UINT, CPoint pt) {
  if (!m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  m_toggle.pressing = 1;
  if (m_toggle.state == 1) return 0;
  m_toggle.state = 1;
  UpdateControl(1, 0);
  return 1;
}

int CSwitchButton::OnControlLButtonUp(UINT, CPoint pt) {
  const ToggleInput::Release release = ToggleInput::Up(*this, m_toggle, pt);
  if (release == ToggleInput::Release::Click) {
    // The cells depend on the check state: a re-render, then the owner hears of it.
    m_toggle.check = m_toggle.check ? 0 : 1;
    UpdateControl(1, 0);
    SendMessageW(NOTIFY_CLICKED, 0, m_toggle.check);
    return 1;
  }
  return release == ToggleInput::Release::Outside ? ToggleInput::Show(*this, m_toggle, 0) : 0;
}

int CSwitchButton::OnControlKeyDown(UINT, UINT, UINT) { return 0; }

void CSwitchButton::DrawControl(HDC& dc, CRect) {
  if (!m_bCacheValid && ButtonCells::Prepare(*this, dc, m_hCacheDC, kCells)) {
    const ButtonCells::OwnedStrip& strip = m_toggle.check ? m_on : m_off;
    const int w = m_rect.Width(), h = m_rect.Height();
    Gdiplus::Graphics g(m_hCacheDC);
    for (int k = 0; k < kCells; ++k) {
      const int frame = std::min(k, strip.Frames() - 1);
      ButtonCells::DrawFrameAt(g, strip.Image(), strip.FrameWidth(), strip.Height(), frame, k * w,
                               (h - strip.Height()) / 2);
    }
  }
  ButtonCells::Show(*this, dc, m_hCacheDC, m_toggle.state, kCells);
}

}  // namespace TESK
