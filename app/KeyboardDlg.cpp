#include "app/KeyboardDlg.h"

#include <imm.h>

#include <cwchar>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "app/UpdateTipDlg.h"
#include "app/pages/CoreAudioCapture.h"
#include "device/FirmwareFlasherCh375.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/MRender.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

constexpr UINT kWindowIconId = 107;
constexpr UINT kMainTickMs = 16;
constexpr int kConnectText = 820;
constexpr WPARAM kBootloaderFound = 99;
constexpr DWORD kMainStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr int kCornerEllipse = 40;
// The download server's base paths of the two upgrade kinds.
const wchar_t kSoftwareUpgradeUrl[] = L"https://download.example.com/software-upgrade/";
const wchar_t kFirmwareUpgradeUrl[] = L"https://download.example.com/firmware-upgrade/";

// Windows the popup sweep closes, by title, in its order.
const wchar_t* const kEditorWindows[] = {L"CloseWindowTipDlg",   L"CustomKeyDKSDlg", L"CustomKeyDKSTipsDlg",
                                         L"CustomKeyStrokeDlg", L"StrokeCheckDlg",  L"StrokeTestDlg",
                                         L"CustomKeyDlg"};

// The program's own top-level window of class "MWindow" with that title. Windows of other
// processes that use the library are never touched.
struct WindowQuery {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND hwnd, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  wchar_t className[16] = {}, title[64] = {};
  GetClassNameW(hwnd, className, ARRAYSIZE(className));
  // Read without a message: the worker sweeps while the window's thread may be waiting for
  // it, and WM_GETTEXT to a window of that thread would then never be answered.
  InternalGetWindowText(hwnd, title, ARRAYSIZE(title));
  if (wcscmp(className, L"MWindow") != 0 || wcscmp(title, query->title) != 0) return TRUE;
  query->found = hwnd;
  return FALSE;
}

HWND FindOwnWindow(const wchar_t* title) {
  WindowQuery query{title, nullptr};
  EnumWindows(&MatchOwnWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

void PostToWindow(const wchar_t* title, UINT message, WPARAM wParam) {
  if (HWND hwnd = FindOwnWindow(title)) PostMessageW(hwnd, message, wParam, 0);
}

void HideWindow(const wchar_t* title) {
  if (HWND hwnd = FindOwnWindow(title)) ShowWindowAsync(hwnd, SW_HIDE);
}

}  // namespace

int RemoveTrayIcon(NOTIFYICONDATAW& tray) {
  if (!tray.hIcon) return 1;
  tray.hIcon = nullptr;
  return Shell_NotifyIconW(NIM_DELETE, &tray);
}

void RemoveStaleFirmwareImages(const CString& folder) {
  for (int i = 0; i < 10; ++i) {
    CString path;
    path.Format(L"%s\\firmware-10%d.bin", folder.GetString(), i);
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) DeleteFileW(path);
  }
}

KeyboardDlg::KeyboardDlg(std::unique_ptr<AudioCapture> capture)
    : m_visualizer(capture ? std::move(capture) : std::make_unique<CoreAudioCapture>()), m_trayIcon{} {
  m_lightPage.SetMusic(&m_music);
  // The record's size field is the build's own (956 bytes in the 32-bit build).
  m_trayIcon.cbSize = sizeof(NOTIFYICONDATAW);
  m_bootModelNames[0xFF3019F5] = {L"Lynt 30", L"Lynt 30"};
  m_bootModelNames[0xFF3719F5] = {L"Lynt 65", L"Lynt 65"};
  m_bootModelNames[0xFF3819F5] = {L"Lynt 83", L"Lynt 83"};
  m_homeDisconnectedImage = TESK::GetSkinFolder() + L"keyboard\\home_keyboard_disconnected.png";
  m_homeConnectedImage = TESK::GetSkinFolder() + L"keyboard\\home_keyboard_connected.png";
}

// The worker's last step may still use every member: wait for it before anything goes.
KeyboardDlg::~KeyboardDlg() {
  Stop();
  WaitForEnd();
  m_deviceModels.clear();
  m_models.clear();
  ConfigDatabase::Instance().Close();
  RemoveTrayIcon(m_trayIcon);
}

