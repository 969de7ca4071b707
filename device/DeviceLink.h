// DeviceLink: the main window's device link. The worker thread (CThreadBasic) takes one task
// id per step from m_taskQueue and runs it; with nothing queued it polls the keyboard (music
// frames, the on-board profile and live colours on the lighting page, otherwise the
// keyboard's own reports). The main window derives from MDialog, DeviceLink and KeyboardDef,
// in that order, and supplies the window side: every operation below that is pure and not a
// device operation is done by the window, with plain values.
//
// Threads and locks:
// - m_taskLock guards m_taskQueue and the two dialog registrations. Either thread appends;
//   the worker takes the front. It is held only to read or change them (and, on the UI
//   thread, to replace a registered dialog), never while a task runs; the worker calls
//   MDialog::DoOK under it, which only posts a message.
// - m_deviceLock (re-entrant) keeps a model selection from overlapping a device task: the
//   worker holds it around every task but the version checks and upgrades (16-20) and around
//   the idle poll; SelectModel holds it; a UI-thread caller of SelectModel waits for it.
//   m_modelsLock guards the connected flags of m_deviceModels (worker and device-change
//   handler). Lock order: m_deviceLock, then m_taskLock or m_modelsLock.
// - The scalar state shared by both threads is atomic; each is written by one thread at a
//   time and no ordering between them is relied on.
// - Window-side operations are called on the worker. Anything that changes a control or
//   starts a window timer must be handed by the window to its own thread; queries answer
//   from any thread.
// - The most-derived class stops the worker and calls WaitForEnd before its own members go
//   (the step calls into it); DeviceLink's destructor waits as a last resort only.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include <dbt.h>

#include <utility>
#include <vector>

#include "device/CThreadBasic.h"
#include "device/DeviceModel.h"
#include "device/HidDeviceManager.h"
#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"

class XmlDocument;
namespace TESK {
class MDialog;
}

// Worker task ids. 11 is not a task: it is taken and dropped like any unknown id.
enum : int {
  TASK_STARTUP = 1,
  TASK_DEVICE_ARRIVED = 2,
  TASK_DEVICE_REMOVED = 3,
  TASK_RECONNECT = 4,
  TASK_READ_DEVICE_STATE = 5,
  TASK_APPLY_PROFILE = 6,
  TASK_WRITE_KEYMAP = 7,
  TASK_WRITE_MACROS = 8,
  TASK_WRITE_LIGHT = 9,
  TASK_WRITE_KEY_COLORS = 10,
  TASK_FACTORY_RESET = 12,
  TASK_WRITE_KEY_PERF = 13,
  TASK_WRITE_SETTINGS = 14,
  TASK_WRITE_CALIBRATION = 15,
  TASK_CHECK_SOFTWARE = 16,
  TASK_CHECK_FIRMWARE = 17,
  TASK_UPGRADE_SOFTWARE = 18,
  TASK_UPGRADE_FIRMWARE = 19,
  TASK_UPGRADE_FIRMWARE_HID = 20,
  TASK_CHECK_CALIBRATION = 21,
  TASK_RECHECK_CALIBRATION = 22,
  TASK_WRITE_KEYMAP_ALL = 23,
};

// Window timer of the firmware upgrade's progress dialog, and its period.
constexpr UINT kProgressTimerId = 300;
constexpr UINT kProgressTimerMs = 200;

// Light-mode feature bits of m_lightModeFlags that the idle poll reads.
constexpr uint32_t kLightFlagLiveColors = 0x100;  // set: the lighting page does not poll live colours
constexpr uint32_t kLightFlagMusic = 0x200;       // set: every idle step sends a music frame

// The four key pictures of the main window (keys, advanced keys, lighting, performance).
enum KeyPicture : int { KEY_PICTURE_KEYS, KEY_PICTURE_ADV, KEY_PICTURE_LIGHT, KEY_PICTURE_PERF, KEY_PICTURE_COUNT };

// The colour every layout key starts with (0x00BBGGRR).
constexpr COLORREF kLayoutKeyColor = 0x232323;

