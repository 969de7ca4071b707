// The device link's models, layouts, device open, connection state and hot-plug, against the
// simulated keyboard, the installation data as shipped (staged beside the tests) and the
// CH375 stand-in. Each test has a device name, registry key and data folder of its own.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <hidapi/hidapi.h>

#include "Ch375Standin.h"
#include "DeviceLinkFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "RecordingDeviceLink.h"
#include "RecordingShell.h"
#include "ScopedDeviceName.h"
#include "SimKeyTables.h"
#include "SwappedFile.h"
#include "TempFolder.h"
#include "app/AppMessages.h"
#include "app/ProgramFolders.h"
#include "device/DeviceLink.h"
#include "simkeyboard/SimBootloader.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"

using simkb::Bus;
using testsupport::Broadcast;
using testsupport::Count;
using testsupport::Drain;
using testsupport::Header;
using testsupport::Last;
using testsupport::LinkCall;
using testsupport::RecordingDeviceLink;
using testsupport::SimModel;
using testsupport::Wide;

namespace {

using DeviceLinkModelsTest = testsupport::DeviceLinkFixture;

TEST(ParseRowColTest, RowFromTheFirstCharacterColumnFromTheLastOneOrTwo) {
  const struct {
    const wchar_t* text;
    bool parsed;
    int row, column;
  } rows[] = {{L"2,5", true, 2, 5}, {L"2,15", true, 2, 15}, {L"12,3", true, 1, 0}, {L"0,0", true, 0, 0},
              {L"9,40", true, 9, 40}, {L"1,", false, 0, 0},  {L"", false, 0, 0},    {L"a,b", true, 0, 0}};
  for (const auto& r : rows) {
    int row = -1, column = -1;
    EXPECT_EQ(r.parsed, ParseRowCol(r.text, &row, &column)) << testing::PrintToString(std::wstring(r.text));
    if (r.parsed) {
      EXPECT_EQ(r.row, row) << testing::PrintToString(std::wstring(r.text));
      EXPECT_EQ(r.column, column) << testing::PrintToString(std::wstring(r.text));
    }
  }
}

TEST_F(DeviceLinkModelsTest, RememberedModelChoosesTheComboSelection) {
  const struct {
    const char* name;
    bool key;
    const wchar_t* value;
    int model;
  } rows[] = {{"missing key", false, nullptr, 101}, {"102", true, L"102", 102}, {"42", true, L"42", 101},
              {"999", true, L"999", 101},           {"abc", true, L"abc", 101}, {"no value", true, nullptr, 101}};
  for (const auto& row : rows) {
    testsupport::ScopedDeviceName name(row.key);
    if (row.value) name.WriteValue(L"DeviceType", row.value);
    RecordingDeviceLink& link = NewLink();
    EXPECT_EQ(row.model, link.GetModelComboData()) << row.name;
    EXPECT_EQ(row.model - 101, link.m_modelComboIndex.load()) << row.name;
    link.OpenDevice();  // nothing plugged: writes the combo's model where the key exists
    CString written;
    EXPECT_EQ(row.key, name.ReadValue(L"DeviceType", &written)) << row.name;
    if (row.key) {
      EXPECT_EQ(row.model, _wtoi(written)) << row.name;
    }
    EXPECT_FALSE(link.m_connected) << row.name;
  }
}

TEST_F(DeviceLinkModelsTest, ModelTablesAndRegisteredIdentities) {
  RecordingDeviceLink& link = NewLink();
  ASSERT_EQ(3u, link.m_models.size());
  ASSERT_EQ(3u, link.m_deviceModels.size());
  const wchar_t* names[] = {L"Lynt 30", L"Lynt 65", L"Lynt 80"};
  for (int i = 0; i < 3; ++i) {
    const DEVICE_MODEL& model = link.m_models[i];
    const DEVICE_MODEL& device = link.m_deviceModels[i];
    EXPECT_STREQ(names[i], model.name);
    EXPECT_STREQ(names[i], model.displayName);
    EXPECT_EQ(101 + i, model.modelId);
    EXPECT_EQ(-1, model.last);
    EXPECT_TRUE(device.name.IsEmpty());
    EXPECT_EQ(0xFD50 + i, device.pid);
    EXPECT_STREQ(L"USB", device.interfaceName);
    EXPECT_TRUE(m_hid->IsSupported(0x19F5, 0xFD50 + i, L"anything"));
    EXPECT_EQ(101 + i, m_hid->GetModelId(0x19F5, 0xFD50 + i, L""));
    EXPECT_STREQ(names[i], link.modelCombo[i].text);
    EXPECT_EQ(101 + i, link.modelCombo[i].data);
  }
  EXPECT_EQ(0xFF37, link.m_deviceModels[1].bootPid);
  EXPECT_STREQ(L"VID_19F5&PID_FD52&MI_01", link.m_deviceModels[2].pattern);
}

TEST_F(DeviceLinkModelsTest, ConfigFileGivesVersionAndLinks) {
  RecordingDeviceLink& shipped = NewLink();
  EXPECT_STREQ(L"1.0.0.1", shipped.m_softwareVersion);
  EXPECT_STREQ(L"https://store.example.com/", shipped.m_storeUrl);
  EXPECT_STREQ(L"https://download.example.com/software-upgrade/", shipped.m_softwareUpgradeUrl);

  testsupport::TempFolder temp;
  const struct {
    const char* name;
    const char* text;  // null: no file
  } rows[] = {{"missing file", nullptr},
              {"no config element", "<?xml version=\"1.0\"?><setup><software version=\"9\"/></setup>"},
              {"no software element", "<?xml version=\"1.0\"?><config><language.info default_lan=\"1033\"/></config>"}};
  for (const auto& row : rows) {
    const std::wstring replacement = row.text ? temp.Path() + L"config.xml" : L"";
    if (row.text) std::ofstream(replacement.c_str(), std::ios::binary) << row.text;
    testsupport::SwappedFile swap(ProgramFile(L"config.xml"), replacement);
    RecordingDeviceLink& link = NewLink();
    EXPECT_TRUE(link.m_softwareVersion.IsEmpty()) << row.name;
    EXPECT_TRUE(link.m_storeUrl.IsEmpty()) << row.name;
    EXPECT_TRUE(link.m_softwareUpgradeUrl.IsEmpty()) << row.name;
  }
}

// Every shipped layout reaches the four pictures key by key, as the model's key table gives it.
TEST_F(DeviceLinkModelsTest, SelectModelBuildsThePicturesFromTheShippedLayout) {
  RecordingDeviceLink& link = NewLink();
  for (int modelId : {101, 102, 103}) {
    const simkb::ModelTable& model = SimModel(modelId);
    link.Log()->Clear();
    link.SelectModel(modelId);
    EXPECT_STREQ(link.m_models[modelId - 101].name, Last(link, "SetModelCaption").text);
    EXPECT_EQ(modelId, link.m_curModelId.load());
    EXPECT_STREQ(link.m_models[modelId - 101].displayName, link.m_modelTitle);
    EXPECT_EQ((std::vector<int>{modelId}), Last(link, "SetKeyStrokeModel").args);
    EXPECT_EQ((std::vector<int>{4}), Last(link, "SetBrightnessMax").args);
    EXPECT_EQ((std::vector<int>{0, 4, 4}), Last(link, "SetSpeedRange").args);
    EXPECT_TRUE(link.m_hasPerKeyRgb);
    EXPECT_EQ(4, Count(link, "ClearKeyPicture")) << modelId;

    int rows = 0, columns = 0;
    for (int i = 0; i < model.keyCount; ++i) {
      rows = std::max(rows, model.keys[i].row + 1);
      columns = std::max(columns, model.keys[i].col + 1);
    }
    EXPECT_EQ(rows, link.m_rowCount) << modelId;
    EXPECT_EQ(columns, link.m_colCount) << modelId;
    for (const auto& picture : link.pictures) {
      EXPECT_EQ(1000, picture.width);
      EXPECT_EQ(380, picture.height);
      EXPECT_EQ(0x1E1F24u, picture.color);
      ASSERT_EQ(static_cast<size_t>(model.keyCount), picture.keys.size()) << modelId;
      for (int i = 0; i < model.keyCount; ++i) {
        const simkb::ModelKey& key = model.keys[i];
        const auto& added = picture.keys[i];
        const std::string at = std::to_string(modelId) + " key " + std::to_string(i);
        EXPECT_EQ(key.usage, added.code) << at;
        EXPECT_EQ(key.left, added.rect.left) << at;
        EXPECT_EQ(key.top, added.rect.top) << at;
        EXPECT_EQ(key.left + key.width, added.rect.right) << at;
        EXPECT_EQ(key.top + key.height, added.rect.bottom) << at;
        EXPECT_EQ(kLayoutKeyColor, added.color) << at;
        EXPECT_TRUE(added.icon.IsEmpty()) << at;
        EXPECT_FALSE(added.name.IsEmpty()) << at;
      }
    }
    EXPECT_STREQ(L"Esc", link.pictures[KEY_PICTURE_PERF].keys[0].name);
    EXPECT_STREQ(L"Escape", link.pictures[KEY_PICTURE_PERF].keys[0].desc);
    int cells = 0;
    for (const auto& row : link.m_keyMatrix) {
      for (uint8_t cell : row) cells += cell != 0;
    }
    EXPECT_EQ(model.keyCount, cells) << modelId;
    for (int i = 0; i < model.keyCount; ++i) {
      EXPECT_EQ(model.keys[i].usage, link.m_keyMatrix[model.keys[i].row][model.keys[i].col]) << modelId << " " << i;
    }
    RawDb raw(std::wstring(m_dataFolder.GetString()) + L"db\\" + link.m_modelName.GetString() + L"_datav8.db");
    ASSERT_TRUE(raw.IsOpen()) << modelId;
    EXPECT_EQ(43, raw.Number("SELECT count(*) FROM t_config_data")) << modelId;
    EXPECT_EQ(modelId, ConfigDatabase::Instance().m_modelId);
  }
}

TEST_F(DeviceLinkModelsTest, FixtureLayoutAndMissingLayout) {
  const std::wstring fixture = Wide(std::getenv("TAVIR_SOURCE_DIR")) + L"\\tests\\data\\fixtures\\layout_fixture.xml";
  {
    testsupport::SwappedFile swap(ProgramFile(L"layouts\\Lynt 30.xml"), fixture);
    RecordingDeviceLink& link = NewLink();
    link.SelectModel(101);
    link.FillLightModeCombo();
    EXPECT_FALSE(link.m_hasPerKeyRgb);
    EXPECT_EQ((std::vector<int>{5}), Last(link, "SetBrightnessMax").args);
    EXPECT_EQ((std::vector<int>{0, 4, 4}), Last(link, "SetSpeedRange").args) << "speed_max is not used";
    EXPECT_EQ(2, link.m_rowCount);
    EXPECT_EQ(3, link.m_colCount);
    const auto& keys = link.pictures[KEY_PICTURE_KEYS].keys;
    ASSERT_EQ(5u, keys.size()) << "the key outside the matrix is still added";
    EXPECT_EQ(0x1E, keys[1].code);
    EXPECT_EQ(0x1E, keys[2].code) << "a duplicate code is kept twice";
    EXPECT_EQ(0xFF, keys[3].code) << "the Fn key";
    EXPECT_EQ(400, link.pictures[KEY_PICTURE_LIGHT].width);
    EXPECT_EQ(0x102030u, link.pictures[KEY_PICTURE_LIGHT].color);
    EXPECT_EQ(0x29, link.m_keyMatrix[0][0]);
    EXPECT_EQ(0x1E, link.m_keyMatrix[0][15]) << "row_col 0,15";
    EXPECT_EQ(0xFF, link.m_keyMatrix[1][2]);
    EXPECT_EQ(0, link.m_keyMatrix[1][0]) << "9,40 stores nothing (nor at 0)";
    int cells = 0;
    for (const auto& row : link.m_keyMatrix) {
      for (uint8_t cell : row) cells += cell != 0;
    }
    EXPECT_EQ(4, cells);
    ASSERT_EQ(1, Count(link, "AddMusicModeItem"));
    EXPECT_EQ((std::vector<int>{6}), Last(link, "AddMusicModeItem").args);
    EXPECT_STREQ(testsupport::LanText(631), Last(link, "AddMusicModeItem").text);
    EXPECT_EQ(1, Count(link, "HideMusicStyleControls"));
    EXPECT_EQ((std::vector<int>{0}), Last(link, "SelectMusicModeIndex").args);
  }
  RecordingDeviceLink& link = NewLink();
  link.SelectModel(102);
  link.FillLightModeCombo();
  EXPECT_EQ(11, Count(link, "AddMusicModeItem"));
  EXPECT_EQ((std::vector<int>{11}), Last(link, "AddMusicModeItem").args);
  EXPECT_STREQ(testsupport::LanText(638), Last(link, "AddMusicModeItem").text);
  EXPECT_EQ(0, Count(link, "HideMusicStyleControls"));
  const size_t keys102 = link.pictures[KEY_PICTURE_ADV].keys.size();

  testsupport::SwappedFile missing(ProgramFile(L"layouts\\Lynt 30.xml"), L"");
  link.Log()->Clear();
  link.SelectModel(101);
  EXPECT_EQ(101, link.m_curModelId.load());
  EXPECT_EQ(0, Count(link, "ClearKeyPicture")) << "the pictures keep the previous keys";
  EXPECT_EQ(keys102, link.pictures[KEY_PICTURE_ADV].keys.size());
  RawDb raw(std::wstring(m_dataFolder.GetString()) + L"db\\Lynt 30_datav8.db");
  ASSERT_TRUE(raw.IsOpen()) << "the model's database is opened";
  EXPECT_EQ(43, raw.Number("SELECT count(*) FROM t_config_data"));
}

TEST_F(DeviceLinkModelsTest, ConnectionFollowsThePluggedKeyboard) {
  const struct {
    const char* name;
    const wchar_t* remembered;
    std::vector<int> plugged;
    int model;  // 0: not connected
  } rows[] = {{"102 remembered, 101 plugged", L"102", {101}, 101},
              {"nothing plugged", L"102", {}, 0},
              {"101 and 103 plugged, 103 remembered", L"103", {101, 103}, 103}};
  for (const auto& row : rows) {
    Bus::Get().Reset();
    for (int model : row.plugged) Bus::Get().PlugKeyboard(model);
    m_name.WriteValue(L"DeviceType", row.remembered);
    RecordingDeviceLink& link = NewLink();
    link.OpenDevice();
    link.UpdateConnectionState(0);
    const LinkCall state = Last(link, "SetConnectState");
    CString written;
    ASSERT_TRUE(m_name.ReadValue(L"DeviceType", &written)) << row.name;
    EXPECT_EQ(1, Count(link, "CloseAllPopups")) << row.name;
    if (row.model) {
      EXPECT_TRUE(link.m_connected) << row.name;
      EXPECT_TRUE(link.m_deviceReady) << row.name;
      EXPECT_EQ(row.model, link.GetModelComboData()) << row.name;
      EXPECT_EQ(row.model, _wtoi(written)) << row.name;
      EXPECT_EQ(row.model, link.m_curModelId.load()) << row.name;
      EXPECT_EQ(row.model, m_hid->GetActiveModelId()) << row.name;
      EXPECT_EQ(0, link.m_deviceState.load()) << row.name;
      EXPECT_STREQ(testsupport::LanText(821), state.text) << row.name;
      EXPECT_STREQ(L"img_connect.png", state.text2) << row.name;
      EXPECT_STREQ(CString(SimModel(row.model).name), Last(link, "SetDeviceNameCaption").text) << row.name;
      EXPECT_EQ((std::vector<int>{TASK_READ_DEVICE_STATE, TASK_CHECK_CALIBRATION}), Drain(link)) << row.name;
      EXPECT_EQ(0, Count(link, "ShowHomeState")) << row.name;
    } else {
      EXPECT_FALSE(link.m_connected) << row.name;
      EXPECT_EQ(-1, link.m_deviceState.load()) << row.name;
      EXPECT_EQ(1, Count(link, "ShowHomeState")) << row.name;
      EXPECT_EQ(1, Count(link, "CloseAdvKeyEditor")) << row.name;
      EXPECT_STREQ(testsupport::LanText(820), state.text) << row.name;
      EXPECT_STREQ(L"img_no_connect.png", state.text2) << row.name;
      EXPECT_TRUE(Drain(link).empty()) << row.name;
    }
  }
}

TEST_F(DeviceLinkModelsTest, DeviceChangeBroadcastsQueueTasksAndReportBootloaders) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(101);
  simkb::Keyboard& other = Bus::Get().PlugKeyboard(102);
  RecordingDeviceLink& link = NewLink();
  link.OpenDevice();
  Drain(link);
  std::string upper = keyboard.ConfigPath();
  for (char& c : upper) c = static_cast<char>(toupper(c));
  ASSERT_NE(upper, keyboard.ConfigPath()) << "the simulator's paths are lower case";

