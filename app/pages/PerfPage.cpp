#include "app/pages/PerfPage.h"

#include <map>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/pages/InputHook.h"
#include "app/pages/PageMenu.h"
#include "app/pages/PerfPageDef.h"
#include "app/pages/PerfRules.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/MDialog.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/SwitchTravel.h"

using namespace TESK;

namespace {

const wchar_t* const kSection = L"KB.DIALOG";
// The box shown when no key is checked, and the one that follows a switch-type choice.
constexpr int kNoKeyTitle = 1600, kNoKeyMessage = 1601;
constexpr int kSwitchTypeTitle = 1602, kSwitchTypeMessage = 1603;
// The note shown by the sliders and reset buttons when no key is checked.
constexpr int kNoKeyNote = 272;

// The calibration button during a run (text, colour) and after one.
constexpr int kCalibratingText = 271, kCalibrateAgainText = 270;
constexpr DWORD kCalibratingColour = 0xFFE74250, kCalibrateColour = 0xFFFFFFFF;
// How long the window waits after asking the keyboard to leave its calibration mode before
// it asks for the keyboard's calibration state.
constexpr ULONGLONG kCalibrationSettleMs = 500;
// The switch type that button 315 gives every key.
constexpr int kAllKeysSwitchType = 3;

// The key-travel picture's images of switch types 1 and 2.
const wchar_t* const kSwitchForeImage = L"icon\\key_switch_fore.png";

bool Checked(const CSwitchButton* button) { return button != nullptr && button->GetCheck() != 0; }
void SetChecked(CSwitchButton* button, bool check) {
  if (button != nullptr) button->SetCheck(check ? 1 : 0);
}
int Progress(const MSlider* slider) { return slider != nullptr ? slider->GetProgress() : 0; }
void SetProgress(MSlider* slider, int value) {
  if (slider != nullptr) slider->SetProgress(value);
}
void SetCaption(MText* text, int steps) {
  if (text != nullptr) text->SetTitle(PositionCaption(steps));
}

}  // namespace

bool IsMessageBoxOpen() { return FindWindowA("MWindow", "MessageBox") != nullptr; }

PerfPage::PerfPage(DeviceLink& link, PerfPageDef& controls, MDialog* window)
    : m_link(link), m_controls(controls), m_window(window) {}

int PerfPage::Profile() const { return m_link.m_deviceProfile + 1; }

bool PerfPage::InputRefused() const { return m_link.m_calibrationMode || IsMessageBoxOpen(); }

bool PerfPage::NoKeyChecked(Notice notice) {
  KeyboardCtrl* picture = m_controls.m_keyboardPerf;
  if (picture != nullptr && picture->GetCheckItemCount() > 0) return false;
  if (notice == Notice::Box) {
    ShowMessageBox(m_link.GetMainWindowHandle(), LoadLanString(kSection, kNoKeyMessage),
                   LoadLanString(kSection, kNoKeyTitle), CUIMessageBox::kOneButton);
  } else if (m_window != nullptr) {
    m_window->SetMessage(LoadLanString(kSection, kNoKeyNote), CRect(), MSG_LEVEL_INFO);
  }
  return true;
}

// ---- Loading and saving ----

