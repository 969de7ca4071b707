// The main window's side of the software and firmware upgrade. The checks and the upgrades
// run on the worker (tasks 16 to 22); OnUpgradeNotify answers their results on the UI thread.
// Every upgrade the user agreed to ends either installed or flashed, or with a message box
// of the worker's own (no owner), so that a failure never looks like a success.
#include <memory>

#include "app/AppMessages.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/Upgrade.h"
#include "app/UpdateTipDlg.h"
#include "device/FirmwareFlasherCh375.h"
#include "device/FirmwareFlasherHid.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MText.h"
#include "ui/core/MControlFont.h"

namespace {

constexpr WPARAM kNotifySoftware = 1;
constexpr WPARAM kNotifyFirmware = 2;

// Language texts of the upgrade.
enum : int {
  kSoftwareTitle = 1050,
  kFirmwareTitle = 1051,
  kUpToDate = 1052,
  kNewVersion = 1053,
  kUpgradeNow = 1054,
  kBootloaderFound = 1055,
  kDownloadFailed = 1056,
  kFirmwareFailedTitle = 1057,
  kFlashFailed = 1058,
  kWrongBootloader = 1059,
  kBadImage = 1060,
  kPackageUnusable = 1064,
};

CString Text(int id) { return LoadLanString(L"KB.DIALOG", id); }

// "<New version>:v<version>", the status of a check that found a newer version.
CString NewVersionStatus(const CString& version) {
  CString status;
  status.Format(L"%s:v%s", Text(kNewVersion).GetString(), version.GetString());
  return status;
}

CString UpgradeQuestion(const CString& version) { return NewVersionStatus(version) + L", " + Text(kUpgradeNow); }

// A failure of an upgrade, shown by the worker in a box of its own; the worker waits in it.
void ShowFailure(int titleId, int textId) {
  ShowMessageBox(nullptr, Text(textId), Text(titleId), CUIMessageBox::kOneButton);
}

int PackageFailureText(PackageResult result) {
  return result == PackageResult::kDownloadFailed ? kDownloadFailed : kPackageUnusable;
}

}  // namespace

// ---- The checks (worker) ----

void KeyboardDlg::CheckSoftwareVersion() {
  SetLatestSoftwareVersion(L"");
  HttpClient http;
  CString text, version;
  http.GetText(SoftwareVersionUrl(m_softwareUpgradeUrl), text);
  // No answer or an unusable one ends the check silently.
  if (!ReadSoftwareVersion(text, version)) return;
  SetLatestSoftwareVersion(version);
  const bool newer = OffersUpgrade(m_softwareVersion, version);
  ShowSoftwareStatus(newer ? NewVersionStatus(version) : Text(kUpToDate));
  ::PostMessageW(GetSafeHwnd(), WM_KB_UPGRADE_NOTIFY, kNotifySoftware, newer ? 1 : 0);
}

void KeyboardDlg::CheckFirmwareVersion() {
  SetLatestFirmwareVersion(L"");
  HttpClient http;
  CString text;
  http.GetText(FirmwareVersionUrl(m_firmwareUpgradeUrl, ModelTitle()), text);
  const CString version = ReadFirmwareVersion(text);
  SetLatestFirmwareVersion(version);
  const bool newer = OffersUpgrade(FirmwareReleaseText(static_cast<uint16_t>(m_hid.GetFirmwareVersion())), version);
  ShowFirmwareStatus(newer ? NewVersionStatus(version) : Text(kUpToDate));
  ::PostMessageW(GetSafeHwnd(), WM_KB_UPGRADE_NOTIFY, kNotifyFirmware, newer ? 1 : 0);
}

// A calibration check empties the offered firmware: an upgrade agreed to afterwards finds no
// version and says so.
void KeyboardDlg::RecheckCalibration() {
  HideCalibrationWarning();
  CheckKeyCalibration();
  SetLatestFirmwareVersion(L"");
}

// ---- The upgrades (worker) ----

void KeyboardDlg::UpgradeSoftware() {
  const CString version = LatestSoftwareVersion();
  if (version.IsEmpty()) {
    ShowFailure(kSoftwareTitle, kPackageUnusable);
    return;
  }
  const CString folder = UpgradeDownloadFolder();
  const CString installer = SoftwareInstallerName(version);
  const PackageResult result = FetchPackage(m_http, SoftwarePackageUrl(m_softwareUpgradeUrl, version), folder,
                                            SoftwarePackageName(version), installer, GetSafeHwnd());
  if (result != PackageResult::kReady) {
    ShowFailure(kSoftwareTitle, PackageFailureText(result));
    return;
  }
  // The installer replaces this program: it is started with elevation and the program ends
  // at once, whether or not the user allowed the start.
  ::ShellExecuteW(nullptr, L"runas", folder + installer, nullptr, nullptr, SW_SHOW);
  RemoveTrayIcon(m_trayIcon);
  ::ExitProcess(0);
}

