// MComboBox: the combo box with a four-frame face image drawn nine-slice. A release on it
// opens its drop-down (CComboBoxWnd) with the items; a chosen row becomes the current item
// and is reported to the owner as (id, NOTIFY_CLICKED, row, 0). A press while the drop-down
// is open closes it (the drop-down loses activation), and a release within 200 ms of that
// close only disposes of it. With SetShowEdit(1) its title can be edited in place through a
// native edit window (CEditWnd2), reported as NOTIFY_EDITBEGIN, NOTIFY_TEXTCHANGED and
// NOTIFY_EDITEND. It owns its items, its drop-down and its edit font; the edit window deletes
// itself with its window. Threads as ComboBoxBase.
#pragma once

#include <windows.h>

#include "ui/controls/ComboBoxBase.h"
#include "ui/core/GdiHandles.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CEditWnd2;

class TESK_API MComboBox : public ComboBoxBase {
public:
  MComboBox(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~MComboBox() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonDblClk(UINT keys, CPoint pt) override;

  // In-place editing.
  void SetShowEdit(int show) { m_bShowEdit = show; }
  void SetEditBKColor(COLORREF colour) { m_editBackColour = colour; }
  COLORREF GetEditBKColor() const { return m_editBackColour; }
  void SetEditWindow(CEditWnd2* edit) { m_pEdit = edit; }
  CEditWnd2* GetEditWindow() const { return m_pEdit; }
  CString GetTitleEx() { return GetTitleLocked(); }
  void ShowEdit();
  void HideEdit();
  // The edit window's text while it is shown, else the title.
  CString GetEditText();
  // Sets the title when it differs (no repaint).
  void SetEditText(const wchar_t* text);
  // The edit window's text changed: the title follows, the owner hears NOTIFY_TEXTCHANGED.
  void OnEditTextChange(const CString& text);
  CRect GetTextRect() { return CalcTextRect(1); }
  // The text area in window coordinates, centred on the font's line height.
  CRect CalcTextRect(int recompute);
  // The text colour as a GDI colour.
  COLORREF GetEditTextColor() const;
  // The edit window's font, built once from the title's family, size and style.
  HFONT GetDefaultFont();

  // A release this soon after the drop-down closed only disposes of it.
  static constexpr DWORD kReopenDelayMs = 200;

protected:
  DWORD m_closeTime;
  int m_bShowEdit;
  CEditWnd2* m_pEdit;
  ScopedGdiObject<HFONT> m_editFont;
  COLORREF m_editBackColour;
};

}  // namespace TESK
