// The advanced-key page of the main window in the test process: the editor's results bound to
// the keys (rows, write mask, the pairs' performance), deletions that give the keys their
// function back on their own layers, the picture and list opening and feeding the editor,
// the type buttons, and the editor closed by a page change or a connection change; the
// simulated keyboard receives the advanced-key areas and key maps.
#include "app/KeyboardDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlHost.h"
#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/pages/CustomKeyDKSDlg.h"
#include "device/HidDeviceManager.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyboardCtrl.h"

using simkb::Area;

namespace {

constexpr int kKeyA = 4, kKeyB = 5, kKeyC = 6, kKeyD = 7, kFnKey = 255;
constexpr int kPairAB = kKeyA | kKeyB << 16;
constexpr int kAdvKeysTab = 2, kPerfTab = 1;

std::wstring TextOf(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }

// "{id}" in a expected row stands for the advanced key's id.
std::string WithId(std::string text, int id) {
  const size_t at = text.find("{id}");
  if (at != std::string::npos) text.replace(at, 4, std::to_string(id));
  return text;
}

class KeyboardDlgAdvKeyPageTest : public testsupport::MainWindowFixture {
 protected:
  KeyboardDlg& dlg() { return *m_dlg; }

  // An advanced key of profile 1 in the store; its id.
  static int StoreAdvKey(int kind, int keyValue, int key1 = 0, int key2 = 0, int reserved = 0) {
    MAGNETIC_KEY_DATA adv;
    adv.profile = 1;
    adv.macro_type = kind;
    adv.key_value = keyValue;
    adv.key1_value = key1;
    adv.key2_value = key2;
    adv.reserved = reserved;
    return ConfigDatabase::Instance().InsertMagneticKey(adv);
  }
  // A key's stored row on a layer id set to a function.
  static void SetRow(int layer, int code, int kind, int value, int value2, int value3, const wchar_t* caption) {
    KEY_MACRO_DATA row;
    ASSERT_TRUE(ConfigDatabase::Instance().GetKeyMacro(layer, code, row)) << layer << "/" << code;
    row.macro_type = kind, row.macro_value = value, row.macro_value2 = value2, row.macro_value3 = value3;
    row.macro_desc = caption;
    ConfigDatabase::Instance().UpdateKeyMacro(row);
  }
  // The pair (A, B) bound to an RS key on layer 0; its id.
  int StoreRsPair() {
    const int id = StoreAdvKey(17, kPairAB);
    SetRow(0, kKeyA, 17, id, kPairAB, kKeyB, L"RS");
    SetRow(0, kKeyB, 17, id, kPairAB, kKeyA, L"RS");
    return id;
  }
  // A key's stored mode and actuation point (on-board profile 1): "mode actuation".
  std::string PerfOf(int code) {
    RawDb db(DbFile().GetString());
    const auto rows = db.Rows("SELECT key_mode, key_actuation FROM t_key_perf_data WHERE profile = 1 AND key_code = " +
                              std::to_string(code));
    return rows.size() == 1 ? rows[0][0] + " " + rows[0][1] : "no row";
  }
  int Count(const std::string& sql) { return RawDb(DbFile().GetString()).Number(sql); }
  LONG Notify(TESK::MControl* control, UINT code = TESK::NOTIFY_CLICKED, WPARAM wParam = 0) {
    return static_cast<LONG>(control->SendMessageW(code, wParam, 0));
  }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(dlg().GetSafeHwnd(), message, wParam, lParam);
  }
  std::vector<TESK::MButton*> TypeButtons() {
    return {dlg().m_btnAdvDks, dlg().m_btnAdvMt, dlg().m_btnAdvTgl, dlg().m_btnAdvRs, dlg().m_btnAdvSocd,
            dlg().m_btnAdvOks};
  }
  // Whether all six type buttons are enabled (1), all disabled (0), or mixed (-1).
  int TypeButtonsEnabled() {
    int enabled = TypeButtons()[0]->IsEnabled();
    for (TESK::MButton* button : TypeButtons()) {
      if (button->IsEnabled() != enabled) return -1;
    }
    return enabled;
  }
  // The editor windows of the main window (child windows titled "CustomKeyDKSDlg").
  int EditorWindows() {
    int count = 0;
    EnumChildWindows(dlg().GetSafeHwnd(), &CountEditor, reinterpret_cast<LPARAM>(&count));
    return count;
  }
  static BOOL CALLBACK CountEditor(HWND child, LPARAM count) {
    wchar_t title[32] = {};
    GetWindowTextW(child, title, 32);
    if (std::wstring(title) == L"CustomKeyDKSDlg") ++*reinterpret_cast<int*>(count);
    return TRUE;
  }
  // The editor closed: no editor, no setting up, buttons enabled, the picture picking with no type.
  void ExpectClosedEditor() {
    EXPECT_EQ(nullptr, dlg().m_advKeyDlg.get());
    EXPECT_EQ(0, EditorWindows());
    ExpectPictureReset();
  }
  void ExpectPictureReset() {
    EXPECT_EQ(0, dlg().m_advKeyType);
    EXPECT_EQ(1, TypeButtonsEnabled());
    EXPECT_EQ(-1, dlg().m_keyboardAdv->GetAdvkeyType());
    EXPECT_EQ(1, dlg().m_keyboardAdv->GetAdvKeySelectFlag());
    EXPECT_EQ(0, dlg().m_keyboardAdv->GetCheckItemCount());
  }
  // The editor's window rectangle in the main window's client coordinates.
  CRect EditorRect() {
    RECT rect{};
    GetWindowRect(dlg().m_advKeyDlg->GetSafeHwnd(), &rect);
    MapWindowPoints(nullptr, dlg().GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return CRect(rect);
  }
  // The page shown, the worker running, no task left.
  simkb::Keyboard& OnAdvKeyPage() {
    simkb::Keyboard& keyboard = Connected();
    dlg().m_tabMain->SetSelectItem(kAdvKeysTab);
    EXPECT_TRUE(Settle());
    TakeAppended();
    return keyboard;
  }

  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
};

TEST_F(KeyboardDlgAdvKeyPageTest, AnAppliedKeyIsBoundToItsKeysWithItsAreaMaskAndThePairsPerformance) {
  Connected();
  StopAndDrain();
  const std::string plainA = "2 4 0 0 \"A\"", plainB = "2 5 0 0 \"B\"";
  const std::string rsA = "17 {id} 327684 5 \"RS\"", rsB = "17 {id} 327684 4 \"RS\"";
  const std::string socdA = "18 {id} 327684 5 \"SOCD\"", socdB = "18 {id} 327684 4 \"SOCD\"";
  // The pairs' actuation point 150 comes from the advanced key's reserved column.
  const int distances = 20 | 30 << 16;
  const struct Case {
    const char* name;
    int kind, keys, key1;  // key1 < 0: no advanced key has the id
    std::string rowA, rowB;
    int mask;               // -1: unchanged
    int modeA, modeB;       // -1: the key's performance unchanged
  } cases[] = {
      {"MT", 15, kKeyA, 0x11, "15 {id} 0 0 \"MT\"", plainB, 2, -1, -1},
      {"DKS after MT", 14, kKeyA, 0x0A1E, "14 {id} 0 0 \"DKS\"", plainB, 1, -1, -1},
      {"TGL", 16, kKeyA, 0x04, "16 {id} 0 0 \"TGL\"", plainB, 4, -1, -1},
      {"RS", 17, kPairAB, 0x11, rsA, rsB, 2, 0x11, 0x11},
      {"SOCD 0x12", 18, kPairAB, 0x12, socdA, socdB, 2, 0x12, 0x22},
      {"SOCD 0x25", 18, kPairAB, 0x25, socdA, socdB, 2, 0x25, 0x15},
      {"SOCD 0x33", 18, kPairAB, 0x33, socdA, socdB, 2, 0x33, 0x33},
      {"OKS both", 19, kPairAB, 0x11, "19 {id} 327684 5 \"OKS\"", "19 {id} 327684 4 \"OKS\"", 2, 0x11, 0x11},
      {"OKS first", 19, kPairAB, 0x21, "19 {id} 327684 5 \"OKS\"", "0 -1 0 0 \"B\"", 2, 0x21, -1},
      {"OKS second", 19, kPairAB, 0x31, "0 -1 0 0 \"A\"", "19 {id} 327684 4 \"OKS\"", 2, -1, 0x31},
      {"OKS other start", 19, kPairAB, 0x41, plainA, plainB, 2, -1, -1},
      {"no advanced key", 17, kPairAB, -1, plainA, plainB, -1, -1, -1},
  };
  dlg().m_advKeyWriteMask = 4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRow(0, kKeyA, 2, kKeyA, 0, 0, L"A");
    SetRow(0, kKeyB, 2, kKeyB, 0, 0, L"B");
    const std::string perfBefore[] = {PerfOf(kKeyA), PerfOf(kKeyB)};
    const int maskBefore = dlg().m_advKeyWriteMask;
    const int id = c.key1 < 0 ? 999 : StoreAdvKey(c.kind, c.keys, c.key1, distances, 150);

    EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, id));
    EXPECT_EQ(WithId(c.rowA, id), KeyRowOf(0, kKeyA));
    EXPECT_EQ(WithId(c.rowB, id), KeyRowOf(0, kKeyB));
    EXPECT_EQ(c.mask < 0 ? maskBefore : c.mask, dlg().m_advKeyWriteMask.load());
    const int modes[] = {c.modeA, c.modeB};
    const int keys[] = {kKeyA, kKeyB};
    bool perfChanged = false;
    for (int k = 0; k < 2; ++k) {
      if (modes[k] < 0) {
        EXPECT_EQ(perfBefore[k], PerfOf(keys[k])) << "key " << keys[k];
      } else {
        perfChanged = true;
        EXPECT_EQ(std::to_string(modes[k]) + " 150", PerfOf(keys[k])) << "key " << keys[k];
      }
    }
    const std::vector<int> tasks = perfChanged ? std::vector<int>{TASK_WRITE_KEY_PERF, TASK_WRITE_KEYMAP}
                                               : std::vector<int>{TASK_WRITE_KEYMAP};
    EXPECT_EQ(tasks, StopAndDrain());
    EXPECT_EQ(0, dlg().m_advKeyType);
  }

  // Nothing stored by the editor (-1): the key map is written as it is, no row changes.
  EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, -1));
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, StopAndDrain());
}

