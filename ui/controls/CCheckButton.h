// CCheckButton: a check box: the frame of its 8-frame strip for the cell (normal, hover, down,
// disabled, then the same four checked) at its left, the title after it. A click toggles the
// check state and reports NOTIFY_CLICKED; keys do nothing. A tab stop. Created by the
// factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/ToggleInput.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CCheckButton : public MControlFont {
public:
  CCheckButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int SetControlFocus(int focus) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;
  // The strip from the engine's cache; no repaint. 1, or 0 without an engine or image.
  int SetImage(UINT id, CString type, int frames) override;
  int SetImage(const wchar_t* file, int frames) override;

  int GetCheck() const { return m_toggle.check; }
  int SetCheck(int check);
  // The cell shown (0 to 7).
  int GetState() const { return m_toggle.state; }

private:
  ToggleInput::Toggle m_toggle;
};

}  // namespace TESK
