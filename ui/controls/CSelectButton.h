// CSelectButton: a radio-like select button with four looks (normal, hover, selected, disabled):
// the strip's frame for the look at its left and the title after it. Selected by a click or a
// counting key, it unselects the visible, enabled select buttons of its group (GroupButton).
// Class name "CSelectButton". Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/GroupButton.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CSelectButton : public GroupButton {
public:
  CSelectButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override;
  void DrawControl(HDC& dc, CRect dirty) override;
};

}  // namespace TESK
