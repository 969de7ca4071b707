// The class names of the keyboard controls that the two factories know: each name makes an
// object of its class through the dialog's factory and through a panel's, with the factories'
// argument shapes (created enabled whatever the caller asks; the tab strips vertical), and the
// names only a panel knows give nothing from the dialog.
#include <gtest/gtest.h>

#include <string>

#include "ControlHost.h"
#include "ProgramInstance.h"
#include "BitmapProbe.h"
#include "ui/controls/MTabLayout.h"
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

using namespace TESK;

namespace {

template <class T>
bool IsA(MControl* control) {
  return dynamic_cast<T*>(control) != nullptr;
}

// The tab strips are made vertical.
bool IsVerticalTypeTab(MControl* control) {
  auto* tabs = dynamic_cast<KeyTypeTab*>(control);
  return tabs && tabs->GetKeyTypeTabType() == KEY_TYPE_TAB_VERTICAL;
}
bool IsVerticalLayerCtrl(MControl* control) {
  auto* tabs = dynamic_cast<KeyLayerCtrl*>(control);
  return tabs && tabs->GetKeyLayerCtrlType() == KEY_LAYER_VERTICAL;
}

struct KnownName {
  const wchar_t* name;
  bool dialogToo;  // the engine's factory knows it too
  bool (*isItsClass)(MControl*);
};

const KnownName kKnownNames[] = {
    {L"KeyboardCtrl", true, &IsA<KeyboardCtrl>},
    {L"KeyLayerCtrl", true, &IsVerticalLayerCtrl},
    {L"KeyStrokeCtrl", true, &IsA<KeyStrokeCtrl>},
    {L"TachyonCtrl", true, &IsA<TachyonCtrl>},
    {L"KeyboardTestCtrl", true, &IsA<KeyboardTestCtrl>},
    {L"BatteryCtrl", true, &IsA<BatteryCtrl>},
    {L"CDeviceCtrl", true, &IsA<CDeviceCtrl>},
    {L"KeyFuncControl2", true, &IsA<KeyFuncControl2>},
    {L"KeyFuncCtrl", true, &IsA<KeyFuncCtrl>},
    {L"KeyDKSCtrl", true, &IsA<KeyDKSCtrl>},
    {L"KeyMTCtrl", true, &IsA<KeyMTCtrl>},
    {L"KeySOCDCtrl", true, &IsA<KeySOCDCtrl>},
    {L"KeyFuncType", true, &IsA<KeyFuncType>},
    {L"KeyFuncValue", true, &IsA<KeyFuncValue>},
    {L"KeyMenuFuncType", true, &IsA<KeyMenuFuncType>},
    {L"KeyDKSList", true, &IsA<KeyDKSList>},
    {L"KeyTypeTab", true, &IsVerticalTypeTab},
    {L"KeyValueList", true, &IsA<KeyValueList>},
    {L"ProfileList", true, &IsA<ProfileList>},
    {L"KeyFuncControl", false, &IsA<KeyFuncControl>},
    {L"KeyStrokeCtrl2", false, &IsA<KeyStrokeCtrl2>},
    {L"KeySwitchCtrl", false, &IsA<KeySwitchCtrl>},
    {L"CKeyTestCtrl", false, &IsA<CKeyTestCtrl>},
    {L"CDeviceList", false, &IsA<CDeviceList>},
    {L"KeyDKSCtrlEx", false, &IsA<KeyDKSCtrlEx>},
    {L"CRecordList", false, &IsA<CRecordList>},
    {L"LightTypeTab", false, &IsA<LightTypeTab>},
    {L"MListBoxEx", false, &IsA<MListBoxEx>},
};

class KeyboardControlNamesTest : public testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::ControlHost host{700, 500};
};

TEST_F(KeyboardControlNamesTest, EachNameMakesItsClassThroughTheFactoriesThatKnowIt) {
  auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
  ASSERT_NE(nullptr, page);
  UINT id = 100;
  for (const KnownName& known : kKnownNames) {
    const std::string name(known.name, known.name + wcslen(known.name));
    SCOPED_TRACE(name);
    // Hidden and disabled as asked: every keyboard control is made enabled.
    MControl* fromDialog = host.CreateControl(known.name, ++id, CRect(0, 0, 300, 200), L"", 0, 0);
    if (known.dialogToo) {
      ASSERT_NE(nullptr, fromDialog);
      EXPECT_TRUE(known.isItsClass(fromDialog));
      EXPECT_EQ(0, fromDialog->IsVisible());
      EXPECT_EQ(1, fromDialog->IsEnabled());
      EXPECT_EQ(host.GetPaintManager(), fromDialog->GetManager());
    } else {
      EXPECT_EQ(nullptr, fromDialog) << "a panel's name only";
    }
    MControl* fromPanel = page->CreateControl(known.name, ++id, CRect(0, 0, 300, 200), L"", 0, 0);
    ASSERT_NE(nullptr, fromPanel);
    EXPECT_TRUE(known.isItsClass(fromPanel));
    EXPECT_EQ(0, fromPanel->IsVisible());
    EXPECT_EQ(1, fromPanel->IsEnabled());
    EXPECT_EQ(page, fromPanel->GetParantObject());
  }
  EXPECT_EQ(nullptr, host.CreateControl(L"DPIControl", 1, CRect(0, 0, 100, 100), L"", 1, 1)) << "known to neither";
  EXPECT_EQ(nullptr, page->CreateControl(L"DPIControl", 1, CRect(0, 0, 100, 100), L"", 1, 1));
}

}  // namespace