void PerfPage::RefreshPerfPage() {
  const int p = Profile();
  if (p < 1) return;
  PerfPageDef& c = m_controls;
  SetChecked(c.m_switchSensitivity, ReadPerfConfig(p, kPerfSensitivityMode) != 1);
  if (ReadPerfConfig(p, kPerfRapidTriggerMode) == 1) {
    SetChecked(c.m_switchRapidTrigger, true);
    ShowControls(RapidTriggerGroup(), 1);
    OnSensitivitySwitch();
  } else {
    SetChecked(c.m_switchRapidTrigger, false);
    ShowRapidTriggerGroup(0);
  }
  SetChecked(c.m_switchContinuousRt, ReadPerfConfig(p, kPerfContinuousMode) == 1);
  const bool bottom = ReadPerfConfig(p, kPerfBottomRapidTrigger) == 1;
  SetChecked(c.m_switchBottomRt, bottom);
  if (c.m_keyStroke != nullptr) {
    c.m_keyStroke->SetBottomrapidtriggerMode(bottom ? 1 : 0);
    c.m_keyStroke->SetCurKeyActuation(ReadPerfConfig(p, kPerfGlobalActuation));
  }
  for (const DistanceRow* row : {&kSensitivityRow, &kRtPressRow, &kRtReleaseRow}) {
    SetDistance(*row, ReadPerfConfig(p, row->key));
  }
  const int type = ReadPerfConfig(p, kPerfSwitchType);
  if (c.m_keyStroke != nullptr) {
    if (type == 1) c.m_keyStroke->SetImage(L"switchtype1.gif", kSwitchForeImage);
    if (type == 2) c.m_keyStroke->SetImage(L"switchtype2.gif", kSwitchForeImage);
  }
  SetTravelSwitchType(type);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->ShowRelkeystroke(1);
  m_link.m_debugMode = true;

  KeyPerfList rows;
  ConfigDatabase::Instance().GetKeyPerfs(p, rows);
  std::map<int, int> slots;
  for (const auto& row : rows) {
    if (c.m_keyboardPerf != nullptr) {
      c.m_keyboardPerf->SetKeyPerfInfo(row->key_code, row->switch_type, row->key_mode, row->key_actuation,
                                       row->rt_press, row->rt_release, row->press_deadzone, row->release_deadzone,
                                       row->deadzone_state);
    }
    slots[row->key_code] = row->switch_type;
  }
  m_link.StorePerfSlots(slots, false);
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->UpdateControl(1, 0);
}

void PerfPage::CreateDefaultKeyPerfs(int profile) {
  if (ConfigDatabase::Instance().CountKeyPerfs(profile) >= 1) return;
  KeyboardCtrl* picture = m_controls.m_keyboardPerf;
  if (picture == nullptr) return;
  std::vector<int> codes;
  picture->EnterCriSec();
  for (const KEY_INFO* key : picture->GetKeyItems()) codes.push_back(key->key_code);
  picture->LeaveCriSec();
  CreateDefaultKeyPerfRows(profile, codes);
}

void PerfPage::CopyPictureToRows(int profile, bool emptySlots) {
  KeyPerfList rows;
  ConfigDatabase::Instance().GetKeyPerfs(profile, rows);
  std::vector<KEY_PERF_DATA> updated;
  updated.reserve(rows.size());
  std::map<int, int> slots;
  KeyboardCtrl* picture = m_controls.m_keyboardPerf;
  if (picture != nullptr) picture->EnterCriSec();
  for (const auto& row : rows) {
    KEY_PERF_DATA copy = *row;
    if (picture != nullptr) {
      picture->GetKeyPerfInfo(copy.key_code, copy.switch_type, copy.key_mode, copy.key_actuation, copy.rt_press,
                              copy.rt_release, copy.press_deadzone, copy.release_deadzone, copy.deadzone_state);
    }
    slots[copy.key_code] = copy.switch_type;
    updated.push_back(copy);
  }
  if (picture != nullptr) picture->LeaveCriSec();
  m_link.StorePerfSlots(slots, emptySlots);
  if (!updated.empty()) ConfigDatabase::Instance().UpdateKeyPerfs(updated);
}

void PerfPage::SaveRapidTrigger() {
  const int p = Profile();
  if (p < 1) return;
  const PerfPageDef& c = m_controls;
  int press, release;
  if (Checked(c.m_switchSensitivity)) {
    press = Progress(c.m_sliderRtPress);
    release = Progress(c.m_sliderRtRelease);
  } else {
    press = release = Progress(c.m_sliderSensitivity);
  }
  const int mode = RapidTriggerModeOf(Checked(c.m_switchRapidTrigger), Checked(c.m_switchContinuousRt));
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->SetKeyRapidTrigger(mode, press, release);
  CopyPictureToRows(p, true);
  m_link.AppendTask(TASK_WRITE_KEY_PERF);
}

void PerfPage::SaveKeyPerf() {
  const int p = Profile();
  if (p < 1) return;
  CopyPictureToRows(p, false);
  m_link.AppendTask(TASK_WRITE_KEY_PERF);
}

// ---- Showing and enabling ----

std::vector<MControl*> PerfPage::RapidTriggerGroup() const {
  const PerfPageDef& c = m_controls;
  return {c.m_textSensitivity,  c.m_switchSensitivity,    c.m_textRapidTriggerHint,
          c.m_textContinuousRt, c.m_textContinuousRtHint, c.m_switchContinuousRt};
}

