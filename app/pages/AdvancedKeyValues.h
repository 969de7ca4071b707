// How the advanced-key editor packs what its pages show into the columns of an advanced key
// (t_magnetic_key_data) and unpacks them again: the DKS trigger depths, the DKS key names, the
// start values of the SOCD and OKS radio groups with their switch, the OKS first depth kept in
// both halves of a column, and the captions of depths and hold times. Pure functions: the
// editor's store and load call the same ones, so what is saved reads back as it was shown.
#pragma once

#include "ui/core/CString.h"

// Edit modes of the editor (1 to 6); the stored kind (macro_type) is the mode plus 13.
enum ADVKEY_MODE : int {
  ADVKEY_MODE_DKS = 1,
  ADVKEY_MODE_MT = 2,
  ADVKEY_MODE_TGL = 3,
  ADVKEY_MODE_RS = 4,
  ADVKEY_MODE_SOCD = 5,
  ADVKEY_MODE_OKS = 6,
};
constexpr int kAdvKeyKindOffset = 13;
// Modes 1 to 3 sit on one key, 4 to 6 on a pair.
constexpr bool IsPairMode(int mode) { return mode >= ADVKEY_MODE_RS && mode <= ADVKEY_MODE_OKS; }

// Two DKS trigger depths (tenths of a millimetre) in one column: the first in the low byte,
// the second in the next one; only the low byte of each counts.
int PackDksDepths(int first, int second);
// Depth n (0 or 1) of such a column.
int DksDepthOf(int column, int n);
// "1.5mm" for 15.
CString DksDepthCaption(int tenths);
// The non-empty names in slot order, joined with "+".
CString JoinKeyNames(const CString* names, int count);

// The SOCD key1 column: the radio group's start value (high nibble) and the switch (1 or 0).
int PackSocdStart(int start, bool switchOn);
// The OKS key1 column: the radio group's start value (high nibble), always 1 in the low nibble.
int PackOksStart(int start);
// The radio (0 to 3) a stored start column names: its high nibble.
int StartRadioOf(int column);
// The SOCD switch a stored key1 column holds.
bool SocdSwitchOf(int column);
// The OKS first depth in both 16-bit halves of the key2 column.
int PackOksFirstDepth(int position);
// The first depth of an OKS key2 column, when both halves agree; false otherwise.
bool OksFirstDepthOf(int column, int& position);
// "1.50mm" for 75: a depth in steps of 0.02 mm.
CString DepthCaption(int position);
// "200ms" for 200.
CString HoldTimeCaption(int milliseconds);
