// The main window's two dispatchers and the frame's own handlers. Each table holds one row
// per control id or message; a page that brings a handler adds its row. Ids and messages
// without a row answer 0 or go to MDialog's default processing, so no row ever calls a
// handler that does nothing yet.
#include "app/KeyboardDlg.h"

#include <dbt.h>

#include "app/AppMessages.h"
#include "app/MainWindowBuild.h"
#include "app/UserRegistry.h"
#include "device/FirmwareFlasherCh375.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/core/CIDropTarget.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

// Item ids of the main tabs.
constexpr int kTabHome = 0;
constexpr int kTabAdvKeys = 2;
constexpr int kTabPerf = 7;
constexpr int kTabLight = 4;
constexpr int kTrayMenuText = 11;

// The pages' import and export buttons.
LONG ImportProfileRow(KeyboardDlg& dlg, UINT, UINT, UINT, LONG) {
  dlg.ImportProfile();
  return 1;
}
LONG ExportProfileRow(KeyboardDlg& dlg, UINT, UINT, UINT, LONG) {
  dlg.ExportProfile();
  return 1;
}

LONG RenameProfileRow(KeyboardDlg& dlg, UINT id, UINT code, UINT, LONG) {
  return dlg.OnProfileRenamed(static_cast<int>(id), static_cast<int>(code));
}

// Rows that hand the control id on: the lighting page's colour buttons and direction radios.
LONG LightColorButton(KeyboardDlg& dlg, UINT id, UINT, UINT, LONG) { return dlg.OnLightColorButton(static_cast<int>(id)); }
LONG LightDirection(KeyboardDlg& dlg, UINT id, UINT, UINT, LONG) {
  return dlg.OnLightDirectionChanged(static_cast<int>(id));
}
LONG LightSelection(KeyboardDlg& dlg, UINT id, UINT, UINT, LONG) { return dlg.OnLightSelectButton(static_cast<int>(id)); }
LONG LightModeChosen(KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) {
  return dlg.OnLightModeSelected(static_cast<int>(code));
}
LONG AdvKeyTypeButton(KeyboardDlg& dlg, UINT id, UINT, UINT, LONG) { return dlg.OnAdvKeyTypeButton(id); }

}  // namespace

const KeyboardDlg::ControlRow KeyboardDlg::kAnyCodeRows[] = {
    // The profile lists: an in-place rename, then on to the selection's click row.
    {82, RenameProfileRow, true},
    {97, RenameProfileRow, true},
    {121, RenameProfileRow, true},
    {205, RenameProfileRow, true},
    {262, RenameProfileRow, true},
    {67, [](KeyboardDlg& dlg, UINT, UINT, UINT wParam, LONG) -> LONG {
       return dlg.OnMainTabChanged(static_cast<int>(wParam));
     }},
    {213, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnMacroSelected(static_cast<int>(code));
     }},
    {224, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnEventKeyCapture(static_cast<int>(code));
     }},
    {254, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnMacroEventEdited(static_cast<int>(code));
     }},
    {317, [](KeyboardDlg& dlg, UINT, UINT, UINT wParam, LONG) -> LONG {
       return dlg.OnPerfTabChanged(static_cast<int>(wParam));
     }},
    {119, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.SaveUserLightColors(static_cast<int>(code));
     }},
    {133, LightModeChosen},
    {187, LightModeChosen},
    // The palette reports a picked colour with code 27; its other codes do nothing.
    {148, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return code == TESK::NOTIFY_COLORCHANGED ? dlg.OnLightColorPicked() : 0;
     }},
    {152, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnLightRedEdit(static_cast<int>(code));
     }},
    {153, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnLightGreenEdit(static_cast<int>(code));
     }},
    {154, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnLightBlueEdit(static_cast<int>(code));
     }},
    {95, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnAdvKeyboardNotify(static_cast<int>(code));
     }},
    {112, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.OnAdvKeyListNotify(static_cast<int>(code));
     }},
    {257, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.m_perfPage.OnPerfKeySelection(static_cast<int>(code));
     }},
    {276, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG lParam) -> LONG {
       return dlg.m_perfPage.OnGlobalActuationChanged(static_cast<int>(code), lParam);
     }},
    {292, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.m_perfPage.OnSensitivityPosChanged(static_cast<int>(code));
     }},
    {298, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.m_perfPage.OnRtPressPosChanged(static_cast<int>(code));
     }},
    {304, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG) -> LONG {
       return dlg.m_perfPage.OnRtReleasePosChanged(static_cast<int>(code));
     }},
    {321, [](KeyboardDlg& dlg, UINT, UINT code, UINT, LONG lParam) -> LONG {
       return dlg.m_perfPage.OnSwitchTypeSelected(static_cast<int>(code), lParam);
     }},
};

