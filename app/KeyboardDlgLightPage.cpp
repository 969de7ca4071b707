// The lighting page (panel 71) with its music controls on the back-light sub-page (189): the
// controls, built once by InitUI with empty rectangles and placed by UISize (the lighting
// picture 119 is placed with the frame), the page's two menus and its profile list, and the
// window side of the lighting that the device link calls. The page's operations are
// LightPage's.
#include "app/KeyboardDlg.h"

#include <iterator>
#include <map>

#include "app/AppMessages.h"
#include "app/MainWindowBuild.h"
#include "app/pages/LightModes.h"
#include "app/pages/PageMenu.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kProfileText = 0xFF808788;
constexpr Gdiplus::ARGB kTitleText = 0xFFA3ACB9;
constexpr Gdiplus::ARGB kSplitColour = 0xFFAAAAAA;
constexpr Gdiplus::ARGB kSeparatorColour = 0xFF969696;
constexpr Gdiplus::ARGB kPaletteFill = 0xFFF7F7F7;
constexpr Gdiplus::ARGB kPaletteFrame = 0xFFA0A0A0;
constexpr Gdiplus::ARGB kSliderFill = 0xFF596EFF;
constexpr Gdiplus::ARGB kRedText = 0xFFFF0303;
constexpr Gdiplus::ARGB kGreenText = 0xFF07F544;
constexpr Gdiplus::ARGB kBlueText = 0xFF1368FF;
constexpr COLORREF kEditBackground = 0x352927;
constexpr int kModeListContentHeight = 658;
const wchar_t kColorGroup[] = L"IDC_LIGHT_STC_DEFAULTCOLOR";
const wchar_t kArrowGroup[] = L"GROUP_LIGHT_DIRECTION";

// The page's menus are at least 150 wide; the preset menu's items (item id, text id).
constexpr int kLightMenuWidth = 150;
const PageMenuItems kPresetMenuItems = {{202, 242}, {203, 243}, {204, 244}, {205, 245}, {206, 246}, {207, 247}};

// The sub-pages' tab strip: back light (with the music controls) and logo light.
const TabStrip kLightStrip = {150, 40, 0, 300, 0, 40, 150, 40};
const TabRow kLightTabs[] = {{0, 1750, L"icon\\light_tab_bklight.png"}, {1, 1751, L"icon\\light_switch_logolight.png"}};

// The music colour styles in list order: (language text, style).
struct ComboRow {
  int textId;
  long data;
};
const ComboRow kMusicColorItems[] = {{637, 0}, {631, 6},  {632, 7},  {633, 8},  {634, 9},  {638, 11},
                                     {635, 10}, {626, 1}, {627, 2}, {628, 3}, {629, 4}, {630, 5}};

MText* Label(MTabLayout* page, UINT id, const CString& text, Gdiplus::ARGB colour, const wchar_t* family, int size,
             int style) {
  auto* label = NewArea<MText>(page, L"MText", id, text);
  SetTextLook(label, colour, family, size, style);
  return label;
}

// A white Regular 16 caption, centred for the page's row labels.
MText* RowLabel(MTabLayout* page, UINT id, int textId, UINT align) {
  MText* label = Label(page, id, Text(textId), kWhite, kRegular, 16, 0);
  if (label) label->SetAlignment(align);
  return label;
}

MImageButton* PictureButton(MTabLayout* page, UINT id, const wchar_t* image, int tooltipText) {
  auto* button = NewControl<MImageButton>(page, L"MImageButton", id);
  if (button) {
    button->SetImage(image, 1);
    button->SetTooltip(Text(tooltipText));
  }
  return button;
}

MButton* SelectionButton(MTabLayout* page, UINT id, int textId) {
  auto* button = NewControl<MButton>(page, L"MButton", id, Text(textId));
  if (button) button->SetImage(L"btn_apply.png", 4);
  SetTextLook(button, kWhite, kRegular, 14, 0);
  return button;
}

CRoundArea* Area(MTabLayout* page, UINT id, Gdiplus::ARGB colour) {
  auto* area = NewArea<CRoundArea>(page, L"CRoundArea", id);
  if (area) area->SetColor(Gdiplus::Color(colour));
  return area;
}

