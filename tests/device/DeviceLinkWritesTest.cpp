// Writing the configuration block, key maps and advanced keys into the simulated keyboard,
// checked against its memory areas and its frame log.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceLinkFixture.h"
#include "RawDb.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "device/DeviceBlocks.h"

using simkb::Area;
using simkb::Bus;
using simkb::Bytes;
using testsupport::RecordingDeviceLink;
using testsupport::Slice;

namespace {

class DeviceLinkWritesTest : public testsupport::DeviceLinkFixture {
 protected:
  // Connected, with the key tables read and the writers real.
  simkb::Keyboard& Ready() {
    simkb::Keyboard& keyboard = Connect();
    m_link->SetReal({"WriteKeyMap", "WriteKeyMapAllLayers", "WriteLightSettings", "WriteDeviceSettings",
                     "SendCalibrationMode"});
    m_link->ReadKeyMapsFromDevice();
    return keyboard;
  }
  void SetConfig(int profile, const std::string& key, const std::string& value) {
    RawDb raw(DbFile());
    raw.Exec("DELETE FROM t_config_data WHERE profile = " + std::to_string(profile) + " AND key = '" + key + "'");
    raw.Exec("INSERT INTO t_config_data(profile, key, value) VALUES (" + std::to_string(profile) + ", '" + key +
             "', '" + value + "')");
  }
  KEY_MACRO_DATA Row(int layer, int code, int type, int value, int value2 = 0, int value3 = 0) {
    KEY_MACRO_DATA row;
    row.profile = 1;
    row.fn_layer = layer;
    row.key_code = code;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_value2 = value2;
    row.macro_value3 = value3;
    return row;
  }
  int AddAdvancedKey(int type, int key1, int key2, int reserved = 0) {
    MAGNETIC_KEY_DATA key;
    key.profile = 1;
    key.macro_type = type;
    key.key1_value = key1;
    key.key2_value = key2;
    key.reserved = reserved;
    return ConfigDatabase::Instance().InsertMagneticKey(key);
  }
  int Code(int index) { return m_link->m_defaultCodeByIndex.at(index); }
};

TEST_F(DeviceLinkWritesTest, EncoderTable) {
  Ready();
  RecordingDeviceLink& link = *m_link;
  ConfigDatabase& store = ConfigDatabase::Instance();
  store.CreateMacro(L"one");
  store.CreateMacro(L"two");
  const int third = store.CreateMacro(L"three");
  const int mt = AddAdvancedKey(MACRO_TYPE_MT, 0x04, 0xE1, 200);
  const int partner = Code(7);
  link.m_advKeySlots[0x50] = 3;
  link.m_dksKeySlots[0x51] = 9;
  const struct {
    const char* name;
    KEY_MACRO_DATA row;
    std::vector<int> entry;
  } rows[] = {
      {"key shift", Row(0, 0x50, MACRO_TYPE_KEY, 0xE1, 0), {0x10, 0x02, 0x00}},
      {"key with control", Row(0, 0x50, MACRO_TYPE_KEY, 0x04, 0xE0), {0x10, 0x01, 0x04}},
      {"key with a mask", Row(0, 0x50, MACRO_TYPE_KEY, 0x04, 0x03), {0x10, 0x03, 0x04}},
      {"disabled", Row(0, 0x50, MACRO_TYPE_DISABLED, 1), {0x10, 0x00, 0x00}},
      {"media", Row(0, 0x50, MACRO_TYPE_MEDIA, 0x00E9), {0x30, 0xE9, 0x00}},
      {"function FN1", Row(0, 0x50, MACRO_TYPE_FUNCTION, 0x1FF), {0xF0, 0xFF, 0x01}},
      {"mouse 1", Row(0, 0x50, MACRO_TYPE_MOUSE, 1), {0x20, 0x01, 0x00}},
      {"mouse 2", Row(0, 0x50, MACRO_TYPE_MOUSE, 2), {0x20, 0x04, 0x00}},
      {"mouse 3", Row(0, 0x50, MACRO_TYPE_MOUSE, 3), {0x20, 0x02, 0x00}},
      {"mouse 4", Row(0, 0x50, MACRO_TYPE_MOUSE, 4), {0x20, 0x01, 0x01}},
      {"mouse 5", Row(0, 0x50, MACRO_TYPE_MOUSE, 5), {0x21, 0x00, 0x01}},
      {"mouse 6", Row(0, 0x50, MACRO_TYPE_MOUSE, 6), {0x21, 0x00, 0xFF}},
      {"mouse 7", Row(0, 0x50, MACRO_TYPE_MOUSE, 7), {0x20, 0x10, 0x00}},
      {"mouse 8", Row(0, 0x50, MACRO_TYPE_MOUSE, 8), {0x20, 0x08, 0x00}},
      {"mouse other", Row(0, 0x50, MACRO_TYPE_MOUSE, 9), {0x20, 0x00, 0x00}},
      {"macro at position 2", Row(0, 0x50, MACRO_TYPE_MACRO, third), {0x70, 0x02, 0x01}},
      {"missing macro", Row(0, 0x50, MACRO_TYPE_MACRO, 999), {0xAA, 0xBB, 0xCC}},
      {"MT with reserved 200", Row(0, 0x50, MACRO_TYPE_MT, mt), {0x92, 0x03, 20}},
      {"RS with a partner", Row(0, 0x50, MACRO_TYPE_RS, 1, 0, partner), {0x93, 0x03, 7}},
      {"SOCD without a partner index", Row(0, 0x50, MACRO_TYPE_SOCD, 1, 0, 0x99), {0x94, 0x03, 0x00}},
      {"OKS with a partner", Row(0, 0x50, MACRO_TYPE_OKS, 1, 0, partner), {0x95, 0x03, 7}},
      {"DKS with a slot", Row(0, 0x51, MACRO_TYPE_DKS, 1), {0x90, 0x09, 0xCC}},
      {"RS without a slot", Row(0, 0x52, MACRO_TYPE_RS, 1, 0, partner), {0x93, 0xBB, 0xCC}},
      {"TGL without a slot", Row(0, 0x52, MACRO_TYPE_TGL, 1), {0x91, 0xBB, 0xCC}},
      {"unknown kind", Row(0, 0x52, 4, 1), {0xAA, 0xBB, 0xCC}},
  };
  for (const auto& row : rows) {
    uint8_t keyMap[512] = {};
    keyMap[6] = 0xAA, keyMap[7] = 0xBB, keyMap[8] = 0xCC;
    link.EncodeKeyFunction(2, keyMap, row.row);
    EXPECT_EQ(row.entry, (std::vector<int>{keyMap[6], keyMap[7], keyMap[8]})) << row.name;
  }
  EXPECT_EQ(0u, link.m_keyIndexByCode.count(0x99)) << "the partner lookup adds nothing";
}

TEST_F(DeviceLinkWritesTest, ConfigurationBlockIsReadModifiedAndWrittenBack) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  link.m_deviceProfile = 1;
  SetConfig(0, "reporte_rate", "3");
  SetConfig(0, "tick_rate", "2");
  SetConfig(0, "dead_zone", "7");
  SetConfig(0, "disable_win", "1");
  SetConfig(0, "disable_alttab", "0");
  SetConfig(0, "disable_altf4", "1");
  SetConfig(0, "perf_tachyon_mode", "1");
  SetConfig(2, "perf_bottomrapidtrigger_mode", "1");
  SetConfig(0, "actuation_check", "0");
  SetConfig(0, "debounce_level", "5");
  LIGHT_DATA light;
  light.profile = 2;
  light.mode = 4;
  light.brightness = 3;
  light.speed = 1;
  light.direction = 2;
  light.colorful = 1;
  light.colorindex = 6;
  light.color_value = 0x332211;
  ConfigDatabase::Instance().InsertLight(light);
  link.m_lightMode = 4;

