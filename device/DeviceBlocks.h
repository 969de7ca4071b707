// The layouts of the keyboard's memory blocks that the device link reads and writes, as
// small pure functions over bytes. Offsets below are into a block's data (reply byte 8 + n).
//   status block         16 bytes; byte 8 the active on-board profile 0..2
//   calibration block    256 bytes, one per key index; 0xFF calibrated
//   default key table    entries of 3 bytes (type, b1, b2) per key index 0..143
//   key map of a layer   512 bytes; entry k (key index 0..127) at 3k; type 0 = empty
//   configuration block  32 bytes per profile at p x 64: 4 report rate (bits 0..3) and tick
//                        rate (4..7), 5 dead zone, 6 key locks, 7 switches and debounce (5..7),
//                        8 light mode (255 off), 9 brightness, 10 4 - speed, 11 direction,
//                        12 colourful, 13 colour index, 14..16 colour (0x00BBGGRR)
//   performance entry    8 bytes per key index at p x 1024
//   colour entry         3 bytes per key index (R, G, B = the 0x00BBGGRR value's bytes)
#pragma once

#include <cstdint>
#include <map>

#include "storage/ConfigRecords.h"

constexpr int kStatusBlockSize = 16;
constexpr int kStatusProfileByte = 8;
constexpr int kCalibrationBlockSize = 256;
constexpr uint8_t kCalibratedMark = 0xFF;
constexpr int kDefaultKeyEntries = 144;
constexpr int kKeyMapLayers = 12;
constexpr int kKeyMapLayerStride = 512;
constexpr int kKeyMapReadSize = 512;
constexpr int kDeviceKeys = 128;
constexpr int kConfigBlockStride = 64;
constexpr int kConfigBlockSize = 32;
constexpr int kConfigSyncSize = 56;
constexpr int kPerfBlockStride = 1024;
constexpr int kPerfBlockSize = 1024;
constexpr int kPerfEntrySize = 8;
constexpr int kColorBlockStride = 512;
constexpr int kColorBlockSize = 384;
constexpr int kProfiles = 3;

// The default key code of a default-table entry; 0 when the index has none.
int DefaultKeyCode(const uint8_t* entry);

// Key index -> default code and default code -> key index (a later index wins) of the first
// kDefaultKeyEntries entries of a default key table. Both maps are emptied first.
void DecodeDefaultKeyTable(const uint8_t* table, std::map<int, int>& codeByIndex, std::map<int, int>& indexByCode);

// Switch type, key mode, the three distances (+ 1) and the two dead zones of a performance
// entry; profile, key code and deadzone_state are left as they were.
void DecodePerfEntry(const uint8_t* entry, KEY_PERF_DATA& record);

// The colour value of a 3-byte colour entry.
uint32_t DecodeColorEntry(const uint8_t* entry);

// Light settings of a configuration block (bytes 9..16) into a light row; mode is byte 8.
void DecodeLightSettings(const uint8_t* block, LIGHT_DATA& row);
inline int ConfigLightMode(const uint8_t* block) { return block[8]; }
inline int ConfigReportRate(const uint8_t* block) { return block[4] & 0x0F; }
inline int ConfigDebounce(const uint8_t* block) { return block[7] >> 5; }

// A macro event (delay 1..65535 ms little-endian, flags, code; bit 0x80 on a key up that ends
// its macro) and a performance entry (distances minus one, dead zones or-ed in twice).
void EncodeMacroEvent(const MACRO_RECORD& record, bool last, uint8_t* out);
void EncodePerfEntry(const KEY_PERF_DATA& row, uint8_t* entry);

// An on-board profile that may address a block (0..2).
inline bool IsDeviceProfile(int profile) { return profile >= 0 && profile < kProfiles; }
