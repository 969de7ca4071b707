#include "device/HidDeviceManager.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <hidapi/hidapi.h>

#include "device/HidReportLengths.h"

namespace {

constexpr int kMinReportLength = 65;
constexpr uint16_t kBootVendorId = 0x19F5;
constexpr uint16_t kBootUsagePage = 0xFF00;
constexpr uint16_t kBootUsage = 1;

// Owns an enumeration list for one scope.
class Enumeration {
 public:
  Enumeration() : m_list(hid_enumerate(0, 0)) {}
  ~Enumeration() {
    if (m_list) hid_free_enumeration(m_list);
  }
  Enumeration(const Enumeration&) = delete;
  Enumeration& operator=(const Enumeration&) = delete;
  hid_device_info* First() const { return m_list; }

 private:
  hid_device_info* m_list;
};

CString ProductOf(const hid_device_info* info) {
  return info->product_string ? CString(info->product_string) : CString();
}

}  // namespace

void PrepareFrame(uint8_t* frame, uint8_t command, int length, int offset) {
  std::memset(frame, 0, COMMAND_REPORT_SIZE);
  frame[1] = COMMAND_MARKER;
  frame[2] = command;
  frame[5] = static_cast<uint8_t>(length);
  frame[6] = static_cast<uint8_t>(offset);
  frame[7] = static_cast<uint8_t>(offset >> 8);
}

uint8_t FrameChecksum(const uint8_t* frame, int first, int last) {
  unsigned sum = 0;
  for (int i = first; i <= last; ++i) sum += frame[i];
  return static_cast<uint8_t>(sum);
}

HidDeviceManager& HidDeviceManager::Instance() {
  static HidDeviceManager manager;
  return manager;
}

HidDeviceManager::HidDeviceManager() { EnsureHidInitialised(); }

HidDeviceManager::~HidDeviceManager() {
  CloseAll();
  // Records left by a scan whose opened flag was never set are closed too.
  for (HID_DEVICE_RECORD* record : m_devices) {
    if (record->handle) hid_close(record->handle);
    delete record;
  }
  m_devices.clear();
  if (m_hidInitialised) hid_exit();
  m_supported.clear();
}

bool HidDeviceManager::EnsureHidInitialised() {
  if (!m_hidInitialised) {
    if (hid_init() == 0) {
      m_hidInitialised = true;
    } else {
      hid_exit();  // release what a half-done initialisation holds; try again later
    }
  }
  return m_hidInitialised;
}

void HidDeviceManager::AddSupportedDevice(int vid, int pid, int /*bootVid*/, int /*bootPid*/,
                                          const CString& productFilter, int modelId, int /*flag*/) {
  SUPPORTED_DEVICE entry;
  entry.vid = vid;
  entry.pid = pid;
  entry.productFilter = productFilter;
  entry.modelId = modelId;
  m_supported.push_back(entry);
}

const SUPPORTED_DEVICE* HidDeviceManager::FindSupported(int vid, int pid, const CString& productString) const {
  for (const SUPPORTED_DEVICE& entry : m_supported) {
    if (entry.vid == vid && entry.pid == pid &&
        (entry.productFilter.IsEmpty() || entry.productFilter.Compare(productString) == 0)) {
      return &entry;
    }
  }
  return nullptr;
}

int HidDeviceManager::GetModelId(int vid, int pid, const CString& productString) const {
  const SUPPORTED_DEVICE* entry = FindSupported(vid, pid, productString);
  return entry ? entry->modelId : 0;
}

bool HidDeviceManager::IsSupported(int vid, int pid, const CString& productString) const {
  return FindSupported(vid, pid, productString) != nullptr;
}

void HidDeviceManager::ScanDevices() {
  if (!EnsureHidInitialised()) return;
  Enumeration all;
  for (hid_device_info* info = all.First(); info; info = info->next) {
    const CString product = ProductOf(info);
    if (!info->path || !IsSupported(info->vendor_id, info->product_id, product)) continue;
    hid_device* handle = hid_open_path(info->path);
    if (!handle) continue;
    // Only an interface with both reports at least 65 bytes long carries the command
    // protocol; on these keyboards that is the configuration interface.
    int inputLength = 0, outputLength = 0;
    if (!QueryHidReportLengths(info->path, &inputLength, &outputLength) || inputLength < kMinReportLength ||
        outputLength < kMinReportLength) {
      hid_close(handle);
      continue;
    }
    ReadDeviceInfo(handle);  // wakes the configuration interface; the answer is not kept

    auto* record = new HID_DEVICE_RECORD;
    record->index = static_cast<int>(m_devices.size());
    record->vid = info->vendor_id;
    record->pid = info->product_id;
    std::strncpy(record->path, info->path, sizeof record->path - 1);
    record->productString = product;
    record->handle = handle;
    record->releaseNumber = info->release_number;
    record->modelId = GetModelId(info->vendor_id, info->product_id, product);
    m_devices.push_back(record);
  }
}

