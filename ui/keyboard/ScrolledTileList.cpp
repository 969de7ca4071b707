#include "ui/keyboard/ScrolledTileList.h"

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/keyboard/FuncTypeTile.h"

namespace TESK {

namespace {

constexpr int kWheelRows = 10;

}  // namespace

ScrolledTileList::ScrolledTileList(MObject* owner, UINT id, CRect rect, int visible, int tileWidth, int tileHeight,
                                   int gapX, int gapY)
    : FuncItemList(FuncListReport::SelectedIndex, owner, id, rect, visible),
      m_nTileWidth(tileWidth),
      m_nTileHeight(tileHeight),
      m_nGapX(gapX),
      m_nGapY(gapY),
      m_nContentHeight(0) {
  m_pScrollH->SetControlVisible(0);
}

void ScrolledTileList::AddItem(CString caption, int data, CString pictureFile) {
  Append(NewItem(caption, data, pictureFile));
}

void ScrolledTileList::SetWitdhAndHeight(int width, int height) {
  m_nTileWidth = width;
  m_nTileHeight = height;
}

void ScrolledTileList::SetItemSplit(int gapX, int gapY) {
  m_nGapX = gapX;
  m_nGapY = gapY;
}

void ScrolledTileList::SetAllItemHeight(int height) {
  m_nContentHeight = height;
  RepaintIfVisible();
}

void ScrolledTileList::SetControlRect(CRect rect) {
  m_rect = rect;
  PlaceOwnBars(rect, false);
  FitBar(m_pScrollV, m_nContentHeight, rect.Height());
}

LRESULT ScrolledTileList::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  return PassBarMessage(id, code, wParam, lParam);
}

int ScrolledTileList::OnControlScroll(int, UINT direction, CPoint) {
  if (m_pScrollV->ScrollRow(direction == 1 ? kWheelRows : -kWheelRows)) RepaintIfVisible();
  return 1;
}

int ScrolledTileList::FlowWidth() const {
  return m_rect.Width() - (m_pScrollV->IsVisible() ? m_nScrollThickness : 0);
}

void ScrolledTileList::PlaceTiles() {
  PlaceFuncTiles(m_items, FlowWidth(), m_nTileWidth, m_nTileHeight, m_nGapX, m_nGapY,
                 ContentScrollOffset(m_nContentHeight));
}

}  // namespace TESK
