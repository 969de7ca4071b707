// KeyboardDlg: the main window, and the object that holds the program's whole state. It is a
// dialog of the library (MDialog), the device link with its worker thread (DeviceLink) and the
// holder of its control pointers (KeyboardDef), in that order. The entry function creates it
// once, runs it with CreateAndRun and destroys it after DestroyWindow.
//
// Threads: the UI thread runs the window and every handler; the worker runs the device link's
// step and calls the window side below. Queries answer from any thread; every operation that
// changes a control or a window timer is handed to the UI thread (PostCallable) when it comes
// from the worker, and skips a control that is not built yet. The destructor first waits for
// the worker's last step, so no step ever runs into members that are going.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "app/HttpClient.h"
#include "app/KeyboardDef.h"
#include "app/pages/AdvKeyPage.h"
#include "app/pages/CustomKeyDKSDlg.h"
#include "app/pages/InputHook.h"
#include "app/pages/KeyAssignment.h"
#include "app/pages/KeyPage.h"
#include "app/pages/MacroRecorder.h"
#include "app/pages/PerfPage.h"
#include "app/pages/LightPage.h"
#include "app/pages/MusicLighting.h"
#include "app/pages/Visualizer.h"
#include "device/DeviceLink.h"
#include "ui/core/MDialog.h"

class KeyTestDlg;

namespace TESK {
class KeyboardCtrl;
class MButton;
class MComboBox;
class MComboBox2;
}  // namespace TESK

// Tray icon id and the main window's size.
constexpr UINT kTrayIconId = 109;
constexpr int kMainWidth = 1400, kMainHeight = 860;
// The layer resets' questions (message and title language texts) on the two key pages.
constexpr int kResetLayerText = 235, kResetLayerTitle = 236;
constexpr int kResetAdvLayerText = 201, kResetAdvLayerTitle = 202;
// The caption of the firmware progress is language text 1000 + the flasher's state.
constexpr int kFlashCaptionText = 1000;

class KeyboardDlg : public TESK::MDialog, public DeviceLink, public KeyboardDef {
 public:
  // The visualizer listens to capture (Core Audio when none is given).
  explicit KeyboardDlg(std::unique_ptr<AudioCapture> capture = nullptr);
  ~KeyboardDlg() override;
  KeyboardDlg(const KeyboardDlg&) = delete;
  KeyboardDlg& operator=(const KeyboardDlg&) = delete;

  // Creates the window (the device name as its title, 1400 x 860 with rounded corners,
  // centred) and runs its modal loop; returns the loop's result.
  int CreateAndRun(int showMode);

  int OnInitDialog() override;
  int OnLButtonDown(UINT keys, CPoint pt) override;
  void OnTimer(UINT id) override;
  // The first operation after MDialog's 40: stops the worker (at most 1000 ms), removes the tray
  // icon, empties the model lists and destroys the window when it still exists.
  virtual int DestroyWindow();

  // ---- The window's skeleton (KeyboardDlgFrame.cpp) ----
  // Builds every control, each with an empty rectangle, then places them with UISize.
  void InitUI(CRect client) override;
  // Gives every placed control its rectangle from the client size; nothing before InitUI.
  void UISize(CRect client) override;
  void BuildHomePage();
  void LayoutHomePage(CRect client);
  // The performance page (KeyboardDlgPerfPage.cpp): its controls on page panel 73 and its
  // sub-pages, and their rectangles (the keyboard picture 257 is placed with the frame).
  void BuildPerfPage();
  void LayoutPerfPage(CRect client);
  // The switch types' names on the key-travel picture (276) and the switch picker (321), in
  // the current language.
  void NameSwitchTypes();
  // The macro page (KeyboardDlgMacroPage.cpp): its controls on page panel 72 and their
  // rectangles; the two frames with id 210 are placed through their members.
  void BuildMacroPage();
  void LayoutMacroPage(CRect client);