int KeyboardDlg::CreateAndRun(int showMode) {
  if (!Create(nullptr, TESK::Manager::GetDeviceName(), kMainStyle, 0, CRect(0, 0, kMainWidth, kMainHeight))) return 0;
  // The window owns the region from here on.
  SetWindowRgn(GetSafeHwnd(), CreateRoundRectRgn(2, 2, kMainWidth, kMainHeight, kCornerEllipse, kCornerEllipse),
               TRUE);
  CenterWindow(nullptr);
  return static_cast<int>(ShowModal(showMode));
}

int KeyboardDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  InitTrayAndModels();
  ShowWebsiteLink();
  if (m_tabMain) {
    m_tabMain->SetVisible(0);
    m_tabMain->SetSelectItem(0);
  }
  if (m_pageHome) m_pageHome->SetVisible(1);
  if (m_textConnectState) m_textConnectState->SetTitle(LoadLanString(L"KB.DIALOG", kConnectText));
  RemoveStaleFirmwareImages(GetProgramFolder() + L"firmware");
  RemoveStaleFirmwareImages(GetDataFolder() + L"temp");
  SetMTimer(kMainTickMs);
  if (!m_running) Start();
  AppendTask(TASK_STARTUP);
  m_softwareUpgradeUrl = kSoftwareUpgradeUrl;
  m_firmwareUpgradeUrl = kFirmwareUpgradeUrl;
  // Only the ids of a keyboard waiting in its bootloader matter here: the handle is closed
  // again at once, so the bootloader stays free for the upgrade.
  int vid = 0, pid = 0;
  if (hid_device* boot = OpenBootloaderDevice(&vid, &pid)) {
    m_bootVid = static_cast<uint32_t>(vid);
    m_bootPid = static_cast<uint32_t>(pid);
    m_hid.CloseBootDevice(boot);
    ::PostMessageW(GetSafeHwnd(), WM_KB_UPGRADE_NOTIFY, kBootloaderFound, 0);
  }
  return 1;
}

void KeyboardDlg::InitTrayAndModels() {
  HWND hwnd = GetSafeHwnd();
  const CString device = TESK::Manager::GetDeviceName();
  SetPropW(hwnd, device, reinterpret_cast<HANDLE>(1));

  HICON icon = TESK::MRender::LoadIconFromFile(TESK::GetSkinFolder() + L"DeviceDriver.ico");
  // Without the skin's icon the entry still gets a picture, so it can be removed again.
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  m_trayIcon.hWnd = hwnd;
  m_trayIcon.uID = kTrayIconId;
  m_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_trayIcon.uCallbackMessage = WM_KB_TRAY_NOTIFY;
  m_trayIcon.hIcon = icon;
  wcsncpy(m_trayIcon.szTip, device, ARRAYSIZE(m_trayIcon.szTip) - 1);
  m_trayIcon.szTip[ARRAYSIZE(m_trayIcon.szTip) - 1] = L'\0';
  Shell_NotifyIconW(NIM_ADD, &m_trayIcon);

  SetIcon(kWindowIconId);
  if (HIMC context = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(hwnd, context);
  }
  ImmAssociateContext(hwnd, nullptr);
  LoadModelsAndConfig();
}

int KeyboardDlg::OnLButtonDown(UINT, CPoint) {
  ReleaseCapture();
  return 0;
}

// Timer 300 moves the shown flash progress one step towards the reported one.
void KeyboardDlg::OnTimer(UINT id) {
  if (id != kProgressTimerId) return;
  const CString caption = LoadLanString(L"KB.DIALOG", kFlashCaptionText + m_flashState);
  if (m_shownProgress < m_flashProgress) ++m_shownProgress;
  auto lock = LockTasks();
  if (auto* dialog = dynamic_cast<UpdateTipDlg*>(GetUpdateTipDlg())) dialog->SetProgress(m_shownProgress, caption);
}

// The model lists are emptied by the destructor, once the worker's last step has ended: a
// step that outlasts Stop's wait may still read them.
int KeyboardDlg::DestroyWindow() {
  Stop();
  {
    std::lock_guard<std::mutex> hold(m_liveControlsLock);
    m_controlsGone = true;
  }
  RemoveTrayIcon(m_trayIcon);
  return MWindow::DestroyWindow();
}