std::vector<MControl*> PerfPage::SensitivityRow() const {
  const PerfPageDef& c = m_controls;
  return {c.m_areaSensitivity,     c.m_textSensitivityPos,   c.m_btnResetSensitivity,
          c.m_textSensitivityHint, c.m_textSensitivityValue, c.m_sliderSensitivity};
}

std::vector<MControl*> PerfPage::ExtraRows() const {
  const PerfPageDef& c = m_controls;
  return {c.m_areaRtPress,       c.m_textRtPress,       c.m_btnResetRtPress,   c.m_textRtPressHint,
          c.m_textRtPressValue,  c.m_sliderRtPress,     c.m_areaRtRelease,     c.m_textRtRelease,
          c.m_btnResetRtRelease, c.m_textRtReleaseHint, c.m_textRtReleaseValue, c.m_sliderRtRelease};
}

void PerfPage::ShowControls(const std::vector<MControl*>& controls, int show) {
  for (MControl* control : controls) {
    if (control != nullptr) control->SetVisible(show);
  }
}

void PerfPage::ShowRapidTriggerGroup(int show) {
  ShowControls(RapidTriggerGroup(), show);
  if (show != 0) return;
  ShowSensitivityRow(0);
  ShowPerfExtraControls(0);
}

void PerfPage::ShowSensitivityRow(int show) { ShowControls(SensitivityRow(), show); }

void PerfPage::ShowPerfExtraControls(int show) { ShowControls(ExtraRows(), show); }

void PerfPage::EnablePerfControls(int enable, const std::vector<MControl*>& frameControls) {
  const PerfPageDef& c = m_controls;
  std::vector<MControl*> controls = frameControls;
  for (MControl* control : std::vector<MControl*>{
           c.m_tabPerf, c.m_keyboardPerf, c.m_comboProfilePerf, c.m_btnPerfProfileMenu, c.m_btnPerfPresets,
           c.m_btnPerfSelectAll, c.m_btnPerfSelectNone, c.m_btnPerfSelectInvert, c.m_btnPerfImport,
           c.m_btnPerfExport, c.m_comboSwitchType, c.m_keyStroke, c.m_switchDebugMode, c.m_switchDeadZone,
           c.m_btnResetActuation, c.m_switchRapidTrigger, c.m_switchSensitivity, c.m_btnResetSensitivity,
           c.m_sliderSensitivity, c.m_btnResetRtPress, c.m_sliderRtPress, c.m_btnResetRtRelease,
           c.m_sliderRtRelease, c.m_switchContinuousRt, c.m_switchBottomRt}) {
    controls.push_back(control);
  }
  for (MControl* control : controls) {
    if (control != nullptr) control->SetEnabled(enable);
  }
}

void PerfPage::SetTravelSwitchType(int type) {
  // A type the switch table lacks (a hostile or damaged store) leaves the picture's type and
  // limit as they are.
  const int travel = SwitchTravel(type);
  if (travel < 0 || m_controls.m_keyStroke == nullptr) return;
  m_controls.m_keyStroke->SetKeyStrokeInfo(type, travel);
}

void PerfPage::SetDistance(const DistanceRow& row, int value) {
  SetProgress(m_controls.*row.slider, value);
  SetCaption(m_controls.*row.text, value);
}

void PerfPage::ShowSelectedKeyPerf() {
  PerfPageDef& c = m_controls;
  if (c.m_keyboardPerf == nullptr) return;
  const int key = c.m_keyboardPerf->GetSelectKey();
  if (key <= 0) return;
  int type = -1, mode = 0, actuation = 0, press = 0, release = 0, pressDeadzone = 0, releaseDeadzone = 0, state = 0;
  c.m_keyboardPerf->GetKeyPerfInfo(key, type, mode, actuation, press, release, pressDeadzone, releaseDeadzone,
                                   state);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->SetCurKeyActuation(actuation);
  SetTravelSwitchType(type);
  if ((mode & kRapidTriggerMask) == RT_MODE_OFF) {
    SetChecked(c.m_switchRapidTrigger, false);
    ShowRapidTriggerGroup(0);
    return;
  }
  SetProgress(c.m_sliderSensitivity, press);
  SetProgress(c.m_sliderRtPress, press);
  SetProgress(c.m_sliderRtRelease, release);
  SetCaption(c.m_textSensitivityValue, press);
  SetCaption(c.m_textRtPressValue, press);
  SetCaption(c.m_textRtReleaseValue, release);
  ShowControls(RapidTriggerGroup(), 1);
  SetChecked(c.m_switchRapidTrigger, true);
  const bool oneDistance = press == release;
  SetChecked(c.m_switchSensitivity, !oneDistance);
  ShowSensitivityRow(oneDistance ? 1 : 0);
  ShowPerfExtraControls(oneDistance ? 0 : 1);
}