  // ---- Macro page operations (KeyboardDlgMacros.cpp, UI thread) ----
  // Empties the macro list and fills it from the store (a store without macros gets "M 1" ..
  // "M 10"), then selects and shows the first; the editor is on only while a macro is shown.
  void FillMacroList();
  // The macro's settings and stored events into the page; unsaved edits of the list go.
  void ShowMacro(int macroId);
  int OnMacroSelected(int code);
  // The event editor's value field for the chosen event type: one of the three shows.
  int ShowEventKeyEditor();
  int ShowEventMouseEditor();
  int ShowEventDelayEditor();
  void ShowOneEventEditor(TESK::MControl* shown);
  // The fixed-delay field is usable only with the fixed-delay mode chosen.
  int OnDelayModeChosen(bool fixedDelay);
  // Two rows (press, release) before or after the selected row, then the macro is saved.
  int InsertMacroEvent();
  // Edits of the event list; only saving stores them, which the note says.
  int MoveMacroEventUp();
  int MoveMacroEventDown();
  int DeleteMacroEvent();
  int ClearMacroEvents();
  int OnMacroEventEdited(int code);
  void ShowUnsavedNote();
  // The item data of the macro list's selection; 0 without one.
  int SelectedMacroId();
  // Stores the listed rows in list order as the selected macro's events, then its settings,
  // and has the worker write every macro into the keyboard behind the wait dialog.
  int SaveMacroEvents();
  void SaveMacroSettings();
  int ChosenDelayMode();
  int ChosenFixedDelay();
  // The caption of every key (all profiles and layers) that runs the selected macro: its
  // number and event count; stored in one batch, then the key pictures follow.
  void RefreshMacroKeyCaptions();
  void AddListedMacro(const CString& name, int macroId);
  int NewMacro();
  // Deletes the selected macro with its events; keys that ran it become plain keys again.
  int DeleteMacro();
  int RememberSelectedMacro();

  // ---- Macro recording and key capture (KeyboardDlgMacroRecording.cpp, UI thread) ----
  // m_recordState: no hook, recording into the event list, capturing one key for the key field.
  static constexpr int kRecordIdle = 0;
  static constexpr int kRecording = 1;
  static constexpr int kCapturingKey = 2;
  // Refused (message) when the budget is too small, else the list emptied, the window's inputs
  // off but the stop button, and the hook installed.
  int StartMacroRecording();
  // Ends the recording and saves the list; 0 when none runs.
  int StopMacroRecording();
  // The frame's and page's inputs a recording takes away, on or off.
  void EnableRecordingControls(bool enable);
  // WM_KB_HOOK_INPUT: a key event while recording or capturing; the answer swallows the key.
  // 0 for a record that is not the event the hook dispatches now, which is never read.
  LRESULT OnHookedInputEvent(WPARAM message, LPARAM record);
  // One decoded event into the list; past the budget, the stop is posted.
  void AppendRecordedEvent(const MACRO_EVENT& event);
  // The key field's focus (edit begun, ended) starts and ends the key capture.
  int OnEventKeyCapture(int code);
  // A recording or key capture left running when the keyboard goes: ended, nothing saved,
  // the listed rows kept.
  void EndMacroInputWithoutSaving();
  // The recording's clock in ms (tests set their own).
  long long (*m_macroClock)() = &MacroRecorder::NowMs;
  MacroRecorder m_macroRecorder;

  // ---- Macro files and the page menu (KeyboardDlgMacroFiles.cpp, UI thread) ----
  // The selected macro into a file the save dialog names: 1 when written; a failed write is
  // told, a cancelled dialog is not.
  int ExportMacro();
  // The macro of a file the open dialog names, as a new listed macro (not selected, not yet on
  // the keyboard). A refused file is told and changes nothing. 1 when a file was chosen.
  int ImportMacro();
  // A copy of the remembered macro (settings and events) named "<name> - n", listed.
  int DuplicateMacro();
  // MakeUniqueName over the listed macros (UniqueName.h): base + " n", the lowest free n.
  CString MakeUniqueMacroName(const CString& base);
  // The macro list's in-place edit of the selected name (the list keeps it off).
  int EditMacroName();
  // WM_KB_MACRO_MENU: the item's operation; 1 for an unknown item.
  int OnMacroPageMenuCommand(int item);
  // The macro page's profile list and menu, as the key page's: the chosen profile becomes the
  // active one and is applied; the menu's items arrive as WM_KB_PAGE_MENU.
  int OnMacroPageProfileChanged() { return m_keyPage.OnProfileListChanged(m_comboProfileMacro); }
  int ShowMacroPageProfileMenu();
  void ShowMacroFileMessage(int textId);

