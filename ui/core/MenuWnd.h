// MenuWnd: the library's popup menu, a "Menu Window" holding one MenuItem per entry laid out
// top to bottom (SetMenuPoint), widened to its widest entry. The program makes one under a
// button, runs it with ShowModal or ShowModal2, and learns the chosen entry from the notify
// message the menu posts to its owner window: (notify, 0, item id). A choice or any loss of
// activation closes the menu; ShowModal then returns 0 either way. The object belongs to its
// creator; its items belong to its engine. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/PopupMenuBase.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MenuItem;

class TESK_API MenuWnd : public PopupMenuBase {
public:
  explicit MenuWnd(MObject* parent);

  // Stores the notify message, owner and width, sets the background, and creates the window
  // at point (width x width until SetMenuPoint sizes it); 1 when the window was made.
  int Create(HWND owner, CPoint point, UINT notifyMessage, CString backFile, int border, int width,
             enumBackMode mode);
  int Create(HWND owner, CPoint point, UINT notifyMessage, UINT backResource, int border, int width,
             enumBackMode mode);
  int Create(HWND owner, CPoint point, UINT notifyMessage);

  // Adds an entry (widening the menu to its text) and lays the menu out again; always -1.
  // The icon is kept by the item as a 4-frame strip but not drawn; the last two are unused.
  int AddMenu(CString text, UINT id, CString iconFile, int, int);
  int AddMenu(CString text, UINT id, int iconResource, int, int);
  int AddSeparator(UINT id, CString iconFile);
  // Places the entries from the top margin down and sizes the window to them.
  void SetMenuPoint();

  void SetMenuFont(CString family, int size, int style);
  void SetTextIndent(int indent) { m_nTextIndent = indent; }
  void SetItemHeight(int height) { m_nItemHeight = height; }
  void SetMenuWidth(int width) { m_nWidth = width; }
  int GetMenuWidth() const { return m_nWidth; }
  void SetMargins(int top, int bottom) {
    m_nTopMargin = top;
    m_nBottomMargin = bottom;
  }
  CString GetMenuFontName() const { return m_strFontName; }
  int GetMenuFontSize() const { return m_nFontSize; }
  int GetMenuFontStyle() const { return m_nFontStyle; }

protected:
  int CreateMenuWindow(HWND owner, CPoint point, UINT notifyMessage, int width);
  MenuItem* AddEntry(const CString& text, UINT id);

  CString m_strFontName;
  int m_nFontSize;
  int m_nFontStyle;
  int m_nTextIndent;
  int m_nItemHeight;
  int m_nWidth;
  int m_nTopMargin;
  int m_nBottomMargin;
};

}  // namespace TESK