const KeyboardDlg::ControlRow KeyboardDlg::kClickRows[] = {
    {37, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowHomePage(); }},
    {38, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnCloseButton(); }},
    {39, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG {
       dlg.OnMaximize();
       return 1;
     }},
    {40, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG {
       dlg.OnMinimize();
       return 1;
     }},
    {53, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnTickRateChanged(); }},
    {56, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnTachyonModeChanged(); }},
    {58, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnKeyLayerChanged(); }},
    {66, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowKeyTest(); }},
    {82, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnKeyPageProfileChanged(); }},
    {88, ImportProfileRow},
    {89, ExportProfileRow},
    {83, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowKeyPageProfileMenu(); }},
    {85, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowKeyPresetMenu(); }},
    {86, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ResetSelectedKey(dlg.m_keyboardKeys); }},
    {87, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ConfirmResetLayer(); }},
    {90, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnKeyLayerChanged(); }},
    {92, [](KeyboardDlg& dlg, UINT, UINT, UINT wParam, LONG) -> LONG {
       return dlg.FillKeyValueList(static_cast<int>(wParam));
     }},
    {93, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ApplyKeyFuncToKey(); }},
    {94, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ApplyKeyValueToKey(); }},
    {97, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnAdvPageProfileChanged(); }},
    {98, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowAdvPageProfileMenu(); }},
    {99, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ResetSelectedKey(dlg.m_keyboardAdv); }},
    {100, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ConfirmResetAdvLayer(); }},
    {101, ImportProfileRow},
    {102, ExportProfileRow},
    {103, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnAdvKeyLayerChanged(); }},
    {113, AdvKeyTypeButton},
    {114, AdvKeyTypeButton},
    {115, AdvKeyTypeButton},
    {116, AdvKeyTypeButton},
    {117, AdvKeyTypeButton},
    {118, AdvKeyTypeButton},
    {126, ImportProfileRow},
    {127, ExportProfileRow},
    {205, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnMacroPageProfileChanged(); }},
    {206, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowMacroPageProfileMenu(); }},
    {207, ImportProfileRow},
    {208, ExportProfileRow},
    {221, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowEventKeyEditor(); }},
    {222, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowEventMouseEditor(); }},
    {223, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowEventDelayEditor(); }},
    {227, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.InsertMacroEvent(); }},
    {228, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.NewMacro(); }},
    {229, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.DeleteMacro(); }},
    {230, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RememberSelectedMacro(); }},
    {237, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnDelayModeChosen(false); }},
    {238, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnDelayModeChosen(false); }},
    {239, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnDelayModeChosen(true); }},
    {231, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ImportMacro(); }},
    {232, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ExportMacro(); }},
    {233, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.EditMacroName(); }},
    {242, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.StartMacroRecording(); }},
    {243, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.StopMacroRecording(); }},
    {246, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.MoveMacroEventUp(); }},
    {247, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.MoveMacroEventDown(); }},
    {248, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.DeleteMacroEvent(); }},
    {249, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ClearMacroEvents(); }},
    {255, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.SaveMacroEvents(); }},
    {262, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnPerfPageProfileChanged(); }},
    {263, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowPerfPageProfileMenu(); }},
    {265, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ShowPerfPresetMenu(); }},
    {267, ImportProfileRow},
    {268, ExportProfileRow},
    {270, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ApplySwitchType(); }},
    {271, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnCalibrationSwitch(); }},
    {278, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnDebugModeSwitch(); }},
    {280, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnDeadZoneSwitch(); }},
    {281, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ResetGlobalActuation(); }},
    {284, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnRapidTriggerSwitch(); }},
    {286, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnSensitivitySwitch(); }},
    {289, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ResetSensitivityPos(); }},
    {295, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ResetRtPressPos(); }},
    {301, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ResetRtReleasePos(); }},
    {307, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnContinuousRtSwitch(); }},
    {310, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.OnBottomRtSwitch(); }},
    // The performance picture's selection buttons: none, invert, all; then the selection's handler.
    {312, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG {
       return dlg.SelectPerfKeys([](TESK::KeyboardCtrl& keys) { keys.ResetAllItemCheck(0); });
     }},
    {313, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG {
       return dlg.SelectPerfKeys([](TESK::KeyboardCtrl& keys) { keys.InvertSelectItem(); });
     }},
    {314, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG {
       return dlg.SelectPerfKeys([](TESK::KeyboardCtrl& keys) { keys.ResetAllItemCheck(1); });
     }},
    {121, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLightPageProfileChanged(); }},
    {122, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowLightPageProfileMenu(); }},
    {124, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowLightPresetMenu(); }},
    {125, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ClearUserLightColors(); }},
    {180, LightSelection},
    {181, LightSelection},
    {182, LightSelection},
    {132, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLightEnableSwitch(); }},
    {137, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLightBrightnessChanged(); }},
    {139, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLightSpeedChanged(); }},
    {145, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLightColorfulChanged(2); }},
    {155, LightColorButton},
    {156, LightColorButton},
    {157, LightColorButton},
    {158, LightColorButton},
    {159, LightColorButton},
    {160, LightColorButton},
    {161, LightColorButton},
    {162, LightColorButton},
    {163, LightColorButton},
    {164, LightColorButton},
    {165, LightColorButton},
    {166, LightColorButton},
    {167, LightColorButton},
    {168, LightColorButton},
    {169, LightColorButton},
    {170, LightColorButton},
    {171, LightColorButton},
    {172, LightColorButton},
    {173, LightColorButton},
    {174, LightColorButton},
    {175, LightColorButton},
    {176, LightColorButton},
    {177, LightColorButton},
    {178, LightColorButton},
    {179, LightColorButton},
    {141, LightDirection},
    {142, LightDirection},
    {143, LightDirection},
    {144, LightDirection},
    {183, LightDirection},
    {184, LightDirection},
    {185, LightDirection},
    {186, LightDirection},
    {195, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnMusicModeChanged(); }},
    {197, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnMusicSensitivityChanged(); }},
    {199, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnMusicColorChanged(); }},
    {201, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnMusicBrightnessChanged(); }},
    {315, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.SetPerfSwitchType(); }},
    {316, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.m_perfPage.ResetRapidTrigger(); }},
    {326, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RequestSoftwareCheck(); }},
    {329, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RequestFirmwareCheck(); }},
    {333, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RequestSoftwareCheck(); }},
    {334, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RequestFirmwareCheck(); }},
    {347, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.RestoreDefaults(); }},
    {350, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnLanguageChosen(); }},
    {354, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnAutorunSwitch(); }},
    {355, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnAutorunMinimizeSwitch(); }},
    {359, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnExitModeChanged(); }},
    {360, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OnExitModeChanged(); }},
    {363, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.OpenWebsite(); }},
    {373, [](KeyboardDlg& dlg, UINT, UINT, UINT, LONG) -> LONG { return dlg.ShowKeyTest(); }},
};

