#include "app/pages/LightPage.h"

#include <vector>

#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "app/pages/LightModes.h"
#include "app/pages/LightPageDef.h"
#include "app/pages/MusicLighting.h"
#include "device/DeviceLink.h"
#include "storage/ConfigDatabase.h"
#include "storage/XmlDocument.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MText.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"

using TESK::MControl;

namespace {

constexpr const wchar_t* kLanSection = L"KB.DIALOG";
constexpr const wchar_t* kEnableLight = L"enable_light";
constexpr int kFirstPresetItem = 202;
constexpr int kLastPresetItem = 207;

void Show(MControl* control, int show) {
  if (control) control->SetVisible(show ? 1 : 0);
}

CString Decimal(int value) {
  CString text;
  text.Format(L"%d", value);
  return text;
}

}  // namespace

LightPage::LightPage(DeviceLink& link, LightPageDef& controls, std::atomic<int>& curProfile)
    : m_link(link),
      m_controls(controls),
      m_curProfile(curProfile),
      m_presetFile(GetProgramFolder() + L"profile\\default_light.xml") {}

int LightPage::Profile() const { return m_link.m_deviceProfile + 1; }

int LightPage::TakeProfile() {
  const int profile = Profile();
  m_curProfile = profile;
  return profile;
}

bool LightPage::SwitchOn() const { return m_controls.m_switchLight && m_controls.m_switchLight->GetCheck(); }

void LightPage::QueueLightWrite() { m_link.AppendTask(TASK_WRITE_LIGHT); }

// ---- Refresh ----

void LightPage::ListLightModes(int profile) {
  LightPageDef& c = m_controls;
  if (c.m_lightModeList) c.m_lightModeList->ClearList();
  if (c.m_lightTypeTab) c.m_lightTypeTab->ClearList();
  LightList rows;
  ConfigDatabase::Instance().GetLights(profile, rows);
  for (size_t i = 0; i < rows.size(); ++i) {
    const LIGHT_DATA& row = *rows[i];
    if (row.mode == LIGHT_MODE_OFF) continue;
    const CString text = LoadLanString(kLanSection, _wtoi(row.name));
    if (c.m_lightModeList) c.m_lightModeList->AddItem(text, row.mode, CString());
    if (c.m_lightTypeTab) c.m_lightTypeTab->AddItem(text, L"M" + Decimal(static_cast<int>(i)), row.mode, CString());
  }
}

void LightPage::RefreshLightModeLists() {
  LightPageDef& c = m_controls;
  const int profile = Profile();
  ConfigDatabase& db = ConfigDatabase::Instance();
  ListLightModes(profile);
  m_link.m_lightMode = db.GetActiveLightMode(profile);
  if (c.m_lightModeList) c.m_lightModeList->SetCurData(m_link.m_lightMode);
  if (c.m_lightTypeTab) c.m_lightTypeTab->SetCurData(m_link.m_lightMode);
  CString enabled;
  db.GetConfigValue(profile, kEnableLight, enabled);
  const bool on = enabled == L"1";
  if (c.m_switchLight) c.m_switchLight->SetCheck(on ? 1 : 0);
  // Off: the lists keep showing the stored mode, the keyboard is sent "off".
  if (!on) m_link.m_lightMode = LIGHT_MODE_OFF;
  RefreshLightPage();
  if (m_music) {
    m_music->InitMusicGrid();
    m_music->RefreshMusicSettings(profile);
  }
}