  // ---- Key assignment and advanced-key pages (KeyboardDlgKeyPages.cpp) ----
  void BuildKeyPage();
  void BuildAdvKeyPage();
  void LayoutKeyPage(CRect client);
  void LayoutAdvKeyPage(CRect client);
  // The key page's operations (UI thread), carried out by m_keyPage.
  // The worker makes them from the key picture, which goes with the window.
  void CreateDefaultKeyMacros(int profile) {
    WithLiveControls([&] { m_keyPage.CreateDefaultKeyMacros(profile); });
  }
  void ResetKeyToDefault(int keyCode) { m_keyPage.ResetKeyToDefault(keyCode); }
  void ResetLayerToDefault() { m_keyPage.ResetLayerToDefault(); }
  int ConfirmResetLayer() { return m_keyPage.ConfirmResetLayer(kResetLayerText, kResetLayerTitle); }
  int ApplyKeyValueToKey() { return m_keyPage.ApplyKeyValueToKey(); }
  int ApplyKeyFuncToKey() { return m_keyPage.ApplyKeyFuncToKey(); }
  int OnKeyFunctionDropped() { return m_keyPage.OnKeyFunctionDropped(); }
  // The layer picked on the window's layer tabs (58 or 90), and on the advanced-key page's (103).
  int OnKeyLayerChanged();
  int OnAdvKeyLayerChanged();
  int OnKeyPageProfileChanged() { return m_keyPage.OnProfileListChanged(m_comboProfileKeys); }
  int ShowKeyPageProfileMenu() { return m_keyPage.ShowKeyPageProfileMenu(); }
  int ShowKeyPresetMenu() { return m_keyPage.ShowKeyPresetMenu(); }
  int OnKeyPageMenuCommand(WPARAM, int itemId) {
    return RunProfileMenuItem(itemId) ? 1 : m_keyPage.OnKeyPageMenuCommand(itemId);
  }
  void ApplyStandardLayout() { m_keyPage.ApplyLayoutPreset(LAYOUT_PRESET_STANDARD); }
  void ApplyMacLayout() { m_keyPage.ApplyLayoutPreset(LAYOUT_PRESET_MAC); }
  void ApplyDvorakLayout() { m_keyPage.ApplyLayoutPreset(LAYOUT_PRESET_DVORAK); }
  void ApplyColemakLayout() { m_keyPage.ApplyLayoutPreset(LAYOUT_PRESET_COLEMAK); }
  void ApplyWorkmanLayout() { m_keyPage.ApplyLayoutPreset(LAYOUT_PRESET_WORKMAN); }
  int FillKeyValueList(int group) { return m_keyPage.FillKeyValueList(group); }
  // Resets the selected key of a key picture (80 or 95); 0 without one.
  int ResetSelectedKey(TESK::KeyboardCtrl* picture);
  // ---- Lighting page (KeyboardDlgLightPage.cpp) ----
  void BuildLightPage();
  void BuildMusicControls();
  void LayoutLightPage(CRect client);
  void LayoutMusicControls(CRect client);
  // The page's handlers, carried out by m_lightPage (UI thread); each returns 1 when handled.
  int OnLightModeSelected(int code) { return m_lightPage.OnLightModeSelected(code); }
  int OnLightEnableSwitch() { return m_lightPage.OnLightEnableSwitch(); }
  int OnLightBrightnessChanged() { return m_lightPage.OnLightBrightnessChanged(); }
  int OnLightSpeedChanged() { return m_lightPage.OnLightSpeedChanged(); }
  int OnLightDirectionChanged(int id) { return m_lightPage.OnLightDirectionChanged(id); }
  int OnLightColorfulChanged(int source) { return m_lightPage.OnLightColorfulChanged(source); }
  int OnLightColorPicked() { return m_lightPage.OnLightColorPicked(); }
  int OnLightColorButton(int id) { return m_lightPage.OnLightColorButton(id); }
  int OnLightRedEdit(int code) { return m_lightPage.OnLightRedEdit(code); }
  int OnLightGreenEdit(int code) { return m_lightPage.OnLightGreenEdit(code); }
  int OnLightBlueEdit(int code) { return m_lightPage.OnLightBlueEdit(code); }
  int SaveUserLightColors(int code) { return m_lightPage.SaveUserLightColors(code); }
  int OnLightSelectButton(int id) { return m_lightPage.OnLightSelectButton(id); }
  int ClearUserLightColors() { return m_lightPage.ClearUserLightColors(); }
  int ApplyLightPreset(int id) { return m_lightPage.ApplyLightPreset(id); }
  // The music controls' handlers, carried out by m_music (UI thread).
  int OnMusicModeChanged() { return m_music.OnMusicModeChanged(); }
  int OnMusicSensitivityChanged() { return m_music.OnMusicSensitivityChanged(); }
  int OnMusicColorChanged() { return m_music.OnMusicColorChanged(); }
  int OnMusicBrightnessChanged() { return m_music.OnMusicBrightnessChanged(); }
  // The preset menu (items 202 to 207) under button 124; the owner stays enabled.
  int ShowLightPresetMenu();
  // The profile menu (items 101 to 103) under button 122; the owner is disabled while it is open.
  int ShowLightPageProfileMenu();
  // WM_KB_LIGHT_MENU: a profile item runs its profile operation, a preset item applies its
  // preset; other items do nothing.
  int OnLightPageMenuCommand(WPARAM wParam, LPARAM itemId);
  // The profile chosen in list 121 becomes the active one, the other pages' lists follow, and
  // the wait dialog runs while the worker applies it; 0 without a chosen profile.
  int OnLightPageProfileChanged() { return m_keyPage.OnProfileListChanged(m_comboProfileLight); }