  const Bytes pattern = keyboard.Read(Area::Config);
  const auto onlyBytes4To16Differ = [&](const char* name) {
    const Bytes now = keyboard.Read(Area::Config);
    for (size_t i = 0; i < now.size(); ++i) {
      const bool editable = i >= 64 + 4 && i <= 64 + 16;
      if (!editable) {
        EXPECT_EQ(pattern[i], now[i]) << name << " byte " << i;
      }
    }
    return Slice(now, 64 + 4, 13);
  };

  size_t mark = Bus::Get().Mark();
  link.m_calibrationMode = true;
  link.WriteDeviceSettings();
  Bytes block = onlyBytes4To16Differ("settings");
  EXPECT_EQ(0x23, block[0]) << "report rate 3, tick rate 2";
  EXPECT_EQ(7, block[1]);
  EXPECT_EQ(0x05, block[2]) << "Windows key and Alt+F4 locked";
  EXPECT_EQ(0x01 | 0x02 | 0x0C | 0xA0, block[3]) << "tachyon, bottom rapid trigger, calibration bits, debounce 5";
  std::vector<int> commands;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) commands.push_back(frame.command);
  EXPECT_EQ((std::vector<int>{CMD_BEGIN, CMD_READ_CONFIG, CMD_WRITE_CONFIG, CMD_END}), commands);
  const auto read = FramesOf(mark, CMD_READ_CONFIG).at(0), write = FramesOf(mark, CMD_WRITE_CONFIG).at(0);
  EXPECT_EQ(32, read.length);
  EXPECT_EQ(64, read.offset);
  EXPECT_EQ(32, write.length);
  EXPECT_EQ(64, write.offset);
  EXPECT_GE(FramesOf(mark, CMD_END).at(0).timeMs - write.timeMs, 400u);
  EXPECT_TRUE(Bus::Get().Problems().empty());

  link.WriteLightSettings();
  block = onlyBytes4To16Differ("light");
  EXPECT_EQ((Bytes{4, 3, 3, 2, 1, 6, 0x11, 0x22, 0x33}), Slice(block, 4, 9));
  link.lightSwitchOn = false;
  link.WriteLightSettings();
  EXPECT_EQ(255, onlyBytes4To16Differ("light off")[4]);

  simkb::FaultRule fault;
  fault.kind = simkb::FaultKind::SuppressReply;
  fault.command = CMD_READ_CONFIG;
  keyboard.AddFault(fault);
  const Bytes before = keyboard.Read(Area::Config);
  SetConfig(0, "dead_zone", "9");
  mark = Bus::Get().Mark();
  link.WriteDeviceSettings();
  EXPECT_TRUE(FramesOf(mark, CMD_WRITE_CONFIG).empty()) << "a failed read writes nothing";
  EXPECT_EQ(1u, FramesOf(mark, CMD_END).size());
  EXPECT_EQ(before, keyboard.Read(Area::Config));
}

