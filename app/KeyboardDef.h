// KeyboardDef: the main window's control pointers, one per control, in the order the window's
// builders create them (ids 30 to 384). The window owns the controls; these pointers are only
// references and are never freed here. A pointer stays null until the page that creates its
// control is built, and every user skips a null one. UI thread only, except where a control
// says that its setters may be called from the worker.
//
// The performance page's pointers (ids 257 to 321) are PerfPageDef's, which the page's
// operations (PerfPage) work on.
#pragma once

#include "app/pages/PerfPageDef.h"

namespace TESK {
class CKeyTestCtrl;
class CRoundArea;
class CTextButton;
class KeyDKSCtrlEx;
class KeyFuncControl;
class KeyLayerCtrl;
class KeyTypeTab;
class KeyValueList;
class KeyboardCtrl;
class MButton;
class MComboBox;
class MComboBox2;
class MControl;
class MControlFont;
class MImageButton;
class MPicture;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace TESK

struct KeyboardDef : PerfPageDef {
  // ---- Frame (InitUI), in creation order ----
  TESK::MPicture* m_picBackground = nullptr;         // 30, the window's background picture
  TESK::CRoundArea* m_areaWindow = nullptr;          // 31
  TESK::CRoundArea* m_areaTopBar = nullptr;          // 32
  TESK::CRoundArea* m_areaLeft = nullptr;            // 34
  TESK::CRoundArea* m_areaRight = nullptr;           // 35, never placed
  TESK::CRoundArea* m_areaBottom = nullptr;          // 36
  TESK::MImageButton* m_btnLogo = nullptr;           // 37, disabled for the whole run
  TESK::MText* m_textCaption = nullptr;              // 33, never placed
  TESK::MComboBox2* m_comboModel = nullptr;          // 42, never placed
  TESK::MImageButton* m_btnWebsite = nullptr;        // 45, never placed
  TESK::MImageButton* m_btnUserDoc = nullptr;        // 46, never placed
  TESK::MImageButton* m_btnForum = nullptr;          // 47, never placed
  TESK::CTextButton* m_btnSoftwareUpgrade = nullptr; // 48, never placed
  TESK::CTextButton* m_btnFirmwareUpgrade = nullptr; // 49, never placed
  TESK::MPicture* m_picCalibWarning = nullptr;       // 50, never placed
  TESK::MText* m_textCalibWarning = nullptr;         // 51, never placed
  TESK::MComboBox2* m_comboTickRate = nullptr;       // 53, never placed
  TESK::MComboBox2* m_comboTachyonMode = nullptr;    // 56, never placed
  TESK::MText* m_textFnLayer = nullptr;              // 57, also the on-board profile's caption
  TESK::KeyLayerCtrl* m_keyLayerShell = nullptr;     // 58, the Fn layers of the key pages
  TESK::MTabLayout* m_pageKeys = nullptr;            // 69
  TESK::MTabLayout* m_pageAdvKeys = nullptr;         // 70
  TESK::MTabLayout* m_pageLight = nullptr;           // 71
  TESK::MTabLayout* m_pageMacro = nullptr;           // 72
  TESK::MTabLayout* m_pagePerf = nullptr;            // 73
  TESK::MTabLayout* m_pageSettings = nullptr;        // 74
  TESK::MTabLayout* m_pageHome = nullptr;            // 75
  TESK::CRoundArea* m_areaTabBar = nullptr;          // 68, never placed
  TESK::MTabCtrl* m_tabMain = nullptr;               // 67, the main page tabs
  TESK::MImageButton* m_btnClose = nullptr;          // 38
  TESK::MImageButton* m_btnMax = nullptr;            // 39, never placed
  TESK::MImageButton* m_btnMin = nullptr;            // 40

  // ---- Home page (BuildHomePage), in creation order ----
  TESK::CRoundArea* m_areaHome = nullptr;            // 76
  TESK::CRoundArea* m_areaHomeLeft = nullptr;        // 60
  TESK::MImageButton* m_btnHomeLogo = nullptr;       // 64
  TESK::MTabLayout* m_pageHomeDevice = nullptr;      // 61
  TESK::MTabLayout* m_pageHomeTool = nullptr;        // 62
  TESK::MTabLayout* m_pageHomeHelp = nullptr;        // 63
  TESK::MTabCtrl* m_tabHome = nullptr;               // 59
  TESK::MPicture* m_picConnectLogo = nullptr;        // 77
  TESK::MPicture* m_picConnectState = nullptr;       // 78, the connection picture
  TESK::MText* m_textConnectState = nullptr;         // 79, the connection text
  TESK::MText* m_textHomeKeyTest = nullptr;          // 65
  TESK::CTextButton* m_btnHomeKeyTest = nullptr;     // 66