  // ---- Profiles (KeyboardDlgProfiles.cpp) ----
  // The pages' profile lists that are built, in the order every profile operation changes them.
  std::vector<TESK::MComboBox*> BuiltProfileCombos() const;
  // A new profile with its default rows, last in the lists, made active and applied.
  void NewProfile();
  // Deletes the selected profile (never the last one: a message box says so) and applies the
  // one selected after it.
  void DeleteProfile();
  // Opens the in-place edit of the shown page's profile list.
  void BeginRenameProfile();
  // An in-place edit of a profile list ended: renames the selected profile in the store and in
  // every list (1), or puts the stored name back when the text is empty (0).
  int OnProfileRenamed(int controlId, int code);
  // The pages' export buttons: the key page's selected profile name with the store's profile
  // data to a file the user chooses (a message when it could not be written).
  void ExportProfile();
  // The pages' import buttons: a file the user chooses, checked whole (a message says why one
  // is refused), becomes a new profile that is made active and applied.
  void ImportProfile();
  // The profile menus' items shared by every page: 101 new, 102 delete, 103 rename; false
  // for any other item.
  bool RunProfileMenuItem(int itemId);

  // ---- The settings page (KeyboardDlgSettingsPage.cpp) ----
  // Builds the page's controls on the settings panel, then shows the language, autorun and
  // exit-mode settings from the registry.
  void BuildSettingsPage();
  void LayoutSettingsPage(CRect client);
  // The page's handlers; each returns 1 when it acted.
  // 354: on, the Run value starts the program and 355 is offered; off, the Run value goes
  // and the start stays shown.
  int OnAutorunSwitch();
  // 355: "autorun_minimize" follows the box.
  int OnAutorunMinimizeSwitch();
  // 359 / 360: "exit_mode" and the close button's tooltip follow the radios.
  int OnExitModeChanged();
  // 333 / 334: the button disabled until the worker has run the check.
  int RequestSoftwareCheck();
  int RequestFirmwareCheck();
  // 363: the web site's host name as the link's title (once config.xml is read), and its click
  // opening the site in the default browser; an address that is not http(s) opens nothing. 1.
  void ShowWebsiteLink();
  int OpenWebsite();
  // 347: after the user agreed, the shell's settings go back to their defaults; with a
  // keyboard, the model's store is made anew and the keyboard reset to its factory state
  // under the wait dialog. 0 when cancelled or without a keyboard.
  int RestoreDefaults();
  // exit_mode "0" with its radio and tooltip, and the lighting page's colour edits at red.
  void ResetShellSettings();
  // 66 / 373: the key test over the main window, which stays enabled; one at a time: while
  // one is open it is brought to the front. 1.
  int ShowKeyTest();