void KeyboardDlg::OnWindowThread(std::function<void()> work) {
  // Without a window there are no controls to act on: before creation none exist, and once
  // the window is gone they are freed with it (a worker step may outlast the shutdown wait).
  if (!HasHandle()) return;
  if (GetPaintManager()->IsWindowThread()) {
    work();
  } else {
    GetPaintManager()->PostCallable(std::move(work));
  }
}

// ---- Pages that bring their own operations ----
// The pages still to come fill these when they are built; until then there is no control to
// refresh.

void KeyboardDlg::ShowCalibrationWarning(const CString&) {}

// ---- The key pictures ----
// The model's layout fills every built key picture. The worker rebuilds their key lists
// directly (each picture guards its records with its own lock and queues its repaint), so a
// page that reads the keys right after a model selection finds them.

TESK::KeyboardCtrl* KeyboardDlg::KeyPictureControl(int picture) const {
  if (m_controlsGone) return nullptr;
  switch (picture) {
    case KEY_PICTURE_KEYS:
      return m_keyboardKeys;
    case KEY_PICTURE_ADV:
      return m_keyboardAdv;
    case KEY_PICTURE_LIGHT:
      return m_keyboardLight;
    case KEY_PICTURE_PERF:
      return m_keyboardPerf;
    default:
      return nullptr;
  }
}

void KeyboardDlg::ClearKeyPicture(int picture) {
  WithLiveControls([&] {
    if (TESK::KeyboardCtrl* keys = KeyPictureControl(picture)) keys->ClearItem();
  });
}

// The size and the colour are the window's: they place and paint the picture.
void KeyboardDlg::SetKeyPictureSize(int picture, int width, int height) {
  if (TESK::KeyboardCtrl* keys = KeyPictureControl(picture)) {
    OnWindowThread([keys, width, height] { keys->SetWidthAndHeight(width, height); });
  }
}

void KeyboardDlg::SetKeyPictureColor(int picture, COLORREF color) {
  if (TESK::KeyboardCtrl* keys = KeyPictureControl(picture)) {
    OnWindowThread([keys, color] { keys->SetKeyboardColor(color); });
  }
}

void KeyboardDlg::AddKeyPictureKey(int picture, const CString& name, const CString& desc, int code, const RECT& rect,
                                   const CString& icon, COLORREF color) {
  WithLiveControls([&] {
    if (TESK::KeyboardCtrl* keys = KeyPictureControl(picture)) {
      keys->AddKeyItem(name, desc, code, CRect(rect), icon, static_cast<int>(color));
    }
  });
}

// ---- The shell's own window side ----

void KeyboardDlg::CloseAllPopups() {
  for (const wchar_t* title : kEditorWindows) PostToWindow(title, WM_CLOSE, 0);
  // An open message box ends with Cancel only while a model is ready.
  if (m_deviceReady) PostToWindow(L"MessageBox", WM_CLOSE, 2);
  PostToWindow(L"WaitDlg", WM_CLOSE, 0);
  PostToWindow(L"Menu Window", WM_CLOSE, 0);
  HideWindow(L"KeyboardTip Window");
  HideWindow(L"ComboWnd");
  PostToWindow(L"SystemSettingDlg", WM_CLOSE, 0);
  PostToWindow(L"UpdateTipDlg", WM_CLOSE, 0);
  // The docked advanced-key editor, the progress dialog's registration, a macro recording or
  // key capture (whose hook would keep swallowing every key) and a calibration run are window
  // state: the UI thread lets them go (the editor comes with the advanced-key page). The run is
  // looked at there, as the button may have ended it meanwhile.
  OnWindowThread([this] {
    CloseAdvKeyEditor();
    ForgetUpdateTipDlg();
    EndMacroInputWithoutSaving();
    m_perfPage.EndCalibrationRun(m_inputHook, PerfFrameControls());
  });
}

bool KeyboardDlg::IsMainWindowShown() { return GetSafeHwnd() && ::IsWindowVisible(GetSafeHwnd()); }

bool KeyboardDlg::IsMainWindowMinimised() { return GetSafeHwnd() && ::IsIconic(GetSafeHwnd()); }

bool KeyboardDlg::GetMainWindowRect(RECT* rect) { return rect && GetSafeHwnd() && ::GetWindowRect(GetSafeHwnd(), rect); }

bool KeyboardDlg::GetForegroundRect(RECT* rect) {
  HWND foreground = GetForegroundWindow();
  if (!rect || !foreground || foreground == GetSafeHwnd()) return false;
  return ::GetWindowRect(foreground, rect) != FALSE;
}

