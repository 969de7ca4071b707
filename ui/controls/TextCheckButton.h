// TextCheckButton: a check button shown as its title in a colour per look (normal, hover,
// checked, disabled), over the strip's frame for the cell when it has one. A click toggles and
// reports NOTIFY_CLICKED; Space while it has the focus flag, or its hot key, toggles and
// reports NOTIFY_CHECKED. A tab stop. Created by the engine's factory, always enabled; window's
// thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ToggleInput.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API TextCheckButton : public MControlFont {
public:
  TextCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  int GetCheck() const { return m_toggle.check; }
  int SetCheck(int check);
  // The four colours (normal becomes the text colour); no repaint.
  void SetTextButtonColor(Gdiplus::Color normal, Gdiplus::Color hover, Gdiplus::Color checked,
                          Gdiplus::Color disabled);
  int GetState() const { return m_toggle.state; }

private:
  ToggleInput::Toggle m_toggle;
  Gdiplus::ARGB m_hoverColor;
  Gdiplus::ARGB m_checkedColor;
  Gdiplus::ARGB m_disabledColor;
};

}  // namespace TESK
