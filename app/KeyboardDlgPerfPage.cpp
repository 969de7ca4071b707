// The main window's performance page: the keyboard picture in performance mode with its key
// selection buttons, the key-travel picture, and a sub-tab strip over three sub-pages
// (trigger travel, switch type, calibration). BuildPerfPage creates the controls in their
// order on page panel 73 and its sub-pages; LayoutPerfPage gives them their rectangles from
// the client size. The page's logic is PerfPage's; the window forwards to it and hands the
// worker's refresh requests to its own thread.
#include "app/KeyboardDlg.h"

#include <initializer_list>
#include <iterator>
#include <vector>

#include "app/AppMessages.h"
#include "app/MainWindowBuild.h"
#include "app/pages/PageMenu.h"
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
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kGreyText = 0xFF808788;
constexpr Gdiplus::ARGB kHintText = 0xFF687289;
constexpr Gdiplus::ARGB kPressHintText = 0xFF687489;
constexpr Gdiplus::ARGB kSplitColour = 0xFFAAAAAA;
constexpr Gdiplus::ARGB kRowBackground = 0xFF393A50;
constexpr Gdiplus::ARGB kSliderTrack = 0xFF687289;
constexpr Gdiplus::ARGB kSliderFill = 0xFF596EFF;
constexpr Gdiplus::ARGB kHiddenButtonText = 0xFF3F4440;
constexpr int kSliderMin = 1, kSliderMax = 110;
constexpr int kLeft = 0, kCentre = 1, kRight = 2, kKeepAlignment = -1;
// The calibration sub-page's item: the key selection buttons are hidden there.
constexpr int kCalibrationItem = 2;

// The switch types' names on the key-travel picture and the switch picker.
constexpr int kSwitchNameTexts[] = {1450, 1451, 1452, 1453};

const TabRow kPerfTabs[] = {
    {0, 1604, L"icon\\perf_tab_trigger_travel.png"},
    {1, 1605, L"icon\\perf_tab_switch_type.png"},
    {2, 1606, L"icon\\perf_tab_calibrate.png"},
};
const TabStrip kPerfStrip = {180, 40, 0, 540, 0, 40, 180, 40};

// The frame's controls that the page's enabling reaches too, in their order.
constexpr UINT kFrameEnableIds[] = {38, 39, 40, 45, 46, 47, 48, 49, 67, 53, 54, 55, 56};

// The two x positions of the right half: C = (W - 190) / 2 and X = C + 200.
int RightC(int W) { return (W - 190) / 2; }
int RightX(int W) { return RightC(W) + 200; }
CRect SubPage(int W, int H) { return CRect(180, H - 365, W - 10, H - 10); }