TEST_F(KeyboardDlgAdvKeyPageTest, TheKeyboardGetsTheBoundSlotsAndLosesADeletedKeyFromEveryArea) {
  simkb::Keyboard& keyboard = OnAdvKeyPage();
  const int dks = StoreAdvKey(14, kKeyA, 0x1E0A, 0x0A1E);
  EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, dks));
  ASSERT_TRUE(Settle());
  EXPECT_EQ("0a1e1e0a", simkb::ToHex(keyboard.Read(Area::Dks)).substr(0, 8));
  EXPECT_EQ("9000", KeyMapEntryOf(keyboard, 0, kKeyA).substr(0, 4));

  const int rs = StoreAdvKey(17, kPairAB, 0x11);
  EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, rs));
  ASSERT_TRUE(Settle());
  EXPECT_EQ("100004100005100005100004", simkb::ToHex(keyboard.Read(Area::AdvKeys)).substr(0, 24));
  const auto index = [&](int code) {
    char hex[3];
    snprintf(hex, sizeof hex, "%02x", dlg().m_keyIndexByCode.at(code));
    return std::string(hex);
  };
  EXPECT_EQ("9300" + index(kKeyB), KeyMapEntryOf(keyboard, 0, kKeyA));
  EXPECT_EQ("9301" + index(kKeyA), KeyMapEntryOf(keyboard, 0, kKeyB));

  // The RS tile's delete icon: one write of every layer and area.
  TakeAppended();
  dlg().m_advKeyList->SetSelectValue(rs);
  ASSERT_EQ(rs, dlg().m_advKeyList->GetMacroValue());
  EXPECT_EQ(1, Notify(dlg().m_advKeyList, TESK::NOTIFY_ITEMICON));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP_ALL}, TakeAppended());
  ASSERT_TRUE(Settle());
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ("100004", KeyMapEntryOf(keyboard, 0, kKeyA));
  EXPECT_EQ("100005", KeyMapEntryOf(keyboard, 0, kKeyB));
  for (Area area : {Area::AdvKeys, Area::Dks, Area::Tgl}) {
    const simkb::Bytes bytes = keyboard.Read(area);
    EXPECT_EQ(std::string(2 * 24, '0'), simkb::ToHex(simkb::Bytes(bytes.begin(), bytes.begin() + 24)))
        << "no key is left in area " << static_cast<int>(area);
  }
}

