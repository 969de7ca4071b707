// The main window's skeleton: the frame (background, panels, title-bar buttons, the main tab
// strip and its page panels, the Fn-layer list) and the home page, built once by InitUI and
// placed by UISize. Every control starts with an empty rectangle; the layout rows below give
// the placed ones their rectangles from the client size, and the rest stay unplaced for the
// whole run, holding their items and states for the pages that read them.
#include "app/KeyboardDlg.h"

#include <iterator>

#include "app/MainWindowBuild.h"
#include "app/UserRegistry.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyLayerCtrl.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kTopBarColour = 0xFF01ECA2;
constexpr Gdiplus::ARGB kTabBarColour = 0xFFF7F7F7;
constexpr Gdiplus::ARGB kHomeFill = 0xFF1A191A;
constexpr Gdiplus::ARGB kTitleButtonHover = 0xFF3F4440;
constexpr Gdiplus::ARGB kTitleButtonFrame = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kModelListText = 0xFFF1F1F1;
constexpr Gdiplus::ARGB kLinkColour = 0xFF4690FF;
constexpr int kModelId = 101;
const wchar_t kLogo[] = L"logo\\logo.png";
const wchar_t kUncalibratedText[] = L"按键未校准，请重新校准按键";

const TabRow kMainTabs[] = {
    {1, 51, L"icon\\tab_customkey.png"}, {7, 52, L"icon\\tab_perf.png"},  {2, 53, L"icon\\tab_advkey.png"},
    {3, 54, L"icon\\tab_macro.png"},     {4, 55, L"icon\\tab_light.png"}, {6, 56, L"icon\\tab_config.png"},
};
const TabStrip kMainStrip = {180, 50, 0, 180, 0, 300, 180, 50};

const TabRow kHomeTabs[] = {
    {1, 1900, L"icon\\home_tab_device.png"},
    {7, 1901, L"icon\\home_tab_tool.png"},
    {2, 1902, L"icon\\home_tab_help.png"},
};
const TabStrip kHomeStrip = {180, 60, 0, 180, 0, 180, 180, 60};

// The device-setting lists: language text and item data of each entry.
const ListItem kTickRateItems[] = {{70, 0}, {71, 1}, {72, 2}};
const ListItem kTachyonModeItems[] = {{85, 0}, {86, 1}};
// The Fn-layer list's starting layers (language text, layer id).
const ListItem kShellLayers[] = {{108, 0}, {109, 1}, {110, 2}, {111, 3}};

CRect Page(int W, int H) { return CRect(180, 15, W - 5, H - 5); }

// The frame's rectangles, in the order UISize sets them.
const PlaceRow kFramePlaces[] = {
    {31, [](int W, int H, MControl*) { return CRect(0, 0, W, H); }},
    {34, [](int, int H, MControl*) { return CRect(0, 0, 170, H); }},
    {32, [](int W, int, MControl*) { return CRect(180, 15, W - 10, 65); }},
    {36, [](int W, int H, MControl*) { return CRect(180, H - 365, W - 10, H - 15); }},
    {37, [](int, int, MControl* logo) { return AtImageSize(logo, 50, 30); }},
    {57, [](int, int, MControl*) { return CRect(20, 170, 170, 200); }},
    {58, [](int, int, MControl*) { return CRect(20, 210, 170, 330); }},
    {38, [](int W, int, MControl*) { return CRect(W - 50, 25, W - 20, 55); }},
    {40, [](int W, int, MControl*) { return CRect(W - 85, 25, W - 55, 55); }},
    {67, [](int, int, MControl*) { return CRect(240, 15, 1320, 65); }},
    {69, [](int W, int H, MControl*) { return Page(W, H); }},
    {70, [](int W, int H, MControl*) { return Page(W, H); }},
    {71, [](int W, int H, MControl*) { return Page(W, H); }},
    {73, [](int W, int H, MControl*) { return Page(W, H); }},
    {72, [](int W, int H, MControl*) { return Page(W, H); }},
    {74, [](int W, int H, MControl*) { return Page(W, H); }},
    // The keyboard pictures of the key, advanced-key, lighting and performance pages.
    {80, [](int, int, MControl*) { return CRect(280, 100, 1280, 480); }},
    {95, [](int, int, MControl*) { return CRect(280, 100, 1280, 480); }},
    {119, [](int, int, MControl*) { return CRect(280, 100, 1280, 480); }},
    {257, [](int, int, MControl*) { return CRect(280, 100, 1280, 480); }},
};

