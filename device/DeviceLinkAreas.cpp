// DeviceLink: writing macros, per-key colours, per-key performance and music frames.
#include <cstring>
#include <vector>

#include "device/DeviceBlocks.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"

namespace {

constexpr DWORD kColorSettleMs = 100;
constexpr int kMacroPointers = 32;
constexpr int kMacroEventsStart = 64;
constexpr int kMacroCopySize = 0x800;  // one copy of the area; three copies 0x800 apart
constexpr int kMacroCopies = 3;
constexpr int kMacroEventSize = 4;
constexpr int kMusicFrameSize = 384;


void PutColor(uint8_t* entry, uint32_t color) {
  entry[0] = static_cast<uint8_t>(color);
  entry[1] = static_cast<uint8_t>(color >> 8);
  entry[2] = static_cast<uint8_t>(color >> 16);
}


}  // namespace

namespace {

int BuildMacroArea(uint8_t* area) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  MacroList macros;
  store.GetMacros(macros);
  int next = kMacroEventsStart;
  for (size_t i = 0; i < macros.size(); ++i) {
    MacroRecordList events;
    store.GetMacroRecords(macros[i]->macro_id, events);
    const int size = static_cast<int>(events.size()) * kMacroEventSize;
    // Whole macros only: the first that needs a 33rd pointer or passes one copy's 2048 bytes
    // is left out with all after it, so the three copies never overlap.
    if (i >= kMacroPointers || next + size > kMacroCopySize) break;
    area[2 * i] = static_cast<uint8_t>(next);
    area[2 * i + 1] = static_cast<uint8_t>(next >> 8);
    for (size_t e = 0; e < events.size(); ++e) {
      EncodeMacroEvent(*events[e], e + 1 == events.size(), area + next);
      next += kMacroEventSize;
    }
  }
  return next;
}

}  // namespace

void DeviceLink::WriteMacros() {
  if (!CanWrite()) return;
  uint8_t area[kMacroCopySize] = {};
  const int size = BuildMacroArea(area);
  SendBracket(CMD_BEGIN);
  for (int copy = 0; copy < kMacroCopies; ++copy) {
    const int base = copy * kMacroCopySize;
    // As the keyboard expects: chunks 0 .. size / 56, the last carrying size mod 56 bytes
    // (0 when size is a multiple of 56; that chunk is still sent).
    for (int i = 0; i <= size / COMMAND_MAX_PAYLOAD; ++i) {
      const int length = i < size / COMMAND_MAX_PAYLOAD ? COMMAND_MAX_PAYLOAD : size % COMMAND_MAX_PAYLOAD;
      uint8_t frame[COMMAND_REPORT_SIZE];
      PrepareFrame(frame, CMD_WRITE_MACROS, length, base + COMMAND_MAX_PAYLOAD * i);
      std::memcpy(frame + 9, area + COMMAND_MAX_PAYLOAD * i, static_cast<size_t>(length));
      if (!m_hid.SendCommand(frame)) break;
    }
  }
  SendBracket(CMD_END);
}

void DeviceLink::WriteKeyColors() {
  if (!PauseUnlessStopping(kColorSettleMs) || !CanWrite()) return;
  const int profile = m_deviceProfile;
  uint8_t block[kColorBlockSize] = {};
  UserLightRgbList stored;
  ConfigDatabase::Instance().GetUserLightRgbs(profile + 1, stored);
  std::vector<std::pair<int, COLORREF>> shown;
  for (const auto& color : stored) {
    const auto index = m_keyIndexByCode.find(color->key_code);
    if (index == m_keyIndexByCode.end() || index->second >= kDeviceKeys) continue;
    PutColor(block + 3 * index->second, static_cast<uint32_t>(color->key_rgb));
    shown.emplace_back(color->key_code, static_cast<COLORREF>(color->key_rgb));
  }
  SetLightKeyColors(shown);
  SendBracket(CMD_BEGIN);
  WriteBlock(CMD_WRITE_KEY_COLORS, profile * kColorBlockStride, kColorBlockSize, block);
  SendBracket(CMD_END);
}

void DeviceLink::WriteKeyPerf() {
  if (!CanWrite()) return;
  const int profile = m_deviceProfile;
  KeyPerfList rows;
  ConfigDatabase::Instance().GetKeyPerfs(profile + 1, rows);
  if (rows.empty()) return;  // nothing stored: no frame at all
  uint8_t block[kPerfBlockSize] = {};
  std::map<int, int> slots;
  for (const auto& row : rows) {
    const auto index = m_keyIndexByCode.find(row->key_code);
    if (index == m_keyIndexByCode.end() || index->second >= kDeviceKeys) continue;
    EncodePerfEntry(*row, block + kPerfEntrySize * index->second);
    slots[row->key_code] = row->switch_type;
  }
  {
    std::lock_guard<std::mutex> lock(m_perfSlotLock);
    m_perfSlotByKey.swap(slots);
  }
  SendBracket(CMD_BEGIN);
  WriteBlock(CMD_WRITE_KEY_PERF, profile * kPerfBlockStride, kPerfBlockSize, block);
  SendBracket(CMD_END);
}

std::map<int, int> DeviceLink::PerfSlots() {
  std::lock_guard<std::mutex> lock(m_perfSlotLock);
  return m_perfSlotByKey;
}

void DeviceLink::StorePerfSlots(const std::map<int, int>& slots, bool emptyFirst) {
  std::lock_guard<std::mutex> lock(m_perfSlotLock);
  if (emptyFirst) m_perfSlotByKey.clear();
  for (const auto& [code, type] : slots) m_perfSlotByKey[code] = type;
}

void DeviceLink::WriteMusicFrame() {
  SendBracket(CMD_BEGIN);
  uint8_t frame[kMusicFrameSize] = {};
  for (const auto& [code, color] : GetLightKeyColors()) {
    const auto index = m_keyIndexByCode.find(code);
    if (index != m_keyIndexByCode.end() && index->second < kDeviceKeys) PutColor(frame + 3 * index->second, color);
  }
  // A keyboard that stops answering costs one failed chunk per idle step, and no CMD_END.
  if (WriteBlock(CMD_WRITE_MUSIC_FRAME, 0, kMusicFrameSize, frame)) SendBracket(CMD_END);
}
