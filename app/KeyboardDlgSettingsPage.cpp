// The settings page: the version blocks with their check buttons, the language list, the
// autorun and exit-mode options, the maker's site, the debounce and report-rate lists and the
// restore-defaults button, built on the settings panel (74) and placed from the client size;
// the page's handlers; and the window side that shows the device settings read back from the
// keyboard. Controls the table marks "never placed" are built and keep an empty rectangle.
#include <windows.h>

#include <shellapi.h>

#include <iterator>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/MainWindowBuild.h"
#include "app/ProgramFolders.h"
#include "app/UIMessageBox.h"
#include "app/UserRegistry.h"
#include "app/WaitDlg.h"
#include "app/WebsiteAddress.h"
#include "app/pages/KeyTestDlg.h"
#include "device/HidDeviceManager.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kPageFill = 0xFF24252A;
constexpr Gdiplus::ARGB kHintColour = 0xFFA0A0A0;
constexpr int kCheckPauseMs = 100;
constexpr int kRestoreMessage = 280, kRestoreTitle = 281;
// The lighting page's R, G and B edits and the colour a reset leaves in them.
const struct {
  UINT id;
  const wchar_t* text;
} kColourEdits[] = {{152, L"255"}, {153, L"0"}, {154, L"0"}};
const wchar_t kExitGroup[] = L"IDC_SET_STC_EXITMODE";

// A text look: a zero colour keeps the control's colour; without a family, a zero size or
// style keeps the library's.
struct Look {
  Gdiplus::ARGB colour;
  const wchar_t* family;
  int size;
  int style;
};
constexpr Look kHeading = {kWhite, nullptr, 18, kBoldStyle};  // "size 18 bold"
constexpr Look kLabel = {kWhite, kBold, 18, kBoldStyle};      // the Bold family, bold
constexpr Look kRegularText = {kWhite, kRegular, 18, 0};
constexpr Look kLightText = {kWhite, kLight, 18, 0};
constexpr Look kWhiteText = {kWhite, nullptr, 0, 0};
constexpr Look kHint = {kHintColour, nullptr, 0, 0};
constexpr Look kIconCaption = {kWhite, nullptr, 16, 0};
constexpr Look kLink = {0, nullptr, 0, kUnderlineStyle};

template <class T>
T* Styled(T* control, const Look& look) {
  if (!control) return nullptr;
  if (look.colour) control->SetTextColor(Gdiplus::Color(look.colour));
  if (look.family) {
    control->SetFont(look.family, look.size, static_cast<Gdiplus::FontStyle>(look.style));
    return control;
  }
  if (look.size) control->SetFontWidth(look.size);
  if (look.style) control->SetFontStyle(static_cast<Gdiplus::FontStyle>(look.style));
  return control;
}

template <class T>
T* Aligned(T* control, UINT alignment) {
  if (control) control->SetAlignment(alignment);
  return control;
}

template <class T>
T* WithImage(T* control, const wchar_t* image, int frames) {
  if (control) control->SetImage(image, frames);
  return control;
}

MText* Label(MTabLayout* page, UINT id, const CString& text, const Look& look) {
  return Styled(NewArea<MText>(page, L"MText", id, text), look);
}

CRoundArea* Fill(MTabLayout* page, UINT id, Gdiplus::ARGB colour) {
  auto* area = NewArea<CRoundArea>(page, L"CRoundArea", id);
  if (area) area->SetColor(Gdiplus::Color(colour));
  return area;
}

// The two check buttons (333, 334) and the restore button (347).
MButton* ActionButton(MTabLayout* page, UINT id, int textId) {
  return Styled(WithImage(NewControl<MButton>(page, L"MButton", id, Text(textId)), L"button.png", 4), kLabel);
}

// The version texts (326, 329): disabled for the whole run.
CTextButton* VersionText(MTabLayout* page, UINT id, const wchar_t* text) {
  auto* button = Aligned(Styled(NewControl<CTextButton>(page, L"CTextButton", id, text), kRegularText), 0);
  if (button) button->SetEnabled(0);
  return button;
}

MText* StatusText(MTabLayout* page, UINT id) {
  MText* status = Label(page, id, Text(590), kLightText);
  if (status) status->EnableMultiLine(1);
  return status;
}

CSwitchButton* OptionSwitch(MTabLayout* page, UINT id) {
  auto* option = NewControl<CSwitchButton>(page, L"CSwitchButton", id, L"");
  if (option) option->SetImage(L"img_switch_on.png", L"img_switch_off.png", 4);
  return option;
}