// ---- Handlers ----

int PerfPage::OnPerfKeySelection(int code) {
  if (code != NOTIFY_CLICKED) return 1;
  PerfPageDef& c = m_controls;
  const bool mixed = c.m_keyboardPerf != nullptr && c.m_keyboardPerf->GetKeySwicthType() == -2;
  if (c.m_areaPerfCover != nullptr) c.m_areaPerfCover->SetVisible(mixed ? 1 : 0);
  ShowSelectedKeyPerf();
  return 1;
}

int PerfPage::OnGlobalActuationChanged(int code, LPARAM) {
  if (InputRefused() || NoKeyChecked(Notice::Box)) return 0;
  const int p = Profile();
  if (p < 1) return 0;
  if (code != NOTIFY_CHANGING && code != NOTIFY_CLICKED) return 1;
  PerfPageDef& c = m_controls;
  const int actuation = c.m_keyStroke != nullptr ? c.m_keyStroke->GetCurKeyActuation() : 0;
  c.m_keyboardPerf->SetKeyActuation(actuation);
  WritePerfConfig(p, kPerfGlobalActuation, actuation);
  if (code == NOTIFY_CLICKED) SaveRapidTrigger();
  return 1;
}

int PerfPage::OnRapidTriggerSwitch() {
  if (InputRefused()) return 0;
  PerfPageDef& c = m_controls;
  if (NoKeyChecked(Notice::Box)) {
    // The click is undone.
    SetChecked(c.m_switchRapidTrigger, !Checked(c.m_switchRapidTrigger));
    return 0;
  }
  const int p = Profile();
  if (p < 1) return 0;
  if (Checked(c.m_switchRapidTrigger)) {
    ShowRapidTriggerGroup(1);
    WritePerfConfig(p, kPerfRapidTriggerMode, 1);
    OnSensitivitySwitch();
  } else {
    SetChecked(c.m_switchContinuousRt, false);
    ShowRapidTriggerGroup(0);
    WritePerfConfig(p, kPerfRapidTriggerMode, 0);
  }
  SaveRapidTrigger();
  return 1;
}

int PerfPage::OnSensitivitySwitch() {
  const int p = Profile();
  if (p < 1 || InputRefused()) return 0;
  if (Checked(m_controls.m_switchSensitivity)) {
    WritePerfConfig(p, kPerfSensitivityMode, 0);
    ShowSensitivityRow(0);
    ShowPerfExtraControls(1);
  } else {
    WritePerfConfig(p, kPerfSensitivityMode, 1);
    ShowPerfExtraControls(0);
    ShowSensitivityRow(1);
  }
  return 1;
}

int PerfPage::OnDistanceChanged(const DistanceRow& row, int code) {
  if (InputRefused() || NoKeyChecked(Notice::Note)) return 0;
  const int p = Profile();
  if (p < 1) return 0;
  MSlider* slider = m_controls.*row.slider;
  int value = Progress(slider);
  if (value < 1) {
    value = 1;
    SetProgress(slider, value);
  }
  if (code == NOTIFY_CHANGING) {
    SetCaption(m_controls.*row.text, value);
  } else if (code == NOTIFY_CLICKED) {
    SetCaption(m_controls.*row.text, value);
    WritePerfConfig(p, row.key, value);
    SaveRapidTrigger();
  }
  return 1;
}

int PerfPage::ResetDistance(const DistanceRow& row) {
  if (InputRefused() || NoKeyChecked(Notice::Note)) return 0;
  const int p = Profile();
  if (p < 1) return 0;
  SetDistance(row, 1);
  WritePerfConfig(p, row.key, 1);
  SaveRapidTrigger();
  return 1;
}

const PerfPage::DistanceRow PerfPage::kSensitivityRow{&PerfPageDef::m_sliderSensitivity,
                                                   &PerfPageDef::m_textSensitivityValue, kPerfSensitivityPos};
