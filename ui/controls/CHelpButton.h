// CHelpButton: a small picture (its whole strip stretched over the control) that shows its
// title, the help text, as the window's balloon tip while the pointer is over it, and hides
// that balloon when the pointer leaves (a balloon another control has claimed since stays).
// It has no states and sends nothing. Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/MAirBladder.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CHelpButton : public MControlFont {
public:
  CHelpButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;

  void SetAirbladderMode(AIRBLADDER_MODE mode) { m_balloonMode = mode; }

private:
  AIRBLADDER_MODE m_balloonMode;
};

}  // namespace TESK
