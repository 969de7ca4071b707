// DeviceLink: writing the configuration block, key maps and advanced keys.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <vector>

#include "app/pages/KeyCodeMap.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "device/DeviceBlocks.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"

namespace {

constexpr DWORD kConfigSettleMs = 400;  // the keyboard stores the block before the bracket ends
constexpr uint8_t kLightOff = 255;

// Advanced-key areas of a profile: slot size, slots the area holds, slots built at most.
struct AdvArea {
  uint8_t command;
  int areaSize;
  int slotSize;
  int maxSlots;  // the buffer; slots past the area are built and not sent
  int maskBit;
};
constexpr AdvArea kDksArea = {CMD_WRITE_DKS, 768, 24, 128, 1};
constexpr AdvArea kMultiArea = {CMD_WRITE_ADV_KEYS, 256, 6, 85, 2};
constexpr AdvArea kTglArea = {CMD_WRITE_TGL, 128, 3, 128, 4};

bool IsModifier(int usage) { return usage >= kFirstModifierUsage && usage <= kLastModifierUsage; }
int ModifierMask(int value) { return KeyCodeMap::Instance().ModifierUsageToBit(value) & 0xFF; }

// A key action (0x10, modifier mask or 0, usage or 0 for a modifier).
void KeyAction(int value, uint8_t* out) {
  out[0] = KEYMAP_ENTRY_KEY;
  out[1] = static_cast<uint8_t>(IsModifier(value) ? ModifierMask(value) : 0);
  out[2] = static_cast<uint8_t>(IsModifier(value) ? 0 : value);
}

void Put16(uint8_t* out, int value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

int ConfigNumber(int profile, const wchar_t* key) {
  CString value;
  ConfigDatabase::Instance().GetConfigValue(profile, key, value);
  return static_cast<int>(wcstol(value, nullptr, 10));
}

bool ConfigSwitch(const wchar_t* key) {
  CString value;
  ConfigDatabase::Instance().GetConfigValue(0, key, value);
  return value.Compare(L"1") == 0;
}

const AdvArea* AreaOfKind(int macroType) {
  switch (macroType) {
    case MACRO_TYPE_DKS:
      return &kDksArea;
    case MACRO_TYPE_TGL:
      return &kTglArea;
    case MACRO_TYPE_MT:
    case MACRO_TYPE_RS:
    case MACRO_TYPE_SOCD:
    case MACRO_TYPE_OKS:
      return &kMultiArea;
    default:
      return nullptr;
  }
}

// Fills one slot of an area from the stored advanced key of a key-function row.
void FillSlot(const AdvArea& area, const KEY_MACRO_DATA& row, uint8_t* slot) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  MAGNETIC_KEY_DATA key;
  const bool found = store.GetMagneticKey(row.macro_value, key);
  if (&area == &kDksArea) {
    // Filled whatever the stored kind; a missing key gives zeros and no actions.
    Put16(slot, key.key1_value);
    Put16(slot + 2, key.key2_value);
    KeyItemList items;
    if (found) store.GetKeyItems(row.macro_value, items);
    for (size_t i = 0; i < items.size() && i < 4; ++i) {
      uint8_t* action = slot + 4 + 5 * i;
      KeyAction(items[i]->key_value, action);
      Put16(action + 3, items[i]->trigger_state1);
    }
    return;
  }
  if (!found || key.macro_type != row.macro_type) return;  // the slot stays zero
  switch (row.macro_type) {
    case MACRO_TYPE_TGL:
      KeyAction(key.key1_value, slot);
      break;
    case MACRO_TYPE_MT:
      KeyAction(key.key1_value, slot);
      KeyAction(key.key2_value, slot + 3);
      break;
    case MACRO_TYPE_RS:
    case MACRO_TYPE_SOCD:
      slot[0] = KEYMAP_ENTRY_KEY, slot[2] = static_cast<uint8_t>(row.key_code);
      slot[3] = KEYMAP_ENTRY_KEY, slot[5] = static_cast<uint8_t>(row.macro_value3);
      break;
    case MACRO_TYPE_OKS:
      slot[0] = KEYMAP_ENTRY_KEY, slot[2] = static_cast<uint8_t>(row.key_code);
      slot[3] = static_cast<uint8_t>(key.key2_value), slot[5] = static_cast<uint8_t>(row.macro_value3);
      break;
  }
}

}  // namespace

bool DeviceLink::CanWrite() const {
  return IsDeviceProfile(m_deviceProfile) && m_fnLayer >= 0 && m_fnLayer < kKeyMapLayers;
}