const KeyboardDlg::WindowRow KeyboardDlg::kWindowRows[] = {
    // Raw input feeds the held-key strip, then takes the default way (the system cleans up).
    {WM_INPUT,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT*) {
       dlg.OnKeyTestRawInput(reinterpret_cast<HRAWINPUT>(lParam));
       return false;
     }},
    {WM_KB_UPGRADE_NOTIFY,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnUpgradeNotify(wParam, lParam);
       return true;
     }},
    {WM_KB_FLASH_PROGRESS,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM, LRESULT* result) {
       // The state is read as the message arrives: the flasher sets it before it posts.
       dlg.m_flashProgress = static_cast<int>(wParam);
       dlg.m_flashState = FirmwareFlasherCh375::Instance().GetState();
       *result = 1;
       return true;
     }},
    {WM_KB_PAGE_MENU,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnKeyPageMenuCommand(wParam, static_cast<int>(lParam));
       return true;
     }},
    {WM_KB_PROFILE_MENU,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnProfileMenuCommand(static_cast<int>(lParam));
       return true;
     }},
    {WM_KB_ADVKEY_ADD,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM, LRESULT* result) {
       *result = dlg.OpenAdvKeyEditor(static_cast<int>(wParam));
       return true;
     }},
    {WM_KB_ADVKEY_APPLIED,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnAdvKeyApplied(static_cast<int>(lParam));
       return true;
     }},
    {WM_KB_ADVKEY_CANCELLED,
     [](KeyboardDlg& dlg, WPARAM, LPARAM, LRESULT* result) {
       *result = dlg.OnAdvKeyCancelled();
       return true;
     }},
    // The editor left its introduction: the advanced-key picture stops picking keys.
    {TESK::WM_UI_DRAGOVER,
     [](KeyboardDlg& dlg, WPARAM, LPARAM, LRESULT* result) {
       *result = dlg.m_advKeyPage.OnEditorPageShown();
       return true;
     }},
    {WM_KB_PERF_MENU,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       const int item = static_cast<int>(lParam);
       *result = dlg.RunProfileMenuItem(item) ? 1 : dlg.m_perfPage.OnPerfPageMenuCommand(item);
       return true;
     }},
    {TESK::WM_UI_DROP,
     [](KeyboardDlg& dlg, WPARAM, LPARAM, LRESULT* result) {
       *result = dlg.OnKeyFunctionDropped();
       return true;
     }},
    {WM_KB_HOOK_INPUT,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnHookedInputEvent(wParam, lParam);
       return true;
     }},
    {WM_KB_MACRO_MENU,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnMacroPageMenuCommand(static_cast<int>(lParam));
       return true;
     }},
    {WM_KB_HOOK_SWALLOW,
     [](KeyboardDlg&, WPARAM, LPARAM, LRESULT* result) {
       *result = 1;
       return true;
     }},
    {WM_KB_LIGHT_MENU,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnLightPageMenuCommand(wParam, lParam);
       return true;
     }},
    {WM_DEVICECHANGE,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnDeviceChangeMessage(wParam, lParam);
       return true;
     }},
    {WM_KB_TRAY_NOTIFY,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnTrayNotify(lParam);
       return true;
     }},
    {WM_KB_QUIT,
     [](KeyboardDlg& dlg, WPARAM, LPARAM lParam, LRESULT* result) {
       *result = dlg.OnQuitMessage(lParam);
       return true;
     }},
    // The tray menu's exit item; every other command takes the default way.
    {WM_COMMAND,
     [](KeyboardDlg& dlg, WPARAM wParam, LPARAM, LRESULT*) -> bool {
       if (wParam != kTrayExitCommand) return false;
       dlg.CloseAllPopups();
       dlg.EndProgram();
     }},
};

