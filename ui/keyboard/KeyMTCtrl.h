// KeyMTCtrl: the key slots of the MT and TGL editors (KeySlotRow): type 2 stacks the slots
// as a column of 70 x 40 slots 55 px apart; type 4 draws every slot as one 60 x 60 slot
// (the last on top, always with the thick frame) and selects slot 0 at each paint. Made by
// both factories ("KeyMTCtrl"); window thread only.
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeySlotRow.h"

namespace TESK {

class TESK_API KeyMTCtrl : public KeySlotRow {
public:
  KeyMTCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~KeyMTCtrl() override;
};

}  // namespace TESK
