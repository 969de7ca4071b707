#include "device/DeviceModel.h"

#include <atomic>
#include <cwchar>

#include "app/AppMessages.h"
#include "device/FirmwareFlasherCh375.h"
#include "device/HidReportLengths.h"
#include "ui/core/Manager.h"

namespace {

constexpr int kConfigReportLength = 65;
std::atomic<HWND> g_ch375Window{nullptr};

// HKCU "SOFTWARE\<device name>", opened with full access; null when it does not exist.
class DeviceKey {
 public:
  DeviceKey() {
    CString path;
    path.Format(L"SOFTWARE\\%s", static_cast<const wchar_t*>(TESK::Manager::GetDeviceName()));
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &m_key) != ERROR_SUCCESS) m_key = nullptr;
  }
  ~DeviceKey() {
    if (m_key) RegCloseKey(m_key);
  }
  DeviceKey(const DeviceKey&) = delete;
  DeviceKey& operator=(const DeviceKey&) = delete;
  HKEY Get() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

int DigitValue(const CString& text) { return static_cast<int>(wcstol(text, nullptr, 10)); }

}  // namespace

int ReadDeviceTypeSetting() {
  DeviceKey key;
  if (!key.Get()) return 0;
  // At most 255 bytes into a zeroed buffer of 512: the text stays terminated however long.
  wchar_t value[256] = {};
  DWORD size = 255;
  if (RegQueryValueExW(key.Get(), L"DeviceType", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS) {
    return 0;
  }
  return static_cast<int>(wcstol(value, nullptr, 10));
}

void WriteDeviceTypeSetting(int modelId) {
  DeviceKey key;
  if (!key.Get()) return;
  CString text;
  text.Format(L"%d", modelId);
  RegSetValueExW(key.Get(), L"DeviceType", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                 static_cast<DWORD>((text.GetLength() + 1) * sizeof(wchar_t)));
}

bool IsConfigInterface(const char* path) {
  int input = 0, output = 0;
  return QueryHidReportLengths(path, &input, &output) && input == kConfigReportLength &&
         output == kConfigReportLength;
}

void WINAPI Ch375DeviceEvent(ULONG eventCode) {
  if (eventCode != 0 && eventCode != 3) return;
  if (!FirmwareFlasherCh375::Instance().FindDevices()) return;
  if (HWND window = g_ch375Window) PostMessageW(window, WM_KB_UPGRADE_NOTIFY, kUpgradeNotifyBootDevice, 0);
}

void SetCh375NotifyWindow(HWND window) { g_ch375Window = window; }

bool ParseRowCol(const CString& text, int* row, int* column) {
  const int length = text.GetLength();
  if (length < 3) return false;
  *row = DigitValue(text.Left(1));
  *column = DigitValue(length == 3 ? text.Right(1) : text.Right(2));
  return true;
}