void LightPage::ShowDirection(uint32_t configFunc, int direction) {
  LightPageDef& c = m_controls;
  struct Pair {
    uint32_t bit;
    TESK::CRadioButton* first;
    TESK::CRadioButton* second;
  };
  const Pair pairs[] = {{LIGHT_CONFIG_DIR_LEFT_RIGHT, c.m_radioDirLeft, c.m_radioDirRight},
                        {LIGHT_CONFIG_DIR_TOP_BOTTOM, c.m_radioDirUp, c.m_radioDirDown},
                        {LIGHT_CONFIG_DIR_IN_OUT, c.m_radioDirIn, c.m_radioDirOut},
                        {LIGHT_CONFIG_DIR_ROTATE, c.m_radioDirCw, c.m_radioDirCcw}};
  const uint32_t shown = LightDirectionBit(configFunc);
  Show(c.m_textDirection, shown != 0);
  for (const Pair& pair : pairs) {
    const bool show = pair.bit == shown;
    Show(pair.first, show);
    Show(pair.second, show);
    if (!show) continue;
    // The pair's first button stands for 1, the second for any other value.
    if (pair.first) pair.first->SetControlCheck(direction == 1 ? 1 : 0);
    if (pair.second) pair.second->SetControlCheck(direction == 1 ? 0 : 1);
  }
}

void LightPage::RefreshLightPage() {
  LightPageDef& c = m_controls;
  const int profile = Profile();
  if (profile <= 0) return;
  LIGHT_DATA row;
  if (!ConfigDatabase::Instance().GetLight(profile, m_link.m_lightMode, row)) return;
  Show(c.m_btnLightSelectNone, 0);
  Show(c.m_btnLightSelectInvert, 0);
  Show(c.m_btnLightSelectAll, 0);
  const uint32_t flags = static_cast<uint32_t>(row.config_func);
  m_link.m_lightModeFlags = flags;

  const bool brightness = (flags & LIGHT_CONFIG_BRIGHTNESS) != 0;
  Show(c.m_textBrightness, brightness);
  Show(c.m_sliderBrightness, brightness);
  if (c.m_sliderBrightness) c.m_sliderBrightness->SetProgress(brightness ? row.brightness : 0);
  const bool speed = (flags & LIGHT_CONFIG_SPEED) != 0;
  Show(c.m_textSpeed, speed);
  Show(c.m_sliderSpeed, speed);
  if (c.m_sliderSpeed) c.m_sliderSpeed->SetProgress(speed ? row.speed : 0);

  ShowDirection(flags, row.direction);

  if (flags & LIGHT_CONFIG_COLORFUL) {
    Show(c.m_checkColorful, 1);
    if (c.m_checkColorful) c.m_checkColorful->SetCheck(row.colorful == 1 ? 1 : 0);
    if (c.m_keyboardLight) c.m_keyboardLight->SetLightModeColor(row.colorful == 1, row.color_value);
  } else {
    Show(c.m_checkColorful, 0);
  }

  if (flags & LIGHT_CONFIG_COLOR) {
    c.ShowLightColorControls(1);
    ShowEdits(row.colorful == 1 ? kDefaultColor : row.color_value);
  } else {
    c.ShowLightColorControls(0);
  }

  // The visualizer runs while the music controls show.
  const bool music = (flags & LIGHT_CONFIG_MUSIC) != 0;
  c.ShowMusicControls(music ? 1 : 0);
  if (m_music) m_music->SetActive(music);

  TESK::KeyboardCtrl* picture = c.m_keyboardLight;
  if (flags & LIGHT_CONFIG_USER_KEYS) {
    Show(c.m_btnLightSelectNone, 1);
    Show(c.m_btnLightSelectInvert, 1);
    Show(c.m_btnLightSelectAll, 1);
    if (picture) {
      picture->EnableFrameSelect(1);
      picture->SetLightModeColor(0, 0);
      if (m_link.m_hasPerKeyRgb) {
        UserLightRgbList keys;
        ConfigDatabase::Instance().GetUserLightRgbs(profile, keys);
        for (const auto& key : keys) picture->SetKeyColor(key->key_code, static_cast<COLORREF>(key->key_rgb));
        picture->UpdateControl(1, 0);
      }
    }
  } else if (picture) {
    picture->EnableFrameSelect(0);
  }
}

// ---- Mode and switch ----

