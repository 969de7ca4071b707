// A DeviceLink whose device and window sides record: every overridden operation appends a
// call (name, integer arguments, texts, thread, step number, time) and runs the action a test
// attached to that name, if any; an operation the link implements itself runs for real only
// when the test asks for it (SetReal). Queries answer from values the test sets; the model
// combo and the four key pictures keep the state their operations give them. Steps are
// counted and their start times kept, so pacing can be read back. A new operation is one
// line in the class below. Calls may come from any thread.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/DeviceLink.h"

namespace testsupport {

struct LinkCall {
  std::string name;
  std::vector<int> args;
  CString text;
  CString text2;
  DWORD thread = 0;
  int step = 0;      // the step during which the call came; 0 outside the worker's steps
  double timeMs = 0;  // since the log was made
};

// The record of one link; shared, so that a test can read it after the link is gone.
class CallLog {
 public:
  std::vector<LinkCall> Calls();
  // The calls as "Name(arg,arg)" (no parentheses without arguments), in order.
  std::vector<std::string> Names();
  void Clear();
  std::vector<double> StepStarts();
  double NowMs() const;

 private:
  friend class RecordingDeviceLink;
  const std::chrono::steady_clock::time_point m_epoch = std::chrono::steady_clock::now();
  std::mutex m_lock;
  std::vector<LinkCall> m_calls;
  std::vector<double> m_stepStarts;
};

class RecordingDeviceLink : public DeviceLink {
 public:
  explicit RecordingDeviceLink(HidDeviceManager& hid = HidDeviceManager::Instance());
  // Stops the worker and waits for its last step, as the main window does.
  ~RecordingDeviceLink();

  // Runs action inside every later call of the operation name (after it is recorded).
  void SetAction(const std::string& name, std::function<void()> action);
  // The named operations (that DeviceLink implements) run for real after being recorded.
  void SetReal(std::initializer_list<const char*> names);
  // Each step first spins this long (microseconds), before the link's own step.
  void SetStepSpin(int microseconds) { m_stepSpinUs = microseconds; }

  std::shared_ptr<CallLog> Log() { return m_log; }
  std::vector<std::string> Names() { return m_log->Names(); }
  int Steps() const { return m_step; }

  // Answers of the queries.
  std::atomic<bool> shown{true};
  std::atomic<bool> minimised{false};
  RECT mainRect{0, 0, 1400, 860};
  bool hasForeground = false;
  RECT foregroundRect{0, 0, 0, 0};
  HWND mainWindow = nullptr;
  std::atomic<bool> lightSwitchOn{true};

  // State the window-side operations leave.
  struct ComboItem {
    CString text;
    int data;
  };
  struct PictureKey {
    CString name, desc;
    int code;
    RECT rect;
    CString icon;
    COLORREF color;
  };
  struct Picture {
    int width = 0, height = 0;
    COLORREF color = 0;
    std::vector<PictureKey> keys;
  };
  std::vector<ComboItem> modelCombo;
  int modelComboIndex = -1;
  Picture pictures[KEY_PICTURE_COUNT];

  void WorkerStep() override;

  void OpenDevice() override {
    if (Record("OpenDevice")) DeviceLink::OpenDevice();
  }
  void UpdateConnectionState(int reason) override {
    if (Record("UpdateConnectionState", {reason})) DeviceLink::UpdateConnectionState(reason);
  }
  void GetDeviceProfile(int refresh) override {
    if (Record("GetDeviceProfile", {refresh})) DeviceLink::GetDeviceProfile(refresh);
  }
  void PollLiveColors() override {
    if (Record("PollLiveColors")) DeviceLink::PollLiveColors();
  }
  void ReadInputReport() override { Record("ReadInputReport"); }
  void ReadKeyPerfFromDevice(int profile) override {
    if (Record("ReadKeyPerfFromDevice", {profile})) DeviceLink::ReadKeyPerfFromDevice(profile);
  }
  void ReadLightFromDevice(int profile) override {
    if (Record("ReadLightFromDevice", {profile})) DeviceLink::ReadLightFromDevice(profile);
  }
  void WriteKeyMap() override {
    if (Record("WriteKeyMap")) DeviceLink::WriteKeyMap();
  }
  void WriteKeyMapAllLayers() override {
    if (Record("WriteKeyMapAllLayers")) DeviceLink::WriteKeyMapAllLayers();
  }
  void WriteMacros() override {
    if (Record("WriteMacros")) DeviceLink::WriteMacros();
  }
  void WriteLightSettings() override {
    if (Record("WriteLightSettings")) DeviceLink::WriteLightSettings();
  }
  void WriteKeyColors() override {
    if (Record("WriteKeyColors")) DeviceLink::WriteKeyColors();
  }
  void WriteKeyPerf() override {
    if (Record("WriteKeyPerf")) DeviceLink::WriteKeyPerf();
  }
  void WriteDeviceSettings() override {
    if (Record("WriteDeviceSettings")) DeviceLink::WriteDeviceSettings();
  }
  void SendCalibrationMode() override {
    if (Record("SendCalibrationMode")) DeviceLink::SendCalibrationMode();
  }

