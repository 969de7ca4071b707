#include "ui/controls/SwatchPanel.h"

#include "ui/controls/CColorButton.h"
#include "ui/controls/PictureShow.h"

namespace TESK {

SwatchPanel::SwatchPanel(MObject* owner, UINT id, CRect rect, int visible) : MPanel(owner, id, rect, visible) {}

void SwatchPanel::DrawControl(HDC& dc, CRect) {
  const int w = m_rect.Width(), h = m_rect.Height();
  if (w <= 0 || h <= 0) return;
  if (!m_bCacheValid && !PictureShow::CopySurfaceBelow(*this, dc, m_hCacheDC, w)) return;
  if (m_hCacheDC) ::BitBlt(dc, m_rect.left, m_rect.top, w, h, m_hCacheDC, 0, 0, SRCCOPY);
}

int SwatchPanel::OnControlMouseMove(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int SwatchPanel::OnControlLButtonDown(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int SwatchPanel::OnControlLButtonUp(UINT, CPoint) { return m_bEnabled ? 1 : 0; }

int SwatchPanel::OnControlScroll(int, UINT, CPoint) { return 1; }

CColorButton* SwatchPanel::AddSwatch(UINT id, CRect rect, COLORREF colour, const wchar_t* group) {
  auto* swatch = dynamic_cast<CColorButton*>(CreateControl(L"CColorButton", id, rect, L"", 1, 1));
  if (swatch) {
    swatch->SetColor(colour);
    swatch->SetGroupName(group);
  }
  return swatch;
}

void SwatchPanel::PlaceChild(MControl* child, CRect rect) {
  if (!child) return;
  CRect dirty = child->GetRect();
  child->SetControlRect(rect);
  dirty |= rect;
  if (child->IsVisible()) OnControlUpdate(dirty, 1, child);
}

void SwatchPanel::RepaintPanel() {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, 1, this);
}

CColorButton* SwatchPanel::FirstCheckedSwatch(UINT first, UINT last) {
  for (UINT id = first; id <= last; ++id) {
    auto* swatch = dynamic_cast<CColorButton*>(GetControl(id));
    if (swatch && swatch->GetCheck()) return swatch;
  }
  return nullptr;
}

void SwatchPanel::EnableEach(const std::vector<MControl*>& controls, int enabled) {
  for (MControl* control : controls) {
    if (!control || control->IsEnabled() == enabled) continue;
    control->SetControlEnabled(enabled);
    if (control->IsVisible() && control->GetParantObject()) {
      control->GetParantObject()->OnControlUpdate(control->GetRect(), 1, control);
    }
  }
}

}  // namespace TESK
