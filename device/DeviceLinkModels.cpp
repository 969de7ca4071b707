// DeviceLink: keyboard models, layout files, device open, connection state and hot-plug.
#include <cstring>
#include <cwchar>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "device/Ch375Library.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "storage/XmlDocument.h"

namespace {

constexpr int kConnectedTextId = 821;
constexpr int kNotConnectedTextId = 820;
constexpr int kKeyPictures[] = {KEY_PICTURE_KEYS, KEY_PICTURE_ADV, KEY_PICTURE_LIGHT, KEY_PICTURE_PERF};

// Music modes with per-key colours: item data 1..10 with texts 626..635, then 11 with 638.
struct MusicModeRow {
  int data;
  int textId;
};
constexpr MusicModeRow kMusicModes[] = {{1, 626}, {2, 627}, {3, 628}, {4, 629},  {5, 630}, {6, 631},
                                        {7, 632}, {8, 633}, {9, 634}, {10, 635}, {11, 638}};
constexpr MusicModeRow kSingleMusicMode = {6, 631};

// Bootloaders the arrival handler reports (not model 103's 0xFF38).
struct BootRow {
  const wchar_t* pattern;
  uint32_t pid;
};
constexpr BootRow kReportedBootloaders[] = {{L"HID#VID_19F5&PID_FF30", 0xFF30}, {L"HID#VID_19F5&PID_FF37", 0xFF37}};
constexpr uint32_t kBootVid = 0x19F5;

int Decimal(const XmlDocument& document, const wchar_t* name) {
  return static_cast<int>(wcstol(document.GetAttribute(name), nullptr, 10));
}

unsigned long Hex(const XmlDocument& document, const wchar_t* name) {
  return wcstoul(document.GetAttribute(name), nullptr, 16);
}

CString Text(int textId) { return LoadLanString(L"KB.DIALOG", textId); }

}  // namespace

std::unique_lock<std::recursive_mutex> DeviceLink::LockDevice() {
  return std::unique_lock<std::recursive_mutex>(m_deviceLock);
}

void DeviceLink::LoadModelsAndConfig() {
  int defaultModel = ReadDeviceTypeSetting();
  m_models.clear();
  ClearModelCombo();
  {
    std::lock_guard<std::mutex> lock(m_modelsLock);
    m_deviceModels.clear();
  }
  for (const ModelRow& row : kModelTable) {
    DEVICE_MODEL model;
    model.name = row.name;
    model.modelId = row.modelId;
    model.displayName = row.name;
    m_models.push_back(model);
    AddModelComboItem(model.name, model.modelId);
    model.name.Empty();
    model.vid = row.vid;
    model.pid = row.pid;
    model.bootVid = row.bootVid;
    model.bootPid = row.bootPid;
    model.interfaceName = L"USB";
    model.pattern = row.pattern;
    {
      std::lock_guard<std::mutex> lock(m_modelsLock);
      m_deviceModels.push_back(model);
    }
    m_hid.AddSupportedDevice(row.vid, row.pid, row.bootVid, row.bootPid, L"", row.modelId, 0);
  }
  // A remembered id that names no model (missing, below 100 or unknown) means the first model:
  // the combo then always has a selection for the model index to follow.
  bool known = false;
  for (const ModelRow& row : kModelTable) known = known || row.modelId == defaultModel;
  if (!known) defaultModel = kFirstModelId;

  XmlDocument config;
  if (config.ReadFromFile(GetProgramFolder() + L"config.xml", false) && config.NextElement(L"config")) {
    config.EnterElement();
    config.NextElement(L"language.info");  // its default language is the shell's
    if (config.NextElement(L"software")) {
      m_softwareVersion = config.GetAttribute(L"version");
      config.EnterElement();
      if (config.NextElement(L"website")) m_websiteUrl = config.GetAttribute(L"url");
      if (config.NextElement(L"store")) m_storeUrl = config.GetAttribute(L"url");
      if (config.NextElement(L"upgrade")) m_softwareUpgradeUrl = config.GetAttribute(L"url");
    }
  }
  SelectModelComboData(defaultModel);
  m_modelComboIndex = GetModelComboIndex();
  RegisterDeviceNotifications();
}