bool DeviceLink::WriteBlock(uint8_t command, int offset, int length, const uint8_t* data) {
  for (int done = 0; done < length; done += COMMAND_MAX_PAYLOAD) {
    const int chunk = length - done < COMMAND_MAX_PAYLOAD ? length - done : COMMAND_MAX_PAYLOAD;
    uint8_t frame[COMMAND_REPORT_SIZE];
    PrepareFrame(frame, command, chunk, offset + done);
    std::memcpy(frame + 9, data + done, static_cast<size_t>(chunk));
    if (!m_hid.SendCommand(frame)) return false;
  }
  return true;
}

// ---- Configuration block ----

void DeviceLink::RewriteConfigBlock(void (*edit)(DeviceLink& link, uint8_t* data)) {
  if (!CanWrite()) return;
  const int offset = m_deviceProfile * kConfigBlockStride;
  SendBracket(CMD_BEGIN);
  uint8_t frame[COMMAND_REPORT_SIZE];
  PrepareFrame(frame, CMD_READ_CONFIG, kConfigBlockSize, offset);
  // Without the keyboard's own bytes there is nothing to write back: they would become zeros.
  if (m_hid.RequestData(frame)) {
    // Reply byte k becomes frame byte k + 1: the block's data becomes the payload and the
    // length echo the payload length. Reply byte 64 would fall outside the frame.
    std::memmove(frame + 1, frame, COMMAND_REPORT_SIZE - 1);
    frame[1] = COMMAND_MARKER;
    frame[2] = CMD_WRITE_CONFIG;
    frame[6] = static_cast<uint8_t>(offset);
    frame[7] = static_cast<uint8_t>(offset >> 8);
    edit(*this, frame + 9);
    m_hid.SendCommand(frame);
    PauseUnlessStopping(kConfigSettleMs);
  }
  SendBracket(CMD_END);
}

void DeviceLink::WriteLightSettings() {
  if (!CanWrite()) return;
  struct Edit {
    static void Apply(DeviceLink& link, uint8_t* data) {
      LIGHT_DATA row;  // zeros when the store has no row for the mode
      ConfigDatabase::Instance().GetLight(link.m_deviceProfile + 1, link.m_lightMode, row);
      data[8] = static_cast<uint8_t>(link.IsLightSwitchOn() ? link.m_lightMode.load() : kLightOff);
      data[9] = static_cast<uint8_t>(row.brightness);
      data[10] = static_cast<uint8_t>(4 - row.speed);
      data[11] = static_cast<uint8_t>(row.direction);
      data[12] = static_cast<uint8_t>(row.colorful);
      data[13] = static_cast<uint8_t>(row.colorindex);
      data[14] = static_cast<uint8_t>(row.color_value);
      data[15] = static_cast<uint8_t>(row.color_value >> 8);
      data[16] = static_cast<uint8_t>(row.color_value >> 16);
    }
  };
  RewriteConfigBlock(&Edit::Apply);
}

void DeviceLink::WriteDeviceSettings() {
  struct Edit {
    static void Apply(DeviceLink& link, uint8_t* data) {
      // Each byte is the or of its shifted values: a value wider than its field spills over.
      data[4] = static_cast<uint8_t>(ConfigNumber(0, L"reporte_rate") | (ConfigNumber(0, L"tick_rate") << 4));
      data[5] = static_cast<uint8_t>(ConfigNumber(0, L"dead_zone"));
      data[6] = static_cast<uint8_t>((ConfigSwitch(L"disable_win") ? 1 : 0) | (ConfigSwitch(L"disable_alttab") ? 2 : 0) |
                                     (ConfigSwitch(L"disable_altf4") ? 4 : 0));
      int switches = ConfigNumber(0, L"perf_tachyon_mode") |
                     (ConfigNumber(link.m_deviceProfile + 1, L"perf_bottomrapidtrigger_mode") << 1) |
                     (ConfigNumber(0, L"actuation_check") << 2) | (ConfigNumber(0, L"debounce_level") << 5);
      if (link.m_calibrationMode) switches |= 0x0C;
      data[7] = static_cast<uint8_t>(switches);
    }
  };
  RewriteConfigBlock(&Edit::Apply);
}

void DeviceLink::SendCalibrationMode() {
  if (!CanWrite()) return;
  uint8_t frame[COMMAND_REPORT_SIZE];
  PrepareFrame(frame, m_calibrationMode ? CMD_CALIBRATION_ON : CMD_CALIBRATION_OFF);
  m_hid.SendCommand(frame);
}

// ---- Key maps ----

