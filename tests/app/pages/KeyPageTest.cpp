// The key page's operations on real controls in a host window, a store in a scratch folder and
// a recording device link (no worker runs: the queued tasks stay to be read). Rows are read
// back with raw SQL, never through the store.
#include "app/pages/KeyPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "RawDb.h"
#include "RecordingDeviceLink.h"
#include "RecordingShell.h"
#include "TempFolder.h"
#include "app/KeyboardDef.h"
#include "app/pages/KeyAssignment.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyPickerLayout.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"

using namespace TESK;
using testsupport::ControlHost;

namespace {

// Keys of the test picture, one row of 50 x 50 cells from the left: (code, name).
const std::vector<std::pair<int, const wchar_t*>> kKeys = {{41, L"Esc"}, {4, L"A"},     {5, L"B"},  {20, L"Q"},
                                                           {26, L"W"},  {8, L"E"},     {0x2C, L"Space"},
                                                           {255, L"Fn"}, {0xE3, L"Win"}};
constexpr int kKeySize = 50;
const CRect kPickerRect(0, 100, 1090, 470);

CPoint KeyCentre(int code) {
  for (size_t i = 0; i < kKeys.size(); ++i) {
    if (kKeys[i].first == code) return CPoint(static_cast<int>(i) * kKeySize + kKeySize / 2, kKeySize / 2);
  }
  return CPoint(-1, -1);
}

class KeyPageTest : public testing::Test {
 protected:
  KeyPageTest() : host(1100, 480) {}

  void SetUp() override {
    ConfigDatabase::Instance().Close();
    temp.MakeSubFolder(L"db");
    ASSERT_TRUE(ConfigDatabase::Instance().Open(temp.Path().c_str(), L"Key page"));
    db = std::make_unique<RawDb>(temp.Path() + L"db\\Key page_datav8.db");

    const int width = static_cast<int>(kKeys.size()) * kKeySize;
    def.m_keyboardKeys = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 80, CRect(0, 0, width, kKeySize));
    def.m_keyboardAdv = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 95, CRect(0, 0, width, kKeySize), L"", 0);
    for (KeyboardCtrl* picture : {def.m_keyboardKeys, def.m_keyboardAdv}) {
      ASSERT_NE(nullptr, picture);
      for (size_t i = 0; i < kKeys.size(); ++i) {
        const int left = static_cast<int>(i) * kKeySize;
        picture->AddKeyItem(kKeys[i].second, kKeys[i].second, kKeys[i].first, CRect(left, 0, left + kKeySize, kKeySize),
                            L"", 0x232323);
      }
      picture->SetWidthAndHeight(width, kKeySize);
    }
    def.m_keyTypeTab = host.Add<KeyTypeTab>(L"KeyTypeTab", 92, CRect(0, 60, 700, 90));
    ASSERT_NE(nullptr, def.m_keyTypeTab);
    for (int group = 0; group < 7; ++group) def.m_keyTypeTab->AddKeyType(L"group", group);
    auto* page = host.Add<MTabLayout>(L"MTabLayout", 9, CRect(0, 0, host.width(), host.height()));
    ASSERT_NE(nullptr, page);
    def.m_keyFuncPicker =
        dynamic_cast<KeyFuncControl*>(page->CreateControl(L"KeyFuncControl", 93, kPickerRect, L"", 1, 1));
    ASSERT_NE(nullptr, def.m_keyFuncPicker);
    def.m_keyFuncPicker->InitItemInfo();
    def.m_keyValueList = host.Add<KeyValueList>(L"KeyValueList", 94, kPickerRect, L"", 0);
    def.m_advKeyList = host.Add<KeyDKSCtrlEx>(L"KeyDKSCtrlEx", 112, CRect(0, 0, 10, 10), L"", 0);
    def.m_advKeyCount = host.Add<MText>(L"MText", 111, CRect(0, 0, 10, 10), L"0", 0);
    def.m_comboProfileKeys = host.Add<MComboBox>(L"MComboBox", 82, CRect(), L"");
    def.m_comboProfileAdv = host.Add<MComboBox>(L"MComboBox", 97, CRect(), L"");
    def.m_keyLayerKeys = host.Add<KeyLayerCtrl>(L"KeyLayerCtrl", 90, CRect(), L"", 0);
    def.m_keyLayerAdv = host.Add<KeyLayerCtrl>(L"KeyLayerCtrl", 103, CRect(), L"", 0);
    for (KeyLayerCtrl* layers : {def.m_keyLayerKeys, def.m_keyLayerAdv}) {
      ASSERT_NE(nullptr, layers);
      for (int id = 0; id < 12; ++id) layers->AddKeyLayer(L"layer", id);
    }
    link.mainWindow = host.GetSafeHwnd();
    page_ = std::make_unique<KeyPage>(link, def, curProfile);
    page_->CreateDefaultKeyMacros(1);
  }
  void TearDown() override {
    page_.reset();
    db.reset();
    ConfigDatabase::Instance().Close();
    testsupport::ClearMessageBoxes();
  }

  // The stored function of a key as "kind value value2 value3 caption".
  std::string RowOf(int layer, int code) {
    const auto rows = db->Rows("SELECT macro_type, macro_value, macro_value2, macro_value3, macro_desc FROM "
                               "t_key_macro_data WHERE profile = 1 AND fn_layer = " +
                               std::to_string(layer) + " AND key_code = " + std::to_string(code));
    if (rows.size() != 1) return rows.empty() ? "no row" : "several rows";
    return rows[0][0] + " " + rows[0][1] + " " + rows[0][2] + " " + rows[0][3] + " \"" + rows[0][4] + "\"";
  }
  std::vector<int> Tasks() {
    std::vector<int> tasks;
    int task = 0;
    while (link.TakeTask(&task)) tasks.push_back(task);
    return tasks;
  }
  struct KeyCaption {
    CString name;
    int type = 0;
  };
  KeyCaption Caption(KeyboardCtrl* picture, int code) {
    KeyCaption copy;
    picture->EnterCriSec();
    for (const KEY_INFO* key : picture->GetKeyItems()) {
      if (key->key_code != code) continue;
      copy.name = key->name;
      copy.type = key->type;
    }
    picture->LeaveCriSec();
    return copy;
  }
  void SelectGroup(int group) {
    def.m_keyTypeTab->SetSelectKeyType(group);
    page().FillKeyValueList(group);
  }
  // A click on a picker entry, as the user gives it.
  void ClickPicker(int index) {
    CRect cell(KeyPickerFullGeometry().cells[index]);
    cell.OffsetRect(kPickerRect.left, kPickerRect.top);
    host.Click(cell.CenterPoint());
  }
  KeyPage& page() { return *page_; }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::TempFolder temp{L"key page"};
  std::unique_ptr<RawDb> db;
  ControlHost host;
  testsupport::RecordingDeviceLink link;
  KeyboardDef def;
  std::atomic<int> curProfile{0};
  std::unique_ptr<KeyPage> page_;
};

