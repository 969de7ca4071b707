// CComboBoxList: the list panel inside a combo box's drop-down. It holds copies of the
// combo's items, draws only the rows in view (row height 30) with a fill for the hovered and
// the selected row, scrolls with the panel's vertical bar and the wheel, and reports a
// release after a press on a row to its owner (the drop-down) as (id, NOTIFY_CLICKED, row,
// 19). It owns its items; the drop-down's engine owns the list. UI thread; the item lock
// guards the rows against filling while drawing and hit testing.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/controls/ComboItem.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CComboBoxList : public MPanel {
public:
  CComboBoxList(MObject* owner, UINT id, CRect rect, int visible, int unused);
  ~CComboBoxList() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // Appends an item; the new row's index.
  int AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour);
  // Empties the list (and the title) with a repaint; 0 whether or not there was anything.
  int DelAllItems();
  int GetItemCount();
  int GetListHeight();
  int GetHoverRow() const { return m_nHover; }
  int GetSelectedRow() const { return m_nSelected; }
  int GetFirstVisibleRow() const { return m_nFirstVisible; }
  int GetLastVisibleRow() const { return m_nLastVisible; }
  // The row's hit rectangle from the last drawing; empty for a row outside the list.
  CRect GetItemRect(int row);

  static constexpr int kRowHeight = 30;
  static constexpr Gdiplus::ARGB kRowTextColour = 0xFF3F4440;
  static constexpr Gdiplus::ARGB kSelectedFill = 0xFF596EFF;
  static constexpr Gdiplus::ARGB kHoverFill = 0xFF9FABFF;

private:
  // Shows the vertical bar exactly when the rows are taller than the list; range = rows' height.
  void ApplyScrollRule();
  void RequestRepaint();
  // Rows in view for the bar's position: first and last row and the pixels of the first
  // row above the view.
  void ComputeView(int& offset, int& first, int& last, int& firstOffset) const;

  std::vector<std::unique_ptr<COMBO_ITEM>> m_items;
  CriticalSection m_itemLock;
  int m_nHover;
  int m_nSelected;
  int m_nRowHeight;
  int m_nFirstVisible;
  int m_nLastVisible;
  int m_nFirstOffset;
  // The rows' horizontal alignment (0 near, 1 centre, 2 far) as last drawn.
  UINT m_nRowAlignment;
};

}  // namespace TESK
