#include "ui/keyboard/KeyFuncType.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/keyboard/FuncTypeTile.h"

namespace TESK {

KeyFuncType::KeyFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : ScrolledTileList(owner, id, rect, visible, 80, 70, 10, 10) {}

void KeyFuncType::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) {
    g.SetTextRenderingHint(m_textRenderingHint);
    CriticalSectionLock lock(m_itemLock);
    PlaceTiles();
    DrawFuncTiles(g, *this, m_items, m_pointer.select, m_pointer.hover, FuncCaption::Band);
  });
}

}  // namespace TESK