MSlider* Slider(MTabLayout* page, UINT id, int maximum, int position) {
  auto* slider = NewControl<MSlider>(page, L"MSlider", id);
  if (!slider) return nullptr;
  slider->SetTextColor(Gdiplus::Color(kWhite));
  slider->SetShowText(0);
  slider->SetSelectColor(Gdiplus::Color(kSliderFill));
  slider->SetMinProgress(0);
  slider->SetMaxProgress(maximum);
  slider->SetProgress(position);
  return slider;
}

CRadioButton* Radio(MTabLayout* page, UINT id, const wchar_t* image, const wchar_t* group) {
  auto* radio = NewControl<CRadioButton>(page, L"CRadioButton", id);
  if (!radio) return nullptr;
  radio->SetImage(image, 8);
  if (group) radio->SetGroupName(group);
  return radio;
}

// One of the in/out and rotation radios: tooltip, Medium 12, the library's default group.
CRadioButton* ShapeRadio(MTabLayout* page, UINT id, const wchar_t* image, int tooltipText) {
  CRadioButton* radio = Radio(page, id, image, nullptr);
  if (radio) radio->SetTooltip(Text(tooltipText));
  SetTextLook(radio, kWhite, kMedium, 12, 0);
  return radio;
}

MEdit* ColorEdit(MTabLayout* page, UINT id, Gdiplus::ARGB colour) {
  auto* edit = NewControl<MEdit>(page, L"MEdit", id, L"");
  if (!edit) return nullptr;
  edit->SetImage(L"img_edit.png", 4);
  SetTextLook(edit, colour, nullptr, 20, 0);
  edit->SetEditBKColor(kEditBackground);
  edit->SetAlignment(DT_CENTER);
  edit->SetNumberOnly(1);
  edit->SetLimitText(3);
  return edit;
}

MComboBox* MusicCombo(MTabLayout* page, UINT id) {
  auto* combo = NewControl<MComboBox>(page, L"MComboBox", id);
  if (!combo) return nullptr;
  combo->SetImage(L"img_language_combobx.png", 4);
  SetTextLook(combo, kWhite, kMedium, 16, 0);
  return combo;
}

CString Decimal(int value) {
  CString text;
  text.Format(L"%d", value);
  return text;
}

// ---- Rectangles ----
CRect Fixed(int left, int top, int right, int bottom) { return CRect(left, top, right, bottom); }
CRect SubPage(int W, int H, MControl*) { return CRect(180, H - 365, W - 10, H - 10); }
CRect LeftRadio(int, int, MControl*) { return CRect(320, 770, 373, 802); }
CRect RightRadio(int, int, MControl*) { return CRect(400, 770, 453, 802); }
CRect Swatch(int n) {
  const int x = 1130 + 40 * (n % 5), y = 580 + 40 * (n / 5);
  return CRect(x, y, x + 30, y + 30);
}
template <int N>
CRect SwatchAt(int, int, MControl*) {
  return Swatch(N);
}