const PerfPage::DistanceRow PerfPage::kRtPressRow{&PerfPageDef::m_sliderRtPress, &PerfPageDef::m_textRtPressValue,
                                                  kPerfRtPressPos};
const PerfPage::DistanceRow PerfPage::kRtReleaseRow{&PerfPageDef::m_sliderRtRelease,
                                                    &PerfPageDef::m_textRtReleaseValue, kPerfRtReleasePos};

int PerfPage::OnSensitivityPosChanged(int code) { return OnDistanceChanged(kSensitivityRow, code); }
int PerfPage::OnRtPressPosChanged(int code) { return OnDistanceChanged(kRtPressRow, code); }
int PerfPage::OnRtReleasePosChanged(int code) { return OnDistanceChanged(kRtReleaseRow, code); }
int PerfPage::ResetSensitivityPos() { return ResetDistance(kSensitivityRow); }
int PerfPage::ResetRtPressPos() { return ResetDistance(kRtPressRow); }
int PerfPage::ResetRtReleasePos() { return ResetDistance(kRtReleaseRow); }

int PerfPage::OnContinuousRtSwitch() {
  const int p = Profile();
  if (p < 1) return 0;
  WritePerfConfig(p, kPerfContinuousMode, Checked(m_controls.m_switchContinuousRt) ? 1 : 0);
  SaveRapidTrigger();
  return 1;
}

int PerfPage::OnBottomRtSwitch() {
  const int p = Profile();
  if (p < 1) return 0;
  PerfPageDef& c = m_controls;
  const bool on = Checked(c.m_switchBottomRt);
  WritePerfConfig(p, kPerfBottomRapidTrigger, on ? 1 : 0);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->SetBottomrapidtriggerMode(on ? 1 : 0);
  if (c.m_keyboardPerf != nullptr) {
    if (on) {
      c.m_keyboardPerf->SetBottomrapidtrigger(1, kBottomRtReleaseDeadzone);
      // The travel picture has just raised its actuation point within the new bound.
      if (c.m_keyStroke != nullptr) c.m_keyboardPerf->SetKeyActuation(c.m_keyStroke->GetCurKeyActuation());
    } else {
      c.m_keyboardPerf->SetBottomrapidtrigger(0, 0);
    }
  }
  m_link.AppendTask(TASK_WRITE_SETTINGS);
  SaveKeyPerf();
  return 1;
}

int PerfPage::OnSwitchTypeSelected(int code, LPARAM row) {
  if (code != NOTIFY_PARTCLICKED) return 1;
  if (NoKeyChecked(Notice::Box)) return 0;
  PerfPageDef& c = m_controls;
  const int profile = c.m_comboProfilePerf != nullptr ? static_cast<int>(c.m_comboProfilePerf->GetCurData()) : 0;
  if (profile < 1) return 0;
  const int type = PickerSwitchType(static_cast<int>(row));
  if (type < 0) return 0;
  ShowMessageBox(m_link.GetMainWindowHandle(), LoadLanString(kSection, kSwitchTypeMessage),
                 LoadLanString(kSection, kSwitchTypeTitle), CUIMessageBox::kOneButton);
  SetTravelSwitchType(type);
  if (c.m_keyStroke != nullptr) c.m_keyboardPerf->SetKeyActuation(c.m_keyStroke->GetCurKeyActuation());
  c.m_keyboardPerf->SetKeySwitchType(type);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->UpdateControl(1, 0);
  WritePerfConfig(profile, kPerfSwitchType, type);
  SaveRapidTrigger();
  return 1;
}

// ---- Presets ----

int PerfPage::ShowPerfPresetMenu() {
  PageMenuItems items;
  for (const PerfPreset& preset : kPerfPresets) items.emplace_back(preset.itemId, preset.textId);
  return ShowPageMenu(m_link.GetMainWindowHandle(), m_controls.m_btnPerfPresets, WM_KB_PERF_MENU, items, false);
}

int PerfPage::OnPerfPageMenuCommand(int itemId) {
  if (FindPerfPreset(itemId) != nullptr) ApplyPerfPreset(itemId);
  return 1;
}

