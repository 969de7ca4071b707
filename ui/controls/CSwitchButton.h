// CSwitchButton: an on/off switch drawn from two strips it owns (on while checked, off
// otherwise), one frame per look (normal, hover or pressed, -, disabled). A click toggles it
// and reports NOTIFY_CLICKED with the new check state in lParam; GetCheck already answers the
// new state then. No keys. A tab stop. Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ButtonCells.h"
#include "ui/controls/ToggleInput.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CSwitchButton : public MControlFont {
public:
  CSwitchButton(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  // The on and off strips from the skin folder (a missing file leaves that side without one);
  // no repaint. Always 1.
  using MControlFont::SetImage;
  int SetImage(const wchar_t* on, const wchar_t* off, int frames);
  int GetCheck() const { return m_toggle.check; }
  // Also while disabled; re-renders on a change. The check state.
  int SetCheck(int check);
  int GetState() const { return m_toggle.state; }

private:
  ToggleInput::Toggle m_toggle;
  ButtonCells::OwnedStrip m_on;
  ButtonCells::OwnedStrip m_off;
};

}  // namespace TESK