// True when the foreground window's overlap with the main window is wider than 1000 or taller
// than 8000 pixels: the lighting page then skips its colour poll.
bool ForegroundCoversWindow(const RECT& foreground, const RECT& window);

class DeviceLink : public CThreadBasic {
 public:
  // hid is the HID manager the link talks through (the program's single one by default).
  explicit DeviceLink(HidDeviceManager& hid = HidDeviceManager::Instance());
  ~DeviceLink();

  // ---- Task queue (either thread) ----
  void AppendTask(int taskId);
  // Removes and returns the front id; false when the queue is empty.
  bool TakeTask(int* taskId);
  size_t PendingTasks();
  // No task queued and none running: the worker takes its task and marks it running under
  // the queue's lock, so a task between the two is never missed.
  bool TasksDone();
  // The lock of the queue and the registrations, for a window that replaces a registered
  // dialog and must delete the old one under it. Re-entrant.
  std::unique_lock<std::recursive_mutex> LockTasks();
  // Called with every id as it is appended, under the queue's lock (test equipment records
  // the tasks a window asks for while its worker runs them). Empty by default.
  void SetTaskObserver(std::function<void(int)> observer);

  // ---- Dialog registrations (UI thread) ----
  // Registers the wait dialog of tasks 6, 7, 8, 12 and 23 (or the progress dialog of tasks 19
  // and 20) before the task id is appended; the previous registration is deleted under the
  // lock, so the worker never closes a dialog that is being deleted. Null unregisters.
  // The link owns what is registered and destroys its window before deleting it (UI thread);
  // the dialog's window must exist already, so that a close that arrives before its modal
  // loop runs still ends the loop.
  void RegisterWaitDlg(std::unique_ptr<TESK::MDialog> dialog);
  void RegisterUpdateTipDlg(std::unique_ptr<TESK::MDialog> dialog);
  TESK::MDialog* GetWaitDlg();
  TESK::MDialog* GetUpdateTipDlg();
  // Hands the registered progress dialog over to the caller and forgets it (null when none):
  // its window is left as it is, so that a modal loop running it is not cut short.
  std::unique_ptr<TESK::MDialog> ReleaseUpdateTipDlg();

  // ---- The worker ----
  void WorkerStep() override;
  // Ready: connected and the connection routine accepted the model's interface.
  bool IsReady() const { return m_connected && m_deviceReady; }
  void RunStartupTask();
  void RefreshFromDevice();
  void FactoryReset();

  // ---- Models, layouts and hot-plug ----
  // UI thread, once at window initialisation: the model lists, the combo, config.xml,
  // the device notifications.
  void LoadModelsAndConfig();
  // Worker or UI thread, under m_deviceLock: caption, settings store, layout into the pictures.
  void SelectModel(int modelId);
  void FillLightModeCombo();
  // WM_DEVICECHANGE (UI thread): queues tasks 2 and 3, reports bootloaders.
  void OnDeviceChange(UINT event, const DEV_BROADCAST_HDR* header);
  void RegisterDeviceNotifications();
  std::unique_lock<std::recursive_mutex> LockDevice();

  // ---- Reading the keyboard into the store (worker) ----
  // A block is applied only when every chunk of it arrived: a failed read leaves the store,
  // the members and the pages as they were. Blocks of an on-board profile outside 0..2 are
  // never addressed.
  void ReadKeyMapsFromDevice();
  // The on-board profile's caption and its four layer tabs, the first of them selected.
  void ShowProfileLayers(int profile);
  // The on-board profile's caption in the current language (the first one's for a profile
  // outside 0..2).
  static CString DeviceProfileCaption(int profile);
  void ReadKeyFunctionsFromDevice();
  void LoadKeyPerfFromDevice();
  void ReadKeyPerfBlock(int profile);
  void SysnDeviceProfileData();
  void CheckKeyCalibration();