TEST_F(KeyboardDlgAdvKeyPageTest, ADeletedKeyGivesEveryRowThatUsedItItsFunctionBackOnTheRowsOwnLayer) {
  Connected();
  StopAndDrain();
  ConfigDatabase& store = ConfigDatabase::Instance();
  // The keyboard's own default of A on layer 5; B has none.
  KEY_MACRO_DATA def;
  def.profile = 1, def.fn_layer = 105, def.key_code = kKeyA, def.macro_type = 6, def.macro_value = 0xE9;
  def.macro_desc = L"Vol+";
  store.InsertKeyMacros({def});

  const int rs = StoreRsPair();
  const int fn = StoreAdvKey(14, kFnKey);
  KEY_ITEM_DATA action;  // a DKS key gets its tile from its actions
  action.macro_id = fn, action.key_value = kKeyA, action.key_name = L"A";
  store.InsertKeyItem(action);
  SetRow(0, kFnKey, 14, fn, 0, 0, L"DKS");
  const int layer5 = StoreAdvKey(15, kKeyA);
  SetRow(5, kKeyA, 15, layer5, 0, 0, L"MT");
  SetRow(5, kKeyB, 15, layer5, 0, 0, L"MT");
  // C bound on layer 0 and, as a profile file may have it, on layer 3 too; D's row names the
  // key without being of an advanced kind and stays.
  const int twoLayers = StoreAdvKey(16, kKeyC);
  SetRow(0, kKeyC, 16, twoLayers, 0, 0, L"TGL");
  SetRow(3, kKeyC, 16, twoLayers, 0, 0, L"TGL");
  SetRow(0, kKeyD, 2, twoLayers, 0, 0, L"odd");

  const struct Case {
    const char* name;
    int layer, id;
    std::vector<std::pair<std::pair<int, int>, std::string>> rows;  // (layer, key) -> row
  } cases[] = {
      {"RS pair", 0, rs, {{{0, kKeyA}, "2 4 0 0 \"A\""}, {{0, kKeyB}, "2 5 0 0 \"B\""}}},
      {"Fn key", 0, fn, {{{0, kFnKey}, "12 511 0 0 \"FN1\""}}},
      {"layer 5", 5, layer5, {{{5, kKeyA}, "6 233 0 0 \"Vol+\""}, {{5, kKeyB}, "0 0 0 0 \"\""}}},
      {"two layers",
       0,
       twoLayers,
       {{{0, kKeyC}, "2 6 0 0 \"C\""}, {{3, kKeyC}, "0 0 0 0 \"\""}, {{0, kKeyD}, "2 {id} 0 0 \"odd\""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlg().m_fnLayer = c.layer;
    dlg().RefreshKeyCaptions();
    dlg().m_advKeyList->SetSelectValue(c.id);
    ASSERT_EQ(c.id, dlg().m_advKeyList->GetMacroValue());
    EXPECT_EQ(1, Notify(dlg().m_advKeyList, TESK::NOTIFY_ITEMICON));
    for (const auto& row : c.rows) {
      EXPECT_EQ(WithId(row.second, c.id), KeyRowOf(row.first.first, row.first.second))
          << "layer " << row.first.first << " key " << row.first.second;
    }
    EXPECT_EQ(0, Count("SELECT count(*) FROM t_magnetic_key_data WHERE macro_id = " + std::to_string(c.id)));
    EXPECT_EQ(0, Count("SELECT count(*) FROM t_key_macro_data WHERE macro_type BETWEEN 14 AND 19 AND "
                       "macro_value = " + std::to_string(c.id)));
    EXPECT_EQ(-1, dlg().m_advKeyList->GetSelectItem()) << "the tile went";
    EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP_ALL}, StopAndDrain());
    ExpectPictureReset();
  }

  // No tile selected: nothing is deleted or written, picking still ends.
  dlg().m_fnLayer = 0;
  dlg().RefreshKeyCaptions();
  dlg().m_advKeyType = 18;
  dlg().m_keyboardAdv->SetAdvKeySelectFlag(0);
  EXPECT_EQ(1, Notify(dlg().m_advKeyList, TESK::NOTIFY_ITEMICON));
  EXPECT_TRUE(StopAndDrain().empty());
  ExpectPictureReset();
}

TEST_F(KeyboardDlgAdvKeyPageTest, TypeButtonsOpenTheEditorWhosePairIsPickedOnThePicture) {
  OnAdvKeyPage();
  // Refused while a message box is open.
  const int typeBefore = dlg().m_advKeyType;
  {
    TESK::MWindow box;
    ASSERT_NE(nullptr, box.Create(nullptr, L"MessageBox", WS_POPUP, 0, CRect(0, 0, 10, 10)));
    EXPECT_EQ(0, Notify(dlg().m_btnAdvSocd));
    EXPECT_EQ(nullptr, dlg().m_advKeyDlg.get());
    EXPECT_EQ(typeBefore, dlg().m_advKeyType);
    box.DestroyWindow();
  }

  EXPECT_EQ(1, Notify(dlg().m_btnAdvSocd));
  ASSERT_NE(nullptr, dlg().m_advKeyDlg.get());
  CustomKeyDKSDlg* editor = dlg().m_advKeyDlg.get();
  ASSERT_NE(nullptr, editor->GetControl(CustomKeyDKSDlg::kCancelId));
  EXPECT_EQ(CRect(180, 530, 1390, 850), EditorRect());
  EXPECT_EQ(5, editor->GetMode());
  EXPECT_EQ(0, editor->GetAdvKeyId());
  EXPECT_EQ(18, dlg().m_advKeyType);
  EXPECT_EQ(18, dlg().m_keyboardAdv->GetAdvkeyType());
  EXPECT_EQ(0, TypeButtonsEnabled());
  EXPECT_EQ(1, EditorWindows());
  // A second press (a notification reaches a disabled button too) replaces the editor.
  EXPECT_EQ(1, Notify(dlg().m_btnAdvSocd));
  EXPECT_EQ(1, EditorWindows());
  editor = dlg().m_advKeyDlg.get();

  // The picked pair goes to the editor; no stored key opens.
  ClickKey(dlg().m_keyboardAdv, kKeyA);
  ClickKey(dlg().m_keyboardAdv, kKeyB);
  EXPECT_EQ(editor, dlg().m_advKeyDlg.get());
  EXPECT_EQ(static_cast<unsigned>(kPairAB), editor->GetKeyValue());
  EXPECT_EQ(1, EditorWindows());

  // The editor's Cancel.
  testsupport::ClickWindow(editor->GetSafeHwnd(), editor->GetControl(CustomKeyDKSDlg::kCancelId)->GetRect().CenterPoint());
  testsupport::PumpFor(200);
  ExpectPictureReset();
  EXPECT_EQ(editor, dlg().m_advKeyDlg.get()) << "the object stays until the next opening";

  // A key with a stored RS key opens the editor on it, its pair checked and its tile selected.
  const int rs = StoreRsPair();
  dlg().RefreshKeyCaptions();
  ClickKey(dlg().m_keyboardAdv, kKeyA);
  ASSERT_NE(nullptr, dlg().m_advKeyDlg.get());
  editor = dlg().m_advKeyDlg.get();
  EXPECT_EQ(4, editor->GetMode());
  EXPECT_EQ(rs, editor->GetAdvKeyId());
  EXPECT_EQ(static_cast<unsigned>(kKeyA), editor->GetKeyValue());
  EXPECT_EQ(rs, dlg().m_advKeyList->GetMacroValue());
  EXPECT_EQ(2, dlg().m_keyboardAdv->GetCheckItemCount());
  EXPECT_EQ(0, dlg().m_keyboardAdv->GetAdvKeySelectFlag());
  EXPECT_EQ(0, TypeButtonsEnabled());
  EXPECT_EQ(1, EditorWindows());

  // Applied: buttons back, picture picking with no type.
  EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, rs));
  ExpectPictureReset();

  // The tile opens the editor on the pair.
  dlg().m_advKeyList->SetSelectValue(rs);
  EXPECT_EQ(1, Notify(dlg().m_advKeyList));
  ASSERT_NE(nullptr, dlg().m_advKeyDlg.get());
  EXPECT_EQ(4, dlg().m_advKeyDlg->GetMode());
  EXPECT_EQ(static_cast<unsigned>(kPairAB), dlg().m_advKeyDlg->GetKeyValue());
  EXPECT_EQ(2, dlg().m_keyboardAdv->GetCheckItemCount());
  EXPECT_EQ(1, EditorWindows());

  // A key drawn as an advanced key without a row on the layer opens nothing.
  dlg().CloseAdvKeyEditor();
  ExpectClosedEditor();
  RawDb(DbFile().GetString()).Exec("DELETE FROM t_key_macro_data WHERE fn_layer = 0 AND key_code = 6");
  dlg().m_keyboardAdv->SetKeyItemInfo(kKeyC, L"DKS", 14, L"DKS");
  ClickKey(dlg().m_keyboardAdv, kKeyC);
  EXPECT_EQ(nullptr, dlg().m_advKeyDlg.get());
  EXPECT_EQ(0, EditorWindows());
}