CRect HomeSubPage(int W, int H) { return CRect(180, 70, W - 5, H - 5); }

const PlaceRow kHomePlaces[] = {
    {75, [](int W, int H, MControl*) { return CRect(0, 0, W, H); }},
    {76, [](int W, int H, MControl*) { return CRect(0, 0, W, H); }},
    {60, [](int, int H, MControl*) { return CRect(0, 0, 180, H); }},
    {64, [](int, int, MControl* logo) { return AtImageSize(logo, 50, 30); }},
    {59, [](int, int, MControl*) { return CRect(0, 200, 180, 380); }},
    {61, [](int W, int H, MControl*) { return HomeSubPage(W, H); }},
    {62, [](int W, int H, MControl*) { return HomeSubPage(W, H); }},
    {63, [](int W, int H, MControl*) { return HomeSubPage(W, H); }},
    {77,
     [](int W, int, MControl*) {
       const int x0 = (W - 268) / 2;
       return CRect(x0, 130, x0 + 250, 294);
     }},
    {78,
     [](int W, int H, MControl*) {
       const int x0 = (W - 176) / 2, y0 = (H - 158) / 2;
       return CRect(x0, y0, x0 + 178, y0 + 178);
     }},
    {79,
     [](int W, int H, MControl*) {
       const int x0 = (W - 780) / 2, y0 = (H - 60) / 2;
       return CRect(x0 + 180, y0, x0 + 780, y0 + 60);
     }},
    {65, [](int, int, MControl*) { return CRect(200, 100, 300, 130); }},
    {66, [](int, int, MControl*) { return CRect(300, 100, 500, 130); }},
};

CRoundArea* Rounded(CRoundArea* area, Gdiplus::ARGB colour) {
  if (area) {
    area->SetColor(Gdiplus::Color(colour));
    area->SetRound(1);
  }
  return area;
}

template <class T>
T* WithImage(T* control, const wchar_t* image) {
  if (control) control->SetImage(image, 1);
  return control;
}

// A title-bar button: its picture, tooltip and hover and press colours.
MImageButton* TitleButton(MImageButton* button, const wchar_t* image, const CString& tooltip) {
  if (!button) return nullptr;
  button->SetImage(image, 1);
  button->SetTooltip(tooltip);
  button->SetHoverColor(Gdiplus::Color(kTitleButtonHover), Gdiplus::Color(kTitleButtonFrame));
  button->SetDownColor(Gdiplus::Color(kTitleButtonHover), Gdiplus::Color(kTitleButtonFrame));
  return button;
}

MTabLayout* HiddenPage(MTabLayout* page) {
  if (page) page->SetVisible(0);
  return page;
}

}  // namespace