// The rectangles, in the order LayoutPerfPage sets them. The picture 257 is the frame's.
const PlaceRow kPerfPlaces[] = {
    {264, [](int, int, MControl*) { return CRect(1100, 70, 1220, 100); }},
    {265, [](int, int, MControl*) { return CRect(1220, 70, 1250, 100); }},
    {273, [](int W, int, MControl*) { return CRect(180, 530, W - 10, 532); }},
    {274, [](int W, int H, MControl*) { return CRect(RightC(W) + 180, 532, RightC(W) + 182, H - 15); }},
    {317,
     [](int W, int H, MControl*) {
       const int x0 = (W - 730) / 2;
       return CRect(x0 + 230, H - 365, x0 + 770, H - 325);
     }},
    {318, [](int W, int H, MControl*) { return SubPage(W, H); }},
    {319, [](int W, int H, MControl*) { return SubPage(W, H); }},
    {320, [](int W, int H, MControl*) { return SubPage(W, H); }},
    {259, [](int, int, MControl*) { return CRect(200, 540, 320, 570); }},
    {314, [](int, int, MControl*) { return CRect(340, 540, 440, 570); }},
    {313, [](int, int, MControl*) { return CRect(465, 540, 565, 570); }},
    {312, [](int, int, MControl*) { return CRect(590, 540, 690, 570); }},
    {260, [](int, int, MControl*) { return CRect(200, 590, 320, 620); }},
    {276, [](int, int, MControl*) { return CRect(200, 590, 700, 680); }},
    {308, [](int, int, MControl*) { return CRect(200, 700, 320, 725); }},
    {310, [](int, int, MControl*) { return CRect(320, 700, 365, 725); }},
    {309, [](int, int H, MControl*) { return CRect(200, 730, 700, H - 10); }},
    {282, [](int W, int, MControl*) { return CRect(RightX(W), 540, RightX(W) + 120, 570); }},
    {284, [](int W, int, MControl*) { return CRect(RightX(W) + 280, 540, RightX(W) + 325, 565); }},
    {283, [](int W, int, MControl*) { return CRect(RightX(W), 570, W - 10, 595); }},
    {285, [](int W, int, MControl*) { return CRect(RightX(W), 600, RightX(W) + 280, 630); }},
    {286, [](int W, int, MControl*) { return CRect(RightX(W) + 280, 600, RightX(W) + 325, 625); }},
    // The single-distance row and the press row share their places.
    {288, [](int W, int, MControl*) { return CRect(RightX(W), 643, RightX(W) + 85, 668); }},
    {292, [](int W, int, MControl*) { return CRect(RightX(W) + 90, 643, RightX(W) + 290, 663); }},
    {291, [](int W, int, MControl*) { return CRect(RightX(W) + 295, 640, RightX(W) + 375, 665); }},
    {289, [](int W, int, MControl*) { return CRect(RightX(W) + 380, 640, RightX(W) + 405, 665); }},
    {290, [](int W, int, MControl*) { return CRect(RightX(W), 665, W - 10, 690); }},
    {294, [](int W, int, MControl*) { return CRect(RightX(W), 643, RightX(W) + 85, 668); }},
    {298, [](int W, int, MControl*) { return CRect(RightX(W) + 90, 643, RightX(W) + 290, 663); }},
    {297, [](int W, int, MControl*) { return CRect(RightX(W) + 295, 640, RightX(W) + 375, 665); }},
    {295, [](int W, int, MControl*) { return CRect(RightX(W) + 380, 640, RightX(W) + 405, 665); }},
    {296, [](int W, int, MControl*) { return CRect(RightX(W), 665, W - 10, 690); }},
    {300, [](int W, int, MControl*) { return CRect(RightX(W), 693, RightX(W) + 85, 718); }},
    {304, [](int W, int, MControl*) { return CRect(RightX(W) + 90, 693, RightX(W) + 290, 713); }},
    {303, [](int W, int, MControl*) { return CRect(RightX(W) + 295, 690, RightX(W) + 375, 715); }},
    {301, [](int W, int, MControl*) { return CRect(RightX(W) + 380, 690, RightX(W) + 405, 715); }},
    {302, [](int W, int, MControl*) { return CRect(RightX(W), 715, W - 10, 740); }},
    {305, [](int W, int, MControl*) { return CRect(RightX(W), 750, RightX(W) + 120, 775); }},
    {307, [](int W, int, MControl*) { return CRect(RightX(W) + 120, 750, RightX(W) + 165, 775); }},
    {306, [](int W, int H, MControl*) { return CRect(RightX(W), 780, W - 10, H - 10); }},
    {321, [](int W, int, MControl*) { return CRect(230, 630, W - 20, 700); }},
    {272,
     [](int W, int, MControl*) {
       const int x0 = (W - 680) / 2;
       return CRect(x0 + 180, 560, x0 + 680, 660);
     }},
    {271,
     [](int W, int, MControl*) {
       const int x0 = (W - 330) / 2;
       return CRect(x0 + 180, 680, x0 + 330, 720);
     }},
    {311, [](int W, int H, MControl*) { return SubPage(W, H); }},
};

// A text's colour, font and horizontal alignment.
struct TextLook {
  Gdiplus::ARGB colour;
  const wchar_t* family;  // null: the library's family at this size and style
  int size;               // 0: the library's font
  int style;
  int align;  // kKeepAlignment: the library's
};
constexpr TextLook kLabel = {kWhite, kBold, 16, kBoldStyle, kLeft};
constexpr TextLook kHint = {kHintText, kBold, 12, kBoldStyle, kKeepAlignment};
constexpr TextLook kGreyLabel = {kGreyText, nullptr, 0, 0, kKeepAlignment};

void SetLook(MControlFont* control, const TextLook& look) {
  if (!control) return;
  if (look.size > 0) {
    SetTextLook(control, look.colour, look.family, look.size, look.style);
  } else {
    control->SetTextColor(Gdiplus::Color(look.colour));
  }
  if (look.align != kKeepAlignment) control->SetAlignment(static_cast<UINT>(look.align));
}

