#include "app/pages/AdvancedKeyValues.h"

int PackDksDepths(int first, int second) { return ((second & 0xFF) << 8) | (first & 0xFF); }

int DksDepthOf(int column, int n) { return (column >> (8 * (n & 1))) & 0xFF; }

CString DksDepthCaption(int tenths) {
  CString caption;
  caption.Format(L"%0.1fmm", tenths / 10.0);
  return caption;
}

CString JoinKeyNames(const CString* names, int count) {
  CString joined;
  for (int i = 0; i < count; ++i) {
    if (names[i].IsEmpty()) continue;
    if (!joined.IsEmpty()) joined += L"+";
    joined += names[i];
  }
  return joined;
}

int PackSocdStart(int start, bool switchOn) { return (start & 0xF0) | (switchOn ? 1 : 0); }

int PackOksStart(int start) { return (start & 0xF1) | 1; }

int StartRadioOf(int column) { return column >> 4; }

bool SocdSwitchOf(int column) { return (column & 0x0F) != 0; }

int PackOksFirstDepth(int position) { return (position & 0xFFFF) * 0x10001; }

bool OksFirstDepthOf(int column, int& position) {
  const int low = column & 0xFFFF;
  const int high = (column >> 16) & 0xFFFF;
  if (low != high) return false;
  position = low;
  return true;
}

CString DepthCaption(int position) {
  CString caption;
  caption.Format(L"%0.2fmm", position / 50.0);
  return caption;
}

CString HoldTimeCaption(int milliseconds) {
  CString caption;
  caption.Format(L"%dms", milliseconds);
  return caption;
}