void HidDeviceManager::DropAbsentDevices() {
  if (m_devices.empty() || !EnsureHidInitialised()) return;
  std::vector<std::string> present;
  {
    Enumeration all;
    for (hid_device_info* info = all.First(); info; info = info->next) {
      if (info->path) present.emplace_back(info->path);
    }
  }
  std::vector<HID_DEVICE_RECORD*> kept;
  for (HID_DEVICE_RECORD* record : m_devices) {
    if (std::find(present.begin(), present.end(), record->path) != present.end()) {
      record->index = static_cast<int>(kept.size());
      kept.push_back(record);
      continue;
    }
    if (record->handle == m_activeHandle) m_activeHandle = nullptr;
    if (record->handle) hid_close(record->handle);
    delete record;
  }
  m_devices.swap(kept);
}

void HidDeviceManager::CloseAll() {
  if (!m_opened) return;
  m_opened = false;
  m_activeHandle = nullptr;
  for (HID_DEVICE_RECORD* record : m_devices) {
    if (record->handle) hid_close(record->handle);
    delete record;
  }
  m_devices.clear();
}

bool HidDeviceManager::GetOpenDevices(std::vector<HID_DEVICE_RECORD*>& devices) const {
  if (m_devices.empty()) return false;
  devices.clear();
  for (HID_DEVICE_RECORD* record : m_devices) {
    if (m_activeModelId == 0 || record->modelId == m_activeModelId) devices.push_back(record);
  }
  return true;
}

int HidDeviceManager::GetActiveDeviceState() const {
  for (const HID_DEVICE_RECORD* record : m_devices) {
    if (record->modelId == m_activeModelId) return 0;
  }
  return -1;
}

int HidDeviceManager::FindDevice(int vid, int pid, const CString& productFilter) const {
  for (const HID_DEVICE_RECORD* record : m_devices) {
    if (record->vid == vid && record->pid == pid &&
        (productFilter.IsEmpty() || record->productString.Compare(productFilter) == 0)) {
      return 1;
    }
  }
  return -1;
}

void HidDeviceManager::SetActiveModelId(int modelId) {
  m_activeModelId = modelId;
  m_activeHandle = nullptr;
}

hid_device* HidDeviceManager::GetActiveHandle() {
  if (m_activeHandle) return m_activeHandle;
  for (const HID_DEVICE_RECORD* record : m_devices) {
    if (record->modelId == m_activeModelId) {
      m_activeHandle = record->handle;
      break;
    }
  }
  return m_activeHandle;
}

bool HidDeviceManager::SendCommand(uint8_t* frame) {
  if (!m_opened) return false;
  hid_device* handle = GetActiveHandle();
  if (!handle) return false;
  Sleep(2);
  frame[4] = FrameChecksum(frame, 5, COMMAND_REPORT_SIZE - 1);
  if (hid_write(handle, frame, COMMAND_REPORT_SIZE) < 0) {
    Sleep(2);
    if (hid_write(handle, frame, COMMAND_REPORT_SIZE) < 0) return false;
  }
  Sleep(2);
  uint8_t reply[COMMAND_REPORT_SIZE];
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::memset(reply, 0, sizeof reply);
    if (hid_read_timeout(handle, reply, COMMAND_REPORT_SIZE, 30) > 0 && reply[0] == REPLY_MARKER) {
      std::memcpy(frame, reply, sizeof reply);
      return true;
    }
  }
  // No reply: send the frame once more and give it one last chance.
  Sleep(100);
  hid_write(handle, frame, COMMAND_REPORT_SIZE);
  std::memset(reply, 0, sizeof reply);
  hid_read_timeout(handle, reply, COMMAND_REPORT_SIZE, 50);
  if (reply[0] != REPLY_MARKER) return false;
  std::memcpy(frame, reply, sizeof reply);
  return true;
}

bool HidDeviceManager::RequestData(uint8_t* frame) {
  if (!m_opened) return false;
  hid_device* handle = GetActiveHandle();
  if (!handle) return false;
  // Only bytes 0..63 go out; hidapi pads the report with a zero byte 64, so the checksum
  // covers bytes 5..63 and byte 64 of the caller's buffer plays no part.
  frame[4] = FrameChecksum(frame, 5, COMMAND_REPORT_SIZE - 2);
  if (hid_write(handle, frame, COMMAND_REPORT_SIZE - 1) < 0) return false;
  uint8_t reply[COMMAND_REPORT_SIZE];
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::memset(reply, 0, sizeof reply);
    if (hid_read_timeout(handle, reply, COMMAND_REPORT_SIZE - 1, 50) <= 0) continue;
    if (reply[0] == REPLY_MARKER && reply[1] == frame[2] && reply[4] == frame[5] && reply[5] == frame[6] &&
        reply[6] == frame[7] && reply[7] == frame[8]) {
      std::memcpy(frame, reply, sizeof reply);
      return true;
    }
  }
  return false;
}

