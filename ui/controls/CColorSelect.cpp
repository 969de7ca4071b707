#include "ui/controls/CColorSelect.h"

#include <vector>

#include "ui/controls/CColorButton.h"

namespace TESK {

namespace {

constexpr UINT kFirstId = 631;
// The pressed swatch is searched over one id more than there are swatches; that id has no child.
constexpr UINT kLastSearchedId = 638;
constexpr COLORREF kColours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
constexpr int kStep = 25;

CRect SwatchRect(const CRect& r, int i) {
  return CRect(r.left, r.top + 5 + kStep * i, r.left + 20, r.top + 25 + kStep * i);
}

}  // namespace

CColorSelect::CColorSelect(MObject* owner, UINT id, CRect rect, int visible)
    : SwatchPanel(owner, id, rect, visible), m_pSwatches{} {}

void CColorSelect::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  for (int i = 0; i < kSwatches; ++i) {
    m_pSwatches[i] = AddSwatch(kFirstId + i, SwatchRect(m_rect, i), kColours[i], L"clr_palette_group");
  }
  if (m_pSwatches[kSwatches - 1]) m_pSwatches[kSwatches - 1]->SetVisibleBorder(true);
}

void CColorSelect::SetControlRect(CRect rect) {
  m_rect = rect;
  for (int i = 0; i < kSwatches; ++i) PlaceChild(m_pSwatches[i], SwatchRect(rect, i));
  RepaintPanel();
}

void CColorSelect::SetControlEnabled(int enabled) {
  m_bEnabled = enabled;
  EnableEach(std::vector<MControl*>(m_pSwatches, m_pSwatches + kSwatches), enabled);
}

void CColorSelect::SetColorIndex(int index) {
  if (index >= 0 && index < kSwatches) {
    if (m_pSwatches[index]) m_pSwatches[index]->SetCheck(1);
  } else if (index == -1) {
    for (CColorButton* swatch : m_pSwatches) {
      if (swatch) swatch->SetCheck(0);
    }
  }
}

LRESULT CColorSelect::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id >= kFirstId && id <= kLastSearchedId && code == NOTIFY_PRESSED) {
    CColorButton* swatch = FirstCheckedSwatch(kFirstId, kLastSearchedId);
    if (swatch && swatch->GetColor() != 0) {
      SendMessageW(NOTIFY_COLORCHANGED, swatch->GetControlID() - kFirstId, swatch->GetColor());
    }
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

}  // namespace TESK
