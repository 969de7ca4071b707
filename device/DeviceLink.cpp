#include "device/DeviceLink.h"

#include <mmsystem.h>

#include "app/Language.h"
#include "ui/core/MDialog.h"

namespace {

constexpr DWORD kDeviceSettleMs = 1000;      // tasks 2 and 3: let the system finish the change
constexpr DWORD kCloseWaitMs = 100;          // after closing a wait or progress dialog
constexpr DWORD kFactoryResetMs = 3000;      // the keyboard restores its defaults
constexpr int kConnectTextId = 820;

// What the step does with an id. Rows are data; the step walks them.
enum class After { Nothing, CloseWait, EnableSoftwareCheck, EnableFirmwareCheck, ProgressEnd };

// Bodies of the ids whose work is more than one call.
struct TaskBodies {
  static void DeviceArrived(DeviceLink& link) {
    if (!link.PauseUnlessStopping(kDeviceSettleMs)) return;
    link.OpenDevice();
    link.UpdateConnectionState(0);
  }
  static void DeviceRemoved(DeviceLink& link) {
    if (!link.PauseUnlessStopping(kDeviceSettleMs)) return;
    link.OpenDevice();
    link.UpdateConnectionState(2);
  }
  static void Reconnect(DeviceLink& link) {
    link.OpenDevice();
    link.UpdateConnectionState(0);
    link.RefreshFromDevice();
  }
  static void ReadDeviceState(DeviceLink& link) {
    link.GetDeviceProfile(0);
    link.RefreshFromDevice();
    link.ShowPagesState(link.m_curTabIndex, LoadLanString(L"KB.DIALOG", kConnectTextId));
  }
  static void WriteCalibration(DeviceLink& link) {
    link.WriteDeviceSettings();
    link.SendCalibrationMode();
  }
  static void UpgradeFirmware(DeviceLink& link) {
    link.StartWindowTimer(kProgressTimerId, kProgressTimerMs);
    link.UpgradeFirmware();
  }
  static void UpgradeBootDevice(DeviceLink& link) {
    link.StartWindowTimer(kProgressTimerId, kProgressTimerMs);
    link.UpgradeBootDeviceFirmware();
  }
};

using Body = void (*)(DeviceLink&);

struct TaskEntry {
  int id;
  bool needsReady;
  Body body;
  After after;
  bool device = true;  // runs under the device lock (all but the version checks and upgrades)
};

// Member operations as bodies, so that every row has one shape.
template <void (DeviceLink::*Op)()>
void Call(DeviceLink& link) {
  (link.*Op)();
}

constexpr TaskEntry kTasks[] = {
    {TASK_STARTUP, false, &Call<&DeviceLink::RunStartupTask>, After::Nothing},
    {TASK_DEVICE_ARRIVED, false, &TaskBodies::DeviceArrived, After::Nothing},
    {TASK_DEVICE_REMOVED, false, &TaskBodies::DeviceRemoved, After::Nothing},
    {TASK_RECONNECT, false, &TaskBodies::Reconnect, After::Nothing},
    {TASK_READ_DEVICE_STATE, true, &TaskBodies::ReadDeviceState, After::Nothing},
    {TASK_APPLY_PROFILE, true, &Call<&DeviceLink::ApplyProfile>, After::CloseWait},
    {TASK_WRITE_KEYMAP, true, &Call<&DeviceLink::WriteKeyMap>, After::CloseWait},
    {TASK_WRITE_MACROS, true, &Call<&DeviceLink::WriteMacros>, After::CloseWait},
    {TASK_WRITE_LIGHT, true, &Call<&DeviceLink::WriteLightSettings>, After::Nothing},
    {TASK_WRITE_KEY_COLORS, true, &Call<&DeviceLink::WriteKeyColors>, After::Nothing},
    {TASK_FACTORY_RESET, true, &Call<&DeviceLink::FactoryReset>, After::CloseWait},
    {TASK_WRITE_KEY_PERF, true, &Call<&DeviceLink::WriteKeyPerf>, After::Nothing},
    {TASK_WRITE_SETTINGS, true, &Call<&DeviceLink::WriteDeviceSettings>, After::Nothing},
    {TASK_WRITE_CALIBRATION, true, &TaskBodies::WriteCalibration, After::Nothing},
    {TASK_CHECK_SOFTWARE, false, &Call<&DeviceLink::CheckSoftwareVersion>, After::EnableSoftwareCheck, false},
    {TASK_CHECK_FIRMWARE, false, &Call<&DeviceLink::CheckFirmwareVersion>, After::EnableFirmwareCheck, false},
    {TASK_UPGRADE_SOFTWARE, false, &Call<&DeviceLink::UpgradeSoftware>, After::Nothing, false},
    {TASK_UPGRADE_FIRMWARE, false, &TaskBodies::UpgradeFirmware, After::ProgressEnd, false},
    {TASK_UPGRADE_FIRMWARE_HID, false, &TaskBodies::UpgradeBootDevice, After::ProgressEnd, false},
    {TASK_CHECK_CALIBRATION, true, &Call<&DeviceLink::RecheckCalibration>, After::Nothing},
    {TASK_RECHECK_CALIBRATION, true, &Call<&DeviceLink::RecheckCalibration>, After::Nothing},
    {TASK_WRITE_KEYMAP_ALL, true, &Call<&DeviceLink::WriteKeyMapAllLayers>, After::CloseWait},
};

const TaskEntry* FindTask(int id) {
  for (const TaskEntry& entry : kTasks) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

constexpr LONG kCoverWidth = 1000;
constexpr LONG kCoverHeight = 8000;  // 8000, not 800: only a very tall overlap counts

// Raises the system timer resolution to 1 ms for the lighting page's reads, on every path.
class TimerResolution {
 public:
  TimerResolution() { timeBeginPeriod(1); }
  ~TimerResolution() { timeEndPeriod(1); }
  TimerResolution(const TimerResolution&) = delete;
  TimerResolution& operator=(const TimerResolution&) = delete;
};

}  // namespace

bool ForegroundCoversWindow(const RECT& foreground, const RECT& window) {
  RECT overlap;
  if (!IntersectRect(&overlap, &foreground, &window)) return false;
  return overlap.right - overlap.left > kCoverWidth || overlap.bottom - overlap.top > kCoverHeight;
}

DeviceLink::DeviceLink(HidDeviceManager& hid) : m_hid(hid) {}

DeviceLink::~DeviceLink() {
  Stop();
  WaitForEnd();
  if (m_deviceNotify) UnregisterDeviceNotification(m_deviceNotify);
  SetCh375NotifyWindow(nullptr);
  RegisterWaitDlg(nullptr);
  RegisterUpdateTipDlg(nullptr);
}

// ---- Task queue ----

void DeviceLink::AppendTask(int taskId) {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  m_taskQueue.push_back(taskId);
  if (m_taskObserver) m_taskObserver(taskId);
}

void DeviceLink::SetTaskObserver(std::function<void(int)> observer) {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  m_taskObserver = std::move(observer);
}

bool DeviceLink::TakeTask(int* taskId) {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  if (m_taskQueue.empty()) return false;
  *taskId = m_taskQueue.front();
  m_taskQueue.pop_front();
  return true;
}

size_t DeviceLink::PendingTasks() {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  return m_taskQueue.size();
}

bool DeviceLink::TasksDone() {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  return m_taskQueue.empty() && !m_taskRunning;
}

std::unique_lock<std::recursive_mutex> DeviceLink::LockTasks() {
  return std::unique_lock<std::recursive_mutex>(m_taskLock);
}

void DeviceLink::RegisterWaitDlg(std::unique_ptr<TESK::MDialog> dialog) {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  ReplaceDialog(m_waitDlg, std::move(dialog));
}

void DeviceLink::RegisterUpdateTipDlg(std::unique_ptr<TESK::MDialog> dialog) {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  ReplaceDialog(m_updateTipDlg, std::move(dialog));
}

void DeviceLink::ReplaceDialog(std::unique_ptr<TESK::MDialog>& slot, std::unique_ptr<TESK::MDialog> next) {
  // A dialog object must outlive its window: the window goes first (nothing when it has gone).
  if (slot) slot->DestroyWindow();
  slot = std::move(next);
}

TESK::MDialog* DeviceLink::GetWaitDlg() {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  return m_waitDlg.get();
}

TESK::MDialog* DeviceLink::GetUpdateTipDlg() {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  return m_updateTipDlg.get();
}

std::unique_ptr<TESK::MDialog> DeviceLink::ReleaseUpdateTipDlg() {
  std::lock_guard<std::recursive_mutex> lock(m_taskLock);
  return std::move(m_updateTipDlg);
}

// ---- The worker ----

void DeviceLink::WorkerStep() {
  int taskId = 0;
  bool took = false;
  {
    std::lock_guard<std::recursive_mutex> lock(m_taskLock);
    took = TakeTask(&taskId);
    m_taskRunning = took;
  }
  // A step that took a task does not poll.
  if (took) {
    RunTask(taskId);
    std::lock_guard<std::recursive_mutex> lock(m_taskLock);
    m_taskRunning = false;
  } else if (m_connected) {
    IdlePoll();
  }
}

void DeviceLink::RunTask(int taskId) {
  const TaskEntry* task = FindTask(taskId);
  if (!task || (task->needsReady && !IsReady())) return;
  std::unique_lock<std::recursive_mutex> device(m_deviceLock, std::defer_lock);
  if (task->device) device.lock();
  task->body(*this);
  switch (task->after) {
    case After::Nothing:
      break;
    case After::CloseWait:
      CloseWaitDialog();
      break;
    case After::EnableSoftwareCheck:
      EnableCheckSoftwareButton();
      break;
    case After::EnableFirmwareCheck:
      EnableCheckFirmwareButton();
      break;
    case After::ProgressEnd:
      EndProgress();
      break;
  }
}

void DeviceLink::IdlePoll() {
  std::lock_guard<std::recursive_mutex> device(m_deviceLock);
  const uint32_t flags = m_lightModeFlags;
  if (flags & kLightFlagMusic) SendMusicFrame();
  if (!IsMainWindowShown()) return;
  if (m_curTab != 4) {
    ReadInputReport();
    return;
  }
  TimerResolution resolution;
  GetDeviceProfile(1);
  if (flags & kLightFlagLiveColors) return;
  RECT foreground, window;
  if (GetForegroundRect(&foreground) && GetMainWindowRect(&window) && ForegroundCoversWindow(foreground, window)) {
    return;
  }
  if (!IsMainWindowMinimised()) PollLiveColors();
}

void DeviceLink::CloseWaitDialog() {
  {
    std::lock_guard<std::recursive_mutex> lock(m_taskLock);
    if (m_waitDlg) m_waitDlg->DoOK();
  }
  PauseUnlessStopping(kCloseWaitMs);
}

void DeviceLink::EndProgress() {
  StopWindowTimer(kProgressTimerId);
  PauseUnlessStopping(kCloseWaitMs);
  {
    std::lock_guard<std::recursive_mutex> lock(m_taskLock);
    if (m_updateTipDlg) m_updateTipDlg->DoOK();
  }
  PauseUnlessStopping(kCloseWaitMs);
}

void DeviceLink::RunStartupTask() {
  if (m_startupDone) return;
  m_startupDone = true;
  OpenDevice();
  UpdateConnectionState(0);
  StartVisualizer();
}

void DeviceLink::RefreshFromDevice() {
  RefreshProfiles();
  RefreshKeyCaptions();
  ReadKeyPerfFromDevice(m_selectedProfile);
  RefreshPerfPage();
  ReadLightFromDevice(m_selectedProfile);
  RefreshLightModeLists();
  InitMusicGrid();
  RefreshDeviceSettings();
  RefreshMacroList();
}

void DeviceLink::FactoryReset() {
  uint8_t frame[COMMAND_REPORT_SIZE];
  PrepareFrame(frame, CMD_FACTORY_RESET);
  // Sent alone, outside a transaction; the keyboard may be too busy restoring to answer.
  m_hid.SendCommand(frame);
  if (!PauseUnlessStopping(kFactoryResetMs)) return;
  GetDeviceProfile(0);
  RefreshFromDevice();
}
