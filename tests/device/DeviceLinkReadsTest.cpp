// Reading the keyboard into the settings store: the block decoders, the key maps with the
// factory import, the on-board profile, performance, lighting, calibration and live colours
// against the simulated keyboard; and that a failed or cut-off read leaves the store, the
// members and the pages as they were.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceLinkFixture.h"
#include "RawDb.h"
#include "RecordingShell.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "device/DeviceBlocks.h"

using simkb::Area;
using simkb::Bus;
using simkb::Bytes;
using testsupport::Count;
using testsupport::Drain;
using testsupport::Last;
using testsupport::LinkCall;
using testsupport::RecordingDeviceLink;

namespace {

TEST(DeviceBlocksTest, DefaultKeyCodes) {
  const struct {
    uint8_t entry[3];
    int code;
  } rows[] = {{{0x10, 0x02, 0x04}, 0xE1}, {{0x10, 0x03, 0x04}, 0x04}, {{0x10, 0x00, 0xFF}, 0},
              {{0x10, 0x00, 0x00}, 0},    {{0xF0, 0xFF, 0x12}, 255},  {{0xF0, 0x53, 0x00}, 70},
              {{0xE0, 0x05, 0x00}, 246},  {{0x10, 0x80, 0x00}, 0xE7}, {{0x20, 0x01, 0x00}, 0},
              {{0x00, 0x00, 0x04}, 0},    {{0xF0, 0x01, 0x00}, 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.code, DefaultKeyCode(row.entry))
        << std::hex << int(row.entry[0]) << " " << int(row.entry[1]) << " " << int(row.entry[2]);
  }
  uint8_t table[512] = {0x10, 0, 0x04, 0x10, 0, 0x05, 0x10, 0, 0x04};
  std::map<int, int> codeByIndex = {{99, 99}}, indexByCode;
  DecodeDefaultKeyTable(table, codeByIndex, indexByCode);
  EXPECT_EQ((std::map<int, int>{{0, 4}, {1, 5}, {2, 4}}), codeByIndex);
  EXPECT_EQ((std::map<int, int>{{4, 2}, {5, 1}}), indexByCode) << "a later duplicate wins";
}

TEST(DeviceBlocksTest, PerformanceEntryAndLightSettings) {
  const uint8_t entry[8] = {0x02, 0x01, 0x63, 0x00, 0x04, 0x06, 0x04, 0x00};
  KEY_PERF_DATA record;
  record.deadzone_state = 7;
  DecodePerfEntry(entry, record);
  EXPECT_EQ(2, record.switch_type);
  EXPECT_EQ(1, record.key_mode);
  EXPECT_EQ(100, record.key_actuation);
  EXPECT_EQ(5, record.rt_press);
  EXPECT_EQ(3, record.press_deadzone);
  EXPECT_EQ(5, record.rt_release);
  EXPECT_EQ(0, record.release_deadzone);
  EXPECT_EQ(7, record.deadzone_state) << "left as it was";
  const uint8_t high[8] = {0, 0, 0x2B, 0x01, 0xFF, 0x3F, 0, 0x3E};
  DecodePerfEntry(high, record);
  EXPECT_EQ(300, record.key_actuation);
  EXPECT_EQ(512, record.rt_press);
  EXPECT_EQ(31, record.press_deadzone);
  EXPECT_EQ(31, record.release_deadzone);

  uint8_t block[32] = {};
  const uint8_t light[] = {5, 7, 1, 2, 1, 3, 0x11, 0x22, 0x33};
  std::copy(std::begin(light), std::end(light), block + 8);
  block[4] = 0x23;
  block[7] = 0xA5;
  LIGHT_DATA row;
  DecodeLightSettings(block, row);
  EXPECT_EQ(5, ConfigLightMode(block));
  EXPECT_EQ(3, ConfigReportRate(block)) << "tick rate 2 in the high bits";
  EXPECT_EQ(5, ConfigDebounce(block));
  EXPECT_EQ(7, row.brightness);
  EXPECT_EQ(3, row.speed) << "stored inverted";
  EXPECT_EQ(2, row.direction);
  EXPECT_EQ(1, row.colorful);
  EXPECT_EQ(3, row.colorindex);
  EXPECT_EQ(0x332211, row.color_value);
}

class DeviceLinkReadsTest : public testsupport::DeviceLinkFixture {
 protected:
  // The link's device members, as text, for before-and-after comparisons.
  std::string Members() {
    RecordingDeviceLink& link = *m_link;
    std::string text = "profile " + std::to_string(link.m_deviceProfile) + " layer " + std::to_string(link.m_fnLayer) +
                       " light " + std::to_string(link.m_lightMode) + " codes";
    for (const auto& [index, code] : link.m_defaultCodeByIndex) text += " " + std::to_string(index) + ":" + std::to_string(code);
    for (const auto& [code, index] : link.m_keyIndexByCode) text += " " + std::to_string(code) + "@" + std::to_string(index);
    for (const KEY_PERF_DATA& perf : link.m_keyPerf) {
      text += " " + std::to_string(perf.key_code) + "/" + std::to_string(perf.key_actuation) + "/" +
              std::to_string(perf.deadzone_state);
    }
    return text;
  }