template <class Owner>
MText* PageText(Owner* owner, UINT id, bool asControl, const TextLook& look, int textId) {
  const CString title = Text(textId);
  MText* text = asControl ? NewControl<MText>(owner, L"MText", id, title) : NewArea<MText>(owner, L"MText", id, title);
  SetLook(text, look);
  return text;
}
template <class Owner>
MText* Label(Owner* owner, UINT id, int textId, const TextLook& look = kLabel) {
  return PageText(owner, id, false, look, textId);
}
// A value of a distance slider ("0.2mm" until the page loads its values).
MText* ValueText(MTabLayout* page, UINT id, const wchar_t* caption) {
  MText* text = NewArea<MText>(page, L"MText", id, caption);
  SetLook(text, {kWhite, kBold, 14, kBoldStyle, kLeft});
  return text;
}

CRoundArea* Fill(CRoundArea* area, Gdiplus::ARGB colour) {
  if (area) area->SetColor(Gdiplus::Color(colour));
  return area;
}

template <class T>
T* Hidden(T* control, bool hide = true) {
  if (control && hide) control->SetVisible(0);
  return control;
}

MImageButton* ImageButton(MTabLayout* page, UINT id, const wchar_t* image, int tooltipText) {
  auto* button = NewControl<MImageButton>(page, L"MImageButton", id);
  if (!button) return nullptr;
  button->SetImage(image, 1);
  if (tooltipText) button->SetTooltip(Text(tooltipText));
  return button;
}

template <class Owner>
MButton* TextButton(Owner* owner, UINT id, int titleText, const wchar_t* image, Gdiplus::ARGB colour) {
  auto* button = NewControl<MButton>(owner, L"MButton", id, Text(titleText));
  if (!button) return nullptr;
  button->SetImage(image, 4);
  button->SetTextColor(Gdiplus::Color(colour));
  return button;
}

// The key selection buttons: "btn_apply.png", white, Regular 16.
MButton* SelectButton(MTabLayout* page, UINT id, int titleText) {
  MButton* button = TextButton(page, id, titleText, L"btn_apply.png", kWhite);
  SetTextLook(button, kWhite, kRegular, 16, 0);
  return button;
}

CSwitchButton* Switch(MTabLayout* page, UINT id) {
  auto* button = NewControl<CSwitchButton>(page, L"CSwitchButton", id, L"");
  if (button) button->SetImage(L"img_switch_on.png", L"img_switch_off.png", 4);
  return button;
}

CImageButton* ResetButton(MTabLayout* page, UINT id) {
  auto* button = NewControl<CImageButton>(page, L"CImageButton", id);
  if (!button) return nullptr;
  button->SetImage(L"img_btn_reset.png", 4);
  button->SetTooltip(Text(516));
  return button;
}

MSlider* DistanceSlider(MTabLayout* page, UINT id) {
  auto* slider = NewControl<MSlider>(page, L"MSlider", id);
  if (!slider) return nullptr;
  slider->SetTextColor(Gdiplus::Color(kSliderTrack));
  slider->SetSelectColor(Gdiplus::Color(kSliderFill));
  slider->SetShowText(0);
  slider->SetMinProgress(kSliderMin);
  slider->SetMaxProgress(kSliderMax);
  return slider;
}

template <class T>
void SetSwitchNames(T* control) {
  if (!control) return;
  control->SetSwitchName(Text(kSwitchNameTexts[0]), Text(kSwitchNameTexts[1]), Text(kSwitchNameTexts[2]),
                         Text(kSwitchNameTexts[3]));
}

}  // namespace

void KeyboardDlg::NameSwitchTypes() {
  SetSwitchNames(m_keyStroke);
  SetSwitchNames(m_keySwitch);
  // The switch picker draws its names: its picture is made again.
  if (m_keySwitch) m_keySwitch->UpdateControl(1, 0);
}