HWND KeyboardDlg::GetMainWindowHandle() { return GetSafeHwnd(); }

void KeyboardDlg::ShowPagesState(int tabIndex, const CString& connectText) {
  OnWindowThread([this, tabIndex, connectText] {
    if (m_pageHome) m_pageHome->SetVisible(0);
    if (m_picBackground) m_picBackground->SetImage(L"main_bkg.png", 1);
    if (m_tabMain) {
      m_tabMain->SetVisible(1);
      m_tabMain->SetSelectItem(tabIndex);
    }
    if (m_textConnectState) m_textConnectState->SetTitle(connectText);
  });
}

void KeyboardDlg::ShowHomeState() {
  OnWindowThread([this] {
    if (m_tabMain) m_tabMain->SetVisible(0);
    if (m_picBackground) m_picBackground->SetImage(L"home_bkg.png", 1);
    if (m_pageHome) m_pageHome->SetVisible(1);
  });
}

// The Fn-layer list's title doubles as the on-board profile's caption.
void KeyboardDlg::SetDeviceProfileCaption(const CString& text) {
  OnWindowThread([this, text] {
    if (m_textFnLayer) m_textFnLayer->SetTitle(text);
  });
}

// The Fn-layer list and the advanced-key page's hidden layer tabs hold the same layers.
void KeyboardDlg::ClearKeyLayers() {
  OnWindowThread([this] {
    for (TESK::KeyLayerCtrl* strip : {m_keyLayerShell, m_keyLayerAdv}) {
      if (strip) strip->ClearAllItems();
    }
  });
}

void KeyboardDlg::AddKeyLayer(const CString& name, int id) {
  OnWindowThread([this, name, id] {
    for (TESK::KeyLayerCtrl* strip : {m_keyLayerShell, m_keyLayerAdv}) {
      if (strip) strip->AddKeyLayer(name, id);
    }
  });
}

void KeyboardDlg::SelectKeyLayer(int id) {
  OnWindowThread([this, id] {
    for (TESK::KeyLayerCtrl* strip : {m_keyLayerShell, m_keyLayerAdv}) {
      if (strip) strip->SetSelectKeyLayer(id);
    }
  });
}

void KeyboardDlg::RedrawKeyLayers() {
  OnWindowThread([this] {
    if (m_keyLayerShell) m_keyLayerShell->UpdateControl(1, 0);
  });
}

void KeyboardDlg::SetConnectState(const CString& text, const CString& image) {
  OnWindowThread([this, text, image] {
    if (m_textConnectState) m_textConnectState->SetTitle(text);
    if (m_picConnectState) m_picConnectState->SetImage(image, 1);
  });
}

// SetTimer needs a window of the calling thread: the worker asks, the UI thread does it.
void KeyboardDlg::StartWindowTimer(UINT id, UINT periodMs) {
  OnWindowThread([this, id, periodMs] { SetTimer(id, periodMs, nullptr); });
}

void KeyboardDlg::StopWindowTimer(UINT id) {
  OnWindowThread([this, id] { KillTimer(id); });
}

// ---- The model list ----

void KeyboardDlg::ClearModelCombo() {
  std::lock_guard<std::mutex> lock(m_modelListLock);
  m_modelItems.clear();
  m_modelSelected = -1;
}

void KeyboardDlg::AddModelComboItem(const CString& name, int modelId) {
  std::lock_guard<std::mutex> lock(m_modelListLock);
  m_modelItems.emplace_back(name, modelId);
}

void KeyboardDlg::SelectModelComboData(int modelId) {
  std::lock_guard<std::mutex> lock(m_modelListLock);
  for (size_t i = 0; i < m_modelItems.size(); ++i) {
    if (m_modelItems[i].second == modelId) m_modelSelected = static_cast<int>(i);
  }
}

int KeyboardDlg::GetModelComboData() {
  std::lock_guard<std::mutex> lock(m_modelListLock);
  if (m_modelSelected < 0 || m_modelSelected >= static_cast<int>(m_modelItems.size())) return 0;
  return m_modelItems[static_cast<size_t>(m_modelSelected)].second;
}

int KeyboardDlg::GetModelComboIndex() {
  std::lock_guard<std::mutex> lock(m_modelListLock);
  return m_modelSelected;
}
