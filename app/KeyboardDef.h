// KeyboardDef: the main window's control pointers, one per control, in the order the window's
// builders create them (ids 30 to 384); the lighting page's are LightPageDef's. The window owns the controls; these pointers are only
// references and are never freed here. A pointer stays null until the page that creates its
// control is built, and every user skips a null one. UI thread only, except where a control
// says that its setters may be called from the worker.
//
// The performance page's pointers (ids 257 to 321) are PerfPageDef's, which the page's
// operations (PerfPage) work on.
#pragma once

#include "app/pages/PerfPageDef.h"
#include "app/pages/LightPageDef.h"

namespace TESK {
class CCheckButton;
class CIconButton;
class CImageButton;
class CKeyTestCtrl;
class CRadioButton;
class CRecordList;
class CRoundArea;
class CSwitchButton;
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
class MEdit;
class MImageButton;
class MListBox;
class MPicture;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace TESK

struct KeyboardDef : PerfPageDef, LightPageDef {
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
  // Enables (1) or disables (0) the six type buttons 113 to 118.
  void EnableAdvKeyTypeButtons(int on);

  // ---- Macro page (BuildMacroPage), in creation order ----
  TESK::CRoundArea* m_areaMacro = nullptr;               // 202
  TESK::MText* m_textMacroProfile = nullptr;             // 204, never placed
  TESK::MComboBox* m_comboProfileMacro = nullptr;        // 205, never placed
  TESK::MImageButton* m_btnMacroProfileMenu = nullptr;   // 206, never placed
  TESK::MImageButton* m_btnMacroProfileExport = nullptr; // 208, never placed
  TESK::MImageButton* m_btnMacroProfileImport = nullptr; // 207, never placed
  TESK::CRoundArea* m_areaMacroList = nullptr;           // 209
  TESK::MText* m_textMacroListTitle = nullptr;           // 212
  TESK::MListBox* m_macroList = nullptr;                 // 213, item data = macro id
  TESK::CRoundArea* m_areaMacroSettings = nullptr;       // 210, shares its id with the next
  TESK::CRoundArea* m_areaEventEditor = nullptr;         // 210
  TESK::MText* m_textEventEditorTitle = nullptr;         // 214
  TESK::MText* m_textInsertPos = nullptr;                // 215
  TESK::MText* m_textEventType = nullptr;                // 216
  TESK::MText* m_textEventValue = nullptr;               // 217
  TESK::MComboBox* m_comboInsertPos = nullptr;           // 218, never placed
  TESK::CRadioButton* m_radioInsertAtCursor = nullptr;   // 219
  TESK::CRadioButton* m_radioInsertAtEnd = nullptr;      // 220
  TESK::CRadioButton* m_radioEventKey = nullptr;         // 221
  TESK::CRadioButton* m_radioEventMouse = nullptr;       // 222
  TESK::CRadioButton* m_radioEventDelay = nullptr;       // 223, never placed
  TESK::MEdit* m_editEventKey = nullptr;                 // 224
  TESK::MComboBox* m_comboEventMouse = nullptr;          // 226
  TESK::MEdit* m_editEventDelay = nullptr;               // 225
  TESK::MButton* m_btnInsertEvent = nullptr;             // 227
  TESK::MButton* m_btnNewMacro = nullptr;                // 228, never placed
  TESK::MButton* m_btnDeleteMacro = nullptr;             // 229, never placed
  TESK::MButton* m_btnRenameMacro = nullptr;             // 230, never placed
  TESK::MImageButton* m_btnExportMacro = nullptr;        // 232, never placed
  TESK::MImageButton* m_btnImportMacro = nullptr;        // 231, never placed
  TESK::MButton* m_btnEditMacroName = nullptr;           // 233, never placed
  TESK::MText* m_textMacroHint = nullptr;                // 234, never placed
  TESK::MText* m_textMacroSettingsTitle = nullptr;       // 256
  TESK::MText* m_textPlayTimes = nullptr;                // 236
  TESK::MEdit* m_editPlayTimes = nullptr;                // 235
  TESK::CRadioButton* m_radioDelayRecorded = nullptr;    // 237
  TESK::CRadioButton* m_radioDelayNone = nullptr;        // 238
  TESK::CRadioButton* m_radioDelayFixed = nullptr;       // 239
  TESK::MEdit* m_editFixedDelay = nullptr;               // 240
  TESK::MText* m_textDelayUnit = nullptr;                // 241
  TESK::MButton* m_btnRecordStart = nullptr;             // 242
  TESK::MButton* m_btnRecordStop = nullptr;              // 243, in 242's place while recording
  TESK::MText* m_textEventListTitle = nullptr;           // 245
  TESK::CImageButton* m_btnEventUp = nullptr;            // 246
  TESK::CImageButton* m_btnEventDown = nullptr;          // 247
  TESK::CImageButton* m_btnEventDelete = nullptr;        // 248
  TESK::CImageButton* m_btnEventClear = nullptr;         // 249
  TESK::CRoundArea* m_areaEventList = nullptr;           // 244
  TESK::CRoundArea* m_areaEventListInner = nullptr;      // 250
  TESK::MText* m_textEventHeader3 = nullptr;             // 251
  TESK::MText* m_textEventHeader2 = nullptr;             // 252
  TESK::MText* m_textEventHeader1 = nullptr;             // 253
  TESK::CRecordList* m_recordList = nullptr;             // 254, the selected macro's events
  TESK::MButton* m_btnSaveMacro = nullptr;               // 255

