// MTabCtrl: a self-drawn strip of tabs, horizontal or vertical. Each tab has an icon strip, a
// caption, the caller's id and an optional page control that is shown while the tab is
// selected; selecting a tab notifies the owner (NOTIFY_PRESSED, wParam = index), last, after
// the strip's state is final, and may slide the old page out and the new one in on a 30 ms
// window timer that stops when the slide ends. The tab records and their icon images belong
// to the control; pages belong to whoever created them (pages made by CreatePanel are the
// control's children and go with it). UI thread only.
//
// TabItemInfo crosses the library's boundary: the program reads a tab's id and rewrites its
// caption in the record it gets from GetItemInfo, so its fields keep their order and types.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// How the strip lays its tabs out. Any other value lays out and draws nothing.
enum TAB_TYPE { TAB_TYPE_HORIZONTAL = 0, TAB_TYPE_VERTICAL = 1 };

struct TabItemInfo {
  int visible;             // invisible tabs get an empty rectangle and are skipped
  Gdiplus::Image* image;   // icon strip, owned by the tab control; null without an icon
  int frameWidth;          // image width / frame count
  int imageHeight;
  int frameCount;
  RECT itemRect;           // window coordinates
  CString text;            // caption
  UINT id;                 // the caller's id of the tab
  RECT buttonRect;         // relative to the control; never laid out, so empty
  int state;
  int tooltip;             // the caption becomes the tab's tooltip through SetTabTooltip
  MControl* page;          // shown while the tab is selected; may be null
};

class TESK_API MTabCtrl : public MControlFont {
public:
  MTabCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~MTabCtrl() override;

  // Overrides in their base slot order.
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  int DrawSubControls(HDC& dc, CRect dirty) override;
  int OnCheckMouseResponse(UINT keys, CPoint pt) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlVisible(int visible) override;
  void SetControlWndVisible(int visible) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;
  // Added after MControlFont's operations.
  virtual int OnControlKeyUp(UINT key, UINT count, UINT modifiers);

  // Appends a tab; frames -1 means 3, width 0 takes the icon's frame width. Returns 1.
  int InsertItem(UINT id, const wchar_t* text, const wchar_t* image, MControl* page, int frames, int width);
  // Removes the tab (its page only when it is this control's child); out of range: nothing.
  // The selection keeps naming the same tab when an earlier one goes.
  void DeleteItem(int index);
  // Selects, notifies and shows the tab's page; the current index or one out of range does
  // nothing. Returns the previous selection.
  int SetSelectItem(int index);
  int GetSelectItem() const { return m_nSelect; }
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  // The record itself (the caller may rewrite its caption); null out of range.
  TabItemInfo* GetItemInfo(int index);
  UINT GetItemID(int index);
  int GetItemVisible(int index);
  // Stores the caption without redrawing; TRUE when the index is in range.
  BOOL SetItemText(int index, CString text);
  void SetItemVisible(int index, int visible);

  void SetTabType(TAB_TYPE type) { m_tabType = type; }
  void EnableAnimateChangeTab(int animate) { m_bAnimate = animate; }
  void SetUpdataRect(CRect rect) { m_updateRect = rect; }
  void SetTabCtrlWidth(int width) { m_nStripWidth = width; }
  void SetTabCtrlHeight(int height) { m_nStripHeight = height; }
  int GetCtrlWidth() const { return m_nStripWidth; }
  int GetCtrlHeight() const { return m_nStripHeight; }
  void SetLeftRightPading(int left, int right) {
    m_nLeftPadding = left;
    m_nRightPadding = right;
  }
  void SetTopBottomPading(int top, int bottom) {
    m_nTopPadding = top;
    m_nBottomPadding = bottom;
  }
  // The tab size: the requested size when every tab fits, else the share of the space
  // each tab gets, but never below minimum (minimum 0: always the requested size).
  void SetItemWidth(int width, int minWidth, int refresh);
  void SetItemHeight(int height, int minHeight, int refresh);
  void RefreshItems();
  // 1: shows the selected tab's page and hides the others; 0: hides every page.
  void SetTabCtrlVisible(int visible);
  int PtInTabButton(CPoint pt, TabItemInfo& item);
  // Registers text as the tab's tooltip, once per index.
  void SetTabTooltip(int index, CString text);
  void ClearTabTooltip() {}
  // Creates a page panel as this control's child, with the control's manager; only the
  // class name "MTabLayout" is known (null for any other).
  MControl* CreatePanel(const wchar_t* className, UINT id, CRect rect);

protected:
  void DrawControlHorizontal(HDC& dc, CRect dirty);
  void DrawControlVertical(HDC& dc, CRect dirty);
  // The tab at index, or null out of range (indexes come from stored state too).
  TabItemInfo* Item(int index) const;
  // Stores the size the rule gives for the space and, when it changed and refresh is set,
  // lays the tabs out again.
  void FitItems(int& itemSize, int requested, int minimum, int space, int refresh);
  // Fits the tabs again with the stored request of the strip's orientation.
  void ApplySizeRule(int refresh);
  // Inserts at index (out of range appends) and lays every tab out again.
  void InsertItem(int index, TabItemInfo& item);
  // Places the tabs from the control's padded corner. A refresh skips invisible tabs and
  // leaves a pixel between vertical tabs.
  void PlaceItems(bool refresh);
  // Shows the selected tab's page (when show is set) and hides the others.
  void ShowPages(bool show);
  // Draws the visible tabs of one cell of the cache (row or column) at origin.
  void DrawItems(Gdiplus::Graphics& g, CPoint origin, bool highlighted, bool vertical);

  TAB_TYPE m_tabType;
  std::vector<std::unique_ptr<TabItemInfo>> m_items;
  std::vector<RECT> m_separators;
  int m_nItemWidth;
  int m_nReqWidth;
  int m_nMinWidth;
  int m_nStripHeight;
  int m_nItemHeight;
  int m_nReqHeight;
  int m_nMinHeight;
  int m_nStripWidth;
  int m_nHover;
  int m_nSelect;
  int m_bAnimate;
  int m_nPrevious;
  int m_nSlideSteps;
  int m_nOffsetX;
  int m_nOffsetY;
  int m_nLeftPadding;
  int m_nRightPadding;
  int m_nTopPadding;
  int m_nBottomPadding;
  int m_bTooltipEnabled;
  int m_nLastTooltip;
  CRect m_updateRect;
  BYTE m_bMouseDown;

private:
  void StopSlideTimer();
  // Kept for the hover change of OnControlMouseMove; shows nothing.
  void SetAirBladderInfo(CRect rect, CString text);
};

}  // namespace TESK