TEST_F(KeyPageTest, ANewProfilesRowsComeFromThePictureOnce) {
  EXPECT_EQ(static_cast<int>(kKeys.size()) * 12, db->Number("SELECT count(*) FROM t_key_macro_data WHERE profile = 1"));
  EXPECT_EQ("2 4 0 0 \"A\"", RowOf(0, 4));
  EXPECT_EQ("2 255 0 0 \"Fn\"", RowOf(0, 255));
  EXPECT_EQ("0 0 0 0 \"\"", RowOf(1, 4));
  EXPECT_EQ("0 0 0 0 \"\"", RowOf(11, 255));
  page().CreateDefaultKeyMacros(1);
  EXPECT_EQ(static_cast<int>(kKeys.size()) * 12, db->Number("SELECT count(*) FROM t_key_macro_data"));
  def.m_keyboardKeys->ClearItem();
  page().CreateDefaultKeyMacros(2);
  EXPECT_EQ(0, db->Number("SELECT count(*) FROM t_key_macro_data WHERE profile = 2")) << "no keys, no rows";
}

TEST_F(KeyPageTest, EachGroupAssignsItsKindToTheSelectedKeyAndWritesTheKeyMap) {
  def.m_keyboardKeys->SetCurrentKeyValue(4);
  const CString mouse = testsupport::LanText(155);
  const struct {
    int group, value;
    std::string expected;
    CString caption;
  } cases[] = {
      {1, 0xE9, "6 233 0 0 \"Vol+\"", L"Vol+"},      {2, 104, "2 104 0 0 \"F13\"", L"F13"},
      {3, 0x1FF, "12 511 0 0 \"FN1\"", L"FN1"},      {4, 50, "12 50 0 0 \"Bright+\"", L"Bright+"},
      {5, 2, "3 2 0 0 \"M2\"", L"M2"},               {6, 7, "5 7 0 0 \"" + Utf8Of(mouse.GetString()) + "\"", mouse},
  };
  for (const auto& c : cases) {
    SelectGroup(c.group);
    EXPECT_EQ(1, def.m_keyValueList->IsVisible()) << c.group;
    def.m_keyValueList->SetSelectKeyValue(c.value);
    EXPECT_EQ(1, page().ApplyKeyValueToKey());
    EXPECT_EQ(c.expected, RowOf(0, 4)) << "group " << c.group;
    EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks()) << c.group;
    EXPECT_EQ(c.caption, Caption(def.m_keyboardKeys, 4).name) << c.group;
    EXPECT_EQ(CString(L"A"), Caption(def.m_keyboardAdv, 4).name) << "a list click draws on the key page only";
  }
  SelectGroup(0);
  EXPECT_EQ(0, def.m_keyValueList->IsVisible());
  EXPECT_EQ(1, def.m_keyFuncPicker->IsVisible());
  ClickPicker(39);  // Q
  EXPECT_EQ(1, page().ApplyKeyFuncToKey());
  EXPECT_EQ("2 20 0 0 \"Q\"", RowOf(0, 4));
  ClickPicker(110);  // the no-function entry
  EXPECT_EQ(1, page().ApplyKeyFuncToKey());
  EXPECT_EQ("1 1 0 0 \"\u25BD\"", RowOf(0, 4));
  EXPECT_EQ((std::vector<int>{TASK_WRITE_KEYMAP, TASK_WRITE_KEYMAP}), Tasks());
  EXPECT_EQ(CString(L"\u25BD"), Caption(def.m_keyboardAdv, 4).name) << "a picker click refreshes every picture";
}

