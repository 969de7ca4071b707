// PerfPageDef: the performance page's control pointers (ids 257 to 321), in the order the page
// builder creates them. The window owns the controls; these are only references. A pointer
// stays null until the page is built, and every user skips a null one. UI thread only.
#pragma once

namespace TESK {
class CImageButton;
class CRoundArea;
class CSwitchButton;
class KeyStrokeCtrl2;
class KeySwitchCtrl;
class KeyboardCtrl;
class MButton;
class MComboBox;
class MImageButton;
class MPicture;
class MSlider;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace TESK

struct PerfPageDef {
  TESK::KeyboardCtrl* m_keyboardPerf = nullptr;        // 257, the keys in performance mode
  TESK::MPicture* m_picPerfDropdown = nullptr;         // 261, never placed
  TESK::MText* m_textPerfProfile = nullptr;            // 258, never placed
  TESK::MComboBox* m_comboProfilePerf = nullptr;       // 262, never placed; its profile serves the switch picker
  TESK::MImageButton* m_btnPerfProfileMenu = nullptr;  // 263, never placed
  TESK::MText* m_textPerfPresets = nullptr;            // 264
  TESK::MImageButton* m_btnPerfPresets = nullptr;      // 265
  TESK::MButton* m_btnPerfSwitchType = nullptr;        // 315, never placed
  TESK::MButton* m_btnPerfResetRt = nullptr;           // 316, never placed
  TESK::MImageButton* m_btnPerfExport = nullptr;       // 268, never placed
  TESK::MImageButton* m_btnPerfImport = nullptr;       // 267, never placed
  TESK::MText* m_textSwitchType = nullptr;             // 269, never placed
  TESK::MComboBox* m_comboSwitchType = nullptr;        // 270, never placed
  TESK::CRoundArea* m_areaPerfDivider = nullptr;       // 273
  TESK::MTabLayout* m_pagePerfTravel = nullptr;        // 318, trigger-travel sub-page
  TESK::MTabLayout* m_pagePerfSwitch = nullptr;        // 319, switch-type sub-page
  TESK::MTabLayout* m_pagePerfCalib = nullptr;         // 320, calibration sub-page
  TESK::MTabCtrl* m_tabPerf = nullptr;                 // 317, the sub-page tabs
  TESK::CRoundArea* m_areaPerfSplit = nullptr;         // 274
  TESK::MText* m_textActuationTitle = nullptr;         // 260
  TESK::MText* m_textActuationLabel = nullptr;         // 275, never placed
  TESK::KeyStrokeCtrl2* m_keyStroke = nullptr;         // 276, the key-travel picture
  TESK::MText* m_textDebugMode = nullptr;              // 277, never placed
  TESK::CSwitchButton* m_switchDebugMode = nullptr;    // 278, never placed
  TESK::MText* m_textDeadZone = nullptr;               // 279, never placed
  TESK::CSwitchButton* m_switchDeadZone = nullptr;     // 280, never placed
  TESK::MButton* m_btnResetActuation = nullptr;        // 281, never placed
  TESK::MText* m_textRapidTrigger = nullptr;           // 282
  TESK::CSwitchButton* m_switchRapidTrigger = nullptr; // 284
  TESK::MText* m_textRapidTriggerHint = nullptr;       // 283
  TESK::MText* m_textSensitivity = nullptr;            // 285
  TESK::CSwitchButton* m_switchSensitivity = nullptr;  // 286, on: separate press and release distances
  TESK::CRoundArea* m_areaSensitivity = nullptr;       // 287, never placed
  TESK::MText* m_textSensitivityPos = nullptr;         // 288
  TESK::CImageButton* m_btnResetSensitivity = nullptr; // 289
  TESK::MText* m_textSensitivityHint = nullptr;        // 290
  TESK::MText* m_textSensitivityValue = nullptr;       // 291
  TESK::MSlider* m_sliderSensitivity = nullptr;        // 292, the single distance
  TESK::CRoundArea* m_areaRtPress = nullptr;           // 293, never placed
  TESK::MText* m_textRtPress = nullptr;                // 294
  TESK::CImageButton* m_btnResetRtPress = nullptr;     // 295
  TESK::MText* m_textRtPressHint = nullptr;            // 296
  TESK::MText* m_textRtPressValue = nullptr;           // 297
  TESK::MSlider* m_sliderRtPress = nullptr;            // 298, the press distance
  TESK::CRoundArea* m_areaRtRelease = nullptr;         // 299, never placed
  TESK::MText* m_textRtRelease = nullptr;              // 300
  TESK::CImageButton* m_btnResetRtRelease = nullptr;   // 301
  TESK::MText* m_textRtReleaseHint = nullptr;          // 302
  TESK::MText* m_textRtReleaseValue = nullptr;         // 303
  TESK::MSlider* m_sliderRtRelease = nullptr;          // 304, the release distance
  TESK::MText* m_textContinuousRt = nullptr;           // 305
  TESK::CSwitchButton* m_switchContinuousRt = nullptr; // 307
  TESK::MText* m_textContinuousRtHint = nullptr;       // 306
  TESK::MText* m_textBottomRt = nullptr;               // 308
  TESK::CSwitchButton* m_switchBottomRt = nullptr;     // 310
  TESK::MText* m_textBottomRtHint = nullptr;           // 309
  TESK::KeySwitchCtrl* m_keySwitch = nullptr;          // 321, the switch picker
  TESK::MText* m_textCalibHint = nullptr;              // 272
  TESK::MButton* m_btnCalibrate = nullptr;             // 271
  TESK::CRoundArea* m_areaPerfCover = nullptr;         // 311, the cover over the lower half
  TESK::MText* m_textPerfSelect = nullptr;             // 259
  TESK::MButton* m_btnPerfSelectAll = nullptr;         // 314
  TESK::MButton* m_btnPerfSelectNone = nullptr;        // 312
  TESK::MButton* m_btnPerfSelectInvert = nullptr;      // 313
};