void KeyboardDlg::BuildPerfPage() {
  MTabLayout* page = m_pagePerf;
  if (!page) return;
  m_keyboardPerf = NewControl<KeyboardCtrl>(page, L"KeyboardCtrl", 257);
  if (m_keyboardPerf) {
    m_keyboardPerf->SetKeyState1Image(L"img_key_normal.png");
    m_keyboardPerf->SetKeyState2Image(L"img_key_hover.png");
    m_keyboardPerf->SetKeyState3Image(L"icon\\img_key3.png");
    m_keyboardPerf->SetKeyboardImage(L"keyboard\\kb_bkg.png");
    SetTextLook(m_keyboardPerf, kWhite, kRegular, 10, 0);
    m_keyboardPerf->EnableFrameSelect(1);
    m_keyboardPerf->InitPrecisionData();
    m_keyboardPerf->SetKeyboardCtrlMode(KBMODE_PERF);
  }
  m_picPerfDropdown = Hidden(NewArea<MPicture>(page, L"MPicture", 261));
  if (m_picPerfDropdown) m_picPerfDropdown->SetImage(L"combobox_device_dropdown2.png", 1);
  m_textPerfProfile = Label(page, 258, 100, kGreyLabel);
  m_comboProfilePerf = NewControl<MComboBox>(page, L"MComboBox", 262);
  if (m_comboProfilePerf) {
    m_comboProfilePerf->SetImage(L"img_combobox.png", 4);
    SetTextLook(m_comboProfilePerf, kGreyText, kRegular, 16, 0);
    m_comboProfilePerf->SetShowEdit(1);
  }
  m_btnPerfProfileMenu = ImageButton(page, 263, L"icon_btn_moreprofile.png", 38);
  if (m_btnPerfProfileMenu) m_btnPerfProfileMenu->SetTextColor(Gdiplus::Color(kWhite));
  m_textPerfPresets = Label(page, 264, 102, {kWhite, kRegular, 14, 0, kRight});
  m_btnPerfPresets = ImageButton(page, 265, L"icon_btn_defaultprofile.png", 103);
  m_btnPerfSwitchType = Hidden(TextButton(page, 315, 1402, L"button.png", kHiddenButtonText));
  m_btnPerfResetRt = Hidden(TextButton(page, 316, 1403, L"button.png", kHiddenButtonText));
  m_btnPerfExport = ImageButton(page, 268, L"icon_btn_export.png", 106);
  m_btnPerfImport = ImageButton(page, 267, L"icon_btn_import.png", 107);
  m_textSwitchType = Label(page, 269, 501, kGreyLabel);
  m_comboSwitchType = NewControl<MComboBox>(page, L"MComboBox", 270);
  if (m_comboSwitchType) {
    m_comboSwitchType->SetImage(L"img_combobox.png", 4);
    m_comboSwitchType->SetTextColor(Gdiplus::Color(kGreyText));
    const int itemTexts[] = {502, 503, 504};
    for (long data = 0; data < 3; ++data) {
      m_comboSwitchType->AddItem(Text(itemTexts[data]), data, nullptr, Gdiplus::Color(0));
    }
    m_comboSwitchType->SetCurSel(0);
  }
  m_areaPerfDivider = Fill(NewArea<CRoundArea>(page, L"CRoundArea", 273), Manager::m_window_bkcolor);
  m_pagePerfTravel = Hidden(NewControl<MTabLayout>(page, L"MTabLayout", 318));
  m_pagePerfSwitch = Hidden(NewControl<MTabLayout>(page, L"MTabLayout", 319));
  m_pagePerfCalib = Hidden(NewControl<MTabLayout>(page, L"MTabLayout", 320));
  m_tabPerf = NewControl<MTabCtrl>(page, L"MTabCtrl", 317);
  if (m_tabPerf) {
    SetTextLook(m_tabPerf, Manager::m_normal_color, kMedium, 16, kBoldStyle);
    MControl* const pages[] = {m_pagePerfTravel, m_pagePerfSwitch, m_pagePerfCalib};
    FillTabs(m_tabPerf, kPerfStrip, kPerfTabs, pages, std::size(kPerfTabs));
  }

  if (MTabLayout* travel = m_pagePerfTravel) {
    m_areaPerfSplit = Fill(NewArea<CRoundArea>(travel, L"CRoundArea", 274), kSplitColour);
    m_textActuationTitle = Label(travel, 260, 526);
    m_textActuationLabel = Label(travel, 275, 508, {kWhite, nullptr, 16, kBoldStyle, kKeepAlignment});
    m_keyStroke = NewControl<KeyStrokeCtrl2>(travel, L"KeyStrokeCtrl2", 276, Text(526));
    if (m_keyStroke) {
      SetTextLook(m_keyStroke, kWhite, kBold, 12, kBoldStyle);
      SetSwitchNames(m_keyStroke);
      m_keyStroke->SetRunTimer(1);
      m_keyStroke->AddMTimer();
    }
    const TextLook rightLabel = {kWhite, nullptr, 16, kBoldStyle, kRight};
    m_textDebugMode = Label(travel, 277, 509, rightLabel);
    m_switchDebugMode = Switch(travel, 278);
    m_textDeadZone = Label(travel, 279, 510, rightLabel);
    m_switchDeadZone = Switch(travel, 280);
    m_btnResetActuation = TextButton(travel, 281, 511, L"btn_apply.png", kWhite);
    m_textRapidTrigger = Label(travel, 282, 512);
    m_switchRapidTrigger = Switch(travel, 284);
    m_textRapidTriggerHint = Label(travel, 283, 513, {kHintText, kBold, 12, 0, kKeepAlignment});
    if (m_textRapidTriggerHint) m_textRapidTriggerHint->EnableMultiLine(0);
    m_textSensitivity = Label(travel, 285, 514);
    m_switchSensitivity = Switch(travel, 286);
    m_areaSensitivity = Fill(NewArea<CRoundArea>(travel, L"CRoundArea", 287), kRowBackground);
    m_textSensitivityPos = Label(travel, 288, 515);
    m_btnResetSensitivity = ResetButton(travel, 289);
    m_textSensitivityHint = Label(travel, 290, 518, {kHintText, kBold, 12, 0, kKeepAlignment});
    m_textSensitivityValue = ValueText(travel, 291, L"0.2mm");
    m_sliderSensitivity = DistanceSlider(travel, 292);
    m_areaRtPress = Fill(NewArea<CRoundArea>(travel, L"CRoundArea", 293), kRowBackground);
    m_textRtPress = Label(travel, 294, 517);
    m_btnResetRtPress = ResetButton(travel, 295);
    m_textRtPressHint = Label(travel, 296, 519, {kPressHintText, kBold, 12, kBoldStyle, kKeepAlignment});
    m_textRtPressValue = ValueText(travel, 297, L"0.2mm");
    m_sliderRtPress = DistanceSlider(travel, 298);
    m_areaRtRelease = Fill(NewArea<CRoundArea>(travel, L"CRoundArea", 299), kRowBackground);
    m_textRtRelease = Label(travel, 300, 520);
    m_btnResetRtRelease = ResetButton(travel, 301);
    m_textRtReleaseHint = Label(travel, 302, 521, kHint);
    m_textRtReleaseValue = ValueText(travel, 303, L"0.5mm");
    m_sliderRtRelease = DistanceSlider(travel, 304);
    // The press and release rows start hidden; the single-distance row is the first choice.
    m_perfPage.ShowPerfExtraControls(0);
    m_textContinuousRt = Label(travel, 305, 522);
    m_switchContinuousRt = Switch(travel, 307);
    m_textContinuousRtHint = Label(travel, 306, 523, kHint);
    if (m_textContinuousRtHint) m_textContinuousRtHint->EnableMultiLine(1);
    m_textBottomRt = Label(travel, 308, 524);
    m_switchBottomRt = Switch(travel, 310);
    m_textBottomRtHint = Label(travel, 309, 525, kHint);
    if (m_textBottomRtHint) m_textBottomRtHint->EnableMultiLine(1);
  }
  if (MTabLayout* switches = m_pagePerfSwitch) {
    m_keySwitch = NewControl<KeySwitchCtrl>(switches, L"KeySwitchCtrl", 321, L"");
    SetTextLook(m_keySwitch, kWhite, kBold, 14, kBoldStyle);
    SetSwitchNames(m_keySwitch);
  }
  if (MTabLayout* calibration = m_pagePerfCalib) {
    m_textCalibHint = Label(calibration, 272, 506, {kWhite, kBold, 16, kBoldStyle, kCentre});
    if (m_textCalibHint) {
      m_textCalibHint->EnableMultiLine(1);
      m_textCalibHint->EnableVCenter(1);
    }
    m_btnCalibrate = TextButton(calibration, 271, 505, L"btn_apply.png", kWhite);
    SetTextLook(m_btnCalibrate, kWhite, kBold, 16, kBoldStyle);
  }

  // Made as controls, not areas: they are drawn above the sub-pages made before them.
  m_areaPerfCover = Hidden(Fill(NewControl<CRoundArea>(page, L"CRoundArea", 311), Manager::m_bottom_bkcolor));
  m_textPerfSelect = PageText(page, 259, true, kLabel, 499);
  m_btnPerfSelectAll = SelectButton(page, 314, 500);
  m_btnPerfSelectNone = SelectButton(page, 312, 1400);
  m_btnPerfSelectInvert = SelectButton(page, 313, 1401);
}