TEST_F(DeviceLinkWritesTest, KeyMapOfALayerFromItsRows) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  ConfigDatabase::Instance().InsertKeyMacros({Row(5, Code(3), MACRO_TYPE_MEDIA, 0x00E9),
                                              Row(5, Code(10), MACRO_TYPE_KEY, 0x05), Row(0, Code(4), MACRO_TYPE_DISABLED, 1),
                                              Row(5, 0x99, MACRO_TYPE_KEY, 0x05)});
  std::memset(link.m_defaultKeyTable, 0, sizeof link.m_defaultKeyTable);  // read again first
  link.m_fnLayer = 5;
  size_t mark = Bus::Get().Mark();
  link.WriteKeyMap();
  const auto reads = FramesOf(mark, CMD_READ_KEYMAP), writes = FramesOf(mark, CMD_WRITE_KEYMAP);
  ASSERT_EQ(10u, reads.size()) << "the default table is read first";
  ASSERT_EQ(10u, writes.size());
  EXPECT_LT(reads.back().timeMs, writes.front().timeMs + 1);
  for (size_t j = 0; j < writes.size(); ++j) {
    EXPECT_EQ(5 * 512 + 56 * static_cast<int>(j), writes[j].offset);
    EXPECT_EQ(j < 9 ? 56 : 8, writes[j].length);
  }
  Bytes expected(512, 0);
  expected[9] = 0x30, expected[10] = 0xE9;
  expected[30] = 0x10, expected[32] = 0x05;
  EXPECT_EQ(expected, Slice(keyboard.Read(Area::KeyMaps), 5 * 512, 512)) << "keys without a row are zero";

  link.m_fnLayer = 0;
  link.WriteKeyMap();
  Bytes layer0 = Slice(keyboard.Factory(Area::FactoryMaps), 0, 512);
  layer0[12] = 0x10, layer0[13] = 0, layer0[14] = 0;
  EXPECT_EQ(layer0, Slice(keyboard.Read(Area::KeyMaps), 0, 512)) << "layer 0 keeps its default entries";
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(DeviceLinkWritesTest, AdvancedKeyAreasFollowTheMask) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  ConfigDatabase& store = ConfigDatabase::Instance();
  size_t mark = Bus::Get().Mark();
  link.m_advKeyWriteMask = 7;
  link.WriteAdvancedKeys();
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty()) << "no advanced key, no frame";

  const int dks = AddAdvancedKey(MACRO_TYPE_DKS, 0x1234, 0x0456);
  const int triggers[] = {0x0101, 0x0202, 0x0303, 0x0404, 0x0505};
  const int usages[] = {0x04, 0xE1, 0x06, 0x07, 0x08};
  for (int i = 0; i < 5; ++i) {
    KEY_ITEM_DATA item;
    item.macro_id = dks;
    item.trigger_state1 = triggers[i];
    item.key_value = usages[i];
    store.InsertKeyItem(item);
  }
  const int tgl = AddAdvancedKey(MACRO_TYPE_TGL, 0xE2, 0);
  store.InsertKeyMacros({Row(0, Code(1), MACRO_TYPE_DKS, dks), Row(0, Code(2), MACRO_TYPE_TGL, tgl)});
  link.m_advKeyWriteMask = 7;
  mark = Bus::Get().Mark();
  link.WriteAdvancedKeys();
  std::vector<int> commands;
  for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) commands.push_back(frame.command);
  std::vector<int> expected = {CMD_BEGIN};
  expected.insert(expected.end(), 3, CMD_WRITE_TGL);
  expected.insert(expected.end(), 14, CMD_WRITE_DKS);
  expected.push_back(CMD_END);
  EXPECT_EQ(expected, commands);
  EXPECT_EQ(0, link.m_advKeyWriteMask.load());
  EXPECT_EQ((Bytes{0x34, 0x12, 0x56, 0x04, 0x10, 0, 0x04, 0x01, 0x01, 0x10, 0x02, 0, 0x02, 0x02, 0x10, 0, 0x06, 0x03,
                   0x03, 0x10, 0, 0x07, 0x04, 0x04}),
            Slice(keyboard.Read(Area::Dks), 0, 24))
      << "key1, key2, four actions with their trigger masks";
  EXPECT_EQ((Bytes{0x10, 0x04, 0x00}), Slice(keyboard.Read(Area::Tgl), 0, 3));
  EXPECT_EQ(0, link.m_dksKeySlots.at(Code(1)));
  EXPECT_EQ(0, link.m_tglKeySlots.at(Code(2)));

  link.m_advKeyWriteMask = 1;
  mark = Bus::Get().Mark();
  link.WriteAdvancedKeys();
  EXPECT_TRUE(FramesOf(mark, CMD_WRITE_TGL).empty()) << "a clear mask bit: the area is not sent";
  EXPECT_EQ(14u, FramesOf(mark, CMD_WRITE_DKS).size());

  // 100 MT keys in layer 3: 42 slots fit the area.
  const int mt = AddAdvancedKey(MACRO_TYPE_MT, 0x04, 0x05);
  std::vector<KEY_MACRO_DATA> many;
  for (int code = 1; code <= 100; ++code) many.push_back(Row(3, code, MACRO_TYPE_MT, mt));
  store.InsertKeyMacros(many);
  link.m_fnLayer = 3;
  link.m_advKeyWriteMask = 2;
  mark = Bus::Get().Mark();
  link.WriteAdvancedKeys();
  const auto chunks = FramesOf(mark, CMD_WRITE_ADV_KEYS);
  ASSERT_EQ(5u, chunks.size());
  EXPECT_EQ(32, chunks.back().length);
  EXPECT_EQ(84, link.m_advKeySlots.at(85)) << "slots are built past the area";
  EXPECT_EQ(0u, link.m_advKeySlots.count(86)) << "and stop at 85";
  EXPECT_EQ((Bytes{0x10, 0, 0x04, 0x10, 0, 0x05}), Slice(keyboard.Read(Area::AdvKeys), 41 * 6, 6));
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