bool KeyboardDlg::FetchFirmware(const CString& modelFolder, const CString& version, CString* image) {
  if (version.IsEmpty()) {
    ShowFailure(kFirmwareFailedTitle, kPackageUnusable);
    return false;
  }
  const CString folder = UpgradeDownloadFolder();
  const CString imageName = FirmwareImageName(version);
  const PackageResult result =
      FetchPackage(m_http, FirmwarePackageUrl(m_firmwareUpgradeUrl, modelFolder, version), folder,
                   FirmwarePackageName(version), imageName, GetSafeHwnd());
  if (result != PackageResult::kReady) {
    ShowFailure(kFirmwareFailedTitle, PackageFailureText(result));
    return false;
  }
  *image = folder + imageName;
  // Checked before the keyboard is touched: a keyboard sent into its bootloader with an image
  // that no flasher takes would be left there.
  if (!IsFlashableImage(*image)) {
    DeleteFileW(*image);
    ShowFailure(kFirmwareFailedTitle, kBadImage);
    return false;
  }
  return true;
}

void KeyboardDlg::FirmwareFlashed(const CString& image) {
  ShowFirmwareStatus(Text(kUpToDate));
  DeleteFileW(image);
  m_firmwareUpgrading = false;
}

void KeyboardDlg::UpgradeFirmware() {
  uint32_t vid = 0, pid = 0, bootVid = 0, bootPid = 0;
  GetModelUsbIds(m_curModelId, &vid, &pid, &bootVid, &bootPid);
  CString image;
  if (!FetchFirmware(ModelTitle(), LatestFirmwareVersion(), &image)) return;

  m_firmwareUpgrading = true;
  RequestBootloaderMode(static_cast<int>(vid), static_cast<int>(pid));
  int foundVid = 0, foundPid = 0;
  // Only the ids matter here; the flasher opens the bootloader itself.
  if (hid_device* boot = OpenBootloaderDevice(&foundVid, &foundPid)) m_hid.CloseBootDevice(boot);
  const HWND window = GetSafeHwnd();
  if (foundVid == 0 && foundPid == 0) {
    // No HID bootloader: the keyboard may wait on the CH375 path. Its flasher reports through
    // its state only.
    FirmwareFlasherCh375& flasher = FirmwareFlasherCh375::Instance();
    if (flasher.FindDevices()) {
      flasher.FlashFirmware(image, window);
      if (flasher.GetState() == FirmwareFlasherCh375::kStateFinished) {
        FirmwareFlashed(image);
        return;
      }
    }
    ShowFailure(kFirmwareFailedTitle, kFlashFailed);
  } else if (static_cast<uint32_t>(foundVid) == bootVid && static_cast<uint32_t>(foundPid) == bootPid) {
    if (FirmwareFlasherHid::Instance().FlashFirmware(foundVid, foundPid, image, window)) {
      FirmwareFlashed(image);
    } else {
      ShowFailure(kFirmwareFailedTitle, kFlashFailed);
    }
  } else {
    ShowFailure(kFirmwareFailedTitle, kWrongBootloader);
  }
}

// A keyboard found waiting in its bootloader gets the newest firmware of the model its ids
// name; nothing is compared.
void KeyboardDlg::UpgradeBootDeviceFirmware() {
  SetLatestFirmwareVersion(L"");
  const uint32_t bootVid = m_bootVid, bootPid = m_bootPid;
  CString modelFolder;
  const auto names = m_bootModelNames.find((bootPid << 16) + bootVid);
  if (names != m_bootModelNames.end()) {
    modelFolder = names->second.first;
    auto device = LockDevice();
    m_modelTitle = names->second.second;
  }
  HttpClient http;
  CString text;
  http.GetText(FirmwareVersionUrl(m_firmwareUpgradeUrl, modelFolder), text);
  const CString version = ReadFirmwareVersion(text);
  SetLatestFirmwareVersion(version);
  CString image;
  if (!FetchFirmware(ModelTitle(), version, &image)) return;
  // The flasher shows its own message when it fails.
  if (FirmwareFlasherHid::Instance().FlashFirmware(static_cast<int>(bootVid), static_cast<int>(bootPid), image,
                                                   GetSafeHwnd())) {
    FirmwareFlashed(image);
  }
}

// ---- The answers (UI thread) ----

