// Macros, per-key colours, per-key performance and music frames written into the simulated
// keyboard, checked against its areas and frame log.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceLinkFixture.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "device/DeviceBlocks.h"

using simkb::Area;
using simkb::Bus;
using simkb::Bytes;
using testsupport::Count;
using testsupport::RecordingDeviceLink;
using testsupport::Slice;

namespace {

TEST(DeviceBlocksTest, MacroEventsAndPerformanceEntries) {
  const struct {
    const char* name;
    int type, value, delay;
    bool last;
    Bytes bytes;
  } rows[] = {{"A down, delay 0", 2, 'A', 0, false, {0x01, 0x00, 0x42, 0x04}},
              {"left shift up", 3, 0xE1, 300, false, {0x2C, 0x01, 0x01, 0x02}},
              {"left shift up, last", 3, 0xE1, 300, true, {0x2C, 0x01, 0x81, 0x02}},
              {"key down last has no end bit", 2, 'A', 5, true, {0x05, 0x00, 0x42, 0x04}},
              {"mouse down", 4, 0x101, 7, true, {0x07, 0x00, 0xC2, 0x01}},
              {"mouse up", 5, 2, -4, true, {0x01, 0x00, 0x82, 0x02}},
              {"delay above 65535", 2, 'A', 70000, false, {0xFF, 0xFF, 0x42, 0x04}},
              {"other type", 9, 'A', 3, false, {0x03, 0x00, 0x00, 0x00}}};
  for (const auto& row : rows) {
    MACRO_RECORD record;
    record.type = row.type;
    record.value = row.value;
    record.delay_time = row.delay;
    uint8_t out[4] = {};
    EncodeMacroEvent(record, row.last, out);
    EXPECT_EQ(row.bytes, Bytes(out, out + 4)) << row.name;
  }
  KEY_PERF_DATA perf;
  perf.switch_type = 3;
  perf.key_mode = 1;
  perf.key_actuation = 36;
  perf.rt_press = 5;
  perf.rt_release = 0;
  perf.deadzone_state = 1;
  perf.press_deadzone = 3;
  perf.release_deadzone = 2;
  uint8_t entry[8] = {};
  EncodePerfEntry(perf, entry);
  EXPECT_EQ((Bytes{3, 1, 0x23, 0x00, 0x04, 0x06, 0x00, 0x04}), Bytes(entry, entry + 8));
  perf.deadzone_state = 0;
  EncodePerfEntry(perf, entry);
  EXPECT_EQ((Bytes{3, 1, 0x23, 0x00, 0x04, 0x00, 0x00, 0x00}), Bytes(entry, entry + 8)) << "dead zones off";
  KEY_PERF_DATA back;
  DecodePerfEntry(entry, back);
  EXPECT_EQ(36, back.key_actuation) << "the reader's layout";
}

class DeviceLinkAreasTest : public testsupport::DeviceLinkFixture {
 protected:
  simkb::Keyboard& Ready() {
    simkb::Keyboard& keyboard = Connect();
    m_link->SetReal({"WriteMacros", "WriteKeyColors", "WriteKeyPerf"});
    m_link->ReadKeyMapsFromDevice();
    return keyboard;
  }
  // A macro of n key events (key down of 'A' ... ); returns its id.
  int AddMacro(int events) {
    ConfigDatabase& store = ConfigDatabase::Instance();
    const int id = store.CreateMacro(L"m");
    std::vector<MACRO_RECORD> records;
    for (int i = 0; i < events; ++i) {
      MACRO_RECORD record;
      record.macro_id = id;
      record.type = i % 2 ? 3 : 2;
      record.record_index = i;
      record.value = 'A';
      record.delay_time = 10;
      records.push_back(record);
    }
    store.InsertMacroRecords(records);
    return id;
  }
};

TEST_F(DeviceLinkAreasTest, MacroAreaWithItsThreeCopies) {
  simkb::Keyboard& keyboard = Ready();
  AddMacro(3);
  AddMacro(2);
  size_t mark = Bus::Get().Mark();
  m_link->WriteMacros();
  const auto chunks = FramesOf(mark, CMD_WRITE_MACROS);
  ASSERT_EQ(6u, chunks.size());
  for (int copy = 0; copy < 3; ++copy) {
    EXPECT_EQ(copy * 0x800, chunks[2 * copy].offset);
    EXPECT_EQ(56, chunks[2 * copy].length);
    EXPECT_EQ(copy * 0x800 + 56, chunks[2 * copy + 1].offset);
    EXPECT_EQ(28, chunks[2 * copy + 1].length) << "n = 84";
    const Bytes area = Slice(keyboard.Read(Area::Macros), copy * 0x800, 84);
    EXPECT_EQ((Bytes{64, 0, 76, 0, 0, 0}), Slice(area, 0, 6));
    EXPECT_EQ((Bytes{10, 0, 0x42, 0x04, 10, 0, 0x02, 0x04, 10, 0, 0x42, 0x04}), Slice(area, 64, 12));
    EXPECT_EQ((Bytes{10, 0, 0x42, 0x04, 10, 0, 0x82, 0x04}), Slice(area, 76, 8)) << "the last key up ends its macro";
  }
  AddMacro(7);  // events now end at 112
  mark = Bus::Get().Mark();
  m_link->WriteMacros();
  const auto three = FramesOf(mark, CMD_WRITE_MACROS);
  ASSERT_EQ(9u, three.size());
  EXPECT_EQ(0, three[2].length) << "a third chunk of length 0";
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

TEST_F(DeviceLinkAreasTest, MacroAreaNeverOverruns) {
  const struct {
    const char* name;
    std::vector<int> macros;  // events per macro
    int pointers;             // whole macros written
  } rows[] = {{"40 macros", std::vector<int>(40, 2), 32},
              {"600 events", std::vector<int>(12, 50), 9},
              {"one macro of 500 events", {500, 2}, 0}};
  for (const auto& row : rows) {
    Bus::Get().Reset();
    ConfigDatabase::Instance().Close();
    testsupport::DeleteTree(std::wstring(m_dataFolder.GetString()) + L"db\\Lynt 30_datav8.db");
    simkb::Keyboard& keyboard = Ready();
    for (int events : row.macros) AddMacro(events);
    m_link->WriteMacros();
    const Bytes area = keyboard.Read(Area::Macros);
    int written = 0;
    for (int i = 0; i < 32; ++i) written += (area[2 * i] || area[2 * i + 1]) ? 1 : 0;
    EXPECT_EQ(row.pointers, written) << row.name;
    EXPECT_TRUE(Bus::Get().Problems().empty()) << row.name << ": " << (Bus::Get().Problems().empty() ? "" : Bus::Get().Problems()[0]);
    EXPECT_EQ(Slice(area, 0, 0x800), Slice(area, 0x1000, 0x800)) << row.name << ": the copies agree";
  }
}

TEST_F(DeviceLinkAreasTest, PerformanceColoursAndMusic) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  size_t mark = Bus::Get().Mark();
  link.WriteKeyPerf();
  EXPECT_TRUE(Bus::Get().FramesSince(mark).empty()) << "no rows, no frame";

  const int code0 = link.m_defaultCodeByIndex.at(0), code5 = link.m_defaultCodeByIndex.at(5);
  KEY_PERF_DATA row;
  row.profile = 2;
  row.key_code = code5;
  row.switch_type = 4;
  row.key_mode = 1;
  row.key_actuation = 36;
  row.rt_press = 5;
  row.deadzone_state = 1;
  row.press_deadzone = 3;
  row.release_deadzone = 2;
  KEY_PERF_DATA outside = row;
  outside.key_code = 0x99;  // no key index: skipped
  ConfigDatabase::Instance().InsertKeyPerfs({row, outside});
  link.m_deviceProfile = 1;
  mark = Bus::Get().Mark();
  link.WriteKeyPerf();
  EXPECT_EQ(19u, FramesOf(mark, CMD_WRITE_KEY_PERF).size());
  EXPECT_EQ(1024, FramesOf(mark, CMD_WRITE_KEY_PERF).at(0).offset);
  const Bytes perf = keyboard.Read(Area::Perf);
  EXPECT_EQ((Bytes{4, 1, 0x23, 0x00, 0x04, 0x06, 0x00, 0x04}), Slice(perf, 1024 + 5 * 8, 8));
  EXPECT_EQ(Bytes(8, 0), Slice(perf, 1024, 8)) << "keys without a row are zero";
  EXPECT_EQ((std::map<int, int>{{code5, 4}}), link.PerfSlots());

  USERLIGHTRGB_DATA color;
  color.profile = color.userlight_id = 2;
  color.key_code = code0;
  color.key_rgb = 0x332211;
  ConfigDatabase::Instance().InsertUserLightRgbs({color});
  link.Log()->Clear();
  link.WriteKeyColors();
  EXPECT_EQ((Bytes{0x11, 0x22, 0x33}), Slice(keyboard.Read(Area::Colors), 512, 3));
  EXPECT_EQ(1, Count(link, "SetLightKeyColors"));
  for (const auto& key : link.pictures[KEY_PICTURE_LIGHT].keys) {
    if (key.code == code0) {
      EXPECT_EQ(0x332211u, key.color);
    }
  }

  // The music frame: every lighting key with an index at 3k.
  for (auto& key : link.pictures[KEY_PICTURE_LIGHT].keys) key.color = 0x000100 + key.code;
  mark = Bus::Get().Mark();
  link.WriteMusicFrame();
  const Bytes music = keyboard.Read(Area::Music);
  for (const auto& key : link.pictures[KEY_PICTURE_LIGHT].keys) {
    const auto index = link.m_keyIndexByCode.find(key.code);
    if (index == link.m_keyIndexByCode.end()) continue;
    EXPECT_EQ((Bytes{static_cast<uint8_t>(key.code), 0x01, 0x00}), Slice(music, 3 * index->second, 3)) << key.code;
  }
  EXPECT_EQ(CMD_END, Bus::Get().Frames().back().command);

  simkb::FaultRule fault;
  fault.kind = simkb::FaultKind::FailWrite;
  fault.command = CMD_WRITE_MUSIC_FRAME;
  fault.nth = 3;
  fault.times = 2;  // the write is tried twice
  keyboard.AddFault(fault);
  mark = Bus::Get().Mark();
  link.WriteMusicFrame();
  std::set<int> offsets;
  for (const simkb::Frame& frame : FramesOf(mark, CMD_WRITE_MUSIC_FRAME)) offsets.insert(frame.offset);
  EXPECT_EQ((std::set<int>{0, 56, 112}), offsets) << "three chunks: gives up at the third";
  EXPECT_TRUE(FramesOf(mark, CMD_END).empty());
  mark = Bus::Get().Mark();
  link.WriteMusicFrame();
  EXPECT_EQ(CMD_BEGIN, Bus::Get().FramesSince(mark).at(0).command) << "the next frame starts with BEGIN";
}

}  // namespace

