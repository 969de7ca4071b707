// The key assignment and advanced-key pages in the main window of the test process: their
// controls as built and placed, the profiles and key rows a keyboard's first reading makes,
// the page's notifications through the window's dispatch with the simulated keyboard
// receiving the key maps, drops through the window's drop target, and captions asked for
// from another thread.
#include "app/KeyboardDlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "BitmapProbe.h"
#include "DropWindow.h"
#include "MainWindowFixture.h"
#include "MessageBoxAnswerer.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "app/AppMessages.h"
#include "app/Language.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/controls/MText.h"
#include "ui/core/CIDropTarget.h"
#include "ui/core/MObject.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/CKeyTestCtrl.h"
#include "ui/keyboard/KeyDKSCtrlEx.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyLayerCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"
#include "ui/keyboard/KeyboardCtrl.h"

using simkb::Area;
using simkb::Bus;

namespace {

constexpr int kKeyA = 4;

std::wstring TextOf(int id) { return LoadLanString(L"KB.DIALOG", id).GetString(); }

class KeyboardDlgKeyPagesTest : public testsupport::MainWindowFixture {
 protected:
  KeyboardDlg& dlg() { return *m_dlg; }

  CString CaptionOf(TESK::KeyboardCtrl* picture, int code) {
    CString name;
    picture->EnterCriSec();
    for (const TESK::KEY_INFO* key : picture->GetKeyItems()) {
      if (key->key_code == code) name = key->name;
    }
    picture->LeaveCriSec();
    return name;
  }
  // A function group picked on the group tabs.
  LONG PickGroup(int group) {
    dlg().m_keyTypeTab->SetSelectKeyType(group);
    return Notify(dlg().m_keyTypeTab, group);
  }
  // A notification as the control sends it to its owner.
  LONG Notify(TESK::MControl* control, WPARAM wParam = 0) {
    return static_cast<LONG>(control->SendMessageW(TESK::NOTIFY_CLICKED, wParam, 0));
  }
  // Waits until the worker has written and the keyboard answered.
  void Settle() {
    ASSERT_TRUE(WaitIdle());
    testsupport::PumpFor(200);
  }