const PlaceRow kLightPagePlaces[] = {
    {182, [](int, int, MControl*) { return Fixed(510, 70, 585, 95); }},
    {181, [](int, int, MControl*) { return Fixed(610, 70, 685, 95); }},
    {180, [](int, int, MControl*) { return Fixed(710, 70, 785, 95); }},
    {123, [](int, int, MControl*) { return Fixed(1100, 70, 1220, 100); }},
    {124, [](int, int, MControl*) { return Fixed(1220, 70, 1250, 100); }},
    {125, [](int, int, MControl*) { return Fixed(1260, 70, 1290, 100); }},
    {128, [](int W, int, MControl*) { return Fixed(180, 530, W - 10, 532); }},
    {129,
     [](int W, int H, MControl*) {
       const int x0 = (W - 180) / 2;
       return Fixed(x0 + 180, 532, x0 + 182, H - 15);
     }},
    {188,
     [](int W, int H, MControl*) {
       const int x0 = (W - 480) / 2;
       return Fixed(x0 + 205, H - 365, x0 + 505, H - 325);
     }},
    {189, SubPage},
    {190, SubPage},
    {131, [](int, int, MControl*) { return Fixed(180, 540, 280, 570); }},
    {132, [](int, int, MControl*) { return Fixed(320, 540, 364, 570); }},
    {133, [](int, int H, MControl*) { return Fixed(190, H - 280, 570, H - 30); }},
    {191, [](int, int, MControl*) { return Fixed(180, 580, 280, 610); }},
    {192, [](int, int, MControl*) { return Fixed(180, 620, 280, 650); }},
    {193, [](int, int, MControl*) { return Fixed(320, 620, 720, 650); }},
    {187, [](int, int, MControl*) { return Fixed(320, 580, 690, 610); }},
    {136, [](int, int, MControl*) { return Fixed(180, 670, 280, 700); }},
    {137, [](int, int, MControl*) { return Fixed(320, 677, 550, 705); }},
    {138, [](int, int, MControl*) { return Fixed(180, 720, 280, 750); }},
    {139, [](int, int, MControl*) { return Fixed(320, 727, 550, 750); }},
    {140, [](int, int, MControl*) { return Fixed(180, 770, 280, 800); }},
    {141, LeftRadio},
    {143, LeftRadio},
    {183, LeftRadio},
    {185, LeftRadio},
    {142, RightRadio},
    {144, RightRadio},
    {184, RightRadio},
    {186, RightRadio},
    {148, [](int, int, MControl*) { return Fixed(850, 580, 1030, 760); }},
    {149, [](int, int H, MControl*) { return Fixed(800, H - 60, 822, H - 30); }},
    {150, [](int, int H, MControl*) { return Fixed(900, H - 60, 922, H - 30); }},
    {151, [](int, int H, MControl*) { return Fixed(1000, H - 60, 1022, H - 30); }},
    {152, [](int, int H, MControl*) { return Fixed(830, H - 58, 895, H - 34); }},
    {153, [](int, int H, MControl*) { return Fixed(930, H - 58, 995, H - 34); }},
    {154, [](int, int H, MControl*) { return Fixed(1030, H - 58, 1095, H - 34); }},
    {135, [](int, int, MControl*) { return Fixed(1130, 540, 1260, 570); }},
    {145, [](int, int, MControl*) { return Fixed(1260, 540, 1290, 570); }},
    {155, SwatchAt<0>},  {156, SwatchAt<1>},  {157, SwatchAt<2>},  {158, SwatchAt<3>},  {159, SwatchAt<4>},
    {160, SwatchAt<5>},  {161, SwatchAt<6>},  {162, SwatchAt<7>},  {163, SwatchAt<8>},  {164, SwatchAt<9>},
    {165, SwatchAt<10>}, {166, SwatchAt<11>}, {167, SwatchAt<12>}, {168, SwatchAt<13>}, {169, SwatchAt<14>},
    {170, SwatchAt<15>}, {171, SwatchAt<16>}, {172, SwatchAt<17>}, {173, SwatchAt<18>}, {174, SwatchAt<19>},
    {175, SwatchAt<20>}, {176, SwatchAt<21>}, {177, SwatchAt<22>}, {178, SwatchAt<23>}, {179, SwatchAt<24>},
};

const PlaceRow kMusicPlaces[] = {
    {194, [](int, int, MControl*) { return Fixed(820, 540, 980, 570); }},
    {195, [](int, int, MControl*) { return Fixed(820, 575, 1100, 605); }},
    {196, [](int, int, MControl*) { return Fixed(820, 610, 1020, 640); }},
    {197, [](int, int, MControl*) { return Fixed(820, 645, 1100, 685); }},
    {198, [](int, int, MControl*) { return Fixed(820, 675, 1020, 705); }},
    {199, [](int, int, MControl*) { return Fixed(820, 710, 1100, 740); }},
    {200, [](int, int, MControl*) { return Fixed(820, 745, 1020, 775); }},
    {201, [](int, int, MControl*) { return Fixed(820, 780, 1100, 820); }},
};

}  // namespace

// ---- Building and placing ----