void KeyboardDlg::LayoutPerfPage(CRect client) { PlaceControls(*this, kPerfPlaces, client.right, client.bottom); }

int KeyboardDlg::OnPerfTabChanged(int itemIndex) {
  const int show = itemIndex == kCalibrationItem ? 0 : 1;
  for (MControl* control : std::initializer_list<MControl*>{m_textPerfSelect, m_btnPerfSelectNone,
                                                            m_btnPerfSelectInvert, m_btnPerfSelectAll}) {
    if (control) control->SetVisible(show);
  }
  return 1;
}

int KeyboardDlg::SelectPerfKeys(void (*change)(KeyboardCtrl& keys)) {
  if (m_keyboardPerf) change(*m_keyboardPerf);
  m_perfPage.OnPerfKeySelection(NOTIFY_CLICKED);
  return 1;
}

// ---- The page's operations ----

void KeyboardDlg::RefreshPerfPage() {
  // Without a window there is no page to refresh.
  if (!HasHandle()) return;
  PaintManager* engine = GetPaintManager();
  if (engine->IsWindowThread()) {
    m_perfPage.RefreshPerfPage();
    return;
  }
  // The worker's requests run whole on the window's thread; one waiting request covers the
  // ones that come while it waits, as it reads the store when it runs.
  if (m_perfRefreshPosted.exchange(true)) return;
  const bool posted = engine->PostCallable([this] {
    m_perfRefreshPosted = false;
    m_perfPage.RefreshPerfPage();
  });
  if (!posted) m_perfRefreshPosted = false;
}

