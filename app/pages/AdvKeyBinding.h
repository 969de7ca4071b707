// What binding a stored advanced key to its keys and deleting one do to the key rows, without
// any control. A bound key's row names the advanced key (kind 14 to 19, its id, the caption of
// the kind); the keys of a pair (RS, SOCD, OKS) also carry the packed pair and each other, and
// get a per-key performance mode. Deleting an advanced key gives every row that named it its
// own or default function back. Reads the store only; the page stores the rows. Any thread.
#pragma once

#include <vector>

#include "storage/ConfigRecords.h"

// Bits of the advanced-key areas the next advanced-key write sends (DeviceLink's mask).
enum : int { ADVKEY_MASK_DKS = 1, ADVKEY_MASK_MULTI = 2, ADVKEY_MASK_TGL = 4 };

struct AdvKeyBinding {
  // The key rows as they are to be stored, in order.
  std::vector<KEY_MACRO_DATA> rows;
  // Keys whose performance mode changes (actuation and rapid-trigger values from the advanced
  // key), in order.
  struct Perf {
    int keyCode;
    int mode;
  };
  std::vector<Perf> perf;
  // The write mask the binding sets, or -1 when it leaves the mask alone (an unknown kind).
  int mask = -1;
};

// The rows and performance that bind advanced key id (stored as adv) on layer id fnLayer. The
// key rows are read from the store first; a key without a stored row on that layer is left
// out (there is nothing the keyboard would show it on). An unknown kind binds nothing.
AdvKeyBinding BindAdvancedKey(int id, const MAGNETIC_KEY_DATA& adv, int fnLayer);

// The SOCD mode of the pair's second key: the first key's mode with the direction in the high
// nibble swapped (0x1n and 0x2n trade places); other modes stay.
int SwapSocdDirection(int mode);

// The rows of profile 1 that named advanced key id (kinds 14 to 19), each given back its
// function on its own layer: the key itself on layer 0 (and the other key of its pair too),
// else the keyboard's default row of that layer, or no function when there is none.
std::vector<KEY_MACRO_DATA> RowsFreedByDeletedAdvKey(int id);