LONG KeyboardDlg::OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) {
  for (const ControlRow& row : kAnyCodeRows) {
    if (row.id != controlId) continue;
    const LONG result = row.handle(*this, controlId, code, wParam, lParam);
    if (!row.passOn) return result;
    break;
  }
  if (code != TESK::NOTIFY_CLICKED) return 0;
  for (const ControlRow& row : kClickRows) {
    if (row.id == controlId) return row.handle(*this, controlId, code, wParam, lParam);
  }
  return 0;
}

LRESULT KeyboardDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const WindowRow& row : kWindowRows) {
    if (row.message != message) continue;
    LRESULT result = 0;
    if (row.handle(*this, wParam, lParam, &result)) return result;
    break;
  }
  return MDialog::OnWindowMessage(message, wParam, lParam);
}

// ---- The frame's handlers ----

int KeyboardDlg::OnCloseButton() {
  if (ReadRegistryInt(L"exit_mode") != 1) EndProgram();
  ShowWindow(SW_HIDE);
  return 1;
}

int KeyboardDlg::ShowHomePage() {
  if (m_tabMain) m_tabMain->SetVisible(0);
  if (m_pageHome) m_pageHome->SetVisible(1);
  if (m_picBackground) m_picBackground->SetImage(L"home_bkg.png", 1);
  return 1;
}

