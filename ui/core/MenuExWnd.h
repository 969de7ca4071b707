// MenuExWnd: the function-menu popup, whose whole client area is one "KeyMenuFuncType" list
// (id 100) made by the engine's factory; AddItem fills it. A row chosen in the list is posted
// to the owner window as (notify, row data, 100) and closes the menu; a loss of activation
// closes it without a report. Before Create there is no list and AddItem does nothing. It
// shares the popup skeleton and the menus' report (and so keeps the popup's colour key and
// alpha, which it never uses). The object belongs to its creator. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/PopupMenuBase.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class KeyMenuFuncType;

class TESK_API MenuExWnd : public PopupMenuBase {
public:
  explicit MenuExWnd(MObject* parent);

  // Creates the window over rect with its background (whole image, border 10, per-pixel
  // alpha) and the list inset by 10; 1 when the window was made, even without a list.
  int Create(HWND owner, CRect rect, UINT notifyMessage, CString backFile);
  // Appends a row to the list (caption, description, data, icon file relative to the skin
  // folder); nothing without a list.
  void AddItem(CString text, CString secondText, int data, CString icon);
  KeyMenuFuncType* GetList() const { return m_pList; }

  static constexpr UINT kListId = 100;

protected:
  KeyMenuFuncType* m_pList;
};

// The function menu the keyboard pages offer; it behaves as MenuExWnd.
class TESK_API KeyMenuWnd : public MenuExWnd {
public:
  explicit KeyMenuWnd(MObject* parent);
};

}  // namespace TESK
