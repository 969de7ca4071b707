// Times the key assignment page's store-bound operations on Lynt 80 (its staged layout file)
// with ten advanced keys on the base layer, in a scratch data folder:
//  - RefreshKeyCaptions: the layer's rows into the two key pictures and the advanced-key list;
//  - a layout preset and a layer reset over every key of the layer (each stores the layer's
//    rows, refreshes the captions and queues one key-map write);
//  - CreateDefaultKeyMacros: the twelve rows of every key of a new profile.
// Prints milliseconds per call. Run by hand from build/<arch>/bin; not a test.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "RecordingDeviceLink.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "app/KeyboardDef.h"
#include "app/pages/KeyAssignment.h"
#include "app/pages/KeyPage.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyboardCtrl.h"

using testsupport::MicrosecondsPerCall;

namespace {

constexpr int kAdvancedKeys = 10;

// Ten advanced keys of every kind on the first keys of the base layer.
void StoreAdvancedKeys(const testsupport::Layout& layout) {
  ConfigDatabase& store = ConfigDatabase::Instance();
  std::vector<KEY_MACRO_DATA> rows;
  for (int i = 0; i < kAdvancedKeys; ++i) {
    MAGNETIC_KEY_DATA key;
    key.profile = 1;
    key.macro_type = 14 + i % 6;
    key.key_value = layout.keys[i].code | (layout.keys[i + 1].code << 16);
    key.key1_value = 16 * (i % 4) + 1;
    key.key1_name = L"A";
    key.key2_name = L"B";
    const int id = store.InsertMagneticKey(key);
    for (int item = 0; key.macro_type == 14 && item < 4; ++item) {
      KEY_ITEM_DATA action;
      action.macro_id = id;
      action.key_value = 4 + item;
      action.key_name = L"K";
      store.InsertKeyItem(action);
    }
    KEY_MACRO_DATA row;
    store.GetKeyMacro(0, layout.keys[i].code, row);
    row.macro_type = key.macro_type;
    row.macro_value = id;
    row.macro_value2 = key.key_value;
    row.macro_desc = L"ADV";
    rows.push_back(row);
  }
  store.UpdateKeyMacros(rows);
}

}  // namespace

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  const testsupport::Layout layout = testsupport::ReadLayout(
      testsupport::Env("TAVIR_PROGRAM_DIR").empty() ? "../program/layouts/Lynt 80.xml" : testsupport::LayoutPath("Lynt 80"));
  if (layout.keys.size() <= kAdvancedKeys) {
    std::printf("no layout: run from build/<arch>/bin or set TAVIR_PROGRAM_DIR\n");
    return 1;
  }
  testsupport::TempFolder folder(L"_keybench");
  folder.MakeSubFolder(L"db");
  ConfigDatabase& store = ConfigDatabase::Instance();
  store.Open(folder.Path().c_str(), L"Lynt 80");

  testsupport::ControlHost host(1400, 860);
  KeyboardDef controls;
  controls.m_keyboardKeys = host.Add<TESK::KeyboardCtrl>(L"KeyboardCtrl", 80, CRect(280, 100, 1280, 480));
  controls.m_keyboardAdv = host.Add<TESK::KeyboardCtrl>(L"KeyboardCtrl", 95, CRect(280, 100, 1280, 480), L"", 0);
  controls.m_advKeyList = host.Add<TESK::KeyDKSCtrlEx>(L"KeyDKSCtrlEx", 112, CRect(610, 560, 1390, 850));
  controls.m_advKeyCount = host.Add<TESK::MText>(L"MText", 111, CRect(730, 530, 820, 560));
  testsupport::FillKeyboard(*controls.m_keyboardKeys, layout);
  testsupport::FillKeyboard(*controls.m_keyboardAdv, layout);
  testsupport::RecordingDeviceLink link;
  link.mainWindow = host.GetSafeHwnd();
  std::atomic<int> curProfile{1};
  KeyPage page(link, controls, curProfile);

  const double create = MicrosecondsPerCall(5, [&](int i) { page.CreateDefaultKeyMacros(10 + i); });
  page.CreateDefaultKeyMacros(1);
  StoreAdvancedKeys(layout);
  std::printf("Lynt 80, %zu keys, %d advanced keys on layer 0\n", layout.keys.size(), kAdvancedKeys);
  std::printf("CreateDefaultKeyMacros (%zu rows):   %8.2f ms\n", layout.keys.size() * 12, create / 1000);

  const double refresh = MicrosecondsPerCall(20, [&](int) { page.RefreshKeyCaptions(); });
  std::printf("RefreshKeyCaptions:                 %8.2f ms\n", refresh / 1000);

  link.m_fnLayer = 1;
  const int presets[] = {LAYOUT_PRESET_DVORAK, LAYOUT_PRESET_COLEMAK, LAYOUT_PRESET_MAC, LAYOUT_PRESET_WORKMAN};
  const double preset = MicrosecondsPerCall(8, [&](int i) { page.ApplyLayoutPreset(presets[i % 4]); });
  std::printf("a layout preset (%zu rows):          %8.2f ms\n", layout.keys.size(), preset / 1000);
  const double reset = MicrosecondsPerCall(8, [&](int) { page.ResetLayerToDefault(); });
  std::printf("a layer reset (%zu rows):            %8.2f ms\n", layout.keys.size(), reset / 1000);
  int task = 0;
  while (link.TakeTask(&task)) {
  }
  store.Close();
  return 0;
}
