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

#include <vector>

class DeviceLink;
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