CIconButton* IconButton(MTabLayout* page, UINT id, int textId, const wchar_t* icon) {
  auto* button = Styled(NewControl<CIconButton>(page, L"CIconButton", id, Text(textId)), kIconCaption);
  if (button) button->SetIconImage(icon, 1);
  return button;
}

CCheckButton* CheckBox(MTabLayout* page, UINT id, int textId) {
  return Styled(WithImage(NewControl<CCheckButton>(page, L"CCheckButton", id, Text(textId)), L"btn_checkbox.png", 8),
                kRegularText);
}

CRadioButton* ExitRadio(MTabLayout* page, UINT id, int textId) {
  auto* radio = Styled(
      WithImage(NewControl<CRadioButton>(page, L"CRadioButton", id, Text(textId)), L"btn_radiobox.png", 8),
      kRegularText);
  if (radio) radio->SetGroupName(kExitGroup);
  return radio;
}

CTextButton* LinkButton(MTabLayout* page, UINT id, int textId) {
  return Aligned(Styled(NewControl<CTextButton>(page, L"CTextButton", id, Text(textId)), kLink), 0);
}

const ListItem kDebounceItems[] = {{75, 0}, {76, 1}, {77, 2}};
const ListItem kReportRateItems[] = {{80, 1}, {81, 2}, {82, 3}, {83, 4}};

// The page's rectangles, in the order LayoutSettingsPage sets them.
CRect AcrossPage(int W, int top, int bottom) { return CRect(180, top, W - 10, bottom); }
const PlaceRow kSettingsPlaces[] = {
    {322, [](int W, int H, MControl*) { return CRect(180, 70, W - 10, H - 10); }},
    {356, [](int W, int, MControl*) { return AcrossPage(W, 200, 202); }},
    {357, [](int W, int, MControl*) { return AcrossPage(W, 500, 502); }},
    {325, [](int, int, MControl*) { return CRect(200, 100, 300, 125); }},
    {326, [](int, int, MControl*) { return CRect(290, 95, 550, 125); }},
    {327, [](int, int, MControl*) { return CRect(200, 135, 500, 185); }},
    {333, [](int, int, MControl*) { return CRect(500, 100, 700, 145); }},
    {328, [](int, int, MControl*) { return CRect(800, 100, 900, 125); }},
    {329, [](int, int, MControl*) { return CRect(890, 95, 1150, 125); }},
    {330, [](int, int, MControl*) { return CRect(800, 135, 1100, 185); }},
    {334, [](int, int, MControl*) { return CRect(1100, 100, 1300, 145); }},
    {349, [](int, int, MControl*) { return CRect(200, 230, 320, 260); }},
    {350, [](int, int, MControl*) { return CRect(200, 270, 500, 300); }},
    {353, [](int, int, MControl*) { return CRect(200, 350, 320, 380); }},
    {354, [](int, int, MControl*) { return CRect(200, 380, 520, 410); }},
    {355, [](int, int, MControl*) { return CRect(210, 420, 520, 450); }},
    {358, [](int, int, MControl*) { return CRect(800, 230, 920, 260); }},
    {359, [](int, int, MControl*) { return CRect(800, 260, 1120, 290); }},
    {360, [](int, int, MControl*) { return CRect(800, 290, 1120, 320); }},
    {362, [](int, int, MControl*) { return CRect(800, 350, 1150, 380); }},
    {363, [](int, int, MControl*) { return CRect(800, 390, 1150, 420); }},
    {55, [](int, int, MControl*) { return CRect(200, 500, 400, 536); }},
    {54, [](int, int, MControl*) { return CRect(430, 500, 630, 536); }},
    {347, [](int W, int H, MControl*) { return CRect(W - 200, H - 100, W - 50, H - 55); }},
};

}  // namespace