int LightPage::OnLightModeSelected(int code) {
  if (code != TESK::NOTIFY_CLICKED) return 1;
  LightPageDef& c = m_controls;
  const int profile = TakeProfile();
  const bool on = SwitchOn();
  m_link.m_lightMode = on ? (c.m_lightTypeTab ? c.m_lightTypeTab->GetCurData() : 0) : LIGHT_MODE_OFF;
  if (c.m_textLightMode && c.m_lightTypeTab) c.m_textLightMode->SetTitle(c.m_lightTypeTab->GetCurItemText());
  // While off the stored mode stays, so that switching on brings it back.
  if (on) ConfigDatabase::Instance().SetActiveLightMode(profile, m_link.m_lightMode);
  RefreshLightPage();
  QueueLightWrite();
  if (m_link.m_lightMode == LIGHT_MODE_USER) m_link.AppendTask(TASK_WRITE_KEY_COLORS);
  return 1;
}

int LightPage::OnLightEnableSwitch() {
  const int profile = TakeProfile();
  ConfigDatabase& db = ConfigDatabase::Instance();
  if (SwitchOn()) {
    m_link.m_lightMode = db.GetActiveLightMode(profile);
    db.SetConfigValue(profile, kEnableLight, L"1");
  } else {
    db.SetConfigValue(profile, kEnableLight, L"0");
    m_link.m_lightMode = LIGHT_MODE_OFF;
  }
  RefreshLightPage();
  QueueLightWrite();
  return 1;
}

// ---- Single values ----

bool LightPage::ReadShownRow(int profile, LIGHT_DATA& row) {
  return ConfigDatabase::Instance().GetLight(profile, m_link.m_lightMode, row);
}

void LightPage::StoreShownRow(void (*change)(LIGHT_DATA& row, int value), int value) {
  const int profile = TakeProfile();
  LIGHT_DATA row;
  if (!ReadShownRow(profile, row)) return;
  change(row, value);
  ConfigDatabase::Instance().UpdateLight(m_link.m_lightMode, row);
  QueueLightWrite();
}

int LightPage::OnLightBrightnessChanged() {
  if (!m_controls.m_sliderBrightness) return 1;
  StoreShownRow([](LIGHT_DATA& row, int value) { row.brightness = value; },
                m_controls.m_sliderBrightness->GetProgress());
  return 1;
}

int LightPage::OnLightSpeedChanged() {
  if (!m_controls.m_sliderSpeed) return 1;
  StoreShownRow([](LIGHT_DATA& row, int value) { row.speed = value; }, m_controls.m_sliderSpeed->GetProgress());
  return 1;
}

int LightPage::OnLightDirectionChanged(int id) {
  int direction;
  switch (id) {
    case ID_LIGHT_DIR_LEFT:
    case ID_LIGHT_DIR_UP:
    case ID_LIGHT_DIR_IN:
    case ID_LIGHT_DIR_CW:
      direction = 1;
      break;
    case ID_LIGHT_DIR_RIGHT:
    case ID_LIGHT_DIR_DOWN:
    case ID_LIGHT_DIR_OUT:
    case ID_LIGHT_DIR_CCW:
      direction = 0;
      break;
    default:
      return 1;
  }
  StoreShownRow([](LIGHT_DATA& row, int value) { row.direction = value; }, direction);
  return 1;
}

int LightPage::OnLightColorfulChanged(int source) {
  const int profile = TakeProfile();
  LIGHT_DATA row;
  if (!ReadShownRow(profile, row)) return 1;
  row.colorful = m_controls.m_checkColorful && m_controls.m_checkColorful->GetCheck() ? 1 : 0;
  if (row.colorful == 0) {
    // The user's uncheck starts from pure red; a colour source keeps the mode's colour.
    const COLORREF color = source == TESK::NOTIFY_CLICKED ? kDefaultColor : static_cast<COLORREF>(row.color_value);
    ShowEdits(color);
    ApplyLightColor(color);
    row.color_value = static_cast<int>(color);
  }
  ConfigDatabase::Instance().UpdateLight(m_link.m_lightMode, row);
  QueueLightWrite();
  return 1;
}

