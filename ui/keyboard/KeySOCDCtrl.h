// KeySOCDCtrl: the key slots of the RS, SOCD and OKS editors and of the advanced-key
// editor's key chooser (KeySlotRow): types 6, 8 and 10 set the slots side by side, 60 x 60
// and 75 px apart. Made by both factories ("KeySOCDCtrl"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeySlotRow.h"

namespace TESK {

class TESK_API KeySOCDCtrl : public KeySlotRow {
public:
  KeySOCDCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~KeySOCDCtrl() override;
};

}  // namespace TESK
