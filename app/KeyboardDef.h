// KeyboardDef: the main window's control pointers, one per control, in the order the window's
// builders create them (ids 30 to 384). The window owns the controls; these pointers are only
// references and are never freed here. A pointer stays null until the page that creates its
// control is built, and every user skips a null one. UI thread only, except where a control
// says that its setters may be called from the worker.
#pragma once

namespace TESK {
class CRoundArea;
class CTextButton;
class KeyLayerCtrl;
class MComboBox2;
class MControl;
class MControlFont;
class MImageButton;
class MPicture;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace TESK

struct KeyboardDef {
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

  // ---- Settings page ----
  TESK::MControlFont* m_btnCheckSoftware = nullptr;
  TESK::MControlFont* m_btnCheckFirmware = nullptr;
  TESK::MControlFont* m_textSoftwareStatus = nullptr;  // id 327, the software check's result
  TESK::MControlFont* m_textFirmwareStatus = nullptr;  // id 330, the firmware check's result
};