void KeyboardDlg::BuildLightPage() {
  MTabLayout* page = m_pageLight;
  if (!page) return;
  m_keyboardLight = NewControl<KeyboardCtrl>(page, L"KeyboardCtrl", 119);
  if (m_keyboardLight) {
    m_keyboardLight->SetKeyState1Image(L"img_key_normal.png");
    m_keyboardLight->SetKeyState2Image(L"img_key_hover.png");
    m_keyboardLight->SetKeyState3Image(L"icon\\img_key3.png");
    m_keyboardLight->SetKeyboardImage(L"keyboard\\kb_bkg.png");
    m_keyboardLight->SetFont(kRegular, 10, Gdiplus::FontStyleRegular);
    m_keyboardLight->SetKeyboardCtrlMode(KBMODE_LIGHT);
  }
  m_textLightProfile = Label(page, 120, Text(100), kProfileText, kMedium, 14, 0);
  m_comboProfileLight = NewControl<MComboBox>(page, L"MComboBox", 121);
  if (m_comboProfileLight) {
    m_comboProfileLight->SetImage(L"img_combobox.png", 4);
    SetTextLook(m_comboProfileLight, kProfileText, kRegular, 14, 0);
    m_comboProfileLight->SetShowEdit(1);
    m_comboProfileLight->SetCurSel(0);
  }
  m_btnLightProfileMenu = PictureButton(page, 122, L"icon_btn_moreprofile.png", 38);
  m_textLightPresets = Label(page, 123, Text(102), kWhite, kRegular, 14, 0);
  if (m_textLightPresets) m_textLightPresets->SetAlignment(DT_RIGHT);
  m_btnLightPresets = PictureButton(page, 124, L"icon_btn_defaultprofile.png", 103);
  m_btnLightClear = PictureButton(page, 125, L"icon_btn_reset.png", 105);
  m_btnLightExport = PictureButton(page, 127, L"icon_btn_export.png", 106);
  m_btnLightImport = PictureButton(page, 126, L"icon_btn_import.png", 107);
  m_btnLightSelectNone = SelectionButton(page, 180, 1400);
  m_btnLightSelectInvert = SelectionButton(page, 181, 1401);
  m_btnLightSelectAll = SelectionButton(page, 182, 500);
  m_areaLightDivider = Area(page, 128, Manager::m_window_bkcolor);
  m_areaLightSplit = Area(page, 129, kSplitColour);
  m_areaLightSeparator = Area(page, 130, kSeparatorColour);

  m_pageLightBack = NewControl<MTabLayout>(page, L"MTabLayout", 189);
  m_pageLightLogo = NewControl<MTabLayout>(page, L"MTabLayout", 190);
  for (MTabLayout* sub : {m_pageLightBack, m_pageLightLogo}) {
    if (sub) sub->SetVisible(0);
  }
  m_tabLight = NewControl<MTabCtrl>(page, L"MTabCtrl", 188);
  if (m_tabLight) {
    SetTextLook(m_tabLight, Manager::GetNormalColor().GetValue(), kMedium, 16, kBoldStyle);
    MControl* const pages[] = {m_pageLightBack, m_pageLightLogo};
    FillTabs(m_tabLight, kLightStrip, kLightTabs, pages, std::size(kLightTabs));
  }

  m_textLightTypeLabel = RowLabel(page, 191, 1800, DT_CENTER);
  m_textLightModeLabel = RowLabel(page, 192, 1801, DT_CENTER);
  m_textLightMode = Label(page, 193, L"测试灯光", kWhite, kRegular, 16, 0);
  if (m_textLightMode) m_textLightMode->SetAlignment(DT_LEFT);
  m_textLightSwitch = RowLabel(page, 131, 600, DT_CENTER);
  m_switchLight = NewControl<CSwitchButton>(page, L"CSwitchButton", 132, L"");
  if (m_switchLight) m_switchLight->SetImage(L"img_switch_on.png", L"img_switch_off.png", 4);
  m_lightModeList = NewControl<MListBoxEx>(page, L"MListBoxEx", 133);
  if (m_lightModeList) {
    SetTextLook(m_lightModeList, kWhite, kMedium, 18, 0);
    m_lightModeList->SetAllItemHeight(kModeListContentHeight);
    m_lightModeList->SetVisible(0);
  }
  m_lightTypeTab = NewControl<LightTypeTab>(page, L"LightTypeTab", 187);
  if (m_lightTypeTab) {
    SetTextLook(m_lightTypeTab, kWhite, kMedium, 16, 0);
    m_lightTypeTab->SetItemWidthAndHeight(40, 30);
    m_lightTypeTab->SetIconFile(L"icon\\light_type_tab_left.png", L"icon\\light_type_tab_right.png", 1, 1);
  }
  m_textLightEffectTitle = Label(page, 134, Text(601), kTitleText, kBold, 20, kBoldStyle);
  m_textColorful = Label(page, 135, Text(1802), kWhite, kMedium, 14, 0);
  m_checkColorful = NewControl<CCheckButton>(page, L"CCheckButton", 145, L"");
  if (m_checkColorful) {
    m_checkColorful->SetTextColor(Gdiplus::Color(kTitleText));
    m_checkColorful->SetImage(L"btn_checkbox.png", 8);
  }
  m_textLightColorTitle = Label(page, 146, Text(602), kTitleText, kBold, 20, kBoldStyle);
  if (m_textLightColorTitle) m_textLightColorTitle->SetVisible(0);
  m_areaPalette = Area(page, 147, kPaletteFill);
  if (m_areaPalette) m_areaPalette->SetFrame(1, Gdiplus::Color(kPaletteFrame), 1);
  m_palette = NewControl<CirclePalette>(page, L"CirclePalette", 148);
  if (m_palette) m_palette->SetImage(L"img_palette.png", 1);
  m_textRed = Label(page, 149, L"R", kRedText, kBold, 20, kBoldStyle);
  m_textGreen = Label(page, 150, L"G", kGreenText, kBold, 20, kBoldStyle);
  m_textBlue = Label(page, 151, L"B", kBlueText, kBold, 20, kBoldStyle);
  m_editRed = ColorEdit(page, 152, kRedText);
  m_editGreen = ColorEdit(page, 153, kGreenText);
  m_editBlue = ColorEdit(page, 154, kBlueText);
  for (int n = 0; n < kLightColorButtons; ++n) {
    auto* swatch = NewControl<CColorButton>(page, L"CColorButton", ID_LIGHT_COLOR_FIRST + n);
    if (swatch) {
      swatch->SetColor(kLightSwatchColors[n]);
      swatch->SetGroupName(kColorGroup);
    }
    m_btnColor[n] = swatch;
  }
  m_textBrightness = RowLabel(page, 136, 603, DT_CENTER);
  m_sliderBrightness = Slider(page, 137, 100, 50);
  m_textSpeed = RowLabel(page, 138, 604, DT_CENTER);
  m_sliderSpeed = Slider(page, 139, 4, 4);
  m_textDirection = RowLabel(page, 140, 605, DT_CENTER);
  m_radioDirLeft = Radio(page, 141, L"img_direction_left.png", kArrowGroup);
  m_radioDirRight = Radio(page, 142, L"img_direction_right.png", kArrowGroup);
  m_radioDirUp = Radio(page, 143, L"img_direction_top.png", kArrowGroup);
  m_radioDirDown = Radio(page, 144, L"img_direction_bottom.png", kArrowGroup);
  m_radioDirIn = ShapeRadio(page, 183, L"within.png", 1700);
  m_radioDirOut = ShapeRadio(page, 184, L"outside.png", 1701);
  m_radioDirCw = ShapeRadio(page, 185, L"clockwise.png", 1702);
  m_radioDirCcw = ShapeRadio(page, 186, L"anticlockwise.png", 1703);

  // The edits start with the palette's colour (red).
  const COLORREF start = m_palette ? m_palette->GetSelectColor() : static_cast<COLORREF>(kDefaultColor);
  const struct {
    MEdit* edit;
    int value;
  } edits[] = {{m_editRed, RedOf(start)}, {m_editGreen, GreenOf(start)}, {m_editBlue, BlueOf(start)}};
  for (const auto& entry : edits) {
    if (entry.edit) entry.edit->SetControlTitle(Decimal(entry.value));
  }
}

