// The caption of the value controls (MProgress, MSlider): the title followed by the value,
// with a percent sign only when the maximum is 100.
#pragma once

#include "ui/core/CString.h"

namespace TESK {

inline CString ValueCaption(const CString& title, int value, int maximum) {
  CString caption;
  caption.Format(L"%s%d%s", static_cast<const wchar_t*>(title), value, maximum == 100 ? L"%" : L"");
  return caption;
}

}  // namespace TESK