  // ---- Settings page (BuildSettingsPage), in creation order ----
  TESK::MComboBox2* m_comboDebounce = nullptr;            // 54
  TESK::MComboBox2* m_comboReportRate = nullptr;          // 55
  TESK::CRoundArea* m_areaSettings = nullptr;             // 322
  TESK::CRoundArea* m_areaSettingsDivider1 = nullptr;     // 356
  TESK::CRoundArea* m_areaSettingsDivider2 = nullptr;     // 357
  TESK::MText* m_textModelTitle = nullptr;                // 323, never placed
  TESK::MText* m_textModelName = nullptr;                 // 324, never placed; model, then product
  TESK::MText* m_textSoftwareVersionLabel = nullptr;      // 325
  TESK::CTextButton* m_btnSoftwareVersion = nullptr;      // 326, disabled for the whole run
  TESK::MText* m_textSoftwareStatus = nullptr;            // 327, the software check's result
  TESK::MText* m_textFirmwareVersionLabel = nullptr;      // 328
  TESK::CTextButton* m_btnFirmwareVersion = nullptr;      // 329, disabled; the keyboard's firmware
  TESK::MText* m_textFirmwareStatus = nullptr;            // 330, the firmware check's result
  TESK::MText* m_textSwitchFlux = nullptr;                // 331, never placed, hidden
  TESK::MComboBox* m_comboSwitchFlux = nullptr;           // 332, never placed, hidden
  TESK::MButton* m_btnCheckSoftware = nullptr;            // 333
  TESK::MButton* m_btnCheckFirmware = nullptr;            // 334
  TESK::MPicture* m_picKeyboardModel = nullptr;           // 335, never placed
  TESK::MText* m_textOption1 = nullptr;                   // 336, never placed
  TESK::CSwitchButton* m_switchOption1 = nullptr;         // 337, never placed
  TESK::MText* m_textOption1Hint = nullptr;               // 338, never placed
  TESK::MText* m_textOption2 = nullptr;                   // 339, never placed
  TESK::CSwitchButton* m_switchOption2 = nullptr;         // 340, never placed
  TESK::MText* m_textOption2Hint = nullptr;               // 341, never placed
  TESK::MText* m_textOption3 = nullptr;                   // 342, never placed
  TESK::CSwitchButton* m_switchOption3 = nullptr;         // 343, never placed
  TESK::MText* m_textOption3Hint = nullptr;               // 344, never placed
  TESK::CIconButton* m_btnExportAllProfiles = nullptr;    // 345, never placed
  TESK::CIconButton* m_btnImportAllProfiles = nullptr;    // 346, never placed
  TESK::MButton* m_btnRestoreDefaults = nullptr;          // 347
  TESK::CIconButton* m_btnCopyDebugInfo = nullptr;        // 348, never placed
  TESK::MText* m_textLanguage = nullptr;                  // 349
  TESK::MComboBox* m_comboLanguage = nullptr;             // 350
  TESK::MText* m_textExtraOption = nullptr;               // 351, never placed
  TESK::MComboBox* m_comboExtraOption = nullptr;          // 352, never placed
  TESK::MText* m_textAutorun = nullptr;                   // 353
  TESK::CCheckButton* m_checkAutorun = nullptr;           // 354
  TESK::CCheckButton* m_checkAutorunMinimized = nullptr;  // 355
  TESK::MText* m_textExitMode = nullptr;                  // 358
  TESK::CRadioButton* m_radioExitToTray = nullptr;        // 359
  TESK::CRadioButton* m_radioExitQuit = nullptr;          // 360
  TESK::MPicture* m_picAboutLogo = nullptr;               // 361, never placed
  TESK::MText* m_textWebsite = nullptr;                   // 362
  TESK::CTextButton* m_btnWebsiteLink = nullptr;          // 363
  TESK::MPicture* m_picQrCode = nullptr;                  // 380, never placed
  TESK::MText* m_textQrCode = nullptr;                    // 381, never placed
  TESK::MText* m_textHelpTitle1 = nullptr;                // 364, never placed
  TESK::MText* m_textHelpLine1 = nullptr;                 // 365, never placed
  TESK::MText* m_textHelpLine2 = nullptr;                 // 366, never placed
  TESK::MText* m_textHelpLine3 = nullptr;                 // 367, never placed
  TESK::MText* m_textHelpTitle2 = nullptr;                // 368, never placed
  TESK::MText* m_textHelpTitle3 = nullptr;                // 370, never placed
  TESK::MText* m_textKeyTestEntry = nullptr;              // 372, never placed
  TESK::CTextButton* m_btnKeyTestEntry = nullptr;         // 373, never placed
  TESK::MText* m_textHelpTitle4 = nullptr;                // 374, never placed
  TESK::CTextButton* m_btnHelpLink = nullptr;             // 375, never placed
  TESK::MText* m_textHelpTitle5 = nullptr;                // 376, never placed
  TESK::MText* m_textHelpTitle6 = nullptr;                // 378, never placed
  TESK::MText* m_textAppCaption = nullptr;                // 384, never placed

  // The macro editor's controls on or off (the macro list itself stays usable).
  void EnableMacroEditor(bool enable);
};