  // ---- Writing configuration, key maps and advanced keys (worker) ----
  // Every writer sends nothing while m_deviceProfile is outside 0..2 or m_fnLayer outside
  // 0..11 (both come from keyboard reports): offsets never wrap into another area.
  bool CanWrite() const;
  // Entry index of a key-map buffer (512 bytes) from a key-function row.
  void EncodeKeyFunction(int index, uint8_t* keyMap, const KEY_MACRO_DATA& row);
  // Both return false when a chunk of what they meant to send did not reach the keyboard;
  // they give up at the first one.
  bool WriteAdvancedKeys();
  bool WriteAdvancedKeysAllLayers();
  // One frame of the music effect from the lighting picture's colours; gives up, without
  // CMD_END, at the first failed chunk.
  void WriteMusicFrame();
  // Key code -> switch type of the last performance write (its own lock; any thread).
  std::map<int, int> PerfSlots();
  // Enters each (key code, switch type) into m_perfSlotByKey under its lock, emptying the map
  // first when asked (the performance page's saves and loads).
  void StorePerfSlots(const std::map<int, int>& slots, bool emptyFirst);

  // ---- Device operations (worker), filled in by the device Parts ----
  virtual void OpenDevice();
  virtual void UpdateConnectionState(int reason);  // 0 arrival or start, 2 removal
  virtual void GetDeviceProfile(int refresh);
  virtual void PollLiveColors();
  // One unsolicited report of the keyboard (travel, layer state, profile switch) per idle step,
  // then the calibration repeat; see DeviceLinkReports.cpp.
  virtual void ReadInputReport();
  virtual void ReadKeyPerfFromDevice(int profile);
  virtual void ReadLightFromDevice(int profile);
  virtual void WriteKeyMap();
  virtual void WriteKeyMapAllLayers();
  virtual void WriteMacros();
  virtual void WriteLightSettings();
  virtual void WriteKeyColors();
  virtual void WriteKeyPerf();
  virtual void WriteDeviceSettings();
  virtual void SendCalibrationMode();

  // ---- Window side: page refreshes and tasks of the pages and the shell ----
  virtual void RefreshProfiles() = 0;
  virtual void RefreshKeyCaptions() = 0;
  virtual void RefreshPerfPage() = 0;
  virtual void RefreshLightPage() = 0;
  virtual void RefreshLightModeLists() = 0;
  virtual void InitMusicGrid() = 0;
  virtual void RefreshDeviceSettings() = 0;
  virtual void RefreshMacroList() = 0;
  virtual void ApplyProfile() = 0;
  virtual void SendMusicFrame() = 0;
  virtual void CheckSoftwareVersion() = 0;
  virtual void CheckFirmwareVersion() = 0;
  virtual void UpgradeSoftware() = 0;
  virtual void UpgradeFirmware() = 0;
  virtual void UpgradeBootDeviceFirmware() = 0;
  virtual void RecheckCalibration() = 0;
  virtual void CloseAllPopups() = 0;
  // Init and start the music visualizer, paused.
  virtual void StartVisualizer() = 0;

  // ---- Window side: queries (answered from any thread) ----
  virtual bool IsMainWindowShown() = 0;
  virtual bool IsMainWindowMinimised() = 0;
  virtual bool GetMainWindowRect(RECT* rect) = 0;
  // The rectangle of the foreground window when it is another window than the main one.
  virtual bool GetForegroundRect(RECT* rect) = 0;