  void RefreshProfiles() override { Record("RefreshProfiles"); }
  void RefreshKeyCaptions() override { Record("RefreshKeyCaptions"); }
  void RefreshPerfPage() override { Record("RefreshPerfPage"); }
  void RefreshLightPage() override { Record("RefreshLightPage"); }
  void RefreshLightModeLists() override { Record("RefreshLightModeLists"); }
  void InitMusicGrid() override { Record("InitMusicGrid"); }
  void RefreshDeviceSettings() override { Record("RefreshDeviceSettings"); }
  void RefreshMacroList() override { Record("RefreshMacroList"); }
  void ApplyProfile() override { Record("ApplyProfile"); }
  void SendMusicFrame() override { Record("SendMusicFrame"); }
  void CheckSoftwareVersion() override { Record("CheckSoftwareVersion"); }
  void CheckFirmwareVersion() override { Record("CheckFirmwareVersion"); }
  void UpgradeSoftware() override { Record("UpgradeSoftware"); }
  void UpgradeFirmware() override { Record("UpgradeFirmware"); }
  void UpgradeBootDeviceFirmware() override { Record("UpgradeBootDeviceFirmware"); }
  void RecheckCalibration() override { Record("RecheckCalibration"); }
  void CloseAllPopups() override { Record("CloseAllPopups"); }
  void StartVisualizer() override { Record("StartVisualizer"); }

  bool IsMainWindowShown() override { return shown; }
  bool IsMainWindowMinimised() override { return minimised; }
  bool GetMainWindowRect(RECT* rect) override;
  bool GetForegroundRect(RECT* rect) override;

  void ShowPagesState(int tabIndex, const CString& connectText) override {
    Record("ShowPagesState", {tabIndex}, connectText);
  }
  void EnableCheckSoftwareButton() override { Record("EnableCheckSoftwareButton"); }
  void EnableCheckFirmwareButton() override { Record("EnableCheckFirmwareButton"); }
  void StartWindowTimer(UINT id, UINT periodMs) override {
    Record("StartWindowTimer", {static_cast<int>(id), static_cast<int>(periodMs)});
  }
  void StopWindowTimer(UINT id) override { Record("StopWindowTimer", {static_cast<int>(id)}); }
  void ClearModelCombo() override;
  void AddModelComboItem(const CString& name, int modelId) override;
  void SelectModelComboData(int modelId) override;
  int GetModelComboData() override;
  int GetModelComboIndex() override { return modelComboIndex; }
  void SetModelCaption(const CString& name) override { Record("SetModelCaption", {}, name); }
  void SetDeviceNameCaption(const CString& product) override { Record("SetDeviceNameCaption", {}, product); }
  void ClearKeyPicture(int picture) override;
  void SetKeyPictureSize(int picture, int width, int height) override;
  void SetKeyPictureColor(int picture, COLORREF color) override;
  void AddKeyPictureKey(int picture, const CString& name, const CString& desc, int code, const RECT& rect,
                        const CString& icon, COLORREF color) override;
  void SetKeyStrokeModel(int modelId) override { Record("SetKeyStrokeModel", {modelId}); }
  void SetBrightnessMax(int maximum) override { Record("SetBrightnessMax", {maximum}); }
  void SetSpeedRange(int minimum, int maximum, int position) override {
    Record("SetSpeedRange", {minimum, maximum, position});
  }
  void ClearMusicModeCombo() override { Record("ClearMusicModeCombo"); }
  void AddMusicModeItem(const CString& text, int data) override { Record("AddMusicModeItem", {data}, text); }
  void SelectMusicModeIndex(int index) override { Record("SelectMusicModeIndex", {index}); }
  void HideMusicStyleControls() override { Record("HideMusicStyleControls"); }
  void ShowHomeState() override { Record("ShowHomeState"); }
  void SetConnectState(const CString& text, const CString& image) override {
    Record("SetConnectState", {}, text, image);
  }
  void CloseAdvKeyEditor() override { Record("CloseAdvKeyEditor"); }
  HWND GetMainWindowHandle() override { return mainWindow; }
  void SetDeviceProfileCaption(const CString& text) override { Record("SetDeviceProfileCaption", {}, text); }
  void ClearKeyLayers() override { Record("ClearKeyLayers"); }
  void AddKeyLayer(const CString& name, int id) override { Record("AddKeyLayer", {id}, name); }
  void SelectKeyLayer(int id) override { Record("SelectKeyLayer", {id}); }
  void RedrawKeyLayers() override { Record("RedrawKeyLayers"); }
  void SelectReportRateData(int rate) override { Record("SelectReportRateData", {rate}); }
  void SelectDebounceIndex(int level) override { Record("SelectDebounceIndex", {level}); }
  void SelectLightModeListData(int mode) override { Record("SelectLightModeListData", {mode}); }
  void SelectLightTypeTabData(int mode) override { Record("SelectLightTypeTabData", {mode}); }
  void ShowLightTypeCaption() override { Record("ShowLightTypeCaption"); }
  void ShowCalibrationWarning(const CString& text) override { Record("ShowCalibrationWarning", {}, text); }
  bool IsLightSwitchOn() override { return lightSwitchOn; }
  std::vector<int> GetLightKeyCodes() override;
  // Colours land on the lighting picture's keys; the call is logged with the pair count.
  void SetLightKeyColors(const std::vector<std::pair<int, COLORREF>>& colors) override;
  std::vector<std::pair<int, COLORREF>> GetLightKeyColors() override;
  void SetPerfKeyCalibration(int code, int travel, int calibration, int digits, int offset) override {
    Record("SetPerfKeyCalibration", {code, travel, calibration, digits, offset});
  }
  void SetPerfKeyActuation(int code, int travel) override { Record("SetPerfKeyActuation", {code, travel}); }
  void SetKeyStrokeActuation(int travel) override { Record("SetKeyStrokeActuation", {travel}); }

 private:
  // Records the call and runs its action; true when the operation is to run for real.
  bool Record(const char* name, std::vector<int> args = {}, const CString& text = CString(),
              const CString& text2 = CString());

  const std::shared_ptr<CallLog> m_log = std::make_shared<CallLog>();
  std::mutex m_actionLock;
  std::map<std::string, std::function<void()>> m_actions;
  std::vector<std::string> m_real;
  std::atomic<int> m_step{0};
  std::atomic<int> m_stepSpinUs{0};
};

}  // namespace testsupport