// After deleting each kind in turn, an all-layers write leaves no trace of the key in any area,
// and the current layer's key map no longer points at it.
TEST_F(DeviceLinkWritesTest, AllLayersWriteForgetsDeletedKeys) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  ConfigDatabase& store = ConfigDatabase::Instance();
  struct Kind {
    const char* name;
    int type, index;
    Bytes mark;  // bytes that only this key leaves in its area
    Area area;
    int id = 0;
  };
  Kind kinds[] = {{"DKS", MACRO_TYPE_DKS, 1, {0xBC, 0x0A}, Area::Dks},
                  {"TGL", MACRO_TYPE_TGL, 2, {0x10, 0x00, 0x2D}, Area::Tgl},
                  {"MT", MACRO_TYPE_MT, 3, {0x10, 0x00, 0x2E, 0x10, 0x00, 0x2F}, Area::AdvKeys},
                  {"OKS", MACRO_TYPE_OKS, 4, {0x31}, Area::AdvKeys}};
  kinds[0].id = AddAdvancedKey(MACRO_TYPE_DKS, 0x0ABC, 0);
  kinds[1].id = AddAdvancedKey(MACRO_TYPE_TGL, 0x2D, 0);
  kinds[2].id = AddAdvancedKey(MACRO_TYPE_MT, 0x2E, 0x2F);
  kinds[3].id = AddAdvancedKey(MACRO_TYPE_OKS, 0, 0x31);
  for (const Kind& kind : kinds) store.InsertKeyMacros({Row(0, Code(kind.index), kind.type, kind.id, 0, Code(9))});
  store.InsertKeyMacros({Row(2, Code(5), MACRO_TYPE_MT, kinds[2].id)});  // used on another layer too
  const auto contains = [](const Bytes& area, const Bytes& mark) {
    return std::search(area.begin(), area.begin() + 256, mark.begin(), mark.end()) != area.begin() + 256;
  };
  link.WriteKeyMapAllLayers();
  for (const Kind& kind : kinds) {
    EXPECT_TRUE(contains(keyboard.Read(kind.area), kind.mark)) << kind.name << " written";
    EXPECT_EQ(kind.type == MACRO_TYPE_DKS   ? 0x90
              : kind.type == MACRO_TYPE_TGL ? 0x91
              : kind.type == MACRO_TYPE_MT  ? 0x92
                                            : 0x95,
              keyboard.Read(Area::KeyMaps)[3 * kind.index])
        << kind.name;
  }
  for (const Kind& kind : kinds) {
    store.DeleteMagneticKey(kind.id);
    RawDb(DbFile()).Exec("DELETE FROM t_key_macro_data WHERE macro_value = " + std::to_string(kind.id) +
                         " AND macro_type = " + std::to_string(kind.type));
    link.WriteKeyMapAllLayers();
    for (Area area : {Area::Dks, Area::Tgl, Area::AdvKeys}) {
      EXPECT_FALSE(contains(keyboard.Read(area), kind.mark)) << kind.name << " deleted";
    }
    const uint8_t type = keyboard.Read(Area::KeyMaps)[3 * kind.index];
    EXPECT_TRUE(type < 0x90 || type > 0x95) << kind.name << ": the key map no longer points at it";
  }
  for (Area area : {Area::Dks, Area::Tgl, Area::AdvKeys}) {
    const Bytes bytes = keyboard.Read(area);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 128, [](uint8_t b) { return b == 0; }))
        << "nothing left after the last key";
  }
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(DeviceLinkWritesTest, CalibrationSwitchAndBounds) {
  Ready();
  RecordingDeviceLink& link = *m_link;
  for (bool on : {true, false}) {
    link.m_calibrationMode = on;
    const size_t mark = Bus::Get().Mark();
    link.SendCalibrationMode();
    const auto frames = Bus::Get().FramesSince(mark);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(on ? CMD_CALIBRATION_ON : CMD_CALIBRATION_OFF, frames[0].command);
    EXPECT_EQ(0, frames[0].depth) << "unbracketed";
  }
  ConfigDatabase::Instance().InsertKeyMacros({Row(0, Code(1), MACRO_TYPE_DKS, 1)});
  for (auto [profile, layer] : {std::pair<int, int>{7, 0}, {0, 12}, {-1, 0}, {0, -1}}) {
    link.m_deviceProfile = profile;
    link.m_fnLayer = layer;
    link.m_advKeyWriteMask = 7;
    const size_t mark = Bus::Get().Mark();
    link.WriteLightSettings();
    link.WriteDeviceSettings();
    link.SendCalibrationMode();
    link.WriteKeyMap();
    link.WriteKeyMapAllLayers();
    link.WriteAdvancedKeys();
    EXPECT_TRUE(Bus::Get().FramesSince(mark).empty()) << "profile " << profile << " layer " << layer;
  }
}