void KeyboardDlg::BuildMusicControls() {
  MTabLayout* page = m_pageLightBack;
  if (!page) return;
  m_textMusicMode = RowLabel(page, 194, 622, DT_LEFT);
  m_comboMusicMode = MusicCombo(page, 195);
  if (m_comboMusicMode) m_comboMusicMode->SetCurSel(0);
  m_textMusicSensitivity = RowLabel(page, 196, 623, DT_LEFT);
  m_sliderMusicSensitivity = Slider(page, 197, 5, 3);
  m_textMusicColor = RowLabel(page, 198, 624, DT_LEFT);
  m_comboMusicColor = MusicCombo(page, 199);
  if (m_comboMusicColor) {
    for (const ComboRow& item : kMusicColorItems) {
      m_comboMusicColor->AddItem(Text(item.textId), item.data, nullptr, Gdiplus::Color(0));
    }
    m_comboMusicColor->SetCurSel(0);
  }
  m_textMusicSpeed = RowLabel(page, 200, 625, DT_LEFT);
  m_sliderMusicSpeed = Slider(page, 201, 5, 5);
  ShowMusicControls(0);
}

void KeyboardDlg::LayoutLightPage(CRect client) {
  if (m_lightModeList) m_lightModeList->SetAllItemHeight(kModeListContentHeight);
  PlaceControls(*this, kLightPagePlaces, client.right, client.bottom);
}

