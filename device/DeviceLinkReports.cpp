#include "device/DeviceLinkReports.h"

#include <windows.h>

#include <cwchar>

#include "app/pages/KeyFunctionCatalogue.h"
#include "device/DeviceLink.h"
#include "hidapi/hidapi.h"

namespace {

constexpr int kMaxTravel = 40;
// The performance picture shows travel above this as fully pressed.
constexpr int kShownTravelLimit = 35;
constexpr int kPerformanceTab = 7;
constexpr int kLightingTab = 4;
constexpr int kReadTimeoutMs = 10;
constexpr ULONGLONG kCalibrationRepeatMs = 1900;

int BigEndian16(const uint8_t* p) { return p[0] * 256 + p[1]; }

}  // namespace

int DecodeReportTravel(const uint8_t* d) {
  const int full = BigEndian16(d + 14) - 5;
  if (full <= 0) return -1;
  const int travel = BigEndian16(d + 6) * kMaxTravel / full;
  return travel < 0 ? 0 : (travel > kMaxTravel ? kMaxTravel : travel);
}

int DecodeCalibrationDigits(const uint8_t* d) {
  wchar_t text[16] = {};
  swprintf(text, 16, L"%d%d%d", d[11], d[12], d[13]);
  return static_cast<int>(std::wcstol(text, nullptr, 10));
}

int DecodeCalibrationOffset(const uint8_t* d) { return BigEndian16(d + 18) - BigEndian16(d + 16); }

void DeviceLink::ReadInputReport() {
  uint8_t d[kInputReportSize] = {};
  if (hid_device* handle = m_hid.GetActiveHandle()) hid_read_timeout(handle, d, sizeof d, kReadTimeoutMs);

  switch (d[0]) {
    case INPUT_TRAVEL: {
      // Travel reports count only on the performance page; elsewhere the step ends here.
      if (m_curTab != kPerformanceTab) return;
      const int code = ModifierBitToUsage(d[1], d[2], d[3]);
      const int travel = DecodeReportTravel(d);
      if (code < 1 || travel < 0) break;
      if (m_calibrating) {
        SetPerfKeyCalibration(code, travel, d[10], DecodeCalibrationDigits(d), DecodeCalibrationOffset(d));
      } else if (m_debugMode) {
        SetKeyStrokeActuation(travel);
        SetPerfKeyActuation(code, travel <= kShownTravelLimit ? travel : kMaxTravel);
      }
      break;
    }
    case INPUT_LAYER_STATE: {
      const int fn = d[1], profile = d[2];
      if (fn != m_fnLayer) {
        m_fnLayer = fn;
        SelectKeyLayer(fn);
        RedrawKeyLayers();
        if (m_curTab != kLightingTab) RefreshKeyCaptions();
      }
      if (profile == m_deviceProfile) break;
      m_deviceProfile = profile;
      ShowProfileLayers(profile);
      // The layer the keyboard reported, not the profile's first.
      m_fnLayer = fn;
      SelectKeyLayer(fn);
      RedrawKeyLayers();
      LoadKeyPerfFromDevice();
      break;
    }
    case INPUT_PROFILE_SWITCHED:
      GetDeviceProfile(0);
      RefreshProfiles();
      RefreshKeyCaptions();
      ReadKeyPerfFromDevice(m_deviceProfile + 1);
      RefreshPerfPage();
      ReadLightFromDevice(m_deviceProfile + 1);
      RefreshLightModeLists();
      InitMusicGrid();
      RefreshDeviceSettings();
      RefreshMacroList();
      break;
    default:
      break;
  }

  // The keyboard leaves its calibration mode by itself after a while: send it again.
  if (m_curTab != kPerformanceTab || !m_calibrationMode) return;
  const ULONGLONG now = GetTickCount64();
  if (m_calibrationRepeatAt == 0) m_calibrationRepeatAt = now;
  if (now - m_calibrationRepeatAt > kCalibrationRepeatMs) {
    m_calibrationRepeatAt = now;
    SendCalibrationMode();
  }
}