// The keyboard is pulled at one frame of a write: the writer ends soon, the store is untouched,
// and the same write after re-plugging leaves the expected bytes.
TEST_F(DeviceLinkWritesTest, UnplugInTheMiddleOfAWrite) {
  const struct {
    const char* name;
    void (*run)(RecordingDeviceLink&);
    int cuts[3];
  } rows[] = {{"key map", [](RecordingDeviceLink& l) { l.WriteKeyMap(); }, {1, 4, 11}},
              {"advanced keys", [](RecordingDeviceLink& l) { l.WriteAdvancedKeys(); }, {2, 9, 16}},
              {"configuration", [](RecordingDeviceLink& l) { l.WriteDeviceSettings(); }, {1, 2, 3}}};
  for (const auto& row : rows) {
    for (int cut : row.cuts) {
      Bus::Get().Reset();
      simkb::Keyboard& keyboard = Ready();
      RecordingDeviceLink& link = *m_link;
      const int dks = AddAdvancedKey(MACRO_TYPE_DKS, 0x0ABC, 0);
      ConfigDatabase::Instance().InsertKeyMacros({Row(0, Code(1), MACRO_TYPE_DKS, dks), Row(0, Code(2), MACRO_TYPE_MEDIA, 0xE9)});
      SetConfig(0, "dead_zone", "9");
      const std::vector<std::string> before = Dump();
      simkb::FaultRule remove;
      remove.kind = simkb::FaultKind::RemoveDevice;
      remove.nth = cut;
      keyboard.AddFault(remove);
      link.m_advKeyWriteMask = 7;
      const DWORD start = GetTickCount();
      row.run(link);
      EXPECT_LT(GetTickCount() - start, 1500u) << row.name << " cut at " << cut;
      EXPECT_EQ(before, Dump()) << row.name << " cut at " << cut;
      keyboard.ClearFaults();
      Bus::Get().Replug(keyboard);
      link.OpenDevice();
      link.UpdateConnectionState(0);
      Drain(link);
      link.m_advKeyWriteMask = 7;
      row.run(link);
      const Bytes maps = keyboard.Read(Area::KeyMaps), dksArea = keyboard.Read(Area::Dks);
      if (row.run == rows[2].run) {
        EXPECT_EQ(9, keyboard.Read(Area::Config)[5]) << row.name << " cut at " << cut;
      } else {
        EXPECT_EQ(0xBC, dksArea[0]) << row.name << " cut at " << cut;
      }
      if (row.run == rows[0].run) {
        EXPECT_EQ((Bytes{0x30, 0xE9, 0x00}), Slice(maps, 6, 3)) << row.name << " cut at " << cut;
      }
    }
  }
}

}  // namespace
