// MenuItem: one entry of a popup menu (MenuWnd), or a separator line. It draws four cached
// cells (normal, hover, pressed or checked, disabled) and shows the one of its state; a
// release on it after a press on it, or a release on it from the plain state, reports
// (id, NOTIFY_CLICKED, 0, 0) to its parent object, the menu. The menu's engine owns it; an
// open submenu it refers to is closed when the item goes. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class MenuWnd;

class TESK_API MenuItem : public MControlFont {
public:
  MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);
  ~MenuItem() override;

  const wchar_t* GetClassNameW() const override;
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  int GetCheck() const { return m_nCheck; }
  // Checked items show the pressed cell.
  void SetControlCheck(int check);
  // Entries are never checkable through SetCheck: nothing changes, 0.
  int SetCheck(int) { return 0; }
  int ResetGroupCheck() { return 1; }
  CString GetGroupValue() { return L""; }
  MenuWnd* GetParentMenu() { return nullptr; }
  void ShowPopupMenu() {}
  int IsHover() const { return m_nState == 1; }
  int IsPopup() const { return m_bPopup; }
  void SetSeparator(int separator) { m_bSeparator = separator; }
  int IsSeparator() const { return m_bSeparator; }
  void SetPopupMenu(MenuWnd* menu) { m_pPopupMenu = menu; }
  MenuWnd* GetPopupMenu() const { return m_pPopupMenu; }
  void SetTextIndent(int indent) { m_nTextIndent = indent; }
  int GetTextIndent() const { return m_nTextIndent; }
  void SetFrameWidth(int width) { m_nFrameWidthStored = width; }
  CString GetGroupName() const { return m_strGroupName; }
  void SetGroupName(CString name) { m_strGroupName = name; }
  CString GetValue() const { return m_strValue; }
  int GetState() const { return m_nState; }

  static constexpr Gdiplus::ARGB kHoverFrame = 0xFF9FABFF;
  static constexpr Gdiplus::ARGB kPressedFrame = 0xFF596EFF;

private:
  // Shows another cell: a repaint request (the cached cells stay valid) while visible.
  bool ShowState(int state);

  int m_nState;
  int m_nCheck;
  int m_bPressed;
  int m_bSeparator;
  int m_bPopup;
  MenuWnd* m_pPopupMenu;
  int m_nTextIndent;
  int m_nFrameWidthStored;
  CString m_strGroupName;
  CString m_strValue;
};

}  // namespace TESK
