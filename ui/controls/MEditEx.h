// MEditEx: a single-line rich edit whose text area is centred vertically in the control and
// whose tip is centred in it too. Everything else is MRichEdit's. Window's thread only.
#pragma once

#include <windows.h>

#include "ui/controls/MRichEdit.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MEditEx : public MRichEdit {
public:
  MEditEx(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int other);

  void DrawControl(HDC& dc, CRect update) override;
  // Top and bottom padding become half the height less 8 (the text area of a 16-pixel line).
  void SetControlRect(CRect rect) override;
};

}  // namespace TESK