  // The advanced-key page's operations (UI thread), carried out by m_advKeyPage.
  int OnAdvKeyTypeButton(UINT controlId) { return m_advKeyPage.OnTypeButton(controlId); }
  int OpenAdvKeyEditor(int type) { return m_advKeyPage.OpenEditor(type); }
  int OnAdvKeyboardNotify(int code) { return m_advKeyPage.OnKeyboardNotify(code); }
  int OnAdvKeyListNotify(int code) { return m_advKeyPage.OnListNotify(code); }
  int OnAdvKeyApplied(int advancedKeyId) { return m_advKeyPage.OnApplied(advancedKeyId); }
  int OnAdvKeyCancelled() { return m_advKeyPage.OnCancelled(); }
  int OnAdvPageProfileChanged() { return m_keyPage.OnProfileListChanged(m_comboProfileAdv); }
  int ShowAdvPageProfileMenu() { return m_advKeyPage.ShowProfileMenu(); }
  int ConfirmResetAdvLayer() { return m_keyPage.ConfirmResetLayer(kResetAdvLayerText, kResetAdvLayerTitle); }
  // The profile menu's items (new, delete, rename); 1 in every case.
  int OnProfileMenuCommand(int itemId);

  // ---- Language switch (KeyboardDlgLanguage.cpp, UI thread) ----
  // 350: the chosen language becomes the current one and is remembered, then its texts go
  // onto the window. 1.
  int OnLanguageChosen();
  // Puts the texts of CurrentLanguage on every control of the window: titles, tooltips, list
  // items and tab captions, and the lists whose items are made of texts rebuilt (layer lists,
  // advanced keys, light modes) or renamed (default profile and macro names; the stored names
  // stay). A text the file lacks leaves an empty one.
  void ApplyLanguageTexts();
  // text with the first of prefixes it begins with (tried in order) replaced; unchanged when
  // it begins with none.
  static CString ReplaceNamePrefix(const CString& text, std::initializer_list<const wchar_t*> prefixes,
                                   const CString& replacement);

  // ---- Dispatch (KeyboardDlgDispatch.cpp) ----
  // Notifications of the window's controls and the window's messages, by flat tables of
  // control id or message to handler. An id or message without a row gives 0 or goes to
  // MDialog's default processing.
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The frame's handlers; each returns 1 when it acted.
  // exit_mode 1 hides the window to the tray; any other value ends the process.
  int OnCloseButton();
  // The main tabs hidden, the home page shown on the home background.
  int ShowHomePage();
  // The device-setting lists: the selected item's data stored for profile 0, then
  // TASK_WRITE_SETTINGS queued.
  int OnTickRateChanged();
  int OnTachyonModeChanged();
  // The main tab strip selected the tab at itemIndex: leaves the current page, then enters
  // the new one and remembers it.
  int OnMainTabChanged(int itemIndex);
  // The performance page's sub-tabs: the key selection buttons and their label are shown on
  // the first two sub-pages and hidden on the calibration sub-page (item 2). Always 1.
  int OnPerfTabChanged(int itemIndex);
  // The selection buttons of the performance picture: change changes its checked keys, then
  // the selection's handler runs as after a click on the picture. Always 1.
  int SelectPerfKeys(void (*change)(TESK::KeyboardCtrl& keys));
  // Interface arrivals and removals go to the device link; always 0.
  int OnDeviceChangeMessage(WPARAM event, LPARAM header);
  // Left press or double click shows the window; right release opens the exit menu. 0.
  int OnTrayNotify(LPARAM mouseMessage);
  // kQuitMagic ends the process; anything else is ignored (0).
  int OnQuitMessage(LPARAM lParam);

  // Window property, tray icon, window icon, input method off, models and config.xml.
  void InitTrayAndModels();
  const NOTIFYICONDATAW& TrayIcon() const { return m_trayIcon; }