  // ---- Window side: control steps, performed on the UI thread at the worker's request ----
  // The pages state: home page hidden, background "main_bkg.png", main tabs shown with
  // tabIndex selected, the connection text set.
  virtual void ShowPagesState(int tabIndex, const CString& connectText) = 0;
  virtual void EnableCheckSoftwareButton() = 0;
  virtual void EnableCheckFirmwareButton() = 0;
  virtual void StartWindowTimer(UINT id, UINT periodMs) = 0;
  virtual void StopWindowTimer(UINT id) = 0;
  // The model combo (item data = model id); the getters give 0 and -1 without a selection.
  virtual void ClearModelCombo() = 0;
  virtual void AddModelComboItem(const CString& name, int modelId) = 0;
  virtual void SelectModelComboData(int modelId) = 0;
  virtual int GetModelComboData() = 0;
  virtual int GetModelComboIndex() = 0;
  virtual void SetModelCaption(const CString& name) = 0;
  virtual void SetDeviceNameCaption(const CString& product) = 0;
  // The key pictures (KeyPicture), as their KeyboardCtrl operations.
  virtual void ClearKeyPicture(int picture) = 0;
  virtual void SetKeyPictureSize(int picture, int width, int height) = 0;
  virtual void SetKeyPictureColor(int picture, COLORREF color) = 0;
  virtual void AddKeyPictureKey(int picture, const CString& name, const CString& desc, int code, const RECT& rect,
                                const CString& icon, COLORREF color) = 0;
  virtual void SetKeyStrokeModel(int modelId) = 0;
  virtual void SetBrightnessMax(int maximum) = 0;
  virtual void SetSpeedRange(int minimum, int maximum, int position) = 0;
  // The music panel's mode combo, and hiding its style controls (ids 198-201).
  virtual void ClearMusicModeCombo() = 0;
  virtual void AddMusicModeItem(const CString& text, int data) = 0;
  virtual void SelectMusicModeIndex(int index) = 0;
  virtual void HideMusicStyleControls() = 0;
  // The home state: main tabs hidden, background "home_bkg.png", home page shown.
  virtual void ShowHomeState() = 0;
  // The home page's connection text and picture.
  virtual void SetConnectState(const CString& text, const CString& image) = 0;
  // Closes, destroys and forgets the docked advanced-key editor when it is open.
  virtual void CloseAdvKeyEditor() = 0;
  virtual HWND GetMainWindowHandle() = 0;
  virtual void SetDeviceProfileCaption(const CString& text) = 0;
  // Both layer strips (keys and advanced keys): cleared, a tab added, a tab selected; the
  // keys page's strip redrawn.
  virtual void ClearKeyLayers() = 0;
  virtual void AddKeyLayer(const CString& name, int id) = 0;
  virtual void SelectKeyLayer(int id) = 0;
  virtual void RedrawKeyLayers() = 0;
  virtual void SelectReportRateData(int rate) = 0;
  virtual void SelectDebounceIndex(int level) = 0;
  // The light-mode list and the light-type tab select the mode; the caption shows the tab's text.
  virtual void SelectLightModeListData(int mode) = 0;
  virtual void SelectLightTypeTabData(int mode) = 0;
  virtual void ShowLightTypeCaption() = 0;
  virtual void ShowCalibrationWarning(const CString& text) = 0;
  // The lighting switch's state (checked: lighting on).
  virtual bool IsLightSwitchOn() = 0;
  // The lighting picture's key codes in list order, read under its key-list lock.
  virtual std::vector<int> GetLightKeyCodes() = 0;
  // Sets each (code, colour) on the lighting picture under its key-list lock, then one redraw.
  virtual void SetLightKeyColors(const std::vector<std::pair<int, COLORREF>>& colors) = 0;
  // The lighting picture's keys as (code, colour), in list order, read under its key-list lock.
  virtual std::vector<std::pair<int, COLORREF>> GetLightKeyColors() = 0;
  // Live travel on the performance page: a calibration sample or the actuation shown on its key
  // picture, and the actuation shown on its key-stroke picture (travel in 0 ... 40).
  virtual void SetPerfKeyCalibration(int code, int travel, int calibration, int digits, int offset) = 0;
  virtual void SetPerfKeyActuation(int code, int travel) = 0;
  virtual void SetKeyStrokeActuation(int travel) = 0;

  // ---- Device and model state ----
  std::atomic<bool> m_startupDone{false};
  std::atomic<bool> m_connected{false};
  std::atomic<bool> m_deviceReady{false};
  std::atomic<int> m_deviceState{0};
  std::atomic<int> m_curModelId{0};
  std::atomic<int> m_modelComboIndex{0};
  std::atomic<int> m_arrivedModelId{0};
  std::atomic<uint32_t> m_bootVid{0};
  std::atomic<uint32_t> m_bootPid{0};
  CString m_modelName;
  CString m_modelTitle;
  CString m_softwareVersion;
  CString m_websiteUrl;  // config.xml's web site: the settings page's link
  CString m_storeUrl;
  CString m_softwareUpgradeUrl;
  int m_rowCount = 0;
  int m_colCount = 0;
  uint8_t m_keyMatrix[8][32] = {};
  bool m_hasPerKeyRgb = true;
  std::vector<DEVICE_MODEL> m_models;        // name, model id, display name
  std::vector<DEVICE_MODEL> m_deviceModels;  // USB identity, pattern, connected flag