TEST_F(KeyboardDlgAdvKeyPageTest, APageChangeOrAConnectionChangeClosesTheEditor) {
  simkb::Keyboard& keyboard = OnAdvKeyPage();
  EXPECT_EQ(1, Notify(dlg().m_btnAdvRs));
  ASSERT_NE(nullptr, dlg().m_advKeyDlg.get());
  dlg().m_tabMain->SetSelectItem(kPerfTab);
  ExpectClosedEditor();

  dlg().m_tabMain->SetSelectItem(kAdvKeysTab);
  EXPECT_EQ(1, Notify(dlg().m_btnAdvDks));
  ASSERT_NE(nullptr, dlg().m_advKeyDlg.get());
  simkb::Bus::Get().Unplug(keyboard);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg().m_advKeyDlg == nullptr; }, 10000));
  ExpectClosedEditor();

  // Any window may post the message with any kind: an unknown one opens the editor as it starts.
  PostMessageW(dlg().GetSafeHwnd(), WM_KB_ADVKEY_ADD, 99, 0);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg().m_advKeyDlg != nullptr; }, 2000));
  EXPECT_EQ(1, EditorWindows());
  EXPECT_EQ(0, TypeButtonsEnabled());
  EXPECT_EQ(0, dlg().m_advKeyType);
}

