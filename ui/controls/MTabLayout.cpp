#include "ui/controls/MTabLayout.h"

namespace TESK {

MTabLayout::MTabLayout(MObject* owner, UINT id, CRect rect, int visible) : MPanel(owner, id, rect, visible) {
  m_nFrameCount = 1;
  SetRunTimer(1);
}

// The base image, when one was set, belongs to the window's image cache, which deletes it.
MTabLayout::~MTabLayout() {}

void MTabLayout::DrawControl(HDC&, CRect) {}

int MTabLayout::DrawSubControls(HDC& dc, CRect dirty) {
  if (IsContentScrolled()) return 1;
  return MControl::DrawSubControls(dc, dirty);
}

int MTabLayout::OnCheckMouseResponse(UINT, CPoint pt) {
  CriticalSectionLock lock(m_childLock);
  for (MControl* child : m_children) {
    if (child && child->PtInRect(pt)) return 1;
  }
  return 0;
}

}  // namespace TESK