namespace {

// The keyboard is pulled at one frame of a macro, colour or performance write: the writer
// ends soon, the store is untouched, and the same write after re-plugging leaves its bytes.
class DeviceLinkAreasUnplugTest : public DeviceLinkAreasTest {};

TEST_F(DeviceLinkAreasUnplugTest, UnplugInTheMiddleOfAWrite) {
  const struct {
    const char* name;
    void (*run)(RecordingDeviceLink&);
    int cuts[3];
  } rows[] = {{"macros", [](RecordingDeviceLink& l) { l.WriteMacros(); }, {1, 3, 5}},
              {"colours", [](RecordingDeviceLink& l) { l.WriteKeyColors(); }, {1, 2, 4}},
              {"performance", [](RecordingDeviceLink& l) { l.WriteKeyPerf(); }, {1, 5, 12}}};
  for (const auto& row : rows) {
    for (int cut : row.cuts) {
      Bus::Get().Reset();
      ConfigDatabase::Instance().Close();
      testsupport::DeleteTree(std::wstring(m_dataFolder.GetString()) + L"db\\Lynt 30_datav8.db");
      simkb::Keyboard& keyboard = Ready();
      RecordingDeviceLink& link = *m_link;
      AddMacro(3);
      AddMacro(2);
      const int code0 = link.m_defaultCodeByIndex.at(0), code5 = link.m_defaultCodeByIndex.at(5);
      KEY_PERF_DATA perf;
      perf.profile = 2;
      perf.key_code = code5;
      perf.switch_type = 4;
      perf.key_mode = 1;
      perf.key_actuation = 36;
      perf.rt_press = 5;
      perf.deadzone_state = 1;
      perf.press_deadzone = 3;
      perf.release_deadzone = 2;
      ConfigDatabase::Instance().InsertKeyPerfs({perf});
      USERLIGHTRGB_DATA color;
      color.profile = color.userlight_id = 2;
      color.key_code = code0;
      color.key_rgb = 0x332211;
      ConfigDatabase::Instance().InsertUserLightRgbs({color});
      const std::vector<std::string> before = Dump();

      simkb::FaultRule remove;
      remove.kind = simkb::FaultKind::RemoveDevice;
      remove.nth = cut;
      keyboard.AddFault(remove);
      link.m_deviceProfile = 1;
      const testsupport::ElapsedTime elapsed;
      row.run(link);
      EXPECT_LT(elapsed.Ms(), 1500) << row.name << " cut at " << cut;
      EXPECT_EQ(before, Dump()) << row.name << " cut at " << cut;

      keyboard.ClearFaults();
      Bus::Get().Replug(keyboard);
      link.OpenDevice();
      link.UpdateConnectionState(0);
      Drain(link);
      link.ReadKeyMapsFromDevice();  // the reconnection's model selection empties the key tables
      link.m_deviceProfile = 1;
      row.run(link);
      if (row.run == rows[0].run) {
        EXPECT_EQ((Bytes{64, 0, 76, 0, 0, 0}), Slice(keyboard.Read(Area::Macros), 0, 6)) << "cut at " << cut;
      } else if (row.run == rows[1].run) {
        EXPECT_EQ((Bytes{0x11, 0x22, 0x33}), Slice(keyboard.Read(Area::Colors), 512, 3)) << "cut at " << cut;
      } else {
        EXPECT_EQ((Bytes{4, 1, 0x23, 0x00, 0x04, 0x06, 0x00, 0x04}), Slice(keyboard.Read(Area::Perf), 1024 + 5 * 8, 8))
            << "cut at " << cut;
      }
    }
  }
}

// A layer report naming layer 200 of profile 9 leaves no write at a wrapped offset.
TEST_F(DeviceLinkAreasUnplugTest, OutOfRangeLayerReportsLeadToNoWrite) {
  simkb::Keyboard& keyboard = Ready();
  RecordingDeviceLink& link = *m_link;
  KEY_PERF_DATA perf;
  perf.profile = 1;
  perf.key_code = link.m_defaultCodeByIndex.at(5);
  perf.key_actuation = 36;
  ConfigDatabase::Instance().InsertKeyPerfs({perf});
  keyboard.QueueLayerState(200, 9);
  link.DeviceLink::ReadInputReport();
  EXPECT_EQ(9, link.m_deviceProfile.load());
  const size_t mark = Bus::Get().Mark();
  link.WriteKeyPerf();
  link.WriteKeyColors();
  EXPECT_TRUE(FramesOf(mark, CMD_WRITE_KEY_PERF).empty());
  EXPECT_TRUE(FramesOf(mark, CMD_WRITE_KEY_COLORS).empty());
  EXPECT_TRUE(Bus::Get().Problems().empty());
}

}  // namespace