  WPARAM wParam = 0;
  const struct {
    const char* name;
    std::string path;
    std::vector<int> tasks;
  } arrivals[] = {{"config interface", keyboard.ConfigPath(), {TASK_DEVICE_ARRIVED}},
                  {"MI_00", keyboard.Path(0), {}},
                  {"MI_02", keyboard.Path(2), {}}};
  for (const auto& row : arrivals) {
    link.OnDeviceChange(DBT_DEVICEARRIVAL, Header(Broadcast(row.path)));
    EXPECT_EQ(row.tasks, Drain(link)) << row.name;
    EXPECT_FALSE(TakePosted(WM_KB_UPGRADE_NOTIFY, &wParam)) << row.name;
  }
  for (uint16_t pid : {0xFF30, 0xFF37, 0xFF38}) {
    link.m_bootVid = 0;
    link.m_bootPid = 0;
    const std::vector<std::string> paths = Bus::Get().Plug(std::make_unique<simkb::Bootloader>(0x19F5, pid));
    link.OnDeviceChange(DBT_DEVICEARRIVAL, Header(Broadcast(paths.at(0))));
    const bool reported = pid != 0xFF38;
    EXPECT_EQ(reported, TakePosted(WM_KB_UPGRADE_NOTIFY, &wParam)) << std::hex << pid;
    if (reported) {
      EXPECT_EQ(99u, wParam);
    }
    EXPECT_EQ(reported ? 0x19F5u : 0u, link.m_bootVid.load()) << std::hex << pid;
    EXPECT_EQ(reported ? pid : 0u, link.m_bootPid.load()) << std::hex << pid;
    EXPECT_TRUE(Drain(link).empty());
  }

