// KeyLayerButton: a text-only radio button for choosing a key layer: its title centred, white,
// dimmed while hovered, pressed or disabled, in the library's selection colour while checked. A
// strip may be set but is not drawn. Groups as a radio button (GroupButton), by default in the
// group "KeyLayerButton". Class name "KeyLayerButton". Created by the panel factory, always
// enabled; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/GroupButton.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API KeyLayerButton : public GroupButton {
public:
  KeyLayerButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  const wchar_t* GetClassNameW() const override;
  void DrawControl(HDC& dc, CRect dirty) override;
};

}  // namespace TESK