TEST_F(KeyPageTest, NothingChangesWithoutAKeyASelectionOrARowAndForLockedKeys) {
  SelectGroup(1);
  def.m_keyValueList->SetSelectKeyValue(0xE9);
  def.m_keyboardKeys->SetCurrentKeyValue(-1);
  EXPECT_EQ(0, page().ApplyKeyValueToKey()) << "no key";
  EXPECT_EQ(0, page().ApplyKeyFuncToKey()) << "no key";

  link.m_deviceProfile = 1;
  for (int code : {20, 26, 8}) {
    def.m_keyboardKeys->SetCurrentKeyValue(code);
    link.m_fnLayer = 5;
    EXPECT_EQ(1, page().ApplyKeyValueToKey());
    EXPECT_EQ("0 0 0 0 \"\"", RowOf(5, code)) << "locked on layer 5";
    link.m_fnLayer = 4;
    EXPECT_EQ(1, page().ApplyKeyValueToKey());
    EXPECT_EQ("6 233 0 0 \"Vol+\"", RowOf(4, code)) << "free on layer 4";
  }
  EXPECT_EQ((std::vector<int>(3, TASK_WRITE_KEYMAP)), Tasks());

  link.m_fnLayer = 0;
  def.m_keyboardKeys->SetCurrentKeyValue(4);
  def.m_keyValueList->SetSelectKeyValue(-1);
  EXPECT_EQ(1, page().ApplyKeyValueToKey());
  EXPECT_EQ("2 4 0 0 \"A\"", RowOf(0, 4)) << "no list entry selected";
  SelectGroup(0);
  EXPECT_EQ(1, page().ApplyKeyFuncToKey());
  EXPECT_EQ("2 4 0 0 \"A\"", RowOf(0, 4)) << "no picker entry selected";

  SelectGroup(1);
  def.m_keyValueList->SetSelectKeyValue(0xE9);
  def.m_keyboardKeys->SetCurrentKeyValue(0x99);  // a code of no row
  EXPECT_EQ(1, page().ApplyKeyValueToKey());
  EXPECT_EQ(0, db->Number("SELECT count(*) FROM t_key_macro_data WHERE key_code = 153"));
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(KeyPageTest, ADropAssignsToTheKeyUnderTheCursorOnly) {
  SelectGroup(1);
  def.m_keyValueList->SetSelectKeyValue(0xEA);
  const CPoint onB = host.ToScreen(KeyCentre(5));
  SetCursorPos(onB.x, onB.y);
  EXPECT_EQ(1, page().OnKeyFunctionDropped());
  EXPECT_EQ("6 234 0 0 \"Vol-\"", RowOf(0, 5));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks());

  const CPoint below = host.ToScreen(CPoint(10, 300));
  SetCursorPos(below.x, below.y);
  EXPECT_EQ(0, page().OnKeyFunctionDropped()) << "outside every key";
  SetCursorPos(onB.x, onB.y);
  def.m_keyValueList->SetSelectKeyValue(-1);
  EXPECT_EQ(1, page().OnKeyFunctionDropped());
  EXPECT_EQ("6 234 0 0 \"Vol-\"", RowOf(0, 5)) << "nothing selected in the list";
  EXPECT_TRUE(Tasks().empty());
}