void KeyboardDlg::CreateDefaultKeyPerfs(int profile) { m_perfPage.CreateDefaultKeyPerfs(profile); }

std::vector<MControl*> KeyboardDlg::PerfFrameControls() {
  std::vector<MControl*> frame;
  for (UINT id : kFrameEnableIds) {
    if (MControl* control = GetControl(id)) frame.push_back(control);
  }
  return frame;
}

void KeyboardDlg::EnablePerfControls(int enable) { m_perfPage.EnablePerfControls(enable, PerfFrameControls()); }

int KeyboardDlg::OnCalibrationSwitch() { return m_perfPage.OnCalibrationSwitch(m_inputHook, PerfFrameControls()); }

int KeyboardDlg::OnPerfPageProfileChanged() {
  const int profile = m_deviceProfile + 1;
  if (profile < 1) return 0;
  m_curProfile = profile;
  m_selectedProfile = profile;
  for (MComboBox* combo : BuiltProfileCombos()) {
    if (combo != m_comboProfilePerf) combo->SelectData(profile);
  }
  ActivateAndApplyProfile(profile);
  return 1;
}

int KeyboardDlg::ShowPerfPageProfileMenu() {
  if (m_deviceProfile < 0) return 0;
  return ShowPageMenu(GetSafeHwnd(), m_btnPerfProfileMenu, WM_KB_PERF_MENU, kProfileMenuItems, true);
}

// ---- Live travel from the worker ----
// The pictures keep the worker's samples under their own locks and queue their repaints.

void KeyboardDlg::SetKeyStrokeModel(int modelId) {
  OnWindowThread([this, modelId] {
    if (m_keyStroke) m_keyStroke->SetCurDevType(modelId);
  });
}

void KeyboardDlg::SetPerfKeyCalibration(int code, int travel, int calibration, int digits, int offset) {
  WithLiveControls([&] {
    if (m_keyboardPerf) m_keyboardPerf->SetKeyCalibration(code, travel, calibration, digits, offset);
  });
}

void KeyboardDlg::SetPerfKeyActuation(int code, int travel) {
  WithLiveControls([&] {
    if (m_keyboardPerf) m_keyboardPerf->SetKeyActuation(code, travel);
  });
}

void KeyboardDlg::SetKeyStrokeActuation(int travel) {
  WithLiveControls([&] {
    if (m_keyStroke) m_keyStroke->SetKeyActuation(travel);
  });
}
