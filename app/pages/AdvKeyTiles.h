// The advanced keys of one layer as the advanced-key page lists them: one tile per key row of
// kind 14 to 19 whose advanced key (t_magnetic_key_data) is stored, the count of such rows,
// and the keys whose caption is drawn again from the row (the row's key for DKS, MT and TGL;
// both keys of the pair for RS, SOCD and OKS). Reads the store only; any thread.
#pragma once

#include <vector>

#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"

struct AdvKeyTile {
  // True for the pair kinds (RS, SOCD, OKS), which the list takes with AddItem1 (two captions,
  // a detail text and the advanced key's id as the unique key); the others take AddItem.
  bool pair = false;
  int kind = 0;
  CString caption;
  CString caption2;   // pair kinds: the second key's name
  CString keys[4];    // DKS: the names of its first four actions; MT: two names; TGL: one
  CString detail;     // SOCD and OKS: the mode's text
  int macroId = 0;    // the advanced key's id
};

// A key whose caption the advanced-key rows draw again on the key and advanced-key pictures.
struct AdvKeyCaption {
  int keyCode;
  CString caption;
  int kind;
};

struct AdvKeyLayer {
  std::vector<AdvKeyTile> tiles;
  std::vector<AdvKeyCaption> captions;
  int count = 0;  // every row of kind 14 to 19, with or without a tile
};

// The advanced keys among rows, in row order. A row whose advanced key is not stored, and a
// DKS key without any action, counts but gets no tile (it could be neither opened nor
// deleted); a pair whose key is not stored draws no pair caption.
AdvKeyLayer ReadAdvKeyLayer(const KeyMacroList& rows);

// The detail text of an SOCD or OKS key from its key1 value (mode in the high nibble) and the
// names of its two keys; empty for other kinds and unknown modes.
CString AdvKeyDetail(int kind, int key1Value, const CString& nameA, const CString& nameB);
