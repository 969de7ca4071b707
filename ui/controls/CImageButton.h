// CImageButton: a push button that shows a picture and gives its title as the window's
// balloon tip while hovered (balloon mode 1 anchors it at the middle of the right edge, mode 2
// of the left edge; mode 0 shows none). A one-frame strip is centred in every cell with a
// rounded highlight under it in the hover and down cells; a longer strip gives each state its
// own frame at the cell's corner. Input as MButton. Created by the factories; window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/MButton.h"
#include "ui/core/MAirBladder.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CImageButton : public MButton {
public:
  CImageButton(MObject* owner, UINT id, CRect rect, const wchar_t* title, int visible, int enabled);

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;

  void SetAlrBladderMode(AIRBLADDER_MODE mode) { m_balloonMode = mode; }

private:
  // Shows the balloon for the hover state, hides it for any other.
  void UpdateBalloon();

  AIRBLADDER_MODE m_balloonMode;
};

}  // namespace TESK