  link.OnDeviceChange(DBT_DEVICEARRIVAL, nullptr);
  link.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, nullptr);
  EXPECT_TRUE(Drain(link).empty()) << "no broadcast";

  // Model 102 was found by the scan too; make it not connected, then remove it.
  link.m_deviceModels[1].connected = 0;
  link.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, Header(Broadcast(Bus::Get().Unplug(other).at(1))));
  EXPECT_TRUE(Drain(link).empty()) << "removal of a model that is not connected";
  ASSERT_EQ(1, link.m_deviceModels[0].connected);
  link.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, Header(Broadcast(Bus::Get().Unplug(keyboard).at(1))));
  EXPECT_EQ((std::vector<int>{TASK_DEVICE_REMOVED}), Drain(link));
  EXPECT_EQ(0, link.m_deviceModels[0].connected);
  link.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, Header(Broadcast(keyboard.ConfigPath())));
  EXPECT_TRUE(Drain(link).empty()) << "a second removal finds the flag cleared";
}

// With the worker running: start-up connects; unplugging shows the home state after the
// 1000 ms wait; plugging again connects and queues tasks 5 and 21.
TEST_F(DeviceLinkModelsTest, HotPlugWithTheWorkerRunning) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(102);
  m_name.WriteValue(L"DeviceType", L"102");
  RecordingDeviceLink& link = NewLink();
  link.AppendTask(TASK_STARTUP);
  ASSERT_TRUE(link.Start());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "RecheckCalibration") == 1; }, 5000));
  EXPECT_EQ(1, Count(link, "ShowPagesState"));
  EXPECT_EQ(1, Count(link, "GetDeviceProfile"));

  const double unplugged = link.Log()->NowMs();
  link.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, Header(Broadcast(Bus::Get().Unplug(keyboard).at(1))));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "ShowHomeState") == 1; }, 5000));
  EXPECT_GE(Last(link, "ShowHomeState").timeMs - unplugged, 999.0);
  EXPECT_STREQ(testsupport::LanText(820), Last(link, "SetConnectState").text);
  EXPECT_FALSE(link.m_connected);

  link.OnDeviceChange(DBT_DEVICEARRIVAL, Header(Broadcast(Bus::Get().Replug(keyboard).at(1))));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "RecheckCalibration") == 2; }, 5000));
  EXPECT_TRUE(link.m_connected);
  EXPECT_STREQ(testsupport::LanText(821), Last(link, "SetConnectState").text);
  EXPECT_EQ(2, Count(link, "ShowPagesState"));
}