void KeyboardDlg::BuildSettingsPage() {
  MTabLayout* page = m_pageSettings;
  if (!page) return;
  m_comboDebounce = DeviceSettingList(NewControl<MComboBox2>(page, L"MComboBox2", 54), kDebounceItems);
  m_comboReportRate = DeviceSettingList(NewControl<MComboBox2>(page, L"MComboBox2", 55), kReportRateItems);
  m_areaSettings = Fill(page, 322, kPageFill);
  m_areaSettingsDivider1 = Fill(page, 356, Manager::m_window_bkcolor);
  m_areaSettingsDivider2 = Fill(page, 357, Manager::m_window_bkcolor);

  m_textModelTitle = Label(page, 323, Text(550), kHeading);
  m_textModelName = Label(page, 324, L"Vesk75", {kWhite, nullptr, 18, 0});
  m_textSoftwareVersionLabel = Label(page, 325, Text(551), kLabel);
  m_btnSoftwareVersion = VersionText(page, 326, L"V1.0.0.9 (2024-12-06)");
  m_textSoftwareStatus = StatusText(page, 327);
  m_textFirmwareVersionLabel = Label(page, 328, Text(591), kLabel);
  m_btnFirmwareVersion = VersionText(page, 329, L"V1.0.1 (2024-02-05)");
  m_textFirmwareStatus = StatusText(page, 330);

  m_textSwitchFlux = Label(page, 331, L"选择当前实装轴体磁通量", kHeading);
  if (m_textSwitchFlux) m_textSwitchFlux->SetVisible(0);
  m_comboSwitchFlux = Styled(WithImage(NewControl<MComboBox>(page, L"MComboBox", 332), L"img_combobox.png", 4),
                             kWhiteText);
  if (m_comboSwitchFlux) {
    m_comboSwitchFlux->AddItem(L"750gs(默认)", 1, nullptr, Gdiplus::Color(0));
    m_comboSwitchFlux->SetCurSel(0);
    m_comboSwitchFlux->SetVisible(0);
  }

  m_btnCheckSoftware = ActionButton(page, 333, 1000);
  m_btnCheckFirmware = ActionButton(page, 334, 1001);
  m_picKeyboardModel = WithImage(NewArea<MPicture>(page, L"MPicture", 335), L"keyboard\\kb68.png", 1);

  m_textOption1 = Label(page, 336, Text(552), kHeading);
  m_switchOption1 = OptionSwitch(page, 337);
  m_textOption1Hint = Label(page, 338, Text(553), kHint);
  m_textOption2 = Label(page, 339, Text(554), kHeading);
  m_switchOption2 = OptionSwitch(page, 340);
  m_textOption2Hint = Label(page, 341, Text(555), kHint);
  m_textOption3 = Label(page, 342, Text(556), kHeading);
  m_switchOption3 = OptionSwitch(page, 343);
  m_textOption3Hint = Label(page, 344, Text(557), kHint);

  m_btnExportAllProfiles = IconButton(page, 345, 558, L"icon\\icon_exportallprofile.png");
  m_btnImportAllProfiles = IconButton(page, 346, 559, L"icon\\icon_importallprofile.png");
  m_btnRestoreDefaults = ActionButton(page, 347, 560);
  m_btnCopyDebugInfo = WithImage(IconButton(page, 348, 561, L"icon\\icon_copydebuginfo.png"), L"btn_apply.png", 4);

  m_textLanguage = Label(page, 349, Text(562), kLabel);
  m_comboLanguage = Styled(WithImage(NewControl<MComboBox>(page, L"MComboBox", 350), L"img_language_combobx.png", 4),
                           {kWhite, nullptr, 20, 0});
  if (m_comboLanguage) {
    m_comboLanguage->AddItem(L"简体中文", 2052, nullptr, Gdiplus::Color(0));
    m_comboLanguage->AddItem(L"English", 1033, nullptr, Gdiplus::Color(0));
  }
  m_textExtraOption = Label(page, 351, Text(563), kLabel);
  m_comboExtraOption = Styled(WithImage(NewControl<MComboBox>(page, L"MComboBox", 352), L"img_combobox.png", 4),
                              kWhiteText);
  if (m_comboExtraOption) {
    m_comboExtraOption->AddItem(Text(580), 0, nullptr, Gdiplus::Color(0));
    m_comboExtraOption->SetCurSel(0);
  }

  m_textAutorun = Label(page, 353, Text(564), kLabel);
  m_checkAutorun = CheckBox(page, 354, 565);
  m_checkAutorunMinimized = CheckBox(page, 355, 566);
  m_textExitMode = Label(page, 358, Text(567), kLabel);
  m_radioExitToTray = ExitRadio(page, 359, 568);
  m_radioExitQuit = ExitRadio(page, 360, 569);
  m_picAboutLogo = WithImage(NewArea<MPicture>(page, L"MPicture", 361), L"logo\\about_logo.png", 1);
  m_textWebsite = Aligned(Label(page, 362, Text(570), kLabel), 0);
  m_btnWebsiteLink = Aligned(Styled(NewControl<CTextButton>(page, L"CTextButton", 363), kRegularText), 0);
  m_picQrCode = WithImage(NewArea<MPicture>(page, L"MPicture", 380), L"icon\\WeChat_QR_code.png", 1);
  m_textQrCode = Aligned(Label(page, 381, Text(596), kLabel), 1);

  m_textHelpTitle1 = Label(page, 364, Text(592), kHeading);
  m_textHelpLine1 = Label(page, 365, Text(571), kWhiteText);
  m_textHelpLine2 = Label(page, 366, Text(572), kWhiteText);
  m_textHelpLine3 = Label(page, 367, Text(573), kWhiteText);
  m_textHelpTitle2 = Label(page, 368, Text(574), kHeading);
  m_textHelpTitle3 = Label(page, 370, Text(575), kHeading);
  m_textKeyTestEntry = Label(page, 372, Text(576), kHeading);
  m_btnKeyTestEntry = LinkButton(page, 373, 577);
  m_textHelpTitle4 = Label(page, 374, Text(578), kHeading);
  m_btnHelpLink = LinkButton(page, 375, 579);
  m_textHelpTitle5 = Label(page, 376, Text(581), kHeading);
  m_textHelpTitle6 = Label(page, 378, Text(582), kHeading);
  m_textAppCaption = Label(page, 384, CaptionText(2), {kWhite, nullptr, 20, 0});

  ShowStoredSettings();
}