  // ---- Key assignment page (BuildKeyPage), in creation order ----
  TESK::MText* m_textKeysProfile = nullptr;          // 81, never placed
  TESK::MComboBox* m_comboProfileKeys = nullptr;     // 82, never placed; the profile list
  TESK::MImageButton* m_btnKeyProfileMenu = nullptr; // 83, never placed
  TESK::MText* m_textKeyPresets = nullptr;           // 84
  TESK::MImageButton* m_btnKeyPresets = nullptr;     // 85, the layout preset menu
  TESK::MImageButton* m_btnResetKey = nullptr;       // 86
  TESK::MImageButton* m_btnResetLayer = nullptr;     // 87
  TESK::MImageButton* m_btnKeyExport = nullptr;      // 89, never placed
  TESK::MImageButton* m_btnKeyImport = nullptr;      // 88, never placed
  TESK::KeyboardCtrl* m_keyboardKeys = nullptr;      // 80, the page's key picture
  TESK::KeyLayerCtrl* m_keyLayerKeys = nullptr;      // 90, always hidden
  TESK::CRoundArea* m_areaKeysDivider = nullptr;     // 91
  TESK::KeyTypeTab* m_keyTypeTab = nullptr;          // 92, the function groups
  TESK::KeyFuncControl* m_keyFuncPicker = nullptr;   // 93, group 0
  TESK::KeyValueList* m_keyValueList = nullptr;      // 94, groups 1 to 6

  // ---- Advanced-key page (BuildAdvKeyPage), in creation order ----
  TESK::KeyboardCtrl* m_keyboardAdv = nullptr;         // 95
  TESK::MText* m_textAdvProfile = nullptr;             // 96, never placed
  TESK::MComboBox* m_comboProfileAdv = nullptr;        // 97, never placed
  TESK::MImageButton* m_btnAdvProfileMenu = nullptr;   // 98, never placed
  TESK::MImageButton* m_btnAdvResetKey = nullptr;      // 99
  TESK::MImageButton* m_btnAdvResetLayer = nullptr;    // 100
  TESK::MImageButton* m_btnAdvExport = nullptr;        // 102, never placed
  TESK::MImageButton* m_btnAdvImport = nullptr;        // 101, never placed
  TESK::KeyLayerCtrl* m_keyLayerAdv = nullptr;         // 103, always hidden
  TESK::CRoundArea* m_areaAdvDivider = nullptr;        // 104
  TESK::CRoundArea* m_areaAdvSeparator = nullptr;      // 105, never placed
  TESK::MText* m_textKeyTestTitle = nullptr;           // 106
  TESK::MText* m_textKeyTestHint = nullptr;            // 107
  TESK::MText* m_textKeyTestKeys = nullptr;            // 108
  TESK::CKeyTestCtrl* m_keyTestCtrl = nullptr;         // 109, the keys held down
  TESK::MText* m_textAdvKeyListTitle = nullptr;        // 110
  TESK::MText* m_advKeyCount = nullptr;                // 111, "%02d" advanced keys on the layer
  TESK::KeyDKSCtrlEx* m_advKeyList = nullptr;          // 112, the layer's advanced keys
  TESK::MButton* m_btnAdvDks = nullptr;                // 113
  TESK::MButton* m_btnAdvMt = nullptr;                 // 114
  TESK::MButton* m_btnAdvTgl = nullptr;                // 115
  TESK::MButton* m_btnAdvRs = nullptr;                 // 116
  TESK::MButton* m_btnAdvSocd = nullptr;               // 117
  TESK::MButton* m_btnAdvOks = nullptr;                // 118, never placed

  // ---- Settings page ----
  TESK::MControlFont* m_btnCheckSoftware = nullptr;
  TESK::MControlFont* m_btnCheckFirmware = nullptr;
  TESK::MControlFont* m_textSoftwareStatus = nullptr;  // id 327, the software check's result
  TESK::MControlFont* m_textFirmwareStatus = nullptr;  // id 330, the firmware check's result
};