TEST_F(KeyboardDlgAdvKeyPageTest, ThePagesProfileListAndLayerResetActOnEveryPage) {
  OnAdvKeyPage();
  RawDb db(DbFile().GetString());
  const int third = db.Number("SELECT max(profile) FROM t_profile_data WHERE type = 1");
  ASSERT_TRUE(dlg().m_comboProfileAdv->SelectData(third));
  EXPECT_EQ(1, Notify(dlg().m_comboProfileAdv));
  EXPECT_EQ(third, dlg().m_comboProfileKeys->GetCurData());
  EXPECT_EQ(third, dlg().m_comboProfilePerf->GetCurData());
  EXPECT_EQ(third, db.Number("SELECT profile FROM t_profile_data WHERE status = 1"));
  EXPECT_EQ(third, dlg().m_curProfile.load());
  const std::vector<int> tasks = TakeAppended();
  EXPECT_NE(tasks.end(), std::find(tasks.begin(), tasks.end(), TASK_APPLY_PROFILE));
  ASSERT_TRUE(Settle());

  testsupport::MessageBoxAnswerer answerer;
  answerer.Script({2, 1});
  SetRow(0, kKeyA, 6, 0xE9, 0, 0, L"Vol+");
  EXPECT_EQ(0, Notify(dlg().m_btnAdvResetLayer)) << "Cancel";
  EXPECT_EQ("6 233 0 0 \"Vol+\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ(1, Notify(dlg().m_btnAdvResetLayer)) << "OK";
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, TakeAppended());
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{201, 202}, {201, 202}}), answerer.TextIds(TextOf, 200, 300));
}