  // ---- The window side of the device link ----
  void RefreshProfiles() override;
  void RefreshKeyCaptions() override;
  void RefreshPerfPage() override;
  void RefreshLightPage() override;
  void RefreshLightModeLists() override;
  void InitMusicGrid() override;
  void RefreshDeviceSettings() override;
  void RefreshMacroList() override;
  void ApplyProfile() override;
  void SendMusicFrame() override;
  void CheckSoftwareVersion() override;
  void CheckFirmwareVersion() override;
  void UpgradeSoftware() override;
  void UpgradeFirmware() override;
  void UpgradeBootDeviceFirmware() override;
  void RecheckCalibration() override;
  void CloseAllPopups() override;
  void StartVisualizer() override;
  bool IsMainWindowShown() override;
  bool IsMainWindowMinimised() override;
  bool GetMainWindowRect(RECT* rect) override;
  bool GetForegroundRect(RECT* rect) override;
  void ShowPagesState(int tabIndex, const CString& connectText) override;
  void EnableCheckSoftwareButton() override;
  void EnableCheckFirmwareButton() override;
  void StartWindowTimer(UINT id, UINT periodMs) override;
  void StopWindowTimer(UINT id) override;
  void ClearModelCombo() override;
  void AddModelComboItem(const CString& name, int modelId) override;
  void SelectModelComboData(int modelId) override;
  int GetModelComboData() override;
  int GetModelComboIndex() override;
  void SetModelCaption(const CString& name) override;
  void SetDeviceNameCaption(const CString& product) override;
  void ClearKeyPicture(int picture) override;
  void SetKeyPictureSize(int picture, int width, int height) override;
  void SetKeyPictureColor(int picture, COLORREF color) override;
  void AddKeyPictureKey(int picture, const CString& name, const CString& desc, int code, const RECT& rect,
                        const CString& icon, COLORREF color) override;
  void SetKeyStrokeModel(int modelId) override;
  void SetBrightnessMax(int maximum) override;
  void SetSpeedRange(int minimum, int maximum, int position) override;
  void ClearMusicModeCombo() override;
  void AddMusicModeItem(const CString& text, int data) override;
  void SelectMusicModeIndex(int index) override;
  void HideMusicStyleControls() override;
  void ShowHomeState() override;
  void SetConnectState(const CString& text, const CString& image) override;
  // Ends setting up an advanced key and frees the editor (on the UI thread; the worker's call
  // after a connection change is handed there).
  void CloseAdvKeyEditor() override;
  HWND GetMainWindowHandle() override;
  void SetDeviceProfileCaption(const CString& text) override;
  void ClearKeyLayers() override;
  void AddKeyLayer(const CString& name, int id) override;
  void SelectKeyLayer(int id) override;
  void RedrawKeyLayers() override;
  void SelectReportRateData(int rate) override;
  void SelectDebounceIndex(int level) override;
  void SelectLightModeListData(int mode) override;
  void SelectLightTypeTabData(int mode) override;
  void ShowLightTypeCaption() override;
  void ShowCalibrationWarning(const CString& text) override;
  bool IsLightSwitchOn() override;
  std::vector<int> GetLightKeyCodes() override;
  void SetLightKeyColors(const std::vector<std::pair<int, COLORREF>>& colors) override;
  std::vector<std::pair<int, COLORREF>> GetLightKeyColors() override;
  void SetPerfKeyCalibration(int code, int travel, int calibration, int digits, int offset) override;
  void SetPerfKeyActuation(int code, int travel) override;
  void SetKeyStrokeActuation(int travel) override;

  // ---- The performance page's operations (KeyboardDlgPerfPage.cpp) ----
  // Default per-key rows for a profile that has none, from the page's keyboard picture (any
  // thread: no control changes).
  void CreateDefaultKeyPerfs(int profile);
  // The frame's buttons and lists, then the page's controls, enabled or disabled together.
  void EnablePerfControls(int enable);
  // The calibration button: starts or ends a run with the window's keyboard hook. Always 1.
  int OnCalibrationSwitch();
  // List 262: the profile the keyboard reports becomes the active one, whatever the list
  // shows; the other pages' lists select it and the profile is applied behind the wait
  // dialog. 0 without a keyboard profile, else 1.
  int OnPerfPageProfileChanged();
  // Button 263: the profile menu, the window disabled while it is open. 0 without a keyboard
  // profile, else 1.
  int ShowPerfPageProfileMenu();
  // The page's operations and handlers over this window's controls and device link.
  PerfPage m_perfPage{*this, *this, this};

  // ---- The upgrade (KeyboardDlgUpgrade.cpp) ----
  // WM_KB_UPGRADE_NOTIFY on the UI thread: kind 1 software, 2 firmware (flag: a newer version
  // is offered), 99 a keyboard in its bootloader. Asks, queues the upgrade and, for the
  // firmware, runs the progress dialog until the worker closes it. Always 1.
  int OnUpgradeNotify(WPARAM kind, LPARAM flag);
  // The versions last read from the server (either thread).
  CString LatestSoftwareVersion();
  CString LatestFirmwareVersion();
  void SetLatestSoftwareVersion(const CString& version);
  void SetLatestFirmwareVersion(const CString& version);
  // The progress dialog whose modal loop runs now, or null.
  TESK::MDialog* RunningProgressDialog() const { return m_progressLoopDlg.load(); }

