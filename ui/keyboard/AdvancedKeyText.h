// The one-line text of an advanced key that the advanced-key lists (KeyDKSCtrlEx, KeyDKSList)
// build from a record's names by the list's kind of text: 1 the head and, after a "+" each,
// the non-empty ones of the others; 3 the head, "+" and the first other (the "+" also when
// that one is empty); 5 the head alone. Any other kind leaves text as it was.
#pragma once

#include <initializer_list>

#include "ui/core/CString.h"

namespace TESK {

inline void JoinAdvancedKeyText(int kind, const CString& head, const CString& first, const CString& second,
                                const CString& third, CString& text) {
  switch (kind) {
    case 1: {
      CString joined = head;
      for (const CString* part : {&first, &second, &third}) {
        if (!part->IsEmpty()) joined += L"+" + *part;
      }
      text = joined;
      break;
    }
    case 3:
      text = head + L"+" + first;
      break;
    case 5:
      text = head;
      break;
    default:
      break;
  }
}

}  // namespace TESK
