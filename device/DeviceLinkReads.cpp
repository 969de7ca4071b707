// DeviceLink: reading the keyboard's tables into the settings store and the pages.
#include <cstring>

#include "app/Language.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "device/DeviceBlocks.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"

namespace {

constexpr int kFactoryLayerFlag = 100;  // fn_layer of a layer's factory map = 100 + layer
constexpr int kKeyProfile = 1;          // key assignments live under profile 1
constexpr int kProfileTextIds[] = {94, 95, 96};
constexpr int kLayerTextId = 98;
constexpr int kLayerSuffixTextId = 1903;
constexpr int kCalibrationTextId = 900;
constexpr int kLayersPerProfile = 4;

CString Text(int textId) { return LoadLanString(L"KB.DIALOG", textId); }

// Calls visit(code, entry) for each device key index with a default code and a non-empty entry
// of a layer's key map.
template <class Visit>
void ForEachKeyEntry(const std::map<int, int>& codeByIndex, const uint8_t* map, Visit visit) {
  for (const auto& [index, code] : codeByIndex) {
    const uint8_t* entry = map + 3 * index;
    if (index < kDeviceKeys && code >= 1 && entry[0] != 0) visit(code, entry);
  }
}

CString Decimal(int value) {
  CString text;
  text.Format(L"%d", value);
  return text;
}

}  // namespace

bool DeviceLink::SendBracket(uint8_t command) {
  uint8_t frame[COMMAND_REPORT_SIZE];
  PrepareFrame(frame, command);
  return m_hid.SendCommand(frame);
}

bool DeviceLink::ReadBlock(uint8_t command, int offset, int length, uint8_t* out) {
  for (int done = 0; done < length; done += COMMAND_MAX_PAYLOAD) {
    const int chunk = length - done < COMMAND_MAX_PAYLOAD ? length - done : COMMAND_MAX_PAYLOAD;
    uint8_t frame[COMMAND_REPORT_SIZE];
    PrepareFrame(frame, command, chunk, offset + done);
    if (!m_hid.RequestData(frame)) return false;
    std::memcpy(out + done, frame + 8, static_cast<size_t>(chunk));
  }
  return true;
}

void DeviceLink::ReadKeyMapsFromDevice() {
  SendBracket(CMD_BEGIN);
  uint8_t table[kKeyMapReadSize];
  if (ReadBlock(CMD_READ_KEYMAP, 0, kKeyMapReadSize, table)) {
    std::memset(m_defaultKeyTable, 0, sizeof m_defaultKeyTable);
    std::memcpy(m_defaultKeyTable, table, sizeof table);
    DecodeDefaultKeyTable(table, m_defaultCodeByIndex, m_keyIndexByCode);
    if (m_defaultCodeByIndex.size() > 20) {
      KeyMacroList imported;
      if (ConfigDatabase::Instance().GetLayerKeyMacros(kFactoryLayerFlag + 1, imported) == 0) ImportFactoryMaps();
      ReadKeyFunctionsFromDevice();
    }
  }
  SendBracket(CMD_END);
}

void DeviceLink::ImportFactoryMaps() {
  // All eleven layers or none: the store holds layer 101 afterwards, so a partial import
  // would never be retried.
  std::vector<std::vector<KEY_MACRO_DATA>> layers;
  for (int layer = 1; layer < kKeyMapLayers; ++layer) {
    uint8_t map[kKeyMapReadSize];
    if (!ReadBlock(CMD_READ_KEYMAP, layer * kKeyMapLayerStride, kKeyMapReadSize, map)) return;
    std::vector<KEY_MACRO_DATA> rows;
    ForEachKeyEntry(m_defaultCodeByIndex, map, [&](int code, const uint8_t* entry) {
      KEY_MACRO_DATA row;
      row.profile = kKeyProfile;
      row.fn_layer = kFactoryLayerFlag + layer;
      row.key_code = code;
      DecodeKeyFunction(entry, row);
      if (row.macro_type > 0) rows.push_back(row);
    });
    layers.push_back(std::move(rows));
  }
  for (const auto& rows : layers) ConfigDatabase::Instance().InsertKeyMacros(rows);
}

