#include "ui/core/ControlFactory.h"

#include <cwchar>
#include <initializer_list>

#include "ui/controls/CArea.h"
#include "ui/controls/CCheckButton.h"
#include "ui/controls/CColorButton.h"
#include "ui/controls/CColorPalette.h"
#include "ui/controls/CColorSelect.h"
#include "ui/controls/CComboBoxList.h"
#include "ui/controls/CGifPicture.h"
#include "ui/controls/CHelpButton.h"
#include "ui/controls/CIconButton.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CPhotoFrame.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/CSelectButton.h"
#include "ui/controls/CSliderPicture.h"
#include "ui/controls/CSpinButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/CTextArea.h"
#include "ui/controls/CTextButton.h"
#include "ui/controls/CTimerButton.h"
#include "ui/controls/CirclePalette.h"
#include "ui/controls/ColorView.h"
#include "ui/controls/DownloadButton.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/KeyLayerButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MComboBox2.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MEditEx.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MLevelCtrl.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MPalette.h"
#include "ui/controls/MPicture.h"
#include "ui/controls/MProgress.h"
#include "ui/controls/MRichEdit.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MSpinButton.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/controls/TextCheckButton.h"
#include "ui/controls/UpgradeButton.h"
#include "ui/core/MControl.h"
#include "ui/core/MenuItem.h"
#include "ui/keyboard/BatteryCtrl.h"
#include "ui/keyboard/CDeviceCtrl.h"
#include "ui/keyboard/CDeviceList.h"
#include "ui/keyboard/CKeyTestCtrl.h"
#include "ui/keyboard/CRecordList.h"
#include "ui/keyboard/KeyDKSCtrl.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyDKSList.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyFuncControl2.h"
#include "ui/keyboard/KeyFuncCtrl.h"
#include "ui/keyboard/KeyFuncType.h"
#include "ui/keyboard/KeyFuncValue.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyMTCtrl.h"
#include "ui/keyboard/KeyMenuFuncType.h"
#include "ui/keyboard/KeySOCDCtrl.h"
#include "ui/keyboard/KeyStrokeCtrl.h"
#include "ui/keyboard/KeyStrokeCtrl2.h"
#include "ui/keyboard/KeySwitchCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"
#include "ui/keyboard/KeyboardTestCtrl.h"
#include "ui/keyboard/LightTypeTab.h"
#include "ui/keyboard/MListBoxEx.h"
#include "ui/keyboard/ProfileList.h"
#include "ui/keyboard/TachyonCtrl.h"

