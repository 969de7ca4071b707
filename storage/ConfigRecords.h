// Row records of the settings store, one per table, with the fields in their fixed
// order (which is not always the table's column order: the store maps them by name).
// A new record has every integer 0 and empty texts.
//
// Ownership: the store's list readers fill a list of std::unique_ptr records. The list
// owns them: the reader first destroys whatever the list held, and the caller's list
// destroys the rows it received. The batch writers take a list of records by reference
// and keep nothing.
#pragma once

#include <memory>
#include <vector>

#include "ui/core/CString.h"

// A row of t_profile_data.
struct PROFILE_DATA {
  int profile = 0;
  int type = 0;  // every profile the program makes has type 1
  CString name;
  int status = 0;  // 1 marks the active profile
};

// A row of t_key_macro_data: the function of one key on one Fn layer of a profile.
struct KEY_MACRO_DATA {
  int key_id = 0;
  int profile = 0;
  int fn_layer = 0;
  int key_code = 0;
  int macro_type = 0;   // 1 disabled, 2 key, 3 macro, 5 mouse, 6 media, 12 function, 14..19 advanced
  int macro_value = 0;  // for macro_type 3: the macro's id
  int macro_value2 = 0;
  int macro_value3 = 0;
  CString macro_desc;
};

// A row of t_key_perf_data: one key's performance settings (positions in 0.02 mm).
struct KEY_PERF_DATA {
  int perf_id = 0;
  int profile = 0;
  int key_code = 0;
  int switch_type = 0;
  int key_mode = 0;
  int key_actuation = 0;
  int rt_press = 0;
  int rt_release = 0;
  int deadzone_state = 0;
  int press_deadzone = 0;
  int release_deadzone = 0;
};

// A row of t_light_data: one light mode of a profile.
struct LIGHT_DATA {
  int light_id = 0;
  int profile = 0;
  CString name;
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;
  int colorful = 0;
  int colorindex = 0;
  int color_value = 0;  // 24-bit colour, red in the low byte
  int config_func = 0;
  int reserved = 0;
  int status = 0;  // 1 marks the profile's active mode
};

// A row of t_userlightrgb_data: one key's colour in a user lighting set.
struct USERLIGHTRGB_DATA {
  int userlightrgb_id = 0;
  int profile = 0;
  int userlight_id = 0;
  int key_code = 0;
  int key_rgb = 0;
};

// A row of t_musiclayer_data: a profile's music lighting settings. sel is read with the row;
// the update writes the five settings and leaves the stored sel as it is.
struct MUSICLAYER_DATA {
  int layer_id = 0;
  int profile = 0;
  CString name;
  int deviceindex = 0;
  int foremode = 0;
  int fore_amplitude = 0;
  int backmode = 0;
  int backb_right = 0;
  int sel = 0;
};

// A row of t_macro_data: one macro, shared by all profiles.
struct MACRO_DATA {
  int macro_id = 0;
  CString name;
  int link_count = 0;
  int play_times = 0;
  int delay_type = 0;
  int delay_time = 0;
};

// A row of t_macrorecord: one event of a macro.
struct MACRO_RECORD {
  int record_id = 0;
  int macro_id = 0;
  int type = 0;
  int record_index = 0;  // the events' order within the macro
  int value = 0;
  int delay_time = 0;
  CString desc;
};

// A row of t_magnetic_key_data: one advanced key.
struct MAGNETIC_KEY_DATA {
  int macro_id = 0;
  int profile = 0;
  CString name;
  int key_value = 0;
  int fn_layer = 0;
  int macro_type = 0;  // 14 DKS, 15 MT, 16 TGL, 17 RS, 18 SOCD, 19 OKS
  int key1_value = 0;
  int key2_value = 0;
  int edit_value1 = 0;  // not stored: the editors' working values
  int edit_value2 = 0;
  CString key1_name;
  CString key2_name;
  int reserved = 0;
};

// A row of t_key_item_data: one of the four actions of a DKS key.
struct KEY_ITEM_DATA {
  int keyitem_id = 0;
  int macro_id = 0;  // the advanced key it belongs to
  int trigger_state1 = 0;
  int trigger_state2 = 0;
  int trigger_state3 = 0;
  int trigger_state4 = 0;
  int key_value = 0;
  CString key_name;
  int edit_value = 0;  // not stored: the editor's working value
};

using ProfileList = std::vector<std::unique_ptr<PROFILE_DATA>>;
using KeyMacroList = std::vector<std::unique_ptr<KEY_MACRO_DATA>>;
using KeyPerfList = std::vector<std::unique_ptr<KEY_PERF_DATA>>;
using LightList = std::vector<std::unique_ptr<LIGHT_DATA>>;
using UserLightRgbList = std::vector<std::unique_ptr<USERLIGHTRGB_DATA>>;
using MacroList = std::vector<std::unique_ptr<MACRO_DATA>>;
using MacroRecordList = std::vector<std::unique_ptr<MACRO_RECORD>>;
using MagneticKeyList = std::vector<std::unique_ptr<MAGNETIC_KEY_DATA>>;
using KeyItemList = std::vector<std::unique_ptr<KEY_ITEM_DATA>>;