  // Rows for the store to hold, so that every block's update shows: performance rows of
  // profiles 1 and 2 for every default code, light rows of modes 0..6, a key row per layer.
  void SeedStore() {
    ConfigDatabase& store = ConfigDatabase::Instance();
    std::vector<KEY_PERF_DATA> perf;
    std::vector<KEY_MACRO_DATA> keys;
    for (const auto& [index, code] : m_link->m_defaultCodeByIndex) {
      for (int profile : {1, 2}) {
        KEY_PERF_DATA row;
        row.profile = profile;
        row.key_code = code;
        perf.push_back(row);
      }
      if (index != 0) continue;
      for (int layer = 0; layer < 12; ++layer) {
        KEY_MACRO_DATA row;
        row.profile = 1;
        row.fn_layer = layer;
        row.key_code = code;
        row.macro_type = MACRO_TYPE_DISABLED;
        keys.push_back(row);
      }
    }
    store.InsertKeyPerfs(perf);
    store.InsertKeyMacros(keys);
    for (int profile : {1, 2}) {
      for (int mode = 0; mode < 7; ++mode) {
        LIGHT_DATA light;
        light.profile = profile;
        light.mode = mode;
        store.InsertLight(light);
      }
    }
  }

};

// A default table of n plain keys (usages 4, 5, ...) in the keyboard's layer 0.
Bytes DefaultTable(int n) {
  Bytes table(512, 0);
  for (int k = 0; k < n; ++k) {
    table[3 * k] = 0x10;
    table[3 * k + 2] = static_cast<uint8_t>(4 + k);
  }
  return table;
}

TEST_F(DeviceLinkReadsTest, MoreThanTwentyDefaultCodesEnableTheKeyMapReads) {
  for (int n : {20, 21}) {
    simkb::Keyboard& keyboard = Connect();
    keyboard.Write(Area::FactoryMaps, 0, DefaultTable(n));
    const size_t mark = Bus::Get().Mark();
    m_link->ReadKeyMapsFromDevice();
    EXPECT_EQ(static_cast<size_t>(n), m_link->m_defaultCodeByIndex.size());
    size_t factoryLayers = 0;
    for (const simkb::Frame& frame : FramesOf(mark, CMD_READ_KEYMAP)) factoryLayers += frame.offset >= 512;
    EXPECT_EQ(n > 20 ? 110u : 0u, factoryLayers) << n << " codes";
    EXPECT_EQ(n > 20 ? 120u : 0u, FramesOf(mark, CMD_READ_KEY_FUNCTIONS).size()) << n << " codes";
    EXPECT_TRUE(Bus::Get().Problems().empty());
    Bus::Get().Reset();
  }
}

TEST_F(DeviceLinkReadsTest, FactoryMapsAreImportedOnceAndKeyFunctionsUpdateExistingRows) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  link.ReadKeyMapsFromDevice();
  RawDb raw(DbFile());
  const Bytes factory = keyboard.Factory(Area::FactoryMaps);
  int imported = 0;
  for (int layer = 1; layer < 12; ++layer) {
    int expected = 0;
    for (const auto& [index, code] : link.m_defaultCodeByIndex) {
      const uint8_t* entry = factory.data() + layer * 512 + 3 * index;
      if (index >= 128 || entry[0] == 0) continue;
      KEY_MACRO_DATA row;
      DecodeKeyFunction(entry, row);
      expected += row.macro_type > 0;
    }
    imported += expected;
    EXPECT_EQ(expected, raw.Number("SELECT count(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer = " +
                                   std::to_string(100 + layer)))
        << "layer " << layer;
  }
  EXPECT_GT(imported, 0);
  EXPECT_EQ(0, raw.Number("SELECT count(*) FROM t_key_macro_data WHERE macro_type <= 0"));

