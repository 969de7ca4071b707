// The key assignment page (panel 69) and the advanced-key page (panel 70): their controls,
// built once by InitUI with empty rectangles and placed by UISize (the two key pictures are
// placed with the frame), the layer tabs' handlers, and the key captions as the device link
// asks for them. The pages' operations are KeyPage's and AdvKeyPage's.
#include "app/KeyboardDlg.h"

#include "app/MainWindowBuild.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/CKeyTestCtrl.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kProfileLabel = 0xFFA3ACB9;
constexpr Gdiplus::ARGB kComboText = 0xFF808788;
constexpr Gdiplus::ARGB kSeparator = 0xFF969696;
constexpr UINT kRightVCentre = DT_RIGHT | DT_VCENTER;
// The hidden layer lists start with three layers (texts 108 to 110, ids 0 to 2).
constexpr int kFirstLayerText = 108, kLayerTexts = 3;
// The function groups: texts 120 to 126, data 0 to 6, cells 100 x 30.
constexpr int kFirstGroupText = 120, kGroups = 7;

MImageButton* IconButton(MTabLayout* page, UINT id, const wchar_t* image, int tooltipText) {
  auto* button = NewControl<MImageButton>(page, L"MImageButton", id);
  if (!button) return nullptr;
  button->SetImage(image, 1);
  button->SetTooltip(Text(tooltipText));
  return button;
}

MComboBox* ProfileCombo(MTabLayout* page, UINT id, Gdiplus::ARGB colour) {
  auto* combo = NewControl<MComboBox>(page, L"MComboBox", id);
  if (!combo) return nullptr;
  combo->SetImage(L"img_combobox.png", 4);
  SetTextLook(combo, colour, kRegular, 14, 0);
  combo->SetShowEdit(1);
  combo->SetCurSel(0);
  return combo;
}

KeyLayerCtrl* HiddenLayers(MTabLayout* page, UINT id, Gdiplus::ARGB colour) {
  auto* layers = NewControl<KeyLayerCtrl>(page, L"KeyLayerCtrl", id);
  if (!layers) return nullptr;
  SetTextLook(layers, colour, kRegular, 14, kBoldStyle);
  layers->SetKeyLayerCtrlType(KEY_LAYER_HORIZONTAL);
  layers->SetVisible(0);
  for (int i = 0; i < kLayerTexts; ++i) layers->AddKeyLayer(Text(kFirstLayerText + i), i);
  layers->SetSelectKeyLayer(0);
  return layers;
}

CRoundArea* Divider(MTabLayout* page, UINT id) {
  auto* area = NewArea<CRoundArea>(page, L"CRoundArea", id);
  if (area) area->SetColor(Gdiplus::Color(Manager::m_window_bkcolor));
  return area;
}

MText* Label(MTabLayout* page, UINT id, int textId, const wchar_t* family, int size, int style) {
  auto* text = NewArea<MText>(page, L"MText", id, Text(textId));
  SetTextLook(text, kWhite, family, size, style);
  return text;
}

// The advanced-key type buttons: one rectangle moved 130 to the right after each.
struct TypeButton {
  UINT id;
  const wchar_t* title;
};
constexpr TypeButton kTypeButtons[] = {{113, L"DKS"}, {114, L"MT"}, {115, L"TGL"}, {116, L"RS"}, {117, L"SOCD"},
                                       {118, L"OKS"}};

// ---- Rectangles ----
CRect LayerList(int W, int, MControl*) {
  const int x0 = (W - 540) / 2;
  return CRect(x0 + 180, 425, x0 + 540, 453);
}
CRect Divider(int W, int, MControl*) { return CRect(180, 530, W - 10, 532); }
CRect FunctionArea(int W, int H, MControl*) { return CRect(230, 540, W - 15, H - 30); }

const PlaceRow kKeyPagePlaces[] = {
    {90, LayerList},
    {84, [](int, int, MControl*) { return CRect(1100, 70, 1220, 100); }},
    {85, [](int, int, MControl*) { return CRect(1220, 70, 1250, 100); }},
    {86, [](int, int, MControl*) { return CRect(1260, 70, 1290, 100); }},
    {87, [](int, int, MControl*) { return CRect(1300, 70, 1330, 100); }},
    {91, Divider},
    {92,
     [](int W, int, MControl*) {
       const int x0 = (W - 1160) / 2;
       return CRect(x0 + 210, 495, x0 + 1190, 525);
     }},
    {93, FunctionArea},
    {94, FunctionArea},
};

CRect TypeButtonRect(int W, int index) {
  const int x0 = (W - 830) / 2 + 130 * index;
  return CRect(x0 + 180, 498, x0 + 280, 528);
}