// ---- Colours ----

void LightPage::ShowEdits(COLORREF color) {
  LightPageDef& c = m_controls;
  if (c.m_editRed) c.m_editRed->SetControlTitle(Decimal(RedOf(color)));
  if (c.m_editGreen) c.m_editGreen->SetControlTitle(Decimal(GreenOf(color)));
  if (c.m_editBlue) c.m_editBlue->SetControlTitle(Decimal(BlueOf(color)));
}

void LightPage::StoreKeyColors(int profile) {
  std::vector<USERLIGHTRGB_DATA> rows;
  if (m_controls.m_keyboardLight) {
    for (const TESK::KEY_INFO* key : m_controls.m_keyboardLight->GetKeyItems()) {
      USERLIGHTRGB_DATA row;
      row.profile = profile;
      row.userlight_id = profile;
      row.key_code = key->key_code;
      row.key_rgb = static_cast<int>(key->color);
      rows.push_back(row);
    }
  }
  ConfigDatabase& db = ConfigDatabase::Instance();
  db.DeleteUserLightRgbs(profile);
  db.InsertUserLightRgbs(rows);
}

void LightPage::ApplyLightColor(COLORREF color) {
  const int profile = Profile();
  if (profile <= 0) return;
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardLight;
  if (m_link.m_lightModeFlags & LIGHT_CONFIG_USER_KEYS) {
    if (m_link.m_lightMode != LIGHT_MODE_USER) return;
    if (picture) picture->SetAllSelectColor(color);
    StoreKeyColors(profile);
    m_link.AppendTask(TASK_WRITE_KEY_COLORS);
    return;
  }
  LIGHT_DATA row;
  if (!ReadShownRow(profile, row)) return;
  if (picture) picture->SetLightModeColor(0, color);
  row.color_value = static_cast<int>(color);
  ConfigDatabase::Instance().UpdateLight(m_link.m_lightMode, row);
  QueueLightWrite();
}

void LightPage::ApplyRgbEdits() {
  LightPageDef& c = m_controls;
  auto value = [](TESK::MEdit* edit) { return edit ? _wtoi(edit->GetEditText()) & 0xFF : 0; };
  ApplyLightColor(static_cast<COLORREF>(value(c.m_editRed) | value(c.m_editGreen) << 8 | value(c.m_editBlue) << 16));
}

void LightPage::DropColorful() {
  TESK::CCheckButton* colorful = m_controls.m_checkColorful;
  if (!colorful || !colorful->GetCheck()) return;
  colorful->SetCheck(0);
  OnLightColorfulChanged(0);
}

int LightPage::OnLightColorPicked() {
  if (!m_controls.m_palette) return 1;
  const COLORREF color = m_controls.m_palette->GetSelectColor();
  ShowEdits(color);
  ApplyLightColor(color);
  DropColorful();
  return 1;
}

int LightPage::OnLightColorButton(int id) {
  TESK::CColorButton* button = m_controls.ColorButton(id);
  if (!button) return 1;
  const COLORREF color = button->GetColor();
  ShowEdits(color);
  ApplyLightColor(color);
  DropColorful();
  return 1;
}

int LightPage::OnColorEdit(int code, TESK::MEdit* edit) {
  if (code != TESK::NOTIFY_TEXTCHANGED || !edit) return 1;
  const int typed = _wtoi(edit->GetEditText());
  const int value = typed < 0 ? 0 : typed > 255 ? 255 : typed;
  if (value != typed) edit->SetControlTitle(Decimal(value));
  ApplyRgbEdits();
  DropColorful();
  return 1;
}

int LightPage::OnLightRedEdit(int code) { return OnColorEdit(code, m_controls.m_editRed); }
int LightPage::OnLightGreenEdit(int code) { return OnColorEdit(code, m_controls.m_editGreen); }
int LightPage::OnLightBlueEdit(int code) { return OnColorEdit(code, m_controls.m_editBlue); }