void DeviceLink::ReadKeyFunctionsFromDevice() {
  ConfigDatabase& store = ConfigDatabase::Instance();
  for (int layer = 0; layer < kKeyMapLayers; ++layer) {
    uint8_t map[kKeyMapReadSize];
    if (!ReadBlock(CMD_READ_KEY_FUNCTIONS, layer * kKeyMapLayerStride, kKeyMapReadSize, map)) continue;
    std::vector<KEY_MACRO_DATA> rows;
    ForEachKeyEntry(m_defaultCodeByIndex, map, [&](int code, const uint8_t* entry) {
      KEY_MACRO_DATA row;
      if (!store.GetKeyMacro(layer, code, row)) {
        row = KEY_MACRO_DATA();
        row.profile = kKeyProfile;
        row.fn_layer = layer;
        row.key_code = code;
      }
      DecodeKeyFunction(entry, row);
      if (row.macro_type > 0) rows.push_back(row);
    });
    store.UpdateKeyMacros(rows);
  }
}

void DeviceLink::GetDeviceProfile(int refresh) {
  SendBracket(CMD_BEGIN);
  uint8_t status[kStatusBlockSize];
  if (!ReadBlock(CMD_READ_STATUS, 0, kStatusBlockSize, status) || status[kStatusProfileByte] == m_deviceProfile) {
    SendBracket(CMD_END);
    return;
  }
  const int profile = status[kStatusProfileByte];
  m_deviceProfile = profile;
  ShowProfileLayers(profile);
  if (refresh) {
    RefreshKeyCaptions();
    LoadKeyPerfFromDevice();
  }
  SendBracket(CMD_END);
}

void DeviceLink::ShowProfileLayers(int profile) {
  // Any other value keeps the first caption and no tabs; it never addresses a block.
  SetDeviceProfileCaption(DeviceProfileCaption(profile));
  ClearKeyLayers();
  if (IsDeviceProfile(profile)) {
    for (int id = kLayersPerProfile * profile; id < kLayersPerProfile * (profile + 1); ++id) {
      CString name;
      name.Format(L"%s %d %s", static_cast<const wchar_t*>(Text(kLayerTextId)), id,
                  static_cast<const wchar_t*>(Text(kLayerSuffixTextId)));
      AddKeyLayer(name, id);
    }
    m_fnLayer = kLayersPerProfile * profile;
  }
  RedrawKeyLayers();
  SelectKeyLayer(m_fnLayer);
}

CString DeviceLink::DeviceProfileCaption(int profile) {
  return Text(IsDeviceProfile(profile) ? kProfileTextIds[profile] : kProfileTextIds[0]);
}

void DeviceLink::LoadKeyPerfFromDevice() {
  const int profile = m_deviceProfile + 1;
  if (profile <= 0) return;
  SendBracket(CMD_BEGIN);
  ReadKeyPerfBlock(profile);
  SysnDeviceProfileData();
  RefreshPerfPage();
  SendBracket(CMD_END);
}

void DeviceLink::ReadKeyPerfBlock(int profile) { ReadPerfBlock(profile, false, false); }

void DeviceLink::ReadKeyPerfFromDevice(int profile) { ReadPerfBlock(profile, true, true); }

void DeviceLink::ReadPerfBlock(int profile, bool ownBracket, bool markDeadzones) {
  // The keyboard's current profile is read whatever the argument; rows are stored under it.
  const int deviceProfile = m_deviceProfile;
  if (!IsDeviceProfile(deviceProfile)) return;
  uint8_t block[kPerfBlockSize];
  if (ownBracket) SendBracket(CMD_BEGIN);
  const bool read = ReadBlock(CMD_READ_KEY_PERF, deviceProfile * kPerfBlockStride, kPerfBlockSize, block);
  if (ownBracket) SendBracket(CMD_END);
  if (!read) return;
  std::vector<KEY_PERF_DATA> rows;
  for (int k = 0; k < kDeviceKeys; ++k) {
    KEY_PERF_DATA& record = m_keyPerf[k];
    record.profile = profile;
    const auto code = m_defaultCodeByIndex.find(k);
    record.key_code = code == m_defaultCodeByIndex.end() ? 0 : code->second;
    DecodePerfEntry(block + kPerfEntrySize * k, record);
    if (markDeadzones && (record.press_deadzone || record.release_deadzone)) record.deadzone_state = 1;
    if (record.key_code > 0) rows.push_back(record);
  }
  if (!rows.empty()) ConfigDatabase::Instance().UpdateKeyPerfs(rows);
}