void DeviceLink::EncodeKeyFunction(int index, uint8_t* keyMap, const KEY_MACRO_DATA& row) {
  uint8_t* entry = keyMap + 3 * index;
  const int value = row.macro_value;
  const auto slotOf = [](const std::map<int, int>& slots, int code) {
    const auto slot = slots.find(code);
    return slot == slots.end() ? -1 : slot->second;
  };
  const auto advanced = [&](uint8_t type, int slot) {
    entry[0] = type;  // without a slot b1 and b2 keep what the buffer held
    if (slot < 0) return false;
    entry[1] = static_cast<uint8_t>(slot);
    return true;
  };
  switch (row.macro_type) {
    case MACRO_TYPE_DISABLED:
      entry[0] = KEYMAP_ENTRY_KEY, entry[1] = 0, entry[2] = 0;
      break;
    case MACRO_TYPE_KEY:
      if (row.macro_value2 == 0 && IsModifier(value)) {
        entry[0] = KEYMAP_ENTRY_KEY, entry[1] = static_cast<uint8_t>(ModifierMask(value)), entry[2] = 0;
      } else {
        entry[0] = KEYMAP_ENTRY_KEY, entry[1] = static_cast<uint8_t>(ModifierMask(row.macro_value2));
        entry[2] = static_cast<uint8_t>(value);
      }
      break;
    case MACRO_TYPE_MACRO: {
      MacroList macros;
      ConfigDatabase::Instance().GetMacros(macros);
      for (size_t i = 0; i < macros.size(); ++i) {
        if (macros[i]->macro_id != value) continue;
        entry[0] = KEYMAP_ENTRY_MACRO, entry[1] = static_cast<uint8_t>(i), entry[2] = 1;
        break;
      }
      break;
    }
    case MACRO_TYPE_MOUSE: {
      const MouseFunction* mouse = FindMouseFunction(value);
      entry[0] = mouse ? mouse->type : static_cast<uint8_t>(KEYMAP_ENTRY_MOUSE_BUTTON);
      entry[1] = mouse ? mouse->b1 : 0;
      entry[2] = mouse ? mouse->b2 : 0;
      break;
    }
    case MACRO_TYPE_MEDIA:
      entry[0] = KEYMAP_ENTRY_MEDIA, entry[1] = static_cast<uint8_t>(value), entry[2] = static_cast<uint8_t>(value >> 8);
      break;
    case MACRO_TYPE_FUNCTION:
      entry[0] = KEYMAP_ENTRY_FUNCTION, entry[1] = static_cast<uint8_t>(value);
      entry[2] = static_cast<uint8_t>(value >> 8);
      break;
    case MACRO_TYPE_DKS:
      advanced(KEYMAP_ENTRY_DKS, slotOf(m_dksKeySlots, row.key_code));
      break;
    case MACRO_TYPE_TGL:
      advanced(KEYMAP_ENTRY_TGL, slotOf(m_tglKeySlots, row.key_code));
      break;
    case MACRO_TYPE_MT:
      if (advanced(KEYMAP_ENTRY_MT, slotOf(m_advKeySlots, row.key_code))) {
        MAGNETIC_KEY_DATA key;
        if (ConfigDatabase::Instance().GetMagneticKey(value, key) && key.macro_type == MACRO_TYPE_MT) {
          entry[2] = static_cast<uint8_t>(key.reserved / 10);
        }
      }
      break;
    case MACRO_TYPE_RS:
    case MACRO_TYPE_SOCD:
    case MACRO_TYPE_OKS: {
      const uint8_t type = row.macro_type == MACRO_TYPE_RS     ? KEYMAP_ENTRY_RS
                           : row.macro_type == MACRO_TYPE_SOCD ? KEYMAP_ENTRY_SOCD
                                                               : KEYMAP_ENTRY_OKS;
      if (advanced(type, slotOf(m_advKeySlots, row.key_code))) {
        // A partner without a key index gives 0; the lookup never adds to the map.
        const auto partner = m_keyIndexByCode.find(row.macro_value3);
        entry[2] = static_cast<uint8_t>(partner == m_keyIndexByCode.end() ? 0 : partner->second);
      }
      break;
    }
    default:
      break;
  }
}

void DeviceLink::EnsureDefaultKeyTable() {
  // Also after a model selection, which empties the index map but keeps the raw table.
  if ((m_defaultKeyTable[0] || m_defaultKeyTable[1] || m_defaultKeyTable[2]) && !m_keyIndexByCode.empty()) return;
  uint8_t table[kKeyMapReadSize];
  if (!ReadBlock(CMD_READ_KEYMAP, 0, kKeyMapReadSize, table)) return;
  std::memcpy(m_defaultKeyTable, table, sizeof table);
  DecodeDefaultKeyTable(table, m_defaultCodeByIndex, m_keyIndexByCode);
}

void DeviceLink::WriteKeyMap() { WriteKeyMapOf(false); }

void DeviceLink::WriteKeyMapAllLayers() { WriteKeyMapOf(true); }