  // ---- Selection state (pages write, the worker reads, and the other way round) ----
  std::atomic<int> m_curTab{0};
  std::atomic<int> m_curTabIndex{1};
  std::atomic<int> m_selectedProfile{1};
  std::atomic<int> m_deviceProfile{0};
  std::atomic<int> m_fnLayer{0};
  std::atomic<int> m_lightMode{0};
  std::atomic<uint32_t> m_lightModeFlags{0};
  std::atomic<bool> m_calibrationMode{false};
  std::atomic<bool> m_calibrating{false};
  std::atomic<bool> m_debugMode{false};
  std::atomic<int> m_advKeyWriteMask{0};

  // ---- Device key tables (worker) ----
  uint8_t m_defaultKeyTable[800] = {};
  std::map<int, int> m_keyIndexByCode;
  std::map<int, int> m_defaultCodeByIndex;
  KEY_PERF_DATA m_keyPerf[128] = {};
  std::map<int, int> m_perfSlotByKey;  // under m_perfSlotLock
  std::map<int, int> m_dksKeySlots;
  std::map<int, int> m_advKeySlots;
  std::map<int, int> m_tglKeySlots;

 protected:
  HidDeviceManager& m_hid;

 private:
  void RunTask(int taskId);
  void IdlePoll();
  // After tasks 6, 7, 8, 12 and 23: DoOK on the wait dialog, then 100 ms.
  void CloseWaitDialog();
  // After tasks 19 and 20: timer 300 stopped, 100 ms, DoOK on the progress dialog, 100 ms.
  void EndProgress();
  // CMD_BEGIN / CMD_END, empty payload.
  bool SendBracket(uint8_t command);
  // Reads length bytes at offset in chunks of 56 into out; stops at the first failed chunk.
  // True only when every chunk arrived.
  bool ReadBlock(uint8_t command, int offset, int length, uint8_t* out);
  // Sends length bytes of data at offset in chunks of 56; stops at the first failed chunk.
  bool WriteBlock(uint8_t command, int offset, int length, const uint8_t* data);
  // Reads the default key table into the members when they hold none yet (or no key indexes).
  void EnsureDefaultKeyTable();
  // The configuration block of the current profile, read, edited by edit (data bytes) and
  // written back, inside one transaction; a failed read writes nothing.
  void RewriteConfigBlock(void (*edit)(DeviceLink& link, uint8_t* data));
  void WriteKeyMapOf(bool allLayers);
  bool SendAdvancedKeys(const KeyMacroList& rows, bool allLayers);
  void ImportFactoryMaps();
  void ReadPerfBlock(int profile, bool ownBracket, bool markDeadzones);
  void ApplyLightBlock(int profile, const uint8_t* block);
  void LoadLayout(const CString& displayName);
  void ReadLayoutKeys(XmlDocument& layout);
  static void ReplaceDialog(std::unique_ptr<TESK::MDialog>& slot, std::unique_ptr<TESK::MDialog> next);

  // A key-map write that did not reach the keyboard whole: its areas and key map may be half
  // old, half new, so the next key-map write sends every area and the layer (worker).
  bool m_keyMapIncomplete = false;
  // When the calibration mode was last sent again (GetTickCount64; 0: not yet).
  ULONGLONG m_calibrationRepeatAt = 0;
  std::recursive_mutex m_deviceLock;
  std::mutex m_modelsLock;
  std::mutex m_perfSlotLock;
  HDEVNOTIFY m_deviceNotify = nullptr;
  std::recursive_mutex m_taskLock;
  std::deque<int> m_taskQueue;
  bool m_taskRunning = false;  // under m_taskLock
  std::function<void(int)> m_taskObserver;
  std::unique_ptr<TESK::MDialog> m_waitDlg;
  std::unique_ptr<TESK::MDialog> m_updateTipDlg;
};
