// CRadioButton: a radio button: the frame of its 8-frame strip for the cell at its left and the
// title after it, placed by the alignments. Checked by a click or a counting key, it unchecks
// the other radio buttons of its group (GroupButton). Class name "RadioButton". Created by the
// factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/GroupButton.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CRadioButton : public GroupButton {
public:
  CRadioButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override;
  void DrawControl(HDC& dc, CRect dirty) override;
};

}  // namespace TESK
