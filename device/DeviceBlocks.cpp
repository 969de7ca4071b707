#include "device/DeviceBlocks.h"

#include "app/pages/KeyCodeMap.h"
#include "app/pages/KeyFunctionCatalogue.h"

namespace {
constexpr uint8_t kEntryFunction = 0xF0;
constexpr uint8_t kEntryLayerKey = 0xE0;
constexpr uint8_t kFnMark = 0xFF;
constexpr uint8_t kFunctionKey53 = 0x53;
constexpr int kFunctionKey53Code = 70;
constexpr int kLayerKeyBase = 241;

constexpr int kMaxDelayMs = 65535;
enum MacroEventType { kKeyDown = 2, kKeyUp = 3, kMouseDown = 4, kMouseUp = 5 };

bool IsModifier(int usage) { return usage >= kFirstModifierUsage && usage <= kLastModifierUsage; }

// A distance as the keyboard stores it: minus one, 0 or less written as 1.
void PutDistance(uint8_t* out, int distance) {
  const int stored = (distance <= 0 ? 1 : distance) - 1;
  out[0] = static_cast<uint8_t>(stored);
  out[1] = static_cast<uint8_t>(stored >> 8);
}

int Distance(uint8_t low, uint8_t high) { return (low | ((high & 1) << 8)) + 1; }
int DeadZone(uint8_t high) { return (high >> 1) & 0x1F; }
}  // namespace

int DefaultKeyCode(const uint8_t* entry) {
  const uint8_t type = entry[0], b1 = entry[1], b2 = entry[2];
  if (type == KEYMAP_ENTRY_KEY) {
    const int code = ModifierBitToUsage(type, b1, b2);
    return code == 0xFF ? 0 : code;  // a plain key of usage 0 or 0xFF has no default
  }
  if (type == kEntryFunction && b1 == kFnMark) return ModifierBitToUsage(type, b1, b2);
  if (type == kEntryFunction && b1 == kFunctionKey53) return kFunctionKey53Code;
  if (type == kEntryLayerKey) return b1 + kLayerKeyBase;
  return 0;
}

void DecodeDefaultKeyTable(const uint8_t* table, std::map<int, int>& codeByIndex, std::map<int, int>& indexByCode) {
  codeByIndex.clear();
  indexByCode.clear();
  for (int k = 0; k < kDefaultKeyEntries; ++k) {
    const int code = DefaultKeyCode(table + 3 * k);
    if (!code) continue;
    codeByIndex[k] = code;
    indexByCode[code] = k;
  }
}

void DecodePerfEntry(const uint8_t* entry, KEY_PERF_DATA& record) {
  record.switch_type = entry[0];
  record.key_mode = entry[1];
  record.key_actuation = Distance(entry[2], entry[3]);
  record.rt_press = Distance(entry[4], entry[5]);
  record.press_deadzone = DeadZone(entry[5]);
  record.rt_release = Distance(entry[6], entry[7]);
  record.release_deadzone = DeadZone(entry[7]);
}

uint32_t DecodeColorEntry(const uint8_t* entry) { return entry[0] | (entry[1] << 8) | (entry[2] << 16); }

void DecodeLightSettings(const uint8_t* block, LIGHT_DATA& row) {
  row.brightness = block[9];
  row.speed = 4 - block[10];
  row.direction = block[11];
  row.colorful = block[12];
  row.colorindex = block[13];
  row.color_value = static_cast<int>(DecodeColorEntry(block + 14));
}

void EncodeMacroEvent(const MACRO_RECORD& record, bool last, uint8_t* out) {
  const int delay = record.delay_time <= 0 ? 1 : (record.delay_time > kMaxDelayMs ? kMaxDelayMs : record.delay_time);
  out[0] = static_cast<uint8_t>(delay);
  out[1] = static_cast<uint8_t>(delay >> 8);
  const KeyCodeMap& codes = KeyCodeMap::Instance();
  const int value = record.value;
  const uint8_t code = static_cast<uint8_t>(IsModifier(value) ? codes.ModifierUsageToBit(value)
                                                               : codes.VirtualKeyToUsage(&value));
  switch (record.type) {
    case kKeyDown:
      out[2] = IsModifier(value) ? 0x41 : 0x42, out[3] = code;
      break;
    case kKeyUp:
      out[2] = static_cast<uint8_t>((IsModifier(value) ? 0x01 : 0x02) | (last ? 0x80 : 0)), out[3] = code;
      break;
    case kMouseDown:
      out[2] = 0xC2, out[3] = static_cast<uint8_t>(value);
      break;
    case kMouseUp:
      out[2] = 0x82, out[3] = static_cast<uint8_t>(value);
      break;
    default:
      out[2] = 0, out[3] = 0;
      break;
  }
}

void EncodePerfEntry(const KEY_PERF_DATA& row, uint8_t* entry) {
  entry[0] = static_cast<uint8_t>(row.switch_type);
  entry[1] = static_cast<uint8_t>(row.key_mode);
  PutDistance(entry + 2, row.key_actuation);
  PutDistance(entry + 4, row.rt_press);
  PutDistance(entry + 6, row.rt_release);
  if (row.deadzone_state > 0) {
    if (row.press_deadzone > 0) entry[5] |= static_cast<uint8_t>(2 * row.press_deadzone);
    if (row.release_deadzone > 0) entry[7] |= static_cast<uint8_t>(2 * row.release_deadzone);
  }
}
