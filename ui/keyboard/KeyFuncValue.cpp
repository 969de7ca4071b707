#include "ui/keyboard/KeyFuncValue.h"

#include "ui/controls/SurfaceCell.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/FuncTypeTile.h"

namespace TESK {

namespace {

constexpr int kTileWidth = 80, kTileHeight = 36, kGap = 10;
// The drag picture takes the frame's outer half with it.
constexpr int kDragMargin = 2;

}  // namespace

KeyFuncValue::KeyFuncValue(MObject* owner, UINT id, CRect rect, int visible, int)
    : FuncItemList(FuncListReport::SelectedIndex, owner, id, rect, L"", visible, 1, 1) {
  m_bDragDrop = 1;
}

void KeyFuncValue::AddItem(CString caption, int data, CString pictureFile) {
  Append(NewItem(caption, data, pictureFile));
}

void KeyFuncValue::GetCurValue(int& data, CString& caption) {
  CriticalSectionLock lock(m_itemLock);
  if (!PaintedItemPointer::Names(m_items, m_pointer.select)) return;
  data = m_items[m_pointer.select]->data;
  caption = m_items[m_pointer.select]->caption;
}

void KeyFuncValue::SetControlRect(CRect rect) {
  m_rect = rect;
  RepaintIfVisible();
}

HBITMAP KeyFuncValue::GetControlDropBitmap() {
  if (!m_pManager) return nullptr;
  CRect part;
  {
    CriticalSectionLock lock(m_itemLock);
    if (!PaintedItemPointer::Names(m_items, m_pointer.hover)) return nullptr;
    // The drop's receiver reads the selection to learn what was dragged.
    m_pointer.select = m_pointer.hover;
    part = m_items[m_pointer.hover]->rect;
  }
  part.InflateRect(kDragMargin, kDragMargin);
  return m_pManager->GetDropBitmap(this, part, 0);
}

void KeyFuncValue::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) {
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    CriticalSectionLock lock(m_itemLock);
    PlaceFuncTiles(m_items, m_rect.Width(), kTileWidth, kTileHeight, kGap, kGap, 0);
    DrawFuncTiles(g, *this, m_items, m_pointer.select, m_pointer.hover, FuncCaption::Whole);
  });
}

}  // namespace TESK