CString HidDeviceManager::ReadDeviceInfo(hid_device* handle) {
  if (!handle) return CString();
  uint8_t request[COMMAND_REPORT_SIZE] = {};
  request[1] = COMMAND_MARKER;
  request[2] = CMD_GET_DEVICE_INFO;
  uint8_t reply[COMMAND_REPORT_SIZE] = {};
  int received = 0;
  for (int attempt = 0; attempt < 5; ++attempt) {
    received = 0;
    if (hid_write(handle, request, COMMAND_REPORT_SIZE) >= 0) {
      Sleep(10);
      std::memset(reply, 0, sizeof reply);
      received = hid_read_timeout(handle, reply, COMMAND_REPORT_SIZE, 100);
      if (received > 8 && reply[8] != 0) break;
    }
    Sleep(1000);
  }
  if (received <= 8 || reply[8] == 0) return CString();
  const int length = reply[4] | (reply[5] << 8);
  if (length > 60) return CString();
  // The text can only be as long as what arrived after byte 8.
  const int available = std::min(length, received - 8);
  char text[COMMAND_REPORT_SIZE] = {};
  std::memcpy(text, reply + 8, static_cast<size_t>(available));
  return CString(text);  // stops at the first zero byte; system code page
}

const HID_DEVICE_RECORD* HidDeviceManager::RecordOfHandle(hid_device* handle) const {
  if (!handle) return nullptr;
  for (const HID_DEVICE_RECORD* record : m_devices) {
    if (record->handle == handle) return record;
  }
  return nullptr;
}

int HidDeviceManager::GetFirmwareVersion() const {
  const HID_DEVICE_RECORD* record = RecordOfHandle(m_activeHandle);
  return record ? record->releaseNumber : 0;
}

CString HidDeviceManager::GetFirmwareVersionText() {
  if (!m_opened || !m_activeHandle) return CString(L"0.0");
  const int release = GetFirmwareVersion();
  const CString info = ReadDeviceInfo(m_activeHandle);
  if (info.IsEmpty()) return CString(L"0.0");
  return FormatFirmwareCaption(info, release);
}

CString FormatFirmwareCaption(const CString& info, int releaseNumber) {
  // The date sits between the first two commas: "product,Mar 15 2024,version".
  int comma = info.Find(L',');
  CString s = comma >= 0 ? info.Mid(comma + 1) : info;
  comma = s.Find(L',');
  s = comma >= 0 ? s.Left(comma) : CString();
  const int year = _wtoi(s.Right(4));
  const int month = MonthNameToNumber(info);
  const int space = s.Find(L' ');
  if (space >= 0) s = s.Mid(space + 1);
  const int day = _wtoi(s.Left(2));
  CString hex;
  hex.Format(L"%x", releaseNumber);
  CString caption;
  caption.Format(L"V%s.%s(%04d-%02d-%02d)", hex.Left(1).GetString(), hex.Right(2).GetString(), year, month,
                 day);
  return caption;
}

int MonthNameToNumber(const CString& text) {
  static const wchar_t* const kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                           L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  for (int i = 0; i < 12; ++i) {
    if (text.Find(kMonths[i]) >= 0) return i + 1;
  }
  return 1;
}

hid_device* OpenBootloaderDevice(int* vid, int* pid) {
  if (!HidDeviceManager::Instance().EnsureHidInitialised()) return nullptr;
  Enumeration all;
  for (hid_device_info* info = all.First(); info; info = info->next) {
    if (info->vendor_id != kBootVendorId || (info->product_id != 0xFF30 && info->product_id != 0xFF37) ||
        info->usage_page != kBootUsagePage || info->usage != kBootUsage || !info->path) {
      continue;
    }
    if (hid_device* handle = hid_open_path(info->path)) {
      if (vid) *vid = info->vendor_id;
      if (pid) *pid = info->product_id;
      return handle;
    }
  }
  return nullptr;
}

hid_device* OpenHidDeviceByUsage(int vid, int pid, int usagePage, int usage) {
  if (!HidDeviceManager::Instance().EnsureHidInitialised()) return nullptr;
  Enumeration all;
  for (hid_device_info* info = all.First(); info; info = info->next) {
    if (info->vendor_id != vid || info->product_id != pid || info->usage_page != usagePage ||
        info->usage != usage || !info->path) {
      continue;
    }
    if (hid_device* handle = hid_open_path(info->path)) return handle;
  }
  return nullptr;
}

void HidDeviceManager::CloseBootDevice(hid_device* handle) {
  // The handle is closed whoever opened it, so a bootloader opened by a caller is never
  // left open; the boot device is forgotten when it was that handle.
  if (handle) hid_close(handle);
  if (m_bootDevice == handle) m_bootDevice = nullptr;
}

bool HidDeviceManager::TransferBootPacket(uint8_t* buffer) {
  if (!m_bootDevice) return false;
  if (hid_write(m_bootDevice, buffer, BOOT_PACKET_SIZE) < 0) {
    Sleep(2);
    if (hid_write(m_bootDevice, buffer, BOOT_PACKET_SIZE) < 0) return false;
  }
  return hid_read_timeout(m_bootDevice, buffer, BOOT_PACKET_SIZE, 100) > 0;
}
