// MComboBox2: the data-only combo box of the device settings: a plain face with an arrow
// icon at the right and an aligned title, no in-place edit. Every release on it opens a new
// drop-down (also right after a press closed the previous one); a chosen row is reported as
// (id, NOTIFY_CLICKED, row, 0). The program's worker calls SelectData, SetCurSel and
// GetCurData; see ComboBoxBase for the threads and the lock.
#pragma once

#include <windows.h>

#include "ui/controls/ComboBoxBase.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MComboBox2 : public ComboBoxBase {
public:
  MComboBox2(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
};

}  // namespace TESK