// The keyboard goes while the scan asks it for its device information: no connection, the
// worker goes on, and the next arrival connects.
TEST_F(DeviceLinkModelsTest, UnplugInTheMiddleOfTheScan) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(101);
  simkb::FaultRule remove;
  remove.kind = simkb::FaultKind::RemoveDevice;
  remove.command = CMD_GET_DEVICE_INFO;
  keyboard.AddFault(remove);
  RecordingDeviceLink& link = NewLink();
  link.AppendTask(TASK_RECONNECT);
  ASSERT_TRUE(link.Start());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "SetConnectState") == 1; }, 10000));
  EXPECT_FALSE(link.m_connected);
  EXPECT_EQ(1, Count(link, "ShowHomeState"));
  EXPECT_STREQ(L"img_no_connect.png", Last(link, "SetConnectState").text2);

  link.AppendTask(TASK_CHECK_SOFTWARE);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Count(link, "CheckSoftwareVersion") == 1; }, 1000));
  link.OnDeviceChange(DBT_DEVICEARRIVAL, Header(Broadcast(Bus::Get().Replug(keyboard).at(1))));
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "SetConnectState") == 2; }, 5000));
  EXPECT_TRUE(link.m_connected);
  EXPECT_STREQ(L"img_connect.png", Last(link, "SetConnectState").text2);
}