void DeviceLink::ApplyLightBlock(int profile, const uint8_t* block) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  const int mode = ConfigLightMode(block);
  store.SetActiveLightMode(profile, mode);
  LIGHT_DATA row;
  if (store.GetLight(profile, mode, row)) {
    DecodeLightSettings(block, row);
    store.UpdateLight(mode, row);
  }
}

void DeviceLink::SysnDeviceProfileData() {
  const int deviceProfile = m_deviceProfile;
  if (!IsDeviceProfile(deviceProfile)) return;
  uint8_t block[kConfigSyncSize];
  if (!ReadBlock(CMD_READ_CONFIG, deviceProfile * kConfigBlockStride, kConfigSyncSize, block)) return;
  ConfigDatabase& store = ConfigDatabase::Instance();
  const int rate = ConfigReportRate(block);
  if (rate >= 1 && rate <= 4) {
    store.SetConfigValue(0, L"reporte_rate", Decimal(rate));
    SelectReportRateData(rate);
  }
  const int debounce = ConfigDebounce(block);
  store.SetConfigValue(0, L"debounce_level", Decimal(debounce));
  SelectDebounceIndex(debounce);
  const int mode = ConfigLightMode(block);
  if (mode == m_lightMode) return;
  ApplyLightBlock(deviceProfile + 1, block);
  m_lightMode = mode;
  SelectLightModeListData(mode);
  SelectLightTypeTabData(mode);
  ShowLightTypeCaption();
  RefreshLightPage();
}

void DeviceLink::ReadLightFromDevice(int profile) {
  const int deviceProfile = m_deviceProfile;
  if (!IsDeviceProfile(deviceProfile)) return;
  SendBracket(CMD_BEGIN);
  uint8_t block[kConfigBlockSize];
  if (ReadBlock(CMD_READ_CONFIG, deviceProfile * kConfigBlockStride, kConfigBlockSize, block)) {
    ApplyLightBlock(profile, block);
  }
  uint8_t colors[kColorBlockSize];
  if (ReadBlock(CMD_READ_KEY_COLORS, deviceProfile * kColorBlockStride, kColorBlockSize, colors)) {
    std::vector<USERLIGHTRGB_DATA> rows;
    for (const auto& [index, code] : m_defaultCodeByIndex) {
      if (index >= kDeviceKeys || code < 1) continue;
      USERLIGHTRGB_DATA row;
      row.profile = profile;
      row.userlight_id = profile;
      row.key_code = code;
      row.key_rgb = static_cast<int>(DecodeColorEntry(colors + 3 * index));
      rows.push_back(row);
    }
    ConfigDatabase& store = ConfigDatabase::Instance();
    store.DeleteUserLightRgbs(profile);
    if (!rows.empty()) store.InsertUserLightRgbs(rows);
  }
  SendBracket(CMD_END);
}

void DeviceLink::CheckKeyCalibration() {
  SendBracket(CMD_BEGIN);
  uint8_t calibration[kCalibrationBlockSize];
  // Only a complete block may claim a key uncalibrated: zeros would claim them all.
  if (ReadBlock(CMD_READ_STATUS, 0, kCalibrationBlockSize, calibration)) {
    for (int code : GetLightKeyCodes()) {
      const auto index = m_keyIndexByCode.find(code);
      if (index == m_keyIndexByCode.end() || index->second >= kCalibrationBlockSize) continue;
      if (calibration[index->second] != kCalibratedMark) {
        ShowCalibrationWarning(Text(kCalibrationTextId));
        break;
      }
    }
  }
  SendBracket(CMD_END);
}

void DeviceLink::PollLiveColors() {
  SendBracket(CMD_BEGIN);
  uint8_t live[kColorBlockSize];
  const bool read = ReadBlock(CMD_READ_LIVE_COLORS, 0, kColorBlockSize, live);
  SendBracket(CMD_END);
  if (!read) return;
  std::vector<std::pair<int, COLORREF>> colors;
  for (const auto& [index, code] : m_defaultCodeByIndex) {
    if (index < kDeviceKeys && code >= 1) colors.emplace_back(code, DecodeColorEntry(live + 3 * index));
  }
  SetLightKeyColors(colors);
}
