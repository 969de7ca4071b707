// PerfPage: the performance page's operations. The user checks keys on the page's keyboard
// picture and sets their actuation point (the key-travel picture), rapid trigger (on or off,
// continuous or not, one distance for press and release or two), bottom rapid trigger and
// switch type (the switch picker). A change goes to the checked keys of the picture, becomes
// the page's own value in the profile's configuration keys, and then the profile's whole
// per-key performance is copied from the picture into t_key_perf_data and its write to the
// keyboard is queued (TASK_WRITE_KEY_PERF).
//
// The page works on profile m_deviceProfile + 1 of the device link; an operation that needs it
// does nothing while it is below 1. The handlers return 1 when they acted and 0 when they
// refused: while the keyboard is in calibration mode or a message box is open, and (with a
// notice) when no key is checked.
//
// The main window owns one and forwards its handlers to it; it works on the page's control
// pointers (null ones skipped) and the device link's state and task queue. UI thread, except
// CreateDefaultKeyPerfs, which touches no control; the window hands a worker's RefreshPerfPage
// to its own thread.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class DeviceLink;
class InputHook;
struct PerfPageDef;
namespace TESK {
class MControl;
class MDialog;
class MSlider;
class MText;
}  // namespace TESK

class PerfPage {
 public:
  // window shows the page's notes (null: none are shown).
  PerfPage(DeviceLink& link, PerfPageDef& controls, TESK::MDialog* window);
  PerfPage(const PerfPage&) = delete;
  PerfPage& operator=(const PerfPage&) = delete;

  // ---- Loading and saving ----
  // The stored values of the profile onto the page and into the keyboard picture.
  void RefreshPerfPage();
  // A default row for every key of the picture, in list order, when the profile has none.
  void CreateDefaultKeyPerfs(int profile);
  // The rapid-trigger controls applied to the checked keys, then saved and queued.
  void SaveRapidTrigger();
  // The picture's per-key performance saved and queued as it is.
  void SaveKeyPerf();

  // ---- Showing and enabling ----
  // The rapid-trigger group; hiding it also hides both distance sets.
  void ShowRapidTriggerGroup(int show);
  // The single-distance row.
  void ShowSensitivityRow(int show);
  // The press and release rows.
  void ShowPerfExtraControls(int show);
  // Enables or disables frameControls (the window's, in their order), then the page's.
  void EnablePerfControls(int enable, const std::vector<TESK::MControl*>& frameControls);
  // The values of the selected key on the controls; nothing is stored.
  void ShowSelectedKeyPerf();

  // ---- Handlers (code: the notification code) ----
  int OnPerfKeySelection(int code);
  int OnGlobalActuationChanged(int code, LPARAM actuation);
  int OnRapidTriggerSwitch();
  int OnSensitivitySwitch();
  int OnSensitivityPosChanged(int code);
  int OnRtPressPosChanged(int code);
  int OnRtReleasePosChanged(int code);
  int ResetSensitivityPos();
  int ResetRtPressPos();
  int ResetRtReleasePos();
  int OnContinuousRtSwitch();
  int OnBottomRtSwitch();
  // row: the picker's row (lParam of code 9).
  int OnSwitchTypeSelected(int code, LPARAM row);

  // ---- Presets ----
  // The preset menu under button 265, the main window usable meanwhile. Always 1.
  int ShowPerfPresetMenu();
  // An item chosen in the page's menus: a preset's item applies it, any other does nothing. 1.
  int OnPerfPageMenuCommand(int itemId);
  // Every key of the picture takes the preset of the item (mode, actuation, distances, no dead
  // zones, switch type kept), the page's values become the preset's and continuous and bottom
  // rapid trigger go off; then the rows are saved and the page reloaded. No checked key is
  // needed. Nothing for an item that names no preset or without a profile.
  void ApplyPerfPreset(int itemId);

  // ---- Calibration ----
  // Starts a calibration run, or ends the running one. During a run the keyboard is in its
  // calibration mode, the picture shows each key's calibration, the window's and the page's
  // controls are disabled except the calibration button, and hook (the window's keyboard hook
  // slot) holds a hook whose target, the main window, swallows every key. frameControls as
  // for EnablePerfControls. Always 1. Never call it from inside a hook dispatch: it deletes
  // the hook.
  int OnCalibrationSwitch(std::unique_ptr<InputHook>& hook, const std::vector<TESK::MControl*>& frameControls);
  // The popups closing while a run is on (a connection change, the program's end): the run
  // ends as at the button, the debug switch shows the live-travel state, and the keyboard's
  // calibration is written and checked again. Nothing outside a run.
  void EndCalibrationRun(std::unique_ptr<InputHook>& hook, const std::vector<TESK::MControl*>& frameControls);

  // ---- Controls without a place on screen (reached through their notifications) ----
  // Each returns 0 and changes nothing without a profile, else 1 when it acted.
  // The checked keys take the switch type chosen in list 270, which is stored; then saved.
  int ApplySwitchType();
  // Switch 278: live travel shown or not, stored, and the settings write queued.
  int OnDebugModeSwitch();
  // Switch 280: dead zones of the default size on or off for the checked keys, stored, saved.
  // Refused like the distance rows (calibration, a message box, no checked key: the note and
  // the switch turned back).
  int OnDeadZoneSwitch();
  // Every key's actuation point to 26 in the picture and the page's value; the per-key rows
  // are not saved and no check is left.
  int ResetGlobalActuation();
  // Every key takes switch type 3; saved.
  int SetPerfSwitchType();
  // Every key back to rapid trigger with the default actuation and distances; saved.
  int ResetRapidTrigger();

 private:
  // A distance row: its slider, value text and configuration key.
  struct DistanceRow {
    TESK::MSlider* PerfPageDef::*slider;
    TESK::MText* PerfPageDef::*text;
    const wchar_t* key;
  };
  static const DistanceRow kSensitivityRow, kRtPressRow, kRtReleaseRow;
  enum class Notice { Box, Note };

  // m_deviceProfile + 1.
  int Profile() const;
  // Calibration mode on, or a message box open.
  bool InputRefused() const;
  // No key checked: shows the notice and answers true.
  bool NoKeyChecked(Notice notice);
  int OnDistanceChanged(const DistanceRow& row, int code);
  int ResetDistance(const DistanceRow& row);
  // Rows of profile p overwritten with the picture's blocks, the switch-type map refilled
  // (emptied first when asked), the rows written back.
  void CopyPictureToRows(int profile, bool emptySlots);
  void SetDistance(const DistanceRow& row, int value);
  // The key-travel picture's switch type, for a type the switch table has.
  void SetTravelSwitchType(int type);
  void ShowControls(const std::vector<TESK::MControl*>& controls, int show);
  // The run's end shared by the button and the popup closing: button, flags, picture mode,
  // hook, enabling and the key-travel picture's release stroke.
  void LeaveCalibration(std::unique_ptr<InputHook>& hook, const std::vector<TESK::MControl*>& frameControls);
  void SetCalibrateButton(int textId, DWORD argb);
  std::vector<TESK::MControl*> RapidTriggerGroup() const;
  std::vector<TESK::MControl*> SensitivityRow() const;
  std::vector<TESK::MControl*> ExtraRows() const;

  DeviceLink& m_link;
  PerfPageDef& m_controls;
  TESK::MDialog* m_window;
};

// True while one of the program's message boxes is open (a top-level "MWindow" titled
// "MessageBox").
bool IsMessageBoxOpen();