  // Layer 5 holds a row for key index 0's code; the keyboard's entry there changes.
  const int code = link.m_defaultCodeByIndex.at(0);
  KEY_MACRO_DATA row;
  row.profile = 1;
  row.fn_layer = 5;
  row.key_code = code;
  row.macro_type = MACRO_TYPE_DISABLED;
  ConfigDatabase::Instance().InsertKeyMacros({row});
  keyboard.Write(Area::KeyMaps, 5 * 512, {0x10, 0x00, 0x05});
  const int rows = raw.Number("SELECT count(*) FROM t_key_macro_data");
  const size_t mark = Bus::Get().Mark();
  link.ReadKeyMapsFromDevice();
  for (const simkb::Frame& frame : FramesOf(mark, CMD_READ_KEYMAP)) {
    EXPECT_LT(frame.offset, 512) << "no factory layer read again";
  }
  EXPECT_EQ(rows, raw.Number("SELECT count(*) FROM t_key_macro_data")) << "only existing rows change";
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"2", "5"}}),
            raw.Rows("SELECT macro_type, macro_value FROM t_key_macro_data WHERE fn_layer = 5 AND key_code = " +
                     std::to_string(code)));
}

TEST_F(DeviceLinkReadsTest, DeviceProfileFillsTheLayerStrips) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  keyboard.SetActiveProfile(1);
  link.GetDeviceProfile(0);
  EXPECT_EQ(1, link.m_deviceProfile.load());
  EXPECT_EQ(4, link.m_fnLayer.load());
  EXPECT_STREQ(testsupport::LanText(95), Last(link, "SetDeviceProfileCaption").text);
  std::vector<std::string> names;
  for (const LinkCall& call : link.Log()->Calls()) {
    if (call.name == "AddKeyLayer") names.push_back(std::to_string(call.args[0]) + " " + Utf8Of(call.text.GetString()));
  }
  const std::string tab = Utf8Of(testsupport::LanText(98).GetString()) + " %d " +
                          Utf8Of(testsupport::LanText(1903).GetString());
  ASSERT_EQ(4u, names.size());
  for (int i = 0; i < 4; ++i) {
    char expected[128];
    std::snprintf(expected, sizeof expected, ("%d " + tab).c_str(), 4 + i, 4 + i);
    EXPECT_EQ(expected, names[i]);
  }
  EXPECT_EQ((std::vector<int>{4}), Last(link, "SelectKeyLayer").args);
  EXPECT_EQ(1, Count(link, "ClearKeyLayers"));
  EXPECT_EQ(1, Count(link, "RedrawKeyLayers"));

  link.Log()->Clear();
  link.GetDeviceProfile(1);
  EXPECT_EQ((std::vector<std::string>{"GetDeviceProfile(1)"}), link.Names()) << "same profile: nothing more";

  keyboard.SetActiveProfile(7);
  link.Log()->Clear();
  link.GetDeviceProfile(0);
  EXPECT_EQ(7, link.m_deviceProfile.load());
  EXPECT_EQ(4, link.m_fnLayer.load()) << "kept";
  EXPECT_STREQ(testsupport::LanText(94), Last(link, "SetDeviceProfileCaption").text);
  EXPECT_EQ(0, Count(link, "AddKeyLayer"));
  const size_t mark = Bus::Get().Mark();
  link.LoadKeyPerfFromDevice();
  link.ReadKeyPerfFromDevice(1);
  link.ReadLightFromDevice(1);
  link.SysnDeviceProfileData();
  for (int command : {CMD_READ_KEY_PERF, CMD_READ_CONFIG, CMD_READ_KEY_COLORS}) {
    EXPECT_TRUE(FramesOf(mark, command).empty()) << "no block of profile 7, command " << command;
  }
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(DeviceLinkReadsTest, PerformanceBlockOfTheKeyboardsProfileIsStoredUnderTheArgument) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  link.ReadKeyMapsFromDevice();
  SeedStore();
  keyboard.Write(Area::Perf, 0, {0x02, 0x01, 0x63, 0x00, 0x04, 0x06, 0x04, 0x00, 0x00, 0x00, 0x2B, 0x01, 0x00, 0x00, 0x00, 0x00});
  link.m_keyPerf[1].deadzone_state = 1;
  const size_t mark = Bus::Get().Mark();
  link.ReadKeyPerfFromDevice(2);
  for (const simkb::Frame& frame : FramesOf(mark, CMD_READ_KEY_PERF)) EXPECT_LT(frame.offset, 1024);
  EXPECT_EQ(19u, FramesOf(mark, CMD_READ_KEY_PERF).size());
  RawDb raw(DbFile());
  const auto select = [&](int index) {
    return raw.Rows("SELECT switch_type, key_mode, key_actuation, rt_press, press_deadzone, rt_release, "
                    "release_deadzone, deadzone_state FROM t_key_perf_data WHERE profile = 2 AND key_code = " +
                    std::to_string(link.m_defaultCodeByIndex.at(index)));
  };
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"2", "1", "100", "5", "3", "5", "0", "1"}}), select(0));
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"0", "0", "300", "1", "0", "1", "0", "1"}}), select(1))
      << "both dead zones 0 keep the earlier deadzone_state";
  EXPECT_EQ(0, raw.Number("SELECT count(*) FROM t_key_perf_data WHERE profile = 1 AND key_actuation = 100"));
}