const PlaceRow kAdvKeyPagePlaces[] = {
    {99, [](int, int, MControl*) { return CRect(1200, 70, 1230, 100); }},
    {100, [](int, int, MControl*) { return CRect(1240, 70, 1270, 100); }},
    {103, LayerList},
    {104, Divider},
    {106, [](int, int, MControl*) { return CRect(200, 530, 400, 560); }},
    {107, [](int, int, MControl*) { return CRect(200, 560, 550, 660); }},
    {108, [](int, int, MControl*) { return CRect(200, 660, 400, 690); }},
    {109, [](int, int H, MControl*) { return CRect(200, 690, 550, H - 40); }},
    {110, [](int, int, MControl*) { return CRect(610, 530, 730, 560); }},
    {111, [](int, int, MControl*) { return CRect(730, 530, 820, 560); }},
    {112, [](int W, int H, MControl*) { return CRect(610, 560, W - 10, H - 10); }},
    {113, [](int W, int, MControl*) { return TypeButtonRect(W, 0); }},
    {114, [](int W, int, MControl*) { return TypeButtonRect(W, 1); }},
    {115, [](int W, int, MControl*) { return TypeButtonRect(W, 2); }},
    {116, [](int W, int, MControl*) { return TypeButtonRect(W, 3); }},
    {117, [](int W, int, MControl*) { return TypeButtonRect(W, 4); }},
};

}  // namespace

void KeyboardDlg::BuildKeyPage() {
  MTabLayout* page = m_pageKeys;
  if (!page) return;
  m_textKeysProfile = NewArea<MText>(page, L"MText", 81, Text(100));
  SetTextLook(m_textKeysProfile, kProfileLabel, kRegular, 18, 0);
  m_comboProfileKeys = ProfileCombo(page, 82, kComboText);
  m_btnKeyProfileMenu = IconButton(page, 83, L"icon_btn_moreprofile.png", 38);
  m_textKeyPresets = Label(page, 84, 102, kRegular, 14, 0);
  if (m_textKeyPresets) m_textKeyPresets->SetAlignment(DT_RIGHT, DT_VCENTER);
  m_btnKeyPresets = IconButton(page, 85, L"icon_btn_defaultprofile.png", 103);
  if (m_btnKeyPresets) m_btnKeyPresets->SetTextColor(Gdiplus::Color(kWhite));
  m_btnResetKey = IconButton(page, 86, L"icon_btn_resetkey.png", 104);
  m_btnResetLayer = IconButton(page, 87, L"icon_btn_reset.png", 105);
  m_btnKeyExport = IconButton(page, 89, L"icon_btn_export.png", 106);
  m_btnKeyImport = IconButton(page, 88, L"icon_btn_import.png", 107);
  m_keyboardKeys = NewControl<KeyboardCtrl>(page, L"KeyboardCtrl", 80);
  if (m_keyboardKeys) {
    m_keyboardKeys->SetKeyState2Image(L"img_key_hover.png");
    m_keyboardKeys->SetKeyState3Image(L"icon\\img_key3.png");
    m_keyboardKeys->SetKeyState1Image(L"img_key_dks.png");
    m_keyboardKeys->SetKeyboardImage(L"keyboard\\kb_bkg.png");
    m_keyboardKeys->SetFont(kRegular, 12, Gdiplus::FontStyleRegular);
    m_keyboardKeys->SetKeyboardCtrlMode(KBMODE_CUSTOM);
  }
  m_keyLayerKeys = HiddenLayers(page, 90, Manager::GetNormalColor().GetValue());
  m_areaKeysDivider = Divider(page, 91);
  m_keyTypeTab = NewControl<KeyTypeTab>(page, L"KeyTypeTab", 92);
  if (m_keyTypeTab) {
    SetTextLook(m_keyTypeTab, kWhite, kRegular, 14, kBoldStyle);
    m_keyTypeTab->SetItemWidthAndHeight(100, 30);
    m_keyTypeTab->SetKeyTypeTabType(KEY_TYPE_TAB_HORIZONTAL);
    for (int group = 0; group < kGroups; ++group) m_keyTypeTab->AddKeyType(Text(kFirstGroupText + group), group);
  }
  m_keyFuncPicker = NewControl<KeyFuncControl>(page, L"KeyFuncControl", 93);
  if (m_keyFuncPicker) {
    m_keyFuncPicker->SetTextColor(Gdiplus::Color(kWhite));
    m_keyFuncPicker->InitItemInfo();
    m_keyFuncPicker->SetFont(kRegular, 12, Gdiplus::FontStyleRegular);
  }
  m_keyValueList = NewControl<KeyValueList>(page, L"KeyValueList", 94);
  if (m_keyValueList) {
    SetTextLook(m_keyValueList, kWhite, kRegular, 12, 0);
    m_keyValueList->SetVisible(0);
  }
}