void PerfPage::ApplyPerfPreset(int itemId) {
  const PerfPreset* preset = FindPerfPreset(itemId);
  const int p = Profile();
  if (preset == nullptr || p < 1) return;
  PerfPageDef& c = m_controls;
  SetChecked(c.m_switchContinuousRt, false);
  SetChecked(c.m_switchBottomRt, false);
  WritePerfConfig(p, kPerfContinuousMode, 0);
  WritePerfConfig(p, kPerfBottomRapidTrigger, 0);
  // The mode goes to the rapid-trigger bits of key_mode; the switch type stays.
  if (c.m_keyboardPerf != nullptr) {
    c.m_keyboardPerf->SetKeyPerfInfo(preset->mode, preset->actuation, preset->press, preset->release, 0, 0, 0);
  }
  if (c.m_keyStroke != nullptr) c.m_keyStroke->SetCurKeyActuation(preset->actuation);
  WritePerfConfig(p, kPerfRapidTriggerMode, preset->mode);
  WritePerfConfig(p, kPerfGlobalActuation, preset->actuation);
  WritePerfConfig(p, kPerfRtPressPos, preset->press);
  WritePerfConfig(p, kPerfRtReleasePos, preset->release);
  SaveKeyPerf();
  RefreshPerfPage();
}

// ---- Calibration ----

void PerfPage::SetCalibrateButton(int textId, DWORD argb) {
  MButton* button = m_controls.m_btnCalibrate;
  if (button == nullptr) return;
  button->SetTitle(LoadLanString(kSection, textId));
  button->SetTextColor(Gdiplus::Color(argb));
}

int PerfPage::OnCalibrationSwitch(std::unique_ptr<InputHook>& hook, const std::vector<MControl*>& frameControls) {
  PerfPageDef& c = m_controls;
  if (m_link.m_calibrating) {
    LeaveCalibration(hook, frameControls);
    m_link.AppendTask(TASK_WRITE_CALIBRATION);
    // The keyboard is given time to leave its calibration mode before it is checked again.
    const ULONGLONG start = GetTickCount64();
    for (ULONGLONG waited = 0; waited < kCalibrationSettleMs; waited = GetTickCount64() - start) {
      Sleep(static_cast<DWORD>(kCalibrationSettleMs - waited));
    }
    m_link.AppendTask(TASK_CHECK_CALIBRATION);
    return 1;
  }
  m_link.m_calibrating = true;
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->SetKeyboardCtrlMode(KBMODE_PERFCHECK);
  m_link.m_calibrationMode = true;
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->ResetKeyCalibration();
  SetCalibrateButton(kCalibratingText, kCalibratingColour);
  // A hook held from before (a recording, say) gives way; the new one swallows every key.
  hook.reset();
  hook = std::make_unique<InputHook>();
  hook->AddTarget(m_link.GetMainWindowHandle(), 0, WM_KB_HOOK_SWALLOW);
  EnablePerfControls(0, frameControls);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->ShowRelkeystroke(1);
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->UpdateControl(1, 0);
  m_link.AppendTask(TASK_WRITE_CALIBRATION);
  return 1;
}

void PerfPage::EndCalibrationRun(std::unique_ptr<InputHook>& hook, const std::vector<MControl*>& frameControls) {
  if (!m_link.m_calibrating) return;
  LeaveCalibration(hook, frameControls);
  SetChecked(m_controls.m_switchDebugMode, m_link.m_debugMode);
  m_link.AppendTask(TASK_WRITE_CALIBRATION);
  m_link.AppendTask(TASK_RECHECK_CALIBRATION);
}

void PerfPage::LeaveCalibration(std::unique_ptr<InputHook>& hook, const std::vector<MControl*>& frameControls) {
  PerfPageDef& c = m_controls;
  m_link.m_calibrating = false;
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->SetKeyboardCtrlMode(KBMODE_PERF);
  m_link.m_calibrationMode = false;
  SetCalibrateButton(kCalibrateAgainText, kCalibrateColour);
  if (hook) hook->Uninstall();
  hook.reset();
  EnablePerfControls(1, frameControls);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->ShowRelkeystroke(m_link.m_debugMode ? 1 : 0);
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->UpdateControl(1, 0);
}

// ---- Controls without a place on screen ----