TEST_F(DeviceLinkModelsTest, Ch375ArrivalPostsTheUpgradeNotice) {
  testsupport::Ch375Standin standin;
  ASSERT_TRUE(standin.IsLoaded());
  NewLink();
  WPARAM wParam = 0;
  standin.FireNotify(0);
  EXPECT_FALSE(testsupport::WaitUntil([&] { return TakePosted(WM_KB_UPGRADE_NOTIFY, &wParam); }, 300))
      << "no device";
  standin.AddDevice(0, 0x55E04348);
  for (ULONG event : {0ul, 3ul, 1ul}) {
    standin.FireNotify(event);
    const bool posted = testsupport::WaitUntil([&] { return TakePosted(WM_KB_UPGRADE_NOTIFY, &wParam); }, 1000);
    EXPECT_EQ(event != 1, posted) << "event " << event;
    if (posted) {
      EXPECT_EQ(99u, wParam);
    }
  }
}

// A model selection from another thread waits for the device task in progress.
TEST_F(DeviceLinkModelsTest, ModelSelectionWaitsForTheDeviceTask) {
  simkb::Keyboard& keyboard = Bus::Get().PlugKeyboard(101);
  RecordingDeviceLink& link = NewLink();
  link.OpenDevice();
  m_hid->SetActiveModelId(101);
  link.m_connected = true;
  link.m_deviceReady = true;
  simkb::FaultRule delay;
  delay.kind = simkb::FaultKind::DelayReply;
  delay.command = CMD_GET_DEVICE_INFO;
  delay.delayMs = 1500;
  keyboard.AddFault(delay);
  std::atomic<double> replyAt{0};
  link.SetAction("WriteKeyMap", [&] {
    uint8_t frame[COMMAND_REPORT_SIZE] = {0, COMMAND_MARKER, CMD_GET_DEVICE_INFO};
    hid_device* handle = m_hid->GetActiveHandle();
    hid_write(handle, frame, sizeof frame);
    if (hid_read_timeout(handle, frame, sizeof frame, 3000) > 0) replyAt = link.Log()->NowMs();
  });
  link.AppendTask(TASK_WRITE_KEYMAP);
  ASSERT_TRUE(link.Start());
  ASSERT_TRUE(testsupport::PumpUntil([&] { return Count(link, "WriteKeyMap") == 1; }, 2000));
  std::thread selector([&] { link.SelectModel(102); });
  selector.join();
  ASSERT_GT(replyAt.load(), 0.0);
  EXPECT_GE(Last(link, "SetModelCaption").timeMs, replyAt.load());
}

}  // namespace
