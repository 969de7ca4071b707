// KeyLayerCtrl: the Fn-layer tabs, one text tab per layer the keyboard reports, laid out as a
// horizontal strip (fixed-width tabs, an underline under the current one) or a vertical list
// (full-width rows, a side bar beside the current one). The program adds the tabs with their
// layer ids, selects the current layer by id and is told (NOTIFY_CLICKED, wParam the tab's
// index, lParam its layer id) when the user picks a tab. The tabs belong to the control and
// are walked and changed under its lock. UI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MRender.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// How the tabs are laid out; any other value draws nothing.
enum KEY_LAYER_CTRL_TYPE { KEY_LAYER_HORIZONTAL = 0, KEY_LAYER_VERTICAL = 1 };

class TESK_API KeyLayerCtrl : public MControlFont {
public:
  KeyLayerCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled, KEY_LAYER_CTRL_TYPE type);

  // Overrides, in slot order.
  ~KeyLayerCtrl() override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Appends a tab; returns its index.
  int AddKeyLayer(CString name, int id);
  // The first tab with the id becomes the selected one (none matching: no change); repaints.
  void SetSelectKeyLayer(int id);
  // The selected tab's layer id; -1 when no tab is selected.
  int GetSelectKeyLayerID();
  // Renames the tab at index; an index outside the list does nothing.
  void SetItemText(int index, CString name);
  int GetItemCount();
  // The tab's name and layer id; empty and -1 for an index naming no tab.
  CString GetItemText(int index);
  int GetItemID(int index);
  // Deletes every tab; the first tab added afterwards is the selected one.
  void ClearAllItems();
  void SetKeyLayerCtrlType(KEY_LAYER_CTRL_TYPE type) { m_type = type; }
  KEY_LAYER_CTRL_TYPE GetKeyLayerCtrlType() const { return m_type; }

protected:
  struct Tab {
    int id;
    CString name;
    CRect rect;  // control coordinates, from the last paint
  };
  // The tab's rectangle of the last paint holds pt (window coordinates); m_lock held.
  bool TabContains(int index, CPoint pt) const;
  void RequestRepaint();
  // Lays the tabs out and draws them on the surface; m_lock held.
  void DrawTabs(Gdiplus::Graphics& g, int width);

  std::vector<std::unique_ptr<Tab>> m_tabs;
  CriticalSection m_lock;
  KEY_LAYER_CTRL_TYPE m_type;
  int m_hover;
  int m_select;
  FallbackFontFamily m_fallbackFamily;
};

}  // namespace TESK