  // Drops reach the window only through OLE's registration of its engine.
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
};

TEST_F(KeyboardDlgKeyPagesTest, TheTwoPagesControlsAreBuiltAndPlacedAt1400x860) {
  Open();
  struct Row {
    UINT id;
    const wchar_t* className;
    CRect rect;  // empty: never placed
    int visible;
  };
  const Row rows[] = {
      {81, L"MText", {}, 1},
      {82, L"MComboBox", {}, 1},
      {83, L"MImageButton", {}, 1},
      {84, L"MText", {1100, 70, 1220, 100}, 1},
      {85, L"MImageButton", {1220, 70, 1250, 100}, 1},
      {86, L"MImageButton", {1260, 70, 1290, 100}, 1},
      {87, L"MImageButton", {1300, 70, 1330, 100}, 1},
      {88, L"MImageButton", {}, 1},
      {89, L"MImageButton", {}, 1},
      {80, L"KeyboardCtrl", {280, 100, 1280, 480}, 1},
      {90, L"KeyLayerCtrl", {610, 425, 970, 453}, 0},
      {91, L"CRoundArea", {180, 530, 1390, 532}, 1},
      {92, L"KeyTypeTab", {330, 495, 1310, 525}, 1},
      {93, L"KeyFuncControl", {230, 540, 1385, 830}, 1},
      {94, L"KeyValueList", {230, 540, 1385, 830}, 0},
      {95, L"KeyboardCtrl", {280, 100, 1280, 480}, 1},
      {96, L"MText", {}, 1},
      {97, L"MComboBox", {}, 1},
      {98, L"MImageButton", {}, 1},
      {99, L"MImageButton", {1200, 70, 1230, 100}, 1},
      {100, L"MImageButton", {1240, 70, 1270, 100}, 1},
      {101, L"MImageButton", {}, 1},
      {102, L"MImageButton", {}, 1},
      {103, L"KeyLayerCtrl", {610, 425, 970, 453}, 0},
      {104, L"CRoundArea", {180, 530, 1390, 532}, 1},
      {105, L"CRoundArea", {}, 0},
      {106, L"MText", {200, 530, 400, 560}, 1},
      {107, L"MText", {200, 560, 550, 660}, 1},
      {108, L"MText", {200, 660, 400, 690}, 1},
      {109, L"CKeyTestCtrl", {200, 690, 550, 820}, 1},
      {110, L"MText", {610, 530, 730, 560}, 1},
      {111, L"MText", {730, 530, 820, 560}, 1},
      {112, L"KeyDKSCtrlEx", {610, 560, 1390, 850}, 1},
      {113, L"MButton", {465, 498, 565, 528}, 1},
      {114, L"MButton", {595, 498, 695, 528}, 1},
      {115, L"MButton", {725, 498, 825, 528}, 1},
      {116, L"MButton", {855, 498, 955, 528}, 1},
      {117, L"MButton", {985, 498, 1085, 528}, 1},
      {118, L"MButton", {}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    TESK::MControl* control = dlg().GetControl(row.id);
    ASSERT_NE(nullptr, control);
    EXPECT_EQ(std::wstring(row.className), testsupport::ControlClassName(control));
    EXPECT_EQ(row.rect, control->GetRect());
    EXPECT_EQ(row.visible, control->IsVisible());
  }
  EXPECT_EQ(TESK::KBMODE_CUSTOM, dlg().m_keyboardKeys->GetKeyboardCtrlMode());
  EXPECT_EQ(TESK::KBMODE_ADVKEY, dlg().m_keyboardAdv->GetKeyboardCtrlMode());
  for (TESK::KeyLayerCtrl* layers : {dlg().m_keyLayerKeys, dlg().m_keyLayerAdv}) {
    EXPECT_EQ(0, layers->GetSelectKeyLayerID());
    layers->SetSelectKeyLayer(2);
    layers->SetSelectKeyLayer(3);
    EXPECT_EQ(2, layers->GetSelectKeyLayerID()) << "layers 0 to 2";
  }
  EXPECT_STREQ(L"0", dlg().m_advKeyCount->GetTitle().GetString());
  EXPECT_STREQ(L"SOCD", dlg().m_btnAdvSocd->GetTitle().GetString());
  EXPECT_STREQ(L"OKS", dlg().m_btnAdvOks->GetTitle().GetString());

  const std::map<UINT, CRect> before = [&] {
    std::map<UINT, CRect> rects;
    for (const Row& row : rows) rects[row.id] = dlg().GetControl(row.id)->GetRect();
    return rects;
  }();
  dlg().UISize(CRect(0, 0, kMainWidth, kMainHeight));
  for (const Row& row : rows) EXPECT_EQ(before.at(row.id), dlg().GetControl(row.id)->GetRect()) << row.id;
}

TEST_F(KeyboardDlgKeyPagesTest, AKeyboardsFirstReadingMakesThreeProfilesAndTheFirstOnesKeyRows) {
  Connected();
  StopAndDrain();
  RawDb db(DbFile().GetString());
  const std::wstring name = TextOf(101);
  const auto profiles = db.Rows("SELECT profile, name, status FROM t_profile_data WHERE type = 1 ORDER BY profile");
  ASSERT_EQ(3u, profiles.size());
  for (size_t i = 0; i < profiles.size(); ++i) {
    EXPECT_EQ(Utf8Of(name.c_str()) + " " + std::to_string(i + 1), profiles[i][1]);
    EXPECT_EQ(i == 0 ? "1" : "0", profiles[i][2]);
  }
  const int first = std::stoi(profiles[0][0]);
  EXPECT_EQ(first, dlg().m_curProfile.load());
  EXPECT_EQ(first, dlg().m_selectedProfile.load());
  for (TESK::MComboBox* combo : {dlg().m_comboProfileKeys, dlg().m_comboProfileAdv}) {
    ASSERT_EQ(3, combo->GetItemCount());
    EXPECT_EQ(first, combo->GetCurData());
    EXPECT_STREQ((name + L" 2").c_str(), combo->GetItemText(1).GetString());
  }

  const int keys = static_cast<int>(dlg().m_keyboardKeys->GetKeyItems().size());
  ASSERT_EQ(87, keys);
  EXPECT_EQ(12 * keys, db.Number("SELECT count(*) FROM t_key_macro_data WHERE profile = 1 AND fn_layer < 12"));
  EXPECT_EQ(0, db.Number("SELECT count(*) FROM t_key_macro_data WHERE profile > 1"));
  EXPECT_EQ(0, db.Number("SELECT count(*) FROM t_key_macro_data WHERE fn_layer BETWEEN 1 AND 11 AND "
                         "macro_type = 12 AND macro_value = 1"))
      << "no key of an Fn layer becomes Lock";
  EXPECT_STREQ(L"A", CaptionOf(dlg().m_keyboardKeys, kKeyA).GetString());
  EXPECT_STREQ(L"A", CaptionOf(dlg().m_keyboardAdv, kKeyA).GetString());
  EXPECT_STREQ(L"00", dlg().m_advKeyCount->GetTitle().GetString());
}

TEST_F(KeyboardDlgKeyPagesTest, ThePagesNotificationsStoreTheFunctionAndTheKeyboardGetsItsLayer) {
  simkb::Keyboard& keyboard = Connected();
  const std::string emptyEntry = "000000";
  dlg().m_keyboardKeys->SetCurrentKeyValue(kKeyA);

  // Fn functions (group 3): FN2 on A.
  EXPECT_EQ(1, PickGroup(3));
  EXPECT_TRUE(dlg().m_keyValueList->IsVisible());
  EXPECT_FALSE(dlg().m_keyFuncPicker->IsVisible());
  dlg().m_keyValueList->SetSelectKeyValue(0x2FF);
  EXPECT_EQ(1, Notify(dlg().m_keyValueList));
  Settle();
  EXPECT_EQ("12 767 0 0 \"FN2\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ("f0ff02", KeyMapEntryOf(keyboard, 0, kKeyA));

  // The reset button gives A back.
  EXPECT_EQ(1, Notify(dlg().m_btnResetKey));
  Settle();
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ("100004", KeyMapEntryOf(keyboard, 0, kKeyA));
  dlg().m_keyboardKeys->SetCurrentKeyValue(0);
  EXPECT_EQ(0, Notify(dlg().m_btnResetKey)) << "no key selected";

  // Layer 1 from the window's layer tabs; the advanced-key page's follow. A change there
  // leaves the keys that are empty on that layer empty in the keyboard.
  dlg().m_keyLayerShell->SetSelectKeyLayer(1);
  EXPECT_EQ(1, Notify(dlg().m_keyLayerShell));
  EXPECT_EQ(1, dlg().m_fnLayer.load());
  EXPECT_EQ(1, dlg().m_keyLayerAdv->GetSelectKeyLayerID());
  std::vector<int> emptyKeys;
  for (const auto& key : dlg().m_keyIndexByCode) {
    if (key.first != kKeyA && KeyMapEntryOf(keyboard, 1, key.first) == emptyEntry) emptyKeys.push_back(key.first);
  }
  ASSERT_FALSE(emptyKeys.empty());
  dlg().m_keyboardKeys->SetCurrentKeyValue(kKeyA);
  EXPECT_EQ(1, PickGroup(1));
  dlg().m_keyValueList->SetSelectKeyValue(0xE9);
  EXPECT_EQ(1, Notify(dlg().m_keyValueList));
  Settle();
  EXPECT_EQ("6 233 0 0 \"Vol+\"", KeyRowOf(1, kKeyA));
  EXPECT_NE(emptyEntry, KeyMapEntryOf(keyboard, 1, kKeyA));
  for (int code : emptyKeys) EXPECT_EQ(emptyEntry, KeyMapEntryOf(keyboard, 1, code)) << "key " << code;

  // The advanced-key page's tabs move the key page's hidden ones.
  dlg().m_keyLayerAdv->SetSelectKeyLayer(2);
  EXPECT_EQ(1, Notify(dlg().m_keyLayerAdv));
  EXPECT_EQ(2, dlg().m_fnLayer.load());
  EXPECT_EQ(2, dlg().m_keyLayerKeys->GetSelectKeyLayerID());
}

TEST_F(KeyboardDlgKeyPagesTest, TheLayerResetAsksFirstAndThePresetMenuItemsApplyTheirLayout) {
  Connected();
  StopAndDrain();
  testsupport::MessageBoxAnswerer answerer;
  answerer.Script({2, 1});
  ConfigDatabase& store = ConfigDatabase::Instance();
  KEY_MACRO_DATA row;
  ASSERT_TRUE(store.GetKeyMacro(0, kKeyA, row));
  row.macro_type = 6, row.macro_value = 0xE9, row.macro_desc = L"Vol+";
  store.UpdateKeyMacro(row);

  EXPECT_EQ(0, Notify(dlg().m_btnResetLayer)) << "Cancel";
  EXPECT_EQ("6 233 0 0 \"Vol+\"", KeyRowOf(0, kKeyA));
  EXPECT_TRUE(StopAndDrain().empty());
  EXPECT_EQ(1, Notify(dlg().m_btnResetLayer)) << "OK";
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, StopAndDrain());
  EXPECT_EQ((std::vector<testsupport::BoxTextIds>{{235, 236}, {235, 236}}), answerer.TextIds(TextOf, 200, 300));

  const struct {
    int item, code, value;
    const char* caption;
  } presets[] = {{205, 20, 52, "'"}, {205, 41, 53, "~"}, {203, 0xE3, 0xE2, "Opt"}, {202, 20, 20, "Q"}};
  for (const auto& preset : presets) {
    SCOPED_TRACE(preset.item);
    EXPECT_EQ(1, SendMessageW(dlg().GetSafeHwnd(), WM_KB_PAGE_MENU, 0, preset.item));
    EXPECT_EQ("2 " + std::to_string(preset.value) + " 0 0 \"" + preset.caption + "\"", KeyRowOf(0, preset.code));
    EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, StopAndDrain());
  }
  EXPECT_EQ(1, SendMessageW(dlg().GetSafeHwnd(), WM_KB_PAGE_MENU, 0, 999)) << "an item of no menu";
  EXPECT_TRUE(StopAndDrain().empty());
}

TEST_F(KeyboardDlgKeyPagesTest, ADropThroughTheWindowsDropTargetAssignsToTheKeyUnderTheCursor) {
  Connected();
  StopAndDrain();
  dlg().m_tabMain->SetSelectItem(0);
  EXPECT_EQ(1, PickGroup(1));
  dlg().m_keyValueList->SetSelectKeyValue(0xE9);

  const CPoint onA = KeyPoint(dlg().m_keyboardKeys, kKeyA);
  ASSERT_NE(0, onA.x);

  const auto drop = [&](CPoint at) {
    POINT screen = {at.x, at.y};
    ClientToScreen(dlg().GetSafeHwnd(), &screen);
    SetCursorPos(screen.x, screen.y);
    TESK::CIDataObject* data = testsupport::DragOutData();
    const POINTL point = {screen.x, screen.y};
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    dlg().GetPaintManager()->DragEnter(data, 0, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    dlg().GetPaintManager()->Drop(data, 0, point, &effect);
    data->Release();
    testsupport::PumpFor(300);
  };
  drop(CPoint(250, 840));
  EXPECT_EQ("2 4 0 0 \"A\"", KeyRowOf(0, kKeyA)) << "outside every key";
  EXPECT_TRUE(StopAndDrain().empty());
  drop(onA);
  EXPECT_EQ("6 233 0 0 \"Vol+\"", KeyRowOf(0, kKeyA));
  EXPECT_EQ(std::vector<int>{TASK_WRITE_KEYMAP}, StopAndDrain());
  EXPECT_STREQ(L"Vol+", CaptionOf(dlg().m_keyboardAdv, kKeyA).GetString());
}

TEST_F(KeyboardDlgKeyPagesTest, CaptionsAskedForByAnotherThreadAreRedrawnOnTheWindowsThreadAndHostileRowsAreDrawn) {
  Connected();
  StopAndDrain();
  ConfigDatabase& store = ConfigDatabase::Instance();
  KEY_MACRO_DATA row;
  ASSERT_TRUE(store.GetKeyMacro(0, kKeyA, row));
  row.macro_type = 99, row.macro_desc = L"odd";
  store.UpdateKeyMacro(row);
  ASSERT_TRUE(store.GetKeyMacro(0, 5, row));
  row.macro_type = 2, row.macro_desc = CString(std::wstring(300, L'W').c_str());
  store.UpdateKeyMacro(row);
  ASSERT_TRUE(store.GetKeyMacro(0, 6, row));
  row.macro_type = 15, row.macro_value = 777, row.macro_desc = L"MT";  // no such advanced key
  store.UpdateKeyMacro(row);
  row = KEY_MACRO_DATA();
  row.profile = 1, row.fn_layer = 0, row.key_code = 0x99, row.macro_type = 2, row.macro_value = 0x99;
  row.macro_desc = L"off the layout";
  store.InsertKeyMacros({row});

  std::thread worker([&] { dlg().RefreshKeyCaptions(); });
  worker.join();
  EXPECT_STREQ(L"A", CaptionOf(dlg().m_keyboardKeys, kKeyA).GetString()) << "nothing changed off the window's thread";
  testsupport::PumpFor(300);
  for (TESK::KeyboardCtrl* picture : {dlg().m_keyboardKeys, dlg().m_keyboardAdv, dlg().m_keyboardPerf, dlg().m_keyboardLight}) {
    EXPECT_STREQ(L"odd", CaptionOf(picture, kKeyA).GetString()) << "every picture that shows the layer";
  }
  EXPECT_EQ(300, CaptionOf(dlg().m_keyboardAdv, 5).GetLength());
  EXPECT_STREQ(L"01", dlg().m_advKeyCount->GetTitle().GetString()) << "counted without a tile";

  dlg().m_tabMain->SetSelectItem(0);
  testsupport::DibSurface surface(kMainWidth, kMainHeight);
  const CRect client(0, 0, kMainWidth, kMainHeight);
  dlg().GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
  dlg().m_tabMain->SetSelectItem(2);
  dlg().GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
}

}  // namespace