TEST_F(KeyPageTest, ResetsAndPresetsStoreTheLayerAndWriteItOnce) {
  link.m_fnLayer = 0;
  db->Exec("UPDATE t_key_macro_data SET macro_type = 6, macro_value = 233, macro_desc = 'Vol+' WHERE fn_layer = 0");
  page().ResetKeyToDefault(0x2C);
  EXPECT_EQ("2 44 0 0 \"Space\"", RowOf(0, 0x2C));
  EXPECT_EQ("6 233 0 0 \"Vol+\"", RowOf(0, 4)) << "one key only";
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks());

  page().ApplyLayoutPreset(LAYOUT_PRESET_DVORAK);
  EXPECT_EQ("2 52 0 0 \"'\"", RowOf(0, 20));
  EXPECT_EQ("2 53 0 0 \"~\"", RowOf(0, 41));
  EXPECT_EQ("12 511 0 0 \"FN1\"", RowOf(0, 255));
  EXPECT_EQ("2 4 0 0 \"A\"", RowOf(0, 4));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks());
  EXPECT_EQ(CString(L"'"), Caption(def.m_keyboardKeys, 20).name);

  EXPECT_EQ(1, page().OnKeyPageMenuCommand(LAYOUT_PRESET_MAC));
  EXPECT_EQ("2 226 0 0 \"Opt\"", RowOf(0, 0xE3));
  EXPECT_EQ("2 20 0 0 \"Q\"", RowOf(0, 20));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks());

  // Layer 3: a key with a default row takes it, the others become empty.
  link.m_fnLayer = 3;
  db->Exec("INSERT INTO t_key_macro_data (profile, fn_layer, key_code, macro_type, macro_value, macro_value2, "
           "macro_value3, macro_desc) VALUES (1, 103, 4, 12, 1, 0, 0, 'Lock')");
  db->Exec("UPDATE t_key_macro_data SET macro_type = 2, macro_value = 9, macro_desc = 'F' WHERE fn_layer = 3");
  EXPECT_EQ(1, page().ConfirmResetLayer(235, 236));
  ASSERT_EQ(1u, testsupport::MessageBoxes().size());
  EXPECT_EQ(testsupport::LanText(235), testsupport::MessageBoxes()[0].message);
  EXPECT_EQ(testsupport::LanText(236), testsupport::MessageBoxes()[0].title);
  EXPECT_EQ("12 1 0 0 \"Lock\"", RowOf(3, 4));
  EXPECT_EQ("0 0 0 0 \"\"", RowOf(3, 5));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks());

  link.m_fnLayer = 7;
  db->Exec("DELETE FROM t_key_macro_data WHERE fn_layer = 7");
  page().ResetLayerToDefault();
  page().ApplyLayoutPreset(LAYOUT_PRESET_WORKMAN);
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, Tasks()) << "an empty layer: the reset writes, the preset does not";
}

TEST_F(KeyPageTest, CaptionsAndTheAdvancedKeyListFollowTheLayer) {
  MAGNETIC_KEY_DATA tgl;
  tgl.profile = 1;
  tgl.macro_type = 16;
  tgl.key1_name = L"Shift";
  const int id = ConfigDatabase::Instance().InsertMagneticKey(tgl);
  db->Exec("UPDATE t_key_macro_data SET macro_type = 16, macro_value = " + std::to_string(id) +
           ", macro_desc = 'TGL' WHERE fn_layer = 2 AND key_code IN (4, 5, 20)");
  EXPECT_EQ(1, page().OnKeyLayerChanged(2));
  EXPECT_EQ(2, link.m_fnLayer.load());
  EXPECT_EQ(2, def.m_keyLayerAdv->GetSelectKeyLayerID());
  EXPECT_EQ(CString(L"03"), def.m_advKeyCount->GetTitle());
  for (KeyboardCtrl* picture : {def.m_keyboardKeys, def.m_keyboardAdv}) {
    EXPECT_EQ(CString(L"TGL"), Caption(picture, 4).name);
    EXPECT_EQ(16, Caption(picture, 4).type);
    EXPECT_EQ(CString(), Caption(picture, 41).name) << "an empty key on layer 2";
  }
  EXPECT_EQ(1, page().OnAdvKeyLayerChanged(0));
  EXPECT_EQ(0, def.m_keyLayerKeys->GetSelectKeyLayerID());
  EXPECT_EQ(CString(L"00"), def.m_advKeyCount->GetTitle());
  EXPECT_EQ(CString(L"A"), Caption(def.m_keyboardAdv, 4).name);
  EXPECT_TRUE(Tasks().empty()) << "a layer switch writes nothing";
}

TEST_F(KeyPageTest, UniqueComboNamesFollowTheComboItems) {
  MComboBox* combo = def.m_comboProfileKeys;
  EXPECT_EQ(CString(L"P 1"), MakeUniqueComboName(L"P", combo)) << "an empty list";
  EXPECT_EQ(CString(L"P 1"), MakeUniqueComboName(L"P", nullptr)) << "no combo";
  combo->AddItem(L"P 1", 1, L"", Gdiplus::Color());
  combo->AddItem(L"P 3", 3, L"", Gdiplus::Color());
  combo->AddItem(L"p 2", 4, L"", Gdiplus::Color());
  EXPECT_EQ(CString(L"P 2"), MakeUniqueComboName(L"P", combo)) << "the items' texts";
}

}  // namespace