// ---- Per-key colours ----

int LightPage::SaveUserLightColors(int code) {
  if (code != TESK::NOTIFY_CLICKED || m_link.m_lightMode != LIGHT_MODE_USER) return 1;
  StoreKeyColors(TakeProfile());
  m_link.AppendTask(TASK_WRITE_KEY_COLORS);
  return 1;
}

int LightPage::OnLightSelectButton(int id) {
  TESK::KeyboardCtrl* picture = m_controls.m_keyboardLight;
  if (!picture) return 1;
  if (id == ID_LIGHT_SELECT_NONE) picture->ResetAllItemCheck(0);
  if (id == ID_LIGHT_SELECT_INVERT) picture->InvertSelectItem();
  if (id == ID_LIGHT_SELECT_ALL) picture->ResetAllItemCheck(1);
  return 1;
}

int LightPage::ClearUserLightColors() {
  LightPageDef& c = m_controls;
  const int profile = TakeProfile();
  ConfigDatabase& db = ConfigDatabase::Instance();
  if (c.m_keyboardLight) c.m_keyboardLight->SetAllSelectColor(0);
  db.DeleteUserLightRgbs(profile);
  db.SetConfigValue(profile, kEnableLight, L"1");
  if (c.m_switchLight) c.m_switchLight->SetCheck(1);
  db.SetActiveLightMode(profile, kDefaultActiveMode);
  m_link.m_lightMode = db.GetActiveLightMode(profile);
  if (c.m_lightModeList) c.m_lightModeList->SetCurData(m_link.m_lightMode);
  if (c.m_lightTypeTab) c.m_lightTypeTab->SetCurData(m_link.m_lightMode);
  if (c.m_textLightMode && c.m_lightTypeTab) c.m_textLightMode->SetTitle(c.m_lightTypeTab->GetCurItemText());
  RefreshLightPage();
  QueueLightWrite();
  return 1;
}

int LightPage::ApplyLightPreset(int id) {
  if (id < kFirstPresetItem || id > kLastPresetItem) return 1;
  XmlDocument presets;
  if (!presets.ReadFromFile(m_presetFile, false)) return 1;
  if (!presets.NextElement(L"preconfig_prpfile")) return 1;
  presets.EnterElement();
  const CString name = L"key_light" + Decimal(id - kFirstPresetItem + 1);
  if (!presets.NextElement(name)) return 1;
  // The page's profile, as every other change of the page: the mode selection below writes and
  // shows that profile's rows.
  const int profile = TakeProfile();
  LightPageDef& c = m_controls;
  ConfigDatabase& db = ConfigDatabase::Instance();
  db.DeleteUserLightRgbs(profile);
  if (c.m_keyboardLight) c.m_keyboardLight->ResetAllItemsColor(0);
  presets.EnterElement();
  std::vector<USERLIGHTRGB_DATA> rows;
  while (presets.NextElement(L"item")) {
    USERLIGHTRGB_DATA row;
    row.profile = profile;
    row.userlight_id = profile;
    row.key_code = _wtoi(presets.GetAttribute(L"key_code"));
    row.key_rgb = static_cast<int>(ParseRgbText(presets.GetAttribute(L"key_rgb")));
    rows.push_back(row);
    if (c.m_keyboardLight) c.m_keyboardLight->SetKeyColor(row.key_code, static_cast<COLORREF>(row.key_rgb));
  }
  db.InsertUserLightRgbs(rows);
  if (c.m_lightModeList) c.m_lightModeList->SetCurData(LIGHT_MODE_USER);
  if (c.m_lightTypeTab) c.m_lightTypeTab->SetCurData(LIGHT_MODE_USER);
  OnLightModeSelected(TESK::NOTIFY_CLICKED);
  presets.LeaveElement();
  return 1;
}
