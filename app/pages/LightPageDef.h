// LightPageDef: the control pointers of the lighting page (ids 119 to 201), in the order the
// page's builders create them, and the two groups that the page shows and hides together.
// The main window owns the controls; these pointers are references, null until the page is
// built, and every user skips a null one. UI thread only.
#pragma once

namespace TESK {
class CCheckButton;
class CColorButton;
class CRadioButton;
class CRoundArea;
class CSwitchButton;
class CirclePalette;
class KeyboardCtrl;
class LightTypeTab;
class MButton;
class MComboBox;
class MControl;
class MEdit;
class MImageButton;
class MListBoxEx;
class MSlider;
class MTabCtrl;
class MTabLayout;
class MText;
}  // namespace TESK

// Ids of the page's controls that handlers and dispatch name.
enum LightControlId : int {
  ID_LIGHT_KEYBOARD = 119,
  ID_LIGHT_PROFILE_COMBO = 121,
  ID_LIGHT_PROFILE_MENU = 122,
  ID_LIGHT_PRESETS = 124,
  ID_LIGHT_CLEAR = 125,
  ID_LIGHT_SWITCH = 132,
  ID_LIGHT_MODE_LIST = 133,
  ID_LIGHT_BRIGHTNESS = 137,
  ID_LIGHT_SPEED = 139,
  ID_LIGHT_DIR_LEFT = 141,
  ID_LIGHT_DIR_RIGHT = 142,
  ID_LIGHT_DIR_UP = 143,
  ID_LIGHT_DIR_DOWN = 144,
  ID_LIGHT_COLORFUL = 145,
  ID_LIGHT_PALETTE = 148,
  ID_LIGHT_EDIT_RED = 152,
  ID_LIGHT_EDIT_GREEN = 153,
  ID_LIGHT_EDIT_BLUE = 154,
  ID_LIGHT_COLOR_FIRST = 155,
  ID_LIGHT_COLOR_LAST = 179,
  ID_LIGHT_SELECT_NONE = 180,
  ID_LIGHT_SELECT_INVERT = 181,
  ID_LIGHT_SELECT_ALL = 182,
  ID_LIGHT_DIR_IN = 183,
  ID_LIGHT_DIR_OUT = 184,
  ID_LIGHT_DIR_CW = 185,
  ID_LIGHT_DIR_CCW = 186,
  ID_LIGHT_TYPE_TAB = 187,
};

constexpr int kLightColorButtons = ID_LIGHT_COLOR_LAST - ID_LIGHT_COLOR_FIRST + 1;

struct LightPageDef {
  // ---- Lighting page (BuildLightPage), in creation order ----
  TESK::KeyboardCtrl* m_keyboardLight = nullptr;         // 119, the lighting picture
  TESK::MText* m_textLightProfile = nullptr;             // 120, never placed
  TESK::MComboBox* m_comboProfileLight = nullptr;        // 121, never placed
  TESK::MImageButton* m_btnLightProfileMenu = nullptr;   // 122, never placed
  TESK::MText* m_textLightPresets = nullptr;             // 123
  TESK::MImageButton* m_btnLightPresets = nullptr;       // 124
  TESK::MImageButton* m_btnLightClear = nullptr;         // 125
  TESK::MImageButton* m_btnLightExport = nullptr;        // 127, never placed
  TESK::MImageButton* m_btnLightImport = nullptr;        // 126, never placed
  TESK::MButton* m_btnLightSelectNone = nullptr;         // 180
  TESK::MButton* m_btnLightSelectInvert = nullptr;       // 181
  TESK::MButton* m_btnLightSelectAll = nullptr;          // 182
  TESK::CRoundArea* m_areaLightDivider = nullptr;        // 128
  TESK::CRoundArea* m_areaLightSplit = nullptr;          // 129
  TESK::CRoundArea* m_areaLightSeparator = nullptr;      // 130, never placed
  TESK::MTabLayout* m_pageLightBack = nullptr;           // 189, holds the music controls
  TESK::MTabLayout* m_pageLightLogo = nullptr;           // 190
  TESK::MTabCtrl* m_tabLight = nullptr;                  // 188
  TESK::MText* m_textLightTypeLabel = nullptr;           // 191
  TESK::MText* m_textLightModeLabel = nullptr;           // 192
  TESK::MText* m_textLightMode = nullptr;                // 193, the shown mode's name
  TESK::MText* m_textLightSwitch = nullptr;              // 131
  TESK::CSwitchButton* m_switchLight = nullptr;          // 132
  TESK::MListBoxEx* m_lightModeList = nullptr;           // 133, always hidden
  TESK::LightTypeTab* m_lightTypeTab = nullptr;          // 187
  TESK::MText* m_textLightEffectTitle = nullptr;         // 134, never placed
  TESK::MText* m_textColorful = nullptr;                 // 135
  TESK::CCheckButton* m_checkColorful = nullptr;         // 145
  TESK::MText* m_textLightColorTitle = nullptr;          // 146, never placed
  TESK::CRoundArea* m_areaPalette = nullptr;             // 147, never placed
  TESK::CirclePalette* m_palette = nullptr;              // 148
  TESK::MText* m_textRed = nullptr;                      // 149
  TESK::MText* m_textGreen = nullptr;                    // 150
  TESK::MText* m_textBlue = nullptr;                     // 151
  TESK::MEdit* m_editRed = nullptr;                      // 152
  TESK::MEdit* m_editGreen = nullptr;                    // 153
  TESK::MEdit* m_editBlue = nullptr;                     // 154
  TESK::CColorButton* m_btnColor[kLightColorButtons] = {};  // 155 to 179 (m_btnColor[0] is 155)
  TESK::MText* m_textBrightness = nullptr;               // 136
  TESK::MSlider* m_sliderBrightness = nullptr;           // 137
  TESK::MText* m_textSpeed = nullptr;                    // 138
  TESK::MSlider* m_sliderSpeed = nullptr;                // 139
  TESK::MText* m_textDirection = nullptr;                // 140
  TESK::CRadioButton* m_radioDirLeft = nullptr;          // 141
  TESK::CRadioButton* m_radioDirRight = nullptr;         // 142
  TESK::CRadioButton* m_radioDirUp = nullptr;            // 143
  TESK::CRadioButton* m_radioDirDown = nullptr;          // 144
  TESK::CRadioButton* m_radioDirIn = nullptr;            // 183
  TESK::CRadioButton* m_radioDirOut = nullptr;           // 184
  TESK::CRadioButton* m_radioDirCw = nullptr;            // 185
  TESK::CRadioButton* m_radioDirCcw = nullptr;           // 186

  // ---- Music controls (BuildMusicControls), on 189 ----
  TESK::MText* m_textMusicMode = nullptr;                // 194
  TESK::MComboBox* m_comboMusicMode = nullptr;           // 195
  TESK::MText* m_textMusicSensitivity = nullptr;         // 196
  TESK::MSlider* m_sliderMusicSensitivity = nullptr;     // 197
  TESK::MText* m_textMusicColor = nullptr;               // 198
  TESK::MComboBox* m_comboMusicColor = nullptr;          // 199
  TESK::MText* m_textMusicSpeed = nullptr;               // 200
  TESK::MSlider* m_sliderMusicSpeed = nullptr;           // 201

  // The colour group: the colourful label, the colour title, the palette with its frame, the
  // R/G/B captions and edits and the 25 colour buttons (the check box is shown on its own).
  void ShowLightColorControls(int show);
  // The eight music controls.
  void ShowMusicControls(int show);
  // The colour button of an id 155..179, else null.
  TESK::CColorButton* ColorButton(int id) const;
};