// The keyboard stops taking frames, or stops answering them, in the write of every area that
// follows a deletion: the window goes on answering, the store holds the deletion, and once the
// keyboard is back the next change sends every area again (the deleted key leaves the
// keyboard, the key map and the areas agree); after that the areas follow the mask again.
TEST_F(KeyboardDlgAdvKeyPageTest, AfterAKeyboardStoppedAnsweringInTheWriteOfEveryAreaTheNextChangeWritesThemAll) {
  const struct Case {
    const char* name;
    simkb::FaultKind kind;
  } cases[] = {{"frames lost", simkb::FaultKind::FailWrite}, {"no answers", simkb::FaultKind::SuppressReply}};
  simkb::Keyboard& keyboard = OnAdvKeyPage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int dks = StoreAdvKey(14, kKeyC, 0x1E0A, 0x0A1E);
    EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, dks));
    ASSERT_TRUE(Settle());  // each write takes its own mask
    const int rs = StoreAdvKey(17, kPairAB, 0x11);
    EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, rs));
    ASSERT_TRUE(Settle());
    ASSERT_EQ("100004100005", simkb::ToHex(keyboard.Read(Area::AdvKeys)).substr(0, 12));

    // Every frame from the first chunk of the areas on (the bracket's opening goes through).
    simkb::FaultRule fault;
    fault.kind = c.kind;
    fault.nth = 2;
    fault.times = -1;
    keyboard.AddFault(fault);
    dlg().m_advKeyList->SetSelectValue(rs);
    ASSERT_EQ(rs, dlg().m_advKeyList->GetMacroValue());
    EXPECT_EQ(1, Notify(dlg().m_advKeyList, TESK::NOTIFY_ITEMICON));
    // The window answers while its worker waits for the keyboard.
    PostMessageW(dlg().GetSafeHwnd(), WM_KB_ADVKEY_ADD, 16, 0);  // a TGL key
    EXPECT_TRUE(testsupport::PumpUntil([&] { return dlg().m_advKeyDlg != nullptr; }, 2000));
    dlg().CloseAdvKeyEditor();
    ASSERT_TRUE(WaitIdle(10000)) << "the worker gives up on a keyboard that does not take the areas";
    EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
    EXPECT_EQ("2 5 0 0 \"B\"", KeyRowOf(0, kKeyB));
    EXPECT_EQ(WithId("14 {id} 0 0 \"DKS\"", dks), KeyRowOf(0, kKeyC));
    EXPECT_EQ(0, Count("SELECT count(*) FROM t_magnetic_key_data WHERE macro_id = " + std::to_string(rs)));

    keyboard.ClearFaults();
    simkb::Bus::Get().Replug(keyboard);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return InPagesState() && dlg().PendingTasks() == 0; }, 15000));
    ASSERT_TRUE(Settle());
    size_t mark = simkb::Bus::Get().Mark();
    const int next = StoreAdvKey(14, kKeyD, 0x0B1F, 0x1F0B);
    EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, next));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(5, LastBracketFrames(mark, CMD_WRITE_ADV_KEYS)) << "every area, whatever the mask";
    EXPECT_EQ(std::string(2 * 24, '0'), simkb::ToHex(keyboard.Read(Area::AdvKeys)).substr(0, 2 * 24));
    EXPECT_EQ("100004", KeyMapEntryOf(keyboard, 0, kKeyA));
    EXPECT_EQ("100005", KeyMapEntryOf(keyboard, 0, kKeyB));
    const std::string dksArea = simkb::ToHex(keyboard.Read(Area::Dks));
    for (const auto& [code, start] : {std::pair<int, std::string>{kKeyC, "0a1e1e0a"}, {kKeyD, "1f0b0b1f"}}) {
      const std::string entry = KeyMapEntryOf(keyboard, 0, code);
      ASSERT_EQ("90", entry.substr(0, 2)) << "key " << code;
      const size_t slot = std::stoul(entry.substr(2, 2), nullptr, 16);
      EXPECT_EQ(start, dksArea.substr(2 * 24 * slot, 8)) << "key " << code << "'s slot " << slot;
    }

    // Whole again: a DKS change sends the DKS area only.
    mark = simkb::Bus::Get().Mark();
    EXPECT_EQ(1, Send(WM_KB_ADVKEY_APPLIED, 0, next));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(-1, LastBracketFrames(mark, CMD_WRITE_ADV_KEYS));
    EXPECT_EQ(14, LastBracketFrames(mark, CMD_WRITE_DKS));
  }
}

}  // namespace