void KeyboardDlg::ShowStoredSettings() {
  if (m_comboLanguage) m_comboLanguage->SelectData(CurrentLanguage);
  if (RunValueExists()) {
    if (m_checkAutorun) m_checkAutorun->SetCheck(1);
    if (m_checkAutorunMinimized) m_checkAutorunMinimized->SetCheck(ReadRegistryInt(L"autorun_minimize") == 1);
  } else if (m_checkAutorunMinimized) {
    m_checkAutorunMinimized->SetEnabled(0);
  }
  const bool hides = ReadRegistryInt(L"exit_mode") == 1;
  if (CRadioButton* radio = hides ? m_radioExitToTray : m_radioExitQuit) radio->SetCheck(1);
}

void KeyboardDlg::LayoutSettingsPage(CRect client) {
  PlaceControls(*this, kSettingsPlaces, client.right, client.bottom);
}

// ---- The page's handlers ----

int KeyboardDlg::OnAutorunSwitch() {
  if (!m_checkAutorun) return 0;
  // A Run key that does not open changes nothing in the registry; the box keeps the user's
  // choice all the same.
  if (m_checkAutorun->GetCheck()) {
    if (m_checkAutorunMinimized) m_checkAutorunMinimized->SetEnabled(1);
    WriteRunValue(AutorunCommand());
    return 1;
  }
  if (m_checkAutorunMinimized) {
    m_checkAutorunMinimized->SetCheck(0);
    m_checkAutorunMinimized->SetEnabled(0);
  }
  WriteRegistryString(L"autorun_minimize", L"0");
  DeleteRunValue();
  return 1;
}

int KeyboardDlg::OnAutorunMinimizeSwitch() {
  if (!m_checkAutorunMinimized) return 0;
  WriteRegistryString(L"autorun_minimize", m_checkAutorunMinimized->GetCheck() ? L"1" : L"0");
  return 1;
}

int KeyboardDlg::OnExitModeChanged() {
  const bool hides = m_radioExitToTray && m_radioExitToTray->GetCheck();
  if (m_btnClose) m_btnClose->SetTooltip(Text(hides ? kCloseHidesText : kCloseEndsText));
  WriteRegistryString(L"exit_mode", hides ? L"1" : L"0");
  return 1;
}

int KeyboardDlg::RequestCheck(MButton* button, int taskId) {
  if (button) button->SetEnabled(0);
  AppendTask(taskId);
  Sleep(kCheckPauseMs);
  return 1;
}

int KeyboardDlg::RequestSoftwareCheck() { return RequestCheck(m_btnCheckSoftware, TASK_CHECK_SOFTWARE); }

int KeyboardDlg::RequestFirmwareCheck() { return RequestCheck(m_btnCheckFirmware, TASK_CHECK_FIRMWARE); }

void KeyboardDlg::ShowWebsiteLink() {
  if (m_btnWebsiteLink) m_btnWebsiteLink->SetTitle(WebsiteHost(m_websiteUrl));
}

int KeyboardDlg::OpenWebsite() {
  if (!WebsiteHost(m_websiteUrl).IsEmpty()) {
    ::ShellExecuteW(nullptr, L"open", m_websiteUrl, nullptr, nullptr, SW_SHOWNORMAL);
  }
  return 1;
}