void KeyboardDlg::InitUI(CRect client) {
  m_picBackground = WithImage(NewArea<MPicture>(this, L"MPicture", 30), L"main_bkg.png");
  m_areaWindow = Rounded(NewArea<CRoundArea>(this, L"CRoundArea", 31), Manager::m_window_bkcolor);
  m_areaTopBar = Rounded(NewArea<CRoundArea>(this, L"CRoundArea", 32), kTopBarColour);
  m_areaLeft = Rounded(NewArea<CRoundArea>(this, L"CRoundArea", 34), Manager::m_left_bkcolor);
  m_areaRight = Rounded(NewArea<CRoundArea>(this, L"CRoundArea", 35), Manager::m_right_bkcolor);
  m_areaBottom = Rounded(NewArea<CRoundArea>(this, L"CRoundArea", 36), Manager::m_bottom_bkcolor);
  // The logo stays disabled, so the home branch of its click is never reached by the mouse.
  m_btnLogo = WithImage(NewControl<MImageButton>(this, L"MImageButton", 37), kLogo);
  if (m_btnLogo) m_btnLogo->SetEnabled(0);

  m_textCaption = NewArea<MText>(this, L"MText", 33, CaptionText(1));
  SetTextLook(m_textCaption, kWhite, nullptr, 20, kBoldStyle);
  if (m_textCaption) m_textCaption->SetAlignment(1);

  m_comboModel = WithImage(NewControl<MComboBox2>(this, L"MComboBox2", 42), L"combobox_device_dropdown.png");
  if (m_comboModel) {
    SetTextLook(m_comboModel, kModelListText, kExtraLight, 17, 0);
    m_comboModel->AddItem(L"Vesk 75", kModelId, nullptr, Gdiplus::Color(0));
    m_comboModel->SetCurSel(0);
    m_comboModel->SetEnabled(0);
  }

  m_btnWebsite = WithImage(NewControl<MImageButton>(this, L"MImageButton", 45), L"icon\\btn_website.png");
  m_btnUserDoc = WithImage(NewControl<MImageButton>(this, L"MImageButton", 46), L"icon\\btn_userdoc.png");
  m_btnForum = WithImage(NewControl<MImageButton>(this, L"MImageButton", 47), L"icon\\btn_bbs.png");
  const struct {
    MImageButton* button;
    int textId;
  } links[] = {{m_btnWebsite, 60}, {m_btnUserDoc, 61}, {m_btnForum, 62}};
  for (const auto& link : links) {
    if (link.button) link.button->SetTooltip(Text(link.textId));
  }
  m_btnSoftwareUpgrade = WithImage(NewControl<CTextButton>(this, L"CTextButton", 48, Text(63)),
                                   L"icon\\btn_softwareupgrade.png");
  if (m_btnSoftwareUpgrade) m_btnSoftwareUpgrade->SetTooltip(Text(63));
  m_btnFirmwareUpgrade = WithImage(NewControl<CTextButton>(this, L"CTextButton", 49, Text(64)),
                                   L"icon\\btn_firmwareupgrade.png");
  if (m_btnFirmwareUpgrade) m_btnFirmwareUpgrade->SetTooltip(Text(64));

  m_picCalibWarning = WithImage(NewArea<MPicture>(this, L"MPicture", 50), L"icon\\icon_warn.png");
  m_textCalibWarning = NewArea<MText>(this, L"MText", 51, kUncalibratedText);
  SetTextLook(m_textCalibWarning, kWhite, kRegular, 18, 0);

  m_comboTickRate = DeviceSettingList(NewControl<MComboBox2>(this, L"MComboBox2", 53), kTickRateItems);
  m_comboTachyonMode = DeviceSettingList(NewControl<MComboBox2>(this, L"MComboBox2", 56), kTachyonModeItems);

  m_textFnLayer = NewArea<MText>(this, L"MText", 57, Text(94));
  SetTextLook(m_textFnLayer, kWhite, kRegular, 18, 0);
  m_keyLayerShell = NewControl<KeyLayerCtrl>(this, L"KeyLayerCtrl", 58);
  if (m_keyLayerShell) {
    SetTextLook(m_keyLayerShell, kWhite, kRegular, 14, 0);
    for (const ListItem& layer : kShellLayers) m_keyLayerShell->AddKeyLayer(Text(layer.textId), layer.data);
    m_keyLayerShell->SetSelectKeyLayer(0);
  }

  m_pageKeys = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 69));
  m_pageAdvKeys = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 70));
  m_pageLight = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 71));
  m_pageMacro = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 72));
  m_pagePerf = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 73));
  m_pageSettings = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 74));
  m_pageHome = HiddenPage(NewControl<MTabLayout>(this, L"MTabLayout", 75));
  m_areaTabBar = NewArea<CRoundArea>(this, L"CRoundArea", 68);
  if (m_areaTabBar) m_areaTabBar->SetColor(Gdiplus::Color(kTabBarColour));

  // Selecting the first tab shows its page and reports it to OnMessage; hiding the strip
  // hides every page again until the keyboard is ready.
  m_tabMain = NewControl<MTabCtrl>(this, L"MTabCtrl", 67);
  if (m_tabMain) {
    SetTextLook(m_tabMain, kTabText, kMedium, 16, kBoldStyle);
    MControl* const pages[] = {m_pageKeys, m_pagePerf, m_pageAdvKeys, m_pageMacro, m_pageLight, m_pageSettings};
    FillTabs(m_tabMain, kMainStrip, kMainTabs, pages, std::size(kMainTabs));
    m_tabMain->SetVisible(0);
  }

  const int closeText = ReadRegistryInt(L"exit_mode") == 0 ? kCloseEndsText : kCloseHidesText;
  m_btnClose = TitleButton(NewControl<MImageButton>(this, L"MImageButton", 38), L"btn_close.png", Text(closeText));
  m_btnMax = TitleButton(NewControl<MImageButton>(this, L"MImageButton", 39), L"btn_max.png", Text(2));
  m_btnMin = TitleButton(NewControl<MImageButton>(this, L"MImageButton", 40), L"btn_min.png", Text(3));

  BuildHomePage();
  BuildKeyPage();
  BuildAdvKeyPage();
  BuildPerfPage();
  BuildMacroPage();
  BuildLightPage();
  BuildMusicControls();
  BuildSettingsPage();
  UISize(client);
}