TEST_F(DeviceLinkReadsTest, LightingBlockColoursAndProfileSync) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  link.ReadKeyMapsFromDevice();
  SeedStore();
  keyboard.Write(Area::Config, 4, {0x23, 0, 0, 0xA0, 5, 7, 1, 2, 1, 3, 0x11, 0x22, 0x33});
  link.ReadLightFromDevice(2);
  RawDb raw(DbFile());
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"7", "3", "2", "1", "3", std::to_string(0x332211), "1"}}),
            raw.Rows("SELECT brightness, speed, direction, colorful, colorindex, color_value, status FROM "
                     "t_light_data WHERE profile = 2 AND mode = 5"));
  const Bytes colors = keyboard.Read(Area::Colors);
  int checked = 0;
  for (const auto& [index, code] : link.m_defaultCodeByIndex) {
    const int rgb = colors[3 * index] | (colors[3 * index + 1] << 8) | (colors[3 * index + 2] << 16);
    EXPECT_EQ(rgb, raw.Number("SELECT key_rgb FROM t_userlightrgb_data WHERE userlight_id = 2 AND key_code = " +
                              std::to_string(code)))
        << "key index " << index;
    ++checked;
  }
  EXPECT_EQ(checked, raw.Number("SELECT count(*) FROM t_userlightrgb_data WHERE userlight_id = 2"));

  link.Log()->Clear();
  link.m_lightMode = 0;
  link.SysnDeviceProfileData();
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"3"}}),
            raw.Rows("SELECT value FROM t_config_data WHERE profile = 0 AND key = 'reporte_rate'"));
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"5"}}),
            raw.Rows("SELECT value FROM t_config_data WHERE profile = 0 AND key = 'debounce_level'"));
  EXPECT_EQ((std::vector<std::string>{"SelectReportRateData(3)", "SelectDebounceIndex(5)",
                                      "SelectLightModeListData(5)", "SelectLightTypeTabData(5)",
                                      "ShowLightTypeCaption", "RefreshLightPage"}),
            link.Names());
  EXPECT_EQ(5, link.m_lightMode.load());
  EXPECT_EQ("7", raw.Rows("SELECT brightness FROM t_light_data WHERE profile = 1 AND mode = 5").at(0).at(0));
  link.Log()->Clear();
  link.SysnDeviceProfileData();
  EXPECT_EQ((std::vector<std::string>{"SelectReportRateData(3)", "SelectDebounceIndex(5)"}), link.Names())
      << "the same light mode is not applied again";
}

