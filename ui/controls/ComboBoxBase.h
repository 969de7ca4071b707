// ComboBoxBase: what the two combo boxes (MComboBox, MComboBox2) share between MControlFont
// and themselves: the item list with its lock, the current selection, the owned drop-down
// with its opening rule, the face's state and its four cached cells, the text area, and the
// mouse handling of the face. It adds no virtual operation, so both combos keep
// MControlFont's slot order.
//
// Threads: the program's worker calls SelectData, SetCurSel and GetCurData while the window's
// thread draws and edits. The item lock guards the items, the selection and the title (the
// drawing takes a copy under it); repaint requests from another thread take the engine's
// queued path. The drop-down is opened, chosen from and disposed of on the window's thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/controls/ComboItem.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CComboBoxWnd;

class TESK_API ComboBoxBase : public MControlFont {
public:
  ~ComboBoxBase() override;

  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // Items. Indexes outside the list give 0, -1 or "" as each says; see the combo header.
  int InsertItem(int index, const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour);
  int AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour);
  int SetItemData(int index, long data);
  long GetItemData(int index);
  int SetItemText(int index, CString text);
  CString GetItemText(int index);
  int SetCurSel(int index);
  int GetCurSel();
  int GetItemCount();
  long GetCurData();
  int FindData(long data);
  int SelectData(long data);
  int DeleteItem(int index);
  int DelAllItems();

  // The drop-down's background (the file wins when not empty) and scroll bar images.
  int SetBackImage(const wchar_t* file);
  int SetBackImage(UINT id, CString type);
  void SetScrollResID(UINT vertical, UINT horizontal);
  int SetShowModeMID(int left, int top, int right, int bottom);
  void SetTextRect(CRect rect) { m_rcText = rect; }
  void ResetTextRect();

  CComboBoxWnd* GetDropDown() const { return m_pDropDown.get(); }
  int GetState() const { return m_nState; }

  // The combos' own release, the drop-down's choice and its destruction, as OnMessage sees them.
  static constexpr UINT kOwnReleaseId = 9;
  static constexpr UINT kDropDownClosedCode = 22;
  static constexpr LPARAM kChosenRowMark = 19;
  static constexpr int kDropDownRows = 5;

protected:
  // listExtra: pixels the drop-down adds to its rows; textInsetRight: the default text
  // area's distance from the right edge.
  ComboBoxBase(MObject* owner, UINT id, CRect rect, int visible, int enabled, int listExtra, int textInsetRight);

  // Opens a new drop-down under the control, filled with the items (the old one goes first).
  void OpenDropDown();
  // Destroys the drop-down's window (when it still exists) and deletes it; detach first
  // when the combo must hear nothing more from it.
  void DisposeDropDown(bool detach);
  // A repaint request to the owner while visible; from another thread through the engine.
  void Repaint(int rebuild);
  // Sets the title under the item lock; the copy that drawing uses.
  void SetTitleLocked(const CString& title);
  CString GetTitleLocked();

  // The face: four cells (normal, hover, pressed, disabled) side by side, each the window's
  // background with drawImage's picture and the title in layout (cell-relative) with the
  // alignment; the disabled cell's title is grey. Then the cell of the state is shown.
  void DrawFace(HDC& dc, const std::function<void(Gdiplus::Graphics&, const CRect& cell, int index)>& drawImage,
                int textLeft, int textRight, UINT alignment);

  std::vector<std::unique_ptr<COMBO_ITEM>> m_items;
  CriticalSection m_itemLock;
  int m_nCurSel;
  std::unique_ptr<CComboBoxWnd> m_pDropDown;
  int m_nState;
  CRect m_rcText;
  int m_showMargins[4];
  CString m_strBackFile;
  UINT m_backResId;
  CString m_strBackResType;
  UINT m_scrollIds[2];

private:
  bool ValidIndex(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
  // Makes index (-1 to count - 1) current and copies its text into the title; the lock is held.
  bool SelectLocked(int index);

  int m_nListExtra;
  int m_nTextInsetRight;
};

}  // namespace TESK