void KeyboardDlg::LayoutMusicControls(CRect client) {
  PlaceControls(*this, kMusicPlaces, client.right, client.bottom);
}

// ---- Menus and the profile list ----

int KeyboardDlg::ShowLightPresetMenu() {
  return ShowPageMenu(GetSafeHwnd(), m_btnLightPresets, WM_KB_LIGHT_MENU, kPresetMenuItems, false, kLightMenuWidth);
}

int KeyboardDlg::ShowLightPageProfileMenu() {
  return ShowPageMenu(GetSafeHwnd(), m_btnLightProfileMenu, WM_KB_LIGHT_MENU, kProfileMenuItems, true,
                      kLightMenuWidth);
}

int KeyboardDlg::OnLightPageMenuCommand(WPARAM, LPARAM itemId) {
  if (RunProfileMenuItem(static_cast<int>(itemId))) return 1;
  if (itemId >= 202 && itemId <= 207) m_lightPage.ApplyLightPreset(static_cast<int>(itemId));
  return 1;
}

// ---- The window side of the lighting ----

// A worker's refresh runs whole on the window's thread, where the page's controls live.
void KeyboardDlg::RefreshLightModeLists() {
  OnWindowThread([this] { m_lightPage.RefreshLightModeLists(); });
}

void KeyboardDlg::RefreshLightPage() {
  OnWindowThread([this] { m_lightPage.RefreshLightPage(); });
}

void KeyboardDlg::SelectLightModeListData(int mode) {
  OnWindowThread([this, mode] {
    if (m_lightModeList) m_lightModeList->SetCurData(mode);
  });
}

void KeyboardDlg::SelectLightTypeTabData(int mode) {
  OnWindowThread([this, mode] {
    if (m_lightTypeTab) m_lightTypeTab->SetCurData(mode);
  });
}

void KeyboardDlg::ShowLightTypeCaption() {
  OnWindowThread([this] {
    if (m_textLightMode && m_lightTypeTab) m_textLightMode->SetTitle(m_lightTypeTab->GetCurItemText());
  });
}

void KeyboardDlg::SetBrightnessMax(int maximum) {
  OnWindowThread([this, maximum] {
    if (m_sliderBrightness) m_sliderBrightness->SetMaxProgress(maximum);
  });
}

void KeyboardDlg::SetSpeedRange(int minimum, int maximum, int position) {
  OnWindowThread([this, minimum, maximum, position] {
    if (!m_sliderSpeed) return;
    m_sliderSpeed->SetMinProgress(minimum);
    m_sliderSpeed->SetMaxProgress(maximum);
    m_sliderSpeed->SetProgress(position);
  });
}

// The worker reads and sets these controls directly, under the live-controls lock, and not at
// all once the window is going. The picture guards its key list with its own lock.
bool KeyboardDlg::IsLightSwitchOn() {
  bool on = false;
  WithLiveControls([&] { on = m_switchLight && m_switchLight->GetCheck(); });
  return on;
}