TEST_F(DeviceLinkReadsTest, CalibrationWarningAndLiveColours) {
  simkb::Keyboard& keyboard = Connect();
  RecordingDeviceLink& link = *m_link;
  link.ReadKeyMapsFromDevice();
  keyboard.Write(Area::Calibration, 0, Bytes(256, 0xFF));
  link.CheckKeyCalibration();
  EXPECT_EQ(0, Count(link, "ShowCalibrationWarning"));
  const int code = link.pictures[KEY_PICTURE_LIGHT].keys[3].code;
  keyboard.Write(Area::Calibration, static_cast<size_t>(link.m_keyIndexByCode.at(code)), {0x00});
  link.CheckKeyCalibration();
  EXPECT_STREQ(testsupport::LanText(900), Last(link, "ShowCalibrationWarning").text);

  keyboard.Write(Area::Colors, 0, Bytes(384, 0x5A));
  simkb::FaultRule fault;
  fault.kind = simkb::FaultKind::SuppressReply;
  fault.command = CMD_READ_LIVE_COLORS;
  fault.nth = 4;
  keyboard.AddFault(fault);
  link.PollLiveColors();
  EXPECT_EQ(0, Count(link, "SetLightKeyColors")) << "one chunk failed";
  EXPECT_EQ(kLayoutKeyColor, link.pictures[KEY_PICTURE_LIGHT].keys[0].color);
  link.PollLiveColors();
  ASSERT_EQ(1, Count(link, "SetLightKeyColors"));
  for (const auto& key : link.pictures[KEY_PICTURE_LIGHT].keys) {
    if (link.m_keyIndexByCode.count(key.code)) {
      EXPECT_EQ(0x5A5A5Au, key.color) << key.code;
    }
  }
}

// A block whose read fails at one frame leaves the store, the members and the pages as they
// were, although the keyboard holds other values there.
TEST_F(DeviceLinkReadsTest, AFailedBlockChangesNothing) {
  struct Row {
    const char* name;
    int command, nth;
    void (*edit)(simkb::Keyboard&, RecordingDeviceLink&, RawDb&);
    void (*run)(RecordingDeviceLink&);
    std::vector<std::string> forbidden;  // window-side calls the block would have made
    bool bracketed = true;                // the operation sends its own CMD_BEGIN / CMD_END
  };
  const Row rows[] = {
      {"default table", CMD_READ_KEYMAP, 1,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::FactoryMaps, 0, {0x10, 0, 0x2C}); },
       [](RecordingDeviceLink& l) { l.ReadKeyMapsFromDevice(); }, {}},
      {"factory layer 6", CMD_READ_KEYMAP, 10 + 5 * 10 + 1,
       [](simkb::Keyboard&, RecordingDeviceLink&, RawDb& raw) {
         raw.Exec("DELETE FROM t_key_macro_data WHERE fn_layer > 100");
       },
       [](RecordingDeviceLink& l) { l.ReadKeyMapsFromDevice(); }, {}},
      {"key-map layer 3", CMD_READ_KEY_FUNCTIONS, 3 * 10 + 1,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::KeyMaps, 3 * 512, {0x10, 0, 0x07}); },
       [](RecordingDeviceLink& l) { l.ReadKeyMapsFromDevice(); }, {}},
      {"status", CMD_READ_STATUS, 1, [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.SetActiveProfile(2); },
       [](RecordingDeviceLink& l) { l.GetDeviceProfile(1); },
       {"SetDeviceProfileCaption", "ClearKeyLayers", "AddKeyLayer", "SelectKeyLayer", "RefreshKeyCaptions"}},
      {"performance chunk 10", CMD_READ_KEY_PERF, 10,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::Perf, 0, Bytes(1024, 0x21)); },
       [](RecordingDeviceLink& l) { l.ReadKeyPerfFromDevice(1); }, {}},
      {"configuration read", CMD_READ_CONFIG, 1,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::Config, 8, {3, 1, 1, 1, 1, 1, 9, 9, 9}); },
       [](RecordingDeviceLink& l) { l.ReadLightFromDevice(1); }, {}},
      {"colour chunk 4", CMD_READ_KEY_COLORS, 4,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::Colors, 0, Bytes(384, 0x44)); },
       [](RecordingDeviceLink& l) { l.ReadLightFromDevice(1); }, {}},
      {"profile sync", CMD_READ_CONFIG, 1,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::Config, 4, {0x24, 0, 0, 0x60, 4}); },
       [](RecordingDeviceLink& l) { l.SysnDeviceProfileData(); },
       {"SelectReportRateData", "SelectDebounceIndex", "SelectLightModeListData", "RefreshLightPage"},
       false},
      {"calibration chunk 2", CMD_READ_STATUS, 2,
       [](simkb::Keyboard& k, RecordingDeviceLink&, RawDb&) { k.Write(Area::Calibration, 0, Bytes(256, 0)); },
       [](RecordingDeviceLink& l) { l.CheckKeyCalibration(); }, {"ShowCalibrationWarning"}},
  };
  bool seeded = false;
  for (const Row& row : rows) {
    Bus::Get().Reset();
    simkb::Keyboard& keyboard = Connect();
    RecordingDeviceLink& link = *m_link;
    link.ReadKeyMapsFromDevice();
    if (!seeded) SeedStore(), seeded = true;
    keyboard.Write(Area::Calibration, 0, Bytes(256, 0xFF));
    link.GetDeviceProfile(0);
    link.ReadKeyPerfFromDevice(1);
    link.ReadLightFromDevice(1);
    link.SysnDeviceProfileData();
    RawDb raw(DbFile());
    row.edit(keyboard, link, raw);
    const std::vector<std::string> before = Dump();
    const std::string members = Members();
    simkb::FaultRule fault;
    fault.kind = simkb::FaultKind::SuppressReply;
    fault.command = row.command;
    fault.nth = row.nth;
    keyboard.AddFault(fault);
    link.Log()->Clear();
    const size_t mark = Bus::Get().Mark();
    row.run(link);
    bool faulted = false;
    for (const simkb::Frame& frame : Bus::Get().FramesSince(mark)) faulted = faulted || !frame.fault.empty();
    EXPECT_TRUE(faulted) << row.name << ": the fault was reached";
    EXPECT_EQ(before, Dump()) << row.name;
    EXPECT_EQ(members, Members()) << row.name;
    for (const std::string& name : row.forbidden) EXPECT_EQ(0, Count(link, name)) << row.name << ": " << name;
    if (row.bracketed) {
      EXPECT_EQ(CMD_END, Bus::Get().Frames().back().command) << row.name << ": the bracket still ends";
    }
  }
}