int KeyboardDlg::RestoreDefaults() {
  if (ShowMessageBox(GetSafeHwnd(), Text(kRestoreMessage), Text(kRestoreTitle), CUIMessageBox::kTwoButtons) != 1) {
    return 0;
  }
  ResetShellSettings();
  if (!m_connected) return 0;
  {
    // The store is replaced under the device lock, so no device task runs into it meanwhile.
    auto device = LockDevice();
    const int index = m_modelComboIndex;
    if (index < 0 || index >= static_cast<int>(m_models.size())) return 0;
    const DEVICE_MODEL model = m_models[static_cast<size_t>(index)];
    ConfigDatabase& store = ConfigDatabase::Instance();
    store.Close();
    store.RemoveFile(GetDataFolder(), model.name);
    store.Open(GetDataFolder(), model.name);
    SelectModel(model.modelId);
    FillLightModeCombo();
  }
  RunWaitDialog(*this, GetSafeHwnd(), TASK_FACTORY_RESET);
  return 1;
}

int KeyboardDlg::ShowKeyTest() {
  if (m_keyTestDlg) {
    HWND shown = m_keyTestDlg->GetSafeHwnd();
    ::SetForegroundWindow(shown);
    ::BringWindowToTop(shown);
    return 1;
  }
  KeyTestDlg dialog;
  if (!dialog.CreateCentered(GetSafeHwnd())) return 1;
  m_keyTestDlg = &dialog;
  dialog.ShowModal2(SW_SHOW);
  m_keyTestDlg = nullptr;
  dialog.DestroyWindow();
  return 1;
}

// The close button ends the program again, and the page and its tooltip say so.
void KeyboardDlg::ResetShellSettings() {
  WriteRegistryString(L"exit_mode", L"0");
  if (m_radioExitQuit) m_radioExitQuit->SetCheck(1);
  if (m_btnClose) m_btnClose->SetTooltip(Text(kCloseEndsText));
  for (const auto& edit : kColourEdits) {
    if (auto* control = dynamic_cast<MEdit*>(GetControl(edit.id))) control->SetEditText(edit.text);
  }
}

// ---- The window side of the device settings (worker or UI thread) ----

// The stored values select their items, and the firmware text shows the connected keyboard's
// version, on the window's thread, where the controls live and die.
void KeyboardDlg::RefreshDeviceSettings() {
  const struct {
    MComboBox2* KeyboardDef::*list;
    const wchar_t* key;
  } lists[] = {{&KeyboardDef::m_comboTickRate, L"tick_rate"},
               {&KeyboardDef::m_comboDebounce, L"debounce_level"},
               {&KeyboardDef::m_comboReportRate, L"reporte_rate"},
               {&KeyboardDef::m_comboTachyonMode, L"perf_tachyon_mode"}};
  for (const auto& entry : lists) {
    CString value;
    if (!ConfigDatabase::Instance().GetConfigValue(0, entry.key, value)) continue;
    const long data = _wtol(value);
    OnWindowThread([this, list = entry.list, data] {
      if (this->*list) (this->*list)->SelectData(data);
    });
  }
  const CString firmware = m_hid.GetFirmwareVersionText();
  OnWindowThread([this, firmware] {
    if (m_btnFirmwareVersion) m_btnFirmwareVersion->SetTitle(firmware);
  });
}

void KeyboardDlg::SelectReportRateData(int rate) {
  OnWindowThread([this, rate] {
    if (m_comboReportRate) m_comboReportRate->SelectData(rate);
  });
}

void KeyboardDlg::SelectDebounceIndex(int level) {
  OnWindowThread([this, level] {
    if (m_comboDebounce) m_comboDebounce->SetCurSel(level);
  });
}

// The model's name, then the keyboard's product string once one is reported.
void KeyboardDlg::SetModelCaption(const CString& name) {
  OnWindowThread([this, name] {
    if (m_textModelName) m_textModelName->SetTitle(name);
  });
}

void KeyboardDlg::SetDeviceNameCaption(const CString& product) { SetModelCaption(product); }

void KeyboardDlg::EnableCheckSoftwareButton() {
  OnWindowThread([this] {
    if (m_btnCheckSoftware) m_btnCheckSoftware->SetEnabled(1);
  });
}

void KeyboardDlg::EnableCheckFirmwareButton() {
  OnWindowThread([this] {
    if (m_btnCheckFirmware) m_btnCheckFirmware->SetEnabled(1);
  });
}