void KeyboardDlg::BuildAdvKeyPage() {
  MTabLayout* page = m_pageAdvKeys;
  if (!page) return;
  m_keyboardAdv = NewControl<KeyboardCtrl>(page, L"KeyboardCtrl", 95);
  if (m_keyboardAdv) {
    m_keyboardAdv->SetKeyState1Image(L"img_key_dks.png");
    m_keyboardAdv->SetKeyboardImage(L"keyboard\\kb_bkg.png");
    m_keyboardAdv->SetFont(kRegular, 10, Gdiplus::FontStyleRegular);
    m_keyboardAdv->SetKeyboardCtrlMode(KBMODE_ADVKEY);
  }
  m_textAdvProfile = Label(page, 96, 100, nullptr, 0, 0);
  m_comboProfileAdv = ProfileCombo(page, 97, kWhite);
  m_btnAdvProfileMenu = IconButton(page, 98, L"icon_btn_moreprofile.png", 38);
  m_btnAdvResetKey = IconButton(page, 99, L"icon_btn_resetkey.png", 104);
  m_btnAdvResetLayer = IconButton(page, 100, L"icon_btn_reset.png", 105);
  m_btnAdvExport = IconButton(page, 102, L"icon_btn_export.png", 106);
  m_btnAdvImport = IconButton(page, 101, L"icon_btn_import.png", 107);
  m_keyLayerAdv = HiddenLayers(page, 103, kWhite);
  m_areaAdvDivider = Divider(page, 104);
  m_areaAdvSeparator = NewArea<CRoundArea>(page, L"CRoundArea", 105);
  if (m_areaAdvSeparator) {
    m_areaAdvSeparator->SetColor(Gdiplus::Color(kSeparator));
    m_areaAdvSeparator->SetVisible(0);
  }
  m_textKeyTestTitle = Label(page, 106, 130, kBold, 16, kBoldStyle);
  m_textKeyTestHint = Label(page, 107, 131, kLight, 14, 0);
  if (m_textKeyTestHint) m_textKeyTestHint->EnableMultiLine(1);
  m_textKeyTestKeys = Label(page, 108, 132, kBold, 16, kBoldStyle);
  m_keyTestCtrl = NewControl<CKeyTestCtrl>(page, L"CKeyTestCtrl", 109);
  if (m_keyTestCtrl) {
    // Its labels fade on the window's high-resolution ticks.
    m_keyTestCtrl->AddMTimer();
    m_keyTestCtrl->SetRunTimer(1);
  }
  m_textAdvKeyListTitle = Label(page, 110, 133, kBold, 16, kBoldStyle);
  m_advKeyCount = NewArea<MText>(page, L"MText", 111, L"0");
  SetTextLook(m_advKeyCount, kWhite, nullptr, 0, kBoldStyle);
  m_advKeyList = NewControl<KeyDKSCtrlEx>(page, L"KeyDKSCtrlEx", 112);
  if (m_advKeyList) {
    m_advKeyList->SetTextColor(Gdiplus::Color(kWhite));
    m_advKeyList->SetIconFile(L"img_key_dks.png");
    m_advKeyList->SetEditDelIconFile(L"icon//adv_del.png");
  }
  MButton** buttons[] = {&m_btnAdvDks, &m_btnAdvMt, &m_btnAdvTgl, &m_btnAdvRs, &m_btnAdvSocd, &m_btnAdvOks};
  for (size_t i = 0; i < sizeof(kTypeButtons) / sizeof(kTypeButtons[0]); ++i) {
    MButton* button = NewControl<MButton>(page, L"MButton", kTypeButtons[i].id, kTypeButtons[i].title);
    if (button) {
      button->SetImage(L"btn_apply.png", 4);
      SetTextLook(button, kWhite, kRegular, 14, 0);
    }
    *buttons[i] = button;
  }
}

void KeyboardDlg::LayoutKeyPage(CRect client) { PlaceControls(*this, kKeyPagePlaces, client.right, client.bottom); }

void KeyboardDlg::LayoutAdvKeyPage(CRect client) {
  PlaceControls(*this, kAdvKeyPagePlaces, client.right, client.bottom);
}

int KeyboardDlg::OnKeyLayerChanged() {
  if (!m_keyLayerShell) return 1;
  return m_keyPage.OnKeyLayerChanged(m_keyLayerShell->GetSelectKeyLayerID());
}

int KeyboardDlg::OnAdvKeyLayerChanged() {
  if (!m_keyLayerAdv) return 1;
  return m_keyPage.OnAdvKeyLayerChanged(m_keyLayerAdv->GetSelectKeyLayerID());
}

int KeyboardDlg::ResetSelectedKey(KeyboardCtrl* picture) {
  const int key = picture ? picture->GetCurrentKeyValue() : 0;
  if (key < 1) return 0;
  ResetKeyToDefault(key);
  return 1;
}

// The worker asks after reading keys or layers from the keyboard: the captions and the tile
// list are rebuilt on the window's thread only, one call after the other.
void KeyboardDlg::RefreshKeyCaptions() {
  OnWindowThread([this] { m_keyPage.RefreshKeyCaptions(); });
}

void KeyboardDlg::CloseAdvKeyEditor() {
  OnWindowThread([this] { m_advKeyPage.CloseEditor(); });
}

int KeyboardDlg::OnProfileMenuCommand(int itemId) {
  RunProfileMenuItem(itemId);
  return 1;
}