  // ---- Keyboard capture (KeyboardDlgKeyTest.cpp) ----
  // WM_INPUT, while the advanced-key page is shown (the token is set): a key's press puts
  // its label on the strip of held keys once per hold, its release starts the label fading.
  void OnKeyTestRawInput(HRAWINPUT input);
  // Entering the advanced-key page: raw input is registered anew for the window and the
  // registration's token kept.
  void StartKeyTestInput();
  // Leaving it: the registration ends and its token goes; the strip and the held keys are
  // emptied, so that a key released off the page is not held when the page comes back.
  void StopKeyTestInput();

  // The low-level keyboard hook while recording, capturing a key or calibrating.
  std::unique_ptr<InputHook> m_inputHook;
  // The window raw input is registered for while the advanced-key page is shown, else null.
  HWND m_rawInputToken = nullptr;

  // ---- Members of the shell ----
  // Bootloader identity ((PID << 16) + VID) -> firmware folder name and model title.
  std::map<uint32_t, std::pair<CString, CString>> m_bootModelNames;
  CString m_homeDisconnectedImage;
  CString m_homeConnectedImage;
  std::atomic<int> m_curProfile{0};
  // The kind of advanced key being set up (14 to 19), else 0, or -1 before the first.
  int m_advKeyType = -1;
  // The docked advanced-key editor, from its opening until the next opening or its closing.
  std::unique_ptr<CustomKeyDKSDlg> m_advKeyDlg;
  int m_recordState = 0;
  int m_curMacroId = 0;
  int m_lastEventCode = 0;
  std::map<int, int> m_heldKeys;
  CString m_firmwareUpgradeUrl;
  std::atomic<bool> m_firmwareUpgrading{false};
  HttpClient m_http;
  std::atomic<int> m_flashProgress{0};
  std::atomic<int> m_flashState{0};
  int m_shownProgress = 0;
  uint32_t m_textColor = 0xFFFFFFFF;
  // The key assignment page's operations over this window's controls and device link.
  KeyPage m_keyPage{*this, *this, m_curProfile};
  // The lighting page's operations on this window's controls, store and task queue.
  LightPage m_lightPage{*this, *this, m_curProfile};
  // The music visualizer and the music lighting that samples its picture for the keys.
  Visualizer m_visualizer;
  MusicLighting m_music{*this, *this, m_visualizer};
  // A redraw of the lighting picture is posted and has not run yet.
  std::atomic<bool> m_lightRedrawPending{false};
  AdvKeyPage m_advKeyPage{*this, *this, m_keyPage, m_perfPage, m_advKeyType, m_advKeyDlg};

 protected:
  // Runs work on the UI thread: at once when called there, else posted to the window.
  void OnWindowThread(std::function<void()> work);

  // One row of the control dispatch: the id and its handler. A row marked passOn hands the
  // notification on to the clicked table after its handler has run.
  struct ControlRow {
    UINT id;
    LONG (*handle)(KeyboardDlg& dlg, UINT id, UINT code, UINT wParam, LONG lParam);
    bool passOn = false;
  };
  // One row of the window-message dispatch; a handler that returns false leaves the message
  // to MDialog's default processing.
  struct WindowRow {
    UINT message;
    bool (*handle)(KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  };
  // Rows looked at whatever the notification's code is, rows for clicks (code 2), and the
  // window messages.
  static const ControlRow kAnyCodeRows[];
  static const ControlRow kClickRows[];
  static const WindowRow kWindowRows[];

