// KeyTypeTab: a strip of text tabs with which a page picks a group of key functions. The
// tabs lie in a row (fixed-size cells 30 px apart, the current one underlined) or in a
// column (cells stacked, the current one on a light rounded plate); a release over a tab
// selects it and tells the owner NOTIFY_CLICKED (wParam: the tab's index), also when it was
// selected already. The page adds its tabs once and reads the current one with
// GetSelectItem; the first tab counts as selected until another is picked.
//
// The tabs are owned by the control; the tab lock guards their list and is never held while
// the control calls out. Tab rectangles are set by every paint, and the pointer hits the
// rectangles of the last one. Made by both factories ("KeyTypeTab", as a column); window
// thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/PaintedItemPointer.h"

namespace TESK {

// The strip's orientation; any other value draws nothing, so no tab can be hit.
enum KEY_TYPE_TAB_TYPE : int { KEY_TYPE_TAB_HORIZONTAL = 0, KEY_TYPE_TAB_VERTICAL = 1 };

class TESK_API KeyTypeTab : public MControlFont {
public:
  KeyTypeTab(MObject* owner, UINT id, CRect rect, int visible, int enabled, KEY_TYPE_TAB_TYPE type);

  // Overrides in their base slot order.
  ~KeyTypeTab() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Appends a tab (data is kept for the page, unused here); its index.
  int AddKeyType(CString name, int data);
  // Stores index as the selected one, without a range test (an index naming no tab shows
  // none selected), and redraws.
  void SetSelectKeyType(int index);
  int GetSelectItem();
  // Renames the tab at index and redraws; nothing for an index naming no tab.
  void SetItemText(int index, CString name);
  // The tab's name; empty for an index naming no tab.
  CString GetItemText(int index);
  int GetItemCount();
  void SetItemWidthAndHeight(int width, int height);
  // Deletes every tab: no hover, the selection back on the first index. Redraws.
  void ClearAllItems();
  void SetKeyTypeTabType(KEY_TYPE_TAB_TYPE type);
  KEY_TYPE_TAB_TYPE GetKeyTypeTabType() const { return m_type; }

private:
  struct Tab {
    CString name;
    int data;
    CRect rect;  // control coordinates of the last paint; empty before the first
  };

  // Lays the tabs out and draws them into the control's cell.
  void RenderTabs(Gdiplus::Graphics& g);

  std::vector<std::unique_ptr<Tab>> m_tabs;
  CriticalSection m_tabLock;
  KEY_TYPE_TAB_TYPE m_type;
  PaintedItemPointer m_pointer;
  int m_nItemWidth;
  int m_nItemHeight;
};

}  // namespace TESK