int KeyboardDlg::OnUpgradeNotify(WPARAM kind, LPARAM flag) {
  const HWND window = GetSafeHwnd();
  switch (kind) {
    case kNotifySoftware:
      if (!flag) {
        ShowMessageBox(window, Text(kUpToDate), Text(kSoftwareTitle), CUIMessageBox::kOneButton);
      } else if (AskUpgrade(kSoftwareTitle, UpgradeQuestion(LatestSoftwareVersion()))) {
        AppendTask(TASK_UPGRADE_SOFTWARE);
      }
      break;
    case kNotifyFirmware:
      if (!flag) {
        ShowMessageBox(window, Text(kUpToDate), Text(kFirmwareTitle), CUIMessageBox::kOneButton);
      } else if (!m_firmwarePromptOpen) {
        m_firmwarePromptOpen = true;
        if (AskUpgrade(kFirmwareTitle, UpgradeQuestion(LatestFirmwareVersion()))) {
          RunProgressDialog(TASK_UPGRADE_FIRMWARE);
        }
        m_firmwarePromptOpen = false;
      }
      break;
    case kUpgradeNotifyBootDevice:
      // While a firmware upgrade runs (or after one failed) the keyboard is in its
      // bootloader because of it: no second prompt.
      if (!m_firmwareUpgrading && !m_firmwarePromptOpen) {
        m_firmwarePromptOpen = true;
        if (AskUpgrade(kFirmwareTitle, Text(kBootloaderFound))) RunProgressDialog(TASK_UPGRADE_FIRMWARE_HID);
        m_firmwarePromptOpen = false;
      }
      break;
    default:
      break;
  }
  return 1;
}

bool KeyboardDlg::AskUpgrade(int titleId, const CString& question) {
  return ShowMessageBox(GetSafeHwnd(), question, Text(titleId), CUIMessageBox::kTwoButtons) == 1;
}

// The dialog's window exists before the task is queued, so the worker's close after the task
// is never lost; the loop then runs until that close (or the popup sweep's).
void KeyboardDlg::RunProgressDialog(int taskId) {
  m_shownProgress = 0;
  m_flashProgress = 0;
  m_flashState = 0;
  auto dialog = std::make_unique<UpdateTipDlg>();
  UpdateTipDlg* shown = dialog.get();
  RegisterUpdateTipDlg(nullptr);
  if (!shown->CreateCentered(GetSafeHwnd())) return;
  RegisterUpdateTipDlg(std::move(dialog));
  m_progressLoopDlg = shown;
  AppendTask(taskId);
  shown->ShowModal(SW_SHOW);
  m_progressLoopDlg = nullptr;
  m_forgottenTipDlg.reset();
}

void KeyboardDlg::ForgetUpdateTipDlg() {
  std::unique_ptr<TESK::MDialog> forgotten = ReleaseUpdateTipDlg();
  if (!forgotten) return;
  if (forgotten.get() == m_progressLoopDlg) {
    m_forgottenTipDlg = std::move(forgotten);
    return;
  }
  // No loop runs it: its window goes first, then the object.
  forgotten->DestroyWindow();
}

// ---- Shared state and controls ----

CString KeyboardDlg::LatestSoftwareVersion() {
  std::lock_guard<std::mutex> lock(m_versionLock);
  return m_latestSoftwareVersion;
}

CString KeyboardDlg::LatestFirmwareVersion() {
  std::lock_guard<std::mutex> lock(m_versionLock);
  return m_latestFirmwareVersion;
}

void KeyboardDlg::SetLatestSoftwareVersion(const CString& version) {
  std::lock_guard<std::mutex> lock(m_versionLock);
  m_latestSoftwareVersion = version;
}

void KeyboardDlg::SetLatestFirmwareVersion(const CString& version) {
  std::lock_guard<std::mutex> lock(m_versionLock);
  m_latestFirmwareVersion = version;
}

CString KeyboardDlg::ModelTitle() {
  auto device = LockDevice();
  return m_modelTitle;
}

void KeyboardDlg::ShowSoftwareStatus(const CString& text) {
  OnWindowThread([this, text] {
    if (m_textSoftwareStatus) m_textSoftwareStatus->SetTitle(text);
  });
}

void KeyboardDlg::ShowFirmwareStatus(const CString& text) {
  OnWindowThread([this, text] {
    if (m_textFirmwareStatus) m_textFirmwareStatus->SetTitle(text);
  });
}

void KeyboardDlg::HideCalibrationWarning() {
  OnWindowThread([this] {
    if (m_textCalibWarning) m_textCalibWarning->SetVisible(0);
    if (m_picCalibWarning) m_picCalibWarning->SetVisible(0);
  });
}