void DeviceLink::WriteKeyMapOf(bool allLayers) {
  if (!CanWrite()) return;
  // After a write that stopped half-way (a keyboard that stopped answering or went), the
  // keyboard's areas may still hold keys the store no longer has: every area goes again.
  const bool everyArea = allLayers || m_keyMapIncomplete;
  m_keyMapIncomplete = true;  // until this write has arrived whole
  if (!(everyArea ? WriteAdvancedKeysAllLayers() : WriteAdvancedKeys())) return;
  const int layer = m_fnLayer;
  SendBracket(CMD_BEGIN);
  EnsureDefaultKeyTable();
  uint8_t keyMap[kKeyMapReadSize] = {};
  if (layer == 0) std::memcpy(keyMap, m_defaultKeyTable, sizeof keyMap);
  KeyMacroList rows;
  ConfigDatabase::Instance().GetLayerKeyMacros(layer, rows);
  for (const auto& row : rows) {
    if (!row->key_code || !row->macro_type) continue;
    const auto index = m_keyIndexByCode.find(row->key_code);
    if (index != m_keyIndexByCode.end() && index->second < kDeviceKeys) EncodeKeyFunction(index->second, keyMap, *row);
  }
  m_keyMapIncomplete = !WriteBlock(CMD_WRITE_KEYMAP, layer * kKeyMapLayerStride, kKeyMapReadSize, keyMap);
  SendBracket(CMD_END);
}

// ---- Advanced keys ----

bool DeviceLink::WriteAdvancedKeys() {
  if (!CanWrite()) return true;
  KeyMacroList rows;
  ConfigDatabase::Instance().GetLayerKeyMacros(m_fnLayer, rows);
  return SendAdvancedKeys(rows, false);
}

bool DeviceLink::WriteAdvancedKeysAllLayers() {
  if (!CanWrite()) return true;
  KeyMacroList rows;
  ConfigDatabase::Instance().GetProfileKeyMacros(rows);
  return SendAdvancedKeys(rows, true);
}

bool DeviceLink::SendAdvancedKeys(const KeyMacroList& rows, bool allLayers) {
  struct Built {
    const AdvArea* area;
    std::map<int, int>* slotsByCode;
    std::vector<uint8_t> buffer;
    std::map<int, int> slotsByKey;  // all layers: advanced-key id -> slot
    int used = 0;
  };
  m_dksKeySlots.clear();
  m_advKeySlots.clear();
  m_tglKeySlots.clear();
  Built built[] = {{&kMultiArea, &m_advKeySlots, {}, {}, 0},
                   {&kTglArea, &m_tglKeySlots, {}, {}, 0},
                   {&kDksArea, &m_dksKeySlots, {}, {}, 0}};
  for (Built& b : built) b.buffer.assign(static_cast<size_t>(b.area->maxSlots * b.area->slotSize), 0);
  const int layer = m_fnLayer;
  for (const auto& row : rows) {
    const AdvArea* area = AreaOfKind(row->macro_type);
    // The keyboard's factory maps (fn_layer 100 + layer) are copies, not assignments.
    if (!area || row->fn_layer < 0 || row->fn_layer >= kKeyMapLayers) continue;
    Built& b = *std::find_if(std::begin(built), std::end(built), [&](const Built& x) { return x.area == area; });
    // One layer: a slot per key code. All layers: a slot per advanced key, and the slot tables
    // point the current layer's keys at them for the key-map write that follows.
    int slot = -1;
    if (allLayers) {
      const auto known = b.slotsByKey.find(row->macro_value);
      if (known != b.slotsByKey.end()) slot = known->second;
    } else if (b.slotsByCode->count(row->key_code)) {
      continue;
    }
    if (slot < 0) {
      if (b.used >= area->maxSlots) continue;  // never past the buffer
      slot = b.used++;
      FillSlot(*area, *row, b.buffer.data() + slot * area->slotSize);
      if (allLayers) b.slotsByKey[row->macro_value] = slot;
    }
    if (!allLayers || (row->fn_layer == layer && !b.slotsByCode->count(row->key_code))) {
      (*b.slotsByCode)[row->key_code] = slot;
    }
  }
  const bool any = std::any_of(std::begin(built), std::end(built), [](const Built& b) { return b.used > 0; });
  // One layer with no advanced key sends nothing; all layers send every area, zeros where
  // empty, so a deleted advanced key leaves no trace.
  if (!allLayers && !any) return true;
  const int profile = m_deviceProfile;
  SendBracket(CMD_BEGIN);
  bool whole = true;
  for (const Built& b : built) {
    const bool send = allLayers || (b.used > 0 && (m_advKeyWriteMask & b.area->maskBit));
    // A keyboard that lost one chunk is not sent the rest: each would wait for its answer too.
    if (send && whole) {
      whole = WriteBlock(b.area->command, profile * b.area->areaSize, b.area->areaSize, b.buffer.data());
    }
  }
  m_advKeyWriteMask = 0;
  SendBracket(CMD_END);
  return whole;
}