void KeyboardDlg::BuildHomePage() {
  MTabLayout* home = m_pageHome;
  if (!home) return;
  m_areaHome = NewArea<CRoundArea>(home, L"CRoundArea", 76);
  if (m_areaHome) m_areaHome->SetColor(Gdiplus::Color(kHomeFill));
  m_areaHomeLeft = NewArea<CRoundArea>(home, L"CRoundArea", 60);
  if (m_areaHomeLeft) m_areaHomeLeft->SetColor(Gdiplus::Color(Manager::m_left_bkcolor));
  m_btnHomeLogo = WithImage(NewControl<MImageButton>(home, L"MImageButton", 64), kLogo);
  m_pageHomeDevice = HiddenPage(NewControl<MTabLayout>(home, L"MTabLayout", 61));
  m_pageHomeTool = HiddenPage(NewControl<MTabLayout>(home, L"MTabLayout", 62));
  m_pageHomeHelp = HiddenPage(NewControl<MTabLayout>(home, L"MTabLayout", 63));

  m_tabHome = NewControl<MTabCtrl>(home, L"MTabCtrl", 59);
  if (m_tabHome) {
    SetTextLook(m_tabHome, kTabText, kMedium, 16, kBoldStyle);
    m_tabHome->SetTabType(TAB_TYPE_VERTICAL);
    MControl* const pages[] = {m_pageHomeDevice, m_pageHomeTool, m_pageHomeHelp};
    FillTabs(m_tabHome, kHomeStrip, kHomeTabs, pages, std::size(kHomeTabs));
  }

  if (MTabLayout* device = m_pageHomeDevice) {
    m_picConnectLogo = WithImage(NewArea<MPicture>(device, L"MPicture", 77), L"logo\\logo_connect.png");
    if (m_picConnectLogo) m_picConnectLogo->SetVisible(0);
    m_picConnectState = WithImage(NewArea<MPicture>(device, L"MPicture", 78), L"img_no_connect.png");
    if (m_picConnectState) m_picConnectState->SetVisible(0);
    m_textConnectState = NewArea<MText>(device, L"MText", 79, Text(820));
    if (m_textConnectState) {
      SetTextLook(m_textConnectState, kWhite, kBold, 20, kBoldStyle);
      m_textConnectState->SetAlignment(1);
      m_textConnectState->EnableVCenter(1);
      m_textConnectState->EnableMultiLine(1);
    }
  }
  if (MTabLayout* tool = m_pageHomeTool) {
    m_textHomeKeyTest = NewArea<MText>(tool, L"MText", 65, Text(576));
    SetTextLook(m_textHomeKeyTest, kWhite, nullptr, 18, kBoldStyle);
    m_btnHomeKeyTest = NewControl<CTextButton>(tool, L"CTextButton", 66, Text(577));
    if (m_btnHomeKeyTest) {
      SetTextLook(m_btnHomeKeyTest, kLinkColour, nullptr, 18, kUnderlineStyle);
      m_btnHomeKeyTest->SetAlignment(0);
    }
  }
}

void KeyboardDlg::UISize(CRect client) {
  // Before InitUI has built the frame there is nothing to place.
  if (!GetControl(38)) return;
  const int W = client.right, H = client.bottom;
  if (m_picBackground) m_picBackground->SetRect(client);
  PlaceControls(*this, kFramePlaces, W, H);
  LayoutHomePage(client);
  LayoutKeyPage(client);
  LayoutAdvKeyPage(client);
  LayoutPerfPage(client);
  LayoutMacroPage(client);
  LayoutLightPage(client);
  LayoutMusicControls(client);
  LayoutSettingsPage(client);
}

void KeyboardDlg::LayoutHomePage(CRect client) { PlaceControls(*this, kHomePlaces, client.right, client.bottom); }