 private:
  // The key picture of a KeyPicture index, or null when that page is not built or the window
  // is going. The worker calls it under m_liveControlsLock.
  TESK::KeyboardCtrl* KeyPictureControl(int picture) const;
  // Runs a worker's direct use of page controls under m_liveControlsLock, and not at all once
  // DestroyWindow has begun: the controls are freed with the window, and a worker step may
  // outlast the shutdown's wait.
  template <class Use>
  void WithLiveControls(Use use) {
    std::lock_guard<std::mutex> hold(m_liveControlsLock);
    if (!m_controlsGone) use();
  }
  // The pages' profile lists, in the order every profile operation changes them.
  std::vector<TESK::MComboBox*> ProfileCombos() const;
  // Steps of the language switch: the layer lists made anew for the on-board profile, and the
  // default names of the listed profiles and macros in the new language.
  void RelistKeyLayers();
  void RenameListedProfiles();
  void RenameListedMacros();
  // The built profile list with that control id, or null.
  TESK::MComboBox* ProfileComboWithId(int controlId) const;
  // Makes profile the active one and brings it to the keyboard behind the wait dialog.
  void ActivateAndApplyProfile(int profile);
  // Appends the profile to every built list and selects it in all of them.
  void AppendProfileToLists(const CString& name, int profile);
  // The frame's controls that the performance page's enabling reaches too, in their order.
  std::vector<TESK::MControl*> PerfFrameControls();
  // The three default profiles with their default rows; the first becomes the active one.
  void CreateDefaultProfiles();

  // A device-setting list's selected data stored under key for profile 0, and the write queued.
  int StoreDeviceSetting(TESK::MComboBox2* list, const wchar_t* key);
  // The settings page's state from the registry and the language (BuildSettingsPage).
  void ShowStoredSettings();
  // A version check: its button disabled, the task queued, a short pause.
  int RequestCheck(TESK::MButton* button, int taskId);
  // The key test whose loop runs now (owned by ShowKeyTest), or null.
  KeyTestDlg* m_keyTestDlg = nullptr;
  // Removes the tray icon and ends the process with exit code 0.
  [[noreturn]] void EndProgram();

  // The upgrade's steps (KeyboardDlgUpgrade.cpp).
  void ShowSoftwareStatus(const CString& text);
  void ShowFirmwareStatus(const CString& text);
  void HideCalibrationWarning();
  // The model title, read or set under the device lock (a model selection writes it too).
  CString ModelTitle();
  bool AskUpgrade(int titleId, const CString& question);
  void RunProgressDialog(int taskId);
  // Step 7 of the popup sweep (UI thread): the progress dialog's registration is dropped; an
  // object whose loop still runs is freed when that loop has returned, never under it.
  void ForgetUpdateTipDlg();
  // Firmware steps of tasks 19 and 20 (worker).
  bool FetchFirmware(const CString& folder, const CString& version, CString* image);
  void FirmwareFlashed(const CString& image);

  NOTIFYICONDATAW m_trayIcon;
  // The server's versions: written by the worker, read by the prompts on the UI thread.
  std::mutex m_versionLock;
  CString m_latestSoftwareVersion;
  CString m_latestFirmwareVersion;
  // The progress dialog whose loop runs, and one that the popup sweep forgot meanwhile.
  std::atomic<TESK::MDialog*> m_progressLoopDlg{nullptr};
  std::unique_ptr<TESK::MDialog> m_forgottenTipDlg;
  // Set from a firmware prompt until its progress loop has returned: no second one opens.
  bool m_firmwarePromptOpen = false;
  // The model list's entries (name, model id) and selection. The window keeps them itself, so
  // the device link selects models whether or not the settings page's list is built; both
  // threads use them, under their lock.
  std::mutex m_modelListLock;
  std::vector<std::pair<CString, int>> m_modelItems;
  int m_modelSelected = -1;
  // Set while a refresh of the performance page waits on the window's queue: further
  // requests from the worker are covered by it, since it reads the store when it runs.
  std::atomic<bool> m_perfRefreshPosted{false};
  std::mutex m_liveControlsLock;
  bool m_controlsGone = false;
  // The same for the macro list.
  std::atomic<bool> m_macroRefreshPosted{false};
  // Set while the stop of a recording whose budget ran out waits on the window's queue.
  bool m_recordStopPosted = false;
  void StartMacroHook(int state);
  void EndMacroHook();
  void EndMacroRecording();
};

// Removes the record's icon from the notification area when it is shown and clears its
// handle; 1 when there was nothing to remove, else the platform's answer.
int RemoveTrayIcon(NOTIFYICONDATAW& tray);
// Deletes the stale firmware images firmware-100.bin ... firmware-109.bin of folder.
void RemoveStaleFirmwareImages(const CString& folder);