int PerfPage::ApplySwitchType() {
  const int p = Profile();
  if (p < 1) return 0;
  PerfPageDef& c = m_controls;
  const int type = c.m_comboSwitchType != nullptr ? static_cast<int>(c.m_comboSwitchType->GetCurData()) : 0;
  SetTravelSwitchType(type);
  if (c.m_keyStroke != nullptr) c.m_keyStroke->UpdateControl(1, 0);
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->SetKeySwitchType(type);
  WritePerfConfig(p, kPerfSwitchType, type);
  SaveRapidTrigger();
  return 1;
}

int PerfPage::OnDebugModeSwitch() {
  const int p = Profile();
  if (p < 1) return 0;
  const bool on = Checked(m_controls.m_switchDebugMode);
  WritePerfConfig(p, kPerfDebugMode, on ? 1 : 0);
  if (m_controls.m_keyStroke != nullptr) m_controls.m_keyStroke->ShowRelkeystroke(on ? 1 : 0);
  m_link.m_debugMode = on;
  m_link.AppendTask(TASK_WRITE_SETTINGS);
  return 1;
}

int PerfPage::OnDeadZoneSwitch() {
  const int p = Profile();
  if (p < 1 || InputRefused()) return 0;
  PerfPageDef& c = m_controls;
  if (NoKeyChecked(Notice::Note)) {
    // The click is undone.
    SetChecked(c.m_switchDeadZone, !Checked(c.m_switchDeadZone));
    return 0;
  }
  const bool on = Checked(c.m_switchDeadZone);
  WritePerfConfig(p, kPerfDeadZone, on ? 1 : 0);
  if (on) {
    WritePerfConfig(p, kPerfDeadZoneTop, kDefaultDeadZone);
    WritePerfConfig(p, kPerfDeadZoneBottom, kDefaultDeadZone);
    if (c.m_keyStroke != nullptr) c.m_keyStroke->SetDeadzoneValue(kDefaultDeadZone, kDefaultDeadZone);
  }
  if (c.m_keyStroke != nullptr) c.m_keyStroke->ShowDeadZone(on ? 1 : 0);
  c.m_keyboardPerf->SetDeadZoneState(on ? 1 : 0);
  // The travel picture has brought its actuation point inside the new bounds.
  const int actuation = c.m_keyStroke != nullptr ? c.m_keyStroke->GetCurKeyActuation() : 0;
  c.m_keyboardPerf->SetKeyActuation(actuation);
  WritePerfConfig(p, kPerfGlobalActuation, actuation);
  SaveRapidTrigger();
  return 1;
}

int PerfPage::ResetGlobalActuation() {
  const int p = Profile();
  if (p < 1) return 0;
  PerfPageDef& c = m_controls;
  if (c.m_keyStroke != nullptr) c.m_keyStroke->SetCurKeyActuation(kResetActuation);
  if (c.m_keyboardPerf != nullptr) {
    c.m_keyboardPerf->ResetAllItemCheck(1);
    c.m_keyboardPerf->SetKeyActuation(kResetActuation);
    c.m_keyboardPerf->ResetAllItemCheck(0);
  }
  WritePerfConfig(p, kPerfGlobalActuation, kResetActuation);
  return 1;
}

int PerfPage::SetPerfSwitchType() {
  if (Profile() < 1) return 0;
  PerfPageDef& c = m_controls;
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->SetKeyPerfSwitchType(kAllKeysSwitchType);
  SetTravelSwitchType(kAllKeysSwitchType);
  SaveKeyPerf();
  return 1;
}

int PerfPage::ResetRapidTrigger() {
  const int p = Profile();
  if (p < 1) return 0;
  PerfPageDef& c = m_controls;
  const KEY_PERF_DATA defaults = DefaultKeyPerf(p, 0);
  if (c.m_keyboardPerf != nullptr) {
    c.m_keyboardPerf->SetKeyPerfInfo(defaults.key_mode, defaults.key_actuation, defaults.rt_press,
                                     defaults.rt_release);
  }
  if (c.m_keyStroke != nullptr) c.m_keyStroke->SetCurKeyActuation(defaults.key_actuation);
  WritePerfConfig(p, kPerfRapidTriggerMode, 1);
  SetChecked(c.m_switchRapidTrigger, true);
  SetChecked(c.m_switchSensitivity, false);
  // The page shows the values every key now has.
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->ResetAllItemCheck(1);
  ShowSelectedKeyPerf();
  if (c.m_keyboardPerf != nullptr) c.m_keyboardPerf->ResetAllItemCheck(0);
  SaveKeyPerf();
  return 1;
}
