// COMBO_ITEM: one item of a combo box and of its drop-down list. The control that holds it
// owns it. Image and colour travel with the item into the drop-down but are not drawn; the
// hit rectangle is the list row's place in window coordinates after each drawing.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"

namespace TESK {

struct COMBO_ITEM {
  CString text;
  CString image;
  Gdiplus::ARGB colour = 0;
  long data = 0;
  RECT hitRect = {0, 0, 0, 0};
};

}  // namespace TESK
