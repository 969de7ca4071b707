// KEY_INFO: one key of the on-screen keyboard (KeyboardCtrl). The records are made only by
// KeyboardCtrl::AddKeyItem and belong to that control, which deletes them (and their icon)
// in ClearItem and with itself. The program reads and writes them directly after
// KeyboardCtrl::GetKeyItems, holding the control's lock, so the fields keep their order and
// types. Also here: the control's drawing and selection modes and the advanced-key types.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"

namespace TESK {

// KeyboardCtrl's drawing and selection modes; any other value draws no keys.
enum KBMODE {
  KBMODE_NONE = 100,       // key colours and captions
  KBMODE_CUSTOM = 101,     // key assignment: outlines, captions, advanced-key badges
  KBMODE_ADVKEY = 102,     // picking the keys of an advanced key
  KBMODE_LIGHT = 103,      // lighting colours; the rubber band is drawn while selecting
  KBMODE_USERLIGHT = 104,  // per-key user colours
  KBMODE_PERF = 105,       // per-key performance values and live travel
  KBMODE_PERFCHECK = 106,  // calibration check
};

// Function types of a key that carry an advanced key. DKS, MT and TGL bind one key; RS,
// SOCD and OKS two.
enum ADVKEY_TYPE {
  ADVKEY_DKS = 14,
  ADVKEY_MT = 15,
  ADVKEY_TGL = 16,
  ADVKEY_RS = 17,
  ADVKEY_SOCD = 18,
  ADVKEY_OKS = 19,
};

inline bool IsAdvancedKeyType(int type) { return type >= ADVKEY_DKS && type <= ADVKEY_OKS; }

struct KEY_INFO {
  KEY_INFO() = default;
  ~KEY_INFO() { delete icon; }
  KEY_INFO(const KEY_INFO&) = delete;
  KEY_INFO& operator=(const KEY_INFO&) = delete;

  int index = 0;               // position in the key list when added
  int key_code = 0;            // the layout's code; the key of every by-code operation
  CString name;                // caption for ordinary functions
  CString desc;                // the key's own label; the caption of advanced keys
  int type = 0;                // function type (macro_type)
  CString tip_text;
  CString tip_value;
  CRect rect;                  // layout coordinates
  int checked = 0;
  int reserved = 0;
  COLORREF color = 0;          // 0x00BBGGRR
  Gdiplus::Image* icon = nullptr;  // owned
  int icon_width = 0;
  int icon_height = 0;
  // Performance block: positions in 0.02 mm steps.
  int switch_type = 0;         // index into SWITCH_TRAVEL_TABLE
  int key_mode = 0;            // low 4 bits: rapid-trigger mode, 0 off
  int key_actuation = 36;
  int rt_press = 2;
  int rt_release = 5;
  int deadzone_state = 0;
  int press_deadzone = 2;
  int release_deadzone = 5;
  // Samples the worker streams from the keyboard.
  int live_travel = 0;         // fortieths of the full travel
  int calib_travel = 0;        // fortieths; above 2 the key counts as pressed
  int calib_progress = 0;      // 255: calibrated
  int calib_info = 0;
  int calib_peak = 0;          // the largest fourth value since the last reset
  int reserved2 = 0;
};

}  // namespace TESK