// The keyboard is pulled at one frame of a full refresh (task 5): the store stays as it was,
// the step ends soon, and after re-plugging a full refresh brings the store to the keyboard.
TEST_F(DeviceLinkReadsTest, UnplugInTheMiddleOfTheRefresh) {
  simkb::Keyboard& first = Connect();
  (void)first;
  m_link->ReadKeyMapsFromDevice();
  SeedStore();
  size_t total = 0;
  for (int cut : {1, 5, 20, 60, 130, -1}) {
    Bus::Get().Reset();
    simkb::Keyboard& keyboard = Connect();
    RecordingDeviceLink& link = *m_link;
    link.m_connected = true;
    link.m_deviceReady = true;
    size_t mark = Bus::Get().Mark();
    link.AppendTask(TASK_READ_DEVICE_STATE);
    link.WorkerStep();
    if (!total) total = Bus::Get().FramesSince(mark).size();
    const std::vector<std::string> synced = Dump();
    keyboard.Write(Area::Perf, 0, Bytes(1024, 0x21));  // the same keyboard, other values
    keyboard.Write(Area::Colors, 0, Bytes(384, 0x44));
    const std::vector<std::string> before = Dump();
    simkb::FaultRule remove;
    remove.kind = simkb::FaultKind::RemoveDevice;
    remove.nth = cut > 0 ? cut : static_cast<int>(total);
    keyboard.AddFault(remove);
    mark = Bus::Get().Mark();
    link.AppendTask(TASK_READ_DEVICE_STATE);
    link.WorkerStep();
    const uint32_t ended = Bus::Get().NowMs();
    const std::vector<simkb::Frame> frames = Bus::Get().FramesSince(mark);
    uint32_t removedAt = 0;
    for (const simkb::Frame& frame : frames) {
      if (!frame.fault.empty()) removedAt = frame.timeMs;
    }
    ASSERT_GT(removedAt, 0u) << "cut at " << cut;
    EXPECT_LT(ended - removedAt, 3000u) << "cut at " << cut;
    if (cut != -1) {
      EXPECT_EQ(before, Dump()) << "cut at " << cut;
    }
    Bus::Get().Replug(keyboard);
    link.OpenDevice();
    link.UpdateConnectionState(0);
    Drain(link);
    link.AppendTask(TASK_READ_DEVICE_STATE);
    link.WorkerStep();
    EXPECT_NE(synced, Dump()) << "cut at " << cut << ": the keyboard's new values arrived";
    RawDb raw(DbFile());
    EXPECT_EQ(0x444444, raw.Number("SELECT min(key_rgb) FROM t_userlightrgb_data WHERE userlight_id = 1"));
    EXPECT_EQ(0x121 + 1, raw.Number("SELECT min(key_actuation) FROM t_key_perf_data WHERE profile = 1"));
  }
}

}  // namespace