namespace TESK {

namespace {

// The window engine's table, in the order of comparison. Each control class adds its row
// here, with the argument shape its factory entry gives.
constexpr std::initializer_list<ControlClass> kEngineControlClasses = {
    {L"CArea", &NewVisibleOne<CArea>},
    {L"MText", &NewTitleVisible<MText>},
    {L"MPicture", &NewVisibleEnabled<MPicture>},
    {L"CPhotoFrame", &NewVisibleEnabled<CPhotoFrame>},
    {L"CSliderPicture", &NewVisibleEnabled<CSliderPicture>},
    {L"CGifPicture", &NewVisibleEnabled<CGifPicture>},
    {L"MProgress", &NewVisibleEnabled<MProgress>},
    {L"MSlider", &NewVisibleEnabled<MSlider>},
    {L"MLevelCtrl", &NewVisibleEnabled<MLevelCtrl>},
    {L"MButton", &NewTitleVisibleEnabled<MButton>},
    {L"CImageButton", &NewTitleVisibleEnabled<CImageButton>},
    {L"CTextButton", &NewTitleVisibleEnabled<CTextButton>},
    {L"CCheckButton", &NewTitleVisibleEnabled<CCheckButton>},
    {L"CRadioButton", &NewTitleVisibleEnabled<CRadioButton>},
    {L"CSelectButton", &NewTitleVisibleEnabled<CSelectButton>},
    {L"CColorButton", &NewVisibleEnabled<CColorButton>},
    {L"MSpinButton", &NewVisibleEnabled<MSpinButton>},
    {L"CSpinButton", &NewVisibleEnabled<CSpinButton>},
    {L"CSwitchButton", &NewVisibleEnabled<CSwitchButton>},
    {L"CIconButton", &NewTitleVisibleEnabled<CIconButton>},
    {L"CTimerButton", &NewTitleVisibleEnabled<CTimerButton>},
    {L"CHelpButton", &NewTitleVisibleEnabled<CHelpButton>},
    {L"MEdit", &NewTitleVisibleEnabled<MEdit>},
    {L"MRichEdit", &NewTitleVisibleEnabled<MRichEdit>},
    {L"MEditEx", &NewTitleVisibleEnabled<MEditEx>},
    {L"MComboBox", &NewVisibleEnabled<MComboBox>},
    {L"MTabCtrl", &NewVisibleEnabled<MTabCtrl>},
    {L"MTabLayout", &NewVisible<MTabLayout>},
    {L"MListBox", &NewVisible<MListBox>},
    {L"MPalette", &NewVisible<MPalette>},
    {L"CColorPalette", &NewVisible<CColorPalette>},
    {L"CColorSelect", &NewVisible<CColorSelect>},
    {L"CirclePalette", &NewVisibleOne<CirclePalette>},
    {L"CComboBoxList", &NewVisibleOne<CComboBoxList>},
    {L"MenuItem", &NewTitleVisibleOne<MenuItem>},
    {L"KeyboardCtrl", &NewVisible<KeyboardCtrl>},
    {L"CDeviceCtrl", &NewVisibleOne<CDeviceCtrl>},
    {L"TextCheckButton", &NewTitleVisibleOne<TextCheckButton>},
    {L"CTextArea", &NewTitleVisibleOne<CTextArea>},
    {L"BatteryCtrl", &NewVisibleOne<BatteryCtrl>},
    {L"KeyFuncType", &NewVisibleOne<KeyFuncType>},
    {L"KeyMenuFuncType", &NewVisibleOne<KeyMenuFuncType>},
    {L"KeyDKSCtrl", &NewVisibleOne<KeyDKSCtrl>},
    {L"KeySOCDCtrl", &NewVisibleOne<KeySOCDCtrl>},
    {L"KeyStrokeCtrl", &NewVisibleOne<KeyStrokeCtrl>},
    {L"TachyonCtrl", &NewVisibleOne<TachyonCtrl>},
    {L"KeyFuncCtrl", &NewVisible<KeyFuncCtrl>},
    {L"KeyFuncValue", &NewVisibleOne<KeyFuncValue>},
    {L"KeyDKSList", &NewVisibleOne<KeyDKSList>},
    {L"KeyMTCtrl", &NewVisibleOne<KeyMTCtrl>},
    {L"CRoundArea", &NewVisibleOne<CRoundArea>},
    {L"ProfileList", &NewVisibleOne<ProfileList>},
    {L"MImageButton", &NewVisibleOne<MImageButton>},
    {L"MComboBox2", &NewVisibleOne<MComboBox2>},
    {L"KeyTypeTab", &NewVisibleOneType<KeyTypeTab, KEY_TYPE_TAB_TYPE, KEY_TYPE_TAB_VERTICAL>},
    {L"KeyFuncControl2", &NewVisible<KeyFuncControl2>},
    {L"KeyValueList", &NewVisibleOne<KeyValueList>},
    {L"KeyboardTestCtrl", &NewVisible<KeyboardTestCtrl>},
    {L"KeyLayerCtrl", &NewVisibleOneType<KeyLayerCtrl, KEY_LAYER_CTRL_TYPE, KEY_LAYER_VERTICAL>},
};

// A panel's table, in the order of comparison. It knows more classes than the engine's; a
// class in both tables has the same row in both.
constexpr std::initializer_list<ControlClass> kPanelControlClasses = {
    {L"CArea", &NewVisibleOne<CArea>},
    {L"MText", &NewTitleVisible<MText>},
    {L"MPicture", &NewVisibleEnabled<MPicture>},
    {L"CPhotoFrame", &NewVisibleEnabled<CPhotoFrame>},
    {L"CSliderPicture", &NewVisibleEnabled<CSliderPicture>},
    {L"CGifPicture", &NewVisibleEnabled<CGifPicture>},
    {L"MProgress", &NewVisibleEnabled<MProgress>},
    {L"MSlider", &NewVisibleEnabled<MSlider>},
    {L"MLevelCtrl", &NewVisibleEnabled<MLevelCtrl>},
    {L"MButton", &NewTitleVisibleEnabled<MButton>},
    {L"CImageButton", &NewTitleVisibleEnabled<CImageButton>},
    {L"CTextButton", &NewTitleVisibleEnabled<CTextButton>},
    {L"CCheckButton", &NewTitleVisibleEnabled<CCheckButton>},
    {L"CRadioButton", &NewTitleVisibleEnabled<CRadioButton>},
    {L"CSelectButton", &NewTitleVisibleEnabled<CSelectButton>},
    {L"CColorButton", &NewVisibleEnabled<CColorButton>},
    {L"MSpinButton", &NewVisibleEnabled<MSpinButton>},
    {L"CSpinButton", &NewVisibleEnabled<CSpinButton>},
    {L"CSwitchButton", &NewVisibleEnabled<CSwitchButton>},
    {L"CIconButton", &NewTitleVisibleEnabled<CIconButton>},
    {L"CTimerButton", &NewTitleVisibleEnabled<CTimerButton>},
    {L"CHelpButton", &NewTitleVisibleEnabled<CHelpButton>},
    {L"MEdit", &NewTitleVisibleEnabled<MEdit>},
    {L"MRichEdit", &NewTitleVisibleEnabled<MRichEdit>},
    {L"MEditEx", &NewTitleVisibleEnabled<MEditEx>},
    {L"MComboBox", &NewVisibleEnabled<MComboBox>},
    {L"MTabCtrl", &NewVisibleEnabled<MTabCtrl>},
    {L"MTabLayout", &NewVisible<MTabLayout>},
    {L"MListBox", &NewVisible<MListBox>},
    {L"MPalette", &NewVisible<MPalette>},
    {L"CColorPalette", &NewVisible<CColorPalette>},
    {L"CColorSelect", &NewVisible<CColorSelect>},
    {L"CirclePalette", &NewVisibleOne<CirclePalette>},
    {L"MenuItem", &NewTitleVisibleOne<MenuItem>},
    {L"KeyboardCtrl", &NewVisible<KeyboardCtrl>},
    {L"KeyFuncControl", &NewVisible<KeyFuncControl>},
    {L"KeyFuncControl2", &NewVisible<KeyFuncControl2>},
    {L"CRecordList", &NewVisible<CRecordList>},
    {L"CDeviceCtrl", &NewVisibleOne<CDeviceCtrl>},
    {L"CDeviceList", &NewVisibleOne<CDeviceList>},
    {L"UpgradeButton", &NewTitleVisibleOne<UpgradeButton>},
    {L"DownloadButton", &NewTitleVisibleOne<DownloadButton>},
    {L"KeyLayerButton", &NewTitleVisibleOne<KeyLayerButton>},
    {L"BatteryCtrl", &NewVisibleOne<BatteryCtrl>},
    {L"ImageView", &NewVisibleOne<ImageView>},
    {L"ColorView", &NewVisibleOne<ColorView>},
    {L"KeyDKSCtrl", &NewVisibleOne<KeyDKSCtrl>},
    {L"KeySOCDCtrl", &NewVisibleOne<KeySOCDCtrl>},
    {L"KeyStrokeCtrl", &NewVisibleOne<KeyStrokeCtrl>},
    {L"KeyStrokeCtrl2", &NewVisibleOne<KeyStrokeCtrl2>},
    {L"TachyonCtrl", &NewVisibleOne<TachyonCtrl>},
    {L"KeyFuncCtrl", &NewVisible<KeyFuncCtrl>},
    {L"KeyFuncValue", &NewVisibleOne<KeyFuncValue>},
    {L"KeyDKSList", &NewVisibleOne<KeyDKSList>},
    {L"KeyMTCtrl", &NewVisibleOne<KeyMTCtrl>},
    {L"CRoundArea", &NewVisibleOne<CRoundArea>},
    {L"ProfileList", &NewVisibleOne<ProfileList>},
    {L"MListBoxEx", &NewVisibleOne<MListBoxEx>},
    {L"CKeyTestCtrl", &NewVisibleOne<CKeyTestCtrl>},
    {L"KeyDKSCtrlEx", &NewVisibleOne<KeyDKSCtrlEx>},
    {L"KeyFuncType", &NewVisibleOne<KeyFuncType>},
    {L"KeyMenuFuncType", &NewVisibleOne<KeyMenuFuncType>},
    {L"MImageButton", &NewVisibleOne<MImageButton>},
    {L"MComboBox2", &NewVisibleOne<MComboBox2>},
    {L"KeyLayerCtrl", &NewVisibleOneType<KeyLayerCtrl, KEY_LAYER_CTRL_TYPE, KEY_LAYER_VERTICAL>},
    {L"KeyTypeTab", &NewVisibleOneType<KeyTypeTab, KEY_TYPE_TAB_TYPE, KEY_TYPE_TAB_VERTICAL>},
    {L"KeyValueList", &NewVisibleOne<KeyValueList>},
    {L"KeyboardTestCtrl", &NewVisible<KeyboardTestCtrl>},
    {L"KeySwitchCtrl", &NewVisibleOne<KeySwitchCtrl>},
    {L"LightTypeTab", &NewVisibleOne<LightTypeTab>},
};

}  // namespace

MControl* ConstructControl(const ControlClassTable& table, const wchar_t* name, const ControlCreateArgs& args) {
  if (!name || !*name) return nullptr;
  for (const ControlClass& entry : table) {
    if (std::wcscmp(entry.name, name) == 0) return entry.construct(args);
  }
  return nullptr;
}

ControlClassTable EngineControlClasses() { return {kEngineControlClasses.begin(), kEngineControlClasses.size()}; }

ControlClassTable PanelControlClasses() { return {kPanelControlClasses.begin(), kPanelControlClasses.size()}; }

}  // namespace TESK