void DeviceLink::SelectModel(int modelId) {
  std::lock_guard<std::recursive_mutex> device(m_deviceLock);
  CString name, displayName;
  for (const DEVICE_MODEL& model : m_models) {
    if (model.modelId == modelId) {
      name = model.name;
      displayName = model.displayName;
      break;
    }
  }
  SetModelCaption(name);
  m_curModelId = modelId;
  m_modelName = name;
  m_modelTitle = displayName;
  ConfigDatabase& store = ConfigDatabase::Instance();
  store.Close();
  store.Open(GetDataFolder(), name);
  store.m_modelId = modelId;
  SetKeyStrokeModel(modelId);
  LoadLayout(displayName);
}

void DeviceLink::LoadLayout(const CString& displayName) {
  XmlDocument layout;
  if (!layout.ReadFromFile(GetProgramFolder() + L"layouts\\" + displayName + L".xml", false) ||
      !layout.NextElement(L"device.info")) {
    return;  // the pictures keep the previous model's keys
  }
  layout.EnterElement();
  if (layout.NextElement(L"light")) {
    m_hasPerKeyRgb = Decimal(layout, L"rgb_keyboard") == 1;
    SetBrightnessMax(Decimal(layout, L"brightness_max"));
    SetSpeedRange(0, 4, 4);  // fixed, whatever "speed_max" says
  }
  m_keyIndexByCode.clear();
  m_rowCount = 0;
  m_colCount = 0;
  std::memset(m_keyMatrix, 0, sizeof m_keyMatrix);
  for (int picture : kKeyPictures) ClearKeyPicture(picture);
  if (!layout.NextElement(L"Keyboard")) return;
  m_rowCount = Decimal(layout, L"row_count");
  m_colCount = Decimal(layout, L"col_count");
  const int width = Decimal(layout, L"width"), height = Decimal(layout, L"height");
  const COLORREF body = Hex(layout, L"bk_color");
  for (int picture : kKeyPictures) {
    SetKeyPictureSize(picture, width, height);
    SetKeyPictureColor(picture, body);
  }
  layout.EnterElement();
  if (layout.NextElement(L"KeyItems")) {
    layout.EnterElement();
    ReadLayoutKeys(layout);
  }
}

void DeviceLink::ReadLayoutKeys(XmlDocument& layout) {
  while (layout.NextElement(L"key")) {
    const int code = static_cast<int>(Hex(layout, L"code"));
    const int left = Decimal(layout, L"rect_left"), top = Decimal(layout, L"rect_top");
    const RECT rect = {left, top, left + Decimal(layout, L"rect_width"), top + Decimal(layout, L"rect_height")};
    int row = 0, column = 0;
    if (ParseRowCol(layout.GetAttribute(L"row_col"), &row, &column) && row >= 0 && row < 8 && column >= 0 &&
        column < 32) {
      m_keyMatrix[row][column] = static_cast<uint8_t>(code);
    }
    const CString name = layout.GetAttribute(L"name"), desc = layout.GetAttribute(L"desc");
    for (int picture : kKeyPictures) AddKeyPictureKey(picture, name, desc, code, rect, CString(), kLayoutKeyColor);
  }
}

void DeviceLink::FillLightModeCombo() {
  ClearMusicModeCombo();
  if (m_hasPerKeyRgb) {
    for (const MusicModeRow& mode : kMusicModes) AddMusicModeItem(Text(mode.textId), mode.data);
  } else {
    AddMusicModeItem(Text(kSingleMusicMode.textId), kSingleMusicMode.data);
    HideMusicStyleControls();
  }
  SelectMusicModeIndex(0);
}

