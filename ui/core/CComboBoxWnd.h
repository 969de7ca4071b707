// CComboBoxWnd: the drop-down of the combo boxes. A popup holding one CComboBoxList (id 88,
// the client area inset by 2), filled by the combo that opened it. A chosen row is reported
// to the parent object (the combo) as (0, NOTIFY_CLICKED, row, 19) before the drop-down
// closes itself; its window's destruction is reported as (0, 22, 0, 0). The combo owns and
// deletes the object; the list belongs to the popup's engine. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPopupWnd.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CComboBoxList;

class TESK_API CComboBoxWnd : public MPopupWnd {
public:
  CComboBoxWnd();

  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  int OnDestroy() override;

  // The background is drawn nine-slice with a border of 6.
  int LoadBKImage(CString file);
  int LoadBKImage(UINT id, CString type);
  // The list's operations; without a list AddItem gives -1 and the others do nothing.
  int AddItem(const wchar_t* text, long data, const wchar_t* image, Gdiplus::Color colour);
  void SetListFont(const wchar_t* family, int size, int style);
  void SetListAlignment(UINT flags);
  void SetListTextColor(Gdiplus::Color colour);
  void UpdateList();
  CComboBoxList* GetList() const { return m_pList; }

  static constexpr UINT kListId = 88;
  // The code of the report that the drop-down's window was destroyed.
  static constexpr UINT kDestroyedCode = 22;

private:
  void RepaintList();

  CComboBoxList* m_pList;
};

}  // namespace TESK
