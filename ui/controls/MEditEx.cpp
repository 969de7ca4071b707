#include "ui/controls/MEditEx.h"

namespace TESK {

MEditEx::MEditEx(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int other)
    : MRichEdit(owner, id, rect, tip, visible, other) {
  m_lWinStyle = WS_HSCROLL | ES_AUTOHSCROLL;
}

void MEditEx::DrawControl(HDC& dc, CRect update) {
  DrawStateCells(dc, m_rect.Width(), TipLayout::CentredLower);
  DrawEngineText(dc, update);
}

void MEditEx::SetControlRect(CRect rect) {
  m_rect = rect;
  if (!m_pHost) return;
  LayoutTextArea(CentreTextArea(rect, 0), false, m_nScrollThickness);
}

}  // namespace TESK