std::vector<int> KeyboardDlg::GetLightKeyCodes() {
  std::vector<int> codes;
  WithLiveControls([&] {
    if (!m_keyboardLight) return;
    m_keyboardLight->EnterCriSec();
    for (const KEY_INFO* key : m_keyboardLight->GetKeyItems()) codes.push_back(key->key_code);
    m_keyboardLight->LeaveCriSec();
  });
  return codes;
}

// The live poll hands the keyboard's colours in at every idle step: only a change is set, and
// its redraw runs on the window's thread (a worker that redraws would walk the panels' locks
// that a paint holds), one at a time, so the polls never flood the window's queue.
void KeyboardDlg::SetLightKeyColors(const std::vector<std::pair<int, COLORREF>>& colors) {
  bool changed = false;
  WithLiveControls([&] {
    if (!m_keyboardLight) return;
    m_keyboardLight->EnterCriSec();
    std::map<int, COLORREF> shown;
    for (const KEY_INFO* key : m_keyboardLight->GetKeyItems()) shown.emplace(key->key_code, key->color);
    for (const auto& [code, color] : colors) {
      const auto key = shown.find(code);
      if (key == shown.end() || key->second == color) continue;
      m_keyboardLight->SetKeyColor(code, color);
      changed = true;
    }
    m_keyboardLight->LeaveCriSec();
  });
  if (!changed || m_lightRedrawPending.exchange(true)) return;
  OnWindowThread([this] {
    m_lightRedrawPending = false;
    if (m_keyboardLight) m_keyboardLight->UpdateControl(1, 0);
  });
}

std::vector<std::pair<int, COLORREF>> KeyboardDlg::GetLightKeyColors() {
  std::vector<std::pair<int, COLORREF>> colors;
  WithLiveControls([&] {
    if (!m_keyboardLight) return;
    m_keyboardLight->EnterCriSec();
    for (const KEY_INFO* key : m_keyboardLight->GetKeyItems()) colors.emplace_back(key->key_code, key->color);
    m_keyboardLight->LeaveCriSec();
  });
  return colors;
}

// ---- The window side of the music lighting ----

// Started paused: the music light mode switches the analysis on.
void KeyboardDlg::StartVisualizer() {
  m_visualizer.Init();
  m_visualizer.StartWorker();
  m_visualizer.m_active = false;
}

void KeyboardDlg::InitMusicGrid() { m_music.InitMusicGrid(); }

// The worker's idle step in the music light mode: the picture's keys take the sampled colours
// (only changed ones, one redraw pending at a time), and the keyboard gets them unless the
// whole frame is dark.
void KeyboardDlg::SendMusicFrame() {
  std::vector<std::pair<int, COLORREF>> colors;
  bool lit = false;
  if (!m_music.SampleFrame(colors, lit)) return;
  SetLightKeyColors(colors);
  if (lit) WriteMusicFrame();
}

// The model selection fills the bar-style list from the worker; the list is changed on the
// window's thread, in the order asked.
void KeyboardDlg::ClearMusicModeCombo() {
  OnWindowThread([this] {
    if (m_comboMusicMode) m_comboMusicMode->DelAllItems();
  });
}

void KeyboardDlg::AddMusicModeItem(const CString& text, int data) {
  OnWindowThread([this, text, data] {
    if (m_comboMusicMode) m_comboMusicMode->AddItem(text, data, nullptr, Gdiplus::Color(0));
  });
}

void KeyboardDlg::SelectMusicModeIndex(int index) {
  OnWindowThread([this, index] {
    if (m_comboMusicMode) m_comboMusicMode->SetCurSel(index);
  });
}

void KeyboardDlg::HideMusicStyleControls() {
  OnWindowThread([this] {
    for (MControl* control : {static_cast<MControl*>(m_textMusicColor), static_cast<MControl*>(m_comboMusicColor),
                              static_cast<MControl*>(m_textMusicSpeed), static_cast<MControl*>(m_sliderMusicSpeed)}) {
      if (control) control->SetControlVisible(0);
    }
  });
}