void DeviceLink::OpenDevice() {
  m_deviceReady = false;
  m_hid.ClearActiveHandle();
  m_hid.CloseAll();
  m_hid.ScanDevices();
  // A keyboard unplugged while the scan talked to it leaves a record without a device.
  m_hid.DropAbsentDevices();
  m_hid.SetOpened(true);
  const int model = ReadDeviceTypeSetting();
  m_hid.SetActiveModelId(0);
  std::vector<HID_DEVICE_RECORD*> records;
  m_hid.GetOpenDevices(records);
  if (!records.empty()) {
    const HID_DEVICE_RECORD* chosen = nullptr;
    for (const HID_DEVICE_RECORD* record : records) {
      if (record->modelId == model) {
        chosen = record;
        break;
      }
    }
    if (chosen) {
      m_hid.SetActiveModelId(model);
    } else {
      chosen = records.front();
      SelectModelComboData(chosen->modelId);  // the connection routine makes it active
    }
    if (!chosen->productString.IsEmpty()) SetDeviceNameCaption(chosen->productString);
  }
  {
    std::lock_guard<std::mutex> lock(m_modelsLock);
    for (DEVICE_MODEL& device : m_deviceModels) {
      device.connected = m_hid.FindDevice(device.vid, device.pid, CString()) != -1;
      if (device.connected) m_deviceReady = true;
    }
  }
  WriteDeviceTypeSetting(GetModelComboData());
  m_connected = !records.empty();
}

void DeviceLink::UpdateConnectionState(int reason) {
  CloseAllPopups();
  if (m_connected && reason != 2) {
    const int model = GetModelComboData();
    m_hid.SetActiveModelId(model);
    WriteDeviceTypeSetting(model);
    SelectModel(model);
    m_modelComboIndex = GetModelComboIndex();
    m_deviceState = m_hid.GetActiveDeviceState();
    FillLightModeCombo();
    m_deviceReady = true;
    SetConnectState(Text(kConnectedTextId), L"img_connect.png");
    AppendTask(TASK_READ_DEVICE_STATE);
    AppendTask(TASK_CHECK_CALIBRATION);
  } else {
    ShowHomeState();
    m_deviceState = -1;
    CloseAdvKeyEditor();
    SetConnectState(Text(kNotConnectedTextId), L"img_no_connect.png");
  }
}

void DeviceLink::OnDeviceChange(UINT event, const DEV_BROADCAST_HDR* header) {
  if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
  const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
  const CString path(broadcast->dbcc_name);
  CString name = path;
  name.MakeUpper();
  if (event == DBT_DEVICEARRIVAL) {
    for (const BootRow& boot : kReportedBootloaders) {
      if (name.Find(boot.pattern) < 0) continue;
      m_bootVid = kBootVid;
      m_bootPid = boot.pid;
      PostMessageW(GetMainWindowHandle(), WM_KB_UPGRADE_NOTIFY, kUpgradeNotifyBootDevice, 0);
      break;
    }
    bool matches = false;
    {
      std::lock_guard<std::mutex> lock(m_modelsLock);
      for (const DEVICE_MODEL& device : m_deviceModels) {
        if (name.Find(device.pattern) >= 0) {
          matches = true;
          break;
        }
      }
    }
    if (!matches) return;
    char narrowPath[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, path, -1, narrowPath, sizeof narrowPath - 1, nullptr, nullptr);
    if (IsConfigInterface(narrowPath)) AppendTask(TASK_DEVICE_ARRIVED);
  } else if (event == DBT_DEVICEREMOVECOMPLETE) {
    bool removed = false;
    {
      std::lock_guard<std::mutex> lock(m_modelsLock);
      for (DEVICE_MODEL& device : m_deviceModels) {
        if (device.connected && name.Find(device.pattern) >= 0) {
          device.connected = 0;
          removed = true;
          break;
        }
      }
    }
    if (removed) AppendTask(TASK_DEVICE_REMOVED);
  }
}

void DeviceLink::RegisterDeviceNotifications() {
  const HWND window = GetMainWindowHandle();
  if (!m_deviceNotify && window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    // GUID_DEVINTERFACE_HID
    filter.dbcc_classguid = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    m_deviceNotify = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
  SetCh375NotifyWindow(window);
  // Without CH375DLL.DLL this registers nothing.
  Ch375Library::Instance().SetDeviceNotify(0, nullptr, &Ch375DeviceEvent);
}