int KeyboardDlg::StoreDeviceSetting(TESK::MComboBox2* list, const wchar_t* key) {
  if (!list) return 0;
  CString value;
  value.Format(L"%ld", list->GetCurData());
  ConfigDatabase::Instance().SetConfigValue(0, key, value);
  AppendTask(TASK_WRITE_SETTINGS);
  return 1;
}

int KeyboardDlg::OnTickRateChanged() { return StoreDeviceSetting(m_comboTickRate, L"tick_rate"); }

int KeyboardDlg::OnTachyonModeChanged() { return StoreDeviceSetting(m_comboTachyonMode, L"perf_tachyon_mode"); }

int KeyboardDlg::OnMainTabChanged(int itemIndex) {
  // Leaving: the performance page's settings go to the keyboard; the advanced-key page's
  // raw input ends, its held keys are forgotten and its editor closes.
  if (m_curTab == kTabPerf) AppendTask(TASK_WRITE_SETTINGS);
  if (m_curTab == kTabAdvKeys) {
    StopKeyTestInput();
    CloseAdvKeyEditor();
  }

  const int id = m_tabMain ? static_cast<int>(m_tabMain->GetItemID(itemIndex)) : kTabHome;
  if (id == kTabHome) {
    if (m_tabMain) m_tabMain->SetVisible(0);
    if (m_picBackground) m_picBackground->SetImage(L"home_bkg.png", 1);
    m_curTab = kTabHome;
    return 1;
  }
  switch (id) {
    case kTabLight:
      // Showing the lighting page sends its mode again.
      OnLightModeSelected(TESK::NOTIFY_CLICKED);
      m_curTabIndex = itemIndex;
      break;
    case kTabAdvKeys:
      m_curTabIndex = itemIndex;
      StartKeyTestInput();
      break;
    case 1:
    case 3:
    case 6:
      m_curTabIndex = itemIndex;
      break;
    case kTabPerf:
      m_curTabIndex = itemIndex;
      AppendTask(TASK_WRITE_SETTINGS);
      break;
    default:
      break;
  }
  m_curTab = id;
  return 1;
}

int KeyboardDlg::OnDeviceChangeMessage(WPARAM event, LPARAM header) {
  const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_HDR*>(header);
  const bool arrivalOrRemoval = event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE;
  if (arrivalOrRemoval && broadcast && broadcast->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
    OnDeviceChange(static_cast<UINT>(event), broadcast);
  }
  return 0;
}

int KeyboardDlg::OnTrayNotify(LPARAM mouseMessage) {
  HWND window = GetSafeHwnd();
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetForegroundWindow(window);
      ShowWindow(SW_SHOWNORMAL);
      UpdateWindow(window);
      BringWindowToTop(window);
      break;
    case WM_RBUTTONUP: {
      HMENU menu = CreatePopupMenu();
      if (!menu) break;
      AppendMenuW(menu, MF_STRING, kTrayExitCommand, mainwindow::Text(kTrayMenuText));
      POINT cursor{};
      GetCursorPos(&cursor);
      SetForegroundWindow(window);
      TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
      DestroyMenu(menu);
      break;
    }
    default:
      break;
  }
  return 0;
}

int KeyboardDlg::OnQuitMessage(LPARAM lParam) {
  if (lParam == kQuitMagic) EndProgram();
  return 0;
}

void KeyboardDlg::EndProgram() {
  RemoveTrayIcon(m_trayIcon);
  ExitProcess(0);
}
