#include "app/pages/LightPageDef.h"

#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MText.h"

namespace {

void Show(TESK::MControl* control, int show) {
  if (control) control->SetVisible(show ? 1 : 0);
}

}  // namespace

void LightPageDef::ShowLightColorControls(int show) {
  for (TESK::MControl* control :
       {static_cast<TESK::MControl*>(m_textColorful), static_cast<TESK::MControl*>(m_textLightColorTitle),
        static_cast<TESK::MControl*>(m_areaPalette), static_cast<TESK::MControl*>(m_palette),
        static_cast<TESK::MControl*>(m_textRed), static_cast<TESK::MControl*>(m_textGreen),
        static_cast<TESK::MControl*>(m_textBlue), static_cast<TESK::MControl*>(m_editRed),
        static_cast<TESK::MControl*>(m_editGreen), static_cast<TESK::MControl*>(m_editBlue)}) {
    Show(control, show);
  }
  for (TESK::CColorButton* button : m_btnColor) Show(button, show);
}

void LightPageDef::ShowMusicControls(int show) {
  for (TESK::MControl* control :
       {static_cast<TESK::MControl*>(m_textMusicMode), static_cast<TESK::MControl*>(m_comboMusicMode),
        static_cast<TESK::MControl*>(m_textMusicSensitivity), static_cast<TESK::MControl*>(m_sliderMusicSensitivity),
        static_cast<TESK::MControl*>(m_textMusicColor), static_cast<TESK::MControl*>(m_comboMusicColor),
        static_cast<TESK::MControl*>(m_textMusicSpeed), static_cast<TESK::MControl*>(m_sliderMusicSpeed)}) {
    Show(control, show);
  }
}

TESK::CColorButton* LightPageDef::ColorButton(int id) const {
  if (id < ID_LIGHT_COLOR_FIRST || id > ID_LIGHT_COLOR_LAST) return nullptr;
  return m_btnColor[id - ID_LIGHT_COLOR_FIRST];
}
