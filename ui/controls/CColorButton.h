// CColorButton: a round colour swatch, exclusive within its group: a press checks it, unchecks
// the visible, enabled colour buttons of its group (ButtonGroup) and reports NOTIFY_PRESSED;
// the release reports NOTIFY_CLICKED as MButton's does. While checked it shows its down cell.
// Class name "ColorButton". Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CColorButton : public MControlFont {
public:
  CColorButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  const wchar_t* GetClassNameW() const override;
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  // The swatch colour (drawn opaque); re-renders when it changes.
  void SetColor(COLORREF colour);
  COLORREF GetColor() const { return m_color; }
  // The bordered look; no repaint.
  void SetVisibleBorder(bool border) { m_bBorder = border; }

  int GetCheck() const { return m_nCheck; }
  // Nothing while disabled; on a change the group is cleared. The check state.
  int SetCheck(int check);
  // The check state and its cell, without the enabled test and without the group walk.
  void SetControlCheck(int check);
  int ResetGroupCheck();
  void SetGroupName(const wchar_t* name) { m_strGroupName = name ? name : L""; }
  CString GetGroupName() const { return m_strGroupName; }
  // Unchecked by another member's walk: normal, repainted, not notified.
  void ClearByGroup();
  // The cell shown: 2 while checked, else the state.
  int GetCell() const { return m_nCheck ? 2 : m_nState; }

private:
  void DrawSwatch(Gdiplus::Graphics& g, int k);

  int m_nState;
  int m_nCheck;
  COLORREF m_color;
  bool m_bBorder;
  CString m_strGroupName;
};

}  // namespace TESK
